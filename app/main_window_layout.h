#pragma once
// The tool's one window as constant layout data: the window, its 20 controls in layout order,
// the two pictures and the event bindings to the handlers.

#include <string_view>

#include "forms/layout.h"

namespace tessarune::app {

// How the handlers name the main window.  Defined with the layout: the text is a GBK literal,
// and only sources, not headers, are converted for compilers without -fexec-charset.
extern const std::string_view kMainWindow;

const forms::Layout& MainWindowLayout();

}  // namespace tessarune::app
