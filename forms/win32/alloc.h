#pragma once
// Memory of the form layer.  The program's operator new and every allocation of the layer go
// through LayerAlloc; a failure ends the process through ReportFatalError with a message that
// names the requested number of bytes.

#include <cstddef>

namespace tessarune::forms {

void* LayerAlloc(std::size_t bytes);
void LayerFree(void* block) noexcept;

// For tests: from now on every request of at least `bytes` bytes fails (0 turns it off).
void SimulateAllocationFailureFrom(std::size_t bytes);

}  // namespace tessarune::forms
