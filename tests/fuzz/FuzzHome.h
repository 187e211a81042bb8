// Every fuzz target runs with the user's folders in a fresh temporary folder, as the tests do,
// so that nothing it writes reaches the real home folder or Wine prefix.
#pragma once

#include <filesystem>

namespace vael::fuzz {

// The temporary home, made on first use and kept for the whole run.
const std::filesystem::path& Home();

}  // namespace vael::fuzz
