#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "study/StudyDocument.h"

namespace ldc {

// Limits of what a study file may hold. Refused with a Spanish message, before anything
// is filled or written: the program never writes a file it could not read back.
inline constexpr int kMaxFileLevels = 10;
inline constexpr int kMaxFileRows = 100000;
inline constexpr int kMaxFileBlanks = 1000;
// A study of the largest size is about a megabyte; a file far beyond that is not a study
// and is refused before it is read.
inline constexpr std::size_t kMaxFileBytes = 32 * 1024 * 1024;

// A study file read whole, before anything goes into the study window. Texts are UTF-8.
struct StudyFileData {
    std::array<std::string, 7> fields;               // lines 1 to 7, in StudyField order
    std::vector<std::array<std::string, 2>> levels;  // level value, replicate count
    std::vector<std::array<std::string, 2>> rows;    // results table columns 1 and 2
    std::vector<std::string> blanks;                 // blank readings
};

// Reads a study file: Windows-1252 text, one value per line. A value ends at the first
// CR (a LF right after it belongs to the line end; a lone LF is part of the value), a
// Ctrl-Z (byte 26) ends the readable text, lines missing at the end read as empty and
// lines after the last expected one are ignored.
//
// A complete study's file gives the level count on line 7, its levels, then the number of
// data rows and the rows: the level count and the data count must be whole numbers and the
// replicate counts whole numbers of zero or more. A study saved in progress, which the
// complete form cannot hold, has in place of the data count the line "estudio en curso:
// niveles L, filas M" (no complete file has it there, so every complete file reads as it
// always did): L levels and M data rows give the tables' sizes, the levels the level count
// places (as many as it says when it is a whole number from 0 to 10, else none) come
// before that line and the others right after it, and the counts are texts like any other.
//
// Blank readings follow the last data row in both forms: the line "blancos: B", then the B
// readings, one a line. Readers that stop after the data read the study without them, and
// a study without blank readings has no such lines, so its file is what it always was.
// Any other line after the data, and everything after the readings, is ignored, leaving
// room for more.
//
// Raises the conversion error (with a context naming the line, and the file when
// `fileName` is given) or refuses counts beyond the limits, negative replicate counts and
// a file that ends before the blank readings it announces.
StudyFileData parseStudyFile(std::string_view bytes, const std::string& fileName = {});

// Fills the study from what was read: the seven texts, the table sizes, the caption, the
// level table, the results table and the row labels, which follow the replicate counts as far
// as they are whole numbers.
void applyStudyFileData(const StudyFileData& data, StudyDocument& study,
                        const std::string& caption);

// Opens the file at `path` and fills the study, the caption becoming `path`. Anything but
// a regular file, and a file larger than kMaxFileBytes, is refused before it is read.
void openStudyFile(const std::string& path, StudyDocument& study);

// The bytes of the study file for the study as it stands. A study whose level count,
// level table, replicate counts and results table agree is written in the complete form;
// any other (a study in progress) with the in-progress line. Raises on tables beyond the
// file's limits and on a character that Windows-1252 cannot hold or that would break the
// line structure.
std::string studyFileBytes(const StudyDocument& study);

// Saves the study to `path` without ever destroying the previous file: the content goes
// to a temporary file in the same folder, which replaces the target only when complete.
void saveStudyFile(const std::string& path, const StudyDocument& study);

}  // namespace ldc
