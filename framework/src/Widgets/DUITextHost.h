// The rich edit's side of its text engine: the engine asks the host for the client rectangle,
// the formats and the property bits, and the host shows what the engine asks for (caret, scroll
// bars, repaints, timers, notifications) through the rich edit widget.
#pragma once

#include "plat/text_services.h"

namespace DM {

class DUIRichEdit;

class DUITextHost final : public plat::ITextHost {
public:
    explicit DUITextHost(DUIRichEdit* edit);

    // Makes the engine through the library's "CreateTextServices"; false when there is none
    // or the engine refuses.
    bool Init();
    plat::ITextServices* GetTextService() const { return m_pServ; }
    bool IsActive() const { return m_fUiActive; }
    void SetActive(bool active) { m_fUiActive = active; }

    plat::HRESULT QueryInterface(plat::REFIID iid, void** object) override;
    plat::ULONG AddRef() override;
    plat::ULONG Release() override;

    plat::HDC TxGetDC() override;
    int TxReleaseDC(plat::HDC hdc) override;
    plat::BOOL TxShowScrollBar(int bar, plat::BOOL show) override;
    plat::BOOL TxEnableScrollBar(int bars, int arrowFlags) override;
    plat::BOOL TxSetScrollRange(int bar, plat::LONG minimum, int maximum,
                                plat::BOOL redraw) override;
    plat::BOOL TxSetScrollPos(int bar, int position, plat::BOOL redraw) override;
    void TxInvalidateRect(const plat::RECT* rect, plat::BOOL mode) override;
    void TxViewChange(plat::BOOL update) override;
    plat::BOOL TxCreateCaret(plat::HBITMAP bitmap, int width, int height) override;
    plat::BOOL TxShowCaret(plat::BOOL show) override;
    plat::BOOL TxSetCaretPos(int x, int y) override;
    plat::BOOL TxSetTimer(plat::UINT id, plat::UINT timeout) override;
    void TxKillTimer(plat::UINT id) override;
    void TxScrollWindowEx(int dx, int dy, const plat::RECT* scroll, const plat::RECT* clip,
                          plat::HRGN update, plat::RECT* updateRect, plat::UINT flags) override;
    void TxSetCapture(plat::BOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(plat::HCURSOR cursor, plat::BOOL text) override;
    plat::BOOL TxScreenToClient(plat::POINT* point) override;
    plat::BOOL TxClientToScreen(plat::POINT* point) override;
    plat::HRESULT TxActivate(plat::LONG* oldState) override;
    plat::HRESULT TxDeactivate(plat::LONG newState) override;
    plat::HRESULT TxGetClientRect(plat::RECT* rect) override;
    plat::HRESULT TxGetViewInset(plat::RECT* rect) override;
    plat::HRESULT TxGetCharFormat(const plat::CHARFORMATW** format) override;
    plat::HRESULT TxGetParaFormat(const plat::PARAFORMAT** format) override;
    plat::COLORREF TxGetSysColor(int index) override;
    plat::HRESULT TxGetBackStyle(plat::TXTBACKSTYLE* style) override;
    plat::HRESULT TxGetMaxLength(plat::DWORD* length) override;
    plat::HRESULT TxGetScrollBars(plat::DWORD* bars) override;
    plat::HRESULT TxGetPasswordChar(wchar_t* character) override;
    plat::HRESULT TxGetAcceleratorPos(plat::LONG* position) override;
    plat::HRESULT TxGetExtent(plat::SIZE* extent) override;
    plat::HRESULT OnTxCharFormatChange(const plat::CHARFORMATW* format) override;
    plat::HRESULT OnTxParaFormatChange(const plat::PARAFORMAT* format) override;
    plat::HRESULT TxGetPropertyBits(plat::DWORD mask, plat::DWORD* bits) override;
    plat::HRESULT TxNotify(plat::DWORD notify, void* data) override;
    plat::HIMC TxImmGetContext() override;
    void TxImmReleaseContext(plat::HIMC context) override;
    plat::HRESULT TxGetSelectionBarWidth(plat::LONG* width) override;

private:
    ~DUITextHost();
    plat::HWND HostWindow() const;

    DUIRichEdit* m_pRichEdit;
    plat::ITextServices* m_pServ = nullptr;
    bool m_fUiActive = false;
    plat::ULONG m_cRefs = 0;
    plat::POINT m_ptCaret{0, 0};
};

}  // namespace DM
