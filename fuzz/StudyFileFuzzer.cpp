#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/StudyFile.h"
#include "study/CalibrationStudy.h"
#include "study/LdcError.h"

// Any byte sequence opened as a study file either fills a study or raises ldc::Error.
// A study that opened always saves, complete or in progress (an error escaping here is a
// finding), to a file that opens to the same study and saves to the same bytes again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ldc::CalibrationStudy study;
    try {
        const std::string_view bytes(reinterpret_cast<const char*>(data), size);
        ldc::applyStudyFileData(ldc::parseStudyFile(bytes), study, "fuzz.w9c");
    } catch (const ldc::Error&) {
        return 0;
    }
    const std::string saved = ldc::studyFileBytes(study);
    ldc::CalibrationStudy reopened;
    ldc::applyStudyFileData(ldc::parseStudyFile(saved), reopened, "fuzz.w9c");
    if (ldc::studyFileBytes(reopened) != saved)
        std::abort();
    return 0;
}
