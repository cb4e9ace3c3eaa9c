#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "calc/Ucalculo.h"
#include "calc/ValidationStatistics.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"
#include "study/Numbers.h"
#include "study/StudyLayout.h"

namespace {

using ldc::StudyField;
using ldc::StudyTable;

// A study of `results` replicate results spread over up to ten levels, the recovered
// amounts scattered around y = x as an analyst would type them, or (flat) the same
// amounts at every level, a line of slope zero the calculation refuses.
ldc::CalibrationStudy studyOf(int results, bool flat = false) {
    const int levels = results < 10 ? 3 : 10;
    ldc::CalibrationStudy study;
    study.setText(StudyField::limitBasis, ldc::kBasisRegression);
    study.setText(StudyField::levelCount, std::to_string(levels));
    study.setColumnCount(StudyTable::levels, levels + 1);
    study.setRowCount(StudyTable::results, results + 1);
    int row = 1;
    for (int i = 1; i <= levels; ++i) {
        const int count = results / levels + (i <= results % levels ? 1 : 0);
        setLevelValueText(study, i, std::to_string(2 * i));
        setReplicateCountText(study, i, std::to_string(count));
        for (int j = 0; j < count; ++j, ++row)
            study.setCell(StudyTable::results, 1, row,
                          std::to_string(flat ? 2 : 2 * i) + "." +
                              std::to_string(100 + (flat ? j % 7 : row % 97)));
    }
    ldc::writeRowLabels(study, levels);
    return study;
}

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
