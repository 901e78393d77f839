// The full map at 1800 pixels: all 52 areas with railways and every station
// loaded (the main ones labelled), the statistics map of the sample table,
// names, 5000 labels, 500 symbols, 100 line files, 250 circles, legend, scale
// bar and grid. ActionsFull1800: the user's actions through their handlers,
// the median time of one action, against the bare 1800-pixel redraw of the
// same areas. TextLayer1800: every name and station text of the country
// through the name and label layers, against Qt drawing the same texts, laid
// out beforehand, with one painter. StationsOffCold1800: "主要駅" unticked
// with every station text new, against the same with the texts drawn before.
// LegendDrag1800, ScaleBarDrag1800: the 40 mouse moves of a drag of the legend
// or the scale bar, against one bare redraw (a set number of drags: each drop
// is a redraw, and the moves alone would take thousands of them).
#include "bench/BenchMain.h"
#include "lines/MainFormLines.h"
#include "navigation/MainFormNavigation.h"
#include "bench/BenchProgram.h"
#include "bench/BenchUserLayers.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "navigation/Usclist.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include "labels/MainFormLabels.h"

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";

void MakeFullMap() {
    benchutil::LoadAllAreas(true);
    Open->ui.CBEki->SetChecked(true);   // every station file, the main stations labelled
    Open->ui.CBTownName->SetChecked(true);
    Open->ui.CBLonLat->SetChecked(true);
    Open->ui.CBScale->SetChecked(true);
    Open->ui.RadioGroup1->SetItemIndex(2);
    StatMapWindow()->OpenTable(kSample);
    StatMap->Apply();
    const int32_t x0 = Open->CX - 150000, y0 = Open->CY - 150000;
    benchutil::AddUserLayers(x0, y0, 8, 100);
    Kyori->CheckBox6->SetChecked(true);
    for (int i = 0; i < 250; i++) Kyori->AddCircle(80000 + (i % 25) * 8000, 50000 + (i / 25) * 19000);
    Hanrei->CBExpDisplay->SetChecked(true);
    Hanrei->LegendOn = true;
    Open->gate.MapShown = true;
    Open->DrawMap();
    const DrawSettings s = Open->ReadDrawSettings();
    std::printf("full map: %d px, %d paint, %d labels, %d symbols, %d line files, %d circles, legend %d, grid %d\n",
                Open->ImageSize, Open->paint.paint_rep, Letter->LabelCount, PagesDlg->PlacedSymbolCount,
                LineAdd->LineFileCount, Kyori->CircleCount, int(s.LegendShown), int(Open->LonLatShown));
}

using Clock = std::chrono::steady_clock;

struct Action {
    const char* name;
    std::function<void()> run;
};

std::vector<Action> Actions() {
    const TShiftState none{};
    auto wheel = [none](int delta) {
        bool handled = false;
        FormMouseWheel(*Open, Open, none, delta, TPoint(900, 900), handled);
    };
    return {
        {"wheel in", [=] { wheel(-120); }},
        {"wheel out", [=] { wheel(120); }},
        {"pan right", [] { UDHorClick(*Open, Open, btNext); }},
        {"pan left", [] { UDHorClick(*Open, Open, btPrev); }},
        {"中心設定", [] {
             Open->BtnCenterClick(Open);
             Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, 950, 870);
         }},
        {"戻す", [] {
             PushViewHistory(*Open);
             Button12Click(*Open, Open);
         }},
        {"grid off", [] { Open->ui.CBLonLat->SetChecked(false); }},
        {"grid on", [] { Open->ui.CBLonLat->SetChecked(true); }},
        {"主要駅 off", [] { RailControlsOf(*Open).CBMain->SetChecked(false); }},
        {"主要駅 on", [] { RailControlsOf(*Open).CBMain->SetChecked(true); }},
        {"標準範囲", [] { Button6Click(*Open, Open); }},
    };
}

std::map<std::string, std::vector<double>> actionMs;
std::map<std::string, int> actionRedraws;   // of the last round

// Each round takes every action once; the round's time is the median of its actions.
void ActionsFull1800(benchmark::State& state) {
    const auto actions = Actions();
    int redraws = 0, rounds = 0;
    for (auto _ : state) {
        std::vector<double> ms;
        const int before = Open->RedrawCount;
        for (const Action& a : actions) {
            const int drawn = Open->RedrawCount;
            const auto t0 = Clock::now();
            a.run();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            actionMs[a.name].push_back(ms.back());
            actionRedraws[a.name] = Open->RedrawCount - drawn;
        }
        redraws += Open->RedrawCount - before;
        ++rounds;
        std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
        state.SetIterationTime(ms[ms.size() / 2] / 1000);
    }
    state.counters["redraws/action"] = double(redraws) / rounds / actions.size();
}

// The floor: the bare map of the same areas at the same size, drawn by the
// redraw's own layer stack with everything the full map adds left out, so
// that measuring it changes nothing the actions see; each time in a new view.
void Redraw1800(benchmark::State& state) {
    Button6Click(*Open, Open);
    DrawSettings s = Open->ReadDrawSettings();
    s.Labels = s.RailLines = s.ScaleBar = s.TownName = s.LegendShown = s.Circles = false;
    s.LineFilesShown = s.PaintDisplay = s.Symbols = false;
    const bool grid = Open->LonLatShown;
    Open->LonLatShown = false;
    TCanvas& cv = *Open->ui.Image1->Canvas();
    const MapView v = Open->DrawnView;
    if (v.size != 1800) state.SkipWithError("not the 1800-pixel map");
    // Most actions move the view: so does the floor, by one pixel, every time.
    MapView moved = v;
    moved.cx += int32_t(1 / v.scaleX) + 1;
    bool there = false;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        Open->hooks.Layers.Prepare(s);
        Open->hooks.Layers.Draw(cv, there ? moved : v, s);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
        there = !there;
    }
    Open->LonLatShown = grid;
}

// Every name and station text of the country, as the layers draw them on the standard range.
void DrawTexts(TCanvas& cv) {
    const DrawSettings s = Open->ReadDrawSettings();
    const MapView& v = Open->DrawnView;
    Open->DrawTownNames(cv, v, s);
    Open->DrawDuplicateNames(cv, v, s);
    Open->DrawCityNames(cv, v, s);
    DrawLabels(*Open, cv, v, s);
}

// Every station labelled, the user's labels hidden: the texts are the names' and the stations'.
struct AllTexts {
    AllTexts() {
        Button6Click(*Open, Open);
        RailControlsOf(*Open).CBMain->SetChecked(false);
        for (int i = 0; i < Letter->LabelCount; ++i)
            if (!Letter->LabelTable[i].railway) Letter->LabelTable[i].shown = false;
    }
    ~AllTexts() {
        for (int i = 0; i < Letter->LabelCount; ++i) Letter->LabelTable[i].shown = true;
        RailControlsOf(*Open).CBMain->SetChecked(true);
    }
};

void TextLayer1800(benchmark::State& state) {
    AllTexts all;
    TCanvas& cv = *Open->ui.Image1->Canvas();
    for (auto _ : state) {
        const auto t0 = Clock::now();
        DrawTexts(cv);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
}

// The floor: the same texts at the same pixels, in their fonts and colours,
// each laid out beforehand, drawn with one painter.
void TextLayerFloor(benchmark::State& state) {
    AllTexts all;
    struct Text {
        QPointF at;
        QStaticText text;
        int font;
        QColor colour;
    };
    std::vector<QFont> fonts;
    std::map<int, int> fontOfSize;
    std::vector<Text> texts;
    const MapView& v = Open->DrawnView;
    const DrawSettings s = Open->ReadDrawSettings();
    auto add = [&](int32_t x, int32_t y, const std::string& name, int points, TColor colour) {
        auto [it, fresh] = fontOfSize.emplace(points, int(fonts.size()));
        if (fresh) {
            QFont f("IPAGothic");
            f.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72))));
            f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
            fonts.push_back(f);
        }
        int sx, sy;
        v.ToScreen(x, y, sx, sy);
        if (sx >= v.size || sy >= v.size) return;
        QStaticText t(QString::fromStdString(name));
        t.setTextFormat(Qt::PlainText);
        t.setPerformanceHint(QStaticText::AggressiveCaching);
        t.prepare(QTransform(), fonts[size_t(it->second)]);
        texts.push_back({QPointF(sx, sy), t, it->second, QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF),
                                                                 int((colour >> 16) & 0xFF))});
    };
    const int nameSize = Open->style.NameFontSize;
    for (int i = 0; i < Open->doc.TownCount; ++i) add(Open->doc.TownX[i], Open->doc.TownY[i], Open->doc.TownName[i], nameSize, Open->style.TownFontColor);
    for (int i = 0; i < Open->doc.NewTownCount; ++i)
        add(Open->doc.NewTownX[i], Open->doc.NewTownY[i], Open->doc.NewTownName[i], nameSize, Open->style.TownFontColor);
    for (int i = 0; i < Letter->LabelCount; ++i) {
        const LabelRecord& r = Letter->LabelTable[i];
        if (r.railway) add(r.x, r.y, (s.LabelMarks ? r.mark : std::string()) + r.text, int(r.size * s.LabelScale), r.color);
    }
    QImage img(v.size, v.size, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        QPainter p(&img);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        int font = -1;
        for (const Text& t : texts) {
            if (t.font != font) p.setFont(fonts[size_t(font = t.font)]);
            p.setPen(t.colour);
            p.drawStaticText(t.at, t.text);
        }
        p.end();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    state.counters["texts"] = double(texts.size());
}

// "主要駅" unticked on the full map, as the first time in a run (the texts of
// the map drawn before, those of the other stations new) or as again.
void StationsOff(benchmark::State& state, bool cold) {
    for (auto _ : state) {
        RailControlsOf(*Open).CBMain->SetChecked(true);
        if (cold) {
            // As on the first untick of a run: the map drawn before, its stations not.
            gui::ForgetLaidTexts();
            Open->DrawMap();
        }
        const auto t0 = Clock::now();
        RailControlsOf(*Open).CBMain->SetChecked(false);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - t0).count());
    }
    RailControlsOf(*Open).CBMain->SetChecked(true);
}
// A drag of the legend or of the scale bar across the full map through the
// image's mouse events, there and back: the time of its 40 moves together,
// against the bare redraw; the drop (one redraw) is counted apart.
void Drag(benchmark::State& state, bool legend) {
    constexpr int kMoves = 40;
    const float k = Open->ImageSize / 600.0f;
    double dropMs = 0;
    int moves = 0, drops = 0, redrawsInMoves = 0;
    for (auto _ : state) {
        const int x0 = legend ? Open->LegendLeft + 5 : int(Open->style.scl_x1 * k) + 5;
        const int y0 = legend ? Open->LegendTop + 5 : int(Open->style.scly1 * k) + 5;
        // Every other drag goes back to where the last one started.
        const int dx = (drops % 2 ? -1 : 1) * 400, dy = (drops % 2 ? -1 : 1) * 300;
        Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, x0, y0);
        if (!(legend ? Open->LegendDrag : Open->ScaleDrag)) state.SkipWithError("the press missed the box");
        const int drawn = Open->RedrawCount;
        const auto t0 = Clock::now();
        for (int i = 1; i <= kMoves; ++i) Open->Image1MouseMove(Open->ui.Image1, {}, x0 + dx * i / kMoves, y0 + dy * i / kMoves);
        const auto t1 = Clock::now();
        redrawsInMoves += Open->RedrawCount - drawn;
        Open->Image1MouseUp(Open->ui.Image1, mbLeft, {}, x0 + dx, y0 + dy);
        dropMs += std::chrono::duration<double, std::milli>(Clock::now() - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        moves += kMoves, ++drops;
    }
    state.counters["redraws/move"] = double(redrawsInMoves) / std::max(1, moves);
    state.counters["drop ms"] = dropMs / std::max(1, drops);
}
void LegendDrag1800(benchmark::State& state) { Drag(state, true); }
void ScaleBarDrag1800(benchmark::State& state) { Drag(state, false); }

void StationsOffCold1800(benchmark::State& state) { StationsOff(state, true); }
void StationsOffWarm1800(benchmark::State& state) { StationsOff(state, false); }

BENCHMARK(LegendDrag1800)->UseManualTime()->Iterations(12)->Unit(benchmark::kMillisecond);
BENCHMARK(ScaleBarDrag1800)->UseManualTime()->Iterations(12)->Unit(benchmark::kMillisecond);
BENCHMARK(StationsOffCold1800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StationsOffWarm1800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ActionsFull1800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(Redraw1800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TextLayer1800)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(TextLayerFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-actions", false, {"鉄道路線", "mark", "サンプル"});
    MakeFullMap();
    const int code = benchutil::Main(argc, argv, {{"ActionsFull1800", "Redraw1800"},
                                                       {"TextLayer1800", "TextLayerFloor"},
                                                       {"StationsOffCold1800", "StationsOffWarm1800"},
                                                       {"LegendDrag1800", "Redraw1800"},
                                                       {"ScaleBarDrag1800", "Redraw1800"}});
    for (auto& [name, ms] : actionMs) {
        std::sort(ms.begin(), ms.end());
        std::printf("  %-12s median %.1f ms, min %.1f ms, %d redraw(s)\n", name.c_str(), ms[ms.size() / 2], ms.front(),
                    actionRedraws[name]);
    }
    return code;
}
