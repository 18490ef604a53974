// Feeds arbitrary hours, points and target levels to CalculateLevelReport and checks the shape of
// every result: one of the two failure texts whole, or the six report lines in order, separated
// by CR LF, with the points text verbatim in line 2 and well-formed figures elsewhere.
//
// Input: 4 bytes of target level (little endian), 1 byte giving the length of the hours text,
// then the hours text and the points text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string_view>

#include "calc/level_report.h"
#include "calc/numeric_text.h"

namespace {

using namespace tessarune::calc;

[[noreturn]] void Fail(const char* what, std::string_view result) {
    std::fprintf(stderr, "bad report shape: %s\nreport bytes:", what);
    for (char c : result) std::fprintf(stderr, " %02x", static_cast<unsigned char>(c));
    std::fprintf(stderr, "\n");
    std::abort();
}

bool Consume(std::string_view& rest, std::string_view expected) {
    if (rest.substr(0, expected.size()) != expected) return false;
    rest.remove_prefix(expected.size());
    return true;
}

// A decimal integer as FormatInt writes it: "-" only before a non-zero value, no leading zeros.
std::optional<std::int64_t> ConsumeInt(std::string_view& rest) {
    std::size_t length = rest.substr(0, 1) == "-" ? 1 : 0;
    const std::size_t digitsStart = length;
    while (length < rest.size() && length < 12 && rest[length] >= '0' && rest[length] <= '9') {
        ++length;
    }
    const std::string_view digits = rest.substr(digitsStart, length - digitsStart);
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
    if (digitsStart == 1 && digits == "0") return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    if (digitsStart == 1) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    rest.remove_prefix(length);
    return value;
}

// One part of the waiting time: a non-zero figure and its unit, or nothing at all.
bool ConsumeTimePart(std::string_view& rest, std::string_view unit, std::int64_t limit) {
    std::string_view probe = rest;
    const std::optional<std::int64_t> value = ConsumeInt(probe);
    if (!value || !Consume(probe, unit)) return true;  // the part is absent
    if (*value == 0 || *value > limit || *value < -limit) return false;
    rest = probe;
    return true;
}

void CheckReport(std::string_view result, std::string_view points) {
    points = points.substr(0, points.find('\0'));
    std::string_view rest = result;
    if (!Consume(rest, kReportHeading) || !Consume(rest, "\r\n")) Fail("line 1", result);
    if (!Consume(rest, kCurrentPointsLabel) || !Consume(rest, points) || !Consume(rest, "\r\n")) {
        Fail("line 2", result);
    }

    const auto level = (Consume(rest, kLevelLabel) ? ConsumeInt(rest) : std::nullopt);
    if (!level || !(*level == 0 || (*level >= 2 && *level <= 10001)) || !Consume(rest, "\r\n")) {
        Fail("line 3", result);
    }

    const auto missing = (Consume(rest, kMissingPointsLabel) ? ConsumeInt(rest) : std::nullopt);
    if (!missing || !Consume(rest, "\r\n")) Fail("line 4", result);

    // Years of 356 days reach at most 2^31 / 356; months and days are remainders.
    if (!Consume(rest, kWaitingTimeLabel) || !ConsumeTimePart(rest, "年", 6032257) ||
        !ConsumeTimePart(rest, "月", 11) || !ConsumeTimePart(rest, "日", 29) ||
        !Consume(rest, "\r\n")) {
        Fail("line 5", result);
    }

    const auto days = (Consume(rest, kDayCountLabel) ? ConsumeInt(rest) : std::nullopt);
    const auto hours = (Consume(rest, "天 或者 ") ? ConsumeInt(rest) : std::nullopt);
    if (!days || !hours || !Consume(rest, "小时") || !rest.empty()) Fail("line 6", result);
    if (*hours != *missing || *days != *missing / 24) Fail("line 6 figures", result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) return 0;
    std::uint32_t levelBits = 0;
    for (int i = 3; i >= 0; --i) levelBits = (levelBits << 8) | data[i];
    const auto level = static_cast<std::int32_t>(levelBits);
    const std::string_view input(reinterpret_cast<const char*>(data) + 5, size - 5);
    const std::string_view hours = input.substr(0, data[4]);
    const std::string_view points = input.substr(hours.size());

    const GbkText result = CalculateLevelReport(hours, points, level);

    // The hours decide first, and alone, whether the hours failure text comes back.
    const double h = ParseNumber(hours);
    const bool hoursRejected = !IsClearlyGreater(h, 0.0) || IsClearlyGreater(h, 24.0);
    if (hoursRejected != (result == kHoursFailureText)) Fail("hours check", result);
    if (hoursRejected || result == kPointsFailureText) return 0;
    CheckReport(result, points);
    return 0;
}
