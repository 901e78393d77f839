// Saving the painted map of all areas as PNG at 1800 pixels (the redraw at
// that size with replay, then the writer) against the writer alone on the
// finished image, and against one redraw plus the writer; as PDF and SVG
// against the PNG save of the same map; printing the same map on A4 through
// the print dialog's PDF printer, and the map on an A3 page, against the PNG save too.
#include "bench/BenchMain.h"
#include "bench/BenchPaint.h"
#include "bench/BenchProgram.h"
#include "gui/PrintDialog.h"
#include "gui/Testing.h"
#include "gui/ImageWriters.h"
#include "output/Updfpage.h"
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <filesystem>

namespace {

using benchutil::SaveAs;

void SavePng1800(benchmark::State& state) { SaveAs(state, "map.png"); }
void SavePdf1800(benchmark::State& state) { SaveAs(state, "map.pdf"); }
void SaveSvg1800(benchmark::State& state) { SaveAs(state, "map.svg"); }

// The page with its title and credit, the map fitted to it at the printer's dots.
void PrintA4(benchmark::State& state) {
    const std::string path = (std::filesystem::current_path() / "print.pdf").string();
    QPrinter* printer = Open->ui.PrintDialog1->Printer();
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    Open->ui.PrintDialog1->Title = "白地図";
    for (auto _ : state) {
        gui::testing::QueueFileName(path);
        Open->Print1Click(Open);
    }
    if (!std::filesystem::exists(path)) state.SkipWithError("nothing was printed");
}

// The same save, named for its floor of one redraw plus the writer.
void SaveFull1800(benchmark::State& state) { SavePng1800(state); }

void WritePng1800(benchmark::State& state) {
    const std::string path = (std::filesystem::current_path() / "floor.png").string();
    const TBitmap* bmp = Open->ui.Image1->Picture()->Bitmap();
    for (auto _ : state)
        if (!output::WritePng(*bmp, path)) state.SkipWithError("the writer failed");
}

// Floor of the save: one redraw of the same map at the same size, then the writer.
void RedrawAndWrite1800(benchmark::State& state) {
    const std::string path = (std::filesystem::current_path() / "floor.png").string();
    const TBitmap* bmp = Open->ui.Image1->Picture()->Bitmap();
    for (auto _ : state) {
        Open->DrawMap();
        if (!output::WritePng(*bmp, path)) state.SkipWithError("the writer failed");
    }
}

BENCHMARK(SaveFull1800)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawAndWrite1800)->Unit(benchmark::kMillisecond);
BENCHMARK(SavePng1800)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePng1800)->Unit(benchmark::kMillisecond);
BENCHMARK(SavePdf1800)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSvg1800)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintA4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-save", false);
    benchutil::LoadAllAreasWithPaint();
    Open->paint.PaintDisplay = true;
    Open->ui.RadioGroup1->SetItemIndex(2);
    // The floor writes the finished image: one save first leaves it in the map image.
    gui::testing::QueueFileName((std::filesystem::current_path() / "first.png").string());
    Open->PNG1Click(Open);
    gui::testing::SetShowModalHandler([](TForm*) { return mrOk; });   // the PDF's paper as offered
    return benchutil::Main(argc, argv,
                           {{"SavePng1800", "WritePng1800"},
                            {"SaveFull1800", "RedrawAndWrite1800"},
                            {"SavePdf1800", "SavePng1800"},
                            {"SaveSvg1800", "SavePng1800"},
                            {"PrintA4", "SavePng1800"}});
}
