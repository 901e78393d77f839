// Saving the painted map of all areas as PNG at 1800 pixels (nine tile
// redraws with replay, then the writer) against the writer alone on the
// finished image.
#include "bench/BenchMain.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "gui/Testing.h"
#include "output/ImageWriters.h"
#include <filesystem>

namespace {

void SavePng1800(benchmark::State& state) {
    const std::string path = (std::filesystem::current_path() / "map.png").string();
    for (auto _ : state) {
        gui::testing::QueueFileName(path);
        Open->PNG1Click(Open);
    }
    if (!std::filesystem::exists(path)) state.SkipWithError("nothing was saved");
}

void WritePng1800(benchmark::State& state) {
    const std::string path = (std::filesystem::current_path() / "floor.png").string();
    const TBitmap* bmp = Open->Image1->Picture()->Bitmap();
    for (auto _ : state)
        if (!output::WritePng(*bmp, path)) state.SkipWithError("the writer failed");
}

BENCHMARK(SavePng1800)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePng1800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-save", false);
    benchutil::LoadAllAreasWithPaint();
    Open->PaintDisplay = true;
    Open->RadioGroup1->SetItemIndex(2);
    // The floor writes the finished image: one save first leaves it in the map image.
    gui::testing::QueueFileName((std::filesystem::current_path() / "first.png").string());
    Open->PNG1Click(Open);
    return benchutil::Main(argc, argv, {{"SavePng1800", "WritePng1800"}});
}
