#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the fuzz targets share: a scratch program folder for the loaders that read files by name,
// and a headless platform for those that need a video or an audio device.
namespace vastorim::fuzzing {

// The input as text (bytes as they are).
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A program folder of this process's own under the system's temporary folder, made on first use
// and deleted at exit; the game's program folder points at it. `contentFiles` (paths inside the
// program folder) are copied from the built program folder the first time: a few small files,
// so that a loader reading all it is given stays fast.
const std::string& scratchProgramFolder(std::initializer_list<const char*> contentFiles = {});

// Writes the bytes to `relative` inside the scratch program folder (making its folders); gives
// the full path.
std::string writeScratchFile(const std::string& relative, std::string_view bytes);

// A headless platform made current. Textures that loaders upload stay in its video until it is
// replaced, so it is made afresh every few hundred inputs to keep memory flat.
platform::Platform& headlessPlatform();

} // namespace vastorim::fuzzing
