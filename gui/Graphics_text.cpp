// Text on the canvas: fonts sized in points at 96 dpi whatever the screen,
// drawn without anti-aliasing so every text pixel is the font colour.
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include "gui/VectorRecorder.h"
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <QGlyphRun>
#include <QRawFont>
#include <unordered_map>
#include <vector>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <tuple>

using namespace gui::raster;

namespace {

// The desktop's Japanese faces have metric twins among the IPA fonts; a
// full-width or ASCII P before the face word asks for the proportional one.
std::string FaceName(const std::string& name) {
    std::string lower;
    for (char ch : name) lower += (ch >= 'A' && ch <= 'Z') ? char(ch - 'A' + 'a') : ch;
    auto has = [&](const char* s) { return lower.find(s) != std::string::npos; };
    bool proportional = has("\xEF\xBC\xB0") || has("pgothic") || has("pmincho") || has("p gothic") || has("p mincho");
    if (has("明朝") || has("mincho")) return proportional ? "IPAPMincho" : "IPAMincho";
    if (name.empty() || has("ゴシック") || has("gothic")) return proportional ? "IPAPGothic" : "IPAGothic";
    return name;
}

// A text drawn once is kept as the runs of pixels its ink covers, relative to
// its top-left corner: labels write the same few thousand texts on every
// redraw, and a glyph rasteriser per text costs more than the whole map.
struct InkRun {
    int dy, dx0, dx1;
};
struct LaidText {
    int width;
    bool kept;   // large texts are few and drawn afresh
    std::vector<InkRun> ink;
};

struct FontEntry {
    QFont font;
    QFontMetrics metrics;
    int ascent, descent;
    explicit FontEntry(const QFont& f)
        : font(f), metrics(f), ascent(metrics.ascent()), descent(metrics.descent()) {}
    mutable std::unordered_map<std::string, LaidText> laid;
    // The ink of each glyph at each fraction of a pixel it was placed at: a
    // new text of known glyphs is put together without a rasteriser.
    // The glyphs' runs lie one after another in one list; a glyph of the
    // first face on whole pixels, nearly every one, is found by its number.
    struct GlyphSpan {
        uint32_t at = 0, count = UINT32_MAX;   // no count: not laid yet
    };
    mutable std::vector<QRawFont> glyphFonts;
    mutable std::vector<InkRun> glyphInk;
    mutable std::vector<GlyphSpan> plainGlyphs;
    mutable std::unordered_map<uint64_t, GlyphSpan> otherGlyphs;
    void ForgetGlyphs() const {
        glyphInk.clear(), plainGlyphs.clear(), otherGlyphs.clear();
    }
    const std::pair<const std::string, LaidText>& Lay(const std::string& s) const;
    void GlyphsInk(const QTextLine& line, int w, std::vector<InkRun>& runs) const;
    // The width of a text that is not drawn: no ink is laid for it.
    int WidthOf(const std::string& s) const;
};

// Counts the runs of the laid texts: a slot filled in another run is stale.
uint64_t laidGeneration = 1;

using FontKey = std::tuple<std::string, int, bool, bool, bool, bool>;

// Sizes are kept by the pixels they come to.
FontKey KeyOf(const TFont& f) {
    return {f.Name, f.Height(), f.Style.Bold, f.Style.Italic, f.Style.Underline, f.Style.StrikeOut};
}

// Labels draw thousands of texts in a few fonts: keep each font and its
// metrics. Dropped with the application, as fonts must not outlive it.
struct FontCache {
    std::map<FontKey, std::unique_ptr<FontEntry>> entries;
    FontKey lastKey;
    const FontEntry* last = nullptr;
};
FontCache* cache = nullptr;

void DropLayingPad();

void DropFontCache() {
    ++laidGeneration;
    DropLayingPad();
    delete cache;
    cache = nullptr;
}

const FontEntry& FontFor(const TFont& f) {
    if (!cache) {
        cache = new FontCache;
        qAddPostRoutine(DropFontCache);
    }
    // Texts come in long runs of one font: the last one is compared field by
    // field, without making a key.
    if (cache->last) {
        const auto& [name, height, bold, italic, underline, strikeOut] = cache->lastKey;
        if (height == f.Height() && bold == f.Style.Bold && italic == f.Style.Italic &&
            underline == f.Style.Underline && strikeOut == f.Style.StrikeOut && name == f.Name)
            return *cache->last;
    }
    FontKey key = KeyOf(f);
    auto& slot = cache->entries[key];
    if (!slot) {
        QFont q(QString::fromStdString(FaceName(f.Name)));
        const int height = f.Height();
        q.setPixelSize(std::max(1, std::abs(height)));
        q.setBold(f.Style.Bold);
        q.setItalic(f.Style.Italic);
        q.setUnderline(f.Style.Underline);
        q.setStrikeOut(f.Style.StrikeOut);
        q.setKerning(false);
        q.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
        slot = std::make_unique<FontEntry>(q);
        // A positive height is the whole text's: the largest em that fits it.
        for (int em = height - 1; height > 0 && em >= 1 && slot->ascent + slot->descent > height; --em) {
            q.setPixelSize(em);
            slot = std::make_unique<FontEntry>(q);
        }
    }
    cache->lastKey = std::move(key);
    cache->last = slot.get();
    return *slot;
}

QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Qt takes the baseline in int: a text whose box cannot reach the image is not drawn at all.
bool BoxMeetsImage(const QImage& img, int64_t x, int64_t y, int64_t w, int64_t h) {
    return x + w > 0 && y + h > 0 && x < img.width() && y < img.height();
}

void DrawText(QImage& img, const FontEntry& fe, TColor color, int x, int y, const QString& s, const QRect* clip) {
    if (s.isEmpty() || !BoxMeetsImage(img, x, y, fe.metrics.horizontalAdvance(s), fe.ascent + fe.descent)) return;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (clip) p.setClipRect(*clip);
    p.setFont(fe.font);
    p.setPen(ToQColor(color));
    p.drawText(x, y + fe.ascent, s);
}

// Texts are laid on one scratch image through one painter kept open between
// them: a painter per text cost more than drawing the text. The image is grey,
// a byte a pixel: most of the box is white, cleared and scanned for ink.
class LayingPad {
public:
    ~LayingPad() { Close(); }
    // A white box of w x h at the top left, ready for a text in black in the font.
    QPainter& Open(int w, int h, const FontEntry* fe) {
        if (w > image.width() || h > image.height()) {
            Close();
            image = QImage(std::max(w, image.width()), std::max(h, image.height()), QImage::Format_Grayscale8);
        }
        if (!painter) {
            painter = std::make_unique<QPainter>(&image);
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setRenderHint(QPainter::TextAntialiasing, false);
            painter->setPen(QColor(0, 0, 0));
            font = nullptr;
        }
        if (fe != font) painter->setFont(fe->font), font = fe;
        const qsizetype stride = image.bytesPerLine();
        uchar* bits = image.bits();
        for (int y = 0; y < h; ++y) std::memset(bits + y * stride, 0xFF, size_t(w));
        return *painter;
    }
    const uint8_t* Row(int y) const { return image.constScanLine(y); }
    void Close() { painter.reset(); }

private:
    QImage image;
    std::unique_ptr<QPainter> painter;
    const FontEntry* font = nullptr;   // entries live as long as the pad
};

// The first pixel from x on that is not white, or end.
int SkipWhite(const uint8_t* row, int x, int end) {
#ifdef __SSE2__
    const __m128i white = _mm_set1_epi8(-1);
    for (; x + 16 <= end; x += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, white)) != 0xFFFF) break;
    }
#endif
    while (x < end && row[x] == 0xFF) ++x;
    return x;
}

LayingPad* pad = nullptr;

void DropLayingPad() {
    delete pad;
    pad = nullptr;
}

LayingPad& Pad() {
    if (!pad) {
        pad = new LayingPad;
        qAddPostRoutine(DropLayingPad);
    }
    return *pad;
}

// The ink on the pad's top-left pw x ph, as runs relative to (m, m).
void ScanPad(int pw, int ph, int m, std::vector<InkRun>& runs) {
    for (int y = 0; y < ph; ++y) {
        const uint8_t* row = Pad().Row(y);
        for (int x = 0; x < pw;) {
            x = SkipWhite(row, x, pw);
            if (x == pw) break;
            const int x0 = x;
            while (x < pw && row[x] != 0xFF) ++x;
            runs.push_back({y - m, x0 - m, x - m});
        }
    }
}

// A laid line's ink from the ink of its glyphs, each drawn alone once at the
// same fraction of a pixel: the same pixels as the line drawn whole, clipped
// to the same room around its box.
void FontEntry::GlyphsInk(const QTextLine& line, int w, std::vector<InkRun>& runs) const {
    const int h = ascent + descent, m = h + 2;
    const double top = ascent - line.ascent();
    if (glyphInk.size() >= (4u << 20) || otherGlyphs.size() >= 20000) ForgetGlyphs();   // a bound only
    for (const QGlyphRun& run : line.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        size_t face = 0;
        while (face < glyphFonts.size() && !(glyphFonts[face] == raw)) ++face;
        if (face == glyphFonts.size()) glyphFonts.push_back(raw);
        const QList<quint32> ids = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < ids.size() && i < at.size(); ++i) {
            const double x = at[i].x(), y = at[i].y() + top;
            if (!std::isfinite(x) || !std::isfinite(y) || std::abs(x) > 1e6 || std::abs(y) > 1e6) continue;
            const double fx = std::floor(x), fy = std::floor(y);
            const int sx = int(std::lround((x - fx) * 64)), sy = int(std::lround((y - fy) * 64));
            GlyphSpan* span;
            if (face == 0 && sx == 0 && sy == 0 && ids[i] < 65536) {
                if (plainGlyphs.size() <= ids[i]) plainGlyphs.resize(size_t(ids[i]) + 1);
                span = &plainGlyphs[ids[i]];
            } else {
                span = &otherGlyphs[(uint64_t(face) << 48) | (uint64_t(sx & 127) << 41) | (uint64_t(sy & 127) << 34) | ids[i]];
            }
            if (span->count == UINT32_MAX) {
                // Room for a glyph as wide as the line's own room.
                const int g = 2 * m, pw = 4 * m + 2 * h, ph = 4 * m + h;
                QPainter& p = Pad().Open(pw, ph, this);
                QGlyphRun one;
                one.setRawFont(raw);
                one.setGlyphIndexes({ids[i]});
                one.setPositions({QPointF(g + sx / 64.0, g + sy / 64.0)});
                p.drawGlyphRun(QPointF(0, 0), one);
                const size_t first = glyphInk.size();
                ScanPad(pw, ph, g, glyphInk);
                *span = {uint32_t(first), uint32_t(glyphInk.size() - first)};
            }
            const int ox = int(fx), oy = int(fy);
            for (const InkRun& r : std::span(glyphInk).subspan(span->at, span->count)) {
                const int dy = r.dy + oy, dx0 = std::max(r.dx0 + ox, -m), dx1 = std::min(r.dx1 + ox, w + m);
                if (dy >= -m && dy < h + m && dx0 < dx1) runs.push_back({dy, dx0, dx1});
            }
        }
    }
}

int FontEntry::WidthOf(const std::string& s) const {
    auto it = laid.find(s);
    return it != laid.end() ? it->second.width : metrics.horizontalAdvance(ToQ(s));
}

const std::pair<const std::string, LaidText>& FontEntry::Lay(const std::string& s) const {
    auto it = laid.find(s);
    if (it != laid.end()) return *it;

    if (laid.size() >= 50000) {   // a bound only: the texts of a map seldom change
        laid.clear();
        ++laidGeneration;
    }
    const QString q = ToQ(s);
    const int h = ascent + descent;
    // A plain font's text is shaped once for both its width and its ink: the
    // same pixels and width as the painter's own text, at half the cost.
    const bool plain = !font.bold() && !font.italic() && !font.underline() && !font.strikeOut() && !q.isEmpty();
    std::optional<QTextLayout> layout;
    QTextLine line;
    if (plain) {
        layout.emplace(q, font);
        layout->setCacheEnabled(true);   // the glyphs shaped for the width are the ones drawn
        layout->beginLayout();
        line = layout->createLine();
        layout->endLayout();
    }
    const int w = line.isValid() ? qRound(line.horizontalAdvance()) : metrics.horizontalAdvance(q);
    LaidText t{w, h <= 256 && w <= 4096, {}};
    // Room around the box for ink that overhangs it.
    const int m = h + 2;
    if (!q.isEmpty() && t.kept) {
        // Runs are gathered in one reused list and kept in one allocation.
        static std::vector<InkRun> runs;
        runs.clear();
        if (line.isValid()) {
            GlyphsInk(line, t.width, runs);
        } else {
            const int pw = t.width + 2 * m, ph = h + 2 * m;
            Pad().Open(pw, ph, this).drawText(m, m + ascent, q);
            ScanPad(pw, ph, m, runs);
        }
        t.ink.assign(runs.begin(), runs.end());
    }
    return *laid.emplace(s, std::move(t)).first;
}

// The kept ink of a text in one colour, clipped to the image.
void PutInk(QImage& img, const LaidText& t, int64_t x, int64_t y, TColor color) {
    const uint32_t c = ToQColor(color).rgb();
    uchar* bits = img.bits();
    const qsizetype stride = img.bytesPerLine();
    const int64_t W = img.width(), H = img.height();
    for (const InkRun& r : t.ink) {
        const int64_t yy = y + r.dy;
        if (yy < 0 || yy >= H) continue;
        const int64_t a = std::max<int64_t>(0, x + r.dx0), b = std::min<int64_t>(W, x + r.dx1);
        if (a >= b) continue;
        std::fill_n(reinterpret_cast<uint32_t*>(bits + yy * stride) + a, b - a, c);
    }
}

} // namespace

void gui::ForgetLaidTexts() {

    ++laidGeneration;
    if (!cache) return;
    for (auto& [key, entry] : cache->entries) entry->laid.clear(), entry->ForgetGlyphs();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    gui::TextSlot slot;   // nothing kept: the text is looked up
    TextOut(x, y, text, slot);
}

void TCanvas::TextOut(int x, int y, const std::string& text, gui::TextSlot& slot) {
    QImage& img = Image();
    const FontEntry& fe = FontFor(*Font);
    const int h = fe.ascent + fe.descent;
    const LaidText* laid;
    if (slot.generation == laidGeneration && slot.font == &fe && *slot.text == text) {
        laid = static_cast<const LaidText*>(slot.laid);
    } else {
        // A text that cannot meet the image is not laid out: only its width is wanted.
        if (!img.isNull() && (int64_t(y) + h <= 0 || y >= img.height() || x >= img.width())) {
            penPos = TPoint(int(std::min<int64_t>(int64_t(x) + fe.WidthOf(text), INT_MAX)), y);
            exactKept = false;
            return Changed();
        }
        const auto& entry = fe.Lay(text);
        slot = {laidGeneration, &fe, &entry.first, &entry.second};
        laid = &entry.second;
    }
    const LaidText& t = *laid;
    const int w = t.width;
    // A text belongs where its middle is.
    const bool hidden = !Hidden.empty() && InHidden(int64_t(x) + w / 2, int64_t(y) + h / 2, int64_t(x) + w / 2,
                                                    int64_t(y) + h / 2);
    if (!img.isNull() && !hidden && BoxMeetsImage(img, x, y, w, h)) {
        // Only a solid brush gives the text an opaque box; the box meets the
        // image, so its far corner fits an int.
        if (Brush->Style == bsSolid) BrushRect(img, x, y, x + w, y + h, TBrush{Brush->Color, bsSolid}, pmCopy);
        if (t.kept) PutInk(img, t, x, y, Font->Color);
        else DrawText(img, fe, Font->Color, x, y, ToQ(text), nullptr);
        if (Vector) {
            if (Brush->Style == bsSolid) Vector->FillRect(x, y, x + w, y + h, TBrush{Brush->Color, bsSolid});
            Vector->Text(x, double(y) + fe.ascent, fe.font, Font->Color, ToQ(text), nullptr);
        }
    }
    penPos = TPoint(int(std::min<int64_t>(int64_t(x) + w, INT_MAX)), y);
    exactKept = false;
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    QImage& img = Image();
    if (!img.isNull() && r.Right > r.Left && r.Bottom > r.Top && !InHidden(r.Left, r.Top, r.Right, r.Bottom)) {
        const FontEntry& fe = FontFor(*Font);
        if (Brush->Style == bsSolid) BrushRect(img, r.Left, r.Top, r.Right, r.Bottom, *Brush, pmCopy);
        QRect clip(r.Left, r.Top, r.Width(), r.Height());
        DrawText(img, fe, Font->Color, x, y, ToQ(text), &clip);
        if (Vector) {
            if (Brush->Style == bsSolid) Vector->FillRect(r.Left, r.Top, r.Right, r.Bottom, *Brush);
            const QRectF box(clip);
            Vector->Text(x, double(y) + fe.ascent, fe.font, Font->Color, ToQ(text), &box);
        }
    }
    Changed();
}

int TCanvas::TextWidth(const std::string& text) {
    return FontFor(*Font).metrics.horizontalAdvance(ToQ(text));
}

int TCanvas::TextHeight(const std::string& text) {
    const FontEntry& fe = FontFor(*Font);
    return fe.ascent + fe.descent;
}
