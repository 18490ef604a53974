#pragma once
// The tool's one window as constant layout data: the window, its 20 controls in layout order,
// the two pictures and the event bindings to the handlers.

#include <string_view>

#include "forms/layout.h"

namespace tessarune::app {

// How the handlers name the main window.
inline constexpr std::string_view kMainWindow = "主窗口";

const forms::Layout& MainWindowLayout();

}  // namespace tessarune::app
