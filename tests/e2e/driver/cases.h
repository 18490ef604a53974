#pragma once
// The suites of end-to-end cases; each one checks one program.

#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace tessarune::e2e {

// The rules of the form layer, checked on the harness program at `exe`.
std::vector<Case> FormsCases(const std::wstring& exe);

// The main window of the tool, checked on the program at `exe`.
std::vector<Case> AppCases(const std::wstring& exe);

}  // namespace tessarune::e2e
