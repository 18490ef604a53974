#pragma once
// The layer's one way to fail.

#include <string_view>

namespace tessarune::forms::win32 {

// Shows the message in an error box without owner window and, once the user has dismissed it,
// ends the process with exit code -1 (all 32 bits set) without running the exit routines.
// Touches no heap of the layer, so it also serves when an allocation has failed.
[[noreturn]] void ShowFatalError(std::string_view message) noexcept;

}  // namespace tessarune::forms::win32
