#include "report/VerificationPage.h"

#include <algorithm>
#include <array>
#include <string>

#include "report/PrintGeometry.h"
#include "study/Numbers.h"

namespace ldc::verification {

namespace {

constexpr int kBodyPointSize = 8;
constexpr int kMarginUnits = 20;  // left and right, in column units
constexpr int kColumnGapUnits = 5;

// Lays the document out twice: once to count its pages, once to draw them with
// "Página n de m", which needs the count.
class Composer {
public:
    // `pages` is the count a first run gave; 0 for that first run, which draws nothing.
    Composer(DrawingSurface& surface, const PageGeometry& page, const VerificationContext& context,
             int pages)
        : m_surface(surface),
          m_page(page),
          m_footer(std::string(kVerificationTitle) + " - " + context.machine + " - " +
                   context.date),
          m_pages(pages),
          m_drawing(pages > 0) {
        m_surface.setFont(kPrintFontName, kBodyPointSize);
        const int height = m_surface.fontHeight();
        m_lineHeight = height + height / 4;
        m_left = page.x(kMarginUnits);
        m_right = page.width - page.x(kMarginUnits);
        // Nothing of the body below the line that the page number stands on.
        m_bottom = page.height - 2 * page.lineHeight;
        m_y = page.y(10);
    }

    int pages() const { return m_pageNumber; }

    void measureColumns(const std::vector<VerificationRow>& rows) {
        m_columns.fill(0);
        auto widen = [this](const std::array<std::string, 5>& cells) {
            for (std::size_t i = 0; i < cells.size(); ++i)
                m_columns[i] = std::max(m_columns[i], m_surface.textWidth(cells[i]));
        };
        widen(verificationHeadings());
        for (const VerificationRow& row : rows)
            widen(verificationCells(row));
    }

    void line(const std::string& text) {
        room(1);
        place(m_left, text);
        m_y += m_lineHeight;
    }
    void blank() { m_y += m_lineHeight; }

    void headings() {
        room(1);
        cells(verificationHeadings());
        if (m_drawing) {
            const int ruleY = m_y + m_lineHeight - m_lineHeight / 8;
            m_surface.moveTo(m_left, ruleY);
            m_surface.lineTo(m_right, ruleY);
        }
        m_y += m_lineHeight;
        m_headingsShown = true;
    }

    // A case's title and source stay with at least its first row.
    void caseHeading(const VerificationRow& row) {
        room(3);
        line(row.caseTitle);
        line("Fuente: " + row.source);
    }

    void tableRow(const VerificationRow& row) {
        room(1);
        cells(verificationCells(row));
        m_y += m_lineHeight;
    }

    void finish() { footer(); }

private:
    void room(int lines) {
        // A fresh page takes what comes, so that even an absurdly short page cannot make
        // the table break page after page for ever.
        if (m_y + lines * m_lineHeight <= m_bottom || m_y == m_page.y(10))
            return;
        footer();
        ++m_pageNumber;
        if (m_drawing) {
            m_surface.newPage();
            m_surface.setFont(kPrintFontName, kHeaderPointSize);
            drawHeaderLines(m_surface, m_page, kVerificationTitle);
            m_surface.setFont(kPrintFontName, kBodyPointSize);
        }
        m_y = m_page.y(10);
        if (m_headingsShown)
            headings();
    }

    void cells(const std::array<std::string, 5>& texts) {
        int x = m_left;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            place(x, texts[i]);
            x += m_columns[i] + m_page.x(kColumnGapUnits);
        }
    }

    void footer() {
        if (!m_drawing)
            return;
        const int y = m_page.height - m_page.lineHeight;
        m_surface.textOut(m_left, y, m_footer);
        const std::string number =
            "Página " + integerText(m_pageNumber) + " de " + integerText(m_pages);
        m_surface.textOut(m_right - m_surface.textWidth(number), y, number);
    }

    void place(int x, const std::string& text) {
        if (m_drawing)
            m_surface.textOut(x, m_y, text);
    }

    DrawingSurface& m_surface;
    const PageGeometry& m_page;
    std::string m_footer;
    int m_pages = 0;
    bool m_drawing = false;
    int m_pageNumber = 1;
    int m_lineHeight = 0;
    int m_left = 0, m_right = 0, m_bottom = 0;
    int m_y = 0;
    bool m_headingsShown = false;
    std::array<int, 5> m_columns{};
};

void compose(Composer& out, const std::vector<VerificationRow>& rows,
             const VerificationContext& context) {
    out.measureColumns(rows);
    for (const std::string& text : contextLines(context))
        out.line(text);
    out.blank();
    out.headings();
    const std::string* caseTitle = nullptr;
    for (const VerificationRow& row : rows) {
        if (!caseTitle || *caseTitle != row.caseTitle) {
            caseTitle = &row.caseTitle;
            out.blank();
            out.caseHeading(row);
        }
        out.tableRow(row);
    }
    out.blank();
    out.line(verificationSummary(rows));
    out.blank();
    out.blank();
    const std::string rule(26, '_');
    out.line("Realizó: " + rule + "     Revisó: " + rule);
    out.finish();
}

}  // namespace

void printVerificationPage(DrawingSurface& surface, const std::vector<VerificationRow>& rows,
                           const VerificationContext& context) {
    surface.beginDoc();
    abortOnError(surface, [&] {
        const PageGeometry page = takeGeometry(surface);
        drawHeaderLines(surface, page, kVerificationTitle);
        Composer counting(surface, page, context, 0);
        compose(counting, rows, context);
        Composer drawing(surface, page, context, counting.pages());
        compose(drawing, rows, context);
        surface.endDoc();
    });
}

}  // namespace ldc::verification
