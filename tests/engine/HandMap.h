// A small hand-made map on the main form: the stores are filled directly with
// polylines given in image pixels, the view is set by hand and drawn in the
// Tokyo datum, so every point lands on a known pixel.
#pragma once
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "tests/support/FormsFixture.h"
#include <cmath>
#include <utility>
#include <vector>

class HandMap : public FormsTest {
protected:
    TOpen* o = nullptr;

    void SetUp() override {
        FormsTest::SetUp();
        o = Open;
        o->WgsDisplay = false;
        o->doc.SELECT = 1;
        o->doc.SelectCode[0] = 12;
        o->CX = 150000;   // 137 E
        o->CY = 150000;   // 34 N
        o->scale = 0.01f;
        o->MAGSTEP = 1;
        o->MAGUNIT = 1.0f;
        o->COPYSCALE = 1;
        o->SSIZE = 1;
        o->BaseSpan = 60000;
        for (PolylineStore* s : Stores()) SetStore(*s, {});
        o->doc.TownCount = o->doc.OldTownCount = o->doc.NewTownCount = 0;
        o->doc.CityCount = o->doc.ExtraCount = o->doc.OfficeCount = 0;
        // As after a load: the layer boxes are usable.
        for (TCheckBox* c : {o->ui.CBTownBorder, o->ui.CBNTownBorder, o->ui.CBPrefBorder, o->ui.CBLonLat, o->ui.CBTownName,
                             o->ui.CBCenter, o->ui.CBScale})
            c->SetEnabled(true);
        o->gate.DataReady = true;
        o->gate.MapShown = true;   // as once a map is on screen: presses reach the tools
        ASSERT_TRUE(o->DrawMap());
    }

    std::vector<PolylineStore*> Stores() {
        return {&o->doc.CoastLine, &o->doc.PrefLine,     &o->doc.NewPrefLine,      &o->doc.OldPrefLine,
                &o->doc.TownLine,  &o->doc.NTownLine,    &o->doc.OTownLine,        &o->doc.LakeLine,
                &o->doc.HokkaidoLakeLine, &o->doc.LakeBorderLine, &o->doc.LakePrefLine, &o->doc.KuLine};
    }

    // The map point that the current view puts on pixel (px, py).
    std::pair<int32_t, int32_t> At(int px, int py) {
        const int half = o->ImageSize / 2;
        // Pixels come from truncation toward zero: aim at the middle of the pixel's range.
        const double tx = px >= 0 ? px + 0.5 : px - 0.5, ty = py >= 0 ? py + 0.5 : py - 0.5;
        int32_t x = int32_t(std::lround(o->CX + (tx - half) / o->ScaleX));
        int32_t y = int32_t(std::lround(o->CY - (ty - half) / o->ScaleY));
        int sx, sy;
        o->MapToScreen(x, y, sx, sy);
        EXPECT_EQ(sx, px);
        EXPECT_EQ(sy, py);
        return {x, y};
    }

    // Polylines given as pixel points, closed by the end marker.
    void SetStore(PolylineStore& s, const std::vector<std::vector<std::pair<int, int>>>& lines) {
        size_t i = 0;
        for (const auto& line : lines) {
            s.Words[i++] = int32_t(line.size());
            for (auto [px, py] : line) {
                auto [x, y] = At(px, py);
                s.Words[i++] = x;
                s.Words[i++] = y;
            }
        }
        s.Fill = int32_t(i);
        s.Words[i] = -999;
        s.Changed();
    }

    TColor Px(int x, int y) { return o->ui.Image1->Canvas()->Pixels(x, y); }

    // Pixels of colour c in the box x0..x1-1, y0..y1-1.
    int Count(TColor c, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += Px(x, y) == c;
        return n;
    }

    // A named point of a name table, at pixel (px, py).
    void AddName(std::vector<int32_t>& xs, std::vector<int32_t>& ys, std::vector<std::string>& names,
                 std::vector<char>& dups, int32_t& count, const std::string& name, int px, int py, char dup = 's') {
        auto [x, y] = At(px, py);
        xs[count] = x, ys[count] = y, names[count] = name, dups[count] = dup;
        ++count;
    }
};
