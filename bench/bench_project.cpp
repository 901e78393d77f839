// Restoring a project of all 52 areas at 1800 pixels with full tables against
// loading the 52 areas and drawing that state once.
#include "bench/BenchMain.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "bench/BenchUserLayers.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include <filesystem>
#include <fstream>

namespace {

// The project: 1300 paint records, 5000 labels, 500 symbols, 50 line files, 50 circles.
void MakeProject() {
    benchutil::LoadAllAreasWithPaint();
    Open->ui.RadioGroup1->SetItemIndex(2);   // the size a user prints from
    Open->gate.MapShown = true;
    const int32_t x0 = Open->CX - 20000, y0 = Open->CY - 20000;
    benchutil::AddUserLayers(x0, y0, 1, 50);
    Kyori->CheckBox6->SetChecked(true);
    for (int k = 0; k < 50; ++k) Kyori->AddCircle(x0 + k * 800, y0 + k * 800);
    Open->DrawMap();
    gui::testing::QueueFileName("all.rvx");
    Open->Button1Click(Open);
    std::printf("project: %d px, %d paint, %d labels, %d symbols, %d line files, %d circles\n", Open->ImageSize, Open->paint.paint_rep,
                Letter->LabelCount, PagesDlg->PlacedSymbolCount, LineAdd->LineFileCount, Kyori->CircleCount);
}

void ProjectRestore52(benchmark::State& state) {
    int redraws = 0, runs = 0;
    for (auto _ : state) {
        const int before = Open->RedrawCount;
        gui::testing::QueueFileName("all.rvx");
        Open->Button10Click(Open);
        redraws += Open->RedrawCount - before;
        ++runs;
    }
    if (!gui::testing::Messages().empty()) state.SkipWithError(gui::testing::Messages()[0].text.c_str());
    state.counters["redraws"] = double(redraws) / runs;
}

void LoadAndDraw52(benchmark::State& state) {
    for (auto _ : state) {
        Open->ReadMapData(Open->doc.SELECT, Open->doc.SelectCode);
        Open->DrawMap();
    }
}

BENCHMARK(ProjectRestore52)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndDraw52)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-project", false);
    // The symbols are drawn from the data set's bitmaps.
    std::filesystem::create_directory_symlink(std::filesystem::path(ROVANA_JAPAN_DATA) / "mark", "mark");
    MakeProject();
    return benchutil::Main(argc, argv, {{"ProjectRestore52", "LoadAndDraw52"}});
}
