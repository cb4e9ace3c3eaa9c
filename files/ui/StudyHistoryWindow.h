#pragma once

#include <QWidget>

#include "files/AuditTrail.h"

class QLabel;
class QTableWidget;
class TMainForm;

// The help topic of the study's history.
inline constexpr unsigned kHelpStudyHistory = 35;

// The audit trail of a study file, read-only: the check's verdict above a table of the
// entries (date, user, machine, action, detail, changes). It shows the trail as it was read
// when the window opened.
class StudyHistoryWindow : public QWidget {
    Q_OBJECT
public:
    StudyHistoryWindow(const QString& studyPath, const ldc::AuditTrail& trail,
                       QWidget* parent = nullptr);

    QLabel* lveredicto;
    QTableWidget* tblhistorial;

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Ayuda > Historial del estudio: the trail of the open study in a child window. A study
// never saved, or saved before the program kept trails, has none; a notice says so.
void showStudyHistory(TMainForm& frame);
