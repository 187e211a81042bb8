// The attribute parser: the grammars by which attribute texts become integers, booleans,
// colours, sizes, points and rectangles. Each answers 0, or 1 with the output unchanged. The
// free functions reach the published parser, the default object of type 3.
#pragma once

#include "DMBase.h"
#include "DMColor.h"

namespace DM {

class IDMAttribute : public DMBase {
public:
    virtual DMCode ParseInt(const wchar_t* text, int& value) = 0;
    virtual DMCode ParseBool(const wchar_t* text, bool& value) = 0;
    virtual DMCode ParseColor(const wchar_t* text, DMColor& value) = 0;
    virtual DMCode ParseSize(const wchar_t* text, SIZE& value) = 0;
    virtual DMCode ParsePoint(const wchar_t* text, POINT& value) = 0;
    virtual DMCode ParseRect(const wchar_t* text, RECT& value) = 0;
};

// Publishes `parser` (null clears). The registry does this for type 3.
void SetAttributeParser(IDMAttribute* parser);

// Through the published parser; 1 when none is published.
DMCode ParseInt(const DMStringT& text, int& value);
DMCode ParseBool(const DMStringT& text, bool& value);
DMCode ParseColor(const DMStringT& text, DMColor& value);
DMCode ParseSize(const DMStringT& text, SIZE& value);
DMCode ParsePoint(const DMStringT& text, POINT& value);
DMCode ParseRect(const DMStringT& text, RECT& value);

}  // namespace DM
