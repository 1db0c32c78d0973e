#pragma once

#include "platform/png_file.h"

#include <string>
#include <vector>

namespace vastorim::textures {

struct NamedPicture {
    std::string fileName; // lower case, as the resource list and the effects name it
    platform::Picture image;
};

// Every picture the game's effects draw with. Pictures are white or grey so that the effects'
// colour tracks tint them; alpha carries their shape.
std::vector<NamedPicture> makePictures();

// The game window's icon, 128 x 128 and in colour; not a texture, so not in the resource list.
platform::Picture makeIcon();

} // namespace vastorim::textures
