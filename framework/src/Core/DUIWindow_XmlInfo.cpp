#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMXml.h"
#include "DUIWindow.h"

namespace DMAttr {

DMATTR_DEFINE(DUIWindowAttr, STRING_name)
DMATTR_DEFINE(DUIWindowAttr, INT_id)
DMATTR_DEFINE(DUIWindowAttr, bool_bvisible)
DMATTR_DEFINE(DUIWindowAttr, bool_bdisable)
DMATTR_DEFINE(DUIWindowAttr, bool_bplaceholder)
DMATTR_DEFINE(DUIWindowAttr, bool_bcache)
DMATTR_DEFINE(DUIWindowAttr, bool_bolnydrawclient)
DMATTR_DEFINE(DUIWindowAttr, bool_bfocusable)
DMATTR_DEFINE(DUIWindowAttr, bool_bshowdrawfocus)
DMATTR_DEFINE(DUIWindowAttr, bool_bmsgnohandle)
DMATTR_DEFINE(DUIWindowAttr, bool_bdrag)
DMATTR_DEFINE(DUIWindowAttr, STRING_text)
DMATTR_DEFINE(DUIWindowAttr, STRING_tiptext)
DMATTR_DEFINE(DUIWindowAttr, STRING_tipxmlid)
DMATTR_DEFINE(DUIWindowAttr, INT_tipdelay)
DMATTR_DEFINE(DUIWindowAttr, INT_tipspan)
DMATTR_DEFINE(DUIWindowAttr, RECT_tipflags)
DMATTR_DEFINE(DUIWindowAttr, INT_maxwidth)
DMATTR_DEFINE(DUIWindowAttr, INT_minwidth)
DMATTR_DEFINE(DUIWindowAttr, INT_maxheight)
DMATTR_DEFINE(DUIWindowAttr, INT_minheight)
DMATTR_DEFINE(DUIWindowAttr, INT_height)
DMATTR_DEFINE(DUIWindowAttr, INT_width)
DMATTR_DEFINE(DUIWindowAttr, RECT_rcpadd)
DMATTR_DEFINE(DUIWindowAttr, STRING_style)

}  // namespace DMAttr

namespace DM {

using DMAttr::DUIWindowAttr;

DUIWindow_XmlInfo::DUIWindow_XmlInfo(DUIWindow* owner) : m_pOwner(owner) {
    IDMStyle* style = nullptr;
    if (DMApp::GetObjPtr()->CreateRegObj(&style, nullptr, DMREG_Style) == DM_ECODE_OK) {
        m_pStyle.Attach(style);
    }
}

DMCode DUIWindow_XmlInfo::OnVisible(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading) {
    bool visible = info.m_bVisible;
    ParseBool(value, visible);
    if (loading) {
        info.m_bVisible = visible;
    } else {
        info.m_pOwner->SetVisible(visible, true);
    }
    return DMATTR_OK;
}

DMCode DUIWindow_XmlInfo::OnDisable(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading) {
    bool disabled = info.m_bDisable;
    ParseBool(value, disabled);
    if (loading) {
        info.m_bDisable = disabled;
        info.m_pOwner->ModifyState(disabled ? DUIWNDSTATE_Disable : 0,
                                   disabled ? 0 : DUIWNDSTATE_Disable);
    } else {
        info.m_pOwner->EnableWindow(!disabled, true);
    }
    return DMATTR_OK;
}

DMCode DUIWindow_XmlInfo::OnPlaceHolder(DUIWindow_XmlInfo& info, const DMStringT& value,
                                        bool loading) {
    ParseBool(value, info.m_bPlaceHolder);
    DUIWindow* parent = info.m_pOwner->GetWindow(GDW_PARENT);
    if (!loading && !info.m_pOwner->IsVisible(true) && parent) {
        parent->UpdateChildLayout();
    }
    return DMATTR_OK;
}

DMCode DUIWindow_XmlInfo::OnCache(DUIWindow_XmlInfo& info, const DMStringT& value, bool) {
    ParseBool(value, info.m_bCache);
    if (info.m_bCache && !info.m_pOwner->GetCacheCanvas()) {
        info.m_pOwner->UpdateCacheCanvas();
        info.m_pOwner->Invalidate();
    }
    return DMATTR_OK;
}

// The definition's attributes go to the style object; what it does not know to the widget.
DMCode DUIWindow_XmlInfo::OnStyle(DUIWindow_XmlInfo& info, const DMStringT& value, bool loading) {
    DMXmlNode definition;
    if (!info.m_pStyle || DMApp::GetObjPtr()->GetStyle(definition, value) != DM_ECODE_OK) {
        return DMATTR_FAIL;
    }
    for (DMXmlAttribute attribute = definition.FirstAttribute(); attribute.IsValid();
         attribute = attribute.NextAttribute()) {
        if (info.m_pStyle->SetAttribute(attribute.GetName(), attribute.GetValue(), loading) ==
            DMATTR_FAIL) {
            info.m_pOwner->SetAttribute(attribute.GetName(), attribute.GetValue(), loading);
        }
    }
    return DMATTR_OK;
}

DMCode DUIWindow_XmlInfo::SetAttribute(const DMStringT& name, const DMStringT& value,
                                       bool loading) {
    using X = DUIWindow_XmlInfo;
    static const DMAttributeEntry<X> kTable[] = {
        {&DUIWindowAttr::STRING_name, &StringAttribute<&X::m_strName, DMATTR_OK>},
        {&DUIWindowAttr::INT_id, &IntAttribute<&X::m_iId, DMATTR_OK>},
        {&DUIWindowAttr::bool_bvisible, &X::OnVisible},
        {&DUIWindowAttr::bool_bdisable, &X::OnDisable},
        {&DUIWindowAttr::bool_bplaceholder, &X::OnPlaceHolder},
        {&DUIWindowAttr::bool_bcache, &X::OnCache},
        {&DUIWindowAttr::bool_bolnydrawclient, &BoolAttribute<&X::m_bOnlyDrawClient, DMATTR_OK>},
        {&DUIWindowAttr::bool_bfocusable, &BoolAttribute<&X::m_bFocusable, DMATTR_OK>},
        {&DUIWindowAttr::bool_bshowdrawfocus, &BoolAttribute<&X::m_bShowDrawFocus, DMATTR_PAINT>},
        {&DUIWindowAttr::bool_bmsgnohandle, &BoolAttribute<&X::m_bNoMsgHandle, DMATTR_OK>},
        {&DUIWindowAttr::bool_bdrag, &BoolAttribute<&X::m_bDrag, DMATTR_OK>},
        {&DUIWindowAttr::STRING_text, &StringAttribute<&X::m_strText, DMATTR_PAINT>},
        {&DUIWindowAttr::STRING_tiptext, &StringAttribute<&X::m_strTipText, DMATTR_OK>},
        {&DUIWindowAttr::STRING_tipxmlid, &StringAttribute<&X::m_strTipXmlId, DMATTR_OK>},
        {&DUIWindowAttr::INT_tipdelay, &IntAttribute<&X::m_iTipDelay, DMATTR_OK>},
        {&DUIWindowAttr::INT_tipspan, &IntAttribute<&X::m_iTipSpan, DMATTR_OK>},
        {&DUIWindowAttr::RECT_tipflags, &RectAttribute<&X::m_rcTipFlags, DMATTR_OK>},
        {&DUIWindowAttr::INT_maxwidth, &IntAttribute<&X::m_nMaxWidth, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::INT_minwidth, &IntAttribute<&X::m_nMinWidth, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::INT_maxheight, &IntAttribute<&X::m_nMaxHeight, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::INT_minheight, &IntAttribute<&X::m_nMinHeight, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::INT_height, &IntAttribute<&X::m_nHeight, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::INT_width, &IntAttribute<&X::m_nWidth, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::RECT_rcpadd, &RectAttribute<&X::m_rcPadd, DMATTR_PARENTLAYOUT>},
        {&DUIWindowAttr::STRING_style, &X::OnStyle},
    };
    DMCode code = DMATTR_FAIL;
    if (DispatchAttribute(*this, kTable, name, value, loading, code)) {
        return code;
    }
    return m_pStyle ? m_pStyle->SetAttribute(name, value, loading) : DMATTR_FAIL;
}

}  // namespace DM
