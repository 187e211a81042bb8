// Skins: one picture of the resource pack cut into states (normal, hover, pressed, ...).
#pragma once

#include "DMBase.h"
#include "IDMRender.h"

namespace DM {

class IDMSkin : public DMBase {
public:
    // Copies the id; 1 when it is empty, 6 when the buffer is too small.
    virtual DMCode GetID(wchar_t* buffer, int size) = 0;
    virtual DMCode Draw(IDMCanvas* canvas, const RECT& target, int state, BYTE alpha = 0xFF) = 0;
    virtual DMCode GetStateSize(SIZE& size, int state = 0) = 0;
    virtual DMCode GetStates(int& states) = 0;
    // The picture with one reference for the caller.
    virtual DMCode GetBitmap(IDMBitmap** bitmap) = 0;
    virtual DMCode SetBitmap(const BYTE* bytes, std::size_t size, const wchar_t* type) = 0;
    // Reloads the picture when `entry` ("type:name") names it: 0 reloaded, 1 not.
    virtual DMCode UpdateSkin(const wchar_t* entry) = 0;
    // 0 when the skin has a picture.
    virtual DMCode IsValid() = 0;
};

}  // namespace DM
