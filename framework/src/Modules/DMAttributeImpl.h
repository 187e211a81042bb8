// The framework's attribute parser: integers (decimal and 0x), booleans, colours, sizes,
// points and rectangles.
#pragma once

#include "DMRegType.h"
#include "IDMAttribute.h"

namespace DM {

class DMAttributeImpl : public IDMAttribute {
    DMDECLARE_CLASS_NAME(DMAttributeImpl, IDMAttribute, L"DMAttributeImpl", L"IDMAttribute",
                         DMREG_Attribute)
public:
    DMCode ParseInt(const wchar_t* text, int& value) override;
    DMCode ParseBool(const wchar_t* text, bool& value) override;
    DMCode ParseColor(const wchar_t* text, DMColor& value) override;
    DMCode ParseSize(const wchar_t* text, SIZE& value) override;
    DMCode ParsePoint(const wchar_t* text, POINT& value) override;
    DMCode ParseRect(const wchar_t* text, RECT& value) override;
};

}  // namespace DM
