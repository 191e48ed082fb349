#pragma once

#include "platform/window_definition.h"

namespace app {

// The main window as data: title, size, colours, fonts, the status bar
// layout, the timer and every control in creation (and Tab) order. Each
// backend builds its widgets from this one table. Picture controls name
// their picture in `text` ("apply" for the picture "apply" of the backend's
// picture set).
[[nodiscard]] const platform::WindowDefinition& mainWindowDefinition();

}  // namespace app
