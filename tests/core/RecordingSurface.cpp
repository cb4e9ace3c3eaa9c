#include "RecordingSurface.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "study/LdcError.h"

namespace ldc::testing {

RecordingSurface::RecordingSurface(int dpi, int width, int height)
    : m_dpi(dpi), m_width(width), m_height(height) {}

SurfaceOp RecordingSurface::make(SurfaceOp::Kind kind) const {
    SurfaceOp op;
    op.kind = kind;
    op.fontName = m_fontName;
    op.pointSize = m_pointSize;
    op.page = m_page;
    return op;
}

void RecordingSurface::requireDocument(const char* what) const {
    if (!m_open)
        throw std::logic_error(std::string(what) + " outside a document");
}

void RecordingSurface::beginDoc() {
    if (m_open)
        throw std::logic_error("beginDoc inside a document");
    m_open = true;
    m_page = 0;
    ops.push_back(make(SurfaceOp::Kind::beginDoc));
}

void RecordingSurface::endDoc() {
    requireDocument("endDoc");
    m_open = false;
    ops.push_back(make(SurfaceOp::Kind::endDoc));
}

void RecordingSurface::abortDoc() {
    m_open = false;
    ops.push_back(make(SurfaceOp::Kind::abortDoc));
}

void RecordingSurface::newPage() {
    requireDocument("newPage");
    ++m_page;
    ops.push_back(make(SurfaceOp::Kind::newPage));
}

void RecordingSurface::setFont(const std::string& name, int pointSize) {
    m_fontName = name;
    m_pointSize = pointSize;
    ops.push_back(make(SurfaceOp::Kind::setFont));
}

int RecordingSurface::fontHeight() const {
    return (m_pointSize * m_dpi + 36) / 72;
}

int RecordingSurface::fontPointSize() const {
    return m_pointSize;
}

int RecordingSurface::widthAt(const std::string& text, int pointSize) {
    int characters = 0;
    for (const unsigned char c : text)
        if ((c & 0xC0) != 0x80)  // count UTF-8 lead bytes: one per character
            ++characters;
    return characters * 4 * pointSize;
}

int RecordingSurface::textWidth(const std::string& text) const {
    return widthAt(text, m_pointSize);
}

void RecordingSurface::textOut(int x, int y, const std::string& text) {
    requireDocument("textOut");
    if (!failOnText.empty() && text == failOnText)
        throw Error("Error de impresora");
    SurfaceOp op = make(SurfaceOp::Kind::textOut);
    op.x = x;
    op.y = y;
    op.text = text;
    ops.push_back(op);
}

void RecordingSurface::moveTo(int x, int y) {
    requireDocument("moveTo");
    SurfaceOp op = make(SurfaceOp::Kind::moveTo);
    op.x = x;
    op.y = y;
    ops.push_back(op);
}

void RecordingSurface::lineTo(int x, int y) {
    requireDocument("lineTo");
    SurfaceOp op = make(SurfaceOp::Kind::lineTo);
    op.x = x;
    op.y = y;
    ops.push_back(op);
}

int RecordingSurface::count(SurfaceOp::Kind kind) const {
    int n = 0;
    for (const SurfaceOp& op : ops)
        n += op.kind == kind;
    return n;
}

std::vector<SurfaceOp> RecordingSurface::texts() const {
    std::vector<SurfaceOp> result;
    for (const SurfaceOp& op : ops)
        if (op.kind == SurfaceOp::Kind::textOut)
            result.push_back(op);
    return result;
}

std::vector<SurfaceOp> RecordingSurface::textsOnPage(int page) const {
    std::vector<SurfaceOp> result;
    for (const SurfaceOp& op : texts())
        if (op.page == page)
            result.push_back(op);
    return result;
}

std::vector<SurfaceLine> RecordingSurface::lines() const {
    std::vector<SurfaceLine> result;
    int x = 0;
    int y = 0;
    for (const SurfaceOp& op : ops) {
        if (op.kind == SurfaceOp::Kind::lineTo)
            result.push_back({x, y, op.x, op.y, op.page});
        if (op.kind == SurfaceOp::Kind::moveTo || op.kind == SurfaceOp::Kind::lineTo) {
            x = op.x;
            y = op.y;
        }
    }
    return result;
}

std::vector<SurfaceOp> RecordingSurface::find(const std::string& text) const {
    std::vector<SurfaceOp> result;
    for (const SurfaceOp& op : texts())
        if (op.text == text)
            result.push_back(op);
    return result;
}

SurfaceOp RecordingSurface::first(const std::string& text) const {
    const std::vector<SurfaceOp> found = find(text);
    if (found.empty()) {
        ADD_FAILURE() << "nothing printed reads \"" << text << "\"";
        return {};
    }
    return found.front();
}

bool RecordingSurface::hasRule(int y, int width, int page) const {
    for (const SurfaceLine& line : lines())
        if (line.x1 == 0 && line.y1 == y && line.x2 == width && line.y2 == y && line.page == page)
            return true;
    return false;
}

void expectPlaced(const RecordingSurface& surface, const std::vector<Placed>& expected) {
    for (const Placed& p : expected) {
        const SurfaceOp op = surface.first(p.text);
        EXPECT_EQ(op.x, p.x) << p.text;
        EXPECT_EQ(op.y, p.y) << p.text;
    }
}

}  // namespace ldc::testing
