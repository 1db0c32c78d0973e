#include "engine/errors.h"

namespace vastorim {

namespace {

// Control characters from a file (a carriage return left on a line, a stray byte) are shown as
// escapes, so that the message stays on one line and says what is there.
std::string shown(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\r' || c == '\n' || c == '\t') {
            escaped += c == '\r' ? "\\r" : c == '\n' ? "\\n" : "\\t";
        } else if (code < 0x20 || code == 0x7f) {
            constexpr char hex[] = "0123456789abcdef";
            escaped += {'\\', 'x', hex[code >> 4], hex[code & 15]};
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string describe(const std::string& file, int line, const std::string& field,
                     const std::string& message) {
    std::string text = file;
    if (line > 0) {
        text += ":" + std::to_string(line);
    }
    text += ": ";
    if (!field.empty()) {
        text += field + ": ";
    }
    return shown(text + message);
}

} // namespace

DataError::DataError(std::string file, int line, std::string field, std::string message)
    : std::runtime_error(describe(file, line, field, message)), file_(std::move(file)), line_(line),
      field_(std::move(field)), message_(std::move(message)) {}

FieldError::FieldError(std::string field, std::string message)
    : std::runtime_error(field.empty() ? message : field + ": " + message),
      field_(std::move(field)), message_(std::move(message)) {}

} // namespace vastorim
