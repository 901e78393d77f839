// The full redraw of all 52 areas at 600 and 1800 pixels, and at 1800 pixels
// in the state of 2000 with the borders across the lakes, against QPainter
// stroking the same polylines, with one pen and no anti-aliasing, into an
// image of the same size.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "forms/AllForms.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Old borders and names and the lake boundaries on or off, then the size.
void SetView(int copyScale, bool old) {
    Open->ui.CBNTownBorder->SetChecked(old);
    Open->ui.CBOldTown->SetChecked(old);
    Open->ui.CBLake->SetChecked(old);
    Open->COPYSCALE = copyScale;
    Open->DrawMap();
}

void Redraw(benchmark::State& state, int copyScale, bool old = false) {
    SetView(copyScale, old);
    for (auto _ : state) {
        if (!Open->DrawMap()) state.SkipWithError("nothing was drawn");
        benchmark::DoNotOptimize(Open->ui.Image1->Picture()->Bitmap()->Image().constBits());
    }
}

// The stores the redraw draws with the settings in force.
std::vector<const PolylineStore*> DrawnStores() {
    const bool old = Open->ui.CBNTownBorder->Checked(), lake = Open->ui.CBLake->Checked();
    std::vector<const PolylineStore*> v = {&Open->doc.CoastLine, &Open->doc.HokkaidoLakeLine, &Open->doc.LakeLine,
                                           &Open->doc.PrefLine, old ? &Open->doc.OldPrefLine : &Open->doc.NewPrefLine};
    if (lake) v.push_back(&Open->doc.LakePrefLine);
    if (Open->ui.CBTownBorder->Checked()) {
        if (Settei->CBKu->Checked()) v.push_back(&Open->doc.KuLine);
        v.push_back(&Open->doc.TownLine);
        if (old) {
            v.push_back(&Open->doc.NTownLine);
            v.push_back(&Open->doc.OTownLine);
        }
        if (lake) v.push_back(&Open->doc.LakeBorderLine);
    }
    return v;
}

// The floor: the plain affine view of the same points, stroked by QPainter.
void Stroke(benchmark::State& state, int copyScale, bool old = false) {
    SetView(copyScale, old);
    const int s = Open->ImageSize;
    const float cx = Open->CX, cy = Open->CY, sx = Open->ScaleX, sy = Open->ScaleY, half = s / 2;
    const auto stores = DrawnStores();
    QImage img(s, s, QImage::Format_RGB32);
    std::vector<QPoint> pts;
    for (auto _ : state) {
        img.fill(0xFFFFFFE1u);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(0, 0, 255), 0));
        for (const PolylineStore* store : stores) {
            const int32_t* w = store->Data();
            for (size_t i = 0; w[i] > 0; i += 2 * size_t(w[i]) + 1) {
                const int n = w[i];
                pts.resize(n);
                for (int k = 0; k < n; ++k)
                    pts[k] = QPoint(int((w[i + 1 + 2 * k] - cx) * sx + half), int(-sy * (w[i + 2 + 2 * k] - cy) + half));
                p.drawPolyline(pts.data(), n);
            }
        }
        p.end();
        benchmark::DoNotOptimize(img.constBits());
    }
}

void Redraw600(benchmark::State& state) { Redraw(state, 1); }
void Redraw1800(benchmark::State& state) { Redraw(state, 3); }
void Stroke600(benchmark::State& state) { Stroke(state, 1); }
void Stroke1800(benchmark::State& state) { Stroke(state, 3); }
void Redraw1800Old(benchmark::State& state) { Redraw(state, 3, true); }
void Stroke1800Old(benchmark::State& state) { Stroke(state, 3, true); }

BENCHMARK(Redraw600)->Unit(benchmark::kMillisecond);
BENCHMARK(Stroke600)->Unit(benchmark::kMillisecond);
BENCHMARK(Redraw1800)->Unit(benchmark::kMillisecond);
BENCHMARK(Stroke1800)->Unit(benchmark::kMillisecond);
BENCHMARK(Redraw1800Old)->Unit(benchmark::kMillisecond);
BENCHMARK(Stroke1800Old)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-redraw", false);

    benchutil::LoadAllAreas();

    return benchutil::Main(argc, argv, {{"Redraw600", "Stroke600"}, {"Redraw1800", "Stroke1800"}, {"Redraw1800Old", "Stroke1800Old"}});
}
