// Image writers on an 1800-pixel map-like picture, each against the plainest
// way of doing its core work on the same pixels: the PNG writer against zlib
// deflate at level 7 of the same Sub-filtered rows, the JPEG writer against
// libjpeg with its default settings.
#include "BenchMain.h"
#include "gui/ImageWriters.h"
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QTemporaryDir>
#include <cstdio>
#include <jpeglib.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace {

constexpr int kSide = 1800;

// Sea, land, borders, painted areas and names, drawn without smoothing as the map is.
QImage MapLikeImage() {
    QImage img(kSide, kSide, QImage::Format_RGB32);
    img.fill(QColor(200, 230, 255));
    std::mt19937 rng(7);
    auto rnd = [&](int n) { return int(rng() % unsigned(n)); };
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    auto blob = [&](int cx, int cy, int radius, int points) {
        QPolygon poly;
        for (int i = 0; i < points; ++i) {
            double a = 2 * M_PI * i / points;
            double r = radius * (0.6 + 0.4 * (rnd(1000) / 1000.0));
            poly << QPoint(cx + int(r * std::cos(a)), cy + int(r * std::sin(a)));
        }
        return poly;
    };
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    for (int i = 0; i < 6; ++i) p.drawPolygon(blob(300 + rnd(1200), 300 + rnd(1200), 350 + rnd(300), 90));
    const QColor paint[] = {QColor(255, 255, 0), QColor(255, 180, 200), QColor(150, 230, 150), QColor(255, 200, 120)};
    for (int i = 0; i < 60; ++i) {
        p.setBrush(paint[rnd(4)]);
        p.drawPolygon(blob(rnd(kSide), rnd(kSide), 30 + rnd(80), 14));
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 400; ++i) {
        QPolygon line;
        int x = rnd(kSide), y = rnd(kSide);
        for (int k = 0; k < 40; ++k) {
            line << QPoint(x, y);
            x += rnd(21) - 10;
            y += rnd(21) - 10;
        }
        p.drawPolyline(line);
    }
    QFont f("IPAGothic");
    f.setPixelSize(12);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    const QString names[] = {QString::fromUtf8("札幌市"), QString::fromUtf8("中央区"), QString::fromUtf8("奈良町"),
                             QString::fromUtf8("大島村"), "0x1F", QString::fromUtf8("山田郡")};
    for (int i = 0; i < 700; ++i) p.drawText(rnd(kSide - 60), 12 + rnd(kSide - 12), names[rnd(6)]);
    p.end();
    return img;
}

const QImage& Image() {
    static QImage img = MapLikeImage();
    return img;
}

std::vector<uint8_t> RgbRows(const QImage& img) {
    std::vector<uint8_t> out(size_t(img.width()) * img.height() * 3);
    uint8_t* d = out.data();
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            *d++ = uint8_t(qRed(row[x]));
            *d++ = uint8_t(qGreen(row[x]));
            *d++ = uint8_t(qBlue(row[x]));
        }
    }
    return out;
}

// The bytes a PNG holds before compression: each row a Sub filter byte and
// its differences to the pixel on the left.
const std::vector<uint8_t>& SubFiltered() {
    static std::vector<uint8_t> out = [] {
        const std::vector<uint8_t> rgb = RgbRows(Image());
        const size_t rowBytes = size_t(kSide) * 3;
        std::vector<uint8_t> f;
        f.reserve((rowBytes + 1) * kSide);
        for (int y = 0; y < kSide; ++y) {
            const uint8_t* r = &rgb[rowBytes * y];
            f.push_back(1);
            for (size_t i = 0; i < rowBytes; ++i) f.push_back(uint8_t(r[i] - (i >= 3 ? r[i - 3] : 0)));
        }
        return f;
    }();
    return out;
}

std::string TempPath(const char* name) {
    static QTemporaryDir dir;
    return dir.path().toStdString() + "/" + name;
}

void ReportSize(benchmark::State& state, double bytes) { state.counters["KB"] = bytes / 1024; }

void ReportFileSize(benchmark::State& state, const std::string& path) {
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fseek(f, 0, SEEK_END);
        ReportSize(state, double(std::ftell(f)));
        std::fclose(f);
    }
}

void BM_PngWrite(benchmark::State& state) {
    const QImage& img = Image();
    const std::string path = TempPath("map.png");
    for (auto _ : state)
        if (!output::WritePng(img, path)) state.SkipWithError("PNG write failed");
    ReportFileSize(state, path);
}

void BM_PngZlibFloor(benchmark::State& state) {
    const std::vector<uint8_t>& in = SubFiltered();
    std::vector<uint8_t> out(compressBound(uLong(in.size())));
    double produced = 0;
    for (auto _ : state) {
        z_stream z{};
        deflateInit2(&z, 7, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
        z.next_in = const_cast<Bytef*>(in.data());
        z.avail_in = uInt(in.size());
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        deflate(&z, Z_FINISH);
        produced = double(z.total_out);
        deflateEnd(&z);
    }
    ReportSize(state, produced);
}

void BM_JpegWrite(benchmark::State& state) {
    const QImage& img = Image();
    const std::string path = TempPath("map.jpg");
    for (auto _ : state)
        if (!output::WriteJpeg(img, path)) state.SkipWithError("JPEG write failed");
    ReportFileSize(state, path);
}

void BM_JpegDefaultFloor(benchmark::State& state) {
    const std::vector<uint8_t> rgb = RgbRows(Image());
    double produced = 0;
    for (auto _ : state) {
        jpeg_compress_struct c;
        jpeg_error_mgr err;
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        unsigned char* mem = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&c, &mem, &size);
        c.image_width = kSide;
        c.image_height = kSide;
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(c.next_scanline) * kSide * 3]);
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        produced = double(size);
        std::free(mem);
    }
    ReportSize(state, produced);
}

void BM_BmpWrite(benchmark::State& state) {
    const QImage& img = Image();
    const std::string path = TempPath("map.bmp");
    for (auto _ : state)
        if (!output::WriteBmp(img, path)) state.SkipWithError("BMP write failed");
    ReportFileSize(state, path);
}

} // namespace

BENCHMARK(BM_PngWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngZlibFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDefaultFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpWrite)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);   // fonts for the names
    Image();
    SubFiltered();
    return benchutil::Main(argc, argv, {{"BM_PngWrite", "BM_PngZlibFloor"}, {"BM_JpegWrite", "BM_JpegDefaultFloor"}});
}
