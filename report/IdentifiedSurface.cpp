#include "report/IdentifiedSurface.h"

#include <algorithm>

#include "report/PrintGeometry.h"

namespace ldc {
namespace {

// Small enough that the two lines fit below the laser pages' closing rule at any
// resolution the layouts print at.
constexpr int kIdentityPointSize = 7;

}  // namespace

IdentifiedSurface::IdentifiedSurface(DrawingSurface& target, PageIdentity identity)
    : m_target(target), m_identity(std::move(identity)) {}

void IdentifiedSurface::beginDoc() {
    m_target.beginDoc();
    m_pages.assign(1, Page{});
}

void IdentifiedSurface::endDoc() {
    const int pages = static_cast<int>(m_pages.size());
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            m_target.newPage();
        for (const Item& item : m_pages[i].items) {
            switch (item.kind) {
                case Item::Kind::text:
                    useFont(item.font);
                    m_target.textOut(item.x, item.y, item.text);
                    break;
                case Item::Kind::move:
                    m_target.moveTo(item.x, item.y);
                    break;
                case Item::Kind::line:
                    m_target.lineTo(item.x, item.y);
                    break;
                case Item::Kind::pen:
                    m_target.setPenStyle(item.pen);
                    break;
                case Item::Kind::marker:
                    m_target.marker(item.x, item.y, item.size);
                    break;
            }
        }
        drawIdentity(m_pages[i], i + 1, pages);
    }
    useFont(m_font);
    m_pages.clear();
    m_target.endDoc();
}

void IdentifiedSurface::abortDoc() {
    m_pages.clear();
    m_target.abortDoc();
}

void IdentifiedSurface::newPage() {
    m_pages.emplace_back();
}

void IdentifiedSurface::setFont(const std::string& name, int pointSize) {
    m_font = {name, pointSize};
    useFont(m_font);
}

int IdentifiedSurface::fontHeight() const {
    return m_target.fontHeight();
}

int IdentifiedSurface::fontPointSize() const {
    return m_target.fontPointSize();
}

int IdentifiedSurface::textWidth(const std::string& text) const {
    return m_target.textWidth(text);
}

void IdentifiedSurface::textOut(int x, int y, const std::string& text) {
    // Outside a document the target raises its own error, as it would unwrapped.
    if (m_pages.empty())
        return m_target.textOut(x, y, text);
    m_pages.back().items.push_back({Item::Kind::text, m_font, x, y, text});
    m_pages.back().cover(y, y + fontHeight());
}

void IdentifiedSurface::moveTo(int x, int y) {
    if (m_pages.empty())
        return m_target.moveTo(x, y);
    m_pages.back().items.push_back({Item::Kind::move, m_font, x, y, {}});
}

void IdentifiedSurface::lineTo(int x, int y) {
    if (m_pages.empty())
        return m_target.lineTo(x, y);
    Page& page = m_pages.back();
    const auto from = std::find_if(page.items.rbegin(), page.items.rend(), [](const Item& i) {
        return i.kind == Item::Kind::move || i.kind == Item::Kind::line ||
               i.kind == Item::Kind::marker;
    });
    const int fromY = from == page.items.rend() ? y : from->y;
    page.items.push_back({Item::Kind::line, m_font, x, y, {}});
    page.cover(std::min(y, fromY), std::max(y, fromY));
}

void IdentifiedSurface::setPenStyle(PenStyle style) {
    if (m_pages.empty())
        return m_target.setPenStyle(style);
    m_pages.back().items.push_back({Item::Kind::pen, m_font, 0, 0, {}, style});
}

void IdentifiedSurface::marker(int x, int y, int size) {
    if (m_pages.empty())
        return m_target.marker(x, y, size);
    m_pages.back().items.push_back({Item::Kind::marker, m_font, x, y, {}, {}, size});
    m_pages.back().cover(y - size / 2, y + size / 2);
}

int IdentifiedSurface::pageWidth() const {
    return m_target.pageWidth();
}

int IdentifiedSurface::pageHeight() const {
    return m_target.pageHeight();
}

void IdentifiedSurface::Page::cover(int from, int to) {
    top = top < 0 ? from : std::min(top, from);
    bottom = std::max(bottom, to);
}

void IdentifiedSurface::drawIdentity(const Page& drawn, int page, int pages) {
    useFont({kPrintFontName, kIdentityPointSize});
    const int lineHeight = m_target.fontHeight();
    const std::vector<std::string> lines = identityLines(m_identity);
    const int block = (static_cast<int>(lines.size()) + 1) * lineHeight;  // with a gap
    int y = drawn.bottom + lineHeight / 2;
    if (y + block > m_target.pageHeight() && drawn.top >= block)
        y = drawn.top - block + lineHeight / 2;
    for (const std::string& line : lines) {
        m_target.textOut(0, y, line);
        y += lineHeight;
    }
    const std::string number = pageNumberText(page, pages);
    m_target.textOut(rightAlignedX(m_target.pageWidth(), m_target.textWidth(number)),
                     y - lineHeight, number);
}

void IdentifiedSurface::useFont(const Font& font) {
    if (font == m_targetFont)
        return;
    m_target.setFont(font.name, font.pointSize);
    m_targetFont = font;
}

}  // namespace ldc
