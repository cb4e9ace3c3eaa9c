#include "report/ui/RecordPdf.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>

#include "report/IdentifiedSurface.h"
#include "report/RecordDocument.h"
#include "report/Uprint1.h"
#include "report/ui/PrinterSurface.h"
#include "study/LdcError.h"

void writeRecordPdf(const QString& path, const ldc::StudyDocument& study,
                    const ldc::PageIdentity& identity) {
    const ldc::RecordMetadata metadata = ldc::recordMetadata(study, identity);

    // The pages are painted apart, then the document information is added, and only the
    // finished bytes go to `path`.
    errno = 0;
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throwPdfNotSaved(path, errno);
    const QString painted = scratch.filePath(QStringLiteral("registro.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(painted);
        printer.setDocName(QString::fromStdString(metadata.title));
        printer.setCreator(QString::fromStdString(metadata.creator));
        PrinterSurface paper(printer, ldc::laser::kLayoutResolution);
        ldc::IdentifiedSurface identified(paper, identity);
        ldc::composeRecord(identified, ldc::recordPages(study));
    }

    QFile paintedFile(painted);
    errno = 0;
    if (!paintedFile.open(QIODevice::ReadOnly))
        throwPdfNotSaved(path, errno);
    const QByteArray pages = paintedFile.readAll();
    const std::string pdf =
        ldc::withDocumentInfo(std::string(pages.constData(), pages.size()), metadata);

    QSaveFile target(path);
    errno = 0;
    if (!target.open(QIODevice::WriteOnly) ||
        target.write(pdf.data(), static_cast<qint64>(pdf.size())) !=
            static_cast<qint64>(pdf.size()) ||
        !target.commit())
        throwPdfNotSaved(path, errno);
}
