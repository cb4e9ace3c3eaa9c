#pragma once

#include <functional>
#include <string>
#include <vector>

#include "report/DrawingSurface.h"
#include "report/PageIdentity.h"
#include "study/StudyDocument.h"

namespace ldc {

// One printed document of its own (it begins and ends its document), like the general
// page or the results page.
using PageComposition = std::function<void(DrawingSurface&)>;

// The study's whole record, in order: the general page and the results page of the laser
// layout, the results calculated afresh from the study, and the validation page with the
// default parameters.
std::vector<PageComposition> recordPages(const StudyDocument& study);

// Composes the documents one after the other as one document on `surface`: each further
// document continues on a new page. A composition that fails abandons the whole record.
void composeRecord(DrawingSurface& surface, const std::vector<PageComposition>& pages);

// What a record PDF says about itself.
struct RecordMetadata {
    std::string title;    // the method's name
    std::string author;   // the analyst
    std::string creator;  // the program and its version
    std::string subject;  // the study file's SHA-256, or what the file is instead of one
    std::string created;  // ISO 8601 with the offset from UTC, as the pages say
};

RecordMetadata recordMetadata(const StudyDocument& study, const PageIdentity& identity);

// `pdf` with its document information replaced by `metadata`, appended as an incremental
// update so that nothing already written moves. Raises when `pdf` has no trailer to
// update.
std::string withDocumentInfo(const std::string& pdf, const RecordMetadata& metadata);

}  // namespace ldc
