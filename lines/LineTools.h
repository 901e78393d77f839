// The map tools of the line editor and the distance circles.
#pragma once
#include "engine/MapTool.h"

// A press gives the edited line a point: appended, inserted or moved.
class LinePointTool : public OpenTool {
public:
    enum Kind { Append = 1, Insert = 2, MovePoint = 3 };
    LinePointTool(TOpen& o, Kind k) : OpenTool(o), kind(k) {}
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool Placing() const override { return true; }
    Kind kind;

};

// The next press is a circle's centre; the pointer's position shows as it moves.
class CircleCentreTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;

};
