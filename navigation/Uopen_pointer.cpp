// Mouse move and mouse up on the map image: the rubber bands of the drags the
// press started, their ends, and the read-out of the pointer's position.
// Every outline is drawn with the XOR pen and erased by drawing it again where
// it was drawn last.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "names/Uyomi.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cstdlib>

namespace {

using namespace xorstrokes;

constexpr TColor Cyan = 16776960;

void Square(TCanvas* cv, int x, int y, int side) { cv->Rectangle(x, y, x + side, y + side); }

} // namespace

std::string TOpen::FormatDms(const std::string& prefix, float degrees) {
    const int d = TruncToInt(degrees);
    const float m1 = (degrees - d) * 60;
    const int m = TruncToInt(m1);
    const int s = TruncToInt((m1 - m) * 60);
    return prefix + gui::Format("%3d.%02d%02d", d, m, s);
}

std::string TOpen::SplitReadingSuffix(const std::string& reading) {
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
    if (index < 0 || index >= TownCount) return false;
    const std::string& name = TownName[index];
    const int32_t x = TownX[index], y = TownY[index];
    for (int i = 0; i < ExtraCount; ++i)
        if (MapGap(ExtraX[i], x) < 2000 && MapGap(ExtraY[i], y) < 2000 && ExtraTownName[i] == name)
            return true;
    return false;
}

void TOpen::ShowPointerReadout(int32_t x, int32_t y) {
    if (CBZahyo->Checked()) {
        Label13->SetCaption(gui::Format("Y座標%7d", y));
        Label14->SetCaption(gui::Format("X座標%7d", x));
    } else {
        Label13->SetCaption(FormatDms("緯度 ", LatOf(y)));
        Label14->SetCaption(FormatDms("経度 ", LonOf(x)));
    }
}

void TOpen::Button11Click(TObject* Sender) {
    CBZahyo->SetChecked(!CBZahyo->Checked());
    if (CBZahyo->Checked()) {
        Button11->SetCaption("座標値");
        Button11->SetHint("経緯度を表示する");
    } else {
        Button11->SetCaption("経緯度");
        Button11->SetHint("座標値を表示する");
    }
    Label15->SetCaption(DistanceText(0));
}

void TOpen::DrawRangeSquare(int X, int Y) {
    TCanvas* cv = Image1->Canvas();
    XorPen(cv, Cyan, 1);
    cv->Brush->Style = bsClear;
    Square(cv, RangeStartX, RangeStartY, RangeSide);
    // The square grows down and to the right.
    RangeSide = std::max(X - RangeStartX, Y - RangeStartY);
    const MapPoint end = PointAt(RangeStartX + RangeSide, RangeStartY + RangeSide);
    RangeEndLon = end.lon;
    RangeEndLat = end.lat;
    const float m = (PointerLat + RangeEndLat) / 2;
    const float w = GreatCircleKm(m, PointerLon, m, RangeEndLon);
    RangeWidthKm = w;
    if (w < 3.0f || RangeSide < 25) {
        Square(cv, RangeStartX, RangeStartY, RangeSide);
        return;
    }
    // Snap the width up to the next whole step, even from a whole step.
    float step = 5;
    if (w > 1000) step = 100;
    else if (w > 500) step = 50;
    else if (w > 200) step = 20;
    else if (w > 50) step = 10;
    const float snapped = (TruncToInt(w / step) + 1) * step;
    Label15->SetCaption(DistanceText(snapped));
    RangeSide = TruncToInt(RangeSide * snapped / w);
    Square(cv, RangeStartX, RangeStartY, RangeSide);
    // The text is not XORed: it stays until the next redraw.
    const TPenMode mode = cv->Pen->Mode;
    cv->Font->Color = clRed;
    cv->Font->Size = 8;
    cv->TextOut(RangeStartX + 5, RangeStartY + RangeSide - 12, gui::Format("%.0f km  %d pix", snapped, RangeSide));
    cv->Pen->Mode = mode;
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
        for (int i = 0; i < CityCount; ++i)
            if (near(CityX[i], CityY[i])) {
                take(CityName[i], CityX[i], CityY[i], "政令");
                break;
            }
    if (!name)
        for (int i = 0; i < TownCount; ++i) {
            if (TownDup[i] == 'd' || !near(TownX[i], TownY[i])) continue;
            if (!wards && ContainsWard(TownName[i])) continue;
            if (IsListedDuplicateName(i)) continue;
            take(TownName[i], TownX[i], TownY[i], "");
            break;
        }
    if (!name) {
        const bool old = CBOldTown->Checked();
        const int n = old ? OldTownCount : NewTownCount;
        const auto& xs = old ? OldTownX : NewTownX;
        const auto& ys = old ? OldTownY : NewTownY;
        const auto& names = old ? OldTownName : NewTownName;
        const auto& dups = old ? OldTownDup : NewTownDup;
        for (int i = 0; i < n; ++i)
            if (dups[i] != 'd' && near(xs[i], ys[i])) {
                take(names[i], xs[i], ys[i], old ? "旧名称" : "新名称");
                break;
            }
    }
    if (!name) {
        const bool skipTwins = !CBNTownBorder->Checked();
        for (int i = 0; i < ExtraCount; ++i) {
            if (!near(ExtraX[i], ExtraY[i])) continue;
            const std::string& n = ExtraTownName[i];
            if (skipTwins && (n == "三和町" || n == "一宮町")) continue;
            if (!wards && ContainsWard(n)) continue;
            take(n, ExtraX[i], ExtraY[i], "重複");
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
    const YomiRecord* rec = nullptr;
    for (int i = 0; i < YomiCount; ++i) {
        const YomiRecord& y1 = YomiRecords[i];
        if (MapGap(y1.x, nx) < 1000 && MapGap(y1.y, ny) < 1000 && y1.name == *name) {
            rec = &y1;
            break;
        }
    }
    Yomi->ShowNameReading(*name, rec ? &rec->yomi : nullptr, tag);
    if (!rec) return;
    if (Yomi->CBOnMap->Checked()) {
        const int p = Yomi->UpDown1->Position();
        const float f = float(p) / NameFontBase;
        int sx, sy;
        MapToScreen(nx, ny + TruncToInt(16 * f / ScaleX), sx, sy);
        TCanvas* cv = Image1->Canvas();
        const TPenMode mode = cv->Pen->Mode;
        cv->Font->Size = TruncToInt(p * f);
        cv->Font->Color = KanaFontColor;
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = PickTextBackground(sx, sy);
        cv->TextOut(sx, sy, rec->yomi);
        cv->Pen->Mode = mode;
        ReadingDrawn = true;
    }
}

void TOpen::Image1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y) {
    if (!MapShown) return;
    TCanvas* cv = Image1->Canvas();
    if (CBTimer->Checked()) {
        RouteLastX = X + 16;
        RouteLastY = Y + 15;
        return;
    }
    if (RouteMode && RoutePointCount > 0) {
        const int i = RoutePointCount - 1;
        Line(cv, RouteX[i], RouteY[i], RouteLastX, RouteLastY);
        RouteLastX = X + 16;
        RouteLastY = Y + 15;
        Line(cv, RouteX[i], RouteY[i], RouteLastX, RouteLastY);
        return;
    }
    if (Kyori->CircleCentreMode) {
        MoveCircleCentre(X, Y);
        const MapPoint p = PointAt(X, Y);
        PointerLon = p.lon;
        PointerLat = p.lat;
        ShowPointerReadout(p.x, p.y);
        return;
    }
    if (RangeDrag) return DrawRangeSquare(X, Y);
    if (LegendDrag || ScaleDrag) {
        const int w = LegendDrag ? LegendRight - LegendLeft : ScaleRight - scl_x1;
        const int h = LegendDrag ? LegendBottom - LegendTop : ScaleBottom - scly1;
        XorPen(cv, Cyan, 1);
        cv->Brush->Style = bsClear;
        cv->Rectangle(DistStartX, DistStartY, DistStartX + w, DistStartY + h);
        cv->Rectangle(X, Y, X + w, Y + h);
        DistStartX = X;
        DistStartY = Y;
        return;
    }
    if (CentreMode) {
        XorPen(cv, Cyan, 1);
        if (CrossDrawn) Cross(cv, DistStartX, DistStartY);
        Cross(cv, X, Y);
        CrossDrawn = true;
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
        Label15->SetCaption(DistanceText(RangeWidthKm));
        ShowPointerReadout(p.x, p.y);
        DistStartX = X;
        DistStartY = Y;
        return;
    }
    if (LabelMode) {
        const MapPoint p = PointAt(X, Y);
        ShowPointerReadout(p.x, p.y);
        Label15->SetCaption(DistanceText(0));
        DistStartX = X;
        DistStartY = Y;
        return;
    }
    if (CBYomi->Checked()) ShowReadingAt(X, Y);
    // The stamp cursor's point lies 16 pixels right of and below the pointer.
    const bool stamp = PagesDlg->StampMode != 0;
    const MapPoint p = PointAt(stamp ? X + 16 : X, stamp ? Y + 16 : Y);
    ShowPointerReadout(p.x, p.y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    DistStartX = X;
    DistStartY = Y;
}

void TOpen::Image1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (RouteMode && CBTimer->Checked()) return;
    TCanvas* cv = Image1->Canvas();
    const float k = ImageSize / 600.0f;
    if (RangeDrag) {
        if (CBCopy->Checked()) {
            cv->Pen->Mode = pmCopy;
            DrawMap();
            // A square dragged up or to the left has no pixels to copy.
            if (RangeSide > 0) {
                TBitmap bmp(RangeSide, RangeSide);
                bmp.Canvas()->CopyRect(Rect(0, 0, RangeSide, RangeSide), cv,
                                       Rect(RangeStartX, RangeStartY, RangeStartX + RangeSide, RangeStartY + RangeSide));
                Clipboard()->Assign(&bmp);
            }
        }
        PushViewHistory();
        // Drawn again only while it is an XOR outline; a redraw above has wiped it already.
        if (cv->Pen->Mode == pmXor) {
            cv->Brush->Style = bsClear;
            Square(cv, RangeStartX, RangeStartY, RangeSide);
        }
        TkBtn2->SetColor(clBtnFace);
        TkBtn2->Font.Color = 8421504;
        TkBtn2->Invalidate();
        ScreenToMap(RangeStartX, RangeStartY, MinX, MaxY);
        ScreenToMap(RangeStartX + RangeSide, RangeStartY + RangeSide, MaxX, MinY);
        const float m = LatOf(MidOf(MaxY, MinY));
        RangeWidthKm = GreatCircleKm(m, LonOf(MinX), m, LonOf(MaxX));
        if (RangeSide >= 5 && RangeWidthKm >= 4.9f) {
            RangeZoom = true;
            CX = MidOf(MaxX, MinX);
            CY = MidOf(MaxY, MinY);
            cv->Pen->Mode = pmCopy;
            DrawMap();
            RangeDrag = false;
            MapShown = true;
            UpDown1->SetEnabled(false);
            Label20->SetVisible(false);
            Button12->SetEnabled(true);
            Label17->SetCaption("距離");
        } else {
            RangeZoom = true;
            cv->Pen->Mode = pmCopy;
            RangeDrag = false;
            Label15->SetCaption("指定エラー");
            Timer1->SetEnabled(true);
            return;
        }
    }
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
        const int w = TruncToInt((ScaleRight - scl_x1) / k), h = TruncToInt((ScaleBottom - scly1) / k);
        scl_x1 = TruncToInt(X / k);
        scly1 = TruncToInt(Y / k);
        ScaleRight = scl_x1 + w;
        ScaleBottom = scly1 + h;
        DrawMap();
        ScaleDrag = false;
    } else if (MapShown && DistanceMode) {
        // The line was last drawn to the last moved-to point, not necessarily to here.
        Line(cv, DistAnchorX, DistAnchorY, DistStartX, DistStartY);
        DistanceMode = 0;
        DistStartX = DistStartY = -100;
        cv->Pen->Mode = pmCopy;
    }
}
