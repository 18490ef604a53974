#pragma once
// The seam between the portable rules of the form layer and the window system.  The operations
// of form.h check their arguments against the loaded layouts and then call the installed
// backend: the Win32 backend in the program, an in-memory one in native tests.

#include <string_view>

#include <cstddef>

#include "forms/form.h"
#include "forms/rules.h"

namespace tessarune::forms {

class Backend {
public:
    virtual ~Backend() = default;
    virtual bool LoadWindow(const Layout& layout) = 0;
    virtual ReadText ReadTextProperty(const Layout& window, const ControlDesc& control,
                                      Property property) = 0;
    virtual void WriteTextProperty(const Layout& window, const ControlDesc& control,
                                   Property property, std::string_view text) = 0;
    virtual void WriteDisabled(const Layout& window, const ControlDesc& control,
                               bool disabled) = 0;
    virtual bool SetClipboardText(std::string_view text) = 0;
    [[noreturn]] virtual void ReportFatalError(std::string_view message) = 0;
};

// Installs the backend that the operations of form.h use; null uninstalls it.
void InstallBackend(Backend* backend);

// For backends.  LoadWindow registers the layout as loaded before it asks the backend to build
// the window (so that Created handlers can address it) and forgets it again when the build
// fails; the backend reports the destruction of a window it built.
void NoteWindowDestroyed(std::string_view window);
std::size_t LoadedWindowCount();
const Layout* FindLoadedWindow(std::string_view window);

// The process's one event gate: suspended while any window loads.
EventGate& GlobalEventGate();

}  // namespace tessarune::forms
