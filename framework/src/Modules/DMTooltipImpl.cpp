#include "DMTooltipImpl.h"

#include <algorithm>
#include <cwchar>

#include "DMApp.h"
#include "DMRectHelpers.h"
#include "plat/monitor.h"
#include "plat/system_colors.h"

namespace DM {
namespace {

constexpr plat::UINT_PTR kDelayTimer = 1;
constexpr plat::UINT_PTR kSpanTimer = 2;
// How far below the pointer the tip's top edge goes.
constexpr LONG kBelowCursor = 24;
// The text sits this far inside the window's edges.
constexpr LONG kTextInset = 5;
constexpr UINT kTextFormat = DT_WORDBREAK;

bool IsButtonMessage(UINT message) {
    return (message >= plat::WM_LBUTTONDOWN && message <= plat::WM_MBUTTONDBLCLK) ||
           (message >= plat::WM_NCLBUTTONDOWN && message <= plat::WM_NCMBUTTONDBLCLK);
}

// Tip texts written in layouts carry their line breaks as the characters \r\n.
DMStringT WithLineBreaks(DMStringT text) {
    const DMStringT escaped = L"\\r\\n";
    for (std::size_t at = text.find(escaped); at != DMStringT::npos;
         at = text.find(escaped, at + 2)) {
        text.replace(at, escaped.size(), L"\r\n");
    }
    return text;
}

DMColor SysColor(int index) {
    COLORREF color = plat::GetSysColor(index);
    return DMColor(static_cast<BYTE>(color), static_cast<BYTE>(color >> 8),
                   static_cast<BYTE>(color >> 16));
}

RECT WorkAreaAt(POINT point) {
    plat::MONITORINFO info{};
    info.cbSize = sizeof info;
    plat::GetMonitorInfoW(plat::MonitorFromPoint(point, plat::MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// The top-left corner that keeps a box of `size` at `wanted` inside `area`, as far as it fits.
POINT KeptInside(const RECT& area, POINT wanted, const SIZE& size) {
    return {std::max(area.left, std::min(wanted.x, area.right - size.cx)),
            std::max(area.top, std::min(wanted.y, area.bottom - size.cy))};
}

// The default interface font at 12 pixels in the Song face.
plat::LOGFONTW TipLogFont() {
    plat::LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = plat::FW_NORMAL;
    font.lfCharSet = plat::DEFAULT_CHARSET;
    std::wcscpy(font.lfFaceName, L"宋体");
    return font;
}

}  // namespace

DMTooltipImpl::~DMTooltipImpl() {
    DestroyTipWnd();
}

DMCode DMTooltipImpl::Update(const DMToolTipInfo& info) {
    if (!IsWindow() && !CreateTipWnd()) {
        return DM_ECODE_FAIL;
    }
    if (!EqualRects(info.rcScreenTarget, m_rcTarget)) {
        Hide();
    }
    m_rcTarget = info.rcScreenTarget;
    m_strTip = info.strTip;
    m_iDelayTime = std::max(info.iDelayTime, 0);
    m_iSpanTime = std::max(info.iSpanTime, 0);
    return DM_ECODE_OK;
}

DMCode DMTooltipImpl::Hide() {
    if (!IsWindow()) {
        return DM_ECODE_FAIL;
    }
    KillTimer(kDelayTimer);
    KillTimer(kSpanTimer);
    ShowWindow(plat::SW_HIDE);
    return DM_ECODE_OK;
}

DMCode DMTooltipImpl::DestroyTipWnd() {
    if (Hide() != DM_ECODE_OK) {
        return DM_ECODE_FAIL;
    }
    DestroyWindow();
    return DM_ECODE_OK;
}

bool DMTooltipImpl::PreTranslateMessage(plat::MSG* message) {
    if (message->message == plat::WM_MOUSEMOVE) {
        OnMouseMove(message->pt);
    } else if (IsButtonMessage(message->message) || message->message == plat::WM_MOUSELEAVE) {
        Hide();
    }
    return false;
}

bool DMTooltipImpl::CreateTipWnd() {
    IDMRender* render = nullptr;
    if (DMApp::GetObjPtr()->GetDefRegObj(&render, DMREG_Render) != DM_ECODE_OK) {
        return false;
    }
    auto renderer = DMSmartPtrT<IDMRender>::Adopt(render);
    IDMCanvas* canvas = nullptr;
    IDMFont* font = nullptr;
    plat::LOGFONTW logFont = TipLogFont();
    if (renderer->CreateCanvas(1, 1, &canvas) != DM_ECODE_OK) {
        return false;
    }
    m_pCanvas.Attach(canvas);
    if (renderer->CreateFont(&logFont, &font) != DM_ECODE_OK) {
        return false;
    }
    m_pCanvas->SelectObject(DMSmartPtrT<IDMFont>::Adopt(font).get());
    return CreateWindowEx(plat::MAKEINTATOM(DMApp::GetObjPtr()->GetClassAtom()), L"tooltip",
                          plat::WS_POPUP,
                          plat::WS_EX_TOOLWINDOW | plat::WS_EX_TOPMOST | plat::WS_EX_NOACTIVATE, 0,
                          0, 0, 0, nullptr, nullptr) != nullptr;
}

// Inside the rectangle the tip waits for the pointer to rest there for the delay; it follows
// the pointer until then.
void DMTooltipImpl::OnMouseMove(POINT screenPoint) {
    if (!PointInRect(m_rcTarget, screenPoint)) {
        Hide();
        return;
    }
    if (IsWindowVisible() || m_strTip.empty()) {
        return;
    }
    SetWindowPos(nullptr, screenPoint.x, screenPoint.y + kBelowCursor, 0, 0,
                 plat::SWP_NOSIZE | plat::SWP_NOZORDER | plat::SWP_NOACTIVATE);
    SetTimer(kDelayTimer, static_cast<UINT>(m_iDelayTime));
}

void DMTooltipImpl::Show() {
    RECT window{};
    GetWindowRect(&window);
    POINT wanted{window.left, window.top};
    RECT work = WorkAreaAt(wanted);
    m_strShown = WithLineBreaks(m_strTip);
    SIZE text = MeasureText(work.right - work.left - 2 * kTextInset);
    SIZE size{text.cx + 2 * kTextInset, text.cy + 2 * kTextInset};
    POINT at = KeptInside(work, wanted, size);
    SetWindowPos(plat::HWND_TOPMOST, at.x, at.y, size.cx, size.cy,
                 plat::SWP_NOACTIVATE | plat::SWP_SHOWWINDOW);
    InvalidateRect(nullptr);
    SetTimer(kSpanTimer, static_cast<UINT>(m_iSpanTime));
}

SIZE DMTooltipImpl::MeasureText(LONG maxWidth) {
    RECT box{0, 0, maxWidth, 0};
    m_pCanvas->DrawText(m_strShown.c_str(), -1, box, kTextFormat | DT_CALCRECT);
    return {box.right - box.left, box.bottom - box.top};
}

// A frame in the info-text colour around the info background, and the text inside.
void DMTooltipImpl::DrawTip(const SIZE& size) {
    SIZE canvasSize{};
    m_pCanvas->GetSize(canvasSize);
    if (canvasSize.cx != size.cx || canvasSize.cy != size.cy) {
        m_pCanvas->Resize(size.cx, size.cy);
    }
    DMColor ink = SysColor(plat::COLOR_INFOTEXT);
    m_pCanvas->FillSolidRect({0, 0, size.cx, size.cy}, ink);
    m_pCanvas->FillSolidRect({1, 1, size.cx - 1, size.cy - 1}, SysColor(plat::COLOR_INFOBK));
    m_pCanvas->SetTextColor(ink);
    RECT text{kTextInset, kTextInset, size.cx - kTextInset, size.cy - kTextInset};
    m_pCanvas->DrawText(m_strShown.c_str(), -1, text, kTextFormat);
}

void DMTooltipImpl::PresentCanvas(plat::HDC context, const SIZE& size) {
    const auto* bits = reinterpret_cast<const BYTE*>(m_pCanvas->GetPixelBits(nullptr));
    plat::PixelBuffer picture{bits, size.cx, size.cy, size.cx * 4};
    plat::CopyPixelsToWindow(context, {0, 0}, picture, {0, 0, size.cx, size.cy});
}

LRESULT DMTooltipImpl::OnTimer(UINT, WPARAM id, LPARAM) {
    if (id == kDelayTimer) {
        KillTimer(kDelayTimer);
        Show();
    } else if (id == kSpanTimer) {
        Hide();
    } else {
        SetMsgHandled(false);
    }
    return 0;
}

LRESULT DMTooltipImpl::OnPaint(UINT, WPARAM, LPARAM) {
    plat::PAINTSTRUCT paint{};
    plat::HDC context = plat::BeginPaint(m_hWnd, &paint);
    RECT client{};
    GetClientRect(&client);
    SIZE size{client.right - client.left, client.bottom - client.top};
    if (size.cx > 0 && size.cy > 0) {
        DrawTip(size);
        PresentCanvas(context, size);
    }
    plat::EndPaint(m_hWnd, &paint);
    return 0;
}

}  // namespace DM
