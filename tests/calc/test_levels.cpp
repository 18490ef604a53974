#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "calc/levels.h"
#include "calc/numeric_text.h"
#include "tests/calc/checks.h"

namespace tessarune::calc {
namespace {

using testing::SameBits;

constexpr float kInfF = std::numeric_limits<float>::infinity();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

// The result of PointsForLevel for a given step sum: the sum plus 1, taken in doubles and
// rounded to a float.
float PlusOne(float sum) {
    return static_cast<float>(static_cast<double>(sum) + 1.0);
}

TEST(PointsForLevel, GivesTheWorkedValues) {
    struct Case {
        std::int32_t level;
        float points;
        std::int32_t asInteger;
    };
    const Case cases[] = {
        {kMinInt, 1.0f, 1},
        {-1, 1.0f, 1},
        {0, 1.0f, 1},
        {1, 2.0f, 2},
        {2, 3.5f, 3},
        {3, 5.5f, 5},
        {10, 33.5f, 33},
        {64, 1073.0f, 1073},
        {128, 4193.0f, 4193},
        {192, 9361.0f, 9361},
        {256, 16577.0f, 16577},
        {512, 65921.0f, 65921},
        {768, 148033.0f, 148033},
        {1000, 250751.0f, 250751},
        {5793, 8394058.0f, 8394058},
        {5794, 8396955.0f, 8396955},  // exact arithmetic: 8396955.5
        {5796, 8402751.0f, 8402751},  // exact arithmetic: 8402752
        {10000, 25006448.0f, 25006448},
        {10001, 25011448.0f, 25011448},
        {92680, 2147443456.0f, 2147443456},
        {92681, 2147489792.0f, -2147477504},
        {100000, 2500045056.0f, -1794922240},
        {1000000, 249971195904.0f, 863092736},
        {16777215, 73305168019456.0f, -1333788672},
        {24815773, 140737479966720.0f, -8388608},
        {24815774, 140737488355328.0f, 0},
        {24815775, 140737488355328.0f, 0},
        {kMaxInt, 140737488355328.0f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const float points = PointsForLevel(c.level);
        EXPECT_TRUE(SameBits(points, c.points));
        EXPECT_EQ(TruncateToInt32(points), c.asInteger);
    }
}

TEST(PointStepSequence, FollowsTheBinary32Sums) {
    struct Case {
        std::int32_t steps;
        float step;
        float sum;
    };
    const Case cases[] = {
        {0, 0.5f, 0.0f},
        {1, 1.0f, 1.0f},
        {2, 1.5f, 2.5f},
        {3, 2.0f, 4.5f},
        {4, 2.5f, 7.0f},
        {43, 22.0f, 494.5f},
        {44, 22.5f, 517.0f},
        {64, 32.5f, 1072.0f},
        {65, 33.0f, 1105.0f},
        {5793, 2897.0f, 8394057.0f},
        {5794, 2897.5f, 8396954.0f},  // the first rounded sum
        {9999, 5000.0f, 25001448.0f},
        {10000, 5000.5f, 25006448.0f},
        {16777214, 8388607.5f, 73305159630848.0f},
        {16777215, 8388608.0f, 73305168019456.0f},  // the step reaches 2^23
        {16777216, 8388608.0f, 73305176408064.0f},  // and stays there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        const detail::PointStepState state = detail::StepPointSequence(c.steps);
        EXPECT_TRUE(SameBits(state.step, c.step));
        EXPECT_TRUE(SameBits(state.sum, c.sum));
    }
}

TEST(PointStepSequence, StopsChangingAtTheFixedPoint) {
    const detail::PointStepState before = detail::StepPointSequence(detail::kFixedPointStep - 1);
    detail::PointStepState fixed = before;
    fixed.Advance();
    EXPECT_TRUE(SameBits(fixed.step, 8388608.0f));
    EXPECT_TRUE(SameBits(fixed.sum, 140737488355328.0f));
    EXPECT_NE(before.sum, fixed.sum);

    // A step depends on the state alone, so a step that changes nothing never will again.
    detail::PointStepState next = fixed;
    next.Advance();
    EXPECT_TRUE(SameBits(next.step, fixed.step));
    EXPECT_TRUE(SameBits(next.sum, fixed.sum));
}

// Runs the step loop once to the fixed point and checks every saved sum against it, and
// PointsForLevel at every level next to a checkpoint (where the fewest and the most steps are
// left to do) and at a spread of levels in between.
TEST(PointsForLevel, MatchesTheStepLoopAtEveryCheckpoint) {
    const auto checkpoints = detail::LevelCheckpointSums();
    const auto firstSums = detail::FirstStepSums();
    constexpr std::int32_t kInterval = detail::kCheckpointInterval;
    ASSERT_EQ(checkpoints.size(),
              static_cast<std::size_t>((detail::kFixedPointStep - 1) / kInterval + 1));
    ASSERT_EQ(firstSums.size(), 10000u);

    detail::PointStepState state;
    int failures = 0;
    for (std::int32_t steps = 0; steps <= detail::kFixedPointStep + 1 && failures < 10; ++steps) {
        if (steps > 0) state.Advance();
        const std::int32_t offset = steps % kInterval;
        if (offset == 0 && steps < detail::kFixedPointStep) {
            const float saved = checkpoints[static_cast<std::size_t>(steps / kInterval)];
            if (!SameBits(saved, state.sum)) {
                ADD_FAILURE() << "checkpoint after " << steps
                              << " steps: " << SameBits(saved, state.sum).message();
                ++failures;
            }
        }
        if (steps >= 1 && steps <= 10000 &&
            !SameBits(firstSums[static_cast<std::size_t>(steps - 1)], state.sum)) {
            ADD_FAILURE()
                << "table sum after " << steps << " steps: "
                << SameBits(firstSums[static_cast<std::size_t>(steps - 1)], state.sum).message();
            ++failures;
        }
        if (offset == 0 || offset == 1 || offset == kInterval - 1 || steps % 4093 == 0 ||
            steps >= detail::kFixedPointStep - 1) {
            const auto same = SameBits(PointsForLevel(steps), PlusOne(state.sum));
            if (!same) {
                ADD_FAILURE() << "level " << steps << ": " << same.message();
                ++failures;
            }
        }
    }
}

TEST(PointsForLevel, MatchesThePlainLoop) {
    for (std::int32_t level : {-5, 0, 1, 64, 768, 10000, 10001, 123457, 1000000}) {
        SCOPED_TRACE(level);
        EXPECT_TRUE(SameBits(PointsForLevel(level), detail::PointsForLevelByStepping(level)));
    }
}

TEST(LevelForPoints, GivesTheWorkedValues) {
    struct Case {
        float points;
        std::int32_t level;
    };
    const Case cases[] = {
        {-kInfF, 2},
        {-5.0f, 2},
        {0.0f, 2},
        {0.5f, 2},
        {1.0f, 3},
        {2.5f, 4},
        {7.0f, 6},
        {494.0f, 44},
        {494.5f, 45},
        {500.0f, 45},
        {516.9f, 45},
        {517.0f, 46},
        {1071.5f, 65},
        {1072.0f, 66},
        {1073.0f, 66},
        {4193.0f, 130},
        {25001446.0f, 10000},
        {25001448.0f, 10001},
        {25006446.0f, 10001},
        {25006448.0f, 0},
        {30000000.0f, 0},
        {kInfF, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.points);
        EXPECT_EQ(LevelForPoints(c.points), c.level);
        EXPECT_EQ(detail::LevelForPointsByStepping(c.points), c.level);
    }
}

TEST(LevelForPoints, ChangesExactlyAtEverySum) {
    // Points equal to the sum after i steps give i + 2; the float just below gives i + 1.
    detail::PointStepState state;
    for (std::int32_t steps = 1; steps <= 10000; ++steps) {
        state.Advance();
        const float below = std::nextafter(state.sum, -kInfF);
        const std::int32_t atSum = LevelForPoints(state.sum);
        const std::int32_t belowSum = LevelForPoints(below);
        if (atSum != (steps < 10000 ? steps + 2 : 0) || belowSum != steps + 1) {
            ADD_FAILURE() << "after " << steps << " steps, sum " << state.sum << ": level " << atSum
                          << " at the sum, " << belowSum << " just below";
            return;
        }
    }
}

TEST(SplitWaitingDays, SplitsIntoYearsMonthsAndDays) {
    struct Case {
        std::int32_t missing;
        std::int32_t hours;
        std::int32_t years;
        std::int32_t months;
        std::int32_t days;
    };
    const Case cases[] = {
        {573, 8, 0, 2, 11},
        {1073, 8, 0, 4, 14},
        {148033, 24, 17, 3, 26},
        {8544, 24, 1, 0, 0},
        {720, 24, 0, 1, 0},
        {355, 1, 0, 11, 25},
        {386, 1, 1, 1, 0},
        {23, 24, 0, 0, 0},
        {kMaxInt, 1, 6032257, 5, 5},
        {kMaxInt, 24, 251344, 0, 21},
        {-1294819263, 8, -454641, -7, -1},
        {100, -1, 0, -3, -10},
        {kMinInt, -1, -6032257, -5, -6},  // the quotient 2^31 wraps to -2^31
        {kMinInt, 1, -6032257, -5, -6},
        {100, 0, 0, 0, 0},
        {-100, 0, 0, 0, 0},
        {0, 0, 0, 0, 0},
        {0, 8, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.missing << " / " << c.hours);
        const WaitingTime time = SplitWaitingDays(c.missing, c.hours);
        EXPECT_EQ(time.years, c.years);
        EXPECT_EQ(time.months, c.months);
        EXPECT_EQ(time.days, c.days);
    }
}

}  // namespace
}  // namespace tessarune::calc
