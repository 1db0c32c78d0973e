// Generates the game's pictures, their resource list and the window's icon:
// vastorim-textures OUTPUT_FOLDER
#include "pictures.h"

#include "platform/replaced_files.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const auto write = [&](const std::string& fileName, const vastorim::platform::Picture& image) {
        std::string error;
        if (!vastorim::platform::writePicture(folder + "/" + fileName, image, error)) {
            std::fprintf(stderr, "%s: %s/%s: %s\n", argv[0], folder.c_str(), fileName.c_str(),
                         error.c_str());
            return false;
        }
        return true;
    };
    std::string list;
    for (const auto& picture : vastorim::textures::makePictures()) {
        if (!write(picture.fileName, picture.image)) {
            return 1;
        }
        list += picture.fileName + "\n";
    }
    std::string problem;
    if (!vastorim::platform::replaceFile(folder + "/resource list.txt", list + "END\n",
                                         vastorim::platform::Flush::no, problem)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], problem.c_str());
        return 1;
    }
    return write("icon.png", vastorim::textures::makeIcon()) ? 0 : 1;
}
