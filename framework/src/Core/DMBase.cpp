#include "DMBase.h"

#include "DMAttrTable.h"
#include "DMXml.h"

namespace DM {
namespace {

constexpr const wchar_t* kStyle = L"style";

// A style applies before the attributes that may override it, so it goes first.
void MoveStyleToFront(DMXmlNode& node) {
    DMStringT style = node.Attribute(kStyle);
    if (style.empty() || EqualNoCase(node.FirstAttribute().GetName(), kStyle)) {
        return;
    }
    node.RemoveAttribute(kStyle);
    node.SetAttribute(kStyle, style.c_str(), false);
}

}  // namespace

DMCode DMBase::InitDMData(DMXmlNode& node) {
    if (!node.IsValid()) {
        return DM_ECODE_NOXMLLOAD;
    }
    MoveStyleToFront(node);
    for (DMXmlAttribute attribute = node.FirstAttribute(); attribute.IsValid();
         attribute = attribute.NextAttribute()) {
        SetAttribute(attribute.GetName(), attribute.GetValue(), true);
    }
    OnFinished(node);
    return DM_ECODE_OK;
}

DMCode DMBase::OnAttributeStart(const DMStringT&, const DMStringT&, bool) {
    return DM_ECODE_FAIL;
}

DMCode DMBase::SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) {
    return DefAttributeProc(name, value, loading);
}

DMCode DMBase::OnAttributeFinished(const DMStringT&, const DMStringT&, bool, DMCode code) {
    return code;
}

DMCode DMBase::DefAttributeProc(const DMStringT&, const DMStringT&, bool) {
    return DMATTR_FAIL;
}

DMCode DMBase::OnFinished(DMXmlNode&) {
    return DM_ECODE_OK;
}

DMCode DMBase::QueryInfo(WPARAM, LPARAM) {
    return DM_ECODE_NOTIMPL;
}

bool DMBase::IsClass(const wchar_t*) const {
    return false;
}

}  // namespace DM
