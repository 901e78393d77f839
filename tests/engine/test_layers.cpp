#include "engine/MapLayer.h"
#include "engine/Uopen.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Names = std::vector<std::string>;

// Folders add their layers in the order they are wired; the stack draws them by place.
TEST(LayerStack, DrawsByPlaceWhateverTheOrderAddedAndLeavesTheMapOutWhileItIsOff) {
    LayerStack stack;
    Names drawn, prepared;
    auto add = [&](LayerPlace place, const std::string& name, bool (*wanted)(const DrawSettings&)) {
        stack.Add(
            place, wanted, [&drawn, name](TCanvas&, const MapView&, const DrawSettings&) { drawn.push_back(name); },
            [&prepared, name](const DrawSettings&) { prepared.push_back(name); });
    };
    auto always = [](const DrawSettings&) { return true; };
    add(LayerPlace::Labels, "labels", always);
    add(LayerPlace::Polylines, "coast", always);
    add(LayerPlace::Symbols, "symbols", [](const DrawSettings& s) { return s.Symbols; });
    add(LayerPlace::Paint, "paint", always);
    add(LayerPlace::Background, "background", always);
    add(LayerPlace::Polylines, "borders", always);
    add(LayerPlace::Legend, "legend", always);

    TBitmap bitmap(8, 8);
    MapView view;
    view.size = 8;
    DrawSettings s;
    stack.Prepare(s);
    stack.Draw(*bitmap.Canvas(), view, s);
    EXPECT_EQ(drawn, (Names{"background", "coast", "borders", "paint", "legend", "labels"}));
    EXPECT_EQ(prepared, drawn) << "each drawn layer prepared once, nothing else";

    // The map off: the background and what lies above the map still draw; a
    // split draw (the screen's thumbnail) draws each layer once.
    drawn.clear();
    prepared.clear();
    s.MapWrite = false;
    s.Symbols = true;
    stack.Prepare(s);
    stack.Draw(*bitmap.Canvas(), view, s, LayerPlace::Background, LayerPlace::Thumbnail);
    EXPECT_EQ(drawn, (Names{"background", "legend"}));
    stack.Draw(*bitmap.Canvas(), view, s, LayerPlace::Thumbnail);
    EXPECT_EQ(drawn, (Names{"background", "legend", "symbols", "labels"}));
    EXPECT_EQ(prepared, drawn);
}

// A layer draws onto the canvas and through the view it is given: a bitmap of
// another size than the map on screen, which stays as it was.
TEST(MapLayers, TheBordersDrawOntoAnyBitmapThroughItsOwnView) {
    TOpen open;
    auto line = [](PolylineStore& store, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        store.Words[0] = 2;
        store.Words[1] = x1, store.Words[2] = y1, store.Words[3] = x2, store.Words[4] = y2;
        store.Words[5] = -999;
        store.Fill = 5;
    };
    const int32_t cx = 150000, cy = 165000;
    line(open.doc.CoastLine, cx - 10000, cy, cx + 10000, cy);
    line(open.doc.PrefLine, cx - 10000, cy + 3000, cx + 10000, cy + 3000);
    line(open.doc.TownLine, cx - 10000, cy - 3000, cx + 10000, cy - 3000);
    const TColor screenBefore = open.ui.Image1->Canvas()->Pixels(100, 100);

    for (int size : {400, 1200}) {
        TBitmap bitmap(size, size);
        TCanvas& cv = *bitmap.Canvas();
        cv.Brush->Color = 0xFFFFFF;
        cv.FillRect(Rect(0, 0, size, size));
        MapView view;
        view.cx = cx, view.cy = cy, view.size = size;
        view.scaleX = view.scaleY = size / 40000.0f;
        DrawSettings s;
        s.Coast = s.PrefBorder = true;
        s.TownBorder = false;
        open.DrawPolylineLayers(cv, view, s);

        auto pixel = [&](int32_t x, int32_t y) {
            int sx, sy;
            view.ToScreen(x, y, sx, sy);
            return cv.Pixels(sx, sy);
        };
        EXPECT_EQ(pixel(cx, cy), open.style.CoastColor) << size;
        EXPECT_EQ(pixel(cx, cy + 3000), open.style.PrefColor) << size;
        // A border's closing segment sets the end pixel a line leaves out; the coast has none.
        EXPECT_EQ(pixel(cx + 10000, cy + 3000), open.style.PrefColor) << size;
        EXPECT_EQ(pixel(cx + 10000, cy), TColor(0xFFFFFF)) << size;
        EXPECT_EQ(pixel(cx, cy - 3000), TColor(0xFFFFFF)) << size << ": no municipality borders while they are off";
        EXPECT_EQ(cv.Pen->Color, open.style.TownColor) << "the layers above take the town colour";
    }
    EXPECT_EQ(open.ui.Image1->Canvas()->Pixels(100, 100), screenBefore) << "the map on screen is not drawn on";
}
