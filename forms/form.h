#pragma once
// The operations that handlers use to talk to windows: controls are named by window and control
// name, texts are GBK bytes.  Every call runs on the GUI thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/layout.h"

namespace tessarune::forms {

using GbkText = std::string;

// A text read from a control: a fresh copy owned by the caller, absent when the text is empty.
using ReadText = std::optional<GbkText>;

// Builds the window hidden, raises Created, shows and activates it; the window is then known
// by layout.window.name, and the layout must outlive it.  False when the window or one of its
// controls cannot be created.  A layout that FindLayoutFault rejects, or a window of that name
// that is already loaded, ends in ReportFatalError.
bool LoadWindow(const Layout& layout);

// Property access.  Text belongs to edit boxes, Caption to labels, Disabled to every control;
// a window that is not loaded, a control it does not have or a property the control lacks is a
// programming error and ends in ReportFatalError.
//
// Reading gives a copy owned by the caller, absent when the text is empty.  Writing copies the
// text; an empty text stands for absent.  A Text write raises TextChanged before it returns.
ReadText ReadTextProperty(std::string_view window, std::string_view control, Property property);
void WriteTextProperty(std::string_view window, std::string_view control, Property property,
                       std::string_view text);
void WriteDisabled(std::string_view window, std::string_view control, bool disabled);

// Releases a text that ReadTextProperty gave; the text is absent afterwards.
void FreeText(ReadText& text);

// Puts the text on the clipboard as plain text; false when the clipboard could not be opened
// or the memory for it could not be had.
bool SetClipboardText(std::string_view text);

// Shows an error box and ends the process with exit code -1, without running exit routines.
[[noreturn]] void ReportFatalError(std::string_view message);

}  // namespace tessarune::forms
