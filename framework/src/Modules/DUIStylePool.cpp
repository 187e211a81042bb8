#include "DUIStylePool.h"

#include <vector>
#include "DMStringHelpers.h"

#include "IDMLog.h"

namespace DM {
void DMStylePoolItem::Add(const DMXmlNode& element) {
    DMXmlNode root = m_document.Root();
    if (!root.IsValid()) {
        root = m_document.AppendRoot(L"styles");
    }
    DMXmlNode copy = root.InsertCopy(element);
    for (DMXmlNode child = copy.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        DMStringT id = LowerCase(child.Attribute(L"id"));
        if (id.empty()) {
            LOG_ERR(L"[mid](style)未设置id,将自动忽视\n");
            continue;
        }
        if (!m_styles.Find(id)) {
            m_styles.SetAt(id, child);
        }
    }
}

DMXmlNode DMStylePoolItem::Find(const DMStringT& id) const {
    const DMXmlNode* found = m_styles.Find(id);
    return found ? *found : DMXmlNode();
}

void DUIStylePool::AddStylePoolItem(const DMXmlNode& element) {
    DMStringT name = LowerCase(element.Attribute(L"name"));
    DMSmartPtrT<DMStylePoolItem>* present = m_pools.Find(name);
    if (present) {
        (*present)->Add(element);
        return;
    }
    auto pool = DMSmartPtrT<DMStylePoolItem>::Adopt(new DMStylePoolItem(name));
    pool->Add(element);
    m_pools.SetAt(name, pool);
}

DMXmlNode DUIStylePool::FindStyle(const DMStringT& pool, const DMStringT& id, bool searchAll) {
    if (DMSmartPtrT<DMStylePoolItem>* named = m_pools.Find(pool)) {
        DMXmlNode found = (*named)->Find(id);
        if (found.IsValid()) {
            return found;
        }
    }
    DMXmlNode found;
    if (searchAll) {
        m_pools.ForEach([&](const DMStringT&, const DMSmartPtrT<DMStylePoolItem>& item) {
            if (!found.IsValid()) {
                found = item->Find(id);
            }
        });
    }
    return found;
}

DMXmlNode DUIStylePool::GetStyle(const DMStringT& reference) {
    if (reference.empty()) {
        return {};
    }
    std::size_t colon = reference.find(L':');
    if (colon != DMStringT::npos && reference.find(L':', colon + 1) != DMStringT::npos) {
        LOG_ERR(L"[mid]style-%ls设置错误\n", reference.c_str());
        return {};
    }
    DMStringT pool = colon == DMStringT::npos ? DMStringT() : LowerCase(reference.substr(0, colon));
    DMStringT id = LowerCase(colon == DMStringT::npos ? reference : reference.substr(colon + 1));
    return FindStyle(pool, id, true);
}

}  // namespace DM
