// The map tools of the label, symbol, prefecture-name and island windows.
#pragma once
#include "engine/MapTool.h"

// A symbol from the palette goes where the map is pressed (or, once, to the
// typed position).
class StampTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    bool DoubleClick() override { return true; }
    void End() override;
    TForm* Owner() const override;
    bool BeforeGrabs() const override { return true; }
    bool Placing() const override { return true; }
    bool Typed = false;   // the next stamp goes to the typed position

};

// A prefecture name is picked, then the press that follows is its new place.
class PrefNameTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool Picked = false;   // a name is picked: the next press places it

};

// An island name is picked, then (after "位置指定") placed and written back.
class IslandTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool Pick = false, Place = false;

private:
    void PickAt(const MapEvent& e);
    void PlaceAt(const MapEvent& e);
};

// A new label goes where the map is pressed; a label of the list moves there.
class LabelTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool NewLabel = false;    // the next press places a new label
    bool MoveLabel = false;   // the next press moves the label armed in the list
    // Called off from the window: the tool goes once nothing waits.
    void Settle();

};
