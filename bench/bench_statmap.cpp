// The statistics map of the sample table. StatJoin: the join of its rows to
// the municipalities of all 52 areas, against a hash lookup of each row's code
// cell among the same codes. StatLayer52 at 600 and 1800 px: the layer drawn
// on all areas at the standard view, against one QPainter filling the same
// polygons in their colours found beforehand. StatApply52: the window's join,
// classes and apply with its one redraw, against that redraw alone.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "paint/StatLayer.h"
#include "paint/Upaint.h"
#include "paint/Ustatmap.h"
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <unordered_map>

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";

void StatJoinRows(benchmark::State& state) {
    StatTable t;
    std::string error;
    ReadStatTable(kSample, t, error);
    const StatUnits u = LoadStatUnits(ROVANA_JAPAN_DATA, TStatMap::SelectedAreas(), 0);
    StatJoinSpec spec = ProposeStatColumns(t, 0);
    spec.valueCol = 5;
    for (auto _ : state) benchmark::DoNotOptimize(JoinStatTable(t, spec, u).joined);
}

void CodeLookup(benchmark::State& state) {
    StatTable t;
    std::string error;
    ReadStatTable(kSample, t, error);
    const StatUnits u = LoadStatUnits(ROVANA_JAPAN_DATA, TStatMap::SelectedAreas(), 0);
    std::unordered_map<std::string, int> codes(u.byCode.begin(), u.byCode.end());
    for (auto _ : state) {
        int found = 0;
        for (size_t r = 1; r < t.rows.size(); ++r) found += codes.count(t.rows[r][0]) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
}

// The standard view of all areas at a size multiplier.
MapView ViewAt(int copyScale) {
    Open->COPYSCALE = copyScale;
    Open->DrawMap();
    return Open->DrawnView;
}

void StatLayer52(benchmark::State& state) {
    const MapView view = ViewAt(int(state.range(0)));
    TBitmap bitmap(view.size, view.size);
    DrawSettings s;
    for (auto _ : state) {
        StatLayerOnMap->Prepare(s);
        StatLayerOnMap->Draw(*bitmap.Canvas(), view, s);
    }
    Open->COPYSCALE = 1;
}

void StatLayerFloor(benchmark::State& state) {
    const MapView view = ViewAt(int(state.range(0)));
    // Every block with its colour, found once.
    struct Block {
        const StatShapeArea* area;
        const StatShape* shape;
        QColor colour;
    };
    std::vector<Block> blocks;
    std::vector<std::unique_ptr<StatShapeArea>> areas;
    const StatMapBlock& b = StatLayerOnMap->Shown();
    const auto looks = b.Slots();
    for (int code = 1; code <= 52; ++code) {
        auto a = std::make_unique<StatShapeArea>();
        std::string error;
        if (!ReadStatShapes(StatShapePath(ROVANA_JAPAN_DATA, 0, code), *a, error)) continue;
        for (const StatShape& s : a->blocks) {
            const double v = b.ValueOf(s.code);
            const TColor c = looks[std::isnan(v) ? looks.size() - 1 : size_t(StatClassOf(v, b.breaks))].colour;
            blocks.push_back({a.get(), &s, QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)});
        }
        areas.push_back(std::move(a));
    }
    QImage image(view.size, view.size, QImage::Format_RGB32);
    std::vector<QPoint> pts;
    for (auto _ : state) {
        QPainter p(&image);
        p.setPen(Qt::NoPen);
        for (const Block& k : blocks) {
            p.setBrush(k.colour);
            const auto ring = [&](uint32_t r) {
                pts.clear();
                for (uint32_t i = k.area->ringStart[r]; i < k.area->ringStart[r + 1]; ++i) {
                    int x, y;
                    view.ToScreen(k.area->points[i].x, k.area->points[i].y, x, y);
                    pts.emplace_back(x, y);
                }
            };
            if (k.shape->rings == 1) {
                ring(k.shape->firstRing);
                p.drawPolygon(pts.data(), int(pts.size()), Qt::OddEvenFill);
                continue;
            }
            QPainterPath path;
            path.setFillRule(Qt::OddEvenFill);
            for (uint32_t r = k.shape->firstRing; r < k.shape->firstRing + k.shape->rings; ++r) {
                ring(r);
                path.addPolygon(QPolygonF(QPolygon(QList<QPoint>(pts.begin(), pts.end()))));
            }
            p.drawPath(path);
        }
    }
    Open->COPYSCALE = 1;
}

void StatApply52(benchmark::State& state) {
    Open->COPYSCALE = 1;
    for (auto _ : state) {
        StatMap->ColumnsChanged();
        StatMap->Apply();
    }
}

void StatApplyFloor(benchmark::State& state) {
    Open->COPYSCALE = 1;
    for (auto _ : state) Open->DrawMap();
}

BENCHMARK(StatJoinRows)->Name("StatJoin")->Unit(benchmark::kMillisecond);
BENCHMARK(CodeLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(StatLayer52)->Name("StatLayer52_600")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StatLayerFloor)->Name("StatLayerFloor_600")->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StatLayer52)->Name("StatLayer52_1800")->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(StatLayerFloor)->Name("StatLayerFloor_1800")->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(StatApply52)->Unit(benchmark::kMillisecond);
BENCHMARK(StatApplyFloor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-statmap", false, {"サンプル"});
    benchutil::LoadAllAreas();
    StatMapWindow()->OpenTable(kSample);
    StatMap->CBValue->SetItemIndex(6);
    StatMap->ColumnsChanged();
    StatMap->Apply();
    // The shapes of one edition, all areas, as the layer holds them.
    std::printf("STAT statshapes-bytes %zu\n", StatLayerOnMap->ShapeBytes());
    return benchutil::Main(argc, argv,
                           {{"StatJoin", "CodeLookup"},
                            {"StatLayer52_600", "StatLayerFloor_600"},
                            {"StatLayer52_1800", "StatLayerFloor_1800"},
                            {"StatApply52", "StatApplyFloor"}});
}
