#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "study/StudyDocument.h"

namespace ldc {

// Limits of what a study file may hold. Refused with a Spanish message, before anything
// is filled or written: the program never writes a file it could not read back.
inline constexpr int kMaxFileLevels = 10;
inline constexpr int kMaxFileRows = 100000;

// A study file read whole, before anything goes into the study window. Texts are UTF-8.
struct StudyFileData {
    std::array<std::string, 7> fields;               // lines 1 to 7, in StudyField order
    int levelCount = 0;                              // k, from line 7; levels.size()
    std::vector<std::array<std::string, 2>> levels;  // level value, replicate count
    int rowCount = 0;                                // N, from line 8 + 2k; rows.size()
    std::vector<std::array<std::string, 2>> rows;    // data grid columns 1 and 2
};

// Reads a study file: Windows-1252 text, one value per line. A value ends at the first
// CR (a LF right after it belongs to the line end; a lone LF is part of the value), a
// Ctrl-Z (byte 26) ends the readable text, lines missing at the end read as empty and
// lines after the last expected one are ignored. Raises the conversion error on a level
// count or a data count that is not a whole number, and refuses counts beyond the limits.
StudyFileData parseStudyFile(std::string_view bytes);
StudyFileData readStudyFileData(std::istream& in);

// Fills the study from what was read: the seven texts, the grid sizes, the caption, the
// level grid, the data grid and the row labels (whose replicate counts may still raise
// a conversion error, after the rest has been filled).
void applyStudyFileData(const StudyFileData& data, StudyDocument& study,
                        const std::string& caption);

// Opens the file at `path` and fills the study, the caption becoming `path`.
void openStudyFile(const std::string& path, StudyDocument& study);

// The bytes of the study file for the study as it stands. Raises on a level count or a
// replicate count that is not a whole number, on counts beyond the file's limits and on
// a character that Windows-1252 cannot hold or that would break the line structure.
std::string studyFileBytes(const StudyDocument& study);

// Writes studyFileBytes to the stream; a failing stream raises "Disk full".
void writeStudyFile(std::ostream& out, const StudyDocument& study);

// Saves the study to `path` without ever destroying the previous file: the content goes
// to a temporary file in the same folder, which replaces the target only when complete.
void saveStudyFile(const std::string& path, const StudyDocument& study);

}  // namespace ldc
