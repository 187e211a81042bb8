// The tool-tip object: a filter of the thread's message loop that watches the pointer over the
// current tip rectangle and, after the delay, shows the tip text in a small topmost window
// below the pointer for the span. The object is its own tip window.
#pragma once

#include "DMCWnd.h"
#include "DMRegType.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"
#include "IDMToolTip.h"
#include "plat/paint.h"

namespace DM {

class DMTooltipImpl : public IDMToolTip, public DMCWnd {
    DMDECLARE_CLASS_NAME(DMTooltipImpl, IDMToolTip, L"DMTooltipImpl", L"IDMToolTip", DMREG_ToolTip)
public:
    ~DMTooltipImpl() override;

    // A new target rectangle hides the tip of the old one.
    DMCode Update(const DMToolTipInfo& info) override;
    DMCode Hide() override;
    DMCode DestroyTipWnd() override;
    // Never consumes the message.
    bool PreTranslateMessage(plat::MSG* message) override;

    DM_BEGIN_MSG_MAP(DMTooltipImpl)
    DM_MESSAGE_HANDLER(plat::WM_TIMER, OnTimer)
    DM_MESSAGE_HANDLER(plat::WM_PAINT, OnPaint)
    DM_END_MSG_MAP()

private:
    // The window, with the canvas it is drawn on and measured with, made on first use.
    bool CreateTipWnd();
    void OnMouseMove(POINT screenPoint);
    void Show();
    SIZE MeasureText(LONG maxWidth);
    void DrawTip(const SIZE& size);
    void PresentCanvas(plat::HDC context, const SIZE& size);
    LRESULT OnTimer(UINT message, WPARAM id, LPARAM lParam);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam);

    RECT m_rcTarget{0, 0, 0, 0};
    DMStringT m_strTip;
    // The tip as shown, with its line breaks.
    DMStringT m_strShown;
    int m_iDelayTime = 500;
    int m_iSpanTime = 5000;
    DMSmartPtrT<IDMCanvas> m_pCanvas;
};

}  // namespace DM
