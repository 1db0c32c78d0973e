// Generates the game's music track: vastorim-music OUTPUT.wav
#include "instruments.h"
#include "song.h"
#include "wav_file.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    using namespace vastorim::music;
    if (!writeFile(argv[1], encodeWav(renderSong(), kSampleRate))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
