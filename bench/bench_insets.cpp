// The whole country on an A3 PDF with the statistics map, the municipality
// names and the insets of 沖縄 and 小笠原, against the PNG save of the same map
// at 1800 pixels; and the redraw with those insets against the same redraw
// without them.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Insets.h"
#include "gui/Testing.h"
#include "output/Updfpage.h"
#include "paint/Ustatmap.h"
#include <cstdio>
#include <filesystem>

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";

using benchutil::SaveAs;

void PdfA3Country(benchmark::State& state) { SaveAs(state, "country.pdf"); }
void SavePng1800(benchmark::State& state) { SaveAs(state, "country.png"); }

void RedrawInsets1800(benchmark::State& state) {
    for (auto _ : state) Open->DrawMap();
}

// The same view without the insets: the groups drawn where they lie instead.
void RedrawPlain1800(benchmark::State& state) {
    const auto kept = MapInsets.choice;
    for (auto& c : MapInsets.choice) c.shown = false;
    for (auto _ : state) Open->DrawMap();
    MapInsets.choice = kept;
}

BENCHMARK(PdfA3Country)->Unit(benchmark::kMillisecond);
BENCHMARK(SavePng1800)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawInsets1800)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawPlain1800)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-insets", false, {"サンプル"});
    benchutil::LoadAllAreas();
    Open->ui.RadioGroup1->SetItemIndex(2);
    Open->ui.CBTownBorder->SetChecked(true);
    Open->ui.CBTownName->SetChecked(true);
    StatMapWindow()->OpenTable(kSample);
    StatMap->CBValue->SetItemIndex(6);
    StatMap->ColumnsChanged();
    StatMap->Apply();
    MapInsets.choice[kInsetOkinawa] = {true, InsetCorner::LowerRight, 0};
    MapInsets.choice[kInsetOgasawara] = {true, InsetCorner::LowerRight, 0};
    Open->InsetsChanged(true);
    // The handout: A3 across, the map fitted to the paper, with its title.
    output::PageLayout layout = PdfPageWindow()->Layout();
    layout.paper = output::PaperIndex("A3");
    layout.landscape = true;
    layout.title = "日本の白地図";
    PdfPageWindow()->SetLayout(layout);
    gui::testing::SetShowModalHandler([](TForm*) { return mrOk; });
    const int status = benchutil::Main(argc, argv, {{"PdfA3Country", "SavePng1800"}, {"RedrawInsets1800", "RedrawPlain1800"}});
    const auto pdf = std::filesystem::current_path() / "country.pdf";
    if (std::filesystem::exists(pdf))
        std::printf("STAT PdfA3Country-bytes %ju\n", uintmax_t(std::filesystem::file_size(pdf)));
    return status;
}
