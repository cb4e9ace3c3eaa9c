#pragma once

#include <string>

namespace ldc {

// How the lines of a plot are told apart on paper: the fitted line solid, its bands dashed
// or dotted.
enum class PenStyle { solid, dashed, dotted };

// The printer operations the printed reports use, in the printer's device pixels
// (origin at the top-left corner of the printable area, y downwards). Implemented on
// QPrinter for real printers and PDF, and by a recording surface in the tests.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void beginDoc() = 0;
    virtual void endDoc() = 0;
    // Drops a document whose composition stopped on an error: nothing of it is printed.
    // Never throws, so that the error that stopped the composition is the one reported.
    virtual void abortDoc() = 0;
    // Continues the document on a fresh page (long data lists).
    virtual void newPage() = 0;

    // Font by name and size in points, default pitch, regular style.
    virtual void setFont(const std::string& name, int pointSize) = 0;
    // Character height of the current font in device pixels, at the vertical resolution.
    virtual int fontHeight() const = 0;
    // Point size of the current font as the font reports it.
    virtual int fontPointSize() const = 0;
    virtual int textWidth(const std::string& text) const = 0;

    // Draws text with the top-left corner of its text cell at (x, y).
    virtual void textOut(int x, int y, const std::string& text) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // The style of the lines drawn from now on; a surface that cannot dash draws them solid.
    virtual void setPenStyle(PenStyle) {}
    // A plotted result: a small dot `size` pixels across centred on (x, y). A surface
    // without dots draws a cross; either way the pen is left at the centre.
    virtual void marker(int x, int y, int size) {
        const int half = size / 2;
        moveTo(x - half, y);
        lineTo(x + half, y);
        moveTo(x, y - half);
        lineTo(x, y + half);
        moveTo(x, y);
    }

    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
};

}  // namespace ldc
