// Page settings on the document, and their QPageLayout.
#include "rtf.h"
#include "rtfpage.h"

#include <QPageLayout>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace tavrin::rtf {

namespace {
enum PageProperty : int {
    PaperWidth = DocumentFirst,
    PaperHeight,
    MarginLeft,
    MarginRight,
    MarginTop,
    MarginBottom,
    Landscape,
};
constexpr double PointsPerTwip = 1.0 / TwipsPerPoint;
} // namespace

std::optional<PageSettings> pageSettings(const QTextDocument &doc)
{
    const QTextFrameFormat f = doc.rootFrame()->frameFormat();
    if (!f.hasProperty(PaperWidth))
        return std::nullopt;
    PageSettings s;
    s.paperWidth = f.intProperty(PaperWidth);
    s.paperHeight = f.intProperty(PaperHeight);
    s.left = f.intProperty(MarginLeft);
    s.right = f.intProperty(MarginRight);
    s.top = f.intProperty(MarginTop);
    s.bottom = f.intProperty(MarginBottom);
    s.landscape = f.boolProperty(Landscape);
    return s;
}

void setPageSettings(QTextDocument &doc, const std::optional<PageSettings> &s)
{
    QTextFrameFormat f = doc.rootFrame()->frameFormat();
    if (s == pageSettings(doc))
        return;
    if (!s) {
        for (int p : {PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, Landscape})
            f.clearProperty(p);
    } else {
        f.setProperty(PaperWidth, s->paperWidth);
        f.setProperty(PaperHeight, s->paperHeight);
        f.setProperty(MarginLeft, s->left);
        f.setProperty(MarginRight, s->right);
        f.setProperty(MarginTop, s->top);
        f.setProperty(MarginBottom, s->bottom);
        f.setProperty(Landscape, s->landscape);
    }
    doc.rootFrame()->setFrameFormat(f);
}

std::optional<QPageLayout> pageLayout(const QTextDocument &doc)
{
    const std::optional<PageSettings> s = pageSettings(doc);
    if (!s)
        return std::nullopt;
    // Word and LibreOffice give a landscape page's paper as it is printed,
    // wider than tall; QPageLayout wants the paper upright and the orientation.
    const bool landscape = s->landscape || s->paperWidth > s->paperHeight;
    const int shortSide = std::min(s->paperWidth, s->paperHeight), longSide = std::max(s->paperWidth, s->paperHeight);
    const QPageSize size(QSizeF(shortSide * PointsPerTwip, longSide * PointsPerTwip), QPageSize::Point);
    const QMarginsF margins(s->left * PointsPerTwip, s->top * PointsPerTwip, s->right * PointsPerTwip,
                            s->bottom * PointsPerTwip);
    QPageLayout layout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode); // margins wider than the printer allows are still taken
    layout.setMargins(margins);
    return layout;
}

void setPageLayout(QTextDocument &doc, const QPageLayout &layout)
{
    const QRectF paper = layout.fullRect(QPageLayout::Point); // as printed
    const QMarginsF m = layout.margins(QPageLayout::Point);
    const auto twips = [](double points) { return int(std::lround(points * TwipsPerPoint)); };
    PageSettings s;
    s.paperWidth = twips(paper.width());
    s.paperHeight = twips(paper.height());
    s.left = twips(m.left());
    s.right = twips(m.right());
    s.top = twips(m.top());
    s.bottom = twips(m.bottom());
    s.landscape = layout.orientation() == QPageLayout::Landscape;
    setPageSettings(doc, s);
}

} // namespace tavrin::rtf
