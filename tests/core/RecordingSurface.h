#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/DrawingSurface.h"
#include "study/LdcError.h"

namespace ldc::testing {

// A 600 dpi printer, 4800 x 6300 px, recording each operation with its font size, page and
// pen; a rule as the text "rule" at x = 0, any other line as "line" at its end point; 12
// points are 100 px high, a character 4 px per point wide. Drawing outside a document, or
// beginning one inside another, is a layout fault.
class RecordingSurface : public DrawingSurface {
public:
    enum class Kind { beginDoc, endDoc, abortDoc, newPage, textOut, moveTo, marker };
    // clang-format off
    struct Op { Kind kind; int x, y; std::string text; int points, page; PenStyle pen; };
    // clang-format on
    void beginDoc() override { add(Kind::beginDoc); }
    void endDoc() override { add(Kind::endDoc); }
    void abortDoc() override { add(Kind::abortDoc); }
    void newPage() override { add(Kind::newPage); }
    void setFont(const std::string&, int pointSize) override { m_points = pointSize; }
    int fontHeight() const override { return (m_points * 600 + 36) / 72; }
    int fontPointSize() const override { return m_points; }
    int textWidth(const std::string& text) const override {
        return 4 * m_points * std::count_if(text.begin(), text.end(), [](unsigned char c) {
                   return (c & 0xC0) != 0x80;  // UTF-8 lead bytes
               });
    }
    void textOut(int x, int y, const std::string& text) override {
        if (!failOnText.empty() && text == failOnText)
            throw Error("Error de impresora");
        add(Kind::textOut, x, y, text);
    }
    void moveTo(int x, int y) override {
        add(Kind::moveTo, x, y);
        m_penX = x;
        m_penY = y;
    }
    void lineTo(int x, int y) override {
        const bool rule = m_penX == 0 && m_penY == y && x == 4800;
        add(Kind::textOut, rule ? 0 : x, y, rule ? "rule" : "line");
        m_penX = x;
        m_penY = y;
    }
    void setPenStyle(PenStyle style) override { m_pen = style; }
    void marker(int x, int y, int) override { add(Kind::marker, x, y); }
    int pageWidth() const override { return 4800; }
    int pageHeight() const override { return 6300; }

    // The texts reading `text` on `page` (-1: any page).
    std::vector<Op> find(const std::string& text, int page = -1) const {
        std::vector<Op> found;
        for (const Op& op : ops)
            if (op.kind == Kind::textOut && op.text == text && (page < 0 || op.page == page))
                found.push_back(op);
        return found;
    }
    bool placed(const std::string& text, int x, int y, int page = -1) const {
        const auto all = find(text, page);
        return std::any_of(all.begin(), all.end(), [&](auto& t) { return t.x == x && t.y == y; });
    }
    std::size_t count(Kind kind) const {
        return std::count_if(ops.begin(), ops.end(), [&](const Op& op) { return op.kind == kind; });
    }

    std::vector<Op> ops;
    std::string failOnText;  // drawing this text fails, as a printer failing mid-page

private:
    void add(Kind kind, int x = 0, int y = 0, const std::string& text = {}) {
        if (kind != Kind::abortDoc && m_open == (kind == Kind::beginDoc))
            throw std::logic_error("drawing outside a document, or beginning one inside another");
        m_page = kind == Kind::beginDoc ? 0 : m_page + (kind == Kind::newPage);
        ops.push_back({kind, x, y, text, m_points, m_page, m_pen});
        m_open = kind != Kind::endDoc && kind != Kind::abortDoc;
    }
    bool m_open = false;
    int m_page = 0;
    int m_points = 0;
    int m_penX = 0, m_penY = 0;
    PenStyle m_pen = PenStyle::solid;
};

}  // namespace ldc::testing
