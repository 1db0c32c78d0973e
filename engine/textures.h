#pragma once

#include <cstdint>
#include <string>

#include "platform/video.h"

namespace vastorim {

// Empties the registry (its start-up state).
void resetTextureList();

// Registers the picture at path (width and height 0: its own size) under its file name in lower
// case, the part after the last separator, unless that name is already registered. A picture that
// cannot be loaded is a DataError naming the file.
void loadTexture(int width, int height, const std::string& path);

// The index of the last entry whose stored name equals the query in lower case, -1 when none.
std::int16_t findTexture(std::string name);

// Registers every picture that graphics/resource list.txt names, up to its "END" line (or the end
// of the file). A missing list, an empty line or a picture that cannot be loaded is a DataError
// naming the file.
void loadResourceList();

// Changes whenever the registry changes, so lookups can be cached.
unsigned textureGeneration();

// The index of the last entry, -1 when empty.
int lastTexture();

// The video texture of a registry entry (index from findTexture, 0..lastTexture).
platform::TextureId textureAt(int index);

} // namespace vastorim
