#pragma once
// The seam between the portable rules of the form layer and the window system.  The operations
// of form.h check their arguments against the loaded layouts and then call the installed
// backend: the Win32 backend in the program, an in-memory one in native tests.

#include <cstddef>
#include <string_view>

#include "forms/form.h"
#include "forms/layout.h"
#include "forms/rules.h"

namespace tessarune::forms {

// What form.h guarantees before it calls a backend: the window is loaded (registered under
// layout.window.name), the control belongs to it and has the property.  Layouts are the
// program's constant tables and outlive their windows, so a backend may keep references.
class Backend {
public:
    virtual ~Backend() = default;

    // Builds the window from a layout that FindLayoutFault accepts; false when the window or a
    // control cannot be created, after destroying whatever was built.  The layout is already
    // registered as loaded when this is called.  The backend suspends GlobalEventGate() (see
    // SuspendedEvents) before it creates anything, resumes it once every control stands in its
    // place and is shown, then raises the window's Created (RaiseEvent with an empty control
    // name), and only after the handler has returned shows and activates the window.
    virtual bool LoadWindow(const Layout& layout) = 0;

    // The text the control shows now (Text) or stores (Caption); form.h turns an empty text
    // into none.
    virtual ReadText ReadTextProperty(const Layout& window, const ControlDesc& control,
                                      Property property) = 0;

    // Replaces the text; a Text write raises TextChanged once, after the text is in place.
    virtual void WriteTextProperty(const Layout& window, const ControlDesc& control,
                                   Property property, std::string_view text) = 0;

    // Greys the control out or restores it; writing the current state changes nothing.
    virtual void WriteDisabled(const Layout& window, const ControlDesc& control, bool disabled) = 0;

    virtual bool SetClipboardText(std::string_view text) = 0;

    // Shows the message and ends the process with exit code -1; never returns.
    [[noreturn]] virtual void ReportFatalError(std::string_view message) = 0;
};

// Installs the backend that the operations of form.h use; null uninstalls it.  Without a
// backend, ReportFatalError writes the message to stderr and ends the process with -1, and
// every other operation ends up there.
void InstallBackend(Backend* backend);

// For backends.  LoadWindow registers the layout as loaded before it asks the backend to build
// the window (so that Created handlers can address it) and forgets it again when the build
// fails; the backend reports the destruction of a window it built.
void NoteWindowDestroyed(std::string_view window);
std::size_t LoadedWindowCount();
const Layout* FindLoadedWindow(std::string_view window);

// The process's one event gate: suspended while any window loads.
EventGate& GlobalEventGate();

// Raises an event of a control of the window (empty name: the window itself) through
// GlobalEventGate().  Gives whether the control goes on with the input (see EventGate).
bool RaiseEvent(const Layout& window, std::string_view control, Event event,
                const EventArgs& args = {});

}  // namespace tessarune::forms
