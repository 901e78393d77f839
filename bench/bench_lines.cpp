// Railway lines: the redraw of all 52 areas with every railway line at 1800
// pixels against the redraw without them plus a plain stroke of the same
// lines; and the railway load of all regions with its redraw against
// listing the folders, reading the same station files and one redraw.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Convert.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The railway lines read once: pieces of map points and each file's width.
struct Piece {
    int width;
    std::vector<std::pair<int32_t, int32_t>> pts;
};
std::vector<Piece> pieces;

void ReadLines() {
    for (const std::string& path : LineAdd->RailFiles) {
        gui::TextReader in(path);
        std::string line;
        LineFileHeader h;
        if (!in.ReadLine(line) || !ParseLineHeader(line, h)) continue;
        pieces.push_back({std::max(1, h.Size), {}});
        std::string_view b;
        while (in.ReadLineBytes(b)) {
            const size_t c = b.find(',');
            const int32_t x = LenientInt(b.substr(0, c)), y = c == b.npos ? 0 : LenientInt(b.substr(c + 1));
            if (x == 0 && y == 0) pieces.push_back({pieces.back().width, {}});
            else pieces.back().pts.push_back({x, y});
        }
    }
}

void RedrawRail1800(benchmark::State& state) {
    Letter->CBShow->SetChecked(false);   // the station labels are not what is measured
    LineAdd->CheckBox2->SetChecked(true);
    for (auto _ : state) {
        if (!Open->DrawMap()) state.SkipWithError("nothing was drawn");
        benchmark::DoNotOptimize(Open->ui.Image1->Picture()->Bitmap()->Image().constBits());
    }
}

void RedrawRail1800Floor(benchmark::State& state) {
    Letter->CBShow->SetChecked(false);
    LineAdd->CheckBox2->SetChecked(false);
    TCanvas* cv = Open->ui.Image1->Canvas();
    std::vector<TPoint> pts;
    for (auto _ : state) {
        if (!Open->DrawMap()) state.SkipWithError("nothing was drawn");
        const float cx = Open->CX, cy = Open->CY, sx = Open->ScaleX, sy = Open->ScaleY, half = Open->ImageSize / 2;
        cv->Pen->Color = 0xFF0000;
        cv->Pen->Style = psSolid;
        for (const Piece& p : pieces) {
            if (p.pts.size() < 2) continue;
            cv->Pen->Width = p.width;
            pts.resize(p.pts.size());
            for (size_t k = 0; k < p.pts.size(); k++)
                pts[k] = TPoint(int((p.pts[k].first - cx) * sx + half), int(-sy * (p.pts[k].second - cy) + half));
            cv->Polyline(pts.data(), int(pts.size()));
        }
        benchmark::DoNotOptimize(Open->ui.Image1->Picture()->Bitmap()->Image().constBits());
    }
    LineAdd->CheckBox2->SetChecked(true);
}

// The railway load as the user meets it: every line and station file read,
// the lines shown again as every caller does, and the map drawn once with them.
void RailRoadSetAll(benchmark::State& state) {
    for (auto _ : state) {
        {
            RedrawOnce once;
            Open->RailRoadSet();
            LineAdd->CheckBox2->SetChecked(true);
        }
        if (Letter->LabelCount != 9558) state.SkipWithError("stations missing");
    }
}

void RailRoadSetAllFloor(benchmark::State& state) {
    const std::string root = Open->doc.AppDir + "/鉄道路線/";
    std::vector<char> buf(1 << 16);
    for (auto _ : state) {
        size_t bytes = 0;
        for (int r = 0; r < 10; r++) {
            const std::string folder = root + Open->doc.RegionName[r];
            benchmark::DoNotOptimize(gui::ListFiles(folder, "*.adl").size());
            for (const std::string& n : gui::ListFiles(folder, "*.lbl")) {
                FILE* f = std::fopen((folder + "/" + n).c_str(), "rb");
                if (!f) continue;
                while (size_t got = std::fread(buf.data(), 1, buf.size(), f)) bytes += got;
                std::fclose(f);
            }
        }
        benchmark::DoNotOptimize(bytes);
        if (!Open->DrawMap()) state.SkipWithError("nothing was drawn");   // the same map, drawn once
    }
}

BENCHMARK(RedrawRail1800)->Unit(benchmark::kMillisecond);
BENCHMARK(RedrawRail1800Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(RailRoadSetAll)->Unit(benchmark::kMillisecond);
BENCHMARK(RailRoadSetAllFloor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-lines", false, {"鉄道路線"});
    benchutil::LoadAllAreas(true);
    // All stations: ticking "駅名" takes the main stations first.
    Open->ui.CBEki->SetChecked(true);
    RailControlsOf(*Open).CBMain->SetChecked(false);
    Open->COPYSCALE = 3;
    Open->ui.Image1->SetImageSize(1800, 1800);
    Open->DrawMap();
    ReadLines();
    return benchutil::Main(argc, argv, {{"RedrawRail1800", "RedrawRail1800Floor"},
                                        {"RailRoadSetAll", "RailRoadSetAllFloor"}});
}
