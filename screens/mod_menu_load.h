#pragma once

namespace vastorim {

// Every menu line back to full opacity.
void resetMenuItems();

} // namespace vastorim
