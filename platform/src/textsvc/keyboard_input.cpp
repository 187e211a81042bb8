// Keys and characters: caret movement, selection, deletion, typing and the command keys.
#include <algorithm>

#include "plat/input.h"
#include "plat/keyboard.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

bool IsDown(UINT key) {
    return (GetKeyState(static_cast<int>(key)) & 0x8000) != 0;
}

}  // namespace

std::optional<LRESULT> TextServices::OnKeyDown(UINT key) {
    if (m_composition.active) {
        return 0;  // the input method has the keys while it composes
    }
    bool control = IsDown(VK_CONTROL);
    bool shift = IsDown(VK_SHIFT);
    if (OnCommandKey(key, control, shift)) {
        return 0;
    }
    const std::vector<LayoutLine>& lines = Layout().Lines();
    const LayoutLine& line = lines[static_cast<std::size_t>(Layout().LineOf(ShownIndex(m_caret)))];
    switch (key) {
        case VK_LEFT:
            if (HasSelection() && !shift && !control) {
                MoveCaret(SelectionStart(), false);
            } else {
                MoveCaret(control ? WordStartBefore(m_caret) : std::max<LONG>(0, m_caret - 1),
                          shift);
            }
            return 0;
        case VK_RIGHT:
            if (HasSelection() && !shift && !control) {
                MoveCaret(SelectionEnd(), false);
            } else {
                MoveCaret(control ? WordStartAfter(m_caret) : std::min(Length(), m_caret + 1),
                          shift);
            }
            return 0;
        case VK_HOME:
            MoveCaret(control ? 0 : PositionOfShown(line.start), shift);
            return 0;
        case VK_END:
            MoveCaret(control ? Length() : PositionOfShown(line.end), shift);
            return 0;
        case VK_UP:
        case VK_DOWN:
            if (!IsMultiLine()) {
                MoveCaret(key == VK_UP ? 0 : Length(), shift);
            } else {
                MoveByLines(key == VK_UP ? -1 : 1, shift);
            }
            return 0;
        case VK_PRIOR:
        case VK_NEXT:
            if (!IsMultiLine()) {
                return std::nullopt;
            }
            MoveByPage(key == VK_PRIOR ? -1 : 1, shift);
            return 0;
        case VK_BACK:
            DeleteBackward(control);
            return 0;
        case VK_DELETE:
            if (shift && !control) {
                Cut();
            } else {
                DeleteForward(control);
            }
            return 0;
        default:
            return std::nullopt;
    }
}

// Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z, Ctrl+Y (and Ctrl+Shift+Z), Ctrl+Insert and
// Shift+Insert.
bool TextServices::OnCommandKey(UINT key, bool control, bool shift) {
    if (key == VK_INSERT && (control || shift)) {
        if (control) {
            Copy();
        } else {
            Paste();
        }
        return true;
    }
    if (!control) {
        return false;
    }
    switch (key) {
        case 'A':
            m_history.Seal();
            Select(0, Length());
            return true;
        case 'C':
            Copy();
            return true;
        case 'X':
            Cut();
            return true;
        case 'V':
            Paste();
            return true;
        case 'Z':
            if (shift) {
                Redo();
            } else {
                Undo();
            }
            return true;
        case 'Y':
            Redo();
            return true;
        default:
            return false;
    }
}

// Control characters (those of Ctrl+letters, Backspace, Escape) insert nothing; a line break
// only in a multi-line text.
void TextServices::OnCharacter(wchar_t character) {
    if (IsReadOnly() || m_composition.active) {
        return;
    }
    bool lineBreak = character == L'\r' || character == L'\n';
    if (lineBreak || character == L'\t') {
        if (IsMultiLine()) {
            ReplaceSelection(lineBreak ? L"\r" : L"\t", EditKind::Typing);
        }
        return;
    }
    if (character < 0x20 || character == 0x7F) {
        return;
    }
    ReplaceSelection(std::wstring(1, character), EditKind::Typing);
}

void TextServices::MoveCaret(LONG to, bool extend) {
    m_history.Seal();
    m_preferredX = -1;
    Select(extend ? m_anchor : to, to);
}

// Up and down keep the caret's x from where the vertical movement started.
void TextServices::MoveByLines(int lines, bool extend) {
    const TextLayout& layout = Layout();
    LONG shown = ShownIndex(m_caret);
    RECT caret = layout.CaretRect(shown);
    LONG x = m_preferredX >= 0 ? m_preferredX : caret.left;
    int line = layout.LineOf(shown) + lines;
    int last = static_cast<int>(layout.Lines().size()) - 1;
    LONG target = 0;
    if (line < 0) {
        target = 0;
    } else if (line > last) {
        target = Length();
    } else {
        const LayoutLine& to = layout.Lines()[static_cast<std::size_t>(line)];
        target = PositionOfShown(layout.IndexAt({x, (to.top + to.bottom) / 2}));
    }
    m_history.Seal();
    Select(extend ? m_anchor : target, target);
    m_preferredX = x;
}

// Page Up and Page Down move the caret and the view by the view's height.
void TextServices::MoveByPage(int direction, bool extend) {
    RECT view = ViewRect(ClientRect());
    LONG page = std::max<LONG>(1, view.bottom - view.top);
    const TextLayout& layout = Layout();
    RECT caret = layout.CaretRect(ShownIndex(m_caret));
    LONG x = m_preferredX >= 0 ? m_preferredX : caret.left;
    ScrollTo(m_scroll.x, m_scroll.y + direction * page);
    LONG y = (caret.top + caret.bottom) / 2 + direction * page;
    LONG target = y < 0 ? 0 : PositionOfShown(layout.IndexAt({x, y}));
    if (y >= layout.Size().cy) {
        target = Length();
    }
    m_history.Seal();
    Select(extend ? m_anchor : target, target);
    m_preferredX = x;
}

}  // namespace plat::textsvc
