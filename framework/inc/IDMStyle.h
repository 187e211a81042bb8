// A widget's style: colours, fonts, skins, text alignment and cursor per state (0 normal,
// 1 hover, 2 pushed, 3 disabled, 4 not active).
#pragma once

#include "DMBase.h"
#include "IDMRender.h"
#include "IDMSkin.h"
#include "plat/cursor.h"

namespace DM {

class IDMStyle : public DMBase {
public:
    virtual DMCode GetID(wchar_t* buffer, int size) = 0;
    // Fills what is unset in `target` from this style.
    virtual DMCode CopyData(IDMStyle* target) = 0;
    virtual DMCode GetTextAlign(UINT& format) = 0;
    virtual DMCode GetTextColor(int state, DMColor& color) = 0;
    // The font with one reference for the caller; 1 when not even the normal font is set.
    virtual DMCode GetTextFont(int state, IDMFont** font) = 0;
    virtual DMCode GetTextStates(int& states) = 0;
    // The cursor made from the "cursor" attribute; 1 when there is none.
    virtual DMCode GetCursor(plat::HCURSOR& cursor) = 0;
    virtual DMCode GetBgSkin(IDMSkin** skin) = 0;
    virtual DMCode GetBgColor(int state, DMColor& color) = 0;
    virtual DMCode GetBgStates(int& states) = 0;
    virtual DMCode GetNcMargin(RECT& margin) = 0;
    virtual DMCode GetNcColor(int state, DMColor& color) = 0;
    virtual DMCode GetNcSkin(IDMSkin** skin) = 0;
    virtual DMCode GetAlpha(BYTE& alpha) = 0;
};

}  // namespace DM
