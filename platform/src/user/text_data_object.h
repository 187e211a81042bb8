// The data object of a dragged text.
#pragma once

#include <string>

#include "plat/drag_drop.h"

namespace plat::user {

// A data object giving `text` as CF_UNICODETEXT in global memory, with one reference.
IDataObject* NewTextDataObject(std::wstring text);

}  // namespace plat::user
