#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"

// Any byte sequence opened as a study file either fills a study or raises ldc::Error.
// A study that opened and can be saved must save to a file that opens to the same
// study and saves to the same bytes again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    ldc::CalibrationStudy study;
    try {
        const ldc::StudyFileData read = ldc::readStudyFileData(in);
        ldc::applyStudyFileData(read, study, "fuzz.w9c");
    } catch (const ldc::Error&) {
        return 0;
    }

    std::string saved;
    try {
        saved = ldc::studyFileBytes(study);
    } catch (const ldc::Error&) {
        // Replicate counts whose sum lies beyond what a file holds: the data count of
        // the file that was read need not be that sum.
        return 0;
    }
    ldc::CalibrationStudy reopened;
    ldc::applyStudyFileData(ldc::parseStudyFile(saved), reopened, "fuzz.w9c");
    if (ldc::studyFileBytes(reopened) != saved)
        std::abort();
    return 0;
}
