#include "DUIProcessCtrl.h"

#include <algorithm>
#include <string>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "plat/messages.h"

namespace DMAttr {

DMATTR_DEFINE(DUIProcessCtrlAttr, SIZE_range)
DMATTR_DEFINE(DUIProcessCtrlAttr, INT_value)
DMATTR_DEFINE(DUIProcessCtrlAttr, bool_bvert)
DMATTR_DEFINE(DUIProcessCtrlAttr, bool_bshowtip)
DMATTR_DEFINE(DUIProcessCtrlAttr, SKIN_channelskin)
DMATTR_DEFINE(DUIProcessCtrlAttr, COLOR_clrchannel)
DMATTR_DEFINE(DUIProcessCtrlAttr, SKIN_selskin)
DMATTR_DEFINE(DUIProcessCtrlAttr, COLOR_clrsel)
DMATTR_DEFINE(DUIProcessCtrlAttr, STRING_textformat)

}  // namespace DMAttr

namespace DM {
namespace {

using DMAttr::DUIProcessCtrlAttr;

// Draws `skin` state 0 stretched over `rect`, or fills it with `color` when there is no skin.
void DrawPart(IDMCanvas* canvas, const DMStringT& skinName, DMColor color, const RECT& rect,
              BYTE alpha) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    if (IDMSkin* skin = skinName.empty() ? nullptr : DMApp::GetObjPtr()->GetSkin(skinName)) {
        skin->Draw(canvas, rect, 0, alpha);
    } else if (!(color == DMColor::FromValue(PBGRA_NONE))) {
        canvas->FillSolidRect(rect, color);
    }
}

// The text format with "%d" as the value and "%%" as a percent sign. Other conversions stay
// as they are written: a format from a layout file must not reach printf.
DMStringT FormatValue(const DMStringT& format, int value) {
    DMStringT text;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'd') {
            text += std::to_wstring(value);
            ++i;
        } else if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%') {
            text += L'%';
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

}  // namespace

DMCode DUIProcessCtrl::OnRange(DUIProcessCtrl& bar, const DMStringT& value, bool loading) {
    SIZE range{};
    if (ParseSize(value, range) != DM_ECODE_OK || range.cx >= range.cy) {
        return DMATTR_FAIL;
    }
    bar.m_nMin = range.cx;
    bar.m_nMax = range.cy;
    if (!loading) {
        bar.SetPos(bar.m_nValue);
    }
    return DMATTR_OK;
}

// From a layout file the value is kept as given; from code it is limited to the range.
DMCode DUIProcessCtrl::OnValue(DUIProcessCtrl& bar, const DMStringT& value, bool loading) {
    int number = bar.m_nValue;
    ParseInt(value, number);
    if (loading) {
        bar.m_nValue = number;
    } else {
        bar.SetPos(number);
    }
    return DMATTR_OK;
}

DMCode DUIProcessCtrl::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using P = DUIProcessCtrl;
    static const DMAttributeEntry<DUIProcessCtrl> kTable[] = {
        {&DUIProcessCtrlAttr::SIZE_range, &P::OnRange},
        {&DUIProcessCtrlAttr::INT_value, &P::OnValue},
        {&DUIProcessCtrlAttr::bool_bvert, &BoolAttribute<&P::m_bVert, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::bool_bshowtip, &BoolAttribute<&P::m_bShowTip, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::SKIN_channelskin,
         &StringAttribute<&P::m_strChannelSkin, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::COLOR_clrchannel, &ColorAttribute<&P::m_clrChannel, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::SKIN_selskin, &StringAttribute<&P::m_strSelSkin, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::COLOR_clrsel, &ColorAttribute<&P::m_clrSel, DMATTR_PAINT>},
        {&DUIProcessCtrlAttr::STRING_textformat,
         &StringAttribute<&P::m_strTextFormat, DMATTR_PAINT>},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return OnAttributeFinished(name, value, loading, code);
    }
    return DUIWindow::SetAttribute(name, value, loading);
}

DMCode DUIProcessCtrl::SetPos(int value) {
    m_nValue = std::max(m_nMin, std::min(value, m_nMax));
    Invalidate();
    return DM_ECODE_OK;
}

RECT DUIProcessCtrl::SelectionRect() {
    RECT client{};
    GetClientRect(client);
    if (m_nMin >= m_nMax || m_nValue < m_nMin || m_nValue > m_nMax) {
        return {client.left, client.top, client.left, client.top};
    }
    RECT selection = client;
    long long span = m_nMax - m_nMin;
    long long done = m_nValue - m_nMin;
    if (m_bVert) {
        selection.bottom =
            client.top + static_cast<LONG>((client.bottom - client.top) * done / span);
    } else {
        selection.right =
            client.left + static_cast<LONG>((client.right - client.left) * done / span);
    }
    return selection;
}

bool DUIProcessCtrl::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result) {
    if (message == plat::WM_PAINT) {
        result = OnPaintBar(wParam, lParam);
        return true;
    }
    return DUIWindow::ProcessWindowMessage(message, wParam, lParam, result);
}

// The channel, the selection squeezed into the filled part, the text, then the value text.
LRESULT DUIProcessCtrl::OnPaintBar(WPARAM canvasParam, LPARAM lParam) {
    auto* canvas = reinterpret_cast<IDMCanvas*>(canvasParam);
    RECT client{};
    if (!canvas || GetClientRect(client) != DM_ECODE_OK) {
        return 0;
    }
    BYTE alpha = 0xFF;
    GetStyle()->GetAlpha(alpha);
    DrawPart(canvas, m_strChannelSkin, m_clrChannel, client, alpha);
    DrawPart(canvas, m_strSelSkin, m_clrSel, SelectionRect(), alpha);
    OnPaint(canvasParam, lParam);
    if (!m_strTextFormat.empty()) {
        DUIDrawEnviron saved;
        PushDrawEnviron(canvas, saved);
        DMStringT translated;
        GetTransText(translated, m_strTextFormat);
        DMStringT text = FormatValue(translated, m_nValue);
        UINT format = 0;
        GetStyle()->GetTextAlign(format);
        DrawText(canvas, text.c_str(), -1, client, format);
        PopDrawEnviron(canvas, saved);
    }
    return 0;
}

DMCode DUIProcessCtrl::OnUpdateToolTip(const POINT&, DMToolTipInfo& info) {
    if (!m_bShowTip) {
        return DM_ECODE_FAIL;
    }
    info.hDUIWnd = GetDUIWnd();
    info.rcTarget = m_rcWindow;
    info.strTip = std::to_wstring(m_nValue);
    info.iDelayTime = 50;
    info.iSpanTime = 5000;
    SetScreenTarget(info);
    return DM_ECODE_OK;
}

}  // namespace DM
