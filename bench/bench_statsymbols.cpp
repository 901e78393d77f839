// The statistics map's circles and value labels of all units at 1800 px.
// StatCircles1800: the circles' layer drawn, against one QPainter drawing the
// same circles (found beforehand) with their white edges. StatValueLabels1800:
// the labels' layer (placement and halos), against one QPainter drawing the
// texts it placed, halos and all.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "gui/VectorRecorder.h"
#include "paint/StatLayer.h"
#include "paint/StatSymbols.h"
#include "paint/Ustatmap.h"
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";

MapView View1800() {
    Open->COPYSCALE = 3;
    Open->DrawMap();
    return Open->DrawnView;
}

void Layers(benchmark::State& state, LayerPlace place) {
    const MapView view = View1800();
    TBitmap bitmap(view.size, view.size);
    DrawSettings s;
    for (auto _ : state) Open->hooks.Layers.Draw(*bitmap.Canvas(), view, s, place, LayerPlace(int(place) + 1));
}

void StatCircles(benchmark::State& state) { Layers(state, LayerPlace::StatCircles); }
void StatValueLabels(benchmark::State& state) { Layers(state, LayerPlace::StatValues); }

void CirclesFloor(benchmark::State& state) {
    const MapView view = View1800();
    const StatMapBlock& b = StatLayerOnMap->Shown();
    const StatUnits u = LoadStatUnits(ROVANA_JAPAN_DATA, TStatMap::SelectedAreas(), 0);
    const auto looks = b.Slots();
    struct Disc {
        QPointF centre;
        double r;
        QColor colour;
    };
    std::vector<Disc> discs;
    double largest = 0;
    for (const auto& [code, v] : b.SizeValues()) largest = std::max(largest, std::abs(v));
    for (const StatUnit& unit : u.units) {
        const int32_t code = std::stoi(unit.code);
        const auto it = std::lower_bound(b.SizeValues().begin(), b.SizeValues().end(), std::pair{code, -HUGE_VAL});
        if (it == b.SizeValues().end() || it->first != code) continue;
        int x, y;
        view.ToScreen(unit.points[0].x, unit.points[0].y, x, y);
        const double v = b.ValueOf(code);
        const TColor c = looks[std::isnan(v) ? looks.size() - 1 : size_t(StatClassOf(v, b.breaks))].colour;
        discs.push_back({QPointF(x + 0.5, y + 0.5), StatCircleRadius(it->second, largest, StatCircleScale(b, view)),
                         QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)});
    }
    std::sort(discs.begin(), discs.end(), [](const Disc& a, const Disc& d) { return a.r > d.r; });
    QImage image(view.size, view.size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        p.setPen(Qt::white);
        for (const Disc& d : discs) {
            p.setBrush(d.colour);
            p.drawEllipse(d.centre, d.r, d.r);
        }
    }
}

void LabelsFloor(benchmark::State& state) {
    const MapView view = View1800();
    // The texts the layer places, as a vector device keeps them.
    TBitmap bitmap(view.size, view.size);
    gui::VectorRecorder kept;
    bitmap.Canvas()->Vector = &kept;
    DrawSettings s;
    Open->hooks.Layers.Draw(*bitmap.Canvas(), view, s, LayerPlace::StatValues, LayerPlace::ScaleBar);
    bitmap.Canvas()->Vector = nullptr;
    const auto texts = kept.Texts();
    QImage image(view.size, view.size, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        size_t k = 0;
        for (const auto& t : texts) {
            p.setFont(t.font);
            p.setPen(++k % 5 ? Qt::white : Qt::black);
            p.drawText(t.baseline, t.text);
        }
    }
}

BENCHMARK(StatCircles)->Name("StatCircles1800")->Unit(benchmark::kMillisecond);
BENCHMARK(CirclesFloor)->Name("StatCirclesFloor1800")->Unit(benchmark::kMillisecond);
BENCHMARK(StatValueLabels)->Name("StatValueLabels1800")->Unit(benchmark::kMillisecond);
BENCHMARK(LabelsFloor)->Name("StatValueLabelsFloor1800")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-statsymbols", false, {"サンプル"});
    benchutil::LoadAllAreas();
    StatMapWindow()->OpenTable(kSample);
    StatMap->CBValue->SetItemIndex(6);
    StatMap->ColumnsChanged();
    StatMap->CBCircles->SetChecked(true);
    StatMap->CBValueLabels->SetChecked(true);
    StatMap->Apply();
    return benchutil::Main(argc, argv,
                           {{"StatCircles1800", "StatCirclesFloor1800"},
                            {"StatValueLabels1800", "StatValueLabelsFloor1800"}});
}
