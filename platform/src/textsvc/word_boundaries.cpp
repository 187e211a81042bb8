#include "textsvc/word_boundaries.h"

#include <cwctype>

namespace plat::textsvc {
namespace {

enum class CharClass { Space, LineBreak, Word, Ideograph, Other };

bool IsIdeograph(wchar_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

CharClass ClassOf(wchar_t c) {
    if (c == L'\r' || c == L'\n') {
        return CharClass::LineBreak;
    }
    if (std::iswspace(static_cast<wint_t>(c)) || c == 0x3000) {
        return CharClass::Space;
    }
    if (IsIdeograph(c)) {
        return CharClass::Ideograph;
    }
    if (std::iswalnum(static_cast<wint_t>(c)) || c == L'_') {
        return CharClass::Word;
    }
    return CharClass::Other;
}

LONG Length(const std::wstring& text) {
    return static_cast<LONG>(text.size());
}

// The end of the run of characters of the class at `position`.
LONG RunEnd(const std::wstring& text, LONG position) {
    CharClass run = ClassOf(text[position]);
    while (position < Length(text) && ClassOf(text[position]) == run) {
        ++position;
    }
    return position;
}

LONG RunStart(const std::wstring& text, LONG position) {
    CharClass run = ClassOf(text[position - 1]);
    while (position > 0 && ClassOf(text[position - 1]) == run) {
        --position;
    }
    return position;
}

LONG SkipSpacesForward(const std::wstring& text, LONG position) {
    while (position < Length(text) && ClassOf(text[position]) == CharClass::Space) {
        ++position;
    }
    return position;
}

}  // namespace

LONG NextWordStart(const std::wstring& text, LONG position) {
    if (position >= Length(text)) {
        return Length(text);
    }
    if (ClassOf(text[position]) == CharClass::LineBreak) {
        return position + 1;
    }
    if (ClassOf(text[position]) != CharClass::Space) {
        position = RunEnd(text, position);
    }
    return SkipSpacesForward(text, position);
}

LONG PreviousWordStart(const std::wstring& text, LONG position) {
    while (position > 0 && ClassOf(text[position - 1]) == CharClass::Space) {
        --position;
    }
    if (position == 0) {
        return 0;
    }
    if (ClassOf(text[position - 1]) == CharClass::LineBreak) {
        return position - 1;
    }
    return RunStart(text, position);
}

void WordAt(const std::wstring& text, LONG position, LONG* start, LONG* end) {
    if (text.empty()) {
        *start = *end = 0;
        return;
    }
    LONG at = position < Length(text) ? position : Length(text) - 1;
    if (ClassOf(text[at]) == CharClass::LineBreak) {
        *start = *end = at;
        return;
    }
    *start = RunStart(text, at + 1);
    *end = RunEnd(text, at);
    if (ClassOf(text[at]) != CharClass::Space) {
        *end = SkipSpacesForward(text, *end);
    }
}

}  // namespace plat::textsvc
