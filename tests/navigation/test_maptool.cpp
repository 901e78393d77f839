// The map image and its one tool: every event goes to the tool armed, the map
// keeps only its own drags, and a tool's state is its own.
#include "navigation/NavigationTools.h"
#include "navigation/MainFormNavigation.h"
#include "tests/navigation/MouseMap.h"
#include <string>
#include <vector>

namespace {

// Writes down what reaches it; answers as it is told.
class Recorder : public OpenTool {
public:
    Recorder(TOpen& o, std::vector<std::string>& log, bool first = false) : OpenTool(o), log(log), first(first) {}
    bool Press(const MapEvent& e) override {
        log.push_back("press " + std::to_string(e.X));
        if (endsItself) o.tools.EndActiveTool();
        // Still alive after its own end: the map frees it later.
        log.push_back(o.tools.ActiveTool() == this ? "still armed" : "ended");
        return goesOn;
    }
    bool Move(const MapEvent& e) override {
        log.push_back("move " + std::to_string(e.X));
        return takesMoves;
    }
    bool Release(const MapEvent&) override {
        log.push_back("release");
        return false;
    }
    bool DoubleClick() override {
        log.push_back("double");
        return true;
    }
    bool Key(int& key) override {
        log.push_back("key " + std::to_string(key));
        return true;
    }
    void End() override { log.push_back(o.tools.ActiveTool() == this ? "end while armed" : "end"); }
    TForm* Owner() const override { return &o; }
    bool BeforeGrabs() const override { return first; }
    std::vector<std::string>& log;
    bool first, goesOn = false, takesMoves = true, endsItself = false;
};

} // namespace

class MapToolTest : public MouseMap {
protected:
    std::vector<std::string> log;
    Recorder& Arm(bool first = false) {
        o->tools.SetTool(std::make_unique<Recorder>(*o, log, first));
        return *o->tools.ToolAs<Recorder>();
    }
};

TEST_F(MapToolTest, EveryEventReachesTheArmedToolAndANewToolEndsItOnce) {
    Recorder& t = Arm();
    Down(10, 10);
    Move(20, 20);
    Up(20, 20);
    Image1DblClick(*o, o->ui.Image1);
    int key = VK_LEFT;
    const int32_t cx = o->CX;
    Image1KeyDown(*o, o->ui.Image1, key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(o->CX, cx) << "the key was the tool's, not a pan";
    EXPECT_EQ(log, (std::vector<std::string>{"press 10", "still armed", "move 20", "release", "double", "key 37"}));
    EXPECT_EQ(o->DistanceMode, 0);

    // A move the tool leaves is the read-out's; a press it lets go on starts a distance.
    t.takesMoves = false;
    o->ui.Label13->SetCaption("");
    Move(300, 300);
    EXPECT_EQ(o->ui.Label13->Caption(), "緯度  34.0000");
    t.goesOn = true;
    Down(300, 300);
    EXPECT_EQ(o->DistanceMode, 1);
    Up(300, 300);
    EXPECT_EQ(o->DistanceMode, 0);

    log.clear();
    o->BtnCenterClick(o);
    EXPECT_EQ(log, std::vector<std::string>{"end"}) << "ended once, and no longer armed while it ends";
    EXPECT_TRUE(o->tools.ToolAs<CentreTool>());
    EXPECT_FALSE(o->ui.BtnCenter->Enabled());
    o->EscapePressed();
    EXPECT_EQ(o->tools.ActiveTool(), nullptr);
    EXPECT_TRUE(o->ui.BtnCenter->Enabled());
}

TEST_F(MapToolTest, AToolEndingItselfRunsToTheEndOfItsPress) {
    Recorder& t = Arm();
    t.endsItself = true;
    Down(10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"press 10", "end", "ended"}));
    EXPECT_EQ(o->tools.ActiveTool(), nullptr);
    Down(30, 30);   // frees it; the press is the map's own
    EXPECT_EQ(o->DistanceMode, 1);
}

TEST_F(MapToolTest, OnlyAToolBeforeTheGrabsTakesAPressOnTheLegend) {
    o->LegendShown = true;
    o->LegendLeft = 100, o->LegendTop = 100, o->LegendRight = 200, o->LegendBottom = 150;
    Arm(false);
    Down(150, 120);
    EXPECT_TRUE(o->LegendDrag);
    EXPECT_TRUE(log.empty());
    Up(150, 120);
    Arm(true);
    log.clear();
    Down(150, 120);
    EXPECT_FALSE(o->LegendDrag);
    EXPECT_EQ(log.front(), "press 150");
}

// The cross is the tool's own: drawn and taken back on any bitmap, and a second
// centre tool never takes back a cross it did not draw.
TEST_F(MapToolTest, TheCentreCrossIsTheToolsOwnOnAnyBitmap) {
    TBitmap bmp(100, 100);
    bmp.Canvas()->Brush->Color = clWhite;
    bmp.Canvas()->FillRect(Rect(0, 0, 100, 100));
    MapEvent e;
    e.canvas = bmp.Canvas();
    e.view = o->DrawnView;
    CentreTool first(*o);
    e.X = 20, e.Y = 20;
    first.Move(e);
    EXPECT_NE(bmp.Canvas()->Pixels(25, 20), clWhite);
    e.X = 60, e.Y = 60;
    first.Move(e);
    EXPECT_EQ(bmp.Canvas()->Pixels(25, 20), clWhite) << "the old cross is taken back";
    EXPECT_NE(bmp.Canvas()->Pixels(65, 60), clWhite);
    CentreTool second(*o);
    e.X = 30, e.Y = 80;
    second.Move(e);
    EXPECT_NE(bmp.Canvas()->Pixels(65, 60), clWhite) << "the first tool's cross stays";
    EXPECT_NE(bmp.Canvas()->Pixels(35, 80), clWhite);
    EXPECT_EQ(o->tools.ActiveTool(), nullptr) << "a tool driven alone is armed nowhere";
}
