#include "DUITextHost.h"

#include "DUICaret.h"
#include "DUIEditHelper.h"
#include "DUIRichEdit.h"
#include "plat/cursor.h"
#include "plat/system_colors.h"
#include "plat/timer.h"
#include "plat/window.h"

namespace DM {
namespace {

int BarBits(int bar) {
    return bar == plat::SB_HORZ ? DMSB_HORZ : bar == plat::SB_VERT ? DMSB_VERT : DMSB_BOTH;
}

}  // namespace

DUITextHost::DUITextHost(DUIRichEdit* edit) : m_pRichEdit(edit) {}

DUITextHost::~DUITextHost() {
    if (m_pServ) {
        m_pServ->Release();
    }
}

bool DUITextHost::Init() {
    DUIEditHelper* helper = DUIEditHelper::GetObjPtr();
    plat::PCreateTextServices create = helper ? helper->CreateTextServicesFunc() : nullptr;
    plat::IUnknown* engine = nullptr;
    if (!create || create(nullptr, this, &engine) != plat::S_OK || !engine) {
        return false;
    }
    plat::HRESULT found =
        engine->QueryInterface(plat::IID_ITextServices, reinterpret_cast<void**>(&m_pServ));
    engine->Release();
    return found == plat::S_OK && m_pServ;
}

plat::HRESULT DUITextHost::QueryInterface(plat::REFIID iid, void** object) {
    if (!object) {
        return plat::E_POINTER;
    }
    if (iid == plat::IID_IUnknown || iid == plat::IID_ITextHost) {
        *object = static_cast<plat::ITextHost*>(this);
        AddRef();
        return plat::S_OK;
    }
    *object = nullptr;
    return plat::E_NOINTERFACE;
}

plat::ULONG DUITextHost::AddRef() {
    return ++m_cRefs;
}

plat::ULONG DUITextHost::Release() {
    plat::ULONG left = --m_cRefs;
    if (left == 0) {
        delete this;
    }
    return left;
}

plat::HWND DUITextHost::HostWindow() const {
    IDMContainer* container = m_pRichEdit->GetContainer();
    return container ? container->OnGetHWnd() : nullptr;
}

plat::HDC DUITextHost::TxGetDC() {
    return plat::GetDC(HostWindow());
}

int DUITextHost::TxReleaseDC(plat::HDC hdc) {
    return plat::ReleaseDC(HostWindow(), hdc);
}

plat::BOOL DUITextHost::TxShowScrollBar(int bar, plat::BOOL show) {
    m_pRichEdit->ShowScrollBar(BarBits(bar), show != 0);
    return 1;
}

plat::BOOL DUITextHost::TxEnableScrollBar(int bars, int arrowFlags) {
    m_pRichEdit->EnableScrollBar(BarBits(bars), arrowFlags == plat::ESB_ENABLE_BOTH);
    return 1;
}

plat::BOOL DUITextHost::TxSetScrollRange(int bar, plat::LONG minimum, int maximum,
                                         plat::BOOL redraw) {
    return m_pRichEdit->SetScrollRange(bar == plat::SB_VERT, minimum, maximum, redraw != 0);
}

// The guard keeps a scroll the widget passes to the engine from coming back to it.
plat::BOOL DUITextHost::TxSetScrollPos(int bar, int position, plat::BOOL redraw) {
    if (m_pRichEdit->m_bScrollPending) {
        return 1;
    }
    return m_pRichEdit->SetScrollPos(bar == plat::SB_VERT, position, redraw != 0);
}

void DUITextHost::TxInvalidateRect(const plat::RECT* rect, plat::BOOL mode) {
    m_pRichEdit->InvalidateRect(rect && !mode ? *rect : m_pRichEdit->m_rcWindow);
}

void DUITextHost::TxViewChange(plat::BOOL update) {
    if (update) {
        m_pRichEdit->InvalidateRect(m_pRichEdit->m_rcWindow);
    }
}

// No platform caret is drawn: the caret widget is what shows.
plat::BOOL DUITextHost::TxCreateCaret(plat::HBITMAP, int width, int height) {
    if (DUICaret* caret = m_pRichEdit->GetCaret()) {
        caret->SetCaretSize(width, height);
    }
    return 1;
}

plat::BOOL DUITextHost::TxShowCaret(plat::BOOL show) {
    DUICaret* caret = m_pRichEdit->GetCaret();
    if (show && !m_fUiActive) {
        return 0;
    }
    if (caret) {
        if (show) {
            caret->Show();
        } else {
            caret->Hide();
        }
    }
    return 1;
}

// The input method shows its composition at the caret.
plat::BOOL DUITextHost::TxSetCaretPos(int x, int y) {
    m_ptCaret = {x, y};
    if (plat::HIMC context = TxImmGetContext()) {
        plat::COMPOSITIONFORM form{plat::CFS_POINT, {x, y}, {0, 0, 0, 0}};
        plat::ImmSetCompositionWindow(context, &form);
        TxImmReleaseContext(context);
    }
    RECT client{};
    m_pRichEdit->GetClientRect(client);
    if (DUICaret* caret = m_pRichEdit->GetCaret()) {
        caret->SetCaretPos(x - client.left, y - client.top);
    }
    return 1;
}

plat::BOOL DUITextHost::TxSetTimer(plat::UINT id, plat::UINT timeout) {
    m_pRichEdit->SetTimerEx(id, timeout);
    return 1;
}

void DUITextHost::TxKillTimer(plat::UINT id) {
    if (m_pRichEdit->KillTimerEx(id) != DM_ECODE_OK) {
        plat::KillTimer(HostWindow(), id);
    }
}

void DUITextHost::TxScrollWindowEx(int, int, const plat::RECT*, const plat::RECT*, plat::HRGN,
                                   plat::RECT*, plat::UINT) {
    m_pRichEdit->Invalidate();
}

void DUITextHost::TxSetCapture(plat::BOOL capture) {
    IDMContainer* container = m_pRichEdit->GetContainer();
    if (!container) {
        return;
    }
    if (capture) {
        container->OnSetCapture(m_pRichEdit->GetDUIWnd());
    } else {
        container->OnReleaseCapture();
    }
}

void DUITextHost::TxSetFocus() {
    m_pRichEdit->SetFocus();
}

void DUITextHost::TxSetCursor(plat::HCURSOR cursor, plat::BOOL) {
    plat::SetCursor(cursor);
}

plat::BOOL DUITextHost::TxScreenToClient(plat::POINT* point) {
    return plat::ScreenToClient(HostWindow(), point);
}

plat::BOOL DUITextHost::TxClientToScreen(plat::POINT* point) {
    return plat::ClientToScreen(HostWindow(), point);
}

plat::HRESULT DUITextHost::TxActivate(plat::LONG* oldState) {
    if (oldState) {
        *oldState = m_fUiActive ? 1 : 0;
    }
    m_fUiActive = true;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxDeactivate(plat::LONG) {
    m_fUiActive = false;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetClientRect(plat::RECT* rect) {
    return m_pRichEdit->GetClientRect(*rect) == DM_ECODE_OK ? plat::S_OK : plat::E_FAIL;
}

plat::HRESULT DUITextHost::TxGetViewInset(plat::RECT* rect) {
    *rect = m_pRichEdit->m_rcInset;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetCharFormat(const plat::CHARFORMATW** format) {
    *format = &m_pRichEdit->m_cfDef;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetParaFormat(const plat::PARAFORMAT** format) {
    *format = &m_pRichEdit->m_pfDef;
    return plat::S_OK;
}

plat::COLORREF DUITextHost::TxGetSysColor(int index) {
    return plat::GetSysColor(index);
}

plat::HRESULT DUITextHost::TxGetBackStyle(plat::TXTBACKSTYLE* style) {
    *style = plat::TXTBACK_TRANSPARENT;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetMaxLength(plat::DWORD* length) {
    *length = static_cast<plat::DWORD>(m_pRichEdit->m_cchTextMost);
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetScrollBars(plat::DWORD* bars) {
    *bars = m_pRichEdit->m_dwStyle & 0x3020C0;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetPasswordChar(wchar_t* character) {
    *character = m_pRichEdit->m_chPasswordChar;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetAcceleratorPos(plat::LONG* position) {
    *position = m_pRichEdit->m_lAccelPos;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetExtent(plat::SIZE* extent) {
    *extent = m_pRichEdit->m_sizeExtent;
    return plat::S_OK;
}

plat::HRESULT DUITextHost::OnTxCharFormatChange(const plat::CHARFORMATW*) {
    return plat::S_OK;
}

plat::HRESULT DUITextHost::OnTxParaFormatChange(const plat::PARAFORMAT*) {
    return plat::S_OK;
}

plat::HRESULT DUITextHost::TxGetPropertyBits(plat::DWORD mask, plat::DWORD* bits) {
    const DUIRichEdit& edit = *m_pRichEdit;
    plat::DWORD answer = 0;
    answer |= edit.IsEditStyle(plat::ES_MULTILINE) ? plat::TXTBIT_MULTILINE : 0;
    answer |= edit.IsEditStyle(plat::ES_READONLY) ? plat::TXTBIT_READONLY : 0;
    answer |= edit.IsEditStyle(plat::ES_PASSWORD) ? plat::TXTBIT_USEPASSWORD : 0;
    answer |= edit.m_fRich ? plat::TXTBIT_RICHTEXT : 0;
    answer |= edit.IsEditStyle(plat::ES_NOHIDESEL) ? 0 : plat::TXTBIT_HIDESELECTION;
    answer |= edit.m_fSaveSelection ? plat::TXTBIT_SAVESELECTION : 0;
    answer |= edit.m_fEnableAutoWordSel ? plat::TXTBIT_AUTOWORDSEL : 0;
    answer |= edit.m_fWordWrap ? plat::TXTBIT_WORDWRAP : 0;
    answer |= edit.m_fAllowBeep ? plat::TXTBIT_ALLOWBEEP : 0;
    *bits = answer & mask;
    return plat::S_OK;
}

// The resize request is answered here; every other notification becomes an event.
plat::HRESULT DUITextHost::TxNotify(plat::DWORD notify, void* data) {
    if (notify == plat::EN_REQUESTRESIZE) {
        return plat::S_OK;
    }
    DMEventRENotifyArgs event(m_pRichEdit);
    event.m_iNotify = notify;
    event.m_pv = data;
    m_pRichEdit->FireEvent(event);
    return static_cast<plat::HRESULT>(event.m_hr);
}

plat::HIMC DUITextHost::TxImmGetContext() {
    return plat::ImmGetContext(HostWindow());
}

void DUITextHost::TxImmReleaseContext(plat::HIMC context) {
    plat::ImmReleaseContext(HostWindow(), context);
}

plat::HRESULT DUITextHost::TxGetSelectionBarWidth(plat::LONG* width) {
    *width = 0;
    return plat::S_OK;
}

}  // namespace DM
