// The messages about lines and positions: line counts and indices, positions of characters,
// and scrolling by lines.
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {

std::optional<LRESULT> TextServices::HandleLineMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    const std::vector<LayoutLine>& lines = Layout().Lines();
    auto lineCount = static_cast<LONG>(lines.size());
    auto lineOf = [this](LONG position) {
        if (position < 0) {
            position = m_caret;
        }
        return Layout().LineOf(ShownIndex(std::min(position, Length())));
    };
    switch (msg) {
        case EM_GETLINECOUNT:
            return lineCount;
        case EM_LINEINDEX: {
            auto line = static_cast<LONG>(static_cast<std::intptr_t>(wparam));
            line = line < 0 ? lineOf(-1) : line;
            if (line >= lineCount) {
                return -1;
            }
            return PositionOfShown(lines[static_cast<std::size_t>(line)].start);
        }
        case EM_LINELENGTH: {
            const LayoutLine& line =
                lines[static_cast<std::size_t>(lineOf(static_cast<LONG>(wparam)))];
            return PositionOfShown(line.end) - PositionOfShown(line.start);
        }
        case EM_LINEFROMCHAR:
            return lineOf(static_cast<LONG>(static_cast<std::intptr_t>(wparam)));
        case EM_EXLINEFROMCHAR:
            return lineOf(static_cast<LONG>(lparam));
        case EM_GETFIRSTVISIBLELINE:
            if (!IsMultiLine()) {
                return PositionOfShown(Layout().IndexAt({m_scroll.x, 0}));
            }
            return Layout().LineOf(Layout().IndexAt({0, m_scroll.y}));
        case EM_LINESCROLL:
            ScrollTo(m_scroll.x +
                         static_cast<LONG>(static_cast<std::intptr_t>(wparam)) * LineHeight() / 2,
                     m_scroll.y + static_cast<LONG>(lparam) * LineHeight());
            return TRUE;
        case EM_SCROLL:
            OnScrollMessage(true, static_cast<WORD>(wparam), 0);
            return MAKELPARAM(0, TRUE);
        case EM_SCROLLCARET:
            ScrollCaretIntoView();
            return TRUE;
        case EM_POSFROMCHAR: {
            if (!wparam) {
                return 0;
            }
            RECT caret = Layout().CaretRect(
                ShownIndex(std::clamp<LONG>(static_cast<LONG>(lparam), LONG{0}, Length())));
            POINT origin = LayoutOrigin(ClientRect());
            *reinterpret_cast<POINT*>(wparam) = {caret.left + origin.x, caret.top + origin.y};
            return 0;
        }
        case EM_CHARFROMPOS:
            return lparam ? PositionAt(*reinterpret_cast<const POINT*>(lparam)) : 0;
        case EM_GETRECT:
            if (lparam) {
                *reinterpret_cast<RECT*>(lparam) = ViewRect(ClientRect());
            }
            return 0;
        case EM_REQUESTRESIZE:
            RequestResize();
            return 0;
        default:
            return std::nullopt;
    }
}

// EN_REQUESTRESIZE: the client rectangle the whole text would need.
void TextServices::RequestResize() {
    if (!(m_eventMask & ENM_REQUESTRESIZE)) {
        return;
    }
    RECT client = ClientRect();
    LONG width = client.right - client.left;
    LONG height = 0;
    TxGetNaturalSize(DVASPECT_CONTENT, nullptr, nullptr, nullptr, TXTNS_FITTOCONTENT, nullptr,
                     &width, &height);
    REQRESIZE request{{nullptr, 0, EN_REQUESTRESIZE},
                      {client.left, client.top, client.right, client.top + height}};
    Notify(EN_REQUESTRESIZE, &request);
}

}  // namespace plat::textsvc
