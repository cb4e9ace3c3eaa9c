#include "report/ValidationPage.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "calc/FormatGeneral.h"
#include "report/PrintGeometry.h"

namespace ldc {
namespace {

constexpr int kBodyPointSize = 10;
constexpr int kLeft = 45;        // column units, as the general page
constexpr int kRight = 30;       // column units kept free at the right edge
constexpr int kPlotIndent = 50;  // column units left of a plot for the value labels
constexpr int kFirstLine = 11;   // below the header rule, on every page
constexpr int kColumnGap = 8;    // column units between table columns
constexpr int kMarkerSize = 36;
constexpr int kTickLength = 40;
constexpr int kSampleLength = 200;  // a legend's line sample

struct Frame {
    int left = 0, top = 0, right = 0, bottom = 0;
    PlotRange x, y;

    int px(double v) const {
        const double at = left + (v - x.min) / (x.max - x.min) * (right - left);
        return static_cast<int>(std::lround(std::clamp(at, double(left), double(right))));
    }
    int py(double v) const {
        const double at = bottom - (v - y.min) / (y.max - y.min) * (bottom - top);
        return static_cast<int>(std::lround(std::clamp(at, double(top), double(bottom))));
    }
};

// Places the page's items line by line and starts a further page, with the header and the
// mark, when the next item does not fit above the mark.
class PageFlow {
public:
    PageFlow(DrawingSurface& surface, const PageGeometry& page)
        : m_surface(surface), m_page(page) {}

    int line = kFirstLine;  // where the next item goes

    DrawingSurface& surface() { return m_surface; }
    const PageGeometry& page() const { return m_page; }
    int left() const { return m_page.x(kLeft); }
    int right() const { return m_page.width - m_page.x(kRight); }
    int lastLine() const { return m_page.height / m_page.lineHeight - 5; }

    // Starts a further page unless `lines` more fit on this one.
    void need(int lines) {
        if (line + lines - 1 > lastLine())
            nextPage();
    }
    void nextPage() {
        drawMark();
        m_surface.newPage();
        m_surface.setFont(kPrintFontName, kHeaderPointSize);
        drawHeaderLines(m_surface, m_page, kValidationTitle);
        m_surface.setFont(kPrintFontName, kBodyPointSize);
        line = kFirstLine;
    }
    void drawMark() {
        drawRightAligned(m_surface, m_page, lastLine() + 2, kProgramMark);
        drawRule(m_surface, m_page.y(lastLine() + 3), m_page.width);
    }
    void text(int x, const std::string& s) { m_surface.textOut(x, m_page.y(line), s); }
    void textLine(const std::string& s) {
        text(left(), s);
        ++line;
    }

private:
    DrawingSurface& m_surface;
    PageGeometry m_page;
};

void drawSegment(DrawingSurface& s, int x1, int y1, int x2, int y2) {
    s.moveTo(x1, y1);
    s.lineTo(x2, y2);
}

// Breaks `text` at blanks into lines no wider than `width`.
std::vector<std::string> wrapped(const DrawingSurface& s, const std::string& text, int width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, current;
    while (words >> word) {
        const std::string longer = current.empty() ? word : current + " " + word;
        if (!current.empty() && s.textWidth(longer) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = longer;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

void drawAxes(DrawingSurface& s, const Frame& f) {
    s.setPenStyle(PenStyle::solid);
    s.moveTo(f.left, f.top);
    s.lineTo(f.right, f.top);
    s.lineTo(f.right, f.bottom);
    s.lineTo(f.left, f.bottom);
    s.lineTo(f.left, f.top);
    const int half = s.fontHeight() / 2;
    for (const double t : axisTicks(f.x, 6)) {
        const int x = f.px(t);
        drawSegment(s, x, f.bottom, x, f.bottom - kTickLength);
        const std::string label = formatGeneral(t);
        s.textOut(x - s.textWidth(label) / 2, f.bottom + kTickLength / 2, label);
    }
    for (const double t : axisTicks(f.y, 5)) {
        const int y = f.py(t);
        drawSegment(s, f.left, y, f.left + kTickLength, y);
        const std::string label = formatGeneral(t);
        s.textOut(f.left - kTickLength - s.textWidth(label), y - half, label);
    }
}

void drawCurve(DrawingSurface& s, const Frame& f, const std::vector<BandPoint>& band,
               double BandPoint::*value, PenStyle style) {
    if (band.empty())
        return;
    s.setPenStyle(style);
    s.moveTo(f.px(band.front().x), f.py(band.front().*value));
    for (const BandPoint& b : band)
        s.lineTo(f.px(b.x), f.py(b.*value));
    s.setPenStyle(PenStyle::solid);
}

// A short code above a tick for every limit, codes that would overlap going a row higher.
void drawLimitMarks(DrawingSurface& s, const Frame& f, const std::vector<LimitMark>& marks) {
    std::vector<int> rowEnds;
    const int height = s.fontHeight();
    for (const LimitMark& mark : marks) {
        const int x = f.px(mark.x);
        drawSegment(s, x, f.bottom, x, f.bottom - 2 * kTickLength);
        const int width = s.textWidth(mark.code);
        const int from = x - width / 2;
        std::size_t row = 0;
        while (row < rowEnds.size() && rowEnds[row] + kTickLength > from)
            ++row;
        if (row == rowEnds.size())
            rowEnds.push_back(0);
        rowEnds[row] = from + width;
        s.textOut(from, f.bottom - 2 * kTickLength - height * static_cast<int>(row + 1), mark.code);
    }
}

// "Límites marcados: LD1, LC1: ICH, σ = DE residual; …; xNG, xEG, xBG: DIN 32645 (…)."
std::string marksLegend(const std::vector<LimitMark>& marks) {
    std::string text;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (i > 0)
            text += marks[i - 1].approach == marks[i].approach ? ", " : "; ";
        text += marks[i].code;
        if (i + 1 == marks.size() || marks[i + 1].approach != marks[i].approach)
            text += ": " + marks[i].approach;
    }
    return text.empty() ? text : "Límites marcados: " + text + ".";
}

void drawLegendItem(DrawingSurface& s, int& x, int y, PenStyle style, bool marker,
                    const std::string& label) {
    const int middle = y + s.fontHeight() / 2;
    if (marker) {
        s.marker(x + kSampleLength / 2, middle, kMarkerSize);
    } else {
        s.setPenStyle(style);
        drawSegment(s, x, middle, x + kSampleLength, middle);
        s.setPenStyle(PenStyle::solid);
    }
    s.textOut(x + kSampleLength + kTickLength, y, label);
    x += kSampleLength + 2 * kTickLength + s.textWidth(label) + 4 * kTickLength;
}

Frame plotFrame(PageFlow& flow, int lines, const PlotRange& x, const PlotRange& y) {
    const PageGeometry& page = flow.page();
    return {flow.left() + page.x(kPlotIndent),
            page.y(flow.line),
            flow.right(),
            page.y(flow.line + lines),
            x,
            y};
}

void drawCalibrationPlot(PageFlow& flow, const ValidationInputs& inputs,
                         const ValidationContent& content) {
    constexpr int kFrameLines = 16;
    DrawingSurface& s = flow.surface();
    const CalibrationPlot& plot = content.calibration;
    flow.need(kFrameLines + 10);
    flow.textLine("Curva de calibración");
    flow.textLine(recoveredAxisTitle(inputs.identity));
    const Frame f = plotFrame(flow, kFrameLines, plot.x, plot.y);
    drawAxes(s, f);
    using B = BandPoint;
    drawCurve(s, f, plot.line, &B::predictionLower, PenStyle::dotted);
    drawCurve(s, f, plot.line, &B::predictionUpper, PenStyle::dotted);
    drawCurve(s, f, plot.line, &B::confidenceLower, PenStyle::dashed);
    drawCurve(s, f, plot.line, &B::confidenceUpper, PenStyle::dashed);
    drawCurve(s, f, plot.line, &B::fitted, PenStyle::solid);
    for (const PlotPoint& p : plot.results)
        s.marker(f.px(p.x), f.py(p.y), kMarkerSize);
    drawLimitMarks(s, f, plot.limits);
    flow.line += kFrameLines + 1;
    flow.text(f.left + (f.right - f.left - s.textWidth(addedAxisTitle(inputs.identity))) / 2,
              addedAxisTitle(inputs.identity));
    ++flow.line;

    const int y = flow.page().y(flow.line);
    int x = flow.left();
    drawLegendItem(s, x, y, PenStyle::solid, true, "Resultados");
    drawLegendItem(s, x, y, PenStyle::solid, false, "Recta ajustada");
    ++flow.line;
    x = flow.left();
    drawLegendItem(s, x, flow.page().y(flow.line), PenStyle::dashed, false,
                   "Banda de confianza del 95 %");
    drawLegendItem(s, x, flow.page().y(flow.line), PenStyle::dotted, false,
                   "Banda de predicción del 95 %");
    ++flow.line;

    for (const std::string& l : wrapped(s, marksLegend(plot.limits), flow.right() - flow.left())) {
        flow.need(1);
        flow.textLine(l);
    }
    ++flow.line;
}

void drawResidualPlot(PageFlow& flow, const ValidationInputs& inputs,
                      const ValidationContent& content) {
    constexpr int kFrameLines = 9;
    DrawingSurface& s = flow.surface();
    const ResidualPlot& plot = content.residuals;
    flow.need(kFrameLines + 5);
    flow.textLine("Residuos frente a la cantidad adicionada");
    flow.textLine(residualAxisTitle(inputs.identity));
    const Frame f = plotFrame(flow, kFrameLines, plot.x, plot.y);
    drawAxes(s, f);
    s.setPenStyle(PenStyle::dashed);
    drawSegment(s, f.left, f.py(0), f.right, f.py(0));
    s.setPenStyle(PenStyle::solid);
    for (const PlotPoint& p : plot.residuals)
        s.marker(f.px(p.x), f.py(p.y), kMarkerSize);
    flow.line += kFrameLines + 1;
    flow.text(f.left + (f.right - f.left - s.textWidth(addedAxisTitle(inputs.identity))) / 2,
              addedAxisTitle(inputs.identity));
    flow.line += 2;
}

// Columns as wide as their widest text; squeezed alike when together they are too wide.
std::vector<int> columnPlaces(const DrawingSurface& s, const ValidationTable& table, int left,
                              int width, int gap) {
    std::vector<int> widths;
    for (std::size_t c = 0; c < table.headers.size(); ++c) {
        int w = s.textWidth(table.headers[c]);
        for (const auto& row : table.rows)
            if (c < row.size())
                w = std::max(w, s.textWidth(row[c]));
        widths.push_back(w + gap);
    }
    long long total = 0;
    for (const int w : widths)
        total += w;
    std::vector<int> places;
    int x = left;
    for (const int w : widths) {
        places.push_back(x);
        x += total > width ? static_cast<int>(w * static_cast<long long>(width) / total) : w;
    }
    places.push_back(x);
    return places;
}

void drawTable(PageFlow& flow, const ValidationTable& table) {
    DrawingSurface& s = flow.surface();
    const std::vector<int> places =
        columnPlaces(s, table, flow.left(), flow.right() - flow.left(), flow.page().x(kColumnGap));
    const auto heading = [&](const std::string& title) {
        flow.textLine(title);
        for (std::size_t c = 0; c < table.headers.size(); ++c)
            flow.text(places[c], table.headers[c]);
        ++flow.line;
        const int y = flow.page().y(flow.line) - flow.page().lineHeight / 8;
        drawSegment(s, places.front(), y, places.back(), y);
    };
    flow.need(3 + std::min<int>(static_cast<int>(table.rows.size()), 2));
    heading(table.title);
    for (const auto& row : table.rows) {
        if (flow.line > flow.lastLine()) {
            flow.nextPage();
            heading(table.title + " (continuación)");
        }
        for (std::size_t c = 0; c < row.size() && c < table.headers.size(); ++c)
            flow.text(places[c], row[c]);
        ++flow.line;
    }
    ++flow.line;
}

void composePage(DrawingSurface& surface, const PageGeometry& page, const ValidationInputs& inputs,
                 const ValidationParameters& parameters) {
    const ValidationContent content = validationContent(inputs, parameters);
    const StudyIdentity& id = inputs.identity;
    surface.setFont(kPrintFontName, kBodyPointSize);
    PageFlow flow(surface, page);
    flow.textLine("Nombre del método: " + id.method);
    flow.textLine("Nombre del Analista: " + id.analyst);
    flow.textLine("Fecha: " + id.date);
    flow.textLine("Unidades de la cantidad adicionada: " + id.addedUnits);
    flow.textLine("Unidades de la cantidad recuperada: " + id.recoveredUnits);
    flow.textLine(parametersText(parameters));
    ++flow.line;
    drawCalibrationPlot(flow, inputs, content);
    drawResidualPlot(flow, inputs, content);
    for (const ValidationTable& table : content.tables)
        drawTable(flow, table);
    flow.need(2);
    flow.textLine("Avisos");
    if (content.warnings.empty())
        flow.textLine("Ninguno.");
    for (const std::string& warning : content.warnings)
        for (const std::string& l : wrapped(surface, "• " + warning, flow.right() - flow.left())) {
            flow.need(1);
            flow.textLine(l);
        }
    flow.drawMark();
}

}  // namespace

void printValidationPage(DrawingSurface& surface, const StudyDocument& study,
                         const ValidationParameters& parameters) {
    printValidationPage(surface, validationInputs(study), parameters);
}

void printValidationPage(DrawingSurface& surface, const ValidationInputs& inputs,
                         const ValidationParameters& parameters) {
    surface.beginDoc();
    abortOnError(surface, [&] {
        const PageGeometry page = takeGeometry(surface);
        drawHeaderLines(surface, page, kValidationTitle);
        composePage(surface, page, inputs, parameters);
        surface.endDoc();
    });
}

}  // namespace ldc
