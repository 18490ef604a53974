#pragma once
// The seam between the portable rules of the form layer and the window system.  The operations
// of form.h check their arguments against the loaded layouts and then call the installed
// backend: the Win32 backend in the program, an in-memory one in native tests.

#include <string_view>

#include "forms/form.h"

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

}  // namespace tessarune::forms
