#pragma once

#include <cstdint>
#include <span>

// Levels and waiting time.  Both level operations follow the point step sequence: each level
// adds a step that grows by 0.5, and both the step and the running sum are binary32 values
// rounded at every addition, so from level 5794 on the sums fall below the exact formula.

namespace tessarune::calc {

// The sum of the first `level` steps plus 1, rounded to a float; 1 for a level of 0 or less.
// From level 24815774 on the sum no longer changes and the result is 2^47.
float PointsForLevel(std::int32_t level);

// The index of the first of the 10000 step sums that is strictly above `points`, plus 1: 2 for
// anything below 1 (minus infinity included), up to 10001; 0 when no sum is above (NaN too).
std::int32_t LevelForPoints(float points);

struct WaitingTime {
    std::int32_t years = 0;
    std::int32_t months = 0;
    std::int32_t days = 0;
};

// Splits the truncated quotient missing / hoursPerDay into years of 356 days, months of 30 days
// and days; the parts carry the sign of the quotient.  hoursPerDay == 0 gives all zeros.
WaitingTime SplitWaitingDays(std::int32_t missing, std::int32_t hoursPerDay);

namespace detail {

// One step of the point step sequence; each addition is a binary32 addition, rounded once.
struct PointStepState {
    float step = 0.5f;
    float sum = 0.0f;

    constexpr void Advance() {
        step = step + 0.5f;
        sum = sum + step;
    }
};

// From this step on neither the step nor the sum changes: the step stays at 2^23, the sum at
// 2^47, and adding the step to the sum is a tie that rounds back.
inline constexpr std::int32_t kFixedPointStep = 24815774;

// The state after `steps` steps, stepping one at a time from the start; no shortcut at all.
PointStepState StepPointSequence(std::int32_t steps);

// PointsForLevel by the plain step loop: one step per level, up to 2^31 - 1 steps.
float PointsForLevelByStepping(std::int32_t level);

// LevelForPoints by the plain step walk of up to 10000 steps.
std::int32_t LevelForPointsByStepping(float points);

// Saved sums of the sequence: LevelCheckpointSums()[k] is the sum after k * kCheckpointInterval
// steps, for every checkpoint below kFixedPointStep.  PointsForLevel resumes from them.
inline constexpr std::int32_t kCheckpointInterval = 4096;
std::span<const float> LevelCheckpointSums();

// The sums after steps 1 to 10000 (element i is the sum after i + 1 steps); LevelForPoints
// searches them.
std::span<const float> FirstStepSums();

}  // namespace detail

}  // namespace tessarune::calc
