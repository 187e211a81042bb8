// Operations on the pixels of a picture: hue, saturation and lightness, alpha setting and the
// process-wide alpha save area, BMP and PNG files.
#pragma once

#include <cstdint>
#include <vector>

#include "DMDIBHelper.h"
#include "DMDef.h"

namespace DM {

// The rectangle clipped to the picture; empty when nothing remains.
RECT ClipToPicture(const DMDIBHelper& dib, const RECT* rect);

// Shifts the hue of the pixels of `area` by `hue` degrees and scales their saturation and
// lightness by their percentage.
void AdjustPixelsHSL(DMDIBHelper& dib, int hue, int saturation, int lightness, const RECT& area);
void SetPixelsAlpha(DMDIBHelper& dib, BYTE alpha, const RECT& area);

// One save area for the whole process: a backup must be restored before the next one.
void BackupAlpha(const DMDIBHelper& dib, const RECT& area);
void RestoreAlpha(DMDIBHelper& dib);

bool WriteBmpFile(const DMDIBHelper& dib, const DMStringT& path);

}  // namespace DM
