#include "engine/mod_game_load.h"

#include "engine/app_path.h"
#include "engine/errors.h"
#include "engine/mod_dx8_render.h"
#include "engine/mod_res_textures.h"
#include "engine/text_files.h"
#include "platform/video.h"

namespace vastorim {

void loadResourceList() {
    TextReader list(programFile("graphics/resource list.txt"));
    std::string line;
    while (list.readLine(line) && line != "END") {
        if (line.empty()) {
            throw DataError(list.path(), list.lineNumber(), "", "a picture file name was expected");
        }
        loadTexture(0, 0, programFile("graphics/" + line));
    }
}

void showGameWindow() {
    if (platform::Video* video = currentVideo()) {
        video->show();
    }
}

} // namespace vastorim
