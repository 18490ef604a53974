#include "calc/levels.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "calc/numeric_text.h"

namespace tessarune::calc {

namespace {

constexpr std::int32_t kTableSteps = 10000;

// The sums after steps 1 to 10000, stepped at compile time.  The compiler's constant float
// arithmetic is binary32 with ties to even; a test checks every entry against the step loop run at
// run time.
constexpr std::array<float, kTableSteps> kFirstSums = [] {
    std::array<float, kTableSteps> sums{};
    detail::PointStepState state;
    for (float& sum : sums) {
        state.Advance();
        sum = state.sum;
    }
    return sums;
}();

constexpr float kCheckpointSums[] = {
#include "calc/level_checkpoints.inc"
};
static_assert(std::size(kCheckpointSums) ==
              (detail::kFixedPointStep - 1) / detail::kCheckpointInterval + 1);

// The sum from detail::kFixedPointStep on.
constexpr float kFixedPointSum = 140737488355328.0f;

// The step after `steps` steps: it grows by 0.5 exactly until it reaches 2^23 after 16777215
// steps, and adding 0.5 to 2^23 is a tie that rounds back to 2^23.
float StepAfter(std::int32_t steps) {
    return static_cast<float>(std::min(steps, 16777215) + 1) * 0.5f;
}

// The sum after `steps` steps (0 < steps < kFixedPointStep): resumes from the last checkpoint at
// or below and does fewer than kCheckpointInterval steps.
float SumFromCheckpoint(std::int32_t steps) {
    const std::int32_t checkpoint = steps / detail::kCheckpointInterval;
    std::int32_t done = checkpoint * detail::kCheckpointInterval;
    detail::PointStepState state{StepAfter(done),
                                 kCheckpointSums[static_cast<std::size_t>(checkpoint)]};
    for (; done < steps; ++done) state.Advance();
    return state.sum;
}

float SumAfter(std::int32_t steps) {
    if (steps <= 0) return 0.0f;
    if (steps <= kTableSteps) return kFirstSums[static_cast<std::size_t>(steps - 1)];
    if (steps >= detail::kFixedPointStep) return kFixedPointSum;
    return SumFromCheckpoint(steps);
}

float AddOne(float sum) {
    return static_cast<float>(static_cast<double>(sum) + 1.0);
}

}  // namespace

float PointsForLevel(std::int32_t level) {
    return AddOne(SumAfter(level));
}

std::int32_t LevelForPoints(float points) {
    // The sums never decrease, so the first one above the points is an upper bound.  NaN is
    // above nothing and below nothing, which lands at the end as in the walk.
    const auto first = std::upper_bound(kFirstSums.begin(), kFirstSums.end(), points);
    if (first == kFirstSums.end()) return 0;
    return static_cast<std::int32_t>(first - kFirstSums.begin()) + 2;
}

WaitingTime SplitWaitingDays(std::int32_t missing, std::int32_t hoursPerDay) {
    const std::int32_t totalDays =
        TruncateToInt32(static_cast<double>(missing) / static_cast<double>(hoursPerDay));
    const std::int32_t years = TruncateToInt32(static_cast<double>(totalDays) / 356.0);
    const std::int32_t rest =
        TruncateToInt32(static_cast<double>(totalDays) - static_cast<double>(years) * 356.0);
    const std::int32_t months = TruncateToInt32(static_cast<double>(rest) / 30.0);
    const std::int32_t days =
        TruncateToInt32(static_cast<double>(rest) - static_cast<double>(months) * 30.0);
    return {years, months, days};
}

namespace detail {

PointStepState StepPointSequence(std::int32_t steps) {
    PointStepState state;
    for (std::int32_t i = 0; i < steps; ++i) state.Advance();
    return state;
}

float PointsForLevelByStepping(std::int32_t level) {
    return AddOne(StepPointSequence(level).sum);
}

std::int32_t LevelForPointsByStepping(float points) {
    PointStepState state;
    for (std::int32_t i = 1; i <= kTableSteps; ++i) {
        state.Advance();
        if (state.sum > points) return i + 1;
    }
    return 0;
}

std::span<const float> LevelCheckpointSums() {
    return kCheckpointSums;
}

std::span<const float> FirstStepSums() {
    return kFirstSums;
}

}  // namespace detail

}  // namespace tessarune::calc
