// Generates the game's pictures, their resource list and the window's icon:
// vastorim-textures OUTPUT_FOLDER
#include "pictures.h"

#include <cstdio>
#include <fstream>

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
    std::ofstream list(folder + "/resource list.txt", std::ios::trunc);
    for (const auto& picture : vastorim::textures::makePictures()) {
        if (!write(picture.fileName, picture.image)) {
            return 1;
        }
        list << picture.fileName << "\n";
    }
    list << "END\n";
    if (!list) {
        std::fprintf(stderr, "%s: cannot write %s/resource list.txt\n", argv[0], folder.c_str());
        return 1;
    }
    return write("icon.png", vastorim::textures::makeIcon()) ? 0 : 1;
}
