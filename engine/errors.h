#pragma once

#include <stdexcept>
#include <string>

namespace vastorim {

// A problem in a data file: which file, which line (0 when the whole file is meant), which field
// (empty when the whole line is meant) and what was expected. what() gives the one-line form
// "FILE:LINE: FIELD: MESSAGE" that tools and start-up print, control characters shown as
// escapes ("\r", "\x1b").
class DataError : public std::runtime_error {
  public:
    DataError(std::string file, int line, std::string field, std::string message);

    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& field() const { return field_; }
    const std::string& message() const { return message_; }

  private:
    std::string file_;
    int line_;
    std::string field_;
    std::string message_;
};

// A malformed piece of text found while parsing one line, before the caller knows the file and
// line; the caller rethrows it as a DataError with those added.
class FieldError : public std::runtime_error {
  public:
    FieldError(std::string field, std::string message);

    const std::string& field() const { return field_; }
    const std::string& message() const { return message_; }

  private:
    std::string field_;
    std::string message_;
};

} // namespace vastorim
