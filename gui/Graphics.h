// Canvas, bitmap and picture: the drawing model the map is painted with.
// Pixel-exact rules (no anti-aliasing, end pixel of LineTo left unset, hatches
// aligned to the image origin, scanline flood fill) are what the map relies on.
#pragma once
#include "gui/Types.h"
#include <QImage>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;
namespace gui {
class VectorRecorder;
}

struct TPoint {
    int x = 0, y = 0;
    TPoint() = default;
    TPoint(int x_, int y_) : x(x_), y(y_) {}
    bool operator==(const TPoint&) const = default;
};

// A point in pixel units as the map puts it, before it is taken to a pixel
// (pixel p covers [p, p + 1)): what a vector device keeps in place of TPoint.
struct TPointF {
    double x = 0, y = 0;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    TRect() = default;
    TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
inline TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
inline TPoint Point(int x, int y) { return TPoint(x, y); }

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmCopy, pmXor, pmNotXor, pmNot };
// Same order as the pattern codes stored in paint files: 0 solid, 1 clear, 2..7 hatches.
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFillStyle { fsSurface, fsBorder };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
    TPenMode Mode = pmCopy;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};

struct TFontStyles {
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
};

struct TFont {
    static constexpr int kDefaultSize = 9;
    std::string Name = "IPAGothic";   // canvas default: shows Japanese text
    int Size = kDefaultSize;          // points at 96 dpi; 0 draws at the default size
    TColor Color = clBlack;
    TFontStyles Style;
    int Height() const;               // pixels, as the desktop reports it (negative: em height)
    // A height in pixels in place of Size, as the desktop's Height property
    // takes it: positive the whole text height, negative the em height.
    // SetHeight(0) lets Size decide again.
    void SetHeight(int pixels) { PixelHeight = std::clamp(pixels, -4000, 4000); }
    int PixelHeight = 0;
};

class TBitmap;

namespace gui {
// Where a layer keeps one text it writes on every redraw: the canvas finds
// the text's laid-out ink from here without looking the text up again. Any
// slot is safe to pass: one filled for another text, font or run of the
// cache is simply filled again.
struct TextSlot {
    uint64_t generation = 0;
    const void* font = nullptr;
    const std::string* text = nullptr;   // the cache's own copy
    const void* laid = nullptr;
};
} // namespace gui

class TCanvas {
public:
    TPen* Pen;
    TBrush* Brush;
    TFont* Font;

    explicit TCanvas(TBitmap* owner);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    TPoint PenPos() const { return penPos; }
    void SetPenPos(TPoint p) { penPos = p; styleIndex = 0; exactKept = false; }
    // Connected segments, end pixel of the last one left unset, as LineTo would.
    void Polyline(const TPoint* pts, int count);
    // The same, where a vector device keeps the exact points instead of the
    // pixels (exact may be null: the pixels are kept). The pixels drawn are
    // the same either way.
    void Polyline(const TPoint* pts, const TPointF* exact, int count);
    // MoveTo and LineTo with the exact ends kept for a vector device.
    void MoveTo(int x, int y, TPointF exact);
    void LineTo(int x, int y, TPointF exact);
    void Polygon(const TPoint* pts, int count);
    // Rings of counts[0], counts[1], ... points filled together with the brush
    // by the alternate rule (holes stay open), no outline.
    void FillRings(const TPoint* pts, const int* counts, int rings);
    void FillRings(const TPoint* pts, const TPointF* exact, const int* counts, int rings);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int x1, int y1, int x2, int y2);
    // A circle of radius r round (cx, cy) in pixel edges: the pixels of the
    // nearest whole box, kept as shapes at its exact size.
    void Circle(double cx, double cy, double r);
    // The same where a vector device keeps the circle round exact, a point
    // within the pixel of (cx, cy) the picture is drawn round.
    void Circle(double cx, double cy, double r, TPointF exact);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void TextOut(int x, int y, const std::string& text);
    void TextOut(int x, int y, const std::string& text, gui::TextSlot& slot);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    void FloodFill(int x, int y, TColor color, TFillStyle style);
    TColor Pixels(int x, int y) const;          // -1 outside the image
    void SetPixel(int x, int y, TColor c);
    void CopyRect(const TRect& dest, TCanvas* src, const TRect& source);
    void Draw(int x, int y, TBitmap* bmp);     // honours bmp->Transparent
    void StretchDraw(const TRect& r, TBitmap* bmp);

    int Width() const;
    int Height() const;
    QImage& Image();
    // Called after every drawing call (the image control repaints itself from it).
    std::function<void()> OnChange;
    // While set, what is drawn in copy mode is also kept as shapes and texts.
    gui::VectorRecorder* Vector = nullptr;
    void Changed();
    // A shape, text, fill or picture wholly inside one of these boxes is not
    // drawn, nor is a flood that starts in one (what an inset shows is left
    // out of the map under it).
    std::vector<TRect> Hidden;
    bool InHidden(int64_t left, int64_t top, int64_t right, int64_t bottom) const;

private:
    void LinePixels(int x, int y);   // LineTo's pixels, and the pen moved on
    TBitmap* owner;
    TPoint penPos;
    int styleIndex = 0;   // where a styled pen's dash pattern goes on (reset by MoveTo)
    TPointF exactPos;     // the pen position as given, while exactKept
    bool exactKept = false;
    TPen pen;
    TBrush brush;
    TFont font;
    const double* exactBox = nullptr;   // the box a vector device keeps instead of the pixels' one
    friend class TCanvasImpl;
};

class TBitmap {
public:
    TBitmap();
    TBitmap(int w, int h);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    TCanvas* Canvas() { return canvas.get(); }
    int Width() const { return image.width(); }
    int Height() const { return image.height(); }
    void SetWidth(int w);
    void SetHeight(int h);
    void SetSize(int w, int h);     // keeps the top-left part, new area white
    bool Empty() const { return image.isNull() || image.width() == 0 || image.height() == 0; }
    void Assign(const TBitmap* other);
    bool LoadFromFile(const std::string& path);   // BMP and whatever Qt reads
    bool SaveToFile(const std::string& path) const; // BMP
    QImage& Image() { return image; }
    const QImage& Image() const { return image; }

    bool Transparent = false;
    TColor TransparentColor = clWhite;

private:
    QImage image;   // Format_RGB32
    std::unique_ptr<TCanvas> canvas;
};

namespace gui {
// The 54-byte header of an uncompressed 24-bit bottom-up bitmap file of
// width x height pixels, and the padded length of its rows; false when the
// file would pass 4 GB.
bool BmpHeader(uint32_t width, uint32_t height, uint8_t (&head)[54], uint64_t& stride);
// Texts drawn so far are kept as their ink; this forgets them all, so the next
// drawing of each text lays it afresh (as on the first redraw of a run).
void ForgetLaidTexts();
} // namespace gui

class TPicture {
public:
    TPicture();
    ~TPicture();
    TBitmap* Bitmap() { return bitmap.get(); }
    bool HasGraphic() const { return !bitmap->Empty(); }
    void Assign(const TPicture* other);     // copies the image
    void Assign(const TBitmap* bmp);
    void Clear();
    bool LoadFromFile(const std::string& path);
    bool SaveToFile(const std::string& path) const;
    std::function<void()> OnChange;

private:
    std::unique_ptr<TBitmap> bitmap;
};
