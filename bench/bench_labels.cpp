// Labels and symbols at 1800 pixels: the label layer against TextOut of the same
// texts, the label sorts against std::stable_sort of the same rows, and 1000
// placed symbols against drawing the same pre-coloured pictures; the label
// layer drawn with every text new against Qt drawing them with one painter.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include <QFont>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <filesystem>
#include <numeric>
#include <random>

namespace {

namespace fs = std::filesystem;

// 20000 labels: every station file of the data set, read again until the table holds as many.
void LoadStations() {
    static bool done = false;
    if (done) return;
    done = true;
    Open->ui.CBEki->SetChecked(true);
    // Every station is drawn, not the main ones only, which ticking the stations also ticks.
    RailControlsOf(*Open).CBMain->SetChecked(false);
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(fs::path(ROVANA_JAPAN_DATA) / "鉄道路線"))
        if (e.is_regular_file() && e.path().extension() == ".lbl") files.push_back(e.path().string());
    std::sort(files.begin(), files.end());
    Letter->LabelCount = 0;
    for (int round = 0; Letter->LabelCount < 20000 && round < 5; ++round)
        for (size_t i = 0; i < files.size() && Letter->LabelCount < 20000; ++i) {
            RailOf(*Open).RailLabelCount = int(i);
            Letter->ReadLabelFile(files[i]);
        }
    Letter->LabelCount = std::min(Letter->LabelCount, 20000);
    Letter->ShowTable();
    // The whole country at 1800 pixels.
    Open->COPYSCALE = 3;
    Open->SSIZE = 1;
    Open->ImageSize = 1800;
    Open->CX = 180000;
    Open->CY = 180000;
    Open->ScaleX = 1800.0f / 240000;
    Open->ScaleY = Open->ScaleX * 1.2f;
    Open->ui.Image1->SetImageSize(1800, 1800);
    Open->ui.Image1->Canvas()->FillRect(Rect(0, 0, 1800, 1800));
}

void LabelWrite20k(benchmark::State& state) {
    LoadStations();
    for (auto _ : state) Open->label_write();
    state.counters["labels"] = Letter->LabelCount;
}

struct Placed { int x, y, size; TColor color; std::string text; };

// The labels' texts at their screen places.
std::vector<Placed> PlacedLabels() {
    std::vector<Placed> rows;
    for (int i = 0; i < Letter->LabelCount; ++i) {
        const LabelRecord& r = Letter->LabelTable[i];
        int sx, sy;
        Open->MapToScreen(r.x, r.y, sx, sy);
        rows.push_back({sx, sy, r.size, r.color, r.text});
    }
    return rows;
}

// The label layer with every text new to the run, as after loading a label file.
void LabelsFirst20k(benchmark::State& state) {
    LoadStations();
    for (auto _ : state) {
        state.PauseTiming();
        gui::ForgetLaidTexts();
        state.ResumeTiming();
        Open->label_write();
    }
}

// Floor: Qt drawing the same texts, in their sizes and colours, with one
// painter on an image of the same size, no anti-aliasing.
void OnePainterTextFloor(benchmark::State& state) {
    LoadStations();
    const std::vector<Placed> rows = PlacedLabels();
    QImage img(1800, 1800, QImage::Format_RGB32);
    img.fill(Qt::white);
    QFont font("IPAGothic");
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    for (auto _ : state) {
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        for (const Placed& r : rows) {
            font.setPixelSize(std::max(1, r.size * 96 / 72));
            p.setFont(font);
            p.setPen(QColor(int(r.color & 0xFF), int((r.color >> 8) & 0xFF), int((r.color >> 16) & 0xFF)));
            p.drawText(r.x, r.y + 12, QString::fromStdString(r.text));
        }
    }
}

void TextOutFloor(benchmark::State& state) {
    LoadStations();
    const std::vector<Placed> rows = PlacedLabels();
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (auto _ : state)
        for (const Placed& p : rows) {
            cv->Font->Size = p.size;
            cv->Font->Color = p.color;
            cv->Brush->Color = Open->style.BackColor;
            cv->TextOut(p.x, p.y, p.text);
        }
}

// Each round sorts by text, then by file number: each sort starts from the other's order.
void LabelSort20k(benchmark::State& state) {
    LoadStations();
    for (auto _ : state) {
        Letter->Button10Click(nullptr);
        Letter->Button17Click(nullptr);
    }
}

// The same rows (their ten cells and colour) sorted in memory the same two ways, the plain
// fast way: keys made beforehand, an index sorted stably, the rows moved once into place.
void StableSortFloor(benchmark::State& state) {
    LoadStations();
    struct Row {
        std::array<std::string, 10> cells;
        TColor color;
    };
    const int n = Letter->LabelCount;
    std::vector<Row> rows(n), spare(n);
    std::vector<std::string> keys(n);
    std::vector<int32_t> fileNo(n);
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 10; ++c) rows[i].cells[c] = Letter->StringGrid1->Cells(c, i);
        rows[i].color = Letter->LabelTable[i].color;
        keys[i] = gui::Utf8ToCp932(rows[i].cells[3]);
        fileNo[i] = Letter->LabelTable[i].fileNo;
    }
    std::vector<int> order(n);
    auto place = [&] {
        for (int i = 0; i < n; ++i) spare[i] = std::move(rows[order[i]]);
        rows.swap(spare);
    };
    for (auto _ : state) {
        // The keys stay with the original rows: the order is taken from them each time.
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
        place();
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return fileNo[a] < fileNo[b]; });
        place();
        benchmark::DoNotOptimize(rows.data());
    }
}

std::vector<PlacedSymbol> Symbols() {
    std::mt19937 rnd(7);
    std::vector<PlacedSymbol> v;
    const int codes[] = {100, 105, 113, 120, 200, 210, 501};
    const int sizes[] = {14, 16, 18};
    for (int i = 0; i < 1000; ++i) {
        int32_t x, y;
        Open->ScreenToMap(int(rnd() % 1780) + 10, int(rnd() % 1780) + 10, x, y);
        v.push_back({codes[rnd() % 7], x, y, TColor(rnd() & 0xFFFFFF), sizes[rnd() % 3], uint8_t(rnd() % 2)});
    }
    return v;
}

void Symbols1000(benchmark::State& state) {
    LoadStations();
    const auto v = Symbols();
    std::copy(v.begin(), v.end(), PagesDlg->PlacedSymbols.begin());
    PagesDlg->PlacedSymbolCount = int(v.size());
    for (auto _ : state) PagesDlg->DrawPlacedSymbols();
}

void PictureFloor(benchmark::State& state) {
    LoadStations();
    const auto v = Symbols();
    std::vector<std::unique_ptr<TBitmap>> pics;
    std::vector<TPoint> at;
    for (const PlacedSymbol& s : v) {
        const std::string name = s.code >= 500 ? "mark" + std::to_string(s.code - 500) + ".bmp"
                                 : s.code >= 200 || s.size == 16 ? std::to_string(s.code) + ".bmp"
                                 : std::to_string(s.code) + (s.size == 14 ? "s.bmp" : "m.bmp");
        auto b = std::make_unique<TBitmap>();
        b->LoadFromFile(Open->doc.AppDir + "/mark/" + name);
        ColourBlackPixels(b->Image(), s.color);
        b->Transparent = s.transparent;
        int sx, sy;
        Open->MapToScreen(s.x, s.y, sx, sy);
        at.push_back({sx - 8, sy - 8});
        pics.push_back(std::move(b));
    }
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (auto _ : state)
        for (size_t i = 0; i < pics.size(); ++i) cv->Draw(at[i].x, at[i].y, pics[i].get());
}

} // namespace

BENCHMARK(LabelWrite20k)->Unit(benchmark::kMillisecond);
BENCHMARK(LabelsFirst20k)->Unit(benchmark::kMillisecond);
BENCHMARK(OnePainterTextFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(TextOutFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(LabelSort20k)->Unit(benchmark::kMillisecond);
BENCHMARK(StableSortFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(Symbols1000)->Unit(benchmark::kMillisecond);
BENCHMARK(PictureFloor)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-labels", false, {"mark"});
    return benchutil::Main(argc, argv,
                           {{"LabelWrite20k", "TextOutFloor"}, {"LabelsFirst20k", "OnePainterTextFloor"}, {"LabelSort20k", "StableSortFloor"}, {"Symbols1000", "PictureFloor"}});
}
