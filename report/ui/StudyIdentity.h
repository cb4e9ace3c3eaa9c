#pragma once

#include <QString>

#include "report/PageIdentity.h"

// The identity of the open study window's printed pages at this moment: its file (the
// window's caption; "Nuevo" names a study never saved) read from disk now. The study
// window must be open.
ldc::PageIdentity openStudyIdentity();

// The identity of `study` held in the file at `path` (empty: never saved), printed now.
ldc::PageIdentity studyIdentity(const ldc::StudyDocument& study, const QString& path);
