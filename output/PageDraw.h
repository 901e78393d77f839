// A composed page drawn: the map and the legend as the layers recorded them,
// placed on the paper, and the page's own texts and marks in millimetres,
// written the same way by the PDF, the SVG and the printer.
#pragma once
#include "gui/VectorRecorder.h"
#include "output/PageLayout.h"
#include <QColor>
#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace output {

// One mark of the page itself, in millimetres on the paper.
struct PageMark {
    enum Kind { Box, Outline, Polygon, Text } kind = Box;
    QRectF rect;                  // Box, Outline; a Text's box
    std::vector<QPointF> points;  // Polygon
    QColor colour = Qt::black;
    double penMm = 0.2;           // Outline
    std::string text;
    double pointSize = 9;         // a Text's size in points
    double baseline = 0;          // a Text's baseline, from the paper's top
    bool bold = false;
};

struct PagePicture {
    PageSheet sheet;
    PageComposition page;
    gui::VectorRecorder map;      // the view's pixels
    gui::VectorRecorder legend;   // pixels of a 600 view, at the page's density
    QRectF legendBox;             // where the legend lies in them
    std::string title, subtitle, credit;
    std::string scaleNote;        // under the scale bar of a page at a scale typed: "縮尺 1:N"
    std::vector<PageMark> Marks() const;
};

// The fonts the page's texts are set in, in points.
constexpr double kTitlePoints = 18, kSubtitlePoints = 12, kCreditPoints = 7, kScaleBarPoints = 8, kNorthPoints = 9;
// A text's width and height (ascent + descent) in millimetres, and its ascent.
QSizeF TextSizeMm(const std::string& text, double points, bool bold = false, double* ascentMm = nullptr);
// The items' sizes as the page draws them at 1:scale (empty: nothing to draw).
void MeasurePageItems(const PagePicture& pic, double scale, QSizeF (&sizes)[PAGE_ITEMS]);
// The box of everything a recorder holds, in its pixels.
QRectF RecordedBounds(const gui::VectorRecorder& rec);
// The page on a painter, the paper's top-left corner at the painter's origin
// and dotsPerMm of its units to a millimetre; false when keepGoing stopped it.
bool DrawPage(QPainter& p, const PagePicture& pic, double dotsPerMm, const std::function<bool()>& keepGoing = {});
// Its two halves: the map in its frame, and all that lies over it.
bool DrawPageMap(QPainter& p, const PagePicture& pic, double dotsPerMm, const std::function<bool()>& keepGoing = {});
void DrawPageItems(QPainter& p, const PagePicture& pic, double dotsPerMm);

} // namespace output
