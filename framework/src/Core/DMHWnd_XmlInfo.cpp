#include "DMAttrTable.h"
#include "DMHWnd.h"

namespace DMAttr {

DMATTR_DEFINE(DMHWndAttr, SIZE_initsize)
DMATTR_DEFINE(DMHWndAttr, SIZE_minsize)
DMATTR_DEFINE(DMHWndAttr, SIZE_maxsize)
DMATTR_DEFINE(DMHWndAttr, RECT_maxinset)
DMATTR_DEFINE(DMHWndAttr, bool_bresize)
DMATTR_DEFINE(DMHWndAttr, bool_btranslucent)
DMATTR_DEFINE(DMHWndAttr, BYTE_alpha)
DMATTR_DEFINE(DMHWndAttr, INT_h)
DMATTR_DEFINE(DMHWndAttr, INT_s)
DMATTR_DEFINE(DMHWndAttr, INT_l)
DMATTR_DEFINE(DMHWndAttr, STRING_title)
DMATTR_DEFINE(DMHWndAttr, STRING_regtip)
DMATTR_DEFINE(DMHWndAttr, STRING_regdraw)
DMATTR_DEFINE(DMHWndAttr, STRING_transid)

}  // namespace DMAttr

namespace DM {

using DMAttr::DMHWndAttr;

void DMHWnd_XmlInfo::ResetDefaults() {
    m_szInit = {200, 200};
    m_szMin = {0, 0};
    m_szMax = {-1, -1};
    m_rcMaxInset = {0, 0, 0, 0};
    m_bResize = false;
    m_bTranslucent = false;
    m_byAlpha = 255;
    m_nH = 0;
    m_nS = 100;
    m_nL = 100;
    m_strTitle.clear();
    m_strRegTip.clear();
    m_strRegDraw.clear();
    m_strTransId.clear();
}

// A maximum dimension (other than -1) below the minimum one.
DMCode DMHWnd_XmlInfo::CheckSizes() const {
    bool widthBad = m_szMax.cx != -1 && m_szMax.cx < m_szMin.cx;
    bool heightBad = m_szMax.cy != -1 && m_szMax.cy < m_szMin.cy;
    return widthBad || heightBad ? DMATTR_FAIL : DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::OnMinSize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    ParseSize(value, info.m_szMin);
    if (!loading) {
        info.m_pOwner->ApplySizeLimits();
    }
    return info.CheckSizes();
}

DMCode DMHWnd_XmlInfo::OnMaxSize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    ParseSize(value, info.m_szMax);
    if (!loading) {
        info.m_pOwner->ApplySizeLimits();
    }
    return info.CheckSizes();
}

DMCode DMHWnd_XmlInfo::OnResize(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    ParseBool(value, info.m_bResize);
    if (!loading) {
        info.m_pOwner->ApplyResizeStyle();
    }
    return DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::OnTranslucent(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    bool translucent = info.m_bTranslucent;
    ParseBool(value, translucent);
    bool changed = translucent != info.m_bTranslucent;
    info.m_bTranslucent = translucent;
    if (!loading && changed) {
        info.m_pOwner->ApplyTranslucent();
    }
    return DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::OnAlpha(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    int alpha = 0;
    info.m_byAlpha = ParseInt(value, alpha) == DM_ECODE_OK && alpha >= 0 && alpha <= 255
                         ? static_cast<BYTE>(alpha)
                         : 255;
    if (!loading) {
        info.m_pOwner->ApplyAlpha();
    }
    return DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::SetAdjustment(int& field, const DMStringT& value, int low, int high,
                                     bool loading) {
    int number = 0;
    if (ParseInt(value, number) != DM_ECODE_OK || number < low || number > high) {
        return DMATTR_FAIL;
    }
    bool changed = number != field;
    field = number;
    if (changed && !loading) {
        m_pOwner->RepaintAll();
    }
    return DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::OnHue(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    return info.SetAdjustment(info.m_nH, value, -180, 180, loading);
}

DMCode DMHWnd_XmlInfo::OnSaturation(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    return info.SetAdjustment(info.m_nS, value, 0, 200, loading);
}

DMCode DMHWnd_XmlInfo::OnLightness(DMHWnd_XmlInfo& info, const DMStringT& value, bool loading) {
    return info.SetAdjustment(info.m_nL, value, 0, 200, loading);
}

DMCode DMHWnd_XmlInfo::OnRegDraw(DMHWnd_XmlInfo& info, const DMStringT& value, bool) {
    if (info.m_pOwner->ReplaceDraw(value) != DM_ECODE_OK) {
        return DMATTR_FAIL;
    }
    info.m_strRegDraw = value;
    return DMATTR_OK;
}

DMCode DMHWnd_XmlInfo::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    using X = DMHWnd_XmlInfo;
    static const DMAttributeEntry<X> kTable[] = {
        {&DMHWndAttr::SIZE_initsize, &SizeAttribute<&X::m_szInit, DMATTR_OK>},
        {&DMHWndAttr::SIZE_minsize, &X::OnMinSize},
        {&DMHWndAttr::SIZE_maxsize, &X::OnMaxSize},
        {&DMHWndAttr::RECT_maxinset, &RectAttribute<&X::m_rcMaxInset, DMATTR_OK>},
        {&DMHWndAttr::bool_bresize, &X::OnResize},
        {&DMHWndAttr::bool_btranslucent, &X::OnTranslucent},
        {&DMHWndAttr::BYTE_alpha, &X::OnAlpha},
        {&DMHWndAttr::INT_h, &X::OnHue},
        {&DMHWndAttr::INT_s, &X::OnSaturation},
        {&DMHWndAttr::INT_l, &X::OnLightness},
        {&DMHWndAttr::STRING_title, &StringAttribute<&X::m_strTitle, DMATTR_OK>},
        {&DMHWndAttr::STRING_regtip, &StringAttribute<&X::m_strRegTip, DMATTR_OK>},
        {&DMHWndAttr::STRING_regdraw, &X::OnRegDraw},
        {&DMHWndAttr::STRING_transid, &StringAttribute<&X::m_strTransId, DMATTR_OK>},
    };
    DMCode code = DMATTR_FAIL;
    DispatchAttribute(*this, kTable, name, value, loading, code);
    return code;
}

}  // namespace DM
