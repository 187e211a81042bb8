// The traditional PKWARE encryption of ZIP entries: three keys updated with CRC-32 steps, a
// 12-byte header in front of the data whose last byte checks the password.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace DM {

class DMZipCrypto {
public:
    explicit DMZipCrypto(const std::string& password);

    // Decrypts the 12-byte header in place; true when its last byte equals `check` (the high
    // byte of the entry's CRC-32), i.e. the password is right.
    bool DecryptHeader(unsigned char* header, unsigned char check);
    void Decrypt(unsigned char* data, std::size_t size);

private:
    void UpdateKeys(unsigned char plain);
    unsigned char KeyStreamByte() const;

    std::uint32_t m_keys[3];
};

}  // namespace DM
