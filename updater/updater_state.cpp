#include "updater/updater_state.h"

namespace vastorim {

UpdaterState updater;

void resetUpdaterState() {
    updater = UpdaterState{};
}

} // namespace vastorim
