// Bitmaps and pictures: the images the canvas draws on, their files.
#include "gui/Files.h"
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include <QByteArray>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

using namespace gui::raster;

TBitmap::TBitmap() : canvas(std::make_unique<TCanvas>(this)) {}

TBitmap::TBitmap(int w, int h) : TBitmap() { SetSize(w, h); }

TBitmap::~TBitmap() = default;

void TBitmap::SetWidth(int w) { SetSize(w, Height()); }
void TBitmap::SetHeight(int h) { SetSize(Width(), h); }

void TBitmap::SetSize(int w, int h) {
    w = std::max(w, 0), h = std::max(h, 0);
    if (w == Width() && h == Height() && (image.isNull() || image.format() == QImage::Format_RGB32)) return;
    if (w == 0 || h == 0) {
        image = QImage();
        return;
    }
    QImage n(w, h, QImage::Format_RGB32);
    n.fill(ToPixel(clWhite));
    if (!image.isNull()) {
        const QImage& old = Rgb32(image);
        int cw = std::min(w, old.width()), ch = std::min(h, old.height());
        for (int y = 0; y < ch; ++y) std::memcpy(n.scanLine(y), old.constScanLine(y), size_t(cw) * 4);
    }
    image = std::move(n);
}

void TBitmap::Assign(const TBitmap* other) {
    if (other == this) return;
    if (!other) {
        image = QImage();
        return;
    }
    image = other->image;   // shared until either side draws
    Rgb32(image);
    Transparent = other->Transparent;
    TransparentColor = other->TransparentColor;
}

bool TBitmap::LoadFromFile(const std::string& path) {
    QImage loaded;
    if (!loaded.load(QString::fromStdString(gui::ResolvePath(path)))) return false;
    image = loaded.convertToFormat(QImage::Format_RGB32);
    return true;
}

// 24-bit bottom-up BMP, written through a temporary file so a failed write
// leaves an existing file as it was.
bool TBitmap::SaveToFile(const std::string& path) const {
    if (Empty()) return false;
    QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    const uint32_t rowSize = (uint32_t(w) * 3 + 3) & ~3u, dataSize = rowSize * uint32_t(h);
    QByteArray out(qsizetype(54 + dataSize), '\0');
    auto* b = reinterpret_cast<unsigned char*>(out.data());
    auto put16 = [&](int at, uint32_t v) { b[at] = v & 0xFF, b[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](int at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    b[0] = 'B', b[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 3780);   // 96 dpi
    put32(42, 3780);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
        unsigned char* d = b + 54 + size_t(h - 1 - y) * rowSize;
        for (int x = 0; x < w; ++x, d += 3) d[0] = row[x] & 0xFF, d[1] = (row[x] >> 8) & 0xFF, d[2] = (row[x] >> 16) & 0xFF;
    }
    QSaveFile f(QString::fromStdString(gui::ResolvePath(path)));
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(out) != out.size()) {
        f.cancelWriting();
        f.commit();
        return false;
    }
    return f.commit();
}

// ---------------------------------------------------------------------------

TPicture::TPicture() : bitmap(std::make_unique<TBitmap>()) {}
TPicture::~TPicture() = default;

void TPicture::Assign(const TPicture* other) {
    bitmap->Assign(other ? other->bitmap.get() : nullptr);
    if (OnChange) OnChange();
}

void TPicture::Assign(const TBitmap* bmp) {
    bitmap->Assign(bmp);
    if (OnChange) OnChange();
}

void TPicture::Clear() {
    bitmap->Assign(nullptr);
    if (OnChange) OnChange();
}

bool TPicture::LoadFromFile(const std::string& path) {
    if (!bitmap->LoadFromFile(path)) return false;
    if (OnChange) OnChange();
    return true;
}

bool TPicture::SaveToFile(const std::string& path) const { return bitmap->SaveToFile(path); }
