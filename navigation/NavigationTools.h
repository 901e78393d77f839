// The main form's own map tools: the measurements, the range zoom, the centre
// and the web map.
#pragma once
#include "engine/MapTool.h"
#include <memory>

// "面積": each press counts and repaints the region of one colour.
class AreaTool : public OpenTool {
public:
    explicit AreaTool(TOpen& o);
    bool Press(const MapEvent& e) override;
    bool DoubleClick() override { return true; }
    void End() override;
    TForm* Owner() const override;
    bool BeforeGrabs() const override { return true; }
    bool HoldsView() const override { return true; }

private:
    // The texts the count would take for borders, hidden while the tool is armed.
    bool hidKokudo = false, hidPrefName = false, hidTownName = false;
};

// "多点": a route of pressed points, or with "時間" one the timer samples
// from the mouse; a double-click or Esc ends it with its length and area.
class RouteTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    bool Release(const MapEvent& e) override;
    bool DoubleClick() override;
    void End() override;
    TForm* Owner() const override;
    bool BeforeGrabs() const override { return true; }
    bool HoldsView() const override { return true; }
    bool Sampling() const;    // the timer takes the points now

private:
    void AddPoint(const MapEvent& e);
    void Close();
};

// "範囲指定": a square dragged from the press becomes the view.
class RangeTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    bool Release(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool BeforeGrabs() const override { return true; }
    int StartX = 0, StartY = 0, Side = 0;   // the square dragged so far, in pixels

private:
    void DrawSquare(const MapEvent& e);
};

// "+" or a double-click: a cross follows the mouse; the press makes its pixel the centre.
class CentreTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    bool Press(const MapEvent& e) override;
    bool Move(const MapEvent& e) override;
    bool DoubleClick() override { return true; }
    void End() override;
    TForm* Owner() const override;
    bool CrossDrawn = false;
    int CrossX = -100, CrossY = -100;

};

// "地図閲覧" or the settings' "ウオッちず": one press opens the web map there.
// It waits in front of the tool armed before, which it then gives back.
class WebMapTool : public OpenTool {
public:
    using OpenTool::OpenTool;
    MapTool* Suspended() const override { return waiting.get(); }
    bool HoldsView() const override { return waiting && waiting->HoldsView(); }
    bool Placing() const override { return waiting && waiting->Placing(); }
    bool Paints() const override { return waiting && waiting->Paints(); }
    std::unique_ptr<MapTool> waiting;
    // Either web-map box arms the tool; unticked, it is gone.
    static void BoxClicked(TOpen& o, TCheckBox* box);
    bool Press(const MapEvent& e) override;
    void End() override;
    TForm* Owner() const override;
    bool BeforeGrabs() const override { return true; }

};
