// "ProcessCtrl": a progress bar: the channel, the selection up to the value, and a text.
#pragma once

#include "DUIWindow.h"

namespace DMAttr {

class DUIProcessCtrlAttr {
public:
    static const wchar_t* SIZE_range;
    static const wchar_t* INT_value;
    static const wchar_t* bool_bvert;
    static const wchar_t* bool_bshowtip;
    static const wchar_t* SKIN_channelskin;
    static const wchar_t* COLOR_clrchannel;
    static const wchar_t* SKIN_selskin;
    static const wchar_t* COLOR_clrsel;
    static const wchar_t* STRING_textformat;
};

}  // namespace DMAttr

namespace DM {

class DUIProcessCtrl : public DUIWindow {
    DMDECLARE_CLASS_NAME(DUIProcessCtrl, DUIWindow, L"ProcessCtrl", L"window", DMREG_Window)
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The value limited to the range; the bar repaints.
    DMCode SetPos(int value);
    int GetPos() const { return m_nValue; }
    // With "bshowtip" the tip shows the value.
    DMCode OnUpdateToolTip(const POINT& point, DMToolTipInfo& info) override;
    UINT OnGetDlgCode() override { return 1; }
    // The filled part of the client rectangle; empty outside the range.
    RECT SelectionRect();

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    bool m_bVert = false;
    bool m_bShowTip = false;
    DMStringT m_strChannelSkin;
    DMColor m_clrChannel = DMColor::FromValue(PBGRA_NONE);
    DMStringT m_strSelSkin;
    DMColor m_clrSel = DMColor::FromValue(PBGRA_NONE);
    DMStringT m_strTextFormat;

private:
    static DMCode OnRange(DUIProcessCtrl& bar, const DMStringT& value, bool loading);
    static DMCode OnValue(DUIProcessCtrl& bar, const DMStringT& value, bool loading);
    LRESULT OnPaintBar(WPARAM canvas, LPARAM lParam);
};

}  // namespace DM
