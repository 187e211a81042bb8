#include "DMFontDesc.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include "DMStringHelpers.h"

#include "IDMAttribute.h"

namespace DM {
namespace {

// The value after `key`: up to the next ";" after it when there is one, else up to the next
// ",", else to the end. Nothing when the key is absent.
std::optional<DMStringT> ValueOf(const DMStringT& text, const wchar_t* key) {
    std::size_t found = text.find(key);
    if (found == DMStringT::npos) {
        return std::nullopt;
    }
    std::size_t start = found + std::wcslen(key);
    std::size_t end = text.find(L';', start);
    if (end == DMStringT::npos) {
        end = text.find(L',', start);
    }
    return text.substr(start, end == DMStringT::npos ? DMStringT::npos : end - start);
}

// A style switch: on unless the one character after the key is "0".
void ReadSwitch(const DMStringT& text, const wchar_t* key, BYTE& value) {
    std::size_t found = text.find(key);
    if (found != DMStringT::npos) {
        std::size_t at = found + std::wcslen(key);
        value = at < text.size() && text[at] == L'0' ? 0 : 1;
    }
}

// The absolute value of the number after `key`; nothing when it is absent or no number.
std::optional<int> ReadMagnitude(const DMStringT& text, const wchar_t* key) {
    std::optional<DMStringT> value = ValueOf(text, key);
    int number = 0;
    if (!value || ParseInt(*value, number) != DM_ECODE_OK) {
        return std::nullopt;
    }
    return std::abs(number);
}

}  // namespace

std::optional<LOGFONTW> ParseFontDescription(const DMStringT& description,
                                             const LOGFONTW& defaults) {
    DMStringT text = LowerCase(TrimSpaces(description));
    if (text.empty()) {
        return std::nullopt;
    }
    LOGFONTW font = defaults;
    if (std::optional<DMStringT> face = ValueOf(text, L"face:")) {
        std::size_t length = std::min<std::size_t>(face->size(), plat::LF_FACESIZE - 1);
        std::wmemcpy(font.lfFaceName, face->data(), length);
        font.lfFaceName[length] = L'\0';
    }
    ReadSwitch(text, L"underline:", font.lfUnderline);
    ReadSwitch(text, L"italic:", font.lfItalic);
    ReadSwitch(text, L"strike:", font.lfStrikeOut);
    // The size is a character height in pixels, which a logical font gives as a negative
    // height.
    if (std::optional<int> size = ReadMagnitude(text, L"size:")) {
        font.lfHeight = -*size;
    }
    if (std::optional<int> weight = ReadMagnitude(text, L"weight:")) {
        font.lfWeight = *weight;
    }
    if (std::optional<int> charset = ReadMagnitude(text, L"charset:")) {
        font.lfCharSet = static_cast<BYTE>(*charset);
    }
    font.lfQuality = plat::CLEARTYPE_NATURAL_QUALITY;
    return font;
}

DMStringT NormalisedFontText(const LOGFONTW& font) {
    DMStringT face = LowerCase(font.lfFaceName);
    wchar_t text[160];
    std::swprintf(text, 160,
                  L"weight:%d,charset:%d,underline:%d,italic:%d,strike:%d,size:%d,face:%ls",
                  static_cast<int>(font.lfWeight), static_cast<int>(font.lfCharSet),
                  font.lfUnderline ? 1 : 0, font.lfItalic ? 1 : 0, font.lfStrikeOut ? 1 : 0,
                  static_cast<int>(font.lfHeight), face.c_str());
    return text;
}

}  // namespace DM
