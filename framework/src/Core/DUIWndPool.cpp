#include "Core/DUIWndPool.h"

#include <algorithm>

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

namespace {

void AddOnce(std::vector<DUIWND>& list, DUIWND handle) {
    if (handle && std::ranges::find(list, handle) == list.end()) {
        list.push_back(handle);
    }
}

}  // namespace

void DUIWndPool::AddHostRoot(DUIWND root) {
    std::lock_guard<std::mutex> guard(m_lock);
    AddOnce(m_hostRoots, root);
}

void DUIWndPool::RemoveHostRoot(DUIWND root) {
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase(m_hostRoots, root);
}

std::vector<DUIWND> DUIWndPool::HostRoots() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_hostRoots;
}

void DUIWndPool::AddRealWnd(DUIWND widget) {
    std::lock_guard<std::mutex> guard(m_lock);
    AddOnce(m_realWnds, widget);
}

void DUIWndPool::RemoveRealWnd(DUIWND widget) {
    std::lock_guard<std::mutex> guard(m_lock);
    std::erase(m_realWnds, widget);
}

std::vector<DUIWND> DUIWndPool::RealWnds() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_realWnds;
}

}  // namespace DM
