#include "engine/build_id.h"

#include "build_id_value.h"

namespace vastorim {

std::string buildId() {
    return VASTORIM_BUILD_ID;
}

} // namespace vastorim
