#include "server/sha256.hpp"

#include "console/digits.hpp"

#include <openssl/evp.h>

#include <stdexcept>

namespace board {

std::string sha256_hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 failed");
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += console::HEX_DIGITS[digest[i] >> 4];
        hex += console::HEX_DIGITS[digest[i] & 15];
    }
    return hex;
}

} // namespace board
