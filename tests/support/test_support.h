#pragma once

#include <string>

namespace vastorim::test {

// A fresh folder under the system's temporary folder, deleted with everything in it at the end.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + "/" + relative; }

  private:
    std::string path_;
};

// Writes bytes exactly as given (no line-end translation).
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// Runs a command through the shell, capturing both output streams.
struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};
CommandResult runCommand(const std::string& command);

} // namespace vastorim::test
