#include "DMZipCrypto.h"

#include <zlib.h>

namespace DM {
namespace {

constexpr std::size_t kHeaderSize = 12;

std::uint32_t Crc32Step(std::uint32_t crc, unsigned char byte) {
    static const z_crc_t* table = get_crc_table();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

DMZipCrypto::DMZipCrypto(const std::string& password)
    : m_keys{0x12345678u, 0x23456789u, 0x34567890u} {
    for (unsigned char c : password) {
        UpdateKeys(c);
    }
}

void DMZipCrypto::UpdateKeys(unsigned char plain) {
    m_keys[0] = Crc32Step(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = Crc32Step(m_keys[2], static_cast<unsigned char>(m_keys[1] >> 24));
}

unsigned char DMZipCrypto::KeyStreamByte() const {
    std::uint32_t temp = (m_keys[2] & 0xFFFF) | 2;
    return static_cast<unsigned char>((temp * (temp ^ 1)) >> 8);
}

void DMZipCrypto::Decrypt(unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= KeyStreamByte();
        UpdateKeys(data[i]);
    }
}

bool DMZipCrypto::DecryptHeader(unsigned char* header, unsigned char check) {
    Decrypt(header, kHeaderSize);
    return header[kHeaderSize - 1] == check;
}

}  // namespace DM
