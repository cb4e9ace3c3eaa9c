#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "BenchStudies.h"
#include "calc/ReferenceData.h"
#include "calc/SelfVerification.h"
#include "files/AuditTrail.h"
#include "report/DrawingSurface.h"
#include "report/IdentifiedSurface.h"
#include "report/ValidationPage.h"
#include "study/CalibrationStudy.h"
#include "study/Numbers.h"

namespace {

using ldc::bench::studyOf;
namespace fs = std::filesystem;

// A printer that draws nothing: what is measured is the composition, not the painting.
class NullSurface : public ldc::DrawingSurface {
public:
    void beginDoc() override {}
    void endDoc() override {}
    void abortDoc() override {}
    void newPage() override { ++pages; }
    void setFont(const std::string&, int pointSize) override { m_points = pointSize; }
    int fontHeight() const override { return m_points * 25 / 3; }
    int fontPointSize() const override { return m_points; }
    int textWidth(const std::string& text) const override {
        return 4 * m_points * static_cast<int>(text.size());
    }
    void textOut(int, int, const std::string&) override {}
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}
    int pageWidth() const override { return 4800; }
    int pageHeight() const override { return 6300; }
    int pages = 0;

private:
    int m_points = 10;
};

// The validation page with the identity on every page, as the record and the print commands
// compose it: every residual is listed, so a large study runs to many pages.
void validationPageWithIdentity(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const ldc::CalibrationStudy study = studyOf(static_cast<int>(state.range(0)));
    const ldc::PageIdentity identity{"estudio.w9c", std::string(64, 'a'), std::string(64, 'a'),
                                     "QORVAL v.w. 3.1", "2026-12-06T17:05:03+01:00"};
    for (auto _ : state) {
        NullSurface paper;
        ldc::IdentifiedSurface identified(paper, identity);
        ldc::printValidationPage(identified, study, {});
        benchmark::DoNotOptimize(paper.pages);
    }
}
BENCHMARK(validationPageWithIdentity)
    ->Arg(9)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// One entry appended to a trail that already holds `range(0)` entries: the last line is read
// backwards, so the cost should not grow with the trail. Each append is flushed to the disk.
void auditAppend(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("ldc-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string study = (dir / "estudio.w9c").string();
    fs::remove(ldc::auditTrailPath(study));
    for (long i = 0; i < state.range(0); ++i)
        ldc::appendAuditEntry(study, ldc::newAuditEntry(ldc::auditAction::open));
    for (auto _ : state)
        ldc::appendAuditEntry(study, ldc::newAuditEntry(ldc::auditAction::print));
    fs::remove_all(dir);
}
BENCHMARK(auditAppend)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The whole self-verification, as Ayuda > Verificación del programa runs it.
void selfVerification(benchmark::State& state) {
    ldc::setDecimalSeparator('.');
    const std::vector<ldc::ReferenceCase> cases = ldc::referenceCases();
    for (auto _ : state) {
        std::vector<ldc::VerificationRow> rows = ldc::runSelfVerification(cases);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(selfVerification)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
