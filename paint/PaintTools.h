// The paint window's map tool.
#pragma once
#include "engine/MapTool.h"

// Each press fills the region under it with the chosen colour or pattern and
// keeps the fill as a paint record.
class PaintTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool DoubleClick() override { return true; }
    void End() override;
    TForm* Owner() const override;
    bool Paints() const override { return true; }

};
