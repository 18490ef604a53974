#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "calc/numeric_text.h"

// The level calculation request: from the daily hours, the current points and the target level,
// the six-line report shown to the user, or one of two failure texts.

namespace tessarune::calc {

// The fixed start of each of the six report lines, in order.  Lines are separated by CR LF; the
// second line continues with the points text as passed in, the others with figures.
extern const std::string_view kReportHeading;       // line 1, nothing follows
extern const std::string_view kCurrentPointsLabel;  // line 2, then the points text verbatim
extern const std::string_view kLevelLabel;          // line 3, then the current level
extern const std::string_view kMissingPointsLabel;  // line 4, then the missing points
extern const std::string_view kWaitingTimeLabel;    // line 5, then years, months, days
extern const std::string_view kDayCountLabel;       // line 6, then days of 24 hours and hours
extern const std::array<std::string_view, 6> kReportLinePrefixes;

// The whole result when the hours are not above 0 or above 24 (beyond the tolerance).
extern const std::string_view kHoursFailureText;
// The whole result when the current points lie beyond the target level's points.
extern const std::string_view kPointsFailureText;

// Computes the report for the target level; checks the hours first, then the points, and gives
// the failure text of the first check that fails.  Texts without a number read as 0.  The
// target's points are computed first, whatever the inputs.
GbkText CalculateLevelReport(std::string_view hoursText, std::string_view pointsText,
                             std::int32_t targetLevel);

}  // namespace tessarune::calc
