#pragma once
// What the message loop and start-up need from the Win32 backend.

#include <windows.h>

#include "forms/backend.h"

namespace tessarune::forms::win32 {

// The process's one Win32 backend.
Backend& TheBackend();

// The keyboard rules of the layer's windows, applied before a message is translated and
// dispatched: Tab and Shift+Tab, arrow keys among radios, Enter, Esc, F1, Alt with a mnemonic.
// True when the message was consumed.
bool PreTranslateMessage(const MSG& message);

// From now on the destruction of the last loaded window posts the quit request.
void NoteMessageLoopStarted();

// OLE is needed to decode pictures; prepared once, released at shutdown.
void PrepareOle();
void ReleaseOle();

}  // namespace tessarune::forms::win32
