// The bytes of one resource pack item, in a 128-byte buffer of its own when they fit and on
// the heap otherwise, since most layouts and pictures are read once and dropped.
#pragma once

#include <cstddef>
#include <vector>

#include "IDMRes.h"

namespace DM {

class DMItemBytes {
public:
    // False when the pack has no such item or cannot read it.
    bool Read(IDMRes& pack, const wchar_t* type, const wchar_t* name);

    const char* Data() const { return m_size > kSmall ? m_large.data() : m_small; }
    std::size_t Size() const { return m_size; }

private:
    static constexpr std::size_t kSmall = 128;

    char m_small[kSmall];
    std::vector<char> m_large;
    std::size_t m_size = 0;
};

}  // namespace DM
