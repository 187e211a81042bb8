// The names of the global skin file: its root element, the default font attribute and the
// skin and style sections.
#pragma once

namespace DMAttr {

class DMGlobalAttr {
public:
    static const wchar_t* XMLNODE_global;
    static const wchar_t* XMLATTR_font;
    static const wchar_t* XMLNODE_skin;
    static const wchar_t* XMLNODE_style;
};

}  // namespace DMAttr
