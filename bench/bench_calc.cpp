// Times the level calculation request at levels across the 32-bit range, with a megabyte of
// points text, and the plain step loop run to the fixed point as the baseline; prints how many
// times faster than the baseline the slowest request at a level is.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "calc/level_report.h"
#include "calc/levels.h"
#include "calc/numeric_text.h"

namespace {

using namespace tessarune::calc;

// The level with the most steps left after its checkpoint, just below the fixed point.
constexpr std::int32_t kWorstLevel =
    (detail::kFixedPointStep / detail::kCheckpointInterval) * detail::kCheckpointInterval - 1;

// Points as high as the request accepts, capped just below the last of the 10000 sums: the
// current level is then searched through the whole table.
std::string PointsFor(std::int32_t level) {
    const std::int32_t target = TruncateToInt32(PointsForLevel(level));
    return FormatInt(std::min(target, 25006447));
}

void LevelRequest(benchmark::State& state) {
    const auto level = static_cast<std::int32_t>(state.range(0));
    const std::string points = PointsFor(level);
    for (auto _ : state) {
        GbkText report = CalculateLevelReport("8", points, level);
        benchmark::DoNotOptimize(report);
    }
}
BENCHMARK(LevelRequest)
    ->Arg(64)
    ->Arg(768)
    ->Arg(10000)
    ->Arg(1000000)
    ->Arg(16777215)
    ->Arg(24815773)
    ->Arg(kWorstLevel)
    ->Arg(2147483647);

void MegabytePointsRequest(benchmark::State& state, std::string_view point,
                           std::string_view digit) {
    // "0.000...": zero spelled over a megabyte, shown whole in line 2.
    std::string points(point);
    while (points.size() < (1u << 20)) points += digit;
    for (auto _ : state) {
        GbkText report = CalculateLevelReport("8", points, 64);
        benchmark::DoNotOptimize(report);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(points.size()));
}
BENCHMARK_CAPTURE(MegabytePointsRequest, ascii, ".", "0");
BENCHMARK_CAPTURE(MegabytePointsRequest, full_width, "．", "０");

void PlainStepLoopToFixedPoint(benchmark::State& state) {
    for (auto _ : state) {
        detail::PointStepState sequence = detail::StepPointSequence(detail::kFixedPointStep);
        benchmark::DoNotOptimize(sequence);
    }
}
BENCHMARK(PlainStepLoopToFixedPoint)->Unit(benchmark::kMillisecond);

// Keeps the real time of the slowest level request and of the baseline, in seconds, while the
// console shows every run as usual.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions, the median of each case counts; otherwise its one run.
            const bool counted = run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median"
                                                                   : run.repetitions <= 1;
            if (!counted || run.error_occurred) continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.benchmark_name().rfind("LevelRequest/", 0) == 0) {
                slowestRequest = std::max(slowestRequest, seconds);
            } else if (run.benchmark_name().rfind("PlainStepLoopToFixedPoint", 0) == 0) {
                baseline = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double slowestRequest = 0.0;
    double baseline = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.slowestRequest > 0.0 && reporter.baseline > 0.0) {
        std::printf("\nplain loop to the fixed point / slowest level request = %.0f\n",
                    reporter.baseline / reporter.slowestRequest);
    }
    benchmark::Shutdown();
    return 0;
}
