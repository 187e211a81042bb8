// Copy, cut and paste through the platform clipboard. A password is never copied out.
#include "plat/clipboard.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {

void TextServices::Copy() {
    if (!HasSelection() || IsPassword()) {
        return;
    }
    std::wstring text;
    for (wchar_t c : SelectedText()) {
        text += c;
        if (c == L'\r') {
            text += L'\n';
        }
    }
    SetClipboardText(text);
}

void TextServices::Cut() {
    if (!HasSelection() || IsPassword() || IsReadOnly()) {
        return;
    }
    Copy();
    m_history.Seal();
    ReplaceSelection(L"", EditKind::Other);
}

void TextServices::Paste() {
    if (IsReadOnly()) {
        return;
    }
    std::wstring text = GetClipboardText();
    if (text.empty()) {
        return;
    }
    m_history.Seal();
    ReplaceSelection(text, EditKind::Other);
    m_history.Seal();
}

}  // namespace plat::textsvc
