// Drawing of the edited line and of the loaded line files, with arrow heads.
#include "components/Mymath.h"
#include "engine/Convert.h"
#include "engine/MainControls.h"
#include "engine/MapStyle.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A table value typed by the user; the header's value where it is no number or out of range.
int TableValue(const std::string& s, int min, int max, int fallback) {
    int32_t v;
    return CellInt(s, v) && v >= min && v <= max ? v : fallback;
}

} // namespace

void TLineAdd::TurtleStep(TCanvas& canvas, int mode, int length, int& x, int& y, float angle) {
    if (mode == 0) {
        turtleX = x;
        turtleY = y;
        turtleHeading = angle;
        return;
    }
    turtleHeading += angle;
    const double h = turtleHeading * kPi / 180;
    const int nx = int(std::lround(turtleX - length * std::cos(h)));
    const int ny = int(std::lround(turtleY - length * std::sin(h)));
    TCanvas* cv = &canvas;
    cv->MoveTo(turtleX, turtleY);
    if (mode == 1) cv->MoveTo(nx, ny);
    else cv->LineTo(nx, ny);
    turtleX = x = nx;
    turtleY = y = ny;
}

// Wings of the given length at 15 degrees either side of the segment; the
// second wing is the first reflected across the segment's line, in floating point.
void TLineAdd::DrawArrowHead(int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2) {
    DrawArrowHead(*MainUi().Image1->Canvas(), x1, y1, triangle, length, colour, x2, y2);
}

void TLineAdd::DrawArrowHead(TCanvas& canvas, int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2) {
    const double theta = double(TMyMath::Angle(float(x2 - x1), float(y2 - y1))) * 180 / kPi;
    int wx = x2, wy = y2;
    TurtleStep(canvas, 0, 0, wx, wy, float(theta));
    TurtleStep(canvas, 1, length, wx, wy, -15);
    int vx, vy;
    if (x1 == x2) {
        vx = 2 * x2 - wx;
        vy = wy;
    } else if (y1 == y2) {
        vx = wx;
        vy = 2 * y2 - wy;
    } else {
        const double m = double(y2 - y1) / (x2 - x1);
        const double px = (x1 * m + wx / m + wy - y1) / (1 / m + m);
        const double py = wy - (px - wx) / m;
        vx = int(std::lround(2 * px - wx));
        vy = int(std::lround(2 * py - wy));
    }
    TCanvas* cv = &canvas;
    const TPenStyle style = cv->Pen->Style;
    cv->Pen->Style = psSolid;
    if (!triangle) {
        cv->MoveTo(x2, y2);
        cv->LineTo(wx, wy);
        cv->MoveTo(x2, y2);
        cv->LineTo(vx, vy);
    } else {
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = colour;
        const TPoint head[3] = {Point(x2, y2), Point(wx, wy), Point(vx, vy)};
        cv->Polygon(head, 3);
    }
    cv->Pen->Style = style;
}

void TLineAdd::ReadLook(DrawSettings& s) const {
    s.EditArrowStep = UpDown4->Position();
    s.EditLineWidth = UpDown2->Position();
    s.EditPenStyle = std::max(0, RadioGroup1->ItemIndex());
    s.EditArrow = CBArrow->Checked();
    s.EditTriangle = CheckBox1->Checked();
    s.EditArrowSize = EditArrowSize;
}

void TLineAdd::DrawEditLine() {
    if (!MainUi().Image1) return;
    DrawSettings s;
    ReadLook(s);
    DrawEditLine(*MainUi().Image1->Canvas(), DrawnMapView(), s);
}

void TLineAdd::DrawEditLine(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    if (PointCount() <= 0) return;
    const int step = s.EditArrowStep;
    const bool arrow = s.EditArrow, triangle = s.EditTriangle;
    const int size = view.size;
    const int L = size <= 600 ? s.EditArrowSize : int(std::lround(double(size) * s.EditArrowSize / 600));

    TCanvas* cv = &canvas;
    const bool own = !EditLineShown;
    cv->Pen->Mode = pmCopy;
    cv->Pen->Width = own ? s.EditLineWidth : 1;
    cv->Pen->Color = own ? LineColor : 0;
    cv->Pen->Style = own ? TPenStyle(uint8_t(s.EditPenStyle)) : psSolid;
    cv->Brush->Style = bsSolid;
    if (!own) cv->Brush->Color = 0xFFFFFF;

    // A pending insert has one empty row among the points; it is left out.
    const int rows = int(Points.size());
    bool pieceStart = true, lastSegment = false;
    int prevX = 0, prevY = 0, segX = 0, segY = 0;
    for (int i = 0; i < rows; i++) {
        const LinePoint& p = Points[size_t(i)];
        if (p.Empty) continue;
        if (p.X == 0 && p.Y == 0) {
            pieceStart = true;
            continue;
        }
        int X, Y;
        view.ToScreen(p.X, p.Y, X, Y);
        if (pieceStart) cv->MoveTo(X, Y);
        else cv->LineTo(X, Y);
        lastSegment = !pieceStart;
        if (own) {
            // No head on a segment that starts at a break.
            if (arrow && step > 0 && i > 0 && i % step == 0 && lastSegment) {
                DrawArrowHead(canvas, prevX, prevY, triangle, L, LineColor, X, Y);
                cv->MoveTo(X, Y);
            }
        } else {
            cv->Pen->Color = 255;
            cv->Ellipse(X - 2, Y - 2, X + 2, Y + 2);
            if (i % 5 == 0) cv->TextOut(X + 2, Y, std::to_string(i));
            cv->Pen->Color = 0;
            cv->MoveTo(X, Y);
        }
        segX = prevX;
        segY = prevY;
        prevX = X;
        prevY = Y;
        pieceStart = false;
    }
    // The end head sits on the last segment drawn, as for a loaded file: a break
    // that ends the line takes nothing away, a lone point after a break leaves none.
    if (own && arrow && lastSegment) DrawArrowHead(canvas, segX, segY, triangle, L, LineColor, prevX, prevY);
}

// Pieces of one loaded file. Solid pens take whole runs at once; styled pens
// go point by point, with the gaps in the colour of the map beneath.
void TLineAdd::DrawFilePoints(TCanvas& canvas, const MapView& view, const LineFileRecord& f, bool arrows, TColor colour,
                              int width, std::vector<TPoint>& run) {
    TCanvas* cv = &canvas;
    const LineFileHeader& h = f.Head;
    const TPenStyle style = TPenStyle(std::clamp<int>(h.LineType, 0, 4));
    cv->Pen->Color = colour;
    cv->Pen->Width = width;
    cv->Pen->Style = style;
    const bool styled = style != psSolid && width == 1;
    const bool triangle = h.Arrow == 2;
    run.clear();
    // A vector device keeps the points where the map puts them.
    const bool keep = cv->Vector != nullptr;
    thread_local std::vector<TPointF> exactRun;
    exactRun.clear();
    auto flush = [&] {
        if (run.size() >= 2) cv->Polyline(run.data(), keep ? exactRun.data() : nullptr, int(run.size()));
        run.clear();
        exactRun.clear();
    };
    int inPiece = 0, prevX = 0, prevY = 0, beforeX = 0, beforeY = 0;
    size_t nextBreak = 0;
    // The railway files hold most points of the map: a redraw in the same view takes them as they were.
    if (!f.OnScreen || !(f.ScreenView == view) || f.Screen.size() != f.Points.size()) {
        f.Screen.resize(f.Points.size());
        for (size_t k = 0; k < f.Points.size(); k++) view.ToScreen(f.Points[k][0], f.Points[k][1], f.Screen[k].x, f.Screen[k].y);
        f.ScreenView = view;
        f.OnScreen = true;
    }
    for (size_t k = 0; k < f.Points.size(); k++) {
        for (; nextBreak < f.Breaks.size() && f.Breaks[nextBreak] == k; nextBreak++) {
            flush();
            inPiece = 0;
        }
        const int X = f.Screen[k].x, Y = f.Screen[k].y;
        TPointF e{X + 0.5, Y + 0.5};
        if (keep) view.ToScreenF(f.Points[k][0], f.Points[k][1], e.x, e.y);
        if (styled) {
            cv->Brush->Color = cv->Pixels(X, Y) == TColor(-1) ? MainStyle().BackColor : cv->Pixels(X, Y);
            cv->Pen->Style = style;
            if (inPiece == 0) cv->MoveTo(X, Y, e);
            else cv->LineTo(X, Y, e);
        } else {
            if (inPiece == 0) flush();
            run.push_back(Point(X, Y));
            if (keep) exactRun.push_back(e);
        }
        if (arrows && h.Step > 0 && inPiece > 0 && inPiece % h.Step == 0) {
            flush();
            DrawArrowHead(canvas, prevX, prevY, triangle, h.Asize, colour, X, Y);
            cv->Pen->Width = width;
            cv->Pen->Color = colour;
            cv->MoveTo(X, Y, e);
            if (!styled) run.push_back(Point(X, Y));
            if (!styled && keep) exactRun.push_back(e);
        }
        inPiece++;
        beforeX = prevX;
        beforeY = prevY;
        prevX = X;
        prevY = Y;
    }
    flush();
    if (arrows && f.EndHead) DrawArrowHead(canvas, beforeX, beforeY, triangle, h.Asize, colour, prevX, prevY);
}

// The layer of the loaded files: the user's files changed on disk are read
// again, the colours numbered, the two tables shown, then the lines drawn.
void TLineAdd::DrawLineFiles() {
    if (MainTools().ActiveTool() && MainTools().ActiveTool()->Paints() && !PaintLine) return;
    if (!CheckBox2->Checked()) return;
    ReadChangedUserFiles();
    NumberLineFiles();
    LineSet->ShowLines();
    Rail->ShowLines();
    PaintLineFiles(*MainUi().Image1->Canvas(), DrawnMapView(), MainUi().CBRailLine->Checked(), LineSet->RailColourRule());
}

void TLineAdd::PaintLineFiles(TCanvas& cv, const MapView& view, bool railShown, int rule) {
    cv.Pen->Mode = pmCopy;
    cv.Brush->Style = bsSolid;
    std::vector<TPoint> run;
    for (const LineRow& row : LineRows) {
        const LineFileRecord* f = RecordOf(row.Path);
        if (!f || f->Mark.empty() || (row.Rail && !railShown)) continue;
        const LineFileHeader& h = f->Head;
        // A colour number out of 1 to 10 or no number keeps the header's colour.
        const int no = TableValue(f->Colour, 1, LINE_COLOR_MAX, 0);
        TColor colour = no ? ColorTable[no - 1] : TColor(h.Color);
        if (row.Rail) {
            const bool jr = FileDisplayName(row.Path).find("JR") != std::string::npos;
            if (rule == 1 || (rule == 2 && !jr)) colour = LineSet->RailColor;
            else if (rule != 0 || !LineSet->UserColors) colour = TColor(h.Color);
        }
        const int width = TableValue(f->Size, 1, 1000, std::max(1, h.Size));
        DrawFilePoints(cv, view, *f, !row.Rail && h.Arrow != 0, colour, width, run);
    }
}
