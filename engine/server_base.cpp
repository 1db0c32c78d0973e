#include "engine/server_base.h"

#include <cstdlib>

namespace vastorim {

std::string serverBase() {
    const char* fromEnvironment = std::getenv("VASTORIM_SERVER");
    return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment
                                                                  : VASTORIM_SERVER_BASE;
}

std::string percentEncoded(std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                                byte == '_' || byte == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += {'%', hex[byte >> 4], hex[byte & 0xF]};
        }
    }
    return encoded;
}

} // namespace vastorim
