// The words of a style's "align", "valign" and "cursor" attributes.
#pragma once

#include "DMDef.h"

namespace DM {

constexpr UINT DMALIGN_LEFT = 0;
constexpr UINT DMALIGN_CENTER = 256;
constexpr UINT DMALIGN_RIGHT = 512;
constexpr UINT DMALIGN_TOP = 0;
constexpr UINT DMALIGN_MIDDLE = 4096;
constexpr UINT DMALIGN_BOTTOM = 8192;

// "left", "center", "right" into `align`; any other word leaves it unchanged.
void ParseAlignWord(const DMStringT& word, UINT& align);
// "top", "middle", "bottom" into `valign`; any other word leaves it unchanged.
void ParseVAlignWord(const DMStringT& word, UINT& valign);

// The system cursor id a cursor name selects (spaces removed, any letter case), or 0 when the
// text is no cursor name and so refers to a skin.
int SystemCursorFromName(const DMStringT& text);

}  // namespace DM
