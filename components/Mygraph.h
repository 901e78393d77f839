// TMyGraph: x-y graphs on an image: a frame with grid, linear or logarithmic
// scales with value labels and axis titles, data as a polyline or markers,
// automatic scale steps, and export to the clipboard or a PNG file.
#pragma once
#include "gui/Controls.h"
#include <string>

// Markers shared by the graph and the map view: 0 circle of radius s,
// 1 upward triangle (apex s above, base `base` below), 2 filled square and
// 3 filled diamond of half size `half`, 4 diagonal and 5 upright cross of half
// size s. Pen and brush are the canvas's own. Other types draw nothing.
void DrawMarker(TCanvas* canvas, int type, int px, int py, int s, int half, int base);
// The whole picture in one colour; the brush keeps it, solid.
void FillCanvas(TCanvas* canvas, TColor color);

class TMyGraph : public TImage {
public:
    explicit TMyGraph(QWidget* parent = nullptr);

    int NGridX = 4, NGridY = 4;         // grid cells across and up
    int WidthX = 250, HeightY = 250;    // plot area in pixels
    int OriginX = 35, OriginY = 270;    // bottom-left corner of the plot area
    bool LinearX = true, LinearY = true;
    float SValueX = 0, SValueY = 0;     // value at the origin
    float VValueX = 5.0f, VValueY = 10.0f;  // step (linear) or factor (logarithmic) per cell
    bool SubAxis = true;                // sub-divisions as dotted lines, else 7-pixel ticks
    bool OverWrite = false;             // draw the frame over the picture instead of clearing it
    bool LeftScale = true;              // y labels and title on the left
    int SubX = 5, SubY = 5;             // sub-divisions per cell on linear axes
    std::string TitleX = "TitleX [unit]", TitleY = "TitleY [unit]";

    // Frame, grid, labels and titles. False, with nothing drawn, when a grid
    // count is below 1 or a logarithmic axis has no positive start value.
    bool DrawWaku();
    // The same with sub-divisions and label format chosen from the steps.
    bool DrawWakuN();
    // The drawing calls return false and draw nothing while the axes cannot
    // place a point (a grid count below 1, a zero linear step, a logarithmic
    // factor that is not positive or is 1).
    bool DrawGraph(int count, const float* x, const float* y);
    bool PlotGraph(int count, const float* x, const float* y, int type, int size);
    bool SkipGraph(int count, const float* x, const float* y, int type, int size, int interval);
    // Start value and step from non-negative data; the "1" forms allow
    // negative data, which a logarithmic axis refuses (false, with a message).
    // Non-finite data or a grid count below 1 give false, nothing changed.
    bool XScaleUnit(int count, const float* values);
    bool YScaleUnit(int count, const float* values);
    bool XScaleUnit1(int count, const float* values);
    bool YScaleUnit1(int count, const float* values);
    void Clear(TColor color);
    void Copy();
    bool Save_PNG(const std::string& path, std::string* error = nullptr);

    // True when every character is '-', '0' or '.'.
    static bool zero_string(const std::string& text);
    // Sub-divisions per cell for a step, and the printf format of its labels.
    static int sub_scale(double step, std::string& format);
    // A short label for a value.
    static void _round_number(double value, std::string& buffer);

private:
    struct Axis {
        bool linear;
        float start, step;
        int cellSize;
    };
    Axis axisX() const;
    Axis axisY() const;
    bool axesPlaceable() const;
    static bool toOffset(const Axis& a, float v, double& offset);
    bool toPixel(float x, float y, int& px, int& py) const;
    bool drawFrame(bool chosenFormat);
    bool markers(int count, const float* x, const float* y, int type, int size, int interval);
    static bool scaleUnit(int count, const float* values, bool linear, int& cells, float& start, float& step,
                          bool allowNegative);
};
