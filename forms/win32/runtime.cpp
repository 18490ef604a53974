#include "forms/runtime.h"

#include <windows.h>
// The headers below need windows.h before them.
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/backend.h"
#include "forms/rules.h"
#include "forms/win32/fatal.h"
#include "forms/win32/win32_backend.h"

namespace tessarune::forms {

namespace {

struct Runtime {
    std::vector<const Layout*> layouts;
    std::vector<void (*)()> exitRoutines;
};

Runtime& State() {
    static Runtime runtime;
    return runtime;
}

// DLLs come from the system folder only, never from the current directory (which start-up
// points at the program's folder) or the PATH.
void HardenDllSearch() {
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        // Resolved at run time: older systems lack it.
        if (const FARPROC proc = GetProcAddress(kernel, "SetDefaultDllDirectories")) {
            const auto call =
                reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void (*)()>(proc));
            call(kSearchSystem32);
        }
    }
    SetDllDirectoryW(L"");  // where the call above is missing: at least not the current directory
}

void MakeProgramFolderCurrent() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t folderEnd = path.find_last_of(L"\\/");
    if (folderEnd == std::wstring::npos) return;
    path.resize(folderEnd + 1);
    SetCurrentDirectoryW(path.c_str());
}

}  // namespace

void InitFormLayer(std::span<const Layout* const> layouts) {
    // Failed allocations already end in the fatal error box: the program's operator new is the
    // layer's (alloc.cpp) from the first allocation on.
    HardenDllSearch();
    MakeProgramFolderCurrent();
    for (const Layout* layout : layouts) {
        if (layout == nullptr) win32::ShowFatalError("窗口布局数据无法读取");
        if (const std::optional<std::string> fault = FindLayoutFault(*layout)) {
            win32::ShowFatalError(*fault);
        }
    }
    State().layouts.assign(layouts.begin(), layouts.end());
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    win32::PrepareOle();
    InstallBackend(&win32::TheBackend());
}

void AddExitRoutine(void (*routine)()) {
    std::vector<void (*)()>& routines = State().exitRoutines;
    if (std::find(routines.begin(), routines.end(), routine) == routines.end()) {
        routines.push_back(routine);
    }
}

void RunMessageLoop() {
    win32::NoteMessageLoopStarted();
    if (LoadedWindowCount() == 0) return;
    MSG message;
    for (;;) {
        // Waits without using the processor while no message is there.
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) return;
        if (win32::PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// After an orderly end (exit code 0) the exit routines run in the order they were added;
// after a failure they are discarded without running.
void ShutdownFormLayer(std::int32_t exitCode) {
    Runtime& runtime = State();
    runtime.layouts.clear();
    std::vector<void (*)()> routines;
    routines.swap(runtime.exitRoutines);
    if (exitCode == 0) {
        for (void (*routine)() : routines) routine();
    }
    win32::ReleaseOle();
}

}  // namespace tessarune::forms
