#pragma once

#include <string>
#include <vector>

#include "report/DrawingSurface.h"
#include "report/PageIdentity.h"

namespace ldc {

// Any printed document with the study's identity on every page: the identity lines and
// "Página n de m" go below the lowest item the page's composition drew, where nothing else
// is printed (above the highest one, where the header leaves the page's top free, when a
// page is full to its foot), and everything the composition draws reaches the target
// exactly as it would without this surface. A document's pages are held until it ends,
// since each page names the number of pages.
class IdentifiedSurface : public DrawingSurface {
public:
    IdentifiedSurface(DrawingSurface& target, PageIdentity identity);

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
    void setPenStyle(PenStyle style) override;
    void marker(int x, int y, int size) override;

    int pageWidth() const override;
    int pageHeight() const override;

private:
    struct Font {
        std::string name;
        int pointSize = 0;
        bool operator==(const Font&) const = default;
    };
    struct Item {
        enum class Kind { text, move, line, pen, marker } kind;
        Font font;
        int x = 0, y = 0;
        std::string text;
        PenStyle pen = PenStyle::solid;
        int size = 0;  // a marker's
    };
    struct Page {
        std::vector<Item> items;
        int top = -1;    // highest pixel drawn on the page, -1 while it is empty
        int bottom = 0;  // lowest pixel drawn on the page
        void cover(int from, int to);
    };

    void drawIdentity(const Page& drawn, int page, int pages);
    void useFont(const Font& font);

    DrawingSurface& m_target;
    PageIdentity m_identity;
    Font m_font;        // the composition's current font
    Font m_targetFont;  // the font last set on the target
    std::vector<Page> m_pages;
};

}  // namespace ldc
