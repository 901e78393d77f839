// The paint-data import of Nagano's shown names at 600 pixels against one
// redraw plus the same floods done directly.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/TextFile.h"
#include "names/Uyomilist.h"
#include "paint/Upaint.h"
#include <fstream>
#include <vector>

namespace {

std::string csvPath;
std::vector<PaintRecord> rows;

// The readings window's name list with a colour and a pattern added to each row.
void PrepareCsv() {
    for (int code = 1; code <= 52; code++) Ken->AreaBox(code)->SetChecked(code == 15);
    Ken->Button1Click(Ken);
    Open->ui.CBTownName->SetChecked(false);
    YomiList->BuildDisplayedNameList();
    const int n = YomiList->StringGrid1->RowCount();
    std::string csv = gui::Utf8ToCp932("x座標,y座標,種別,市区町村名,読みがな,カラー,パターン\r\n");
    for (int r = 0; r < n; ++r) {
        const int32_t x = std::stoi(YomiList->StringGrid1->Cells(0, r)), y = std::stoi(YomiList->StringGrid1->Cells(1, r));
        const TColor colour = Open->style.DefPaintColor[r % 8] ^ (r % 3);
        const uint8_t pattern = r % 5 == 4 ? 6 : 0;
        csv += gui::Format("%d,%d,,-,-,0x%06x,%d\r\n", x, y, unsigned(colour), pattern);
        rows.push_back({x, y, colour, pattern});
    }
    csvPath = "nagano.csv";
    std::ofstream(csvPath, std::ios::binary) << csv;
    std::printf("rows: %d, image %d px, areas %d\n", n, Open->ImageSize, Open->doc.SELECT);
}

void PaintCsv15(benchmark::State& state) {
    for (auto _ : state) {
        gui::testing::QueueFileName(csvPath);
        MapPaint->Button24Click(MapPaint);
    }
    if (Open->paint.paint_rep != int(rows.size())) state.SkipWithError("import refused");
}

void RedrawAndFloods15(benchmark::State& state) {
    for (auto _ : state) {
        Open->paint.PaintDisplay = false;
        if (!Open->DrawMap()) state.SkipWithError("no map");
        for (const auto& r : rows) {
            int sx, sy;
            Open->MapToScreen(r.x, r.y, sx, sy);
            FillAt(*Open, sx, sy, r.colour, r.pattern);
        }
    }
}

BENCHMARK(PaintCsv15)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawAndFloods15)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-paint-files", false);
    Open->ui.Wait->SetChecked(false);
    PrepareCsv();
    return benchutil::Main(argc, argv, {{"PaintCsv15", "RedrawAndFloods15"}});
}
