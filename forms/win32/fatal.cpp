#include "forms/win32/fatal.h"

#include <windows.h>

#include "forms/backend.h"
#include "forms/win32/text.h"

namespace tessarune::forms::win32 {

void ShowFatalError(std::string_view message) noexcept {
    constexpr UINT kFatalExitCode = 0xFFFFFFFF;
    // A second failure while the box is up (say, a paint that needs memory) cannot be shown
    // any better than the first; end at once.
    static bool reporting = false;
    if (reporting) ExitProcess(kFatalExitCode);
    reporting = true;

    // The box runs its own message loop; no handler may run now, and the task-modal box
    // disables the program's windows so that none can be closed under it.
    GlobalEventGate().Suspend();

    static wchar_t text[4096];
    static wchar_t title[32];
    WideFromGbkInto(message, text, sizeof text / sizeof text[0]);
    WideFromGbkInto("错误", title, sizeof title / sizeof title[0]);
    MessageBoxW(nullptr, text, title, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(kFatalExitCode);
}

}  // namespace tessarune::forms::win32
