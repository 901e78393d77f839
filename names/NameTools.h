// The map tools of the name-data windows: name positions moved, corrected,
// added and deleted by a press on the map.
#pragma once
#include "engine/MapTool.h"

class TPositionTable;

// The row picked in a city or duplicate-name list takes the pressed position.
class PositionTool : public OpenTool {
public:
    PositionTool(TOpen& o, TPositionTable* table) : OpenTool(o), table(table) {}
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    TPositionTable* const table;

};

// "名称指定": a name is picked; after "位置指定" the press after is its position.
class NameCorrectTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool Pick = false, Place = false;

};

// The press gives the position of a name to add.
class NameAddTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;

};

// The press picks a name to delete.
class NameDeleteTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;

};
