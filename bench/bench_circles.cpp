// Ten concentric distance circles of width 5 over the whole country at 1800
// pixels, against the same rings stroked with a width-1 pen as often as the
// wide pen covers more pixels than the thin one (the pixel ratio, counted once
// on blank images): a wide stroke should cost no more per pixel than a thin one.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "bench/BenchRings.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "lines/Ukyori.h"
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

void Size1800() {
    Open->COPYSCALE = 3;
    Open->ui.Image1->SetImageSize(1800, 1800);
    Open->DrawMap();
}

void WideCircles1800(benchmark::State& state) {
    Size1800();
    for (auto _ : state) DrawDistanceCircles(*Open);
}

// Pixels of each ring alone, summed: the rings overlap, the pixels drawn do not.
// The rings wholly inside the image are counted.
int64_t StrokedPixels(const std::vector<std::vector<TPoint>>& rings, int width) {
    TBitmap b(1800, 1800);
    TCanvas* cv = b.Canvas();
    cv->Pen->Color = clBlack;
    cv->Pen->Width = width;
    cv->Brush->Color = clWhite;
    int64_t n = 0;
    for (const auto& r : rings) {
        int x0 = 1800, y0 = 1800, x1 = -1, y1 = -1;
        for (const TPoint& p : r) x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
        if (x0 < 8 || y0 < 8 || x1 >= 1792 || y1 >= 1792) continue;
        cv->FillRect(Rect(x0 - 8, y0 - 8, x1 + 8, y1 + 8));
        cv->Polyline(r.data(), int(r.size()));
        for (int y = y0 - 8; y < y1 + 8; ++y)
            for (int x = x0 - 8; x < x1 + 8; ++x) n += cv->Pixels(x, y) == clBlack;
    }
    return n;
}

void WideCircles1800Floor(benchmark::State& state) {
    Size1800();
    const auto rings = benchutil::CircleRings();
    const int times = int(std::lround(double(StrokedPixels(rings, 5)) / StrokedPixels(rings, 1)));
    state.counters["pixel_ratio"] = double(StrokedPixels(rings, 5)) / double(StrokedPixels(rings, 1));
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (auto _ : state) {
        cv->Pen->Mode = pmCopy;
        cv->Pen->Style = psSolid;
        cv->Pen->Color = clRed;
        cv->Pen->Width = 1;
        for (int t = 0; t < times; ++t)
            for (const auto& r : rings) cv->Polyline(r.data(), int(r.size()));
    }
}

BENCHMARK(WideCircles1800)->Unit(benchmark::kMillisecond);
BENCHMARK(WideCircles1800Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-circles", false);
    benchutil::LoadAllAreas();
    Kyori->CheckBox6->SetChecked(true);
    Kyori->CheckBox4->SetChecked(true);
    Kyori->CheckBox1->SetChecked(true);
    Kyori->UpDown1->SetPosition(5);
    for (int i = 0; i < 10; i++) Kyori->AddCircle(90000 + i * 16000, 60000 + i * 14000);
    return benchutil::Main(argc, argv, {{"WideCircles1800", "WideCircles1800Floor"}});
}
