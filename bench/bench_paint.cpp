// The paint replay of 1,300 records against the same 1,300 flood fills, with
// their seeds and fill-over colours recorded beforehand. Each timing starts
// from the bare map, put back untimed. Every record fills: it is seeded at a
// name point that the bare map shows on the background, not on a line.
#include "bench/BenchMain.h"
#include "paint/MainFormPaint.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "gui/Graphics.h"
#include <QImage>
#include <vector>

namespace {

using benchutil::Seed;

QImage bare;
std::vector<Seed> seeds;

// The map without paint at a size, and the seeds a replay on it would use.
void Prepare(int copyScale) {
    Open->COPYSCALE = copyScale;
    Open->paint.PaintDisplay = false;
    Open->DrawMap();
    bare = Open->ui.Image1->Picture()->Bitmap()->Image().copy();
    seeds.clear();
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (int i = 0; i < Open->paint.paint_rep; ++i) {
        const Seed s = benchutil::SeedOf(Open->paint.PaintRecords[i]);
        seeds.push_back(s);
        cv->Brush->Color = s.colour;
        cv->Brush->Style = s.style;
        cv->FloodFill(s.x, s.y, s.over, fsSurface);
    }
}

// Name points on the background of a municipality at both sizes: not on a
// line, and not out at sea (the region of the image's corner, filled here).
std::vector<bool> FillableNames(int copyScale, std::vector<bool> keep) {
    Open->COPYSCALE = copyScale;
    Open->DrawMap();
    TCanvas* cv = Open->ui.Image1->Canvas();
    const TColor back = Open->style.BackColor;
    cv->Brush->Color = back ^ 1;
    cv->Brush->Style = bsSolid;
    cv->FloodFill(0, 0, back, fsSurface);
    for (int i = 0; i < Open->doc.TownCount; ++i) {
        int sx, sy;
        Open->MapToScreen(Open->doc.TownX[i], Open->doc.TownY[i], sx, sy);
        keep[i] = keep[i] && cv->Pixels(sx, sy) == back;
    }
    return keep;
}

void SeedAtFillableNames() {
    Open->paint.paint_rep = 0;
    Open->paint.PaintDisplay = false;
    std::vector<bool> keep = FillableNames(3, FillableNames(1, std::vector<bool>(Open->doc.TownCount, true)));
    std::vector<int> fillable;
    for (int i = 0; i < Open->doc.TownCount; ++i)
        if (keep[i]) fillable.push_back(i);
    for (int k = 0; k < benchutil::kBenchRecords && !fillable.empty(); ++k) {
        const int i = fillable[k % fillable.size()];
        AddPaintRecord(*Open, Open->doc.TownX[i], Open->doc.TownY[i], Open->style.PaintColor[k % 8], k % 5 == 4 ? 6 : 0);
    }
}

void ResetImage() { Open->ui.Image1->Picture()->Bitmap()->Image() = bare.copy(); }

void Replay(benchmark::State& state, int copyScale) {
    Prepare(copyScale);
    for (auto _ : state) {
        state.PauseTiming();
        ResetImage();
        state.ResumeTiming();
        ReplayPaint(*Open);
    }
}

void Fills(benchmark::State& state, int copyScale) {
    Prepare(copyScale);
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (auto _ : state) {
        state.PauseTiming();
        ResetImage();
        state.ResumeTiming();
        for (const Seed& s : seeds) {
            cv->Brush->Color = s.colour;
            cv->Brush->Style = s.style;
            cv->FloodFill(s.x, s.y, s.over, fsSurface);
        }
    }
}

void ReplayPaint600(benchmark::State& state) { Replay(state, 1); }
void ReplayPaint1800(benchmark::State& state) { Replay(state, 3); }
void FloodFill600(benchmark::State& state) { Fills(state, 1); }
void FloodFill1800(benchmark::State& state) { Fills(state, 3); }

BENCHMARK(ReplayPaint600)->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFill600)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplayPaint1800)->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFill1800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-paint", false);
    benchutil::LoadAllAreasWithPaint();
    SeedAtFillableNames();
    return benchutil::Main(argc, argv, {{"ReplayPaint600", "FloodFill600"}, {"ReplayPaint1800", "FloodFill1800"}});
}
