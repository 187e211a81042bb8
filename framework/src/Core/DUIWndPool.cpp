#include "Core/DUIWndPool.h"

namespace DM {

DUIWND DUIWndPool::NewHandle(DUIWindow* widget) {
    std::lock_guard<std::mutex> guard(m_lock);
    DUIWND handle = ++m_nextHandle;
    m_widgets.SetAt(handle, widget);
    return handle;
}

void DUIWndPool::RemoveHandle(DUIWND handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_widgets.RemoveKey(handle);
}

DUIWindow* DUIWndPool::FindDUIWnd(DUIWND handle) {
    std::lock_guard<std::mutex> guard(m_lock);
    DUIWindow* const* found = handle ? m_widgets.Find(handle) : nullptr;
    return found ? *found : nullptr;
}

std::vector<DUIWND> DUIWndPool::Handles() {
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<DUIWND> handles;
    m_widgets.ForEach([&](DUIWND handle, DUIWindow*) { handles.push_back(handle); });
    return handles;
}

}  // namespace DM
