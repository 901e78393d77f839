#include "components/Mymath.h"
#include "tests/lines/LineMap.h"
#include <cmath>

using LineDrawing = LineMap;

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TEST(MyMath, AngleCoversEveryQuadrantAndTheAxes) {
    const std::pair<std::pair<float, float>, double> cases[] = {
        {{1, 0}, 0},          {{0, 1}, kPi / 2},       {{0, -1}, -kPi / 2},     {{0, 0}, 0},
        {{-1, 0}, -kPi},      {{1, 1}, kPi / 4},       {{-1, -1}, -3 * kPi / 4}, {{-1, 1}, 3 * kPi / 4},
        {{2, -2}, -kPi / 4}};
    for (auto [v, want] : cases) EXPECT_NEAR(double(TMyMath::Angle(v.first, v.second)), want, 1e-9) << v.first << "," << v.second;
}

TEST_F(LineDrawing, ArrowHeadsAreSymmetricAndTrianglesFilled) {
    TCanvas* cv = o->ui.Image1->Canvas();
    cv->Pen->Color = 0;
    cv->Pen->Width = 1;
    // Vertical, horizontal and diagonal segments: each head mirrors across its segment.
    la->DrawArrowHead(300, 100, false, 40, 0, 300, 300);
    for (int y = 250; y <= 300; y++)
        for (int d = 1; d < 20; d++) EXPECT_EQ(Px(300 - d, y) == bg, Px(300 + d, y) == bg) << d << "," << y;
    EXPECT_TRUE(Marked(300 - 10, 255, 270)) << "a wing";
    la->DrawArrowHead(100, 450, false, 40, 0, 250, 450);
    for (int x = 200; x <= 250; x++)
        for (int d = 1; d < 20; d++) EXPECT_EQ(Px(x, 450 - d) == bg, Px(x, 450 + d) == bg) << x << "," << d;
    la->DrawArrowHead(400, 100, false, 40, 0, 500, 200);
    for (int dx = -40; dx <= 0; dx++)
        for (int dy = -40; dy <= 0; dy++) EXPECT_EQ(Px(500 + dx, 200 + dy) == bg, Px(500 + dy, 200 + dx) == bg);

    la->DrawArrowHead(100, 560, true, 30, 0x00FF00, 160, 560);
    EXPECT_EQ(Px(145, 560), 0x00FF00u) << "inside the triangle";
    EXPECT_EQ(Px(145, 559), 0x00FF00u);
    EXPECT_EQ(Px(145, 561), 0x00FF00u);
    EXPECT_EQ(cv->Pen->Style, psSolid);
}

TEST_F(LineDrawing, EditedLineHeadsFollowTheStepAndSkipBreaks) {
    const std::vector<std::pair<int, int>> pts = {{100, 300}, {180, 300}, {260, 300}, {340, 300}, {420, 300}};
    NewLine(pts);
    la->CBArrow->SetChecked(true);
    la->EditArrowSize = 30;
    la->EditLineShown = false;
    auto headAt = [&](int x) { return Marked(x - 20, 290, 296); };
    o->DrawMap();
    la->DrawEditLine();
    EXPECT_TRUE(headAt(420)) << "step 0: the end only";
    for (int x : {180, 260, 340}) EXPECT_FALSE(headAt(x)) << x;
    la->UpDown4->SetPosition(2);
    o->DrawMap();
    la->DrawEditLine();
    EXPECT_TRUE(headAt(260));
    EXPECT_TRUE(headAt(420));
    EXPECT_FALSE(headAt(180));
    EXPECT_FALSE(headAt(340));

    // A break before a point: no head on the segment from the break. A break ending the
    // line: the end head on the last segment drawn, as the same line from a file has it.
    la->Button5Click(nullptr);
    la->LineSaved = 1;
    ShowFiles({Put("b.adl", LineFileText({{100, 500}, {180, 500}, {-1, -1}, {260, 500}, {340, 500}, {-1, -1}}, 0, 0,
                                         1, 1, 30, 3))});
    EXPECT_TRUE(Marked(340 - 20, 490, 496)) << "the file's end head";
    NewLine({{100, 400}, {180, 400}, {-1, -1}, {260, 400}, {340, 400}, {-1, -1}});
    la->EditLineShown = false;
    la->UpDown4->SetPosition(3);
    o->DrawMap();
    la->DrawEditLine();
    EXPECT_FALSE(Marked(260 - 20, 390, 396)) << "row 3 follows a break";
    for (int x = 200; x < 258; x++) EXPECT_FALSE(Marked(x, 403, 460)) << "no wing towards the break's pixel, " << x;
    EXPECT_TRUE(Marked(340 - 20, 390, 396)) << "the line ends with a break";
    for (int x = 250; x < 350; x++) EXPECT_EQ(Marked(x, 380, 420), Marked(x, 480, 520)) << "as from the file, " << x;
    EXPECT_FALSE(Marked(5, 0, 599)) << "nothing drawn at the break's own pixel column";
}

TEST_F(LineDrawing, AtEighteenHundredPixelsEditedHeadsGrowAndLoadedHeadsDoNot) {
    o->COPYSCALE = 3;
    o->ui.Image1->SetImageSize(1800, 1800);
    ASSERT_TRUE(o->DrawMap());
    ASSERT_EQ(o->ImageSize, 1800);
    bg = Px(5, 900);
    NewLine({{300, 600}, {900, 600}});
    la->CBArrow->SetChecked(true);
    la->EditLineShown = false;
    la->DrawEditLine();
    EXPECT_TRUE(Marked(900 - 33, 585, 597)) << "12 x 3 = 36 pixels";
    EXPECT_FALSE(Marked(900 - 40, 580, 597));

    la->Button5Click(nullptr);
    la->LineSaved = 1;
    ShowFiles({Put("h.adl", LineFileText({{300, 1200}, {900, 1200}}, 0xFF0000, 0, 1, 1, 12, 0))});
    EXPECT_TRUE(Marked(900 - 10, 1190, 1198));
    EXPECT_FALSE(Marked(900 - 16, 1180, 1198)) << "a loaded head keeps its 12 pixels";
}

TEST_F(LineDrawing, DashesOnlyAtWidthOneHiddenRowsListedButNotDrawn) {
    const std::string dashed = Put("d.adl", LineFileText({{100, 100}, {500, 100}}, 0xFF0000, 1, 1));
    const std::string wide = Put("w.adl", LineFileText({{100, 200}, {500, 200}}, 0xFF0000, 1, 2));
    const std::string broken = Put("b.adl", LineFileText({{100, 300}, {200, 300}, {-1, -1}, {300, 300}, {400, 300}}, 0xFF0000, 0, 1));
    // A row of three pairs where the header counts two: the third is not drawn.
    auto [x0, y0] = At(100, 400);
    auto [x1, y1] = At(250, 400);
    auto [x2, y2] = At(450, 400);
    const std::string pairs = Put("p.adl", gui::Format("K,    1,    2,16711680,0,1,0,12,0//K\r\n%d,%d,%d,%d,%d,%d\r\n",
                                                       x0, y0, x1, y1, x2, y2));
    ShowFiles({dashed, wide, broken, pairs});
    EXPECT_EQ(Px(200, 400), 0xFF0000u);
    EXPECT_EQ(Px(350, 400), bg);
    auto drawn = [&](int y) {
        int n = 0;
        for (int x = 100; x < 500; x++) n += Px(x, y) == 0xFF0000u;
        return n;
    };
    EXPECT_GT(drawn(100), 100);
    EXPECT_LT(drawn(100), 390) << "gaps of a dashed line at width 1";
    EXPECT_GE(drawn(200), 399) << "wider lines are solid";
    EXPECT_EQ(Px(250, 300), bg) << "the break lifts the pen";
    EXPECT_EQ(Px(150, 300), 0xFF0000u);

    LineSet->StringGrid1->SetRow(1);
    LineSet->StringGrid1DblClick(nullptr);
    EXPECT_EQ(LineSet->StringGrid1->RowCount(), 4);
    EXPECT_EQ(LineSet->StringGrid1->Cells(3, 1), "");
    EXPECT_EQ(drawn(200), 0) << "hidden row";
    EXPECT_GT(drawn(100), 100);
}

TEST_F(LineDrawing, ColourNumbersRunToTenAndTypedNumbersAreChecked) {
    std::vector<std::string> files;
    for (int k = 0; k < 11; k++)
        files.push_back(Put("c" + std::to_string(k) + ".adl",
                            LineFileText({{100, 20 + 40 * k}, {500, 20 + 40 * k}}, TColor(0x010101 * (k + 1)), 0, 1)));
    ShowFiles(files);
    EXPECT_EQ(LineSet->StringGrid1->Cells(2, 9), "10");
    EXPECT_EQ(LineSet->StringGrid1->Cells(2, 10), "10") << "an 11th colour shares number 10";
    EXPECT_EQ(la->ColorTable[9], TColor(0x0A0A0A));
    EXPECT_EQ(Px(300, 420), TColor(0x0A0A0A)) << "drawn in the colour of number 10";

    // A typed number outside 1 to 10 keeps the file's colour; a size below 1 the file's size.
    LineSet->StringGrid1SetEditText(nullptr, 2, 0, "99");
    LineSet->StringGrid1SetEditText(nullptr, 1, 0, "0");
    LineSet->StringGrid1SetEditText(nullptr, 2, 1, "3");
    LineSet->Button12Click(nullptr);
    EXPECT_EQ(Px(300, 20), TColor(0x010101));
    EXPECT_EQ(Px(300, 21), bg) << "width 1 from the file";
    EXPECT_EQ(Px(300, 60), TColor(0x030303)) << "colour number 3";
}

TEST_F(LineDrawing, ColourButtonsRecolourANumberAndTheMenuHighlightsALine) {
    const std::string a = Put("a.adl", LineFileText({{100, 100}, {500, 100}}, 0xFF0000, 0, 1));
    const std::string b = Put("b.adl", LineFileText({{100, 200}, {-1, -1}, {200, 300}, {500, 300}}, 255, 0, 1));
    ShowFiles({a, b});
    ASSERT_EQ(LineSet->StringGrid1->Cells(2, 1), "2");
    gui::testing::QueueColor(0x00FF00);
    LineSet->ColourButtonClick(2);
    EXPECT_EQ(LineSet->UserColors, 1);
    EXPECT_EQ(Px(300, 300), 0x00FF00u) << "number 2 in its new colour";
    EXPECT_EQ(Px(300, 100), 0xFF0000u);

    LineSet->StringGrid1->SetRow(1);
    LineSet->RailColor = 0x123456;
    LineSet->N1Click(nullptr);
    EXPECT_EQ(Px(300, 301), 0x123456u) << "three pixels wide";
    EXPECT_EQ(Px(150, 250), bg) << "the break moves to the next point";

    // Room for 1800 files: one more is refused whole.
    std::string many;
    for (int i = 0; i <= LINE_FILE_MAX; i++) many += (i ? "\n" : "") + a;
    gui::testing::Messages().clear();
    gui::testing::QueueFileName(many);
    la->BtnFileClick(nullptr);
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(la->LineFileCount, 2);
}

// A file that cannot be drawn is named and not counted; one good file still loads.
TEST_F(LineDrawing, DamagedOrOutOfRangeFilesAreNamedAndNotCounted) {
    const std::string good = Put("good.adl", LineFileText({{100, 300}, {500, 300}}, 0xC000C0, 0, 2));
    std::vector<std::string> bad = {
        Put("empty.adl", ""),
        Put("short.adl", "K,    1,    2,255,0\r\n"),
        Put("binary.adl", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR,1,2,3,4,5,6,7,8,9\r\n", 34)),
        Put("wide.adl", LineFileText({{100, 200}, {500, 200}}, 255, 0, 100000)),
        Put("arrow.adl", LineFileText({{100, 250}, {500, 250}}, 255, 0, 1, 1, 2147483647)),
    };
    std::vector<std::string> chosen = bad;
    chosen.push_back(good);
    la->Button15->Click();
    ShowFiles(chosen);
    const auto& shown = gui::testing::Messages();
    ASSERT_EQ(shown.size(), bad.size());
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_NE(shown[i].text.find(bad[i]), std::string::npos) << shown[i].text;
    EXPECT_EQ(la->LineFileCount, 1);
    EXPECT_EQ(la->Label18->Caption(), "1 個読み込み");
    EXPECT_EQ(LineSet->StringGrid1->Cells(0, 0), "good");
    EXPECT_EQ(Px(300, 300), 0xC000C0);
    EXPECT_EQ(Px(300, 150), bg) << "no line paints the map";

    // Only damaged files: the list stays as it was.
    gui::testing::Messages().clear();
    ShowFiles({bad[0]});
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(la->LineFileCount, 1);
    EXPECT_EQ(la->LineFiles[0], good);
}

// A shown file that the editor saves anew, to the same byte count, is drawn
// as saved at the next redraw, and keeps the mark the user gave it.
TEST_F(LineDrawing, AShownFileSavedAnewIsDrawnAsSaved) {
    const std::string a = Put("a.adl", LineFileText({{100, 100}, {500, 100}}, 0, 0, 1));
    const std::string b = Put("b.adl", LineFileText({{100, 200}, {500, 200}}, 0, 0, 1));
    ShowFiles({a, b});
    ASSERT_EQ(Px(300, 100), 0u);
    LineSet->StringGrid1->SetRow(1);
    LineSet->StringGrid1DblClick(nullptr);
    ASSERT_EQ(Px(300, 200), bg);

    const size_t size = Bytes(a).size();
    NewLine({{100, 300}, {500, 300}});
    gui::testing::QueueFileName(a);
    la->Button6Click(nullptr);
    la->Button5Click(nullptr);
    ASSERT_EQ(Bytes(a).size(), size);
    gui::testing::QueueFileName(b);
    NewLine({{100, 400}, {500, 400}});
    la->Button6Click(nullptr);
    la->Button5Click(nullptr);
    EXPECT_EQ(Px(300, 300), 0u) << "a as saved";
    EXPECT_EQ(Px(300, 100), bg);
    EXPECT_EQ(Px(300, 400), bg) << "b as saved, still hidden";
    EXPECT_EQ(LineSet->StringGrid1->Cells(3, 1), "");
}
