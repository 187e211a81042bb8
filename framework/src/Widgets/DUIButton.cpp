#include "DUIButton.h"

#include <algorithm>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DUIAccel.h"
#include "plat/messages.h"

namespace DMAttr {

DMATTR_DEFINE(DUIButtonAttr, bool_banimate)
DMATTR_DEFINE(DUIButtonAttr, bool_bmultilines)
DMATTR_DEFINE(DUIButtonAttr, INT_animatesteps)
DMATTR_DEFINE(DUIButtonAttr, INT_lineinter)
DMATTR_DEFINE(DUIButtonAttr, SKIN_iconskin)
DMATTR_DEFINE(DUIButtonAttr, ACCEL_accel)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIButtonAttr;

int SkinStates(IDMSkin* skin) {
    int states = 0;
    if (skin) {
        skin->GetStates(states);
        skin->Release();
    }
    return states;
}

// The icon at its own size when it fits, else scaled down keeping its aspect, centred.
RECT FitIcon(const SIZE& icon, const RECT& client) {
    LONG width = client.right - client.left;
    LONG height = client.bottom - client.top;
    double scale = std::min({1.0, icon.cx ? static_cast<double>(width) / icon.cx : 1.0,
                             icon.cy ? static_cast<double>(height) / icon.cy : 1.0});
    auto w = static_cast<LONG>(icon.cx * scale);
    auto h = static_cast<LONG>(icon.cy * scale);
    LONG x = client.left + (width - w) / 2;
    LONG y = client.top + (height - h) / 2;
    return {x, y, x + w, y + h};
}

}  // namespace

DMCode DUIButton::OnAccel(DUIButton& button, const DMStringT& value, bool) {
    button.RegisterAccel(DUIAccel::ParseAccel(value));
    return DMATTR_PAINT;
}

// The host's focus manager calls the button when its accelerator is pressed.
void DUIButton::RegisterAccel(DWORD accel) {
    DUIFocusMgr* manager = GetContainer() ? GetContainer()->OnGetFocusMgr() : nullptr;
    if (manager && m_dwAccel) {
        manager->UnregisterAccel(m_dwAccel, this);
    }
    m_dwAccel = accel;
    if (manager && m_dwAccel) {
        manager->RegisterAccel(m_dwAccel, this);
    }
}

bool DUIButton::OnAccelPressed(DWORD) {
    if (IsDisabled(true) || !IsVisible(true)) {
        return false;
    }
    DMEventCmdArgs click(this);
    FireEvent(click);
    return true;
}

DMCode DUIButton::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using B = DUIButton;
    static const DMAttributeEntry<DUIButton> kTable[] = {
        {&DUIButtonAttr::bool_banimate, &BoolAttribute<&B::m_bAnimate, DMATTR_OK>},
        {&DUIButtonAttr::bool_bmultilines, &BoolAttribute<&B::m_bMultiLines, DMATTR_PAINT>},
        {&DUIButtonAttr::INT_animatesteps, &IntAttribute<&B::m_nAnimateSteps, DMATTR_OK>},
        {&DUIButtonAttr::INT_lineinter, &IntAttribute<&B::m_nLineInter, DMATTR_PAINT>},
        {&DUIButtonAttr::SKIN_iconskin, &StringAttribute<&B::m_strIconSkin, DMATTR_PAINT>},
        {&DUIButtonAttr::ACCEL_accel, &B::OnAccel},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

bool DUIButton::IsStateChangeRedraw() {
    IDMStyle* style = GetStyle();
    IDMSkin* background = nullptr;
    IDMSkin* frame = nullptr;
    if (style) {
        style->GetBgSkin(&background);
        style->GetNcSkin(&frame);
    }
    if (SkinStates(background) > 1 || SkinStates(frame) > 1) {
        return true;
    }
    return DUIWindow::IsStateChangeRedraw();
}

// A double click presses again, so its release is a second click.
bool DUIButton::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == plat::WM_LBUTTONDBLCLK) {
        result = OnLButtonDown(wParam, lParam);
        return true;
    }
    if (message == plat::WM_DESTROY) {
        RegisterAccel(0);
        StopFade();
    }
    bool handled = false;
    result = PaintFading(message, wParam, lParam, handled);
    if (handled) {
        return true;
    }
    if (message == plat::WM_PAINT) {
        result = OnPaintButton(wParam, lParam);
        return true;
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

// No text while an icon is set; the icon is drawn over the client area.
LRESULT DUIButton::OnPaintButton(WPARAM canvasParam, LPARAM lParam) {
    if (m_strIconSkin.empty()) {
        return OnPaint(canvasParam, lParam);
    }
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    IDMSkin* icon = DMApp::GetObjPtr()->GetSkin(m_strIconSkin);
    RECT client{};
    SIZE size{};
    if (!canvas || !icon || GetClientRect(client) != DM_ECODE_OK ||
        icon->GetStateSize(size, 0) != DM_ECODE_OK) {
        return 0;
    }
    BYTE alpha = 0xFF;
    GetStyle()->GetAlpha(alpha);
    icon->Draw(canvas, FitIcon(size, client), 0, alpha);
    return 0;
}

DMCode DUIButton::DrawText(IDMCanvas* canvas, const wchar_t* text, int length, RECT& rect,
                           UINT format) {
    if (m_bMultiLines) {
        return DrawMultiLineText(canvas, text, length, rect, format, m_nLineInter);
    }
    return DUIWindow::DrawText(canvas, text, length, rect, format);
}

}  // namespace DM
