// Writing a premultiplied BGRA picture as a PNG file.
#pragma once

#include <filesystem>

#include "plat/headless.h"

namespace plat::headless {

// Writes straight (not premultiplied) RGBA with `constantAlpha` applied to every pixel, as the
// picture shows on screen.
bool WritePng(const std::filesystem::path& path, const Picture& picture, BYTE constantAlpha);

}  // namespace plat::headless
