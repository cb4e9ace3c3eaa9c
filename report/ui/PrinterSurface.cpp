#include "report/ui/PrinterSurface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QTemporaryFile>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>

#include "files/FileErrors.h"
#include "study/LdcError.h"

namespace {

// The rules of the layouts stay the thinnest line the printer draws; a plot's dashed and
// dotted bands need a width for their pattern to show, about a sixth of a millimetre.
QPen penFor(ldc::PenStyle style) {
    switch (style) {
        case ldc::PenStyle::dashed: {
            QPen pen(Qt::black, 4, Qt::CustomDashLine, Qt::FlatCap);
            pen.setDashPattern({6, 4});
            return pen;
        }
        case ldc::PenStyle::dotted: {
            QPen pen(Qt::black, 4, Qt::CustomDashLine, Qt::FlatCap);
            pen.setDashPattern({1, 3});
            return pen;
        }
        case ldc::PenStyle::solid:
            break;
    }
    return QPen(Qt::black, 0, Qt::SolidLine);
}

}  // namespace

void throwPdfNotSaved(const QString& path, int errnoValue) {
    ldc::throwPathError(
        QFile::encodeName(path).toStdString(), errnoValue == 0 ? EIO : errnoValue,
        "No se pudo guardar el documento PDF «" + QFileInfo(path).fileName().toStdString() + "»");
}

PrinterSurface::PrinterSurface(QPrinter& printer, int layoutResolution) : m_printer(printer) {
    m_printer.setResolution(layoutResolution);
}

PrinterSurface::~PrinterSurface() = default;

void PrinterSurface::beginDoc() {
    if (!m_printer.isValid())
        throw ldc::Error("No se pudo iniciar la impresión.");
    m_pages.assign(1, Page{});
    m_open = true;
}

void PrinterSurface::endDoc() {
    requireDocument();
    paintDocument();
    m_pages.clear();
    m_open = false;
}

void PrinterSurface::abortDoc() {
    m_pages.clear();
    m_open = false;
}

void PrinterSurface::newPage() {
    requireDocument();
    m_pages.emplace_back();
}

void PrinterSurface::setFont(const std::string& name, int pointSize) {
    // Arial may be missing; the font database substitutes a like face at the same size.
    m_font = QFont(QString::fromStdString(name), pointSize);
}

int PrinterSurface::fontHeight() const {
    return static_cast<int>(std::lround(m_font.pointSizeF() * m_printer.logicalDpiY() / 72.0));
}

int PrinterSurface::fontPointSize() const {
    return m_font.pointSize();
}

int PrinterSurface::textWidth(const std::string& text) const {
    return QFontMetrics(m_font, &m_printer).horizontalAdvance(QString::fromStdString(text));
}

void PrinterSurface::textOut(int x, int y, const std::string& text) {
    requireDocument();
    m_pages.back().push_back({Item::Kind::text, m_font, QString::fromStdString(text), x, y, 0, 0});
}

void PrinterSurface::moveTo(int x, int y) {
    m_penX = x;
    m_penY = y;
}

void PrinterSurface::lineTo(int x, int y) {
    requireDocument();
    m_pages.back().push_back(
        {Item::Kind::line, QFont(), QString(), m_penX, m_penY, x, y, m_penStyle});
    m_penX = x;
    m_penY = y;
}

void PrinterSurface::setPenStyle(ldc::PenStyle style) {
    m_penStyle = style;
}

void PrinterSurface::marker(int x, int y, int size) {
    requireDocument();
    m_pages.back().push_back({Item::Kind::marker, QFont(), QString(), x, y, size, 0});
    m_penX = x;
    m_penY = y;
}

int PrinterSurface::pageWidth() const {
    return m_printer.width();
}

int PrinterSurface::pageHeight() const {
    return m_printer.height();
}

void PrinterSurface::requireDocument() const {
    if (!m_open)
        throw ldc::Error("No se pudo iniciar la impresión.");
}

void PrinterSurface::paintDocument() {
    // A PDF is painted beside its destination and put in place only once complete, so a
    // painting that fails half-way leaves the old file (or none), never half a document.
    const QString target = m_printer.outputFileName();
    std::optional<QTemporaryFile> part;
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !target.isEmpty()) {
        const QFileInfo info(target);
        part.emplace(info.absolutePath() + "/." + info.completeBaseName() + "-XXXXXX.pdf");
        errno = 0;
        if (!part->open())
            throwPdfNotSaved(target, errno);
        // Only the name is kept: the printer creates the file as any new file is created,
        // not with a temporary file's owner-only permissions.
        part->close();
        QFile::remove(part->fileName());
        m_printer.setOutputFileName(part->fileName());
    }
    struct RestoreName {
        QPrinter& printer;
        QString name;
        bool restore;
        ~RestoreName() {
            if (restore)
                printer.setOutputFileName(name);
        }
    } restoreName{m_printer, target, part.has_value()};

    QPainter painter;
    if (!painter.begin(&m_printer))
        throw ldc::Error("No se pudo iniciar la impresión.");
    painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    bool complete = true;
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (i > 0 && !m_printer.newPage()) {
            complete = false;
            break;
        }
        for (const Item& item : m_pages[i]) {
            if (item.kind == Item::Kind::line) {
                painter.setPen(penFor(item.pen));
                painter.drawLine(item.x1, item.y1, item.x2, item.y2);
            } else if (item.kind == Item::Kind::marker) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::black);
                painter.drawEllipse(QPoint(item.x1, item.y1), item.x2 / 2, item.x2 / 2);
                painter.setBrush(Qt::NoBrush);
            } else {
                painter.setPen(penFor(ldc::PenStyle::solid));
                painter.setFont(item.font);
                // The layouts place a text by the top of its cell; the painter by its baseline.
                const int ascent = QFontMetrics(item.font, &m_printer).ascent();
                painter.drawText(item.x1, item.y1 + ascent, item.text);
            }
        }
    }
    if (!complete)
        m_printer.abort();
    if (!painter.end() || !complete)
        throw ldc::Error("No se pudo terminar la impresión.");

    if (part) {
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(part->fileName().toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), failed);
        if (failed)
            throwPdfNotSaved(target, failed.value());
    }
}
