#include "platform/player/window_manager.h"

namespace sorinel::platform {

// Without X11 support the desktop's compositor places full-screen windows.
bool fullScreenMustBePlacedByHand() { return false; }

}  // namespace sorinel::platform
