#include "DMItemBytes.h"

namespace DM {

bool DMItemBytes::Read(IDMRes& pack, const wchar_t* type, const wchar_t* name) {
    m_size = 0;
    std::size_t size = 0;
    if (pack.GetItemSize(type, name, size, nullptr) != DM_ECODE_OK) {
        return false;
    }
    char* buffer = m_small;
    if (size > kSmall) {
        m_large.resize(size);
        buffer = m_large.data();
    }
    if (pack.GetItemBuf(type, name, buffer, size, nullptr) != DM_ECODE_OK) {
        return false;
    }
    m_size = size;
    return true;
}

}  // namespace DM
