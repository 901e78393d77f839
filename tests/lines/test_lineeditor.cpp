#include "engine/Coords.h"
#include "navigation/MainFormNavigation.h"
#include "gui/Files.h"
#include <filesystem>
#include "tests/engine/AreaFiles.h"
#include "tests/lines/LineMap.h"
#include "tests/support/DrawnAt.h"

using LineFiles = LineMap;
using LineEditor = LineMap;

namespace {
std::string Row(int32_t x, int32_t y) { return gui::Format("%7d,%7d\r\n", x, y); }
const char* kComment = "//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n";
} // namespace

TEST_F(LineFiles, SaveWritesTheHeaderBreaksAndTheClosingPoint) {
    la->CBLoop->SetChecked(true);
    NewLine({{100, 100}, {200, 100}, {-1, -1}, {300, 300}});
    ASSERT_EQ(la->PointCount(), 5) << "four rows and the copy of point 0";
    gui::testing::QueueColor(0x00FF00);
    la->Button12Click(nullptr);
    la->CBArrow->SetChecked(true);
    la->CheckBox1->SetChecked(true);
    la->UpDown2->SetPosition(3);
    la->UpDown3->SetPosition(20);
    la->UpDown4->SetPosition(2);
    la->RadioGroup1->SetItemIndex(1);
    const std::string path = (programDir / "a.adl").string();
    gui::testing::QueueFileName(path);
    la->Button6Click(nullptr);

    auto [x0, y0] = At(100, 100);
    auto [x1, y1] = At(200, 100);
    auto [x3, y3] = At(300, 300);
    EXPECT_EQ(Bytes(path), std::string("K,    1,    5,65280,1,3,2,20,2") + kComment + Row(x0, y0) + Row(x1, y1) +
                               Row(0, 0) + Row(x3, y3) + Row(x0, y0));
    EXPECT_EQ(la->LineSaved, 1);
    EXPECT_EQ(la->EditFileName, path);
    EXPECT_EQ(la->Label10->Caption(), "a.adl");
}

// The map jumps to the stored datum once a redraw runs while points are
// placed (a break, a wheel turn); each point is still the one under the cursor.
TEST_F(LineFiles, PointsPressedOnAWgsMapAreSavedInTheTokyoDatumAndReadBackUnchanged) {
    o->WgsDisplay = true;
    o->MAGSTEP = 20;   // the datum shift is some 30 pixels here
    o->ui.UDHor->SetEnabled(true);
    ASSERT_TRUE(o->DrawMap());
    la->Button2Click(nullptr);
    ASSERT_TRUE(o->DrawnView.wgs) << "drawn before the point mode was armed";
    std::vector<std::string> rows;
    auto press = [&](int X, int Y) {
        o->Image1MouseDown(o->ui.Image1, mbLeft, {}, X, Y);
        const int32_t x = std::stoi(la->StringGrid1->Cells(1, la->PointCount() - 1));
        const int32_t y = std::stoi(la->StringGrid1->Cells(2, la->PointCount() - 1));
        EXPECT_TRUE(DrawnAt(x, y, X, Y)) << "the Tokyo position under the cursor";
        rows.push_back(Row(x, y));
    };
    press(100, 100);
    la->Button13Click(nullptr);
    rows.push_back(Row(0, 0));
    EXPECT_FALSE(o->DrawnView.wgs) << "the map jumps while points are placed";
    EXPECT_FALSE(DrawnAt(std::stoi(la->StringGrid1->Cells(1, 0)), std::stoi(la->StringGrid1->Cells(2, 0)), 100, 100))
        << "the first point went with the map";
    press(200, 150);
    TShiftState none;
    bool handled = false;
    FormMouseWheel(*o, o, none, -120, TPoint(0, 0), handled);
    ASSERT_TRUE(handled);
    press(250, 350);
    la->Button10Click(nullptr);
    const std::string path = (programDir / "w.adl").string();
    gui::testing::QueueFileName(path);
    la->Button6Click(nullptr);
    const std::string saved = Bytes(path);
    std::string expected;
    for (const std::string& r : rows) expected += r;
    EXPECT_EQ(saved.substr(saved.find(kComment) + strlen(kComment)), expected);
    ASSERT_TRUE(o->DrawMap());
    ASSERT_TRUE(o->DrawnView.wgs);
    EXPECT_GT(Count(255, 247, 347, 253, 353), 0) << "the last point is drawn back where it was pressed, in WGS";

    // Read back and saved again: the file rows are Tokyo already and must not move.
    la->Button5Click(nullptr);
    gui::testing::QueueFileName(path);
    la->Button1Click(nullptr);
    ASSERT_EQ(la->PointCount(), 4);
    const std::string again = (programDir / "w2.adl").string();
    gui::testing::QueueFileName(again);
    la->Button6Click(nullptr);
    EXPECT_EQ(Bytes(again), saved);
}

TEST_F(LineFiles, ReaderTakesMultiPairRowsStopsAtPointsAndKeepsAnUnterminatedLastDigit) {
    const std::string path = Put("m.adl", "K,    1,    7,255,2,4,1,15,3//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n"
                                          "1,2,3,4,5,6,7,8,9,10\r\n"
                                          "  11,  12\r\n"
                                          "   0,   0\r\n"
                                          "  21,  22");
    gui::testing::QueueFileName(path);
    la->Button1Click(nullptr);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"1,2", "3,4", "5,6", "7,8", "9,10", "11,12", "0,0"}));
    EXPECT_EQ(la->LineColor, 255u);
    EXPECT_EQ(la->UpDown2->Position(), 4);
    EXPECT_EQ(la->UpDown3->Position(), 15);
    EXPECT_EQ(la->UpDown4->Position(), 3);
    EXPECT_EQ(la->RadioGroup1->ItemIndex(), 2);
    EXPECT_TRUE(la->CBArrow->Checked());
    EXPECT_FALSE(la->CheckBox1->Checked());
    EXPECT_EQ(la->LineSaved, 1);
    EXPECT_FALSE(la->EditLineShown) << "a loaded line shows in its own style";

    // More points announced than present: the rows present, the last digit kept.
    const std::string short_ = Put("s.adl", "K,    1,    9,0,0,1,0,12,0//K\r\n  31,  32\r\n  41,  42");
    gui::testing::QueueFileName(short_);
    la->Button1Click(nullptr);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"31,32", "41,42"}));
}

TEST_F(LineFiles, BadFilesAndRefusedSavesLeaveTheLineAndTheOldFile) {
    NewLine({{100, 100}, {200, 100}});
    la->LineSaved = 1;   // no question about the unsaved line
    const auto before = Rows();
    for (const char* bytes : {"K,1,2\r\n 1, 2\r\n", "K,    1,    2,0,0,1,0,12,0//K\r\n  1,  x\r\n  3,  4\r\n"}) {
        gui::testing::Messages().clear();
        gui::testing::QueueFileName(Put("bad.adl", bytes));
        la->Button1Click(nullptr);
        EXPECT_EQ(gui::testing::Messages().size(), 1u) << bytes;
        EXPECT_EQ(Rows(), before);
        EXPECT_EQ(la->EditFileName, "");
    }
    gui::testing::QueueFileName(std::string("/nonexistent-folder/x.adl"));
    gui::testing::Messages().clear();
    la->Button1Click(nullptr);
    EXPECT_EQ(gui::testing::Messages().size(), 1u) << "an unopenable file";

    const std::string path = Put("old.adl", "old");
    la->StringGrid1->SetRow(0);
    la->Button7Click(nullptr);   // row 1 waits for its press
    la->LineSaved = 0;
    gui::testing::Messages().clear();
    gui::testing::QueueFileName(path);
    la->Button6Click(nullptr);
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_NE(gui::testing::Messages()[0].text.find("1 番目"), std::string::npos) << "the message names the row";
    EXPECT_EQ(Bytes(path), "old");
    EXPECT_EQ(la->LineSaved, 0);
    EXPECT_EQ(la->EditFileName, "");

    ToolPress(150, 150);
    gui::testing::Messages().clear();
    gui::testing::QueueFileName(std::string("/nonexistent-folder/y.adl"));
    la->Button6Click(nullptr);
    EXPECT_EQ(gui::testing::Messages().size(), 1u) << "a failed create is reported";
    EXPECT_EQ(la->LineSaved, 0);
    EXPECT_EQ(la->EditFileName, "");
}

TEST_F(LineEditor, InsertDeleteMoveAndBreakKeepTheRowsInOrder) {
    NewLine({{100, 100}, {200, 100}, {300, 100}});
    auto [ax, ay] = At(150, 200);
    la->StringGrid1->SetRow(0);
    la->Button7Click(nullptr);
    EXPECT_EQ(la->PointMode(), 2);
    EXPECT_EQ(la->SelectedPoint, 1);
    EXPECT_EQ(la->StringGrid1->Cells(1, 1), "") << "the row waiting for the press";
    EXPECT_TRUE(o->DrawMap()) << "a redraw with the empty row";
    ToolPress(150, 200);
    EXPECT_EQ(la->PointCount(), 4);
    EXPECT_EQ(la->PointMode(), 0);
    EXPECT_EQ(Rows()[1], std::to_string(ax) + "," + std::to_string(ay));
    for (int i = 0; i < 4; i++) EXPECT_EQ(la->StringGrid1->Cells(0, i), std::to_string(i));

    la->StringGrid1->SetRow(0);
    la->Button11Click(nullptr);
    EXPECT_EQ(la->PointMode(), 3);
    ToolPress(150, 200);
    EXPECT_EQ(Rows()[0], Rows()[1]);
    EXPECT_EQ(la->PointCount(), 4);
    EXPECT_EQ(la->StringGrid1->Row(), 1) << "the selection steps to the next row";

    const auto rows = Rows();
    la->StringGrid1->SetRow(3);
    la->Button3Click(nullptr);
    EXPECT_EQ(Rows(), std::vector<std::string>(rows.begin(), rows.begin() + 3));
    EXPECT_EQ(la->StringGrid1->Row(), 2) << "the last row gone, its predecessor is selected";
    EXPECT_EQ(la->Label2->Caption(), "3");

    // Appending through the insert box, with a break.
    la->CheckBox7->SetChecked(true);
    la->Button7Click(nullptr);
    EXPECT_EQ(la->PointMode(), 1);
    la->Button13Click(nullptr);
    ToolPress(400, 400);
    la->Button10Click(nullptr);
    EXPECT_EQ(la->PointCount(), 5);
    EXPECT_EQ(Rows()[3], "0,0");
}

TEST_F(LineEditor, ReopeningTheEditorKeepsTheWayToEndTheLine) {
    o->ui.BtnLine->Click();
    la->Button2->Click();
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 100, 100);
    o->ui.BtnLine->Click();   // mid-line
    EXPECT_TRUE(la->Button10->Enabled()) << "終わり";
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 200, 100);
    la->Button10->Click();
    ASSERT_EQ(la->PointCount(), 2);
    o->ui.BtnLine->Click();   // a line being edited
    EXPECT_TRUE(la->Button6->Enabled() && la->Button5->Enabled() && la->BtnEdit->Enabled());
    gui::testing::QueueAnswer(IDOK);
    la->Button5->Click();
    // No line: the editor opens afresh.
    o->ui.BtnLine->Click();
    EXPECT_FALSE(la->Button6->Enabled() || la->Button10->Enabled());
    EXPECT_TRUE(la->Button1->Enabled() && la->Button2->Enabled() && la->BtnFile->Enabled());
}

TEST_F(LineEditor, DeletingDownToNothingAndAgainIsHarmless) {
    NewLine({{100, 100}});
    la->Button10Click(nullptr);
    la->StringGrid1->SetRow(0);
    la->Button3Click(nullptr);
    EXPECT_EQ(la->PointCount(), 0);
    la->Button3Click(nullptr);
    EXPECT_EQ(la->PointCount(), 0);
    EXPECT_EQ(la->StringGrid1->RowCount(), 1);
}

TEST_F(LineEditor, ShiftMovesPointsButNotBreaksAndOnlyTheWidthKeepsTheLineSaved) {
    NewLine({{100, 100}, {-1, -1}, {200, 100}});
    const auto before = Rows();
    la->UpDown6->SetPosition(10);
    la->UpDown7->SetPosition(-5);
    la->Button9Click(nullptr);
    auto shifted = [](const std::string& r, int dx, int dy) {
        const size_t c = r.find(',');
        return std::to_string(std::stoi(r.substr(0, c)) + dx) + "," + std::to_string(std::stoi(r.substr(c + 1)) + dy);
    };
    EXPECT_EQ(Rows(), (std::vector<std::string>{shifted(before[0], 10, -5), "0,0", shifted(before[2], 10, -5)}));
    EXPECT_EQ(la->Label19->Caption(), "10");
    EXPECT_EQ(la->Label20->Caption(), "-5");
    EXPECT_EQ(la->UpDown6->Position(), 0);

    la->LineSaved = 1;
    la->UpDown2->UserClick(btNext);
    EXPECT_EQ(la->LineSaved, 1);
    EXPECT_EQ(la->EditLineWidth, 2);
    la->UpDown3->SetEnabled(true);
    la->UpDown3->UserClick(btNext);
    EXPECT_EQ(la->LineSaved, 0);
}

TEST_F(LineEditor, ShownFilesAreAddedOrReplacedAndAPathCannotBeBothEditedAndShown) {
    const std::string a = Put("a.adl", LineFileText({{100, 100}, {200, 200}}, 255, 0, 1));
    const std::string b = Put("b.adl", LineFileText({{100, 200}, {200, 300}}, 0xFF0000, 0, 1));
    const std::string c = Put("c.adl", LineFileText({{300, 200}, {400, 300}}, 0xFF0000, 0, 1));
    ShowFiles({a, b});
    EXPECT_EQ(la->LineFiles, (std::vector<std::string>{a, b}));
    EXPECT_EQ(la->Label18->Caption(), "2 個読み込み");
    EXPECT_TRUE(la->CheckBox2->Enabled() && la->CheckBox2->Checked());
    // With "表示" unticked the files come on in one redraw.
    la->CheckBox2->Click();
    ASSERT_FALSE(la->CheckBox2->Checked());
    const int redraws = Open->RedrawCount;
    ShowFiles({c}, true);
    EXPECT_EQ(Open->RedrawCount - redraws, 1);
    EXPECT_TRUE(la->CheckBox2->Checked());
    EXPECT_EQ(la->LineFiles, (std::vector<std::string>{a, b, c}));
    ShowFiles({c});
    EXPECT_EQ(la->LineFiles, (std::vector<std::string>{c}));

    // Editing a shown file: Cancel keeps all, OK takes it off the list.
    gui::testing::QueueAnswer(IDCANCEL);
    gui::testing::QueueFileName(c);
    la->Button1Click(nullptr);
    EXPECT_EQ(la->EditFileName, "");
    EXPECT_EQ(la->LineFileCount, 1);
    gui::testing::QueueAnswer(IDOK);
    gui::testing::QueueFileName(c);
    la->Button1Click(nullptr);
    EXPECT_EQ(la->EditFileName, c);
    EXPECT_EQ(la->LineFileCount, 0);
    EXPECT_EQ(la->Label18->Caption(), "0 個読み込み");

    // The edited file cannot be shown.
    gui::testing::Messages().clear();
    ShowFiles({a, c});
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(la->LineFileCount, 0);
}

TEST_F(LineEditor, PressedAndFileRowsAreBothDrawnWhereTheyBelongOnAWgsMap) {
    o->WgsDisplay = true;
    o->MAGSTEP = 20;   // the datum shift is some 30 pixels here
    ASSERT_TRUE(o->DrawMap());
    NewLine({{100, 100}, {200, 100}});
    ASSERT_EQ(la->PointMode(), 0);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(255, 97, 97, 103, 103), 0) << "the mark of the pressed point";
    EXPECT_EQ(Px(150, 100), 0u) << "the line between the pressed points";

    // A file row in the Tokyo datum, shown shifted like the map.
    la->LineSaved = 1;
    std::string text = "K,    1,    2,0,0,1,0,12,0//K\r\n";
    for (int px : {300, 400}) {
        int32_t x, y;
        o->ScreenToMap(px, 300, x, y);
        WgsToTokyo(x, y, x, y);
        text += Row(x, y);
    }
    gui::testing::QueueFileName(Put("t.adl", text));
    la->Button1Click(nullptr);
    la->BtnEditClick(nullptr);
    ASSERT_TRUE(la->EditLineShown);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(255, 297, 297, 303, 303), 0);
    EXPECT_EQ(Px(350, 300), 0u);
}

TEST_F(LineEditor, AShownFileWhoseNameHoldsABackslashComesBackFromTheProject) {
    // The map files a restore reads.
    areafiles::WriteMap(programDir, 12, areafiles::Square('C', 149000, 149000, 2000) + "A,150000,150000,東町\n");
    areafiles::WriteOffice(programDir, 12, "◎,150000,150000,東町役場,8\n");
    const std::string a = Put("a\\b.adl", LineFileText({{100, 100}, {200, 200}}, 255, 0, 1));
    std::filesystem::create_directories(programDir / "sub");
    Put("sub/c.adl", LineFileText({{100, 200}, {200, 300}}, 0xFF0000, 0, 1));
    ShowFiles({a});
    ASSERT_EQ(la->LineFiles, std::vector<std::string>{a});
    gui::testing::QueueFileName((programDir / "p.rvx").string());
    Open->Button1Click(Open);
    ShowFiles({(programDir / "sub/c.adl").string()});
    gui::testing::Messages().clear();
    gui::testing::QueueFileName((programDir / "p.rvx").string());
    Open->Button10Click(Open);
    EXPECT_TRUE(gui::testing::Messages().empty()) << gui::testing::Messages()[0].text;
    EXPECT_EQ(la->LineFiles, std::vector<std::string>{a});
    // A path written with '\' for its folders still finds the file.
    EXPECT_EQ(gui::NativePath((programDir / "sub").string() + "\\c.adl"), (programDir / "sub/c.adl").string());
}

// The grid only shows the line: after every kind of edit the file saved and the
// line drawn onto a bitmap of its own hold the rows the grid shows, and a cell
// written over by other code moves neither.
TEST_F(LineEditor, TheGridShowsThePointsThatAreDrawnAndSavedThroughEveryEdit) {
    NewLine({{100, 100}, {200, 100}, {300, 100}});
    la->StringGrid1->SetRow(0);
    la->Button7Click(nullptr);
    o->EscapePressed();   // the insert called off
    la->StringGrid1->SetRow(1);
    la->Button7Click(nullptr);
    ToolPress(250, 200);
    la->StringGrid1->SetRow(0);
    la->Button11Click(nullptr);
    ToolPress(120, 150);
    la->StringGrid1->SetRow(3);
    la->Button3Click(nullptr);
    la->CheckBox7->SetChecked(true);
    la->Button7Click(nullptr);
    la->Button13Click(nullptr);
    ToolPress(400, 300);
    la->Button10Click(nullptr);
    la->UpDown6->SetPosition(3);
    la->UpDown7->SetPosition(-2);
    la->Button9Click(nullptr);
    const std::vector<std::string> shown = Rows();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[3], "0,0");

    auto save = [&](const std::string& name) {
        const std::string path = (programDir / name).string();
        gui::testing::QueueFileName(path);
        la->Button6Click(nullptr);
        return Bytes(path);
    };
    const std::string saved = save("g.adl");
    std::string rows;
    for (const std::string& r : shown) {
        const size_t c = r.find(',');
        rows += Row(std::stoi(r.substr(0, c)), std::stoi(r.substr(c + 1)));
    }
    EXPECT_EQ(saved.substr(saved.find(kComment) + strlen(kComment)), rows);

    // Every point of the grid carries its mark on a bitmap drawn from the layers.
    auto marksOnABitmap = [&] {
        TBitmap bitmap(o->ImageSize, o->ImageSize);
        o->hooks.Layers.Draw(*bitmap.Canvas(), o->DrawnView, o->ReadDrawSettings());
        std::vector<bool> marked;
        for (const std::string& r : shown) {
            const size_t c = r.find(',');
            int X, Y;
            o->MapToScreen(std::stoi(r.substr(0, c)), std::stoi(r.substr(c + 1)), X, Y);
            int red = 0;
            for (int y = Y - 3; y <= Y + 3; y++)
                for (int x = X - 3; x <= X + 3; x++) red += bitmap.Canvas()->Pixels(x, y) == 255u;
            marked.push_back(red > 0);
        }
        return marked;
    };
    const std::vector<bool> all = {true, true, true, false, true};
    EXPECT_EQ(marksOnABitmap(), all);

    la->StringGrid1->SetCells(1, 1, la->StringGrid1->Cells(1, 2));
    la->StringGrid1->SetCells(2, 1, la->StringGrid1->Cells(2, 2));
    EXPECT_EQ(marksOnABitmap(), all) << "row 1 is drawn where the line has it";
    EXPECT_EQ(save("h.adl"), saved);

    // A new line: the map it draws holds no trace of the one left.
    la->Button2Click(nullptr);
    const QImage after = o->ui.Image1->Canvas()->Image().copy();
    ASSERT_TRUE(o->DrawMap());
    EXPECT_TRUE(after == o->ui.Image1->Canvas()->Image()) << "the line left was drawn again";

    // Opened to edit, also with the line hidden: the map is drawn once.
    la->CheckBox3->Click();
    const int before = o->RedrawCount;
    gui::testing::QueueFileName((programDir / "g.adl").string());
    la->Button1Click(nullptr);
    EXPECT_EQ(o->RedrawCount - before, 1);
    EXPECT_EQ(Rows(), shown);
}
