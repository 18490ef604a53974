// e2e_driver <suite> <program> [filter]: runs the end-to-end cases of a suite against the
// program (a Windows path, or a Unix path that Wine shows on drive Z:), only those whose names
// contain the filter if one is given.

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/cases.h"
#include "tests/e2e/driver/driver.h"

namespace {

using tessarune::e2e::Case;

struct Suite {
    const wchar_t* name;
    std::vector<Case> (*cases)(const std::wstring& exe);
};

constexpr Suite kSuites[] = {
    {L"forms", tessarune::e2e::FormsCases},
    {L"app", tessarune::e2e::AppCases},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace tessarune::e2e;
    if (argc < 3 || argc > 4) {
        std::printf("usage: e2e_driver <suite> <program> [filter]\n");
        return 2;
    }
    // The program's texts are code page 936 and the clipboard converts by the system code page.
    if (GetACP() != 936) {
        std::printf("the system code page is %u, not 936: run under LC_ALL=zh_CN.UTF-8\n",
                    GetACP());
        return 2;
    }
    const std::wstring exe = ToWindowsPath(argv[2]);
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no program at %s\n", ToUtf8(ToGbk(exe)).c_str());
        return 2;
    }
    const std::string filter = argc == 4 ? ToGbk(argv[3]) : std::string();
    for (const Suite& suite : kSuites) {
        if (suite.name == std::wstring_view(argv[1])) return RunCases(suite.cases(exe), filter);
    }
    std::printf("no suite named %s\n", ToUtf8(ToGbk(argv[1])).c_str());
    return 2;
}
