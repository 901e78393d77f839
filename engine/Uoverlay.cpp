// Reference overlays of the map: longitude/latitude and mesh grids with their
// degree labels, mesh names, the scale bar, the frame, the area caption, the
// notice line and the municipal offices.
#include "engine/Coords.h"
#include "engine/Settings.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include "navigation/Usettei.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The part of the image the grid lines may start in, and the degrees the view spans.
struct GridBox {
    int left, top, right, bottom;
    int lat0, lat1, lon0, lon1;
};

GridBox GridBoxOf(const TOpen& o) {
    GridBox b;
    o.MapToScreen(o.MinX, o.MinY, b.left, b.bottom);
    o.MapToScreen(o.MaxX, o.MaxY, b.right, b.top);
    if (b.left < 0) b.left = 0;
    if (b.top < 0) b.top = 0;
    const int w = o.SIZEX * o.COPYSCALE, h = o.SizeY * o.COPYSCALE;
    if (b.right >= w) b.right = w - 1;
    if (b.bottom >= h) b.bottom = h - 1;
    b.lat0 = o.MinY / 15000;
    b.lat1 = o.MaxY / 15000;
    b.lon0 = o.MinX / 10000;
    b.lon1 = o.MaxX / 10000;
    return b;
}

bool RowInBox(const TOpen& o, const GridBox& b, int32_t y) {
    int sx, sy;
    o.MapToScreen(o.MinX, y, sx, sy);
    return b.top <= sy && sy < b.bottom;
}

bool ColumnInBox(const TOpen& o, const GridBox& b, int32_t x) {
    int sx, sy;
    o.MapToScreen(x, o.MinY, sx, sy);
    return b.left <= sx && sx < b.right;
}

// A line across the view at map y, drawn only when its left end lies in the box.
void HorizontalLine(TOpen& o, const GridBox& b, int32_t y) {
    if (!RowInBox(o, b, y)) return;
    int x1, y1, x2, y2;
    o.MapToScreen(o.MinX, y, x1, y1);
    o.MapToScreen(o.MaxX, y, x2, y2);
    TCanvas* cv = o.Image1->Canvas();
    cv->MoveTo(x1, y1);
    cv->LineTo(x2, y2);
}

// A line up the view at map x, drawn only when its bottom end lies in the box.
void VerticalLine(TOpen& o, const GridBox& b, int32_t x) {
    if (!ColumnInBox(o, b, x)) return;
    int x1, y1, x2, y2;
    o.MapToScreen(x, o.MinY, x1, y1);
    o.MapToScreen(x, o.MaxY, x2, y2);
    TCanvas* cv = o.Image1->Canvas();
    cv->MoveTo(x1, y1);
    cv->LineTo(x2, y2);
}

// A text whose box takes the colour found one pixel inside its top-left corner.
void TextOnMap(TOpen& o, double x, double y, const std::string& text) {
    TCanvas* cv = o.Image1->Canvas();
    cv->Brush->Color = o.PickTextBackground(TruncToInt(x + 1), TruncToInt(y + 1));
    cv->Brush->Style = bsSolid;
    cv->TextOut(TruncToInt(x), TruncToInt(y), text);
}

// The degree figures at both ends of each degree line in the box.
void DegreeLabels(TOpen& o, const GridBox& b) {
    TCanvas* cv = o.Image1->Canvas();
    const int s = o.ImageSize;
    cv->Brush->Color = o.BackColor;
    cv->Brush->Style = bsSolid;
    cv->Font->Color = Settei->CBColor->Checked() ? o.CoastColor : clBlack;
    const int fs = s > 600 ? s * 8 / 600 : 8;
    cv->Font->Size = fs;
    const bool everyOther = o.CB1do->Checked();

    for (int j = b.lat0; j <= b.lat1 + 1; ++j) {
        if (everyOther && j % 2 != 0) continue;
        const int32_t y = 15000 * j;
        if (!RowInBox(o, b, y)) continue;
        const std::string text = gui::Format(" %d°", 24 + j);
        int sx, sy;
        o.MapToScreen(o.MinX, y, sx, sy);
        TextOnMap(o, sx > 0 ? sx : 5, sy - fs / 2, text);
        o.MapToScreen(o.MaxX, y, sx, sy);
        TextOnMap(o, (sx < s ? sx : s) - 2.8 * fs, sy - fs / 2, text);
    }
    for (int i = b.lon0; i <= b.lon1 + 1; ++i) {
        if (everyOther && i % 2 != 0) continue;
        const int32_t x = 10000 * i;
        if (!ColumnInBox(o, b, x)) continue;
        const std::string text = gui::Format("%d°", 122 + i);
        int sx, sy;
        o.MapToScreen(x, o.MinY, sx, sy);
        TextOnMap(o, sx - fs, sy < s ? sy - 1.3 * fs : s - 1.7 * fs, text);
        o.MapToScreen(x, o.MaxY, sx, sy);
        TextOnMap(o, sx - fs, sy > 0 ? sy : 5, text);
    }
}

int IntField(const std::vector<std::string>& f, size_t i) {
    return i < f.size() ? int(std::strtol(f[i].c_str(), nullptr, 10)) : 0;
}

} // namespace

void TOpen::DrawLonLatGrid() {
    TCanvas* cv = Image1->Canvas();
    TPen* pen = cv->Pen;
    pen->Width = 1;
    pen->Style = psSolid;
    const GridBox b = GridBoxOf(*this);
    const bool tenMinutes = CBFun->Checked();
    const bool dotted = Settei->CBFunDot->Checked();

    // Each degree line, then the five 10-minute lines of the band below it.
    auto degrees = [&](int from, int to, int32_t unit, void (*line)(TOpen&, const GridBox&, int32_t)) {
        for (int d = from; d <= to; ++d) {
            pen->Style = psSolid;
            pen->Color = DoColor;
            line(*this, b, unit * d);
            if (!tenMinutes) continue;
            if (dotted) pen->Style = psDot;
            for (int m = 1; m <= 5; ++m) {
                pen->Color = FunColor;
                line(*this, b, unit * (d - 1) + unit * m / 6);
            }
        }
    };
    degrees(b.lat0, b.lat1 + 1, 15000, HorizontalLine);
    degrees(b.lon0, b.lon1 + 1, 10000, VerticalLine);

    if (CBDo->Checked()) DegreeLabels(*this, b);
    // The notice stays above the grid.
    if (kokudo->Checked() && ImageSize >= 200) DrawApprovalNotice();
}

// The regional mesh: first level 40' x 1 degree, second level 5' x 7'30";
// a wide view thins the second level out.
void TOpen::DrawMeshGrid() {
    TPen* pen = Image1->Canvas()->Pen;
    const GridBox b = GridBoxOf(*this);
    pen->Style = psSolid;

    int n = 16;
    if (ViewWidthKm > 200) n = 8;
    if (ViewWidthKm > 400) n = 4;
    for (int j = b.lat0; j <= b.lat1 + 1; ++j) {
        for (int t = 0; t < n; ++t) {
            const int32_t y = 15000 * (j - 1) + 20000 * t / n;
            if (y % 10000 == 0) {
                pen->Width = 2;
                pen->Color = DoColor;
            } else {
                pen->Color = FunColor;
                pen->Width = t % 2 == 0 ? 2 : 1;
            }
            HorizontalLine(*this, b, y);
        }
    }

    int m = 8;
    if (ViewWidthKm > 200) m = 4;
    if (ViewWidthKm > 400) m = 2;
    for (int i = b.lon0; i <= b.lon1 + 1; ++i) {
        pen->Width = 2;
        pen->Color = DoColor;
        VerticalLine(*this, b, 10000 * i);
        for (int t = 1; t < m; ++t) {
            pen->Color = FunColor;
            pen->Width = t % 2 == 0 ? 2 : 1;
            VerticalLine(*this, b, 10000 * (i - 1) + 10000 * t / m);
        }
    }

    DegreeLabels(*this, b);
}

// Names of the mesh squares in view, centred on their points; their boxes take
// whatever brush the layer before left.
void TOpen::DrawMeshNames(int level) {
    const int s = ImageSize;
    float f = 1.25f;
    if (ViewWidthKm > s * 200 * (1.0 / 600)) f = 1.0f;
    if (ViewWidthKm > s * 400 * (1.0 / 600)) f = 0.9f;
    if (ViewWidthKm > s * 600 * (1.0 / 600)) f = 0.8f;

    gui::TextReader in;
    if (!in.Open(AppDir + gui::Format("/Mapdata/mesh%d.lbl", level))) return;
    TCanvas* cv = Image1->Canvas();
    std::string line;
    std::vector<std::string> fields;
    while (in.ReadLine(line)) {
        TMyStr::SplitCsv(line, fields);
        const int32_t x = IntField(fields, 0), y = IntField(fields, 1);
        if (x < MinX || x > MaxX || y < MinY || y > MaxY) continue;
        const std::string text = fields.size() > 2 ? fields[2] : std::string();
        int sx, sy;
        MapToScreen(x, y, sx, sy);
        cv->Font->Color = IntField(fields, 4);
        cv->Font->Size = TruncToInt(IntField(fields, 3) * f);
        const int w = cv->TextWidth(text), h = cv->TextHeight(text);
        cv->TextOut(sx - w / 2, sy - h / 2, text);
    }
}

void TOpen::DrawScaleBar(int32_t cy) {
    TCanvas* cv = Image1->Canvas();
    const int s = ImageSize;
    const float k = s * (1.0 / 600);
    const float lat = cy * (1.0 / 15000) + 24;
    const float D = GreatCircleKm(lat, 0, lat, 1.0);   // km of one degree of longitude
    const float P = 200000 / D * ScaleX;                // pixels of 20 km
    const float H = (s * 20) / P * 0.5;                 // km of half the image width

    const int fs = 8 * k >= 7 ? TruncToInt(8 * k) : 7;
    cv->Font->Size = fs;
    cv->Font->Color = clBlack;
    if (H < 5.0) return;

    struct Division { float minKm; int n; double segP; int step; };
    static const Division table[] = {
        {5, 5, 0.05, 1},   {10, 5, 0.1, 2},   {20, 4, 0.25, 5},    {50, 5, 0.5, 10},    {100, 5, 1.0, 20},
        {200, 4, 2.5, 50}, {500, 5, 5.0, 100}, {1000, 5, 10.0, 200}, {2000, 4, 25.0, 500},
    };
    const Division* d = &table[0];
    for (const Division& row : table)
        if (H >= row.minKm) d = &row;
    const int n = d->n, step = d->step;
    const float seg = d->segP * P;

    int x = TruncToInt(scl_x1 * k), y = TruncToInt(scly1 * k);
    if (x > s || y > s) {
        x = TruncToInt(s * 0.65);
        y = TruncToInt(s * 0.8);
        scl_x1 = x;
        scly1 = y;
    }

    cv->Pen->Width = 1;
    cv->Pen->Color = clBlack;
    cv->Pen->Style = psSolid;
    cv->Brush->Style = bsSolid;
    const double labelY = y - fs - 5 * k;
    for (int i = 0; i < n; ++i) {
        const int xi = TruncToInt(x + i * seg);
        TextOnMap(*this, xi - 8 * k, labelY, gui::Format("%3d", i * step));
        cv->Brush->Color = i % 2 == 0 ? clBlack : clWhite;
        cv->Rectangle(xi, y, TruncToInt(x + (i + 1) * seg), TruncToInt(y + 6 * k));
    }
    const int xn = TruncToInt(x + n * seg);
    TextOnMap(*this, xn - 16 * k, labelY, gui::Format("%3dkm", n * step));

    ScaleRight = TruncToInt(scl_x1 + n * seg);
    ScaleBottom = TruncToInt(scly1 + 6 * k);
}

void TOpen::DrawMapFrame() {
    TCanvas* cv = Image1->Canvas();
    cv->Pen->Style = psSolid;
    if (!Settei->CBWaku->Checked()) return;
    const int s = ImageSize;
    const int w = Settei->UpDown5->Position();
    cv->Pen->Color = Settei->CBColor->Checked() ? CoastColor : WakuColor;
    cv->Brush->Style = bsClear;
    cv->Pen->Width = w;
    const int b = w >= 2 ? 1 : 0, a = w == 3 ? 1 : 0;
    cv->Rectangle(b, b, s - a, s - a);
}

// The area's name in the lower-left corner of a one-area map.
void TOpen::DrawPrefCaption() {
    if (SELECT != 1) {
        Settei->CheckBox2->SetEnabled(false);
        return;
    }
    Settei->CheckBox2->SetEnabled(true);
    TCanvas* cv = Image1->Canvas();
    const int s = ImageSize;
    cv->Font->Size = std::max(10, COPYSCALE * 12 / SSIZE);
    const float g = std::max(1.0f, float(COPYSCALE) / SSIZE);
    cv->Font->Color = Settei->CBColor->Checked() ? CoastColor : TownFontColor;
    const int code = SelectCode[0];
    TextOnMap(*this, 25 * g, s - 25 * g, code >= 0 && code < 60 ? AreaName[code] : std::string());
}

void TOpen::DrawApprovalNotice() {
    TCanvas* cv = Image1->Canvas();
    cv->Font->Size = std::max(8, TruncToInt(COPYSCALE * 8.0 / SSIZE));
    cv->Font->Color = Settei->CBColor->Checked() ? CoastColor : clBlack;
    TextOnMap(*this, 5, 5, settings::MapNotice);
}

// Office marks centred on their points, the names just right of the marks.
void TOpen::Disp_Office() {
    TCanvas* cv = Image1->Canvas();
    const int s = ImageSize;
    cv->Brush->Color = BackColor;
    cv->Brush->Style = bsSolid;
    const bool scaled = !Settei->CBFixedSize->Checked() && s >= 600;
    const bool withName = Settei->CBOfficeName->Checked();
    const int count = std::min<int>(OfficeCount, int(OfficeRecords.size()));
    for (int i = 0; i < count; ++i) {
        const OfficeRecord& r = OfficeRecords[i];
        const std::string mark(r.mark, strnlen(r.mark, sizeof r.mark));
        cv->Font->Size = scaled ? TruncToInt(double(r.size) * s * (1.0 / 600)) : DefPrefSeatSize;
        cv->Font->Color = DefPrefSeatColor;
        const int h = cv->TextHeight(mark);
        int sx, sy;
        MapToScreen(r.x, r.y, sx, sy);
        cv->TextOut(sx - h / 2, sy - h / 2, mark);
        if (withName) cv->TextOut(TruncToInt(sx + 0.5 * h), sy - h / 2, std::string(r.name, strnlen(r.name, sizeof r.name)));
    }
}
