// The full map saved at 1800 pixels: all 52 areas with the railways and the
// main stations' names, a whole-country statistics map with its legend, the
// town and prefecture names, grid, scale bar, 5,000 labels, 500 symbols, 100
// line files and 250 distance circles. The PDF and SVG saves against the PNG
// save of the same map, each through the image menu as the user saves.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "paint/Ustatmap.h"
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

void SaveAs(benchmark::State& state, const char* name) {
    const std::string path = (fs::current_path() / name).string();
    for (auto _ : state) {
        gui::testing::QueueFileName(path);
        Open->PNG1Click(Open);
    }
    if (!fs::exists(path)) return state.SkipWithError("nothing was saved");
    state.counters["KB"] = double(fs::file_size(path)) / 1024;
}

void SavePngFull1800(benchmark::State& state) { SaveAs(state, "full.png"); }
void SavePdfFull1800(benchmark::State& state) { SaveAs(state, "full.pdf"); }
void SaveSvgFull1800(benchmark::State& state) { SaveAs(state, "full.svg"); }

BENCHMARK(SavePngFull1800)->Unit(benchmark::kMillisecond);
BENCHMARK(SavePdfFull1800)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSvgFull1800)->Unit(benchmark::kMillisecond);

// Random places inside the 1800-pixel view, as map points.
std::pair<int32_t, int32_t> Somewhere(std::mt19937& rnd) {
    int32_t x, y;
    Open->ScreenToMap(int(rnd() % 1760) + 20, int(rnd() % 1760) + 20, x, y);
    return {x, y};
}

void BuildFullMap() {
    benchutil::LoadAllAreas(true);
    Open->ui.RadioGroup1->SetItemIndex(2);
    Open->ui.CBEki->SetChecked(true);   // with the main stations' names
    Open->ui.CBTownName->SetChecked(true);
    Open->ui.CBLonLat->SetChecked(true);
    Open->ui.CBScale->SetChecked(true);
    StatMapWindow();
    StatMap->OpenTable(std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv");
    StatMap->Apply();
    Open->ui.CBExp->SetChecked(true);

    std::mt19937 rnd(7);
    for (int i = 0; i < 5000; ++i) {
        LabelRecord r;
        std::tie(r.x, r.y) = Somewhere(rnd);
        r.text = "ラベル" + std::to_string(i);
        r.size = 9 + int(rnd() % 4);
        r.color = TColor(rnd() & 0xFFFFFF);
        Letter->AppendRow(r);
    }
    Letter->ShowTable();
    Open->ui.CBLabel->SetChecked(true);

    const int codes[] = {100, 105, 113, 120, 200, 210, 501};
    for (int i = 0; i < 500; ++i) {
        PagesDlg->SymbolCode = codes[rnd() % 7];
        auto [x, y] = Somewhere(rnd);
        PagesDlg->AddPlacedSymbol(x, y);
    }

    std::string names;
    for (int k = 0; k < 100; ++k) {
        const std::string file = (fs::current_path() / ("line" + std::to_string(k) + ".adl")).string();
        std::string text = gui::Format("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n",
                                       1, 12, int(rnd() & 0xFFFFFF), 0, 1 + k % 3, k % 2, 12, 0);
        for (int p = 0; p < 12; ++p) {
            auto [x, y] = Somewhere(rnd);
            text += gui::Format("%7d,%7d\r\n", x, y);
        }
        std::ofstream(file, std::ios::binary) << text;
        names += (names.empty() ? "" : "\n") + file;
    }
    gui::testing::QueueFileName(names);
    LineAdd->BtnFileClick(nullptr);
    LineAdd->CheckBox4->SetChecked(true);

    Kyori->CheckBox6->SetChecked(true);
    for (int i = 0; i < CIRCLE_MAX; ++i) {
        auto [x, y] = Somewhere(rnd);
        Kyori->AddCircle(x, y);
    }
    Open->DrawMap();
}

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-save-full", false, {"mark", "鉄道路線"});
    BuildFullMap();
    gui::testing::SetShowModalHandler([](TForm*) { return mrOk; });   // the PDF's paper as offered
    for (const auto& m : gui::testing::Messages()) std::fprintf(stderr, "message: %s\n", m.text.c_str());
    return benchutil::Main(argc, argv,
                           {{"SavePdfFull1800", "SavePngFull1800"}, {"SaveSvgFull1800", "SavePngFull1800"}});
}
