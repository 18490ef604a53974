// The program's start and end: prepare the form layer, fix the floating-point environment, load
// the main window and carry input to it until it is closed.

#include <windows.h>

#include <cstdint>

#include "app/floating_point.h"
#include "app/handlers.h"
#include "app/main_window_layout.h"
#include "forms/form.h"
#include "forms/runtime.h"

namespace tessarune::app {
namespace {

std::int32_t StartProgram() {
    const forms::Layout* const layouts[] = {&MainWindowLayout()};
    forms::InitFormLayer(layouts);
    // After the runtime's own start-up and before any handler runs.
    ResetFloatingPoint();
    InitGlobals();
    forms::AddExitRoutine(ReleaseGlobals);
    if (!forms::LoadWindow(MainWindowLayout())) {
        forms::ReportFatalError("无法创建主窗口。");
    }
    forms::RunMessageLoop();
    return 0;
}

}  // namespace
}  // namespace tessarune::app

// The command line and the requested show state change nothing: the window always opens in its
// normal state.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::int32_t exitCode = tessarune::app::StartProgram();
    tessarune::forms::ShutdownFormLayer(exitCode);
    return exitCode;
}
