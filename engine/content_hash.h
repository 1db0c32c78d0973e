#pragma once

#include <string>

namespace vastorim {

// SHA-256, as 64 lower-case hex digits, of the content in the program folder that shapes play:
// the effect list and every effect it names, the resource list and the size of every picture it
// names, and the music track. Fonts and the pictures' colours only change how play looks. A file
// that is missing counts as such, so the hash can always be taken.
std::string contentHash();

} // namespace vastorim
