// Bitmaps and pictures: the images the canvas draws on, their files.
#include "gui/Files.h"
#include "gui/Graphics.h"
#include "gui/Graphics_impl.h"
#include <QByteArray>
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
    // Only an ordinary file: a named pipe would block the reading for ever.
    const std::string real = gui::ResolvePath(path);
    if (!gui::FileExists(real) || !loaded.load(QString::fromStdString(real))) return false;
    image = loaded.convertToFormat(QImage::Format_RGB32);
    return true;
}

// 24-bit bottom-up BMP, written through a temporary file so a failed write
// leaves an existing file as it was.
bool gui::BmpHeader(uint32_t width, uint32_t height, uint8_t (&head)[54], uint64_t& stride) {
    stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    const uint64_t dataSize = stride * height;
    if (dataSize + 54 > 0xFFFFFFFFu) return false;
    auto put16 = [&](int at, uint32_t v) { head[at] = v & 0xFF, head[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](int at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    std::memset(head, 0, sizeof head);
    head[0] = 'B', head[1] = 'M';
    put32(2, uint32_t(54 + dataSize));   // file size
    put32(10, 54);                       // offset of the pixels
    put32(14, 40);                       // info header size
    put32(18, width);
    put32(22, height);                   // positive: bottom-up
    put16(26, 1);                        // planes
    put16(28, 24);                       // bits per pixel, uncompressed
    put32(34, uint32_t(dataSize));
    put32(38, 3780);                     // 96 dpi
    put32(42, 3780);
    return true;
}

bool TBitmap::SaveToFile(const std::string& path) const {
    if (Empty()) return false;
    const QImage src = image.convertToFormat(QImage::Format_BGR888);   // the file's byte order
    uint8_t head[54];
    uint64_t stride;
    if (!gui::BmpHeader(uint32_t(src.width()), uint32_t(src.height()), head, stride)) return false;
    QByteArray out(qsizetype(54 + stride * uint64_t(src.height())), '\0');
    std::memcpy(out.data(), head, sizeof head);
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(out.data() + 54 + size_t(src.height() - 1 - y) * stride, src.constScanLine(y), size_t(src.width()) * 3);
    return gui::AtomicWriteFile(path, [&](FILE* f, std::string&) {
        return std::fwrite(out.constData(), 1, size_t(out.size()), f) == size_t(out.size());
    });
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
