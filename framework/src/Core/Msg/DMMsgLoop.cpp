#include "DMMsgLoop.h"

#include <algorithm>

#include "IDMLog.h"
#include "plat/messages.h"

namespace DM {
namespace {

// Messages that come by themselves and so do not count as the user's activity.
bool IsActivity(UINT message) {
    return message != plat::WM_PAINT && message != plat::WM_SYSTIMER &&
           message != plat::WM_MOUSEMOVE && message != plat::WM_NCMOUSEMOVE;
}

template <class T>
bool AddOnce(std::mutex& lock, std::vector<T*>& list, T* item) {
    std::lock_guard<std::mutex> guard(lock);
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) {
        return false;
    }
    list.push_back(item);
    return true;
}

template <class T>
bool Remove(std::mutex& lock, std::vector<T*>& list, T* item) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) {
        return false;
    }
    list.erase(found);
    return true;
}

// Asks the items in order until one answers true. The list is copied under the lock and each
// item is asked outside it, if it is still listed: an item may add or remove items, itself
// included, while it is asked.
template <class T, class Ask>
bool AskInTurn(std::mutex& lock, const std::vector<T*>& list, Ask ask) {
    std::vector<T*> copy;
    {
        std::lock_guard<std::mutex> guard(lock);
        copy = list;
    }
    for (T* item : copy) {
        bool listed = false;
        {
            std::lock_guard<std::mutex> guard(lock);
            listed = std::find(list.begin(), list.end(), item) != list.end();
        }
        if (listed && ask(item)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int DMMsgLoop::Run() {
    bool idle = true;
    int idleCount = 0;
    for (;;) {
        while (idle && !plat::PeekMessageW(&m_msg, nullptr, 0, 0, plat::PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) {
                idle = false;
            }
        }
        plat::BOOL got = plat::GetMessageW(&m_msg, nullptr, 0, 0);
        if (got == -1) {
            continue;
        }
        if (!got) {
            return static_cast<int>(m_msg.wParam);
        }
        if (!PreTranslateMessage(&m_msg)) {
            plat::TranslateMessage(&m_msg);
            plat::DispatchMessageW(&m_msg);
        }
        if (IsActivity(m_msg.message)) {
            idle = true;
            idleCount = 0;
        }
    }
}

bool DMMsgLoop::PreTranslateMessage(plat::MSG* message) {
    return AskInTurn(m_filterLock, m_filters, [message](IDMMessageFilter* filter) {
        return filter->PreTranslateMessage(message);
    });
}

bool DMMsgLoop::OnIdle(int idleCount) {
    return AskInTurn(m_idleLock, m_idleHandlers,
                     [idleCount](IDMIdleHandler* handler) { return handler->OnIdle(idleCount); });
}

bool DMMsgLoop::AddMessageFilter(IDMMessageFilter* filter) {
    return AddOnce(m_filterLock, m_filters, filter);
}

bool DMMsgLoop::RemoveMessageFilter(IDMMessageFilter* filter) {
    return Remove(m_filterLock, m_filters, filter);
}

bool DMMsgLoop::AddIdleHandler(IDMIdleHandler* handler) {
    return AddOnce(m_idleLock, m_idleHandlers, handler);
}

bool DMMsgLoop::RemoveIdleHandler(IDMIdleHandler* handler) {
    return Remove(m_idleLock, m_idleHandlers, handler);
}

bool DMMsgLoopTool::AddMessageLoop(DMMsgLoop* loop) {
    if (!loop) {
        DMLog(DMLOG_ERR, L"DM::DMMsgLoopTool::AddMessageLoop", L"" __FILE__, __LINE__,
              L"[mid]loop对象指针为空\n");
        return false;
    }
    DWORD thread = plat::GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_loops.Find(thread)) {
        DMLog(DMLOG_ERR, L"DM::DMMsgLoopTool::AddMessageLoop", L"" __FILE__, __LINE__,
              L"[mid]当前线程消息loop对象已存在\n");
        return false;
    }
    m_loops.SetAt(thread, loop);
    return true;
}

DMMsgLoop* DMMsgLoopTool::GetMessageLoop(DWORD threadId) {
    std::lock_guard<std::mutex> guard(m_lock);
    DMMsgLoop* const* loop = m_loops.Find(threadId);
    return loop ? *loop : nullptr;
}

DMMsgLoopTool::~DMMsgLoopTool() {
    m_loops.ForEach([](const DWORD&, DMMsgLoop* const& loop) { loop->Release(); });
}

bool DMMsgLoopTool::RemoveMessageLoop() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_loops.RemoveKey(plat::GetCurrentThreadId());
}

}  // namespace DM
