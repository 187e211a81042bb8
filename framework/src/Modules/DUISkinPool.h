// The skins of the global skin file and the layouts, in named pools of skins by id. Names and
// ids are kept in lower case.
#pragma once

#include <vector>

#include "DMMapT.h"
#include "DMRefNum.h"
#include "DMSmartPtrT.h"
#include "DMXml.h"
#include "IDMSkin.h"

namespace DM {

class DMSkinPoolItem : public DMRefNum {
public:
    DMMapT<DMStringT, DMSmartPtrT<IDMSkin>> m_skins;
};

class DUISkinPool {
public:
    // Adds the skins of one `skin` element to the pool it names.
    void AddSkinPoolItem(const DMXmlNode& element);
    // "id" or "pool:id"; none for an empty reference or one of more than two parts.
    IDMSkin* GetSkin(const DMStringT& reference);
    // The skin in the named pool, or with `searchAll` in the first pool that has the id.
    IDMSkin* FindSkin(const DMStringT& pool, const DMStringT& id, bool searchAll);
    // Reloads the pictures the change list "type:name;..." names and keeps the skins that
    // changed, for the repaint of the switch; ForgetUpdated ends it.
    void UpdateSkins(const DMStringT& changes);
    bool IsSkinUpdated(IDMSkin* skin) const;
    void ForgetUpdated() { m_updated.clear(); }

private:
    DMSmartPtrT<IDMSkin> CreateSkin(const DMXmlNode& definition);

    DMMapT<DMStringT, DMSmartPtrT<DMSkinPoolItem>> m_pools;
    std::vector<IDMSkin*> m_updated;
};

}  // namespace DM
