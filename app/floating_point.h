#pragma once
// The floating-point environment of the GUI thread, set once at start-up.

namespace tessarune::app {

// Re-initialises the floating-point unit: round to nearest (ties to even), every exception
// masked and every exception flag cleared; on x87 the full 64-bit significand (control word
// 0x037F) in place of the 53 bits the C runtime's start-up sets on some platforms.
void ResetFloatingPoint();

}  // namespace tessarune::app
