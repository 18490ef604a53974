#include "calc/level_report.h"

#include "calc/levels.h"

namespace tessarune::calc {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kYears = "年";
constexpr std::string_view kMonths = "月";
constexpr std::string_view kDays = "日";
constexpr std::string_view kDaysOr = "天 或者 ";
constexpr std::string_view kHours = "小时";

// "2月11日": each non-zero part with its unit; empty when all three are zero.
GbkText FormatWaitingTime(const WaitingTime& time) {
    GbkText text;
    if (time.years != 0) text += JoinTexts({FormatInt(time.years), kYears});
    if (time.months != 0) text += JoinTexts({FormatInt(time.months), kMonths});
    if (time.days != 0) text += JoinTexts({FormatInt(time.days), kDays});
    return text;
}

}  // namespace

extern const std::string_view kReportHeading = "经过软件系统的计算：";
extern const std::string_view kCurrentPointsLabel = "您当前积分：";
extern const std::string_view kLevelLabel = "对应等级：";
extern const std::string_view kMissingPointsLabel = "升级所需积分：";
extern const std::string_view kWaitingTimeLabel = "需要时间：";
extern const std::string_view kDayCountLabel = "具体时间：";
extern const std::array<std::string_view, 6> kReportLinePrefixes = {
    kReportHeading,      kCurrentPointsLabel, kLevelLabel,
    kMissingPointsLabel, kWaitingTimeLabel,   kDayCountLabel};

extern const std::string_view kHoursFailureText =
    "经过软件系统的计算：\r\n每日挂机的时间不能比24大切不能小于0,请检查";
extern const std::string_view kPointsFailureText =
    "经过软件系统的计算：\r\n您的等级已经超过了所选择的积分等级,所以查询失败.";

GbkText CalculateLevelReport(std::string_view hoursText, std::string_view pointsText,
                             std::int32_t targetLevel) {
    const std::int32_t targetPoints = TruncateToInt32(PointsForLevel(targetLevel));

    const double hours = ParseNumber(hoursText);
    if (!IsClearlyGreater(hours, 0.0) || IsClearlyGreater(hours, 24.0)) {
        return GbkText(kHoursFailureText);
    }

    const double current = ParseNumber(pointsText);
    if (IsClearlyLess(static_cast<double>(targetPoints), current)) {
        return GbkText(kPointsFailureText);
    }

    const std::int32_t missing = TruncateToInt32(static_cast<double>(targetPoints) - current);
    const std::int32_t wholeHours = TruncateToInt32(hours);
    const GbkText waitingTime = FormatWaitingTime(SplitWaitingDays(missing, wholeHours));
    // The points as a float, read once: ParseSingle is ParseNumber rounded to a float.
    const std::int32_t level = LevelForPoints(detail::RoundToSingle(current));
    const std::int32_t dayCount = TruncateToInt32(static_cast<double>(missing) / 24.0);

    return JoinTexts({kReportHeading, kLineBreak, kCurrentPointsLabel, pointsText, kLineBreak,
                      kLevelLabel, FormatInt(level), kLineBreak, kMissingPointsLabel,
                      FormatInt(missing), kLineBreak, kWaitingTimeLabel, waitingTime, kLineBreak,
                      kDayCountLabel, FormatInt(dayCount), kDaysOr, FormatInt(missing), kHours});
}

}  // namespace tessarune::calc
