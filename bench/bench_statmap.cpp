// The statistics map of the sample table. StatJoin: the join of its rows to
// the municipalities of all 52 areas, against a hash lookup of each row's code
// cell among the same codes. StatMap52: the table read, joined, classed and
// painted on all areas at 600 px with the redraw (the fill points of the areas
// are read once for the choice of areas, as the map files are), against the
// same redraw without paint followed by the floods of the same points from a
// prepared list.
#include "bench/BenchMain.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include <unordered_map>

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";

void StatJoinRows(benchmark::State& state) {
    StatTable t;
    std::string error;
    ReadStatTable(kSample, t, error);
    const StatUnits u = LoadStatUnits(ROVANA_JAPAN_DATA, TStatMap::SelectedAreas(), 0);
    StatJoinSpec spec = ProposeStatColumns(t, 0);
    spec.valueCol = 5;
    for (auto _ : state) benchmark::DoNotOptimize(JoinStatTable(t, spec, u).joined);
}

void CodeLookup(benchmark::State& state) {
    StatTable t;
    std::string error;
    ReadStatTable(kSample, t, error);
    const StatUnits u = LoadStatUnits(ROVANA_JAPAN_DATA, TStatMap::SelectedAreas(), 0);
    std::unordered_map<std::string, int> codes(u.byCode.begin(), u.byCode.end());
    for (auto _ : state) {
        int found = 0;
        for (size_t r = 1; r < t.rows.size(); ++r) found += codes.count(t.rows[r][0]) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
}

using benchutil::Seed;

void StatMap52(benchmark::State& state) {
    Open->COPYSCALE = 1;
    for (auto _ : state) {
        StatMap->OpenTable(kSample);
        StatMap->Apply();
    }
}

void StatMapFloor(benchmark::State& state) {
    Open->COPYSCALE = 1;
    StatMap->OpenTable(kSample);
    StatMap->Apply();
    // The points as the replay will find them on the bare map.
    Open->PaintDisplay = false;
    Open->DrawMap();
    std::vector<Seed> seeds;
    for (int i = 0; i < Open->paint_rep; ++i) seeds.push_back(benchutil::SeedOf(Open->PaintRecords[i]));
    TCanvas* cv = Open->Image1->Canvas();
    for (auto _ : state) {
        Open->DrawMap();
        for (const Seed& s : seeds) {
            cv->Brush->Color = s.colour;
            cv->Brush->Style = s.style;
            cv->FloodFill(s.x, s.y, s.over, fsSurface);
        }
    }
    Open->PaintDisplay = true;
}

BENCHMARK(StatJoinRows)->Name("StatJoin")->Unit(benchmark::kMillisecond);
BENCHMARK(CodeLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(StatMap52)->Unit(benchmark::kMillisecond);
BENCHMARK(StatMapFloor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-statmap", false, {"サンプル"});
    benchutil::LoadAllAreas();
    StatMapWindow();
    return benchutil::Main(argc, argv, {{"StatJoin", "CodeLookup"}, {"StatMap52", "StatMapFloor"}});
}
