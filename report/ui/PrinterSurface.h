#pragma once

#include <QFont>
#include <QString>

#include <vector>

#include "report/DrawingSurface.h"

class QPrinter;

// Raises the file error of a PDF that could not be written at `path`, with the reason the
// system gave (`errnoValue`; 0 when it gave none): "No se pudo guardar el documento PDF
// «registro.pdf»: la carpeta no existe.", as for a study file.
[[noreturn]] void throwPdfNotSaved(const QString& path, int errnoValue);

// The printed reports on a real printer or a PDF file (a QPrinter as the print dialog left
// it). A document is composed in full before any of it goes to the printer: endDoc paints
// every page in one run, abortDoc forgets them. Not every print system can take back a job
// once it has started (CUPS cannot), so this is what keeps a print that stopped on an error
// from reaching the paper or leaving half a PDF.
class PrinterSurface : public ldc::DrawingSurface {
public:
    // The layouts set their columns in device pixels (12 to the column unit whatever the
    // resolution), so each looks as drawn only at the resolution it was drawn for: 600 dpi
    // for the laser layout, 300 for the DeskJet one. The printer is asked for that
    // resolution; a PDF and the print systems that scale (CUPS, Windows) give it exactly,
    // and at any other the layout prints as it always did on such a printer.
    PrinterSurface(QPrinter& printer, int layoutResolution);
    ~PrinterSurface() override;

    void beginDoc() override;
    void endDoc() override;
    void abortDoc() override;
    void newPage() override;

    void setFont(const std::string& name, int pointSize) override;
    int fontHeight() const override;
    int fontPointSize() const override;
    int textWidth(const std::string& text) const override;

    void textOut(int x, int y, const std::string& text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setPenStyle(ldc::PenStyle style) override;
    void marker(int x, int y, int size) override;

    int pageWidth() const override;
    int pageHeight() const override;

private:
    struct Item {
        enum class Kind { text, line, marker } kind;
        QFont font;
        QString text;
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a marker: centre, and its size in x2
        ldc::PenStyle pen = ldc::PenStyle::solid;
    };
    using Page = std::vector<Item>;

    void requireDocument() const;
    void paintDocument();

    QPrinter& m_printer;
    QFont m_font;
    int m_penX = 0;
    int m_penY = 0;
    ldc::PenStyle m_penStyle = ldc::PenStyle::solid;
    bool m_open = false;
    std::vector<Page> m_pages;
};
