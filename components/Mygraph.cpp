#include "components/Mygraph.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include "gui/ImageWriters.h"
#include <cmath>
#include <vector>

void DrawMarker(TCanvas* c, int type, int px, int py, int s, int half, int base) {
    switch (type) {
    case 0:
        c->Ellipse(px - s, py - s, px + s, py + s);
        break;
    case 1: {
        TPoint tri[3] = {{px, py - s}, {px + s, py + base}, {px - s, py + base}};
        c->Polygon(tri, 3);
        break;
    }
    case 2:
        c->Rectangle(px - half, py - half, px + half, py + half);
        break;
    case 3: {
        TPoint dia[4] = {{px, py - half}, {px + half, py}, {px, py + half}, {px - half, py}};
        c->Polygon(dia, 4);
        break;
    }
    case 4:
        c->MoveTo(px - s, py - s);
        c->LineTo(px + s, py + s);
        c->MoveTo(px + s, py - s);
        c->LineTo(px - s, py + s);
        break;
    case 5:
        c->MoveTo(px - s, py);
        c->LineTo(px + s, py);
        c->MoveTo(px, py - s);
        c->LineTo(px, py + s);
        break;
    default:
        break;
    }
}

void FillCanvas(TCanvas* c, TColor color) {
    c->Brush->Color = color;
    c->Brush->Style = bsSolid;
    c->FillRect(Rect(0, 0, c->Width(), c->Height()));
}

TMyGraph::TMyGraph(QWidget* parent) : TImage(parent) {
    SetImageSize(300, 300);
}

// ---- labels and steps ----

bool TMyGraph::zero_string(const std::string& text) {
    for (char ch : text)
        if (ch != '-' && ch != '0' && ch != '.') return false;
    return true;
}

int TMyGraph::sub_scale(double s, std::string& format) {
    format = "%g";
    if (!(s > 0) || !std::isfinite(s)) return 0;
    double w = s * 1.000001;
    int d = 0;
    while (w >= 10) w /= 10;
    while (w < 1) {
        w *= 10;
        ++d;
    }
    int m = int(w);
    if (w > 1.4 && w < 1.6) m = 3;
    if (w > 2.4 && w < 2.6) m = 5;
    double frac = w - std::floor(w);
    if (s * 1.000001 < 10 && frac > 0.4 && frac < 0.6) ++d;
    format = gui::Format("%%.%df", d);
    switch (m) {
    case 2: case 4: case 8: return 4;
    case 3: case 9: return 3;
    case 6: return 6;
    case 7: return 7;
    default: return 5;
    }
}

void TMyGraph::_round_number(double v, std::string& buffer) {
    const double a = std::fabs(v);
    if (v == 0 || a < 1e-8) {
        buffer = "0";
        return;
    }
    if (a < 1e-5 || a > 100000) {
        buffer = gui::Format(v < 0 ? "-%.1e" : "%.1e", a);
        return;
    }
    std::string s = gui::Format("%.4f", a);
    // 2.9999 reads better as 3.
    if (s.back() == '9') s = gui::Format("%.4f", a + 0.0001);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    buffer = v < 0 ? "-" + s : s;
}

// ---- value to pixel ----

TMyGraph::Axis TMyGraph::axisX() const {
    return {LinearX, SValueX, VValueX, NGridX > 0 ? WidthX / NGridX : 0};
}

TMyGraph::Axis TMyGraph::axisY() const {
    return {LinearY, SValueY, VValueY, NGridY > 0 ? HeightY / NGridY : 0};
}

static bool StepUsable(bool linear, float step) {
    if (!std::isfinite(step)) return false;
    return linear ? step != 0 : step > 0 && step != 1;
}

bool TMyGraph::axesPlaceable() const {
    return NGridX >= 1 && NGridY >= 1 && std::isfinite(SValueX) && std::isfinite(SValueY) &&
           StepUsable(LinearX, VValueX) && StepUsable(LinearY, VValueY);
}

// Cells from the origin; false for a point a logarithmic axis cannot show.
bool TMyGraph::toOffset(const Axis& a, float v, double& offset) {
    if (a.linear) {
        offset = (double(v) - a.start) / a.step;
    } else {
        if (!(v > 0) || !(a.start > 0)) return false;
        offset = std::log10(double(v) / a.start) / std::log10(double(a.step));
    }
    return std::isfinite(offset);
}

// Far-off points are pulled in to a range an int holds; the canvas clips the rest.
static int ClampPixel(double v) {
    constexpr double limit = 1e9;
    return int(v < -limit ? -limit : v > limit ? limit : v);
}

bool TMyGraph::toPixel(float x, float y, int& px, int& py) const {
    Axis ax = axisX(), ay = axisY();
    double ox, oy;
    if (!toOffset(ax, x, ox) || !toOffset(ay, y, oy)) return false;
    px = ClampPixel(ox * ax.cellSize + OriginX);
    py = ClampPixel(OriginY - oy * ay.cellSize);
    return true;
}

// ---- frame ----

bool TMyGraph::drawFrame(bool chosenFormat) {
    if (NGridX < 1 || NGridY < 1) return false;
    if (!LinearX && !(SValueX > 0)) {
        MessageBox("X Logarithmic Scale can not be determind.", "X Scale Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!LinearY && !(SValueY > 0)) {
        MessageBox("Y Logarithmic Scale can not be determind.", "Y Scale Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::string formatX, formatY;
    if (chosenFormat) {
        SubX = sub_scale(VValueX, formatX);
        SubY = sub_scale(VValueY, formatY);
    }
    TCanvas* c = Canvas();
    c->Brush->Color = clWhite;
    c->Brush->Style = bsSolid;
    if (!OverWrite) c->FillRect(Rect(0, 0, c->Width(), c->Height()));

    const int cw = WidthX / NGridX, ch = HeightY / NGridY;
    const int right = OriginX + NGridX * cw, top = OriginY - NGridY * ch;
    auto label = [&](bool linear, float start, float step, int i, const std::string& format) {
        float v = linear ? start + float(i) * step : std::pow(step, float(i)) * start;
        std::string text;
        if (chosenFormat) {
            text = gui::Format(format.c_str(), double(v));
            if (zero_string(text)) text = "0";
        } else {
            _round_number(v, text);
        }
        return text;
    };
    // Offsets of the sub-divisions inside one cell.
    auto subOffsets = [](bool linear, int sub, int cell) {
        std::vector<int> at;
        if (linear) {
            for (int j = 1; j < sub; ++j) at.push_back(j * cell / sub);
        } else {
            for (int j = 1; j <= 4; ++j) at.push_back(int(std::log10(2.0 * j) * cell));
        }
        return at;
    };
    auto gridPen = [&](int i, int last) {
        c->Pen->Color = clBlack;
        c->Pen->Style = psSolid;
        c->Pen->Width = (i == 0 || i == last) ? 2 : 1;
    };
    auto subPen = [&]() {
        c->Pen->Color = clBlack;
        c->Pen->Style = SubAxis ? psDot : psSolid;
        c->Pen->Width = 1;
    };

    for (int i = 0; i <= NGridX; ++i) {
        const int x = OriginX + i * cw;
        gridPen(i, NGridX);
        c->MoveTo(x, OriginY);
        c->LineTo(x, top);
        std::string text = label(LinearX, SValueX, VValueX, i, formatX);
        c->TextOut(x - c->TextWidth(text) / 2, OriginY + 5, text);
        if (i == NGridX) break;
        subPen();
        for (int off : subOffsets(LinearX, SubX, cw)) {
            c->MoveTo(x + off, OriginY);
            c->LineTo(x + off, SubAxis ? top : OriginY - 7);
        }
    }
    for (int i = 0; i <= NGridY; ++i) {
        const int y = OriginY - i * ch;
        gridPen(i, NGridY);
        c->MoveTo(OriginX, y);
        c->LineTo(right, y);
        std::string text = label(LinearY, SValueY, VValueY, i, formatY);
        const int ty = y - c->TextHeight(text) / 2;
        if (LeftScale)
            c->TextOut(OriginX - 10 - c->TextWidth(text), ty, text);
        else
            c->TextOut(OriginX + WidthX + 5, ty, text);
        if (i == NGridY) break;
        subPen();
        for (int off : subOffsets(LinearY, SubY, ch)) {
            c->MoveTo(OriginX, y - off);
            c->LineTo(SubAxis ? right : OriginX + 7, y - off);
        }
    }
    c->Pen->Style = psSolid;
    c->Pen->Width = 1;

    const int h = c->TextHeight("A");
    c->TextOut(OriginX + WidthX / 2 - c->TextWidth(TitleX) / 2, OriginY + int(1.4 * h), TitleX);
    const int titleY = OriginY - HeightY - int(1.3 * h);
    if (LeftScale)
        c->TextOut(OriginX + 10, titleY, TitleY);
    else
        c->TextOut(OriginX + WidthX - 5 - c->TextWidth(TitleY), titleY, TitleY);
    return true;
}

bool TMyGraph::DrawWaku() { return drawFrame(false); }

bool TMyGraph::DrawWakuN() { return drawFrame(true); }

// ---- data ----

bool TMyGraph::DrawGraph(int count, const float* x, const float* y) {
    if (!axesPlaceable() || (count > 0 && (!x || !y))) return false;
    TCanvas* c = Canvas();
    for (int i = 0; i < count; ++i) {
        int px, py;
        if (!toPixel(x[i], y[i], px, py)) continue;
        // After a skipped first point the line starts where the pen stood.
        if (i == 0)
            c->MoveTo(px, py);
        else
            c->LineTo(px, py);
    }
    return true;
}

bool TMyGraph::markers(int count, const float* x, const float* y, int type, int size, int interval) {
    if (!axesPlaceable() || (count > 0 && (!x || !y))) return false;
    if (interval == 0) return true;
    TCanvas* c = Canvas();
    const int half = (size + 1) / 2;
    for (int i = 0; i < count; ++i) {
        if (i % interval != 0) continue;
        int px, py;
        if (!toPixel(x[i], y[i], px, py)) continue;
        if (px > OriginX + WidthX) break;
        DrawMarker(c, type, px, py, size, half, half);
    }
    return true;
}

bool TMyGraph::PlotGraph(int count, const float* x, const float* y, int type, int size) {
    return markers(count, x, y, type, size, 1);
}

bool TMyGraph::SkipGraph(int count, const float* x, const float* y, int type, int size, int interval) {
    return markers(count, x, y, type, size, interval);
}

// ---- automatic scales ----

bool TMyGraph::scaleUnit(int count, const float* values, bool linear, int& cells, float& start, float& step,
                         bool allowNegative) {
    if (cells < 1 || (count > 0 && !values)) return false;
    double m = 0;
    bool negative = false;
    for (int i = 0; i < count; ++i) {
        const double v = values[i];
        if (!std::isfinite(v)) return false;
        if (v < 0) negative = true;
        const double size = allowNegative ? std::fabs(v) : v;
        if (size > m) m = size;
    }
    negative = negative && allowNegative;
    if (!linear) {
        if (negative) {
            MessageBox("負のデータを対数目盛りでは表せません", "目盛り設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        double u = 1e-10;
        while (m >= u) u *= 10;
        start = float(u / std::pow(10.0, cells));
        step = 10;
        return true;
    }
    const int half = negative ? (cells + 1) / 2 : cells;
    static const double candidates[4] = {1.0, 2.0, 2.5, 5.0};
    for (double u = 1e-10;; u *= 10) {
        for (double cand : candidates) {
            if (half * (cand + 0.001) * u > m) {
                step = float(cand * u);
                if (negative) {
                    cells = 2 * half;
                    start = -half * step;
                } else {
                    start = 0;
                }
                return true;
            }
        }
    }
}

bool TMyGraph::XScaleUnit(int count, const float* values) {
    return scaleUnit(count, values, LinearX, NGridX, SValueX, VValueX, false);
}

bool TMyGraph::YScaleUnit(int count, const float* values) {
    return scaleUnit(count, values, LinearY, NGridY, SValueY, VValueY, false);
}

bool TMyGraph::XScaleUnit1(int count, const float* values) {
    return scaleUnit(count, values, LinearX, NGridX, SValueX, VValueX, true);
}

bool TMyGraph::YScaleUnit1(int count, const float* values) {
    return scaleUnit(count, values, LinearY, NGridY, SValueY, VValueY, true);
}

// ---- picture ----

void TMyGraph::Clear(TColor color) { FillCanvas(Canvas(), color); }

void TMyGraph::Copy() { Clipboard()->Assign(Picture()->Bitmap()); }

bool TMyGraph::Save_PNG(const std::string& path, std::string* error) {
    return output::WritePng(*Picture()->Bitmap(), path, error);
}
