// The picture of a skin: a reference "type:name" into the resource pack ("PNG" when the text
// names no type), loaded through the default render object.
#pragma once

#include "DMDef.h"
#include "DMSmartPtrT.h"
#include "IDMRender.h"

namespace DM {

struct DMPictureRef {
    DMStringT type;
    DMStringT name;
    DMStringT Text() const { return type + L":" + name; }
};

// Split at the last ":".
DMPictureRef SplitPictureRef(const DMStringT& text);

// The picture from the current pack; none when the item is missing or does not decode.
DMSmartPtrT<IDMBitmap> LoadPicture(const DMPictureRef& ref);
DMSmartPtrT<IDMBitmap> LoadPictureFromMemory(const BYTE* bytes, std::size_t size);

}  // namespace DM
