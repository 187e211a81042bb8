#include "DMStyleWords.h"

#include "DMAttrTable.h"

namespace DM {
namespace {

struct Word {
    const wchar_t* text;
    int value;
};

constexpr Word kCursorNames[] = {
    {L"arrow", 32512},   {L"ibeam", 32513},  {L"wait", 32514},     {L"cross", 32515},
    {L"uparrow", 32516}, {L"size", 32640},   {L"sizenwse", 32642}, {L"sizenesw", 32643},
    {L"sizewe", 32644},  {L"sizens", 32645}, {L"sizeall", 32646},  {L"no", 32648},
    {L"hand", 32649},    {L"help", 32651},
};

template <std::size_t N>
void ReadWord(const DMStringT& word, const Word (&words)[N], UINT& value) {
    for (const Word& known : words) {
        if (word == known.text) {
            value = static_cast<UINT>(known.value);
            return;
        }
    }
}

}  // namespace

void ParseAlignWord(const DMStringT& word, UINT& align) {
    static constexpr Word kWords[] = {
        {L"left", DMALIGN_LEFT}, {L"center", DMALIGN_CENTER}, {L"right", DMALIGN_RIGHT}};
    ReadWord(word, kWords, align);
}

void ParseVAlignWord(const DMStringT& word, UINT& valign) {
    static constexpr Word kWords[] = {
        {L"top", DMALIGN_TOP}, {L"middle", DMALIGN_MIDDLE}, {L"bottom", DMALIGN_BOTTOM}};
    ReadWord(word, kWords, valign);
}

int SystemCursorFromName(const DMStringT& text) {
    DMStringT name;
    for (wchar_t c : text) {
        if (c != L' ') {
            name += c;
        }
    }
    for (const Word& cursor : kCursorNames) {
        if (EqualNoCase(name, cursor.text)) {
            return cursor.value;
        }
    }
    return 0;
}

}  // namespace DM
