#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/DrawingSurface.h"
#include "study/LdcError.h"

namespace ldc::testing {

// One operation a layout asked of the printer, with the font size and page current then.
struct SurfaceOp {
    enum class Kind { beginDoc, endDoc, abortDoc, newPage, textOut, moveTo, lineTo };
    Kind kind = Kind::textOut;
    int x = 0, y = 0;
    std::string text;
    int pointSize = 0;
    int page = 0;  // 0-based page of its document
};

// A 600 dpi printer, 4800 x 6300 px, that keeps every operation. 12 points are 100 px high;
// a text is 4 px per character per point wide (48 per character at 12 points), so positions
// can be worked out by hand. Drawing outside a document is a layout fault: std::logic_error.
class RecordingSurface : public DrawingSurface {
public:
    using Kind = SurfaceOp::Kind;
    void beginDoc() override { add(Kind::beginDoc); }
    void endDoc() override { add(Kind::endDoc); }
    void abortDoc() override { add(Kind::abortDoc); }
    void newPage() override { add(Kind::newPage); }
    void setFont(const std::string&, int pointSize) override { m_points = pointSize; }
    int fontHeight() const override { return (m_points * 600 + 36) / 72; }
    int fontPointSize() const override { return m_points; }
    int textWidth(const std::string& text) const override {
        int characters = 0;
        for (const unsigned char c : text)
            characters += (c & 0xC0) != 0x80;  // UTF-8 lead bytes
        return characters * 4 * m_points;
    }
    void textOut(int x, int y, const std::string& text) override {
        if (!failOnText.empty() && text == failOnText)
            throw Error("Error de impresora");
        add(Kind::textOut, x, y, text);
    }
    void moveTo(int x, int y) override { add(Kind::moveTo, x, y); }
    void lineTo(int x, int y) override { add(Kind::lineTo, x, y); }
    int pageWidth() const override { return 4800; }
    int pageHeight() const override { return 6300; }

    std::vector<SurfaceOp> ops;
    std::string failOnText;  // a textOut of this text fails, as a printer failing mid-page

    int count(Kind kind) const {
        return std::count_if(ops.begin(), ops.end(),
                             [&](const auto& op) { return op.kind == kind; });
    }
    // Every textOut of exactly `text`, on `page` or (-1) on any page.
    std::vector<SurfaceOp> find(const std::string& text, int page = -1) const {
        std::vector<SurfaceOp> found;
        for (const SurfaceOp& op : ops)
            if (op.kind == Kind::textOut && op.text == text && (page < 0 || op.page == page))
                found.push_back(op);
        return found;
    }
    // A line across the page, from x = 0 to its width, at y on that page.
    bool hasRule(int y, int page = 0) const {
        for (std::size_t i = 1; i < ops.size(); ++i)
            if (ops[i - 1].kind == Kind::moveTo && ops[i].kind == Kind::lineTo &&
                ops[i - 1].x == 0 && ops[i - 1].y == y && ops[i].x == 4800 && ops[i].y == y &&
                ops[i].page == page)
                return true;
        return false;
    }

private:
    // Keeps the operation and follows the document: abortDoc never throws, so that the error
    // that stopped the composition is the one reported.
    void add(Kind kind, int x = 0, int y = 0, const std::string& text = {}) {
        if (kind != Kind::abortDoc && m_open == (kind == Kind::beginDoc))
            throw std::logic_error("drawing outside a document, or beginning one inside another");
        m_page = kind == Kind::beginDoc ? 0 : m_page + (kind == Kind::newPage);
        ops.push_back({kind, x, y, text, m_points, m_page});
        m_open = kind != Kind::endDoc && kind != Kind::abortDoc;
    }

    bool m_open = false;
    int m_page = 0;
    int m_points = 0;
};

// Each text (its first occurrence) printed at its place.
struct Placed {
    std::string text;
    int x, y;
};
inline void expectPlaced(const RecordingSurface& surface, const std::vector<Placed>& expected) {
    for (const Placed& p : expected) {
        const auto found = surface.find(p.text);
        ASSERT_FALSE(found.empty()) << "nothing printed reads \"" << p.text << "\"";
        EXPECT_EQ(found[0].x, p.x) << p.text;
        EXPECT_EQ(found[0].y, p.y) << p.text;
    }
}

}  // namespace ldc::testing
