// The hand-made map with presses, moves and releases on it, as the image sends them.
#pragma once
#include "gui/Testing.h"
#include "tests/engine/HandMap.h"

class MouseMap : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->gate.MapShown = true;
        gui::testing::Messages().clear();
        gui::testing::ShellOpens().clear();
    }
    void Down(int x, int y, TMouseButton b = mbLeft) { o->Image1MouseDown(o->ui.Image1, b, {}, x, y); }
    void Move(int x, int y) { o->Image1MouseMove(o->ui.Image1, {}, x, y); }
    void Up(int x, int y) { o->Image1MouseUp(o->ui.Image1, mbLeft, {}, x, y); }
    QImage Snapshot() { return o->ui.Image1->Canvas()->Image().copy(); }
    static TColor FontColor(QWidget* w) { return FromQColor(w->palette().color(QPalette::WindowText)); }
    std::vector<gui::testing::MessageRecord>& Messages() { return gui::testing::Messages(); }
};
