// What a canvas draws, kept as shapes and texts beside its pixels, so the same
// drawing code gives a PDF, an SVG or a printed page that scales without steps.
// Units are the canvas's pixels: pixel (x, y) covers the unit square from (x, y).
#pragma once
#include "gui/Graphics.h"
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;

namespace gui {

// A run of pixels x0..x1-1 on row y.
struct PixelSpan {
    int y, x0, x1;
};

class VectorRecorder {
public:
    // The picture's size: lines wholly outside it are left out. Unset, all are kept.
    void SetArea(int width, int height) { area = QRect(0, 0, width, height); }
    // Segments through the pixel centres of pts (closed: back to the first).
    // The dash pattern goes on from styleStart; continuing joins the previous
    // stroke where it ended, as LineTo goes on from the pen position.
    void Stroke(const TPoint* pts, int n, bool closed, const TPen& pen, const TBrush& brush, int styleStart,
                bool continuing);
    // The same through points kept exact, where the map puts them; the line
    // keeps what the picture's pen does (a wide pen of even width half a
    // pixel up and left). Points closer than kExactStep to the one before,
    // or that leave the line within kExactTolerance of them, add nothing a
    // page shows.
    void Stroke(const TPointF* pts, int n, bool closed, const TPen& pen, const TBrush& brush, int styleStart,
                bool continuing);
    static constexpr double kExactStep = 1.0 / 8, kExactTolerance = 0.25;
    // An area of pixel centres inside the polygon through pts.
    void FillPolygon(const TPoint* pts, int n, const TBrush& brush);
    // The same for several rings at once, by the alternate rule.
    void FillRings(const TPoint* pts, const int* counts, int rings, const TBrush& brush);
    // Rings through points kept exact: their outline is the map's own.
    void FillRings(const TPointF* pts, const int* counts, int rings, const TBrush& brush);
    // Between these two the exact fills tile the picture, none over another
    // (the statistics layer's municipalities): those of one colour are kept as
    // one shape, and an edge two of them share is left out of it.
    void BeginTiles();
    void EndTiles();
    // Pixels x0..x1-1, y0..y1-1.
    void FillRect(int x0, int y0, int x1, int y1, const TBrush& brush);
    // An ellipse in the box x0..x1, y0..y1 (pixel edges), outlined inside it
    // with a pen of the given width (0: none).
    void Ellipse(double x0, double y0, double x1, double y1, const TBrush& brush, int penWidth, TColor penColor);
    // A text with its baseline's left end at (x, baseline); clip null for none.
    void Text(double x, double baseline, const QFont& font, TColor color, const QString& text, const QRectF* clip);
    // Pixels of a hatched area, sorted by row, then x.
    void FillSpans(const std::vector<PixelSpan>& spans, const TBrush& brush);
    // The pixels a flood fill took (sorted by row, then x) on a picture of
    // width x height pixels and the one colour they all had (null: they had
    // several). Floods that follow one another are kept as the picture keeps
    // them: what a later one paints over is gone, and each colour is one shape.
    void Flood(const std::vector<PixelSpan>& spans, const TBrush& brush, const TColor* replaced, int width,
               int height);
    // Pixels of an image; those of the transparent colour are left out.
    void Image(const TRect& dest, const QImage& src, const TRect& source, bool transparent, TColor key);
    // Another drawing put in at offset, seen only within clip (an inset's frame).
    void Inset(std::shared_ptr<const VectorRecorder> drawing, QPointF offset, const QRectF& clip);

    bool Empty() const { return items.empty() && lifted.empty() && !group; }
    // Every text kept, in the order drawn.
    struct KeptText {
        QString text;
        QPointF baseline;   // left end
        QFont font;
    };
    std::vector<KeptText> Texts() const;
    // Draws everything kept, in order, in canvas pixel units. keepGoing is
    // asked now and then; false stops the drawing, and Replay returns false.
    // Shapes are drawn in steps of 1/units pixel (1: as kept).
    bool Replay(QPainter& p, const std::function<bool()>& keepGoing = {}, int units = 1) const;

    enum class Kind : uint8_t { Stroke, Fill, Text, Picture, Inset };
    // One thing kept, in canvas pixel units.
    struct Item {
        explicit Item(Kind k, QColor c = {}) : kind(k), color(c) {}
        // Moved, not copied, when the list of items grows: the font and the
        // path have no moves of their own, and a copy shares their data.
        Item(Item&&) noexcept = default;
        Item& operator=(Item&&) noexcept = default;
        Item(const Item&) = default;
        Item& operator=(const Item&) = default;
        Kind kind;
        QColor color;
        int width = 1;
        TPenStyle style = psSolid;
        double dashStart = 0;
        bool closed = false;
        bool exact = false;            // points off the pixels' grid: a writer rounds them to its step
        std::vector<QPointF> points;   // a stroke's line
        std::vector<std::vector<QPointF>> rings;   // a fill's outlines, odd-even unless winding
        bool winding = false;
        QPainterPath path;                           // a fill of curves, when no rings
        QRectF box;                    // a picture's place, a text's or an inset's clip
        bool clipped = false;
        QFont font;
        QString text;
        QImage image;
        std::shared_ptr<const VectorRecorder> inset;   // drawn moved by points[0]
    };
    // Hands over everything kept in the order drawn, until f returns false;
    // false when it did.
    bool Visit(const std::function<bool(const Item&)>& f) const;

private:
    template <class P>
    void StrokeOf(const P* pts, int n, bool closed, const TPen& pen, const TBrush& brush, int styleStart,
                  bool continuing);
    void Add(Item item);
    void AddHatch(const std::vector<PixelSpan>& spans, const TBrush& brush);
    size_t LiftPlace(TColor replaced);
    bool LiftedOnTop() const;
    void CloseGroup() const;

    QRect area;
    std::vector<Item> items;
    bool tiling = false;
    std::vector<Item> tiles;   // one fill per colour until EndTiles
    // Floods go under the strokes drawn since the last other item: in the
    // picture they took only the pixels those strokes left, so the strokes
    // cover their edges whatever the scale.
    struct Lifted {
        size_t before;   // drawn before items[before]
        Item item;
    };
    mutable std::vector<Lifted> lifted;
    // The floods at one place of the order: for each pixel (with a blank
    // border) the key of the last flood that inked it, 0 for none. Traced
    // into shapes when a flood goes elsewhere or the drawing is read.
    struct FloodGroup {
        size_t before = 0;
        int w = 0, h = 0, y0 = 0, y1 = -1;
        std::vector<uint16_t> ink;
        std::vector<TBrush> keys;   // key k is keys[k - 1]
        std::unordered_map<uint64_t, uint16_t> keyOf;
    };
    mutable std::unique_ptr<FloodGroup> group;
    size_t floor = 0;   // no flood goes below this item
    std::unordered_map<uint32_t, size_t> lastStrokeOf;   // colour -> index + 1
    std::unordered_map<size_t, std::vector<QImage>> pictures;   // by a hash of their pixels
};

// The text less its control characters and the code points that are no characters.
QString WithoutControls(const QString& text);

// The outline of a set of pixels, grown by up to `grow` (< 0.5) pixel beyond
// their edges so a fill meets the lines around it, its corners cut at 45
// degrees: pixel centres inside it are exactly the set's.
std::vector<std::vector<QPointF>> TraceOutline(const std::vector<PixelSpan>& spans, double grow);

} // namespace gui
