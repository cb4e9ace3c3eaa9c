#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchStudies.h"
#include "calc/Ucalculo.h"
#include "calc/ValidationStatistics.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"
#include "study/Numbers.h"

namespace {

using ldc::bench::studyOf;

void computeCalibration(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const ldc::CalibrationStudy study = studyOf(static_cast<int>(state.range(0)));
    ldc::CalibrationResults results;
    for (auto _ : state) {
        ldc::ComputeCalibration(study, results);
        benchmark::DoNotOptimize(results);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(computeCalibration)->Arg(9)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A study whose slope the sums cannot tell from zero is read a second time to decide.
void refuseFlatStudy(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const ldc::CalibrationStudy study = studyOf(static_cast<int>(state.range(0)), true);
    ldc::CalibrationResults results;
    for (auto _ : state) {
        try {
            ldc::ComputeCalibration(study, results);
            state.SkipWithError("a flat line was calculated");
        } catch (const ldc::Error&) {
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(refuseFlatStudy)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The validation statistics on the same studies' converted values, read once: what the
// validation view recomputes when α, β, k or m change.
void validationStatistics(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const std::vector<ldc::LevelResults> levels =
        ldc::studyLevelResults(studyOf(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        ldc::ValidationStatistics statistics = ldc::computeValidationStatistics(levels);
        benchmark::DoNotOptimize(statistics);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(validationStatistics)->Arg(9)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Reading the study's texts as well, as ldc-calc --json does for each file.
void validationStatisticsFromStudy(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const ldc::CalibrationStudy study = studyOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ldc::ValidationStatistics statistics =
            ldc::computeValidationStatistics(ldc::studyLevelResults(study));
        benchmark::DoNotOptimize(statistics);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(validationStatisticsFromStudy)
    ->Arg(9)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
