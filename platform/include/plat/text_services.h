// The windowless rich-edit text services: an editing engine without a window of its own. Its
// host (ITextHost) gives it the client rectangle, the formats and the property bits and shows
// what the engine asks for (caret, scroll bars, invalid areas, notifications); the host feeds
// the engine window messages (TxSendMessage) and lets it draw (TxDraw). Made by
// CreateTextServices, exported by the built-in module "riched20.dll".
#pragma once

#include <string>

#include "plat/com_object.h"
#include "plat/cursor.h"
#include "plat/drag_drop.h"
#include "plat/hresult.h"
#include "plat/input_method.h"
#include "plat/paint.h"
#include "plat/rich_edit.h"
#include "plat/types.h"

namespace plat {

constexpr IID IID_ITextServices{
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
constexpr IID IID_ITextHost{
    0xC5BDD8D0, 0xD26E, 0x11CE, {0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

using HBITMAP = struct HBITMAP__*;
using HRGN = struct HRGN__*;
// A target device description; the engine ignores it.
struct DVTARGETDEVICE;

// The device context TxDraw draws into. There are no GDI contexts here: the caller makes one
// of these from its canvas and passes its address as the HDC (CanvasContext). The engine
// draws only into this one; every other HDC (TxGetDC's, OnTxSetCursor's) is passed through.
struct TextCanvas {
    void* surface;  // a cairo image surface, CAIRO_FORMAT_ARGB32 (premultiplied BGRA)
    POINT origin;   // the surface pixel where the drawing coordinates 0, 0 lie
};
inline HDC CanvasContext(TextCanvas* canvas) {
    return reinterpret_cast<HDC>(canvas);
}

// Views and hit results.
constexpr LONG TXTVIEW_ACTIVE = 0;
constexpr LONG TXTVIEW_INACTIVE = -1;
constexpr DWORD TXTHITRESULT_NOHIT = 0;
constexpr DWORD TXTHITRESULT_TRANSPARENT = 1;
constexpr DWORD TXTHITRESULT_CLOSE = 2;
constexpr DWORD TXTHITRESULT_HIT = 3;
// TxGetNaturalSize modes.
constexpr DWORD TXTNS_FITTOCONTENT = 1;
constexpr DWORD TXTNS_ROUNDTOLINE = 2;

enum TXTBACKSTYLE { TXTBACK_TRANSPARENT = 0, TXTBACK_OPAQUE = 1 };

// Property bits: TxGetPropertyBits answers them, OnTxPropertyBitsChange says which changed.
constexpr DWORD TXTBIT_RICHTEXT = 0x00000001;
constexpr DWORD TXTBIT_MULTILINE = 0x00000002;
constexpr DWORD TXTBIT_READONLY = 0x00000004;
constexpr DWORD TXTBIT_SHOWACCELERATOR = 0x00000008;
constexpr DWORD TXTBIT_USEPASSWORD = 0x00000010;
constexpr DWORD TXTBIT_HIDESELECTION = 0x00000020;
constexpr DWORD TXTBIT_SAVESELECTION = 0x00000040;
constexpr DWORD TXTBIT_AUTOWORDSEL = 0x00000080;
constexpr DWORD TXTBIT_VERTICAL = 0x00000100;
constexpr DWORD TXTBIT_SELBARCHANGE = 0x00000200;
constexpr DWORD TXTBIT_WORDWRAP = 0x00000400;
constexpr DWORD TXTBIT_ALLOWBEEP = 0x00000800;
constexpr DWORD TXTBIT_DISABLEDRAG = 0x00001000;
constexpr DWORD TXTBIT_VIEWINSETCHANGE = 0x00002000;
constexpr DWORD TXTBIT_BACKSTYLECHANGE = 0x00004000;
constexpr DWORD TXTBIT_MAXLENGTHCHANGE = 0x00008000;
constexpr DWORD TXTBIT_SCROLLBARCHANGE = 0x00010000;
constexpr DWORD TXTBIT_CHARFORMATCHANGE = 0x00020000;
constexpr DWORD TXTBIT_PARAFORMATCHANGE = 0x00040000;
constexpr DWORD TXTBIT_EXTENTCHANGE = 0x00080000;
constexpr DWORD TXTBIT_CLIENTRECTCHANGE = 0x00100000;
constexpr DWORD TXTBIT_USECURRENTBKG = 0x00200000;

// The engine's side. Rectangles are in the host's drawing coordinates.
class ITextServices : public IUnknown {
public:
    // Handles a window message as a rich edit window would; S_OK when handled, S_FALSE
    // (1) when the engine does not handle it.
    virtual HRESULT TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) = 0;
    // Draws the text of `lprcBounds` into `hdcDraw` (a TextCanvas), limited to `lprcUpdate`
    // (null: the bounds).
    virtual HRESULT TxDraw(DWORD dwDrawAspect, LONG lindex, void* pvAspect, DVTARGETDEVICE* ptd,
                           HDC hdcDraw, HDC hicTargetDev, const RECT* lprcBounds,
                           const RECT* lprcWBounds, RECT* lprcUpdate, BOOL (*pfnContinue)(DWORD),
                           DWORD dwContinue, LONG lViewId) = 0;
    virtual HRESULT TxGetHScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                                 BOOL* pfEnabled) = 0;
    virtual HRESULT TxGetVScroll(LONG* plMin, LONG* plMax, LONG* plPos, LONG* plPage,
                                 BOOL* pfEnabled) = 0;
    // Sets the cursor (through TxSetCursor) for the point of the client rectangle.
    virtual HRESULT OnTxSetCursor(DWORD dwDrawAspect, LONG lindex, void* pvAspect,
                                  DVTARGETDEVICE* ptd, HDC hdcDraw, HDC hicTargetDev,
                                  const RECT* lprcClient, int x, int y) = 0;
    virtual HRESULT TxQueryHitPoint(DWORD dwDrawAspect, LONG lindex, void* pvAspect,
                                    DVTARGETDEVICE* ptd, HDC hdcDraw, HDC hicTargetDev,
                                    const RECT* lprcClient, int x, int y, DWORD* pHitResult) = 0;
    // Null: the host's client rectangle.
    virtual HRESULT OnTxInPlaceActivate(const RECT* prcClient) = 0;
    virtual HRESULT OnTxInPlaceDeactivate() = 0;
    virtual HRESULT OnTxUIActivate() = 0;
    virtual HRESULT OnTxUIDeactivate() = 0;
    virtual HRESULT TxGetText(std::wstring* text) = 0;
    virtual HRESULT TxSetText(const wchar_t* text) = 0;
    virtual HRESULT TxGetCurTargetX(LONG* x) = 0;
    virtual HRESULT TxGetBaseLinePos(LONG* baseline) = 0;
    // The size the text needs: *pwidth is the width available, *pheight receives the height
    // (and *pwidth the width used).
    virtual HRESULT TxGetNaturalSize(DWORD dwAspect, HDC hdcDraw, HDC hicTargetDev,
                                     DVTARGETDEVICE* ptd, DWORD dwMode, const SIZE* psizelExtent,
                                     LONG* pwidth, LONG* pheight) = 0;
    // A new reference to the engine's drop target.
    virtual HRESULT TxGetDropTarget(IDropTarget** ppDropTarget) = 0;
    // `dwMask` names the TXTBIT_* properties that changed, `dwBits` their new values.
    virtual HRESULT OnTxPropertyBitsChange(DWORD dwMask, DWORD dwBits) = 0;
    virtual HRESULT TxGetCachedSize(DWORD* pdwWidth, DWORD* pdwHeight) = 0;

protected:
    ~ITextServices() = default;
};

// The host's side, called by the engine.
class ITextHost : public IUnknown {
public:
    virtual HDC TxGetDC() = 0;
    virtual int TxReleaseDC(HDC hdc) = 0;
    // fnBar: SB_HORZ, SB_VERT or SB_BOTH.
    virtual BOOL TxShowScrollBar(int fnBar, BOOL fShow) = 0;
    // fuArrowflags: ESB_ENABLE_BOTH or ESB_DISABLE_BOTH.
    virtual BOOL TxEnableScrollBar(int fuSBFlags, int fuArrowflags) = 0;
    virtual BOOL TxSetScrollRange(int fnBar, LONG nMinPos, int nMaxPos, BOOL fRedraw) = 0;
    virtual BOOL TxSetScrollPos(int fnBar, int nPos, BOOL fRedraw) = 0;
    // Null: the whole client rectangle.
    virtual void TxInvalidateRect(const RECT* prc, BOOL fMode) = 0;
    virtual void TxViewChange(BOOL fUpdate) = 0;
    virtual BOOL TxCreateCaret(HBITMAP hbmp, int xWidth, int yHeight) = 0;
    virtual BOOL TxShowCaret(BOOL fShow) = 0;
    virtual BOOL TxSetCaretPos(int x, int y) = 0;
    // The host sends the engine WM_TIMER with the id when the timer is due.
    virtual BOOL TxSetTimer(UINT idTimer, UINT uTimeout) = 0;
    virtual void TxKillTimer(UINT idTimer) = 0;
    virtual void TxScrollWindowEx(int dx, int dy, const RECT* lprcScroll, const RECT* lprcClip,
                                  HRGN hrgnUpdate, RECT* lprcUpdate, UINT fuScroll) = 0;
    virtual void TxSetCapture(BOOL fCapture) = 0;
    virtual void TxSetFocus() = 0;
    virtual void TxSetCursor(HCURSOR hcur, BOOL fText) = 0;
    virtual BOOL TxScreenToClient(POINT* lppt) = 0;
    virtual BOOL TxClientToScreen(POINT* lppt) = 0;
    virtual HRESULT TxActivate(LONG* plOldState) = 0;
    virtual HRESULT TxDeactivate(LONG lNewState) = 0;
    virtual HRESULT TxGetClientRect(RECT* prc) = 0;
    // Margins inside the client rectangle, in HIMETRIC (2540 per inch).
    virtual HRESULT TxGetViewInset(RECT* prc) = 0;
    // The default formats; the records' cbSize tells CHARFORMAT2W and PARAFORMAT2 apart.
    virtual HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) = 0;
    virtual HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) = 0;
    virtual COLORREF TxGetSysColor(int nIndex) = 0;
    virtual HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) = 0;
    virtual HRESULT TxGetMaxLength(DWORD* plength) = 0;
    // The WS_HSCROLL, WS_VSCROLL, ES_AUTOHSCROLL, ES_AUTOVSCROLL and ES_DISABLENOSCROLL bits.
    virtual HRESULT TxGetScrollBars(DWORD* pdwScrollBar) = 0;
    virtual HRESULT TxGetPasswordChar(wchar_t* pch) = 0;
    virtual HRESULT TxGetAcceleratorPos(LONG* pcp) = 0;
    // The client size in HIMETRIC.
    virtual HRESULT TxGetExtent(SIZE* lpExtent) = 0;
    virtual HRESULT OnTxCharFormatChange(const CHARFORMATW* pCF) = 0;
    virtual HRESULT OnTxParaFormatChange(const PARAFORMAT* pPF) = 0;
    virtual HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) = 0;
    // `iNotify` is an EN_* code; `pv` its data (see rich_edit.h).
    virtual HRESULT TxNotify(DWORD iNotify, void* pv) = 0;
    virtual HIMC TxImmGetContext() = 0;
    virtual void TxImmReleaseContext(HIMC himc) = 0;
    virtual HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) = 0;

protected:
    ~ITextHost() = default;
};

// Makes an engine for `pITextHost`; *ppUnk gets its IUnknown, from which IID_ITextServices is
// queried. The engine keeps no reference to its host: the host owns the engine and releases it
// before going away. Aggregation is not supported: `punkOuter` must be null.
HRESULT CreateTextServices(IUnknown* punkOuter, ITextHost* pITextHost, IUnknown** ppUnk);
using PCreateTextServices = HRESULT (*)(IUnknown*, ITextHost*, IUnknown**);

}  // namespace plat
