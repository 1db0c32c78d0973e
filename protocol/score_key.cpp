#include "protocol/score_key.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <array>
#include <stdexcept>

namespace vastorim {

std::string hmacSha256Hex(std::string_view message, std::string_view secret) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (HMAC(EVP_sha256(), secret.data(), static_cast<int>(secret.size()),
             reinterpret_cast<const unsigned char*>(message.data()), message.size(), digest.data(),
             &length) == nullptr) {
        throw std::runtime_error("HMAC-SHA256 is not available");
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0f];
    }
    return hex;
}

std::string scoreKey(std::string_view upperName, std::int32_t score, std::string_view secret) {
    std::string message(upperName);
    message += '\n';
    message += std::to_string(score);
    return hmacSha256Hex(message, secret);
}

} // namespace vastorim
