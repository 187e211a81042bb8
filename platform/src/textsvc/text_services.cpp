#include "textsvc/text_services_engine.h"

#include <algorithm>
#include <cwchar>

#include "plat/system_colors.h"
#include "plat/window.h"

namespace plat {

HRESULT CreateTextServices(IUnknown* punkOuter, ITextHost* pITextHost, IUnknown** ppUnk) {
    constexpr HRESULT kNoAggregation = static_cast<HRESULT>(0x80040110);
    if (!ppUnk) {
        return E_POINTER;
    }
    *ppUnk = nullptr;
    if (punkOuter) {
        return kNoAggregation;
    }
    if (!pITextHost) {
        return E_INVALIDARG;
    }
    *ppUnk = static_cast<ITextServices*>(new textsvc::TextServices(pITextHost));
    return S_OK;
}

}  // namespace plat

namespace plat::textsvc {

TextServices::TextServices(ITextHost* host) : m_host(host) {
    ReadProperties();
}

TextServices::~TextServices() {
    if (m_format.font) {
        pango_font_description_free(m_format.font);
    }
}

HRESULT TextServices::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_ITextServices) {
        *object = static_cast<ITextServices*>(this);
        AddRef();
        return S_OK;
    }
    if (iid == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TextServices::AddRef() {
    return ++m_references;
}

ULONG TextServices::Release() {
    ULONG left = --m_references;
    if (left == 0) {
        delete this;
    }
    return left;
}

void TextServices::ReadProperties() {
    DWORD bits = 0;
    if (SUCCEEDED(m_host->TxGetPropertyBits(0xFFFFFFFF, &bits))) {
        m_bits = bits;
    }
    DWORD bars = 0;
    if (SUCCEEDED(m_host->TxGetScrollBars(&bars))) {
        m_scrollBars = bars;
    }
    DWORD maxLength = 0;
    if (SUCCEEDED(m_host->TxGetMaxLength(&maxLength))) {
        m_maxLength = maxLength;
    }
    wchar_t password = 0;
    if (SUCCEEDED(m_host->TxGetPasswordChar(&password))) {
        m_passwordChar = password;
    }
    ReadCharFormat();
    ReadParaFormat();
}

HRESULT TextServices::TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) {
    std::optional<LRESULT> answer = HandleMessage(msg, wparam, lparam);
    if (result) {
        *result = answer.value_or(0);
    }
    return answer ? S_OK : S_FALSE;
}

std::optional<LRESULT> TextServices::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    switch (msg) {
        case WM_SETTEXT:
            SetText(lparam ? reinterpret_cast<const wchar_t*>(lparam) : L"");
            return TRUE;
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(WindowText().size());
        case WM_GETTEXT:
            return CopyWindowText(reinterpret_cast<wchar_t*>(lparam), wparam);
        case WM_SETFOCUS:
            OnFocus(true);
            return 0;
        case WM_KILLFOCUS:
            OnFocus(false);
            return 0;
        case WM_KEYDOWN:
            return OnKeyDown(static_cast<UINT>(wparam));
        case WM_CHAR:
        case WM_IME_CHAR:
            OnCharacter(static_cast<wchar_t>(wparam));
            return 0;
        case WM_IME_STARTCOMPOSITION:
            OnCompositionStart();
            return 0;
        case WM_IME_COMPOSITION:
            OnComposition(lparam);
            return 0;
        case WM_IME_ENDCOMPOSITION:
            OnCompositionEnd();
            return 0;
        case WM_LBUTTONDOWN:
            OnButtonDown(point, (wparam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnDoubleClick(point);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(point);
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp();
            return 0;
        case WM_CAPTURECHANGED:
            EndSelecting();
            return 0;
        case WM_TIMER:
            return OnTimer(static_cast<UINT>(wparam));
        case WM_MOUSEWHEEL:
            if (!IsMultiLine()) {
                return std::nullopt;
            }
            OnWheel(GET_WHEEL_DELTA_WPARAM(wparam));
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
            OnScrollMessage(msg == WM_VSCROLL, LOWORD(wparam), static_cast<SHORT>(HIWORD(wparam)));
            return 0;
        case WM_COPY:
            Copy();
            return 0;
        case WM_CUT:
            Cut();
            return 0;
        case WM_PASTE:
            Paste();
            return 0;
        case WM_CLEAR:
            if (!IsReadOnly()) {
                ReplaceSelection(L"", EditKind::Other);
            }
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            return Undo() ? TRUE : FALSE;
        case EM_REDO:
            return Redo() ? TRUE : FALSE;
        default:
            break;
    }
    if (std::optional<LRESULT> answer = HandleEditMessage(msg, wparam, lparam)) {
        return answer;
    }
    if (std::optional<LRESULT> answer = HandleFormatMessage(msg, wparam, lparam)) {
        return answer;
    }
    return HandleLineMessage(msg, wparam, lparam);
}

std::optional<LRESULT> TextServices::HandleEditMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case EM_GETSEL: {
            auto start = static_cast<DWORD>(SelectionStart());
            auto end = static_cast<DWORD>(SelectionEnd());
            if (wparam) {
                *reinterpret_cast<DWORD*>(wparam) = start;
            }
            if (lparam) {
                *reinterpret_cast<DWORD*>(lparam) = end;
            }
            return start > 0xFFFF || end > 0xFFFF
                       ? -1
                       : static_cast<LRESULT>(
                             MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end)));
        }
        case EM_SETSEL:
            SetSelection(static_cast<LONG>(static_cast<std::intptr_t>(wparam)),
                         static_cast<LONG>(lparam));
            return SelectionEnd();
        case EM_EXGETSEL:
            if (lparam) {
                *reinterpret_cast<CHARRANGE*>(lparam) = {SelectionStart(), SelectionEnd()};
            }
            return 0;
        case EM_EXSETSEL:
            if (lparam) {
                const auto& range = *reinterpret_cast<const CHARRANGE*>(lparam);
                SetSelection(range.cpMin, range.cpMax);
            }
            return SelectionEnd();
        case EM_REPLACESEL:
            ReplaceSelection(lparam ? reinterpret_cast<const wchar_t*>(lparam) : L"",
                             EditKind::Other, wparam != 0);
            m_history.Seal();
            return 0;
        case EM_GETSELTEXT: {
            std::wstring selected = SelectedText();
            if (lparam) {
                std::wmemcpy(reinterpret_cast<wchar_t*>(lparam), selected.c_str(),
                             selected.size() + 1);
            }
            return static_cast<LRESULT>(selected.size());
        }
        case EM_LIMITTEXT:
        case EM_EXLIMITTEXT: {
            auto limit = static_cast<DWORD>(msg == EM_LIMITTEXT ? wparam : lparam);
            m_maxLength = limit ? limit : 32767;
            return 0;
        }
        case EM_GETLIMITTEXT:
            return m_maxLength;
        case EM_SETEVENTMASK: {
            DWORD old = m_eventMask;
            m_eventMask = static_cast<DWORD>(lparam);
            return old;
        }
        case EM_GETEVENTMASK:
            return m_eventMask;
        case EM_SETREADONLY:
            m_bits = wparam ? (m_bits | TXTBIT_READONLY) : (m_bits & ~TXTBIT_READONLY);
            return TRUE;
        case EM_SETPASSWORDCHAR:
            m_passwordChar = static_cast<wchar_t>(wparam);
            m_bits =
                m_passwordChar ? (m_bits | TXTBIT_USEPASSWORD) : (m_bits & ~TXTBIT_USEPASSWORD);
            ShownTextChanged();
            return 0;
        case EM_GETPASSWORDCHAR:
            return IsPassword() ? m_passwordChar : 0;
        case EM_CANUNDO:
            return m_history.CanUndo() && !IsReadOnly() ? TRUE : FALSE;
        case EM_CANREDO:
            return m_history.CanRedo() && !IsReadOnly() ? TRUE : FALSE;
        case EM_EMPTYUNDOBUFFER:
            m_history.Clear();
            return 0;
        case EM_SETUNDOLIMIT:
            m_history.SetLimit(static_cast<std::size_t>(wparam));
            return static_cast<LRESULT>(wparam);
        case EM_GETMODIFY:
            return m_modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            m_modified = wparam != 0;
            return 0;
        case EM_CANPASTE:
            return IsReadOnly() ? FALSE : TRUE;
        case EM_HIDESELECTION:
            m_bits = wparam ? (m_bits | TXTBIT_HIDESELECTION) : (m_bits & ~TXTBIT_HIDESELECTION);
            Repaint();
            return 0;
        case EM_SETOPTIONS:
            return SetOptions(wparam, static_cast<DWORD>(lparam));
        case EM_GETOPTIONS:
            return Options();
        case EM_SETLANGOPTIONS:
            m_languageOptions = static_cast<DWORD>(lparam);
            return TRUE;
        case EM_GETLANGOPTIONS:
            return m_languageOptions;
        case EM_SETTARGETDEVICE:
            return TRUE;
        default:
            return std::nullopt;
    }
}

// The options live in the property bits and the scroll-bar bits, where the host put them.
DWORD TextServices::Options() const {
    DWORD options = m_scrollBars & (ECO_AUTOVSCROLL | ECO_AUTOHSCROLL);
    options |= Has(TXTBIT_AUTOWORDSEL) ? ECO_AUTOWORDSELECTION : 0;
    options |= Has(TXTBIT_HIDESELECTION) ? 0 : ECO_NOHIDESEL;
    options |= IsReadOnly() ? ECO_READONLY : 0;
    options |= Has(TXTBIT_SAVESELECTION) ? ECO_SAVESEL : 0;
    return options;
}

LRESULT TextServices::SetOptions(WPARAM operation, DWORD given) {
    DWORD options = Options();
    switch (operation) {
        case ECOOP_SET:
            options = given;
            break;
        case ECOOP_OR:
            options |= given;
            break;
        case ECOOP_AND:
            options &= given;
            break;
        case ECOOP_XOR:
            options ^= given;
            break;
        default:
            return 0;
    }
    auto set = [this](DWORD bit, bool on) { m_bits = on ? (m_bits | bit) : (m_bits & ~bit); };
    set(TXTBIT_AUTOWORDSEL, options & ECO_AUTOWORDSELECTION);
    set(TXTBIT_HIDESELECTION, !(options & ECO_NOHIDESEL));
    set(TXTBIT_READONLY, options & ECO_READONLY);
    set(TXTBIT_SAVESELECTION, options & ECO_SAVESEL);
    m_scrollBars = (m_scrollBars & ~(ECO_AUTOVSCROLL | ECO_AUTOHSCROLL)) |
                   (options & (ECO_AUTOVSCROLL | ECO_AUTOHSCROLL));
    Repaint();
    return Options();
}

std::optional<LRESULT> TextServices::HandleFormatMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
        case EM_SETBKGNDCOLOR: {
            COLORREF old = m_background.value_or(m_host->TxGetSysColor(COLOR_WINDOW));
            if (wparam) {
                m_background.reset();
            } else {
                m_background = static_cast<COLORREF>(lparam);
            }
            Repaint();
            return old;
        }
        case EM_GETCHARFORMAT:
        case EM_GETPARAFORMAT:
        case EM_SETCHARFORMAT:
        case EM_SETPARAFORMAT:
            return FormatMessage(msg, wparam, lparam);
        default:
            return std::nullopt;
    }
}

HRESULT TextServices::TxGetText(std::wstring* text) {
    if (!text) {
        return E_INVALIDARG;
    }
    *text = m_text;
    return S_OK;
}

HRESULT TextServices::TxSetText(const wchar_t* text) {
    SetText(text ? text : L"");
    return S_OK;
}

HRESULT TextServices::OnTxInPlaceActivate(const RECT* prcClient) {
    m_inPlaceActive = true;
    m_givenClient = prcClient ? std::optional<RECT>(*prcClient) : std::nullopt;
    InvalidateLayout();
    ViewChanged();
    return S_OK;
}

HRESULT TextServices::OnTxInPlaceDeactivate() {
    if (m_selecting) {
        m_host->TxSetCapture(FALSE);
    }
    EndSelecting();
    m_inPlaceActive = false;
    return S_OK;
}

HRESULT TextServices::OnTxUIActivate() {
    return S_OK;
}

HRESULT TextServices::OnTxUIDeactivate() {
    return S_OK;
}

HRESULT TextServices::OnTxPropertyBitsChange(DWORD, DWORD) {
    ReadProperties();
    InvalidateLayout();
    ScrollCaretIntoView();
    ViewChanged();
    return S_OK;
}

HRESULT TextServices::TxGetDropTarget(IDropTarget** ppDropTarget) {
    if (!ppDropTarget) {
        return E_INVALIDARG;
    }
    *ppDropTarget = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
}

}  // namespace plat::textsvc
