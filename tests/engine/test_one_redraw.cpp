// What the user waits for: each action through its control redraws the map
// once, and a redraw draws the label layer once.
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "navigation/Usettei.h"
#include "paint/Upaint.h"
#include "tests/engine/HandMap.h"
#include <fstream>
#include <functional>

namespace {

struct Drawn {
    int redraws, labelLayers;
};

Drawn Tally(const std::function<void()>& action) {
    const int r = Open->RedrawCount, l = Open->LabelLayerCount;
    action();
    return {Open->RedrawCount - r, Open->LabelLayerCount - l};
}

} // namespace

class OneRedraw : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        SetStore(o->doc.CoastLine, {{{10, 10}, {500, 590}}});
        SetStore(o->doc.PrefLine, {{{50, 300}, {550, 300}}});
        SetStore(o->doc.TownLine, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}}});
        SetStore(o->doc.NTownLine, {{{300, 100}, {300, 200}}});
        o->ui.CBTownBorder->SetChecked(true);
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
};

TEST_F(OneRedraw, ViewAndLayerChoices) {
    auto once = [](const char* what, const std::function<void()>& action) {
        EXPECT_EQ(Tally(action).redraws, 1) << what;
    };
    once("画像ｻｲｽﾞ 1200", [&] { o->ui.RadioGroup1->SetItemIndex(1); });
    once("the settings' size 1800", [&] { Settei->RadioGroup2->SetItemIndex(2); });
    EXPECT_EQ(o->ui.RadioGroup1->ItemIndex(), 2);
    EXPECT_EQ(o->ImageSize, 1800);
    once("画像ｻｲｽﾞ 600", [&] { o->ui.RadioGroup1->SetItemIndex(0); });
    once("×1/2", [&] { o->ui.MAG2->Click(); });
    EXPECT_EQ(o->ImageSize, 300);
    once("×１", [&] { o->ui.MAG1->Click(); });
    once("旧市町村界 on", [&] { o->ui.CBNTownBorder->Click(); });
    once("旧市町村界 off", [&] { o->ui.CBNTownBorder->Click(); });
    ASSERT_TRUE(o->ui.CBPrefBorder->Checked());
    once("都府県界 off", [&] { o->ui.CBPrefBorder->Click(); });
    once("都府県界 on", [&] { o->ui.CBPrefBorder->Click(); });
    o->ui.RadioGroup1->SetItemIndex(1);
    EXPECT_EQ(Tally([&] { o->ui.Button4->Click(); }).redraws, 0) << "画像コピー 1200: the render job, not the screen";
}

TEST_F(OneRedraw, LabelAndPaintFiles) {
    std::ofstream(File("a.lbl"), std::ios::binary) << "\x81\x9B,150000,150000,A,9,255\r\n\x81\x9B,150100,150100,B,9\r\n";
    gui::testing::QueueFileName(File("a.lbl"));
    Drawn d = Tally([] { Letter->Button7->Click(); });
    ASSERT_EQ(Letter->LabelCount, 2);
    EXPECT_EQ(d.redraws, 1) << "label file load";
    EXPECT_EQ(d.labelLayers, 1);

    // The label box off and on, and the position button with it off.
    d = Tally([&] { o->ui.CBLabel->Click(); });
    EXPECT_LE(d.redraws, 1) << "ラベル off";
    d = Tally([&] { o->ui.CBLabel->Click(); });
    EXPECT_LE(d.redraws, 1) << "ラベル on";
    EXPECT_EQ(d.labelLayers, std::max(d.redraws, 1)) << "ラベル on: the labels drawn once";
    o->ui.CBLabel->Click();
    d = Tally([] { Letter->Button2->Click(); });
    EXPECT_LE(d.redraws, 1) << "位置指定";
    EXPECT_EQ(d.labelLayers, std::max(d.redraws, 1)) << "位置指定: the labels drawn once";
    EXPECT_TRUE(Letter->PlacingNewLabel());
    // Once a label has been placed, ticking the box redraws.
    Letter->LabelPlaced = true;
    o->ui.CBLabel->Click();
    d = Tally([&] { o->ui.CBLabel->Click(); });
    EXPECT_EQ(d.redraws, 1) << "ラベル on after a placing";
    EXPECT_EQ(d.labelLayers, 1);

    o->paint.paint_rep = 1;
    o->paint.PaintRecords[0] = {150000, 150000, 0x00FF00, 0};
    gui::testing::QueueFileName(File("p.pnt"));
    MapPaint->Button3->Click();
    o->paint.paint_rep = 0;
    gui::testing::QueueFileName(File("p.pnt"));
    d = Tally([] { MapPaint->Button2->Click(); });
    ASSERT_EQ(o->paint.paint_rep, 1);
    EXPECT_EQ(d.redraws, 1) << "paint file read";
}

// While the redraw is held off (a load, a restore, a handler ticking boxes),
// a handler that holds it itself gives back the gate as it found it.
TEST_F(OneRedraw, HandlersHoldingTheRedrawGiveTheGateBackAsTheyFoundIt) {
    ASSERT_TRUE(o->DrawMap());
    MapPaint->Show();
    const std::vector<std::pair<const char*, std::function<void()>>> actions = {
        {"凡例", [&] { o->ui.CBExp->Click(); }},
        {"ペイント開始", [&] { o->ui.BtnPaint->Click(); }},
        {"ペイント追加", [&] { MapPaint->BtnPaintAdd->Click(); }},
        {"ペイント終了", [&] { MapPaint->Button19->Click(); }},
        {"旧市町村界", [&] { o->ui.CBNTownBorder->Click(); }},
    };
    for (const auto& [what, action] : actions) {
        o->gate.DataReady = false;
        const int redraws = o->RedrawCount;
        action();
        EXPECT_FALSE(o->gate.DataReady) << what;
        EXPECT_EQ(o->RedrawCount, redraws) << what;
        o->gate.DataReady = true;
        action();
        EXPECT_TRUE(o->gate.DataReady) << what;
    }
}
