#include "paint/StatLayer.h"
#include "engine/MapDocument.h"
#include "engine/MainForm.h"
#include "engine/FeatureHooks.h"
#include "gui/VectorRecorder.h"
#include "names/MainFormNames.h"
#include <algorithm>
#include <cmath>

StatLayer* StatLayerOnMap = nullptr;

int TickedEditionYear() {
    const TOpen& o = *Open;
    TMenuItem* items[5] = {NameWidgetsOf(o).N20021, NameWidgetsOf(o).N20031, NameWidgetsOf(o).N20051, NameWidgetsOf(o).N20081, NameWidgetsOf(o).N20091};
    const int years[5] = {2002, 2003, 2005, 2008, 2009};
    for (int i = 0; i < 5; ++i)
        if (items[i] && items[i]->Checked()) return years[i];
    return 0;
}

void StatLayer::Show(StatMapBlock b) {
    shown = std::move(b);
    looks = shown.Slots();
    slotOf.clear();
    for (const auto& [code, v] : shown.values) slotOf[code] = uint8_t(StatClassOf(v, shown.breaks));
}

void StatLayer::SetAreas(std::vector<int> a) {
    areas = std::move(a);
    drawn.clear();
    for (int area : areas)
        if (const StatShapeArea* s = shapes.Area(MainDoc().AppDir, MapYear, area)) drawn.push_back(s);
}

std::vector<InsetUnit> StatLayer::UnitBoxes(int area) {
    std::vector<InsetUnit> units;
    if (const StatShapeArea* a = shapes.Area(MainDoc().AppDir, TickedEditionYear(), area))
        for (const StatShape& b : a->blocks) units.push_back({b.code, {b.x0, b.y0, b.x1, b.y1}});
    return units;
}

void StatLayer::Prepare(const DrawSettings&) {
    std::vector<int> now;
    for (int i = 0; i < MainDoc().SELECT && i < 100; ++i)
        if (MainDoc().SelectCode[i] >= 1 && MainDoc().SelectCode[i] <= 52) now.push_back(MainDoc().SelectCode[i]);
    SetAreas(std::move(now));
}

void StatLayer::Draw(TCanvas& cv, const MapView& view, const DrawSettings&) {
    if (looks.empty()) return;
    thread_local std::vector<TPoint> pts;
    thread_local std::vector<int> counts;
    thread_local std::vector<TPointF> exact;   // for a vector device: the areas' own outlines
    const bool keepExact = cv.Vector != nullptr;
    const uint8_t noData = uint8_t(looks.size() - 1);
    const int size = view.size;
    cv.Pen->Mode = pmCopy;
    int lastSlot = -1;
    for (const StatShapeArea* a : drawn) {
        // Blocks of one file never overlap; those of neighbouring files may, in
        // thin slivers, which one shape per colour would leave as holes.
        if (cv.Vector) cv.Vector->BeginTiles();
        for (const StatShape& b : a->blocks) {
            // Parts wholly outside the picture are left out (a pixel's margin for the datum shift's rounding).
            int left, top, right, bottom;
            view.ToScreen(b.x0, b.y1, left, top);
            view.ToScreen(b.x1, b.y0, right, bottom);
            if (right < -1 || bottom < -1 || left > size || top > size) continue;
            const auto it = slotOf.find(b.code);
            const int slot = it == slotOf.end() ? noData : it->second;
            if (slot != lastSlot) {
                cv.Brush->Color = looks[size_t(slot)].colour;
                cv.Brush->Style = TBrushStyle(looks[size_t(slot)].pattern);
                lastSlot = slot;
            }
            pts.clear();
            counts.clear();
            exact.clear();
            for (uint32_t r = b.firstRing; r < b.firstRing + b.rings; ++r) {
                const uint32_t from = a->ringStart[r], to = a->ringStart[r + 1];
                counts.push_back(int(to - from));
                for (uint32_t i = from; i < to; ++i) {
                    TPoint p;
                    view.ToScreen(a->points[i].x, a->points[i].y, p.x, p.y);
                    pts.push_back(p);
                    if (keepExact) {
                        TPointF& e = exact.emplace_back();
                        view.ToScreenF(a->points[i].x, a->points[i].y, e.x, e.y);
                    }
                }
            }
            cv.FillRings(pts.data(), keepExact ? exact.data() : nullptr, counts.data(), int(counts.size()));
        }
        if (cv.Vector) cv.Vector->EndTiles();
    }
    cv.Brush->Style = bsSolid;
}
