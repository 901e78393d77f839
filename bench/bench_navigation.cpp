// Map mouse work on the map of all 52 areas at 600 pixels: the area count of
// the sea against a plain row scan of the same image, and one mouse move with
// the name read-out against the same table searches as a bare loop.
#include "bench/BenchMain.h"
#include "navigation/AreaCount.h"
#include "bench/BenchProgram.h"
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "names/Uyomi.h"
#include "navigation/Usettei.h"
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

QImage scene;   // the map as drawn, before any count repaints it

void ResetImage() {
    QImage& img = Open->ui.Image1->Canvas()->Image();
    for (int y = 0; y < scene.height(); ++y)
        std::memcpy(img.scanLine(y), scene.constScanLine(y), size_t(scene.bytesPerLine()));
}

void AreaCount600(benchmark::State& state) {
    const TColor sea = FromPixel(scene.pixel(5, 5));
    for (auto _ : state) {
        state.PauseTiming();
        ResetImage();
        AreaCount& a = AreaCountOf(*Open);
        a.Clear();
        a.OpenRegion = false;
        state.ResumeTiming();
        if (!CountAreaPixels(*Open, *Open->ui.Image1->Canvas(), sea, 5, 5)) state.SkipWithError("refused");
        benchmark::DoNotOptimize(a.FillCount);
    }
    state.counters["pixels"] = AreaCountOf(*Open).FillCount;
}

// The floor: every pixel of the image compared once and the matching ones repainted.
void AreaScan600(benchmark::State& state) {
    const uint32_t sea = scene.pixel(5, 5) & 0xFFFFFF, fill = ToPixel(Open->style.AreaFillColor);
    QImage& img = Open->ui.Image1->Canvas()->Image();
    int count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetImage();
        state.ResumeTiming();
        count = 0;
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((row[x] & 0xFFFFFF) == sea) {
                    row[x] = fill;
                    count++;
                }
        }
        benchmark::DoNotOptimize(count);
    }
}

// Pointer positions: on name points (hits) and between them (mostly misses).
std::vector<std::pair<int, int>> Pointers() {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < Open->doc.TownCount && v.size() < 64; i += 37) {
        int sx, sy;
        Open->MapToScreen(Open->doc.TownX[i], Open->doc.TownY[i], sx, sy);
        v.push_back({sx, sy});
        v.push_back({(sx + 131) % 600, (sy + 257) % 600});
    }
    return v;
}

void MouseMoveReadout52(benchmark::State& state) {
    const auto pts = Pointers();
    size_t k = 0;
    for (auto _ : state) {
        auto [x, y] = pts[k++ % pts.size()];
        Open->Image1MouseMove(Open->ui.Image1, {}, x, y);
    }
}

// The floor: the same table scans as plain loops, and the two read-out texts.
void ReadoutLoop52(benchmark::State& state) {
    const auto pts = Pointers();
    const TOpen& o = *Open;
    size_t k = 0;
    char lat[64], lon[64];
    for (auto _ : state) {
        auto [px, py] = pts[k++ % pts.size()];
        int32_t x, y;
        o.ScreenToMap(px, py, x, y);
        const int32_t r = int32_t(10 / o.ScaleX);
        auto near = [&](int32_t a, int32_t b) { return std::abs(a - x) < r && std::abs(b - y) < r; };
        const std::string* hit = nullptr;
        int32_t hx = 0, hy = 0;
        auto scan = [&](int n, const std::vector<int32_t>& xs, const std::vector<int32_t>& ys,
                        const std::vector<std::string>& names) {
            for (int i = 0; i < n && !hit; ++i)
                if (near(xs[i], ys[i])) hit = &names[i], hx = xs[i], hy = ys[i];
        };
        scan(o.doc.CityCount, o.doc.CityX, o.doc.CityY, o.doc.CityName);
        scan(o.doc.TownCount, o.doc.TownX, o.doc.TownY, o.doc.TownName);
        scan(o.doc.NewTownCount, o.doc.NewTownX, o.doc.NewTownY, o.doc.NewTownName);
        scan(o.doc.ExtraCount, o.doc.ExtraX, o.doc.ExtraY, o.doc.ExtraTownName);
        if (hit)
            for (int i = 0; i < o.doc.YomiCount; ++i) {
                const auto& rec = o.doc.YomiRecords[i];
                if (std::abs(rec.x - hx) < 1000 && std::abs(rec.y - hy) < 1000 && rec.name == *hit) break;
            }
        const float la = LatOf(y), lo = LonOf(x);
        std::snprintf(lat, sizeof lat, "緯度 %3d.%02d", int(la), int((la - int(la)) * 60));
        std::snprintf(lon, sizeof lon, "経度 %3d.%02d", int(lo), int((lo - int(lo)) * 60));
        benchmark::DoNotOptimize(hit);
        benchmark::DoNotOptimize(lat);
        benchmark::DoNotOptimize(lon);
    }
}

BENCHMARK(AreaCount600)->Unit(benchmark::kMillisecond);
BENCHMARK(AreaScan600)->Unit(benchmark::kMillisecond);
BENCHMARK(MouseMoveReadout52)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadoutLoop52)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-navigation", false);
    benchutil::LoadAllAreas();
    Open->DrawMap();
    scene = Open->ui.Image1->Canvas()->Image().copy();

    Settei->CBCityName->SetChecked(true);
    Settei->CBKuName->SetChecked(true);
    Open->ui.CBTownName->SetChecked(true);   // the readings box is offered with the names
    Open->ui.CBYomi->SetEnabled(true);
    Open->ui.CBYomi->SetChecked(true);
    Open->ui.Image1->Canvas()->Image() = scene.copy();

    return benchutil::Main(argc, argv, {{"AreaCount600", "AreaScan600"}, {"MouseMoveReadout52", "ReadoutLoop52"}});
}
