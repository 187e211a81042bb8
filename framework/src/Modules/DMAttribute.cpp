// The free parser functions, through the published attribute parser.

#include "DMSmartPtrT.h"
#include "IDMAttribute.h"

namespace DM {
namespace {

DMSmartPtrT<IDMAttribute>& Parser() {
    static DMSmartPtrT<IDMAttribute> parser;
    return parser;
}

template <class Value>
DMCode Parse(DMCode (IDMAttribute::*parse)(const wchar_t*, Value&), const DMStringT& text,
             Value& value) {
    IDMAttribute* parser = Parser().get();
    return parser ? (parser->*parse)(text.c_str(), value) : DM_ECODE_FAIL;
}

}  // namespace

void SetAttributeParser(IDMAttribute* parser) {
    Parser() = DMSmartPtrT<IDMAttribute>(parser);
}

DMCode ParseInt(const DMStringT& text, int& value) {
    return Parse(&IDMAttribute::ParseInt, text, value);
}
DMCode ParseBool(const DMStringT& text, bool& value) {
    return Parse(&IDMAttribute::ParseBool, text, value);
}
DMCode ParseColor(const DMStringT& text, DMColor& value) {
    return Parse(&IDMAttribute::ParseColor, text, value);
}
DMCode ParseSize(const DMStringT& text, SIZE& value) {
    return Parse(&IDMAttribute::ParseSize, text, value);
}
DMCode ParsePoint(const DMStringT& text, POINT& value) {
    return Parse(&IDMAttribute::ParsePoint, text, value);
}
DMCode ParseRect(const DMStringT& text, RECT& value) {
    return Parse(&IDMAttribute::ParseRect, text, value);
}

}  // namespace DM
