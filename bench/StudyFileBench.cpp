#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <string>

#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"
#include "study/StudyLayout.h"

namespace {

using ldc::StudyField;
using ldc::StudyTable;

constexpr int kLevels = 10;
constexpr int kRows = 10000;

// Ten levels of a thousand replicates each, values as an analyst types them.
ldc::CalibrationStudy largeStudy() {
    ldc::CalibrationStudy study;
    study.setText(StudyField::method, "Valoración de cafeína por HPLC");
    study.setText(StudyField::analyst, "María López");
    study.setText(StudyField::date, "14/03/2024");
    study.setText(StudyField::addedUnits, "mg");
    study.setText(StudyField::recoveredUnits, "mg");
    study.setText(StudyField::limitBasis, ldc::kBasisRegression);
    study.setText(StudyField::levelCount, std::to_string(kLevels));
    study.setColumnCount(StudyTable::levels, kLevels + 1);
    for (int i = 1; i <= kLevels; ++i) {
        setLevelValueText(study, i, std::to_string(i * 2) + ",5");
        setReplicateCountText(study, i, std::to_string(kRows / kLevels));
    }
    study.setRowCount(StudyTable::results, kRows + 1);
    for (int r = 1; r <= kRows; ++r)
        setRecoveredAmountText(study, r, std::to_string(r % 97) + "," + std::to_string(r));
    ldc::writeRowLabels(study, kLevels);
    return study;
}

std::string benchPath() {
    return "/tmp/ldc-bench-" + std::to_string(::getpid()) + ".w9c";
}

void readFromMemory(benchmark::State& state) {
    const std::string bytes = ldc::studyFileBytes(largeStudy());
    for (auto _ : state)
        benchmark::DoNotOptimize(ldc::parseStudyFile(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}
BENCHMARK(readFromMemory)->Unit(benchmark::kMillisecond);

// Reading plus filling the in-memory study, labels included.
void openFromMemory(benchmark::State& state) {
    const std::string bytes = ldc::studyFileBytes(largeStudy());
    for (auto _ : state) {
        ldc::CalibrationStudy study;
        ldc::applyStudyFileData(ldc::parseStudyFile(bytes), study, "bench.w9c");
        benchmark::DoNotOptimize(study);
    }
}
BENCHMARK(openFromMemory)->Unit(benchmark::kMillisecond);

void writeToMemory(benchmark::State& state) {
    const ldc::CalibrationStudy study = largeStudy();
    for (auto _ : state)
        benchmark::DoNotOptimize(ldc::studyFileBytes(study));
}
BENCHMARK(writeToMemory)->Unit(benchmark::kMillisecond);

void openFromFile(benchmark::State& state) {
    const std::string path = benchPath();
    ldc::saveStudyFile(path, largeStudy());
    for (auto _ : state) {
        ldc::CalibrationStudy study;
        ldc::openStudyFile(path, study);
        benchmark::DoNotOptimize(study);
    }
    std::remove(path.c_str());
}
BENCHMARK(openFromFile)->Unit(benchmark::kMillisecond);

// Includes the flush to disk that makes the save safe; its cost depends on the device.
void saveToFile(benchmark::State& state) {
    const std::string path = benchPath();
    const ldc::CalibrationStudy study = largeStudy();
    for (auto _ : state)
        ldc::saveStudyFile(path, study);
    std::remove(path.c_str());
}
BENCHMARK(saveToFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
