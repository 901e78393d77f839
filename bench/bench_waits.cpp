// What the user waits for on the whole country with railways and stations:
// unticking "主要駅" (every station file loaded, then one redraw; warm, and the
// first time of a run with the label window open) against one redraw of the same map; 250 distance circles against stroking the same
// rings as canvas polylines; the 1800-pixel redraw with every station label
// against the same redraw without them.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "bench/BenchRings.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "labels/Uletter.h"
#include "lines/Ukyori.h"
#include <cstdlib>
#include <vector>

namespace {

void Size(int copyScale) {
    Open->COPYSCALE = copyScale;
    Open->ui.Image1->SetImageSize(600 * copyScale, 600 * copyScale);
}

void Drawn(benchmark::State& state, bool drawn) {
    if (!drawn) state.SkipWithError("nothing was drawn");
    benchmark::DoNotOptimize(Open->ui.Image1->Picture()->Bitmap()->Image().constBits());
}

void StationToggle52(benchmark::State& state) {
    Size(1);
    for (auto _ : state) {
        state.PauseTiming();
        RailControlsOf(*Open).CBMain->SetChecked(true);   // back to the main stations
        state.ResumeTiming();
        RailControlsOf(*Open).CBMain->SetChecked(false);
        if (Letter->LabelCount != 9558) state.SkipWithError("stations missing");
    }
}

// The untick with the label window open: the first of a run, every station
// text new to it, or warm.
void StationToggleOpen(benchmark::State& state, bool cold) {
    Size(1);
    Letter->Show();
    for (auto _ : state) {
        state.PauseTiming();
        RailControlsOf(*Open).CBMain->SetChecked(true);
        if (cold) gui::ForgetLaidTexts();
        state.ResumeTiming();
        RailControlsOf(*Open).CBMain->SetChecked(false);
        if (Letter->LabelCount != 9558) state.SkipWithError("stations missing");
    }
    Letter->Close();
}
void StationToggleCold52(benchmark::State& state) { StationToggleOpen(state, true); }
void StationToggleOpen52(benchmark::State& state) { StationToggleOpen(state, false); }

void StationToggle52Floor(benchmark::State& state) {
    Size(1);
    RailControlsOf(*Open).CBMain->SetChecked(false);
    for (auto _ : state) Drawn(state, Open->DrawMap());
}

// 250 circles of the window's defaults, over the whole country.
void AddCircles() {
    Kyori->CheckBox6->SetChecked(true);
    Kyori->CheckBox4->SetChecked(false);
    Kyori->CheckBox1->SetChecked(true);   // concentric: rings out to the image's edge
    for (int i = 0; i < 250; i++) Kyori->AddCircle(80000 + (i % 25) * 8000, 50000 + (i / 25) * 19000);
}

void Circles250(benchmark::State& state) {
    Size(1);
    Open->DrawMap();
    for (auto _ : state) DrawDistanceCircles(*Open);
}

// The same rings, their vertices taken once, as polylines of the same pen.
void Circles250Floor(benchmark::State& state) {
    Size(1);
    Open->DrawMap();
    const auto rings = benchutil::CircleRings();
    TCanvas* cv = Open->ui.Image1->Canvas();
    for (auto _ : state) {
        cv->Pen->Mode = pmCopy;
        cv->Pen->Style = psSolid;
        cv->Pen->Color = Kyori->Circles[0].color;
        cv->Pen->Width = Kyori->Circles[0].width;
        for (const auto& r : rings) cv->Polyline(r.data(), int(r.size()));
    }
}

// Every station of the country, not the main ones only.
void AllStations() {
    RailControlsOf(*Open).CBMain->SetChecked(false);
    if (Letter->LabelCount != 9558) std::abort();
}

void RedrawStations1800(benchmark::State& state) {
    Size(3);
    AllStations();
    Letter->CBShow->SetChecked(true);
    for (auto _ : state) Drawn(state, Open->DrawMap());
}

void RedrawStations1800Floor(benchmark::State& state) {
    Size(3);
    AllStations();
    Letter->CBShow->SetChecked(false);
    for (auto _ : state) Drawn(state, Open->DrawMap());
    Letter->CBShow->SetChecked(true);
}

BENCHMARK(StationToggle52)->Unit(benchmark::kMillisecond);
BENCHMARK(StationToggle52Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(StationToggleCold52)->Unit(benchmark::kMillisecond);
BENCHMARK(StationToggleOpen52)->Unit(benchmark::kMillisecond);
BENCHMARK(Circles250)->Unit(benchmark::kMillisecond);
BENCHMARK(Circles250Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawStations1800)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawStations1800Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-waits", false, {"鉄道路線"});
    benchutil::LoadAllAreas(true);
    Open->ui.CBEki->SetChecked(true);   // ticks "主要駅" with it
    AddCircles();
    return benchutil::Main(argc, argv, {{"StationToggle52", "StationToggle52Floor"},
                                        {"StationToggleCold52", "StationToggle52Floor"},
                                        {"StationToggleOpen52", "StationToggle52Floor"},
                                        {"Circles250", "Circles250Floor"},
                                        {"RedrawStations1800", "RedrawStations1800Floor"}});
}
