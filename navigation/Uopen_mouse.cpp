// The map image's mouse press: one chain of interaction modes, tested in a
// fixed order; the first armed mode takes the press, a few pass it on.
#include "engine/Coords.h"
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "navigation/XorStrokes.h"

void TOpen::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!MapShown) return;
    if (Button == mbRight) {
        Settei->Show();
        return;
    }
    if (CBChiri->Checked() || Settei->CBWatch->Checked()) {
        OpenWebMapAt(X, Y);
        return;
    }
    if (AreaMode) {
        MeasureAreaAt(X, Y);
        return;
    }
    // A route that follows the mouse takes no presses once it runs.
    if (CBTimer->Checked() && RoutePointCount > 0) return;
    if (RouteMode && CBTimer->Checked()) {
        if (RoutePointCount > 0) return;
        RouteX[RoutePointCount] = X + 16;
        RouteY[RoutePointCount] = Y + 15;
        RouteMode = false;
        Timer2->SetEnabled(true);
        return;
    }
    if (RouteMode) {
        // The last entry is kept for the copy of point 0 that closes the route.
        if (RoutePointCount >= ROUTE_MAX - 1) {
            MessageBox("測点経路のデータ数が多すぎます　　　", "測点経路エラー", MB_OK);
            return;
        }
        RouteX[RoutePointCount] = RouteLastX = X + 16;
        RouteY[RoutePointCount] = RouteLastY = Y + 15;
        RoutePointCount++;
        Label31->SetCaption(gui::Format("   計測中 %d", RoutePointCount));
        if (RoutePointCount == 1)
            xorstrokes::XorPen(Image1->Canvas(), 32768, 3);
        else
            RouteLengthKm();
        return;
    }
    if (RangeMode && !RangeZoom) {
        RangeDrag = true;
        RangeStartX = X;
        RangeStartY = Y;
        RangeSide = 0;
        TCanvas* cv = Image1->Canvas();
        xorstrokes::XorPen(cv, 16776960, 1);
        cv->Brush->Style = bsClear;
        const MapPoint p = PointAt(X, Y);
        PointerLon = p.lon;
        PointerLat = p.lat;
        Label28->SetCaption("");
        return;
    }
    if (PagesDlg->StampMode && PagesDlg->StampDisabled) return PressStamp(9, X, Y);
    if (PagesDlg->StampMode) return PressStamp(10, X, Y);
    if (LegendShown && LegendLeft < X && X < LegendRight && LegendTop < Y && Y < LegendBottom) {
        LegendDrag = true;
        return;
    }
    LegendDrag = false;
    if (ScaleShown) {
        // The scale bar keeps its box in 600-pixel units; the grab margin grows with the image.
        const float k = ImageSize / 600.0f;
        const int left = TruncToInt((scl_x1 - 5) * k), right = TruncToInt((ScaleRight + 5) * k);
        const int top = TruncToInt((scly1 - 5) * k), bottom = TruncToInt((ScaleBottom + 5) * k);
        if (left < X && X < right && top < Y && Y < bottom) {
            ScaleDrag = true;
            return;
        }
    }
    ScaleDrag = false;
    if (Kyori->CircleCentreMode) return PressCircleCentre(13, X, Y);
    if (LineAdd->PointMode >= 1 && LineAdd->PointMode <= 3) return PressLinePoint(13 + LineAdd->PointMode, X, Y);
    if (PrefSet->PrefNamePickMode) return PressPrefName(17, X, Y);
    if (PrefSet->PrefNamePlaceMode) PressPrefName(18, X, Y);
    if (Toshi->CityPositionMode) return PressCityPosition(19, X, Y);
    if (Extra->ExtraPositionMode) return PressExtraPosition(20, X, Y);
    if (IslandPickMode) PressIsland(21, X, Y);
    if (IslandPlaceMode) PressIsland(22, X, Y);
    if (NamePickMode) return PressName(23, X, Y);
    if (NameDel->NameAddMode) return PressName(24, X, Y);
    if (NameDeleteMode) return PressName(25, X, Y);
    if (NamePlaceMode) return PressName(26, X, Y);
    if (PaintMode) return PressPaint(27, X, Y);
    if (Letter->LabelMoveMode && !LabelMode) PressLabel(28, X, Y);
    if (LabelMode) return PressLabel(29, X, Y);

    if (CentreMode) {
        BtnCenter->SetEnabled(true);
        CentreMode = false;
        TCanvas* cv = Image1->Canvas();
        if (CrossDrawn) {
            // The cross of the last move, drawn again with the XOR pen, goes.
            xorstrokes::Cross(cv, DistStartX, DistStartY);
            CrossDrawn = false;
        }
        const int hx = (SIZEX * COPYSCALE / SSIZE) / 2, hy = (SizeY * COPYSCALE / SSIZE) / 2;
        CX = TruncToInt(CX + (X - hx) / ScaleX);
        CY = TruncToInt(CY + (hy - Y) / ScaleY);
        DistStartX = DistStartY = -100;
        cv->Pen->Mode = pmCopy;
        DrawMap();
        return;
    }

    // A press in no mode starts a two-point distance.
    if (!RouteMode) Label15->SetFontColor(clRed);
    Label31->SetFontColor(clRed);
    Label33->SetFontColor(clRed);
    DistanceMode = 1;
    DistAnchorX = DistStartX = X;
    DistAnchorY = DistStartY = Y;
    // The distance is measured from the pressed point, even with no move before the press.
    const MapPoint p = PointAt(X, Y);
    PointerLon = p.lon;
    PointerLat = p.lat;
    Label17->SetCaption("距離");
    if (!RouteDone) Label15->SetCaption(DistanceText(0));
}

void TOpen::BtnCenterClick(TObject* Sender) {
    CentreMode = true;
    CrossDrawn = false;
    BtnCenter->SetEnabled(false);
}

void TOpen::OpenWebMapAt(int X, int Y) {
    Keisoku->ShowWait("国土地理院の地図閲覧サービスに接続しています．．．");
    const MapPoint p = PointAt(X, Y);
    const float lon = p.lon, lat = p.lat;
    const std::string url =
        std::string(settings::WebMapHost) +
        gui::Format("/?vs=c1&ll=%.6f,%.6f#15/%.6f/%.6f/&base=std&ls=std&disp=1&vs=c1j0l0u0t0z0r0f1", lat, lon, lat,
                    lon);
    if (ShellOpen(url) <= 32)
        MessageBox("インターネットエクスプローラの起動に失敗しました　　　　", "ウォッ地図呼び出しエラー",
                   MB_OK | MB_ICONEXCLAMATION);
    // One press, one page.
    Settei->CBWatch->SetChecked(false);
    CBChiri->SetChecked(false);
    Keisoku->Close();
}

void TOpen::MeasureAreaAt(int X, int Y) {
    // The image grew while the measurement was armed: refused, and the measurement ends.
    if (!AreaImageFits()) {
        if (AreaMode) Button14Click(this);
        return;
    }
    Keisoku->ShowWait("指定領域の面積を計算しています．．．");
    const TColor c = Image1->Canvas()->Pixels(X, Y);
    if (CountAreaPixels(c, X, Y)) {
        const TColor font = OpenRegion ? TColor(65535) : TColor(255);
        for (TLabel* l : {Label15, Label31, Label33}) l->SetFontColor(font);
        const int e = EdgeCount / 2;
        const float all = float(ImageSize) * ImageSize;
        AreaKm2 = (FillCount + e) / all * ViewWidthKm * ViewHeightKm;
        const float perimeter = float(EdgeCount) / ImageSize * ViewWidthKm * 1.11f;
        Label31->SetCaption(AreaText(AreaKm2));
        Label15->SetCaption(LengthText(perimeter));
    }
    Keisoku->Close();
}
