// Word boundaries for caret movement, word deletion and word selection. A word is a run of
// letters and digits, a run of ideographs, or a run of other visible characters; spaces and
// line breaks separate words.
#pragma once

#include <string>

#include "plat/types.h"

namespace plat::textsvc {

// Where Ctrl+Right goes from `position`: past the word there and the spaces after it.
LONG NextWordStart(const std::wstring& text, LONG position);
// Where Ctrl+Left goes from `position`: back over spaces to the start of the word before.
LONG PreviousWordStart(const std::wstring& text, LONG position);
// The word at `position` (the character after it, or the one before at the end), with the
// spaces that follow it, as a double click selects it: [*start, *end).
void WordAt(const std::wstring& text, LONG position, LONG* start, LONG* end);

}  // namespace plat::textsvc
