#pragma once
// The life of the form layer around the program's windows: preparation, the message loop and
// the orderly end.  Win32 only.

#include <cstdint>
#include <span>

#include "forms/layout.h"

namespace tessarune::forms {

// Arms the fatal handling of failed allocations, makes the program file's folder the current
// directory and takes the layouts of all windows (bindings already resolved in the tables).
// Damaged layout data ends the process through ReportFatalError.
void InitFormLayer(std::span<const Layout* const> layouts);

// Appends a routine to the exit routines unless it is already among them.
void AddExitRoutine(void (*routine)());

// Carries input to the windows until a quit request arrives; returns at once when no window is
// loaded.
void RunMessageLoop();

// Frees the layouts and runs the exit routines in the order they were added.
void ShutdownFormLayer(std::int32_t exitCode);

}  // namespace tessarune::forms
