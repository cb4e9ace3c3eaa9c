#include "files/ui/StudyHistoryWindow.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/Main.h"
#include "files/ui/StudyAudit.h"
#include "study/ui/Fdatos.h"

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The action in the analyst's words; an action of a later version shows as written.
QString actionName(const std::string& action) {
    static const std::pair<std::string_view, const char*> kNames[] = {
        {ldc::auditAction::open, "Abrir"},         {ldc::auditAction::save, "Guardar"},
        {ldc::auditAction::print, "Imprimir"},     {ldc::auditAction::exportPdf, "Exportar PDF"},
        {ldc::auditAction::calculate, "Calcular"},
    };
    for (const auto& [name, shown] : kNames)
        if (action == name)
            return QString::fromUtf8(shown);
    return text(action);
}

QString changesText(const std::vector<ldc::AuditChange>& changes) {
    QStringList lines;
    for (const ldc::AuditChange& change : changes)
        lines << QStringLiteral("%1: «%2» → «%3»")
                     .arg(text(change.field), text(change.before), text(change.after));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

StudyHistoryWindow::StudyHistoryWindow(const QString& studyPath, const ldc::AuditTrail& trail,
                                       QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("HistorialEstudio"));
    setWindowTitle(QStringLiteral("Historial del estudio ") + QFileInfo(studyPath).fileName());

    QStringList verdict;
    for (const std::string& line : trail.verdict.lines(studyPath.toStdString()))
        verdict << text(line);
    lveredicto = new QLabel(verdict.join(QLatin1Char('\n')), this);
    lveredicto->setObjectName(QStringLiteral("lveredicto"));
    lveredicto->setWordWrap(true);
    lveredicto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!trail.verdict.intact())
        lveredicto->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));

    const QStringList headers{QStringLiteral("Fecha"),   QStringLiteral("Usuario"),
                              QStringLiteral("Equipo"),  QStringLiteral("Acción"),
                              QStringLiteral("Detalle"), QStringLiteral("Cambios")};
    tblhistorial = new QTableWidget(static_cast<int>(trail.entries.size()),
                                    static_cast<int>(headers.size()), this);
    tblhistorial->setObjectName(QStringLiteral("tblhistorial"));
    tblhistorial->setHorizontalHeaderLabels(headers);
    tblhistorial->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblhistorial->setWordWrap(true);
    int row = 0;
    for (const ldc::AuditTrailLine& line : trail.entries) {
        const ldc::AuditEntry& e = line.entry;
        const QString cells[] = {text(e.time),
                                 text(e.user),
                                 text(e.host),
                                 actionName(e.action),
                                 text(e.detail.value_or(std::string())),
                                 changesText(e.changes)};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            tblhistorial->setItem(row, column, item);
        }
        // The row's header is the entry's line in the trail, which the verdict names.
        tblhistorial->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(line.line)));
        ++row;
    }
    tblhistorial->resizeColumnsToContents();
    tblhistorial->resizeRowsToContents();
    tblhistorial->horizontalHeader()->setStretchLastSection(true);
    // The newest entry is the one the analyst looks for first.
    if (row > 0)
        tblhistorial->scrollToBottom();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lveredicto);
    layout->addWidget(tblhistorial, 1);
}

void StudyHistoryWindow::closeEvent(QCloseEvent* event) {
    if (MainForm)
        MainForm->childWindowClosing(this);
    event->accept();
}

void showStudyHistory(TMainForm& frame) {
    if (!Finforma)
        return;
    const QString path = openStudyPath();
    if (path.isEmpty()) {
        dialogs().notice(&frame, QStringLiteral("El estudio aún no se ha guardado: su historial "
                                                "empieza cuando se guarda por primera vez."));
        return;
    }
    const std::string file = QFile::encodeName(path).toStdString();
    if (!QFileInfo::exists(QFile::decodeName(ldc::auditTrailPath(file).c_str()))) {
        dialogs().notice(&frame, QStringLiteral("El estudio «%1» no tiene registro de auditoría.")
                                     .arg(QFileInfo(path).fileName()));
        return;
    }
    const ldc::AuditTrail trail = ldc::readAuditTrail(file);
    frame.addChild(new StudyHistoryWindow(path, trail), kHelpStudyHistory, QSize(760, 360));
}
