// Mouse move and mouse up on the map image: the rubber bands of the drags the
// press started, their ends, and the read-out of the pointer's position.
// Every outline is drawn with the XOR pen and erased by drawing it again where
// it was drawn last.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "names/Uyomi.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cstdlib>

namespace {

using namespace xorstrokes;

constexpr TColor Cyan = 16776960;

} // namespace

std::string TOpen::FormatDms(const std::string& prefix, float degrees) {
    const int d = TruncToInt(degrees);
    const float m1 = (degrees - d) * 60;
    const int m = TruncToInt(m1);
    const int s = TruncToInt((m1 - m) * 60);
    return prefix + gui::Format("%3d.%02d%02d", d, m, s);
}

std::string SplitReadingSuffix(const std::string& reading) {
    // The endings are told apart on the Shift-JIS bytes, first match wins.
    static const char* const endings[] = {"し", "く", "まち", "ちょう", "むら", "そん"};
    const std::string bytes = gui::Utf8ToCp932(reading);
    for (const char* e : endings) {
        const std::string end = gui::Utf8ToCp932(e);
        if (bytes.size() >= end.size() && bytes.compare(bytes.size() - end.size(), end.size(), end) == 0)
            return gui::Cp932ToUtf8(bytes.substr(0, bytes.size() - end.size())) + " - " + e;
    }
    return reading;
}

bool TOpen::IsListedDuplicateName(int index) const {
    if (index < 0 || index >= doc.TownCount) return false;
    const std::string& name = doc.TownName[index];
    const int32_t x = doc.TownX[index], y = doc.TownY[index];
    for (int i = 0; i < doc.ExtraCount; ++i)
        if (MapGap(doc.ExtraX[i], x) < 2000 && MapGap(doc.ExtraY[i], y) < 2000 && doc.ExtraTownName[i] == name)
            return true;
    return false;
}

void TOpen::ShowPointerReadout(int32_t x, int32_t y) {
    if (ui.CBZahyo->Checked()) {
        ui.Label13->SetCaption(gui::Format("Y座標%7d", y));
        ui.Label14->SetCaption(gui::Format("X座標%7d", x));
    } else {
        ui.Label13->SetCaption(FormatDms("緯度 ", LatOf(y)));
        ui.Label14->SetCaption(FormatDms("経度 ", LonOf(x)));
    }
}

void TOpen::Button11Click(TObject* Sender) {
    ui.CBZahyo->SetChecked(!ui.CBZahyo->Checked());
    if (ui.CBZahyo->Checked()) {
        ui.Button11->SetCaption("座標値");
        ui.Button11->SetHint("経緯度を表示する");
    } else {
        ui.Button11->SetCaption("経緯度");
        ui.Button11->SetHint("座標値を表示する");
    }
    ui.Label15->SetCaption(DistanceText(0));
}

void TOpen::ShowReadingAt(int X, int Y) {
    int32_t x, y;
    // Names are kept in the Tokyo datum; the pointer is on the displayed map.
    PressToData(X, Y, x, y);
    const int32_t r = TruncToInt(10 / ScaleX);
    auto near = [&](int32_t px, int32_t py) { return MapGap(px, x) < r && MapGap(py, y) < r; };
    const bool wards = Settei->CBKuName->Checked();

    const std::string* name = nullptr;
    int32_t nx = 0, ny = 0;
    const char* tag = "";
    auto take = [&](const std::string& n, int32_t px, int32_t py, const char* t) {
        name = &n;
        nx = px;
        ny = py;
        tag = t;
    };
    if (Settei->CBCityName->Checked())
        for (int i = 0; i < doc.CityCount; ++i)
            if (near(doc.CityX[i], doc.CityY[i])) {
                take(doc.CityName[i], doc.CityX[i], doc.CityY[i], "政令");
                break;
            }
    if (!name)
        for (int i = 0; i < doc.TownCount; ++i) {
            if (doc.TownDup[i] == 'd' || !near(doc.TownX[i], doc.TownY[i])) continue;
            if (!wards && ContainsWard(doc.TownName[i])) continue;
            if (IsListedDuplicateName(i)) continue;
            take(doc.TownName[i], doc.TownX[i], doc.TownY[i], "");
            break;
        }
    if (!name) {
        const bool old = ui.CBOldTown->Checked();
        const int n = old ? doc.OldTownCount : doc.NewTownCount;
        const auto& xs = old ? doc.OldTownX : doc.NewTownX;
        const auto& ys = old ? doc.OldTownY : doc.NewTownY;
        const auto& names = old ? doc.OldTownName : doc.NewTownName;
        const auto& dups = old ? doc.OldTownDup : doc.NewTownDup;
        for (int i = 0; i < n; ++i)
            if (dups[i] != 'd' && near(xs[i], ys[i])) {
                take(names[i], xs[i], ys[i], old ? "旧名称" : "新名称");
                break;
            }
    }
    if (!name) {
        const bool skipTwins = !ui.CBNTownBorder->Checked();
        for (int i = 0; i < doc.ExtraCount; ++i) {
            if (!near(doc.ExtraX[i], doc.ExtraY[i])) continue;
            const std::string& n = doc.ExtraTownName[i];
            if (skipTwins && (n == "三和町" || n == "一宮町")) continue;
            if (!wards && ContainsWard(n)) continue;
            take(n, doc.ExtraX[i], doc.ExtraY[i], "重複");
            break;
        }
    }

    if (!name) {
        if (ReadingDrawn && Yomi->CBOnMap->Checked()) {
            DrawMap();
            ReadingDrawn = false;
        }
        Yomi->ShowNoName();
        return;
    }
    const MapDocument::YomiRecord* rec = nullptr;
    for (int i = 0; i < doc.YomiCount; ++i) {
        const MapDocument::YomiRecord& y1 = doc.YomiRecords[i];
        if (MapGap(y1.x, nx) < 1000 && MapGap(y1.y, ny) < 1000 && y1.name == *name) {
            rec = &y1;
            break;
        }
    }
    Yomi->ShowNameReading(*name, rec ? &rec->yomi : nullptr, tag);
    if (!rec) return;
    if (Yomi->CBOnMap->Checked()) {
        const int p = Yomi->UpDown1->Position();
        const float f = float(p) / style.NameFontBase;
        int sx, sy;
        MapToScreen(nx, ny + TruncToInt(16 * f / ScaleX), sx, sy);
        TCanvas* cv = ui.Image1->Canvas();
        const TPenMode mode = cv->Pen->Mode;
        cv->Font->Size = TruncToInt(p * f);
        cv->Font->Color = style.KanaFontColor;
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = PickTextBackground(sx, sy);
        cv->TextOut(sx, sy, rec->yomi);
        cv->Pen->Mode = mode;
        ReadingDrawn = true;
    }
}

// The map's own drags take the move first, then the armed tool; a move no one
// takes is the pointer's read-out.
void TOpen::Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    const MapEvent e = EventAt(mbLeft, X, Y);
    if (!gate.MapShown) return;
    TCanvas* cv = e.canvas;
    if (LegendDrag || ScaleDrag) {
        const int w = LegendDrag ? LegendRight - LegendLeft : style.ScaleRight - style.scl_x1;
        const int h = LegendDrag ? LegendBottom - LegendTop : style.ScaleBottom - style.scly1;
        XorPen(cv, Cyan, 1);
        cv->Brush->Style = bsClear;
        cv->Rectangle(DistStartX, DistStartY, DistStartX + w, DistStartY + h);
        cv->Rectangle(X, Y, X + w, Y + h);
        DistStartX = X;
        DistStartY = Y;
        return;
    }
    if (DistanceMode) {
        XorPen(cv, Cyan, 1);
        Line(cv, DistAnchorX, DistAnchorY, DistStartX, DistStartY);
        Line(cv, DistAnchorX, DistAnchorY, X, Y);
        const MapPoint p = PointAt(X, Y);
        RangeEndLon = p.lon;
        RangeEndLat = p.lat;
        RangeWidthKm = GreatCircleKm(PointerLat, PointerLon, RangeEndLat, RangeEndLon);
        ui.Label15->SetCaption(DistanceText(RangeWidthKm));
        ShowPointerReadout(p.x, p.y);
        DistStartX = X;
        DistStartY = Y;
        return;
    }
    if (MapTool* t = tools.ActiveTool(); t && t->Move(e)) return;
    PointerMoved(X, Y);
}

void TOpen::PointerMoved(int X, int Y, int hot) {
    if (ui.CBYomi->Checked()) ShowReadingAt(X, Y);
    const MapPoint p = PointAt(X + hot, Y + hot);
    ShowPointerReadout(p.x, p.y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    DistStartX = X;
    DistStartY = Y;
}

void TOpen::Image1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    const MapEvent e = EventAt(Button, X, Y);
    if (MapTool* t = tools.ActiveTool(); t && t->Release(e)) return;
    TCanvas* cv = e.canvas;
    const float k = ImageSize / 600.0f;
    if (LegendDrag) {
        cv->Pen->Mode = pmCopy;
        cv->Pen->Width = 1;
        cv->Brush->Style = bsSolid;
        DropLegend(X, Y);
        LegendDrag = false;
    } else if (ScaleDrag) {
        cv->Pen->Mode = pmCopy;
        cv->Pen->Width = 1;
        cv->Brush->Style = bsSolid;
        const int w = TruncToInt((style.ScaleRight - style.scl_x1) / k), h = TruncToInt((style.ScaleBottom - style.scly1) / k);
        style.scl_x1 = TruncToInt(X / k);
        style.scly1 = TruncToInt(Y / k);
        style.ScaleRight = style.scl_x1 + w;
        style.ScaleBottom = style.scly1 + h;
        DrawMap();
        ScaleDrag = false;
    } else if (gate.MapShown && DistanceMode) {
        // The line was last drawn to the last moved-to point, not necessarily to here.
        Line(cv, DistAnchorX, DistAnchorY, DistStartX, DistStartY);
        DistanceMode = 0;
        DistStartX = DistStartY = -100;
        cv->Pen->Mode = pmCopy;
    }
}
