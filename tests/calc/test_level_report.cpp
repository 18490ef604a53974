#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/level_report.h"
#include "tests/calc/checks.h"

namespace tessarune::calc {
namespace {

using testing::SameBytes;

struct ReportCase {
    std::int32_t level;
    std::string_view hours;
    std::string_view points;
    std::string_view lines[6];
};

std::string JoinedLines(const std::string_view (&lines)[6]) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

void ExpectReports(const ReportCase* begin, const ReportCase* end) {
    for (const ReportCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(::testing::Message() << "level " << c->level << ", hours [" << c->hours
                                          << "], points [" << testing::Hex(c->points) << "]");
        EXPECT_TRUE(
            SameBytes(CalculateLevelReport(c->hours, c->points, c->level), JoinedLines(c->lines)));
    }
}

TEST(CalculateLevelReport, ComposesTheWorkedReports) {
    const ReportCase cases[] = {
        {64,
         "8",
         "500",
         {"经过软件系统的计算：", "您当前积分：500", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
        {768,
         "24",
         "0",
         {"经过软件系统的计算：", "您当前积分：0", "对应等级：2", "升级所需积分：148033",
          "需要时间：17年3月26日", "具体时间：6168天 或者 148033小时"}},
        {512,
         "1",
         "0",
         {"经过软件系统的计算：", "您当前积分：0", "对应等级：2", "升级所需积分：65921",
          "需要时间：185年2月1日", "具体时间：2746天 或者 65921小时"}},
        // Under one hour a day the whole hours are 0: the quotient is infinite, every part 0.
        {64,
         "0.5",
         "1000",
         {"经过软件系统的计算：", "您当前积分：1000", "对应等级：63", "升级所需积分：73",
          "需要时间：", "具体时间：3天 或者 73小时"}},
        {768,
         "8",
         "-3000000000",
         {"经过软件系统的计算：", "您当前积分：-3000000000", "对应等级：2",
          "升级所需积分：-1294819263", "需要时间：-454641年-7月-1日",
          "具体时间：-53950802天 或者 -1294819263小时"}},
    };
    ExpectReports(std::begin(cases), std::end(cases));
}

TEST(CalculateLevelReport, ReadsHoursAsWholeHoursWithinTheTolerance) {
    const ReportCase cases[] = {
        {64,
         "8.9",
         "500",
         {"经过软件系统的计算：", "您当前积分：500", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
        {64,
         "８",
         "500",
         {"经过软件系统的计算：", "您当前积分：500", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
        {64,
         "24.00000009",
         "0",
         {"经过软件系统的计算：", "您当前积分：0", "对应等级：2", "升级所需积分：1073",
          "需要时间：1月14日", "具体时间：44天 或者 1073小时"}},
        {64,
         "0.0000002",
         "1073",
         {"经过软件系统的计算：", "您当前积分：1073", "对应等级：66", "升级所需积分：0",
          "需要时间：", "具体时间：0天 或者 0小时"}},
    };
    ExpectReports(std::begin(cases), std::end(cases));
}

TEST(CalculateLevelReport, ShowsThePointsTextAsTyped) {
    using namespace std::string_view_literals;
    const ReportCase cases[] = {
        {64,
         "8",
         "５００",
         {"经过软件系统的计算：", "您当前积分：５００", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
        {64,
         "8",
         "",
         {"经过软件系统的计算：", "您当前积分：", "对应等级：2", "升级所需积分：1073",
          "需要时间：4月14日", "具体时间：44天 或者 1073小时"}},
        {64,
         "8",
         "abc",
         {"经过软件系统的计算：", "您当前积分：abc", "对应等级：2", "升级所需积分：1073",
          "需要时间：4月14日", "具体时间：44天 或者 1073小时"}},
        {64,
         "8",
         " 500 分\r\n",
         {"经过软件系统的计算：", "您当前积分： 500 分\r\n", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
        // A text ends at its first NUL, in the report as in the number.
        {64,
         "8",
         "500\0"
         "99"sv,
         {"经过软件系统的计算：", "您当前积分：500", "对应等级：45", "升级所需积分：573",
          "需要时间：2月11日", "具体时间：23天 或者 573小时"}},
    };
    ExpectReports(std::begin(cases), std::end(cases));
}

TEST(CalculateLevelReport, ReportsOddPointsAsTheyFall) {
    const ReportCase cases[] = {
        {64,
         "8",
         "1073",
         {"经过软件系统的计算：", "您当前积分：1073", "对应等级：66", "升级所需积分：0",
          "需要时间：", "具体时间：0天 或者 0小时"}},
        {64,
         "8",
         "1073.00000005",
         {"经过软件系统的计算：", "您当前积分：1073.00000005", "对应等级：66", "升级所需积分：0",
          "需要时间：", "具体时间：0天 或者 0小时"}},
        {64,
         "8",
         "500.7",
         {"经过软件系统的计算：", "您当前积分：500.7", "对应等级：45", "升级所需积分：572",
          "需要时间：2月11日", "具体时间：23天 或者 572小时"}},
        {64,
         "8",
         "-100",
         {"经过软件系统的计算：", "您当前积分：-100", "对应等级：2", "升级所需积分：1173",
          "需要时间：4月26日", "具体时间：48天 或者 1173小时"}},
        // N - cur is +infinity, which truncates to 0.
        {64,
         "8",
         "-1e999",
         {"经过软件系统的计算：", "您当前积分：-1e999", "对应等级：2", "升级所需积分：0",
          "需要时间：", "具体时间：0天 或者 0小时"}},
        {0,
         "8",
         "1",
         {"经过软件系统的计算：", "您当前积分：1", "对应等级：3", "升级所需积分：0", "需要时间：",
          "具体时间：0天 或者 0小时"}},
        {-2147483647 - 1,
         "8",
         "0",
         {"经过软件系统的计算：", "您当前积分：0", "对应等级：2", "升级所需积分：1", "需要时间：",
          "具体时间：0天 或者 1小时"}},
        {10000,
         "24",
         "25006446",
         {"经过软件系统的计算：", "您当前积分：25006446", "对应等级：10001", "升级所需积分：2",
          "需要时间：", "具体时间：0天 或者 2小时"}},
        // As a float these points are 25006448: no sum of the 10000 steps is above them.
        {10000,
         "24",
         "25006447",
         {"经过软件系统的计算：", "您当前积分：25006447", "对应等级：0", "升级所需积分：1",
          "需要时间：", "具体时间：0天 或者 1小时"}},
        {24815774,
         "8",
         "0",
         {"经过软件系统的计算：", "您当前积分：0", "对应等级：2", "升级所需积分：0", "需要时间：",
          "具体时间：0天 或者 0小时"}},
        {2147483647,
         "24",
         "-8544",
         {"经过软件系统的计算：", "您当前积分：-8544", "对应等级：2", "升级所需积分：8544",
          "需要时间：1年", "具体时间：356天 或者 8544小时"}},
    };
    ExpectReports(std::begin(cases), std::end(cases));
}

TEST(CalculateLevelReport, FailsOnHoursOutsideZeroToTwentyFour) {
    const std::string_view failure =
        "经过软件系统的计算：\r\n每日挂机的时间不能比24大切不能小于0,请检查";
    for (std::string_view hours :
         {"0", "abc", "-3", "25", "24.0000002", "1e999", "-1e999", "", "0.0000001", "１e999"}) {
        SCOPED_TRACE(hours);
        EXPECT_TRUE(SameBytes(CalculateLevelReport(hours, "500", 64), failure));
    }
    // The hours are checked before the points.
    EXPECT_TRUE(SameBytes(CalculateLevelReport("abc", "99999", 64), failure));
}

TEST(CalculateLevelReport, FailsOnPointsBeyondTheTarget) {
    const std::string_view failure =
        "经过软件系统的计算：\r\n您的等级已经超过了所选择的积分等级,所以查询失败.";
    struct Case {
        std::int32_t level;
        std::string_view points;
    };
    const Case cases[] = {
        {64, "1074"},    {64, "1073.0000002"},      {64, "1e999"}, {0, "2"}, {92681, "0"},
        {24815774, "1"}, {2147483647, "0.0000002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.level << " " << c.points);
        EXPECT_TRUE(SameBytes(CalculateLevelReport("8", c.points, c.level), failure));
    }
}

TEST(CalculateLevelReport, ExportsTheFixedTexts) {
    const std::string_view prefixes[] = {"经过软件系统的计算：", "您当前积分：", "对应等级：",
                                         "升级所需积分：",       "需要时间：",   "具体时间："};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(SameBytes(kReportLinePrefixes[i], prefixes[i])) << "line " << i + 1;
        // Code page 936 text: every prefix ends with the full-width colon 0xA3 0xBA.
        EXPECT_TRUE(kReportLinePrefixes[i].ends_with("\xA3\xBA")) << "line " << i + 1;
    }
    EXPECT_TRUE(SameBytes(kReportHeading, prefixes[0]));
    EXPECT_TRUE(SameBytes(kDayCountLabel, prefixes[5]));
    EXPECT_TRUE(SameBytes(kHoursFailureText,
                          "经过软件系统的计算：\r\n每日挂机的时间不能比24大切不能小于0,请检查"));
    EXPECT_TRUE(
        SameBytes(kPointsFailureText,
                  "经过软件系统的计算：\r\n您的等级已经超过了所选择的积分等级,所以查询失败."));
}

}  // namespace
}  // namespace tessarune::calc
