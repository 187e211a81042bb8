// The items of a resource pack: (type, name) pairs with the path of their bytes, stored in
// lower case, and the lists that hold them. In a list the first item of a (type, name) wins.
#pragma once

#include <vector>

#include "DMDef.h"
#include "DMRefNum.h"

namespace DM {

struct DMResItem {
    static constexpr std::size_t kMaxType = 29;
    static constexpr std::size_t kMaxName = 99;
    static constexpr std::size_t kMaxPath = 259;

    DMStringT type;
    DMStringT name;
    DMStringT path;

    // Nothing when a field is longer than its limit.
    static bool Make(const DMStringT& type, const DMStringT& name, const DMStringT& path,
                     DMResItem& item);
    // Same type and name, in any case; the path does not count.
    bool Names(const wchar_t* otherType, const wchar_t* otherName) const;
};

class DMResItemList : public DMRefNum {
public:
    explicit DMResItemList(DMStringT name = {}) : m_name(std::move(name)) {}

    // False when an item of the same type and name is present.
    bool Add(const DMResItem& item);
    const DMResItem* Find(const wchar_t* type, const wchar_t* name) const;
    const std::vector<DMResItem>& Items() const { return m_items; }
    const DMStringT& GetName() const { return m_name; }

private:
    DMStringT m_name;
    std::vector<DMResItem> m_items;
};

}  // namespace DM
