// The name search's scan of all map files, and the list of shown names for
// the whole country, each against the plainest way to do its bulk work.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "names/Uyomilist.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A name that no map file holds: every file is read to its end.
void SearchMiss52(benchmark::State& state) {
    for (auto _ : state) {
        int found = 0;
        for (int f = 1; f <= 52; ++f) {
            int32_t x, y;
            found += FindNameInMapFile(*Open, f, "存在しない町", x, y);
        }
        benchmark::DoNotOptimize(found);
        if (found) state.SkipWithError("the name was found");
    }
}

// The floor: the same 52 files' bytes.
void MapBytes52(benchmark::State& state) {
    static std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        size_t total = 0;
        for (int f = 1; f <= 52; ++f) {
            FILE* in = std::fopen(MapFilePath(*Open, f).c_str(), "rb");
            if (!in) {
                state.SkipWithError("a map file is missing");
                break;
            }
            size_t n;
            while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) total += n;
            std::fclose(in);
        }
        benchmark::DoNotOptimize(total);
    }
}

void NameListCountry(benchmark::State& state) {
    for (auto _ : state) {
        bool ok = YomiList->BuildDisplayedNameList();
        benchmark::DoNotOptimize(ok);
        if (!ok) state.SkipWithError("more names than the list holds");
    }
}

// The floor: the same rows, already sorted, put into the same grid.
void FillGridSorted(benchmark::State& state) {
    static std::vector<std::vector<std::string>> rows = [] {
        YomiList->BuildDisplayedNameList();
        TStringGrid* g = YomiList->StringGrid1;
        std::vector<std::vector<std::string>> v(g->RowCount());
        for (int r = 0; r < g->RowCount(); ++r)
            for (int c = 0; c < 5; ++c) v[r].push_back(g->Cells(c, r));
        return v;
    }();
    TStringGrid* g = YomiList->StringGrid1;
    for (auto _ : state) {
        g->SetRowCount(int(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r)
            for (int c = 0; c < 5; ++c) g->SetCells(c, r, rows[r][c]);
    }
}

BENCHMARK(SearchMiss52)->Unit(benchmark::kMillisecond);
BENCHMARK(MapBytes52)->Unit(benchmark::kMillisecond);
BENCHMARK(NameListCountry)->Unit(benchmark::kMillisecond);
BENCHMARK(FillGridSorted)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-names", false);
    // The whole country with its names, as the area choice loads it.
    Open->doc.SELECT = 52;
    for (int i = 0; i < 52; i++) Open->doc.SelectCode[i] = i + 1;
    Open->Button3Click(Open);
    Open->ui.CBTownName->SetChecked(true);
    Open->gate.DataReady = true;
    Open->DrawMap();
    Ken->NameListMode = 0;
    // The whole country shows more names than the list holds: zoom in on its
    // centre, step by step, until the shown names fit.
    Open->MAGSTEP = 1;
    while (!YomiList->BuildDisplayedNameList() && Open->MAGSTEP < 10) {
        Open->MAGSTEP++;
        Open->DrawMap();
    }
    std::printf("names listed: %d at magnification %d\n", YomiList->StringGrid1->RowCount(), Open->MAGSTEP);
    return benchutil::Main(argc, argv, {{"SearchMiss52", "MapBytes52"}, {"NameListCountry", "FillGridSorted"}});
}
