// The statistics map's proportional circles and value labels, drawn over the
// map's lines and names at each unit's first fill point, on any device.
#pragma once
#include "engine/MapLayer.h"
#include "paint/StatJoin.h"
#include "paint/StatMapBlock.h"
#include <atomic>
#include <memory>
#include <vector>

// What the circles and labels are drawn from: one mark per unit, or per
// designated city or prefecture when the table's rows stand for those.
struct StatMarks {
    struct Mark {
        double x = 0, y = 0;   // map units: the first fill point (the mean of a group's)
        double size = 0;       // what the circle stands for; NaN none
        double value = 0;      // the classed value, written as the label; NaN none
    };
    std::vector<Mark> marks;
    std::vector<int> bySize, byValue;   // marks with a number, largest magnitude first
    double largest = 0;                 // of the sizes' magnitudes
    bool negative = false;              // some size below 0
    // Once per redraw: the marks again only when the map or its values changed.
    void Update(const StatMapBlock& b, const std::vector<int>& areas, int year, const std::string& appDir);

private:
    StatMapBlock made;
    std::vector<int> madeAreas;
    int madeYear = -1;
    StatUnits units;
    std::vector<int> unitsAreas;
    int unitsYear = -1;
};

// The largest circle's radius at this picture size, and a value's radius.
double StatCircleScale(const StatMapBlock& b, const MapView& view);
double StatCircleRadius(double value, double largest, double scale);
// The three round values of the circles' key, largest first (fewer when the values are few).
std::vector<double> StatKeyValues(double largest);

// The circles' key: three nested circles in a box at the picture's lower right.
struct StatCircleKey {
    TRect box;
    int cx = 0, base = 0;   // the circles' centre line and their common bottom
    std::vector<double> values, radii;
};

class StatCircleLayer : public MapLayer {
public:
    explicit StatCircleLayer(std::shared_ptr<StatMarks> m) : marks(std::move(m)) {}
    bool Wanted(const DrawSettings&) const override;
    void Prepare(const DrawSettings&) override;
    void Draw(TCanvas& cv, const MapView& view, const DrawSettings&) override;
    // Where the key goes on this canvas (its box empty when there are no circles).
    StatCircleKey Key(TCanvas& cv, const MapView& view) const;

private:
    std::shared_ptr<StatMarks> marks;
    void drawKey(TCanvas& cv, const MapView& view);
};

class StatValueLayer : public MapLayer {
public:
    StatValueLayer(std::shared_ptr<StatMarks> m, const StatCircleLayer* c) : marks(std::move(m)), circles(c) {}
    bool Wanted(const DrawSettings&) const override;
    void Prepare(const DrawSettings&) override;
    void Draw(TCanvas& cv, const MapView& view, const DrawSettings&) override;
    // The labels placed and those that had a place in the picture, at the last drawing.
    std::atomic<int> Placed{0}, Wanting{0};

private:
    std::shared_ptr<StatMarks> marks;
    const StatCircleLayer* circles;
};

extern StatValueLayer* StatValuesOnMap;
