// Input-method composition: the text being composed shows underlined at the caret and is not
// part of the text; what the input method commits is inserted once, like typing.
#include <vector>

#include "plat/input_method.h"
#include "textsvc/text_services_engine.h"

namespace plat::textsvc {
namespace {

std::wstring CompositionString(HIMC context, DWORD which) {
    LONG bytes = ImmGetCompositionStringW(context, which, nullptr, 0);
    if (bytes <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(bytes) / sizeof(wchar_t));
    bytes = ImmGetCompositionStringW(context, which, buffer.data(), static_cast<DWORD>(bytes));
    return std::wstring(buffer.data(),
                        static_cast<std::size_t>(std::max<LONG>(0, bytes)) / sizeof(wchar_t));
}

}  // namespace

void TextServices::OnCompositionStart() {
    PlaceCompositionWindow();
}

void TextServices::OnComposition(LPARAM changes) {
    if (IsReadOnly()) {
        return;
    }
    HIMC context = m_host->TxImmGetContext();
    if (changes & GCS_RESULTSTR) {
        std::wstring result = CompositionString(context, GCS_RESULTSTR);
        ShowComposition(L"", 0);
        if (HasSelection()) {
            ReplaceSelection(L"", EditKind::Typing);
        }
        ReplaceSelection(result, EditKind::Typing);
    }
    if (changes & GCS_COMPSTR) {
        std::wstring text = CompositionString(context, GCS_COMPSTR);
        LONG cursor = static_cast<LONG>(text.size());
        if (changes & GCS_CURSORPOS) {
            cursor = std::clamp<LONG>(ImmGetCompositionStringW(context, GCS_CURSORPOS, nullptr, 0),
                                      LONG{0}, cursor);
        }
        ShowComposition(text, cursor);
    }
    m_host->TxImmReleaseContext(context);
    PlaceCompositionWindow();
}

void TextServices::OnCompositionEnd() {
    ShowComposition(L"", 0);
}

// An empty text ends the composition. The selection goes when composing starts, as the
// composition takes its place.
void TextServices::ShowComposition(const std::wstring& text, LONG cursor) {
    if (text.empty() && !m_composition.active) {
        return;
    }
    if (!m_composition.active) {
        if (HasSelection()) {
            ReplaceSelection(L"", EditKind::Typing);
        }
        m_composition.start = m_caret;
    }
    m_composition.active = !text.empty();
    m_composition.text = text;
    m_composition.cursor = cursor;
    ShownTextChanged();
}

// The input method's own window (candidates) shows at the caret.
void TextServices::PlaceCompositionWindow() {
    if (!m_focused) {
        return;
    }
    HIMC context = m_host->TxImmGetContext();
    if (!context) {
        return;
    }
    RECT caret = CaretRectInClient();
    COMPOSITIONFORM form{CFS_POINT, {caret.left, caret.top}, {0, 0, 0, 0}};
    ImmSetCompositionWindow(context, &form);
    m_host->TxImmReleaseContext(context);
}

}  // namespace plat::textsvc
