// Text on the canvas: fonts sized in points at 96 dpi whatever the screen,
// drawn without anti-aliasing so every text pixel is the font colour.
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
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

struct FontEntry {
    QFont font;
    QFontMetrics metrics;
    int ascent, descent;
    explicit FontEntry(const QFont& f)
        : font(f), metrics(f), ascent(metrics.ascent()), descent(metrics.descent()) {}
};

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

void DropFontCache() {
    delete cache;
    cache = nullptr;
}

const FontEntry& FontFor(const TFont& f) {
    if (!cache) {
        cache = new FontCache;
        qAddPostRoutine(DropFontCache);
    }
    FontKey key = KeyOf(f);
    if (cache->last && key == cache->lastKey) return *cache->last;
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

} // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
    QImage& img = Image();
    const FontEntry& fe = FontFor(*Font);
    QString s = ToQ(text);
    const int w = fe.metrics.horizontalAdvance(s), h = fe.ascent + fe.descent;
    if (!img.isNull() && BoxMeetsImage(img, x, y, w, h)) {
        // Only a solid brush gives the text an opaque box; the box meets the
        // image, so its far corner fits an int.
        if (Brush->Style == bsSolid) BrushRect(img, x, y, x + w, y + h, TBrush{Brush->Color, bsSolid}, pmCopy);
        DrawText(img, fe, Font->Color, x, y, s, nullptr);
    }
    penPos = TPoint(int(std::min<int64_t>(int64_t(x) + w, INT_MAX)), y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    QImage& img = Image();
    if (!img.isNull() && r.Right > r.Left && r.Bottom > r.Top) {
        const FontEntry& fe = FontFor(*Font);
        if (Brush->Style == bsSolid) BrushRect(img, r.Left, r.Top, r.Right, r.Bottom, *Brush, pmCopy);
        QRect clip(r.Left, r.Top, r.Width(), r.Height());
        DrawText(img, fe, Font->Color, x, y, ToQ(text), &clip);
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
