// Font descriptions: texts such as "face:宋体,size:14,weight:700" that name some fields of a
// logical font, and the normalised text under which the font pool keeps each font.
#pragma once

#include <optional>

#include "DMDef.h"
#include "plat/logfont.h"

namespace DM {

using plat::LOGFONTW;

// The font the description names, its other fields taken from `defaults`; nothing for an
// empty description.
std::optional<LOGFONTW> ParseFontDescription(const DMStringT& text, const LOGFONTW& defaults);

// "weight:%d,charset:%d,underline:%d,italic:%d,strike:%d,size:%d,face:%s", the face in
// lower case.
DMStringT NormalisedFontText(const LOGFONTW& font);

}  // namespace DM
