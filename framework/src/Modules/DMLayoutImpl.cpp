#include "DMLayoutImpl.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <vector>

#include "DMAttrTable.h"
#include "DUIWindow.h"
#include "plat/messages.h"

namespace DMAttr {

DMATTR_DEFINE(DMLayoutImplAttr, POS_pos)
DMATTR_DEFINE(DMLayoutImplAttr, SIZE_possize)

}  // namespace DMAttr

namespace DM {
namespace {

constexpr int kLayoutRectUnclipped = 9;

// Offsets and results beyond this many pixels are taken as this many, so that no arithmetic
// leaves the coordinate range and no result reaches the layout's markers.
constexpr double kMostCoordinate = 1e7;

LONG Coordinate(double value) {
    return static_cast<LONG>(std::clamp(value, -kMostCoordinate, kMostCoordinate));
}

bool IsUnresolved(LONG coordinate) {
    return coordinate == POS_INIT || coordinate == POS_WAIT;
}

std::vector<DMStringT> SplitItems(const DMStringT& text) {
    std::vector<DMStringT> items;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(L',', start)) != DMStringT::npos;
         start = comma + 1) {
        items.push_back(text.substr(start, comma - start));
    }
    items.push_back(text.substr(start));
    return items;
}

DMPosItem ParseItem(const DMStringT& text) {
    static constexpr wchar_t kKinds[] = L" |%[]{}@";
    DMPosItem item;
    std::size_t at = 0;
    if (!text.empty()) {
        const wchar_t* found = std::wcschr(kKinds + 1, text[0]);
        if (found && *found) {
            item.kind = static_cast<int>(found - kKinds);
            at = 1;
        }
    }
    if (at < text.size() && text[at] == L'-') {
        item.negative = item.kind != DMPosItem::Percent;
        ++at;
    }
    item.value = std::wcstof(text.c_str() + at, nullptr);
    if (std::isnan(item.value)) {
        item.value = 0;
    }
    if (item.kind == DMPosItem::Size && item.value < 0) {
        item.value = -item.value;
    }
    return item;
}

}  // namespace

DMCode DMLayoutImpl::SetOwner(DUIWindow* owner) {
    m_pOwner = owner;
    return DM_ECODE_OK;
}

DMCode DMLayoutImpl::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    if (EqualNoCase(name, DMAttr::DMLayoutImplAttr::POS_pos)) {
        m_strPos = value;
        return ParsePosition() ? DMATTR_OK : DMATTR_FAIL;
    }
    if (EqualNoCase(name, DMAttr::DMLayoutImplAttr::SIZE_possize)) {
        m_bSizeKnown = ParseSize(value, m_size) == DM_ECODE_OK || m_bSizeKnown;
        ParsePosition();
        return DMATTR_OK;
    }
    return DefAttributeProc(name, value, loading);
}

// Two or four items; a size item may not come first or second. An invalid position keeps the
// items that were there.
bool DMLayoutImpl::ParsePosition() {
    std::vector<DMStringT> texts =
        m_strPos.empty() ? std::vector<DMStringT>{} : SplitItems(m_strPos);
    auto count = static_cast<int>(texts.size());
    bool valid = false;
    if (count == 2 || count == 4) {
        DMPosItem parsed[4];
        for (int i = 0; i < count; ++i) {
            parsed[i] = ParseItem(texts[static_cast<std::size_t>(i)]);
        }
        valid = parsed[0].kind != DMPosItem::Size && parsed[1].kind != DMPosItem::Size;
        if (valid) {
            m_nCount = count;
            std::copy(parsed, parsed + count, m_items);
            if (count == 2) {
                m_uSizeMode = DMSIZE_DESIRED_WIDTH | DMSIZE_DESIRED_HEIGHT;
            }
        }
    }
    ApplyPosSize();
    return valid;
}

void DMLayoutImpl::ApplyPosSize() {
    if (m_nCount == 4 || !m_bSizeKnown) {
        return;
    }
    auto mode = [this](LONG value, DWORD parent, DWORD desired, DWORD fixed) {
        if (value == -1) {
            m_uSizeMode =
                (m_uSizeMode & ~(parent | desired | fixed)) | (m_nCount == 0 ? parent : desired);
        } else if (value >= 0) {
            m_uSizeMode = (m_uSizeMode & ~(parent | desired)) | fixed;
        }
    };
    mode(m_size.cx, DMSIZE_PARENT_WIDTH, DMSIZE_DESIRED_WIDTH, DMSIZE_FIXED_WIDTH);
    mode(m_size.cy, DMSIZE_PARENT_HEIGHT, DMSIZE_DESIRED_HEIGHT, DMSIZE_FIXED_HEIGHT);
    if (m_pOwner) {
        m_pOwner->m_rcWindow.right = std::max<LONG>(m_size.cx, 0);
        m_pOwner->m_rcWindow.bottom = std::max<LONG>(m_size.cy, 0);
    }
}

LONG DMLayoutImpl::Resolve(const DMPosItem& item, const RECT& parent, bool horizontal) const {
    LONG nearEdge = horizontal ? parent.left : parent.top;
    LONG farEdge = horizontal ? parent.right : parent.bottom;
    double value = Coordinate(item.value);
    switch (item.kind) {
        case DMPosItem::Edge:
            return Coordinate(item.negative ? farEdge - value : nearEdge + value);
        case DMPosItem::Centre:
            return Coordinate(nearEdge + (farEdge - nearEdge) / 2 +
                              (item.negative ? -value : value));
        case DMPosItem::Percent:
            return std::min<LONG>(
                farEdge,
                Coordinate(nearEdge + static_cast<double>(farEdge - nearEdge) * item.value / 100));
        case DMPosItem::PrevFar:
        case DMPosItem::NextNear:
        case DMPosItem::PrevNear:
        case DMPosItem::NextFar: {
            bool previous = item.kind == DMPosItem::PrevFar || item.kind == DMPosItem::PrevNear;
            DUIWindow* sibling = m_pOwner->GetWindow(previous ? GDW_PREVSIBLING : GDW_NEXTSIBLING);
            RECT reference = parent;
            if (sibling) {
                sibling->GetLayoutRect(reference);
            }
            bool farSide = item.kind == DMPosItem::PrevFar || item.kind == DMPosItem::NextFar;
            // Without the sibling the parent's opposite edge stands in.
            if (!sibling) {
                farSide = item.kind == DMPosItem::NextNear || item.kind == DMPosItem::PrevNear;
            }
            LONG coordinate = horizontal ? (farSide ? reference.right : reference.left)
                                         : (farSide ? reference.bottom : reference.top);
            if (IsUnresolved(coordinate)) {
                return POS_WAIT;
            }
            return Coordinate(item.negative ? coordinate - value : coordinate + value);
        }
        default:
            return 0;
    }
}

SIZE DMLayoutImpl::SizeFromMode(const RECT& parent) const {
    SIZE size{0, 0};
    SIZE desired{0, 0};
    if (m_uSizeMode & (DMSIZE_DESIRED_WIDTH | DMSIZE_DESIRED_HEIGHT)) {
        m_pOwner->GetDesiredSize(desired);
    }
    if (m_uSizeMode & DMSIZE_FIXED_WIDTH) {
        size.cx = m_size.cx;
    } else if (m_uSizeMode & DMSIZE_DESIRED_WIDTH) {
        size.cx = desired.cx;
    } else if (m_uSizeMode & DMSIZE_PARENT_WIDTH) {
        size.cx = parent.right - parent.left;
    }
    if (m_uSizeMode & DMSIZE_FIXED_HEIGHT) {
        size.cy = m_size.cy;
    } else if (m_uSizeMode & DMSIZE_DESIRED_HEIGHT) {
        size.cy = desired.cy;
    } else if (m_uSizeMode & DMSIZE_PARENT_HEIGHT) {
        size.cy = parent.bottom - parent.top;
    }
    return size;
}

// Without a position the widget stacks under its previous sibling.
void DMLayoutImpl::Stack(const RECT& parent, RECT& rect) const {
    if ((m_uSizeMode & DMSIZE_PARENT_WIDTH) && (m_uSizeMode & DMSIZE_PARENT_HEIGHT)) {
        rect = parent;
        return;
    }
    rect.left = parent.left;
    rect.top = parent.top;
    if (DUIWindow* previous = m_pOwner->GetWindow(GDW_PREVSIBLING)) {
        RECT above{};
        previous->GetLayoutRect(above);
        if (!IsUnresolved(above.left) && !IsUnresolved(above.top) && !IsUnresolved(above.right) &&
            !IsUnresolved(above.bottom)) {
            rect.top = above.bottom + m_nSepSpace;
        }
    }
    SIZE size = SizeFromMode(parent);
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
}

DMCode DMLayoutImpl::UpdateLayout(const RECT* parentRect, RECT& rect) {
    rect = {POS_INIT, POS_INIT, POS_INIT, POS_INIT};
    DUIWindow* parentWidget = m_pOwner ? m_pOwner->GetWindow(GDW_PARENT) : nullptr;
    RECT parent{};
    if (parentRect) {
        parent = *parentRect;
    } else if (parentWidget) {
        parentWidget->GetChildLayoutRect(parent);
    } else {
        return DM_ECODE_FAIL;
    }
    if (m_nCount == 4) {
        rect.left = Resolve(m_items[0], parent, true);
        rect.top = Resolve(m_items[1], parent, false);
        rect.right = m_items[2].kind == DMPosItem::Size && !IsUnresolved(rect.left)
                         ? Coordinate(rect.left + static_cast<double>(m_items[2].value))
                         : Resolve(m_items[2], parent, true);
        rect.bottom = m_items[3].kind == DMPosItem::Size && !IsUnresolved(rect.top)
                          ? Coordinate(rect.top + static_cast<double>(m_items[3].value))
                          : Resolve(m_items[3], parent, false);
        if (m_items[2].kind == DMPosItem::Size && IsUnresolved(rect.left)) {
            rect.right = POS_WAIT;
        }
        if (m_items[3].kind == DMPosItem::Size && IsUnresolved(rect.top)) {
            rect.bottom = POS_WAIT;
        }
    } else if (m_nCount == 2) {
        SIZE size = SizeFromMode(parent);
        rect.left = Resolve(m_items[0], parent, true);
        rect.top = Resolve(m_items[1], parent, false);
        if (!IsUnresolved(rect.left) && !IsUnresolved(rect.top)) {
            rect.right = rect.left + size.cx;
            rect.bottom = rect.top + size.cy;
        }
    } else {
        Stack(parent, rect);
    }
    if (IsUnresolved(rect.left) || IsUnresolved(rect.top) || IsUnresolved(rect.right) ||
        IsUnresolved(rect.bottom)) {
        return DM_ECODE_FAIL;
    }
    if (rect.left > rect.right) {
        std::swap(rect.left, rect.right);
    }
    if (rect.top > rect.bottom) {
        std::swap(rect.top, rect.bottom);
    }
    RECT unused{};
    if (!parentWidget || parentWidget->GetChildLayoutRect(unused) != kLayoutRectUnclipped) {
        rect = {std::max(rect.left, parent.left), std::max(rect.top, parent.top),
                std::min(rect.right, parent.right), std::min(rect.bottom, parent.bottom)};
        if (rect.right < rect.left) {
            rect.right = rect.left;
        }
        if (rect.bottom < rect.top) {
            rect.bottom = rect.top;
        }
    }
    return DM_ECODE_OK;
}

// Passes until every child is placed or a pass places none: references to later siblings
// resolve in a later pass, circular ones never.
DMCode DMLayoutImpl::UpdateChildLayout() {
    std::vector<DUIWindow*> pending;
    for (DUIWindow* child = m_pOwner->GetWindow(GDW_FIRSTCHILD); child;
         child = child->GetWindow(GDW_NEXTSIBLING)) {
        if (!child->IsPlacedByCode()) {
            child->m_rcWindow = {POS_INIT, POS_INIT, POS_INIT, POS_INIT};
            pending.push_back(child);
        }
    }
    while (!pending.empty()) {
        RECT area{};
        m_pOwner->GetChildLayoutRect(area);
        std::vector<DUIWindow*> unresolved;
        for (DUIWindow* child : pending) {
            if (child->SendMessage(plat::WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&area)) !=
                DM_ECODE_OK) {
                unresolved.push_back(child);
            }
        }
        if (unresolved.size() == pending.size()) {
            return DM_ECODE_FAIL;
        }
        pending.swap(unresolved);
    }
    return DM_ECODE_OK;
}

}  // namespace DM
