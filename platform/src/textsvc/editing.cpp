// The text, the selection and their changes, with the notifications they cause.
#include <algorithm>
#include <cwchar>

#include "textsvc/text_services_engine.h"
#include "textsvc/word_boundaries.h"

namespace plat::textsvc {

std::wstring TextServices::SelectedText() const {
    return m_text.substr(static_cast<std::size_t>(SelectionStart()),
                         static_cast<std::size_t>(SelectionEnd() - SelectionStart()));
}

// Line breaks become single CRs, as the text keeps them; a single-line text keeps only what
// comes before the first one.
std::wstring TextServices::Acceptable(const std::wstring& text) const {
    std::wstring accepted;
    accepted.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        wchar_t c = text[index];
        if (c == L'\r' || c == L'\n') {
            if (!IsMultiLine()) {
                break;
            }
            if (c == L'\r' && index + 1 < text.size() && text[index + 1] == L'\n') {
                ++index;
            }
            c = L'\r';
        } else if (c == 0) {
            break;
        }
        accepted += c;
    }
    return accepted;
}

// CRs as CRLF, the way the window-text messages give line breaks.
std::wstring TextServices::WindowText() const {
    std::wstring text;
    text.reserve(m_text.size());
    for (wchar_t c : m_text) {
        text += c;
        if (c == L'\r') {
            text += L'\n';
        }
    }
    return text;
}

LRESULT TextServices::CopyWindowText(wchar_t* buffer, WPARAM size) const {
    if (!buffer || size == 0) {
        return 0;
    }
    std::wstring text = WindowText();
    std::size_t copied = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(buffer, text.data(), copied);
    buffer[copied] = L'\0';
    return static_cast<LRESULT>(copied);
}

bool TextServices::ReplaceSelection(const std::wstring& text, EditKind kind, bool undoable) {
    return ReplaceRange(SelectionStart(), SelectionEnd(), text, kind, undoable);
}

// Text beyond the maximum length is dropped and EN_MAXTEXT tells so.
bool TextServices::ReplaceRange(LONG start, LONG end, const std::wstring& text, EditKind kind,
                                bool undoable) {
    std::wstring accepted = Acceptable(text);
    LONG room = std::max<LONG>(0, static_cast<LONG>(m_maxLength) - (Length() - (end - start)));
    if (static_cast<LONG>(accepted.size()) > room) {
        accepted.resize(static_cast<std::size_t>(room));
        Notify(EN_MAXTEXT, nullptr);
    }
    if (accepted.empty() && start == end) {
        return false;
    }
    Replacement replacement{
        start,
        m_text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
        accepted};
    if (undoable) {
        m_history.Record(replacement, kind, m_anchor, m_caret);
    }
    ApplyReplacement(replacement);
    TextChanged();
    return true;
}

void TextServices::ApplyReplacement(const Replacement& replacement) {
    m_text.replace(static_cast<std::size_t>(replacement.position), replacement.removed.size(),
                   replacement.inserted);
    m_anchor = m_caret = replacement.position + static_cast<LONG>(replacement.inserted.size());
    m_modified = true;
}

void TextServices::SetText(const std::wstring& text) {
    m_composition = {};
    m_text = Acceptable(text);
    m_anchor = m_caret = 0;
    m_scroll = {0, 0};
    m_history.Clear();
    m_modified = false;
    TextChanged();
}

bool TextServices::Undo() {
    if (IsReadOnly()) {
        return false;
    }
    std::optional<EditGroup> group = m_history.TakeUndo();
    if (!group) {
        return false;
    }
    for (auto it = group->replacements.rbegin(); it != group->replacements.rend(); ++it) {
        ApplyReplacement({it->position, it->inserted, it->removed});
    }
    m_anchor = std::clamp<LONG>(group->anchorBefore, 0, Length());
    m_caret = std::clamp<LONG>(group->caretBefore, 0, Length());
    TextChanged();
    return true;
}

bool TextServices::Redo() {
    if (IsReadOnly()) {
        return false;
    }
    std::optional<EditGroup> group = m_history.TakeRedo();
    if (!group) {
        return false;
    }
    for (const Replacement& replacement : group->replacements) {
        ApplyReplacement(replacement);
    }
    TextChanged();
    return true;
}

void TextServices::DeleteBackward(bool word) {
    if (IsReadOnly()) {
        return;
    }
    if (HasSelection()) {
        ReplaceSelection(L"", EditKind::Deleting);
    } else if (m_caret > 0) {
        LONG from = word ? WordStartBefore(m_caret) : m_caret - 1;
        ReplaceRange(from, m_caret, L"", EditKind::Deleting);
    }
}

void TextServices::DeleteForward(bool word) {
    if (IsReadOnly()) {
        return;
    }
    if (HasSelection()) {
        ReplaceSelection(L"", EditKind::Deleting);
    } else if (m_caret < Length()) {
        LONG to = word ? WordStartAfter(m_caret) : m_caret + 1;
        ReplaceRange(m_caret, to, L"", EditKind::Deleting);
    }
}

// A password shows no words: word movement goes to the ends.
LONG TextServices::WordStartBefore(LONG position) const {
    return IsPassword() ? 0 : PreviousWordStart(m_text, position);
}

LONG TextServices::WordStartAfter(LONG position) const {
    return IsPassword() ? Length() : NextWordStart(m_text, position);
}

// EM_SETSEL and EM_EXSETSEL: a negative start removes the selection, leaving the caret; a
// negative end means the end of the text.
void TextServices::SetSelection(LONG start, LONG end) {
    m_history.Seal();
    if (start < 0) {
        Select(m_caret, m_caret);
        return;
    }
    Select(start, end < 0 ? Length() : end);
}

void TextServices::Select(LONG anchor, LONG caret) {
    anchor = std::clamp<LONG>(anchor, 0, Length());
    caret = std::clamp<LONG>(caret, 0, Length());
    if (anchor == m_anchor && caret == m_caret) {
        return;
    }
    bool highlighted = HasSelection();
    m_anchor = anchor;
    m_caret = caret;
    if (highlighted || HasSelection()) {
        Repaint();
    }
    ScrollCaretIntoView();
    UpdateCaret();
    SelectionChanged();
}

void TextServices::TextChanged() {
    InvalidateLayout();
    m_preferredX = -1;
    ScrollCaretIntoView();
    if (m_eventMask & ENM_UPDATE) {
        Notify(EN_UPDATE, nullptr);
    }
    ViewChanged();
    if (m_eventMask & ENM_CHANGE) {
        CHANGENOTIFY change{CN_TEXTCHANGED, nullptr};
        Notify(EN_CHANGE, &change);
    }
    SelectionChanged();
}

// What is shown changed, not the text (password character, formats).
void TextServices::ShownTextChanged() {
    InvalidateLayout();
    ScrollCaretIntoView();
    ViewChanged();
}

void TextServices::SelectionChanged() {
    CHARRANGE range{SelectionStart(), SelectionEnd()};
    if (range.cpMin == m_notifiedSelection.cpMin && range.cpMax == m_notifiedSelection.cpMax) {
        return;
    }
    m_notifiedSelection = range;
    if (m_eventMask & ENM_SELCHANGE) {
        SELCHANGE change{{nullptr, 0, EN_SELCHANGE}, range, HasSelection() ? SEL_TEXT : SEL_EMPTY};
        Notify(EN_SELCHANGE, &change);
    }
}

void TextServices::Notify(DWORD code, void* data) {
    m_host->TxNotify(code, data);
}

}  // namespace plat::textsvc
