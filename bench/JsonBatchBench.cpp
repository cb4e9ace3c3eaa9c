#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/ValidationStatistics.h"
#include "cli/ValidationRecord.h"

namespace {

constexpr int kStudies = 1000;

// What ldc-calc --json does for a batch of small studies in one process: each of 1,000
// copies of the worked example read from its file, calculated, and written as a record.
void jsonBatchOfWorkedExamples(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("ldc-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directory(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < kStudies; ++i) {
        paths.push_back((folder / ("estudio" + std::to_string(i) + ".w9c")).string());
        std::filesystem::copy_file(LDC_WORKED_EXAMPLE, paths.back(),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    const ldc::ValidationParameters parameters;
    std::string output;
    std::string line;
    for (auto _ : state) {
        output.clear();
        for (const std::string& path : paths) {
            if (!ldc::validationRecord(path, parameters, line))
                state.SkipWithError(line.c_str());
            output += line;
            output += '\n';
        }
        benchmark::DoNotOptimize(output);
    }
    state.SetItemsProcessed(state.iterations() * kStudies);
    std::filesystem::remove_all(folder);
}
BENCHMARK(jsonBatchOfWorkedExamples)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
