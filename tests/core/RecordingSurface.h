#pragma once

#include <string>
#include <vector>

#include "report/DrawingSurface.h"

namespace ldc::testing {

// One operation a layout asked of the printer, with the font current at that moment.
struct SurfaceOp {
    enum class Kind { beginDoc, endDoc, abortDoc, newPage, setFont, textOut, moveTo, lineTo };
    Kind kind = Kind::textOut;
    int x = 0;
    int y = 0;
    std::string text;
    std::string fontName;
    int pointSize = 0;
    int page = 0;  // 0-based page of the document it belongs to
};

struct SurfaceLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int page = 0;
};

// A printer that keeps every operation. Font height follows the resolution as a printer's
// does (12 points at 600 dpi: 100 pixels); a text's width is 4 pixels per character per
// point (48 per character at 12 points), so the tests can work positions out by hand.
// Drawing outside a document or beginning one inside another is a layout fault and throws
// std::logic_error.
class RecordingSurface : public DrawingSurface {
public:
    explicit RecordingSurface(int dpi = 600, int width = 4800, int height = 6300);

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
    int pageWidth() const override { return m_width; }
    int pageHeight() const override { return m_height; }

    static int widthAt(const std::string& text, int pointSize);

    std::vector<SurfaceOp> ops;
    // A textOut of exactly this text raises ldc::Error, as a printer that fails mid-page.
    std::string failOnText;

    int count(SurfaceOp::Kind kind) const;
    std::vector<SurfaceOp> texts() const;
    std::vector<SurfaceOp> textsOnPage(int page) const;
    std::vector<SurfaceLine> lines() const;
    // Every textOut of exactly `text`; the first one, failing the test when there is none.
    std::vector<SurfaceOp> find(const std::string& text) const;
    SurfaceOp first(const std::string& text) const;
    // A line across the page, from x = 0 to x = width, at y on that page.
    bool hasRule(int y, int width, int page = 0) const;
    bool inDocument() const { return m_open; }
    void clear() { ops.clear(); }

private:
    void requireDocument(const char* what) const;
    SurfaceOp make(SurfaceOp::Kind kind) const;

    int m_dpi;
    int m_width;
    int m_height;
    bool m_open = false;
    int m_page = 0;
    std::string m_fontName;
    int m_pointSize = 0;
};

// A text and where it must stand.
struct Placed {
    std::string text;
    int x;
    int y;
};

// Each text printed (its first occurrence) at its place.
void expectPlaced(const RecordingSurface& surface, const std::vector<Placed>& expected);

}  // namespace ldc::testing
