#include "engine/errors.h"

namespace vastorim {

namespace {

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
    return text + message;
}

} // namespace

DataError::DataError(std::string file, int line, std::string field, std::string message)
    : std::runtime_error(describe(file, line, field, message)), file_(std::move(file)), line_(line),
      field_(std::move(field)), message_(std::move(message)) {}

FieldError::FieldError(std::string field, std::string message)
    : std::runtime_error(field.empty() ? message : field + ": " + message),
      field_(std::move(field)), message_(std::move(message)) {}

} // namespace vastorim
