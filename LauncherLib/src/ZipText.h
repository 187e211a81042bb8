// Text conversions for ZIP entry names, which the archives carry in GBK unless they say
// otherwise.
#pragma once

#include <Poco/Zip/ZipLocalFileHeader.h>

#include <string>

namespace LauncherLib {

// The entry's name in UTF-8: the raw name when the entry flags it as UTF-8 (general-purpose
// bit 11), else the Info-ZIP Unicode Path field (0x7075) when its CRC-32 is the raw name's,
// else the raw name read as GBK. A name that claims to be UTF-8 and is not is read as GBK.
std::string EntryNameToUtf8(const Poco::Zip::ZipLocalFileHeader& header);

// GBK to UTF-8; what cannot be converted becomes "?".
std::string GbkToUtf8(const std::string& gbk);
// UTF-8 to wide text.
std::wstring Utf8ToWide(const std::string& utf8);

}  // namespace LauncherLib
