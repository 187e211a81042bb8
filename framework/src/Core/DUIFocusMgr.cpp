#include "DUIFocusMgr.h"

#include <algorithm>

#include "DMApp.h"
#include "DUIAccel.h"
#include "DUIWindow.h"
#include "plat/messages.h"

namespace DM {
namespace {

constexpr UINT kTab = 9;
constexpr UINT kWantTab = 0x2;

// Whether the widget belongs to the tree under `root`.
bool IsUnder(DUIWindow* widget, DUIWindow* root) {
    for (DUIWindow* at = widget; at; at = at->GetWindow(GDW_PARENT)) {
        if (at == root) {
            return true;
        }
    }
    return false;
}

bool IsCandidate(DUIWindow* widget, DUIWindow* groupParent) {
    if (!widget->IsFocusable() || !widget->IsVisible(true) || widget->IsDisabled(true)) {
        return false;
    }
    return !(groupParent && widget->IsSiblingsAutoGroupped() &&
             widget->GetWindow(GDW_PARENT) == groupParent);
}

// What a candidate hands the focus to: a group's selected member, or itself.
DUIWindow* Focusable(DUIWindow* widget) {
    if (widget->IsSiblingsAutoGroupped()) {
        if (DUIWindow* selected = widget->GetSelSiblingInGroup()) {
            return selected;
        }
    }
    return widget;
}

// Pre-order after `from`: its subtree, its later siblings, then up to the next ancestor's
// sibling. Backward is the mirror order.
DUIWindow* Step(DUIWindow* from, DUIWindow* root, bool backward) {
    if (!backward) {
        if (DUIWindow* child = from->GetWindow(GDW_FIRSTCHILD)) {
            return child;
        }
        for (DUIWindow* at = from; at && at != root; at = at->GetWindow(GDW_PARENT)) {
            if (DUIWindow* next = at->GetWindow(GDW_NEXTSIBLING)) {
                return next;
            }
        }
        return nullptr;
    }
    if (from == root) {
        return nullptr;
    }
    if (DUIWindow* previous = from->GetWindow(GDW_PREVSIBLING)) {
        while (DUIWindow* last = previous->GetWindow(GDW_LASTCHILD)) {
            previous = last;
        }
        return previous;
    }
    DUIWindow* parent = from->GetWindow(GDW_PARENT);
    return parent == root ? nullptr : parent;
}

DUIWindow* FirstFrom(DUIWindow* root, bool backward) {
    if (!backward) {
        return root->GetWindow(GDW_FIRSTCHILD);
    }
    DUIWindow* last = root;
    while (DUIWindow* child = last->GetWindow(GDW_LASTCHILD)) {
        last = child;
    }
    return last == root ? nullptr : last;
}

}  // namespace

DUIWindow* FocusSearch(DUIWindow* root, DUIWindow* start, bool backward, bool wrap) {
    if (!root || !root->GetWindow(GDW_FIRSTCHILD)) {
        return nullptr;
    }
    DUIWindow* groupParent =
        start && start->IsSiblingsAutoGroupped() ? start->GetWindow(GDW_PARENT) : nullptr;
    DUIWindow* at = start ? Step(start, root, backward) : FirstFrom(root, backward);
    for (; at; at = Step(at, root, backward)) {
        if (IsCandidate(at, groupParent)) {
            return Focusable(at);
        }
    }
    return start && wrap ? FocusSearch(root, nullptr, backward, false) : nullptr;
}

DUIWindow* DUIFocusMgr::Resolve(DUIWND widget) const {
    DUIWindow* found = DMApp::GetObjPtr()->FindDUIWnd(widget);
    return found && IsUnder(found, m_pRoot) ? found : nullptr;
}

void DUIFocusMgr::SetFocusedWnd(DUIWND widget, int reason) {
    if (widget == m_hFocus) {
        return;
    }
    DUIWND old = m_hFocus;
    if (DUIWindow* previous = Resolve(old)) {
        previous->SendMessage(plat::WM_KILLFOCUS, widget);
    }
    DUIWindow* next = Resolve(widget);
    if (next && !next->IsDisabled(true)) {
        m_hFocus = widget;
        m_nReason = reason;
        next->SendMessage(plat::WM_SETFOCUS, old, reason);
    } else {
        m_hFocus = 0;
    }
}

void DUIFocusMgr::StoreFocusedView() {
    DUIWindow* focused = Resolve(m_hFocus);
    m_hSaved = focused ? m_hFocus : 0;
    m_hFocus = 0;
    if (focused) {
        focused->SendMessage(plat::WM_KILLFOCUS, 0);
    }
}

void DUIFocusMgr::RestoreFocusedView() {
    DUIWindow* saved = Resolve(m_hSaved);
    if (saved && !saved->IsDisabled(true)) {
        m_hFocus = m_hSaved;
        saved->SendMessage(plat::WM_SETFOCUS, 0, DMFOCUS_RESTORED);
    }
    m_hSaved = 0;
}

bool DUIFocusMgr::MoveByTab(bool backward) {
    DUIWindow* next = FocusSearch(m_pRoot, Resolve(m_hFocus), backward, true);
    if (next) {
        SetFocusedWnd(next->GetDUIWnd(), DMFOCUS_BY_TAB);
    }
    return true;
}

// Left and up to the previous member of the group, right and down to the next, wrapping.
bool DUIFocusMgr::MoveInGroup(UINT key) {
    DUIWindow* focused = Resolve(m_hFocus);
    bool backward = key == 37 || key == 38;
    DUIWindow* parent = focused->GetWindow(GDW_PARENT);
    DUIWindow* at = focused;
    for (int turns = 0; turns < 2;) {
        at = at->GetWindow(backward ? GDW_PREVSIBLING : GDW_NEXTSIBLING);
        if (!at) {
            at = parent->GetWindow(backward ? GDW_LASTCHILD : GDW_FIRSTCHILD);
            ++turns;
        }
        if (at == focused) {
            break;
        }
        if (at->IsSiblingsAutoGroupped() && at->IsFocusable() && at->IsVisible(true) &&
            !at->IsDisabled(true)) {
            SetFocusedWnd(at->GetDUIWnd(), DMFOCUS_BY_TAB);
            break;
        }
    }
    return true;
}

bool DUIFocusMgr::OnKeyDown(UINT key, bool ctrl, bool shift, bool alt) {
    DUIWindow* focused = Resolve(m_hFocus);
    if (key == kTab && !ctrl && (!focused || !(focused->OnGetDlgCode() & kWantTab))) {
        return MoveByTab(shift);
    }
    if (focused && focused->IsSiblingsAutoGroupped() && key >= 37 && key <= 40) {
        return MoveInGroup(key);
    }
    DWORD modifiers =
        (ctrl ? DMACCEL_CTRL : 0) | (alt ? DMACCEL_ALT : 0) | (shift ? DMACCEL_SHIFT : 0);
    auto found = m_accels.find(modifiers << 16 | key);
    if (found == m_accels.end()) {
        return false;
    }
    std::vector<IDMAccelHandler*> handlers = found->second;
    for (IDMAccelHandler* handler : handlers) {
        if (handler->OnAccelPressed(found->first)) {
            return true;
        }
    }
    return false;
}

void DUIFocusMgr::RegisterAccel(DWORD accel, IDMAccelHandler* handler) {
    std::vector<IDMAccelHandler*>& handlers = m_accels[accel];
    if (std::find(handlers.begin(), handlers.end(), handler) == handlers.end()) {
        handlers.push_back(handler);
    }
}

void DUIFocusMgr::UnregisterAccel(DWORD accel, IDMAccelHandler* handler) {
    auto found = m_accels.find(accel);
    if (found != m_accels.end()) {
        std::erase(found->second, handler);
    }
}

void DUIFocusMgr::UnregisterAllAccel(IDMAccelHandler* handler) {
    for (auto& [accel, handlers] : m_accels) {
        std::erase(handlers, handler);
    }
}

}  // namespace DM
