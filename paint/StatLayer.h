// The statistics map as a layer under the map's lines: each unit's polygons
// filled with the colour and pattern of its class, at any view and on any device.
#pragma once
#include "engine/Insets.h"
#include "engine/MapLayer.h"
#include "paint/StatMapBlock.h"
#include "paint/StatShapes.h"
#include <string>
#include <unordered_map>
#include <vector>

class StatLayer : public MapLayer {
public:
    const StatMapBlock& Shown() const { return shown; }
    void Show(StatMapBlock b);
    // The edition of the boundary data the map was loaded from (0 the data set's own).
    int MapYear = 0;
    // The areas drawn; their shapes read now (a refused file is in TakeErrors).
    void SetAreas(std::vector<int> a);
    // The boxes of an area's unit parts in the edition ticked now (none without its polygons), for the insets.
    std::vector<InsetUnit> UnitBoxes(int area);
    void ForgetRefused() { shapes.ForgetRefused(); }
    std::vector<std::string> TakeErrors() { return shapes.TakeErrors(); }
    size_t ShapeBytes() const { return shapes.Bytes(); }

    bool Wanted(const DrawSettings&) const override { return shown.on && shown.fill; }
    void Prepare(const DrawSettings&) override;
    void Draw(TCanvas& cv, const MapView& view, const DrawSettings&) override;

private:
    StatMapBlock shown;
    std::vector<StatSlot> looks;                 // classes, then no data
    std::unordered_map<int32_t, uint8_t> slotOf;   // code -> slot, for the codes with a value
    std::vector<int> areas;
    std::vector<const StatShapeArea*> drawn;     // the areas' shapes of the map's edition
    StatShapeCache shapes;
};

// The layer of the main window's stack (made when the paint folder wires its layers).
extern StatLayer* StatLayerOnMap;
// The edition ticked in the "行政区界" menu: 0 for the data set's own.
int TickedEditionYear();
// What a project's block puts back: the layer, and the window's settings with the table when it is there.
void RestoreStatMap(const StatMapBlock& b, const std::string& tablePath);
