#pragma once

#include "platform/window.h"

namespace app {

// Gives the main window's buttons and the search field their tooltips;
// stops when the window is gone.
void attachMainTooltips(platform::Window& window);

}  // namespace app
