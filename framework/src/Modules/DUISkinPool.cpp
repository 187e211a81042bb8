#include "DUISkinPool.h"

#include <algorithm>
#include "DMStringHelpers.h"

#include "DMApp.h"
#include "DMRegType.h"
#include "IDMLog.h"

namespace DM {
namespace {

std::vector<DMStringT> Split(const DMStringT& text, wchar_t separator) {
    std::vector<DMStringT> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != DMStringT::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

DMSmartPtrT<IDMSkin> DUISkinPool::CreateSkin(const DMXmlNode& definition) {
    IDMSkin* created = nullptr;
    DMStringT kind = definition.GetName();
    if (DMApp::GetObjPtr()->CreateRegObj(&created, kind.c_str(), DMREG_Skin) != DM_ECODE_OK) {
        LOG_ERR(L"[mid](skinpool)类型无法解析！,请查看是否写错:%ls\n", kind.c_str());
        return {};
    }
    auto skin = DMSmartPtrT<IDMSkin>::Adopt(created);
    DMXmlNode node = definition;
    skin->InitDMData(node);
    if (skin->IsValid() != DM_ECODE_OK) {
        LOG_ERR(L"[mid](skin)无效！,将自动移除:%ls\n", definition.Attribute(L"id").c_str());
        return {};
    }
    return skin;
}

void DUISkinPool::AddSkinPoolItem(const DMXmlNode& element) {
    DMStringT name = LowerCase(element.Attribute(L"name"));
    DMSmartPtrT<DMSkinPoolItem> pool;
    if (DMSmartPtrT<DMSkinPoolItem>* present = m_pools.Find(name)) {
        pool = *present;
    } else {
        pool = DMSmartPtrT<DMSkinPoolItem>::Adopt(new DMSkinPoolItem);
    }
    for (DMXmlNode child = element.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        DMStringT id = LowerCase(child.Attribute(L"id"));
        if (id.empty()) {
            LOG_ERR(L"[mid](skin)未设置id,将自动忽视:%ls\n", child.GetName().c_str());
            continue;
        }
        if (pool->m_skins.Find(id)) {
            continue;
        }
        if (DMSmartPtrT<IDMSkin> skin = CreateSkin(child)) {
            pool->m_skins.SetAt(id, skin);
        }
    }
    m_pools.SetAt(name, pool);
}

IDMSkin* DUISkinPool::FindSkin(const DMStringT& pool, const DMStringT& id, bool searchAll) {
    if (DMSmartPtrT<DMSkinPoolItem>* named = m_pools.Find(pool)) {
        if (DMSmartPtrT<IDMSkin>* skin = (*named)->m_skins.Find(id)) {
            return skin->get();
        }
    }
    IDMSkin* found = nullptr;
    if (searchAll) {
        m_pools.ForEach([&](const DMStringT&, const DMSmartPtrT<DMSkinPoolItem>& item) {
            if (!found) {
                if (const DMSmartPtrT<IDMSkin>* skin = item->m_skins.Find(id)) {
                    found = skin->get();
                }
            }
        });
    }
    return found;
}

IDMSkin* DUISkinPool::GetSkin(const DMStringT& reference) {
    if (reference.empty()) {
        return nullptr;
    }
    std::vector<DMStringT> parts = Split(reference, L':');
    if (parts.size() > 2) {
        LOG_ERR(L"[mid]skin-%ls设置错误\n", reference.c_str());
        return nullptr;
    }
    DMStringT pool = parts.size() == 2 ? LowerCase(parts[0]) : DMStringT();
    return FindSkin(pool, LowerCase(parts.back()), true);
}

void DUISkinPool::UpdateSkins(const DMStringT& changes) {
    m_updated.clear();
    for (const DMStringT& entry : Split(changes, L';')) {
        if (entry.empty()) {
            continue;
        }
        m_pools.ForEach([&](const DMStringT&, const DMSmartPtrT<DMSkinPoolItem>& item) {
            item->m_skins.ForEach([&](const DMStringT&, const DMSmartPtrT<IDMSkin>& skin) {
                if (skin->UpdateSkin(entry.c_str()) == DM_ECODE_OK) {
                    m_updated.push_back(skin.get());
                }
            });
        });
    }
}

bool DUISkinPool::IsSkinUpdated(IDMSkin* skin) const {
    return std::find(m_updated.begin(), m_updated.end(), skin) != m_updated.end();
}

}  // namespace DM
