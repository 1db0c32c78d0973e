#include "server/log_text.h"

namespace vastorim::server {

std::string printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return text.empty() ? "-" : text;
}

} // namespace vastorim::server
