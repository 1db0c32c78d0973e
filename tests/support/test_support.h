#pragma once

#include <string>

namespace vastorim::test {

// A fresh empty folder for one test's files, removed when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Writes the text as it stands (the caller chooses the line ends) and gives the path.
    std::string write(const std::string& name, const std::string& text) const;

  private:
    std::string path_;
};

std::string readWholeFile(const std::string& path);

} // namespace vastorim::test
