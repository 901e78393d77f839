// Canvas speed: flood fill against a plain fill of the same pixels, and map-like
// width-1 polylines through TCanvas against QPainter drawing the same segments.
#include "bench/BenchMain.h"
#include "gui/Graphics.h"
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kSize = 1800;

// A white image crossed by short black strokes, like coast and border lines
// the fill has to go round.
TBitmap& FillScene() {
    static TBitmap* bmp = [] {
        auto* b = new TBitmap(kSize, kSize);
        TCanvas* c = b->Canvas();
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> pos(0, kSize - 1), len(-60, 60);
        c->Pen->Color = clBlack;
        for (int i = 0; i < 400; ++i) {
            int x = pos(rng), y = pos(rng);
            c->MoveTo(x, y);
            c->LineTo(x + len(rng), y + len(rng));
        }
        return b;
    }();
    return *bmp;
}

int RegionPixels() {
    static int n = [] {
        TBitmap b(1, 1);
        b.Assign(&FillScene());
        b.Canvas()->Brush->Color = clRed;
        b.Canvas()->FloodFill(0, 0, clWhite, fsSurface);
        int count = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) count += b.Canvas()->Pixels(x, y) == clRed;
        return count;
    }();
    return n;
}

void FloodFill(benchmark::State& state, TBrushStyle style) {
    const QImage& scene = FillScene().Image();
    TBitmap work(kSize, kSize);
    for (auto _ : state) {
        // Back to the scene row by row (a whole-image copy would bypass the cache).
        state.PauseTiming();
        for (int y = 0; y < kSize; ++y) std::memcpy(work.Image().scanLine(y), scene.constScanLine(y), kSize * 4);
        state.ResumeTiming();
        work.Canvas()->Brush->Color = clRed;
        work.Canvas()->Brush->Style = style;
        work.Canvas()->FloodFill(0, 0, clWhite, fsSurface);
        benchmark::DoNotOptimize(work.Image().constBits());
    }
}

void FloodFillSolid(benchmark::State& state) { FloodFill(state, bsSolid); }
void FloodFillHatch(benchmark::State& state) { FloodFill(state, bsDiagCross); }

struct Span { int y, x0, x1; };

// The region's pixels as row spans, taken once from a finished fill.
const std::vector<Span>& RegionSpans() {
    static std::vector<Span> spans = [] {
        TBitmap b(1, 1);
        b.Assign(&FillScene());
        b.Canvas()->Brush->Color = clRed;
        b.Canvas()->FloodFill(0, 0, clWhite, fsSurface);
        std::vector<Span> out;
        const uint32_t red = ToPixel(clRed);
        for (int y = 0; y < b.Height(); ++y) {
            auto* row = reinterpret_cast<const uint32_t*>(b.Image().constScanLine(y));
            for (int x = 0; x < b.Width();) {
                if (row[x] != red) { ++x; continue; }
                int x0 = x;
                while (x < b.Width() && row[x] == red) ++x;
                out.push_back({y, x0, x});
            }
        }
        return out;
    }();
    return spans;
}

// Floor: the same pixels of the same image written the plainest fast way, span
// by span, with the region already known.
void PlainFill(benchmark::State& state) {
    const QImage& scene = FillScene().Image();
    QImage work(kSize, kSize, QImage::Format_RGB32);
    const auto& spans = RegionSpans();
    const uint32_t red = ToPixel(clRed);
    for (auto _ : state) {
        state.PauseTiming();
        for (int y = 0; y < kSize; ++y) std::memcpy(work.scanLine(y), scene.constScanLine(y), kSize * 4);
        state.ResumeTiming();
        for (const Span& sp : spans) {
            auto* row = reinterpret_cast<uint32_t*>(work.scanLine(sp.y));
            std::fill(row + sp.x0, row + sp.x1, red);
        }
        benchmark::DoNotOptimize(work.constBits());
    }
}

// For the table only: the same count through std::fill, and the least any
// flood fill has to do: read every pixel of the image once and write it.
void StdFill(benchmark::State& state) {
    std::vector<uint32_t> pixels(static_cast<size_t>(RegionPixels()));
    uint32_t v = 0xFFFF0000u;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), v);
        v ^= 0x00FFFFFFu;
        benchmark::DoNotOptimize(pixels.data());
    }
}

void ReadAndFill(benchmark::State& state) {
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    uint32_t from = 0xFFFFFFFFu, to = 0xFFFF0000u;
    for (auto _ : state) {
        for (int y = 0; y < kSize; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < kSize; ++x) row[x] = row[x] == from ? to : row[x];
        }
        std::swap(from, to);
        benchmark::DoNotOptimize(img.constBits());
    }
}

// 300,000 short segments in random-walk polylines of 100 points, some
// running off the image.
const std::vector<std::vector<QPoint>>& Polylines() {
    static std::vector<std::vector<QPoint>> lines = [] {
        std::vector<std::vector<QPoint>> all;
        std::mt19937 rng(11);
        std::uniform_int_distribution<int> pos(-100, kSize + 100), step(-5, 5);
        for (int i = 0; i < 3000; ++i) {
            std::vector<QPoint> pl;
            int x = pos(rng), y = pos(rng);
            pl.emplace_back(x, y);
            for (int k = 0; k < 100; ++k) {
                x += step(rng), y += step(rng);
                pl.emplace_back(x, y);
            }
            all.push_back(std::move(pl));
        }
        return all;
    }();
    return lines;
}

void CanvasLines(benchmark::State& state) {
    TBitmap bmp(kSize, kSize);
    TCanvas* c = bmp.Canvas();
    c->Pen->Color = clBlue;
    const auto& lines = Polylines();
    for (auto _ : state) {
        for (const auto& pl : lines) {
            c->MoveTo(pl[0].x(), pl[0].y());
            for (size_t i = 1; i < pl.size(); ++i) c->LineTo(pl[i].x(), pl[i].y());
        }
        benchmark::DoNotOptimize(bmp.Image().constBits());
    }
}

void QPainterLines(benchmark::State& state) {
    QImage img(kSize, kSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    const auto& lines = Polylines();
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(0, 0, 255), 1));
        for (const auto& pl : lines) p.drawPolyline(pl.data(), int(pl.size()));
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}

} // namespace

BENCHMARK(FloodFillSolid)->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFillHatch)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainFill)->Unit(benchmark::kMillisecond);
BENCHMARK(StdFill)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndFill)->Unit(benchmark::kMillisecond);
BENCHMARK(CanvasLines)->Unit(benchmark::kMillisecond);
BENCHMARK(QPainterLines)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return benchutil::Main(argc, argv,
                           {{"FloodFillSolid", "PlainFill"},
                            {"FloodFillHatch", "PlainFill"},
                            {"CanvasLines", "QPainterLines"}});
}
