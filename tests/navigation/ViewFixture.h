// A small area loaded through the area choice, for the view and settings tests.
#pragma once
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "gui/Testing.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"

// One small area loaded through the area choice, as the user does it.
class ViewTest : public FormsTest {
protected:
    TOpen* o = nullptr;
    void FillProgramFolder(const std::filesystem::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        areafiles::WriteAllAreas(dir);
    }
    void SetUp() override {
        FormsTest::SetUp();
        o = Open;
        Ken->AreaBox(13)->SetChecked(true);
        Ken->Button1Click(Ken);
        ASSERT_TRUE(o->gate.MapShown && o->gate.DataReady);
        gui::testing::Messages().clear();
    }
    int redraws = 0;
    void Mark() { redraws = o->RedrawCount; }
    int Redraws() const { return o->RedrawCount - redraws; }
    bool Wheel(int delta, bool shift = false, bool ctrl = false) {
        TShiftState s;
        s.Shift = shift;
        s.Ctrl = ctrl;
        bool handled = false;
        FormMouseWheel(*o, o, s, delta, TPoint(0, 0), handled);
        return handled;
    }
};
