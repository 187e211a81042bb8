// The style definitions of the global skin file and the layouts: named pools, each holding a
// copy of its `style` elements and their definitions by id (lower case).
#pragma once

#include "DMMapT.h"
#include "DMRefNum.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"

namespace DM {

class DMStylePoolItem : public DMRefNum {
public:
    explicit DMStylePoolItem(DMStringT name) : m_strName(std::move(name)) {}
    // Copies the element into the pool's document and indexes its definitions.
    void Add(const DMXmlNode& element);
    DMXmlNode Find(const DMStringT& id) const;

private:
    DMStringT m_strName;
    DMXmlDocument m_document;
    DMMapT<DMStringT, DMXmlNode> m_styles;
};

class DUIStylePool {
public:
    void AddStylePoolItem(const DMXmlNode& element);
    // "id" or "pool:id": the definition, empty when there is none.
    DMXmlNode GetStyle(const DMStringT& reference);
    DMXmlNode FindStyle(const DMStringT& pool, const DMStringT& id, bool searchAll);

private:
    DMMapT<DMStringT, DMSmartPtrT<DMStylePoolItem>> m_pools;
};

}  // namespace DM
