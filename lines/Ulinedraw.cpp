// Drawing of the edited line and of the loaded line files, with arrow heads.
#include "components/Mymath.h"
#include "engine/Convert.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
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

// The lines of one line file's text, cut at commas without copying.
class FilePoints {
public:
    std::string_view text;
    size_t pos = 0;
    void Start(std::string_view t) {
        text = t;
        pos = 0;
    }
    bool NextLine(std::string_view& line) {
        if (pos >= text.size()) return false;
        size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) nl = text.size();
        line = text.substr(pos, nl - pos);
        pos = nl + 1;
        return true;
    }
    // Fields of the next non-empty line; false at the end of the file.
    bool Next(int& n, int32_t* v) {
        std::string_view line;
        while (NextLine(line)) {
            n = 0;
            size_t from = 0;
            while (n < 10) {
                size_t comma = line.find(',', from);
                v[n++] = LenientInt(line.substr(from, comma == std::string_view::npos ? comma : comma - from));
                if (comma == std::string_view::npos) break;
                from = comma + 1;
            }
            if (n == 1 && line.find_first_not_of(" \t") == std::string_view::npos) continue;
            return true;
        }
        return false;
    }
};

bool ReadLineFileText(const std::string& path, std::string& text) {
    text.clear();
    gui::TextReader in;
    if (!in.Open(path)) return false;
    std::string_view b;
    while (in.ReadLineBytes(b)) {
        text.append(b);
        text += '\n';
    }
    return true;
}

void TLineAdd::TurtleStep(int mode, int length, int& x, int& y, float angle) {
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
    TCanvas* cv = Open->Image1->Canvas();
    cv->MoveTo(turtleX, turtleY);
    if (mode == 1) cv->MoveTo(nx, ny);
    else cv->LineTo(nx, ny);
    turtleX = x = nx;
    turtleY = y = ny;
}

// Wings of the given length at 15 degrees either side of the segment; the
// second wing is the first reflected across the segment's line, in floating point.
void TLineAdd::DrawArrowHead(int x1, int y1, bool triangle, int length, TColor colour, int x2, int y2) {
    const double theta = double(TMyMath::Angle(float(x2 - x1), float(y2 - y1))) * 180 / kPi;
    int wx = x2, wy = y2;
    TurtleStep(0, 0, wx, wy, float(theta));
    TurtleStep(1, length, wx, wy, -15);
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
    TCanvas* cv = Open->Image1->Canvas();
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

void TLineAdd::DrawEditLine() {
    if (PointCount <= 0 || !Open->Image1) return;
    const int step = UpDown4->Position();
    EditLineWidth = UpDown2->Position();
    EditPenStyle = uint8_t(std::max(0, RadioGroup1->ItemIndex()));
    EditArrow = CBArrow->Checked();
    EditTriangle = CheckBox1->Checked();
    const int size = Open->ImageSize;
    const int L = size <= 600 ? EditArrowSize : int(std::lround(double(size) * EditArrowSize / 600));

    TCanvas* cv = Open->Image1->Canvas();
    const bool own = !EditLineShown;
    cv->Pen->Mode = pmCopy;
    cv->Pen->Width = own ? EditLineWidth : 1;
    cv->Pen->Color = own ? LineColor : 0;
    cv->Pen->Style = own ? TPenStyle(EditPenStyle) : psSolid;
    cv->Brush->Style = bsSolid;
    if (!own) cv->Brush->Color = 0xFFFFFF;

    // A pending insert has one empty row among the points; it is left out.
    const int rows = std::min(StringGrid1->RowCount(), PointCount + (PointMode == 2 ? 1 : 0));
    bool pieceStart = true, lastSegment = false;
    int prevX = 0, prevY = 0, segX = 0, segY = 0;
    for (int i = 0; i < rows; i++) {
        int32_t x, y;
        if (!CellInt(StringGrid1->Cells(1, i), x) || !CellInt(StringGrid1->Cells(2, i), y)) continue;
        if (x == 0 && y == 0) {
            pieceStart = true;
            continue;
        }
        int X, Y;
        RowPixel(i, X, Y);
        if (pieceStart) cv->MoveTo(X, Y);
        else cv->LineTo(X, Y);
        lastSegment = !pieceStart;
        if (own) {
            // No head on a segment that starts at a break.
            if (EditArrow && step > 0 && i > 0 && i % step == 0 && lastSegment) {
                DrawArrowHead(prevX, prevY, EditTriangle, L, LineColor, X, Y);
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
    if (own && EditArrow && lastSegment) DrawArrowHead(segX, segY, EditTriangle, L, LineColor, prevX, prevY);
}

// Pieces of one loaded file. Solid pens take whole runs at once; styled pens
// go point by point, with the gaps in the colour of the map beneath.
void TLineAdd::DrawFilePoints(FilePoints& f, const LineFileHeader& h, bool arrows, TColor colour, int width) {
    TCanvas* cv = Open->Image1->Canvas();
    const TPenStyle style = TPenStyle(std::clamp<int>(h.LineType, 0, 4));
    cv->Pen->Color = colour;
    cv->Pen->Width = width;
    cv->Pen->Style = style;
    const bool styled = style != psSolid && width == 1;
    const bool triangle = h.Arrow == 2;
    static std::vector<TPoint> run;
    run.clear();
    int inPiece = 0, total = 0;
    int prevX = 0, prevY = 0;
    auto flush = [&] {
        if (run.size() >= 2) cv->Polyline(run.data(), int(run.size()));
        run.clear();
    };
    auto point = [&](int32_t x, int32_t y) {
        int X, Y;
        Open->MapToScreen(x, y, X, Y);
        total++;
        if (styled) {
            cv->Brush->Color = cv->Pixels(X, Y) == TColor(-1) ? Open->BackColor : cv->Pixels(X, Y);
            cv->Pen->Style = style;
            if (inPiece == 0) cv->MoveTo(X, Y);
            else cv->LineTo(X, Y);
        } else {
            if (inPiece == 0) flush();
            run.push_back(Point(X, Y));
        }
        if (arrows && h.Step > 0 && inPiece > 0 && inPiece % h.Step == 0) {
            flush();
            DrawArrowHead(prevX, prevY, triangle, h.Asize, colour, X, Y);
            cv->Pen->Width = width;
            cv->Pen->Color = colour;
            cv->MoveTo(X, Y);
            if (!styled) run.push_back(Point(X, Y));
        }
        inPiece++;
        prevX = X;
        prevY = Y;
    };
    int n;
    int32_t v[10];
    int lastPiece = 0, lastX = 0, lastY = 0, beforeX = 0, beforeY = 0;
    while (f.Next(n, v)) {
        if (n <= 2) {
            if (v[0] == 0 && (n < 2 || v[1] == 0)) {
                flush();
                inPiece = 0;
                continue;
            }
            beforeX = prevX, beforeY = prevY;
            point(v[0], n < 2 ? 0 : v[1]);
        } else {
            for (int k = 0; k + 1 < n && k < 10 && total < h.Points; k += 2) {
                beforeX = prevX, beforeY = prevY;
                point(v[k], v[k + 1]);
            }
        }
        lastPiece = inPiece;
        lastX = prevX;
        lastY = prevY;
    }
    flush();
    if (arrows && h.Points >= 2 && lastPiece >= 2)
        DrawArrowHead(beforeX, beforeY, triangle, h.Asize, colour, lastX, lastY);
}

void TLineAdd::DrawLineFiles() {
    if (Open->PaintMode && !PaintLine) return;
    if (!CheckBox2->Checked()) return;
    if (!LineSet->UserColors) {
        std::copy(std::begin(DefaultColorTable), std::end(DefaultColorTable), ColorTable);
        for (int k = 0; k < LINE_COLOR_MAX; k++) LineSet->FillSwatch(k + 1, DefaultColorTable[k]);
    }
    int used = 0;
    LineSet->Label15->SetCaption("線数 " + std::to_string(RailFileCount));
    RailAttrs.resize(RailFileCount);
    if (RailTexts.size() != RailFiles.size() || RailTextRead.size() != RailFiles.size()) {
        // The list was set without the railway load (a project file): read its files anew.
        RailTexts.assign(RailFiles.size(), std::string());
        RailTextRead.assign(RailFiles.size(), 0);
    }
    UserAttrs.resize(LineFileCount);
    TCanvas* cv = Open->Image1->Canvas();
    cv->Pen->Mode = pmCopy;
    cv->Brush->Style = bsSolid;
    static FilePoints f;
    static std::string userText;
    std::vector<int>& rowFile = LineSet->RowFile;
    rowFile.clear();
    const int filter = LineSet->RailKindFilter();
    const int rule = LineSet->RailColourRule();
    const bool railShown = Open->CBRailLine->Checked();
    // Reads a file's header; sets its attributes from it while they follow the files.
    auto attrs = [&](LineAttr& a, const LineFileHeader& h, int& number) {
        if (!LineSet->UserColors) {
            used = ColourNumber(used, TColor(h.Color), number);
            a.Colour = std::to_string(number);
            a.Size = std::to_string(h.Size);
        }
        if (AttrTableDirty) {
            a.Size = std::to_string(h.Size);
            a.Mark = "●";
        }
    };
    auto header = [&](std::string_view text, LineFileHeader& h) {
        f.Start(text);
        std::string_view first;
        return f.NextLine(first) && ParseLineHeader(first, h);
    };

    int r = 0;
    for (int i = 0; i < RailFileCount && i < int(RailFiles.size()); i++) {
        const std::string name = FileDisplayName(RailFiles[i]);
        const bool jr = name.find("JR") != std::string::npos;
        if ((filter == 1 && !jr) || (filter == 2 && jr)) continue;
        LineFileHeader h;
        // Railway files are supplied data: read once after each railway load.
        if (size_t(i) >= RailTexts.size()) continue;
        if (!RailTextRead[i]) {
            ReadLineFileText(RailFiles[i], RailTexts[i]);
            RailTextRead[i] = 1;
        }
        if (!header(RailTexts[i], h)) continue;
        LineAttr& a = RailAttrs[i];
        int number = 0;
        attrs(a, h, number);
        rowFile.push_back(i);
        LineSet->SetRow(r, name, a);
        Rail->SetRow(r, name, !railShown ? "" : a.Mark.empty() ? "描かない" : "描く");
        if (railShown) {
            if (!a.Mark.empty()) {
                TColor colour = TColor(h.Color);
                if (rule == 1 || (rule == 2 && !jr)) {
                    colour = LineSet->RailColor;
                } else if (rule == 0 && LineSet->UserColors) {
                    // A colour number out of 1 to 10 or no number keeps the header's colour.
                    const int no = TableValue(a.Colour, 1, LINE_COLOR_MAX, 0);
                    if (no) colour = ColorTable[no - 1];
                }
                const int width = TableValue(a.Size, 1, 1000, std::max(1, h.Size));
                DrawFilePoints(f, h, false, colour, width);
                if (Open->RailInfo->Checked()) Rail->Label8->SetCaption(std::to_string(i) + "番 " + name);
            }
        }
        r++;
    }
    Rail->SetRowCount(r);
    Rail->Label11->SetCaption(std::to_string(r));

    for (int j = 0; j < LineFileCount && j < int(LineFiles.size()); j++) {
        LineFileHeader h;
        // The user's files are read on every redraw: the editor may have saved them anew.
        if (!ReadLineFileText(LineFiles[j], userText) || !header(userText, h)) continue;
        LineAttr& a = UserAttrs[j];
        int number = 0;
        attrs(a, h, number);
        rowFile.push_back(RailFileCount + j);
        LineSet->SetRow(r, FileDisplayName(LineFiles[j]), a);
        r++;
        if (!a.Mark.empty()) {
            // A colour number out of 1 to 10 or no number keeps the header's colour.
            const int no = TableValue(a.Colour, 1, LINE_COLOR_MAX, 0);
            const TColor colour = no ? ColorTable[no - 1] : TColor(h.Color);
            const int width = TableValue(a.Size, 1, 1000, std::max(1, h.Size));
            DrawFilePoints(f, h, h.Arrow != 0, colour, width);
        }
    }
    LineSet->SetRowCount(r);
    if (r == 0)
        for (int c = 0; c < 4; c++) LineSet->StringGrid1->SetCells(c, 0, "");
    AttrTableDirty = 0;
}
