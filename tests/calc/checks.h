#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Comparisons for the calc tests: texts byte for byte, reals bit for bit (so -0.0 differs from
// 0.0), each printed in full on a mismatch.
namespace tessarune::calc::testing {

inline std::string Hex(std::string_view bytes) {
    std::string out;
    char pair[4];
    for (char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02x ", static_cast<unsigned char>(c));
        out += pair;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

inline ::testing::AssertionResult SameBytes(std::string_view actual, std::string_view expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    auto shown = [](std::string_view s) {
        return s.size() > 600
                   ? Hex(s.substr(0, 600)) + " ... (" + std::to_string(s.size()) + " bytes)"
                   : Hex(s);
    };
    return ::testing::AssertionFailure()
           << "texts differ at byte " << at << "\n  actual:   " << shown(actual)
           << "\n  expected: " << shown(expected);
}

inline ::testing::AssertionResult SameBits(double actual, double expected) {
    const auto a = std::bit_cast<std::uint64_t>(actual);
    const auto e = std::bit_cast<std::uint64_t>(expected);
    if (a == e) return ::testing::AssertionSuccess();
    char text[160];
    std::snprintf(text, sizeof text, "actual %.17g (0x%016llx), expected %.17g (0x%016llx)", actual,
                  static_cast<unsigned long long>(a), expected, static_cast<unsigned long long>(e));
    return ::testing::AssertionFailure() << text;
}

inline ::testing::AssertionResult SameBits(float actual, float expected) {
    const auto a = std::bit_cast<std::uint32_t>(actual);
    const auto e = std::bit_cast<std::uint32_t>(expected);
    if (a == e) return ::testing::AssertionSuccess();
    char text[120];
    std::snprintf(text, sizeof text, "actual %.9g (0x%08x), expected %.9g (0x%08x)",
                  static_cast<double>(actual), static_cast<unsigned>(a),
                  static_cast<double>(expected), static_cast<unsigned>(e));
    return ::testing::AssertionFailure() << text;
}

}  // namespace tessarune::calc::testing
