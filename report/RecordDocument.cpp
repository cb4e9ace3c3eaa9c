#include "report/RecordDocument.h"

#include <cstdio>
#include <regex>

#include "calc/Ucalculo.h"
#include "report/PrintGeometry.h"
#include "report/Uprint1.h"
#include "report/ValidationPage.h"
#include "study/LdcError.h"

namespace ldc {
namespace {

// Each document after the first continues the one the first began; only the record as a
// whole ends.
class JoinedDocument : public DrawingSurface {
public:
    explicit JoinedDocument(DrawingSurface& target) : m_target(target) {}

    void beginDoc() override {
        if (m_begun)
            m_target.newPage();
        else
            m_target.beginDoc();
        m_begun = true;
    }
    void endDoc() override {}
    void abortDoc() override {
        m_begun = false;
        m_target.abortDoc();
    }
    void newPage() override { m_target.newPage(); }
    void finish() {
        if (m_begun)
            m_target.endDoc();
        m_begun = false;
    }

    void setFont(const std::string& name, int pointSize) override {
        m_target.setFont(name, pointSize);
    }
    int fontHeight() const override { return m_target.fontHeight(); }
    int fontPointSize() const override { return m_target.fontPointSize(); }
    int textWidth(const std::string& text) const override { return m_target.textWidth(text); }
    void textOut(int x, int y, const std::string& text) override { m_target.textOut(x, y, text); }
    void moveTo(int x, int y) override { m_target.moveTo(x, y); }
    void lineTo(int x, int y) override { m_target.lineTo(x, y); }
    void setPenStyle(PenStyle style) override { m_target.setPenStyle(style); }
    void marker(int x, int y, int size) override { m_target.marker(x, y, size); }
    int pageWidth() const override { return m_target.pageWidth(); }
    int pageHeight() const override { return m_target.pageHeight(); }

private:
    DrawingSurface& m_target;
    bool m_begun = false;
};

// A PDF text string in UTF-16BE, so that accents and ñ read the same in every viewer.
std::string pdfText(const std::string& utf8) {
    std::string hex = "<FEFF";
    const auto unit = [&](unsigned value) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04X", value);
        hex += digits;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        unsigned code = length == 1 ? byte : byte & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            unit(0xD800 + (code >> 10));
            unit(0xDC00 + (code & 0x3FF));
        } else {
            unit(code);
        }
    }
    return hex + ">";
}

// The creation date entry of the document information: "2026-12-06T17:05:03+01:00" as the
// PDF date D:20261206170503+01'00'. None for a time of any other shape.
std::string creationDateEntry(const std::string& iso) {
    if (!std::regex_match(iso, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")))
        return {};
    return "/CreationDate (D:" + iso.substr(0, 4) + iso.substr(5, 2) + iso.substr(8, 2) +
           iso.substr(11, 2) + iso.substr(14, 2) + iso.substr(17, 2) + iso.substr(19, 3) + "'" +
           iso.substr(23, 2) + "')\n";
}

}  // namespace

std::vector<PageComposition> recordPages(const StudyDocument& study) {
    return {
        [&study](DrawingSurface& surface) { laser::printGeneralPage(surface, study); },
        [&study](DrawingSurface& surface) {
            CalibrationResults results;
            ComputeCalibration(study, results);
            laser::printResultsPage(surface, study, results);
        },
        // The validation evidence with the parameters laboratories default to.
        [&study](DrawingSurface& surface) { printValidationPage(surface, study, {}); },
    };
}

void composeRecord(DrawingSurface& surface, const std::vector<PageComposition>& pages) {
    JoinedDocument joined(surface);
    abortOnError(joined, [&] {
        for (const PageComposition& compose : pages)
            compose(joined);
        joined.finish();
    });
}

RecordMetadata recordMetadata(const StudyDocument& study, const PageIdentity& identity) {
    return {study.text(StudyField::method), study.text(StudyField::analyst), identity.program,
            identity.fileState, identity.printedAt};
}

std::string withDocumentInfo(const std::string& pdf, const RecordMetadata& metadata) {
    const std::size_t trailerAt = pdf.rfind("trailer");
    const std::size_t startXrefAt = pdf.rfind("startxref");
    std::smatch size, root, previous;
    const std::string trailer =
        trailerAt == std::string::npos ? std::string() : pdf.substr(trailerAt);
    if (startXrefAt == std::string::npos || trailerAt == std::string::npos ||
        !std::regex_search(trailer, size, std::regex(R"(/Size\s+(\d+))")) ||
        !std::regex_search(trailer, root, std::regex(R"(/Root\s+(\d+\s+\d+\s+R))")) ||
        !std::regex_search(pdf.begin() + static_cast<long>(startXrefAt), pdf.end(), previous,
                           std::regex(R"(startxref\s+(\d+))")))
        throw Error("El documento PDF no tiene la estructura esperada.");

    const long infoObject = std::stol(size[1]);
    std::string out = pdf;
    if (!out.empty() && out.back() != '\n')
        out += '\n';
    const std::size_t infoAt = out.size();
    out += std::to_string(infoObject) + " 0 obj\n<<\n/Title " + pdfText(metadata.title) +
           "\n/Author " + pdfText(metadata.author) + "\n/Subject " + pdfText(metadata.subject) +
           "\n/Creator " + pdfText(metadata.creator) + "\n" + creationDateEntry(metadata.created) +
           ">>\nendobj\n";
    const std::size_t xrefAt = out.size();
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", infoAt);
    out += "xref\n" + std::to_string(infoObject) + " 1\n" + entry;
    out += "trailer\n<<\n/Size " + std::to_string(infoObject + 1) + "\n/Root " + root[1].str() +
           "\n/Info " + std::to_string(infoObject) + " 0 R\n/Prev " + previous[1].str() +
           "\n>>\nstartxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    return out;
}

}  // namespace ldc
