#include "tests/support/ToolPress.h"
#include "labels/MainFormLabels.h"
#include "labels/LabelTools.h"
#include "engine/Coords.h"
#include <array>
#include "labels/Upagesdlg.h"
#include "tests/labels/LabelsMap.h"
#include "tests/support/DrawnAt.h"

namespace {
constexpr TColor kMap = 0x00AA00, kUnder = 0x0000AA, kBeneath = 0x00AAAA, kInk = 0xAA0000;
}

class Symbols : public LabelsMap {
protected:
    TPagesDlg* P = nullptr;
    void SetUp() override {
        LabelsMap::SetUp();
        P = PagesDlg;
        std::filesystem::create_directories(programDir / "mark");
        // Black corners on white; 14, 16 and 18 pixels.
        Picture("100s.bmp", 14, {{0, 0}, {13, 13}});
        Picture("100.bmp", 16, {{0, 0}, {15, 15}}, {{5, 5}});
        Picture("100m.bmp", 18, {{0, 0}, {17, 17}});
        Picture("blank.bmp", 16, {});
    }
    void Picture(const std::string& name, int side, std::vector<std::pair<int, int>> black,
                 std::vector<std::pair<int, int>> red = {}) {
        TBitmap b(side, side);
        b.Image().fill(0xFFFFFFFF);
        for (auto [x, y] : black) b.Canvas()->SetPixel(x, y, 0);
        for (auto [x, y] : red) b.Canvas()->SetPixel(x, y, 255);
        ASSERT_TRUE(b.SaveToFile((programDir / "mark" / name).string()));
    }
    // The map under the symbol: one colour, the point itself and one pixel beside it marked.
    void PrepareMap() {
        TCanvas* c = o->ui.Image1->Canvas();
        c->Brush->Color = kMap;
        c->FillRect(Rect(0, 0, 600, 600));
        c->SetPixel(300, 300, kUnder);
        c->SetPixel(302, 303, kBeneath);
    }
    void Draw(int size, bool transparent, int code = 100) {
        PrepareMap();
        auto [x, y] = At(300, 300);
        P->DrawSymbol({code, x, y, kInk, size, uint8_t(transparent)});
        o->WgsDisplay = false;
    }
};

TEST_F(Symbols, EveryBlackPixelTakesTheColourAtEachSizeAndMode) {
    // Transparent: centred; every other pixel shows the map beneath.
    Draw(18, true);
    EXPECT_EQ(Px(291, 291), kInk);
    EXPECT_EQ(Px(308, 308), kInk) << "beyond the first 16 pixels too";
    EXPECT_EQ(Px(302, 303), kBeneath);
    EXPECT_EQ(Px(307, 292), kMap);
    Draw(16, true);
    EXPECT_EQ(Px(292, 292), kInk);
    EXPECT_EQ(Px(307, 307), kInk);
    EXPECT_EQ(Px(297, 297), kMap) << "a red pixel of the picture is not a black one: the map shows";
    Draw(14, true);
    EXPECT_EQ(Px(293, 293), kInk);
    EXPECT_EQ(Px(306, 306), kInk);
    EXPECT_EQ(Px(300, 300), kUnder);

    // Opaque: white takes the map colour at the point; 18 pixels start 5 right of and below it.
    Draw(18, false);
    EXPECT_EQ(Px(305, 305), kInk);
    EXPECT_EQ(Px(322, 322), kInk);
    EXPECT_EQ(Px(310, 310), kUnder);
    EXPECT_EQ(Px(304, 304), kMap);
    Draw(16, false);
    EXPECT_EQ(Px(292, 292), kInk);
    EXPECT_EQ(Px(307, 307), kInk);
    EXPECT_EQ(Px(302, 303), kUnder);
    Draw(14, false);
    EXPECT_EQ(Px(293, 293), kInk);
    EXPECT_EQ(Px(306, 306), kInk);
    EXPECT_EQ(Px(307, 307), kMap);

    // A custom picture larger than 16 pixels: its 16-pixel square, centred, in both modes.
    Picture("221.bmp", 32, {{0, 0}, {15, 15}, {20, 20}, {31, 31}});
    for (bool transparent : {true, false})
        for (int size : {16, 18}) {
            Draw(size, transparent, 221);
            EXPECT_EQ(Px(292, 292), kInk) << transparent << size;
            EXPECT_EQ(Px(307, 307), kInk) << transparent << size;
            EXPECT_EQ(Px(312, 312), kMap) << transparent << size;
            EXPECT_EQ(Px(323, 323), kMap) << transparent << size;
        }

    // At the image's edges a transparent symbol keeps the part that falls inside.
    for (auto [px, py, ix, iy] : {std::array{2, 2, 9, 9}, std::array{597, 597, 589, 589}}) {
        PrepareMap();
        auto [x, y] = At(px, py);
        P->DrawSymbol({100, x, y, kInk, 16, 1});
        EXPECT_EQ(Px(ix, iy), kInk) << px;
        EXPECT_EQ(Px(ix + 1, iy + 1), kMap) << px;
    }

    // Drawing leaves the palette's own size and picture alone.
    EXPECT_EQ(P->SymbolSize, 16);
}

TEST_F(Symbols, TheColourChoiceRecoloursTheCurrentPicture) {
    P->SelectSymbol(100);
    EXPECT_TRUE(P->Stamping());
    EXPECT_EQ(P->CursorId, 1);
    Draw(18, false);   // a redraw in between must not change the current picture
    TCanvas* c = P->SymbolBitmap->Canvas();
    EXPECT_EQ(c->Pixels(0, 0), 255);
    gui::testing::QueueColor(0x00FF00);
    P->Button7Click(nullptr);
    EXPECT_EQ(c->Pixels(0, 0), 0x00FF00);
    EXPECT_EQ(c->Pixels(15, 15), 0x00FF00);
    EXPECT_EQ(c->Pixels(5, 5), 255) << "a pixel red in the file stays red";
    EXPECT_EQ(P->SymbolBitmap->Width(), 16);
}

TEST_F(Symbols, PressesPlaceSymbolsAndMissingPicturesAreReportedOncePerRedraw) {
    P->SelectSymbol(100);
    ToolPress(100, 100);
    ASSERT_EQ(P->PlacedSymbolCount, 1);
    EXPECT_TRUE(DrawnAt(P->PlacedSymbols[0].x, P->PlacedSymbols[0].y, 116, 116)) << "the cursor's point";
    EXPECT_EQ(P->PlacedSymbols[0].color, 255);
    EXPECT_EQ(P->PlacedSymbols[0].transparent, 1);

    o->tools.ToolAs<StampTool>()->Typed = true;
    P->TypedX = 1234, P->TypedY = 5678;
    ToolPress(5, 5);
    ASSERT_EQ(P->PlacedSymbolCount, 2);
    EXPECT_EQ(P->PlacedSymbols[1].x, 1234);
    EXPECT_FALSE(o->tools.ToolAs<StampTool>()->Typed);

    // A symbol chosen while the switch is off is refused at the press, and waits no more.
    P->Button6Click(nullptr);
    P->SelectSymbol(100);
    ToolPress(5, 5);
    EXPECT_FALSE(P->Stamping());
    EXPECT_EQ(gui::testing::Messages().back().caption, "スタンプ機能");
    P->Button6Click(nullptr);

    // A custom symbol without its picture is not placed.
    gui::testing::Messages().clear();
    P->SymbolCode = 230;
    ToolPress(5, 5);
    EXPECT_EQ(P->PlacedSymbolCount, 2);
    EXPECT_EQ(gui::testing::Messages().back().text, "カスタム記号はブランクです          ");

    gui::testing::Messages().clear();
    for (int i = 0; i < 3; ++i) P->PlacedSymbols[P->PlacedSymbolCount++] = {119, 0, 0, 0, 16, 0};
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(gui::testing::Messages().size(), 2u);

    // A full list refuses the next symbol; a file read past the bound reports it once.
    gui::testing::Messages().clear();
    P->SymbolCode = 100;
    P->PlacedSymbolCount = SYMBOL_MAX;
    ToolPress(5, 5);
    EXPECT_EQ(P->PlacedSymbolCount, SYMBOL_MAX);
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
    std::string lines;
    for (int i = 0; i < SYMBOL_MAX + 5; ++i) lines += "100,1,2,255,16,1\n";
    Write("big.mks", lines);
    P->CBMarkAdd->SetChecked(true);
    std::fill(P->PlacedSymbols.begin(), P->PlacedSymbols.end(), PlacedSymbol{100, 0, 0, 0, 16, 0});
    P->PlacedSymbolCount = SYMBOL_MAX - 2;
    gui::testing::QueueFileName((programDir / "big.mks").string());
    P->Button11Click(nullptr);
    EXPECT_EQ(P->PlacedSymbolCount, SYMBOL_MAX);
    EXPECT_EQ(gui::testing::Messages().size(), 2u);
}

TEST_F(Symbols, SymbolFilesTrustTheirLinesNotTheirCount) {
    Write("a.mrk", "9,STAMP_CT\n100,1,2,255,16,7\n1,2,3\n200,4,5,0,18,0\n");
    gui::testing::QueueFileName((programDir / "a.mrk").string());
    P->Button8Click(nullptr);
    ASSERT_EQ(P->PlacedSymbolCount, 2);
    EXPECT_EQ(P->PlacedSymbols[0].transparent, 1);
    EXPECT_EQ(P->PlacedSymbols[1].size, 18);
    EXPECT_EQ(P->Label41->Caption(), "a.mrk");

    gui::testing::QueueFileName((programDir / "b").string());
    P->Button10Click(nullptr);
    EXPECT_EQ(Bytes("b.mks"), "100,1,2,255,16,1\r\n200,4,5,0,18,0\r\n");
    gui::testing::QueueFileName((programDir / "c.mrk").string());
    P->Button9Click(nullptr);
    EXPECT_EQ(Bytes("c.mrk"), "2,STAMP_CT\r\n100,1,2,255,16,1\r\n200,4,5,0,18,0\r\n");

    P->CBMarkAdd->SetChecked(true);
    gui::testing::QueueFileName((programDir / "b.mks").string());
    P->Button11Click(nullptr);
    EXPECT_EQ(P->PlacedSymbolCount, 4);
    P->CBMarkAdd->SetChecked(false);
    gui::testing::QueueFileName((programDir / "b.mks").string());
    P->Button11Click(nullptr);
    EXPECT_EQ(P->PlacedSymbolCount, 2);

    P->PlacedSymbolCount = 0;
    gui::testing::Messages().clear();
    P->Button10Click(nullptr);
    EXPECT_EQ(gui::testing::Messages().back().caption, "ファイル保存エラー");
}

TEST_F(Symbols, DeletingCustomSymbolsResetsThePaletteAndTheSizeMenu) {
    Picture("221.bmp", 16, {{1, 1}});
    LabelControlsOf(*o).N181->Click();
    EXPECT_EQ(P->SymbolSize, 18);
    P->StampColor = 0x00FF00;
    LabelControlsOf(*o).N19->Click();
    EXPECT_FALSE(std::filesystem::exists(programDir / "mark" / "221.bmp"));
    EXPECT_EQ(P->StampColor, 255);
    EXPECT_EQ(P->SymbolSize, 16);
    EXPECT_TRUE(LabelControlsOf(*o).N161->Checked());
    EXPECT_FALSE(LabelControlsOf(*o).N181->Checked());

    // Copying from the symbol folder itself is refused, also when spelt differently.
    gui::testing::QueueFileName((programDir / "MARK" / "x.bmp").string());
    gui::testing::Messages().clear();
    LabelControlsOf(*o).N20->Click();
    EXPECT_EQ(gui::testing::Messages().back().text, "コピーまたは保存するフォルダ名が同一です");
}

TEST_F(Symbols, TypedPositionsAndTheStampSwitch) {
    P->SelectSymbol(105);
    P->CBIchi->SetChecked(true);
    EXPECT_TRUE(P->BtnIchi->Enabled());
    P->Edit2->SetText("137.0000");
    P->Edit3->SetText("34.0000");
    P->CBGSICor->SetChecked(true);
    P->BtnIchiClick(nullptr);
    ASSERT_EQ(P->PlacedSymbolCount, 1);
    EXPECT_EQ(P->PlacedSymbols[0].x, MapXOf(137.0f) + 30);
    EXPECT_EQ(P->PlacedSymbols[0].y, MapYOf(34.0f) - 45);
    EXPECT_FALSE(o->tools.ToolAs<StampTool>()->Typed);

    // Switched off: the typed placement is refused with its message.
    P->Button6Click(nullptr);
    EXPECT_TRUE(P->StampDisabled);
    EXPECT_FALSE(P->Stamping());
    EXPECT_EQ(P->StampLabels[0]->Caption(), "無効");
    P->BtnIchiClick(nullptr);
    EXPECT_EQ(P->PlacedSymbolCount, 1);
    EXPECT_EQ(gui::testing::Messages().back().caption, "スタンプ機能");
    P->Button6Click(nullptr);
    EXPECT_TRUE(P->Stamping());

    // Undo stops at an empty list.
    P->CancelBtnClick(nullptr);
    P->CancelBtnClick(nullptr);
    EXPECT_EQ(P->PlacedSymbolCount, 0);
    EXPECT_FALSE(P->CancelBtn->Enabled());
}

// The read-out's figures typed back put the symbol on the pointed pixel,
// whichever datum the map is drawn in.
TEST_F(Symbols, ATypedLongitudeAndLatitudeAreTakenInTheDatumOfTheReadout) {
    o->MAGSTEP = 50;   // the datum shift is many pixels here
    P->SelectSymbol(100);
    P->CBIchi->SetChecked(true);
    for (bool wgs : {true, false}) {
        P->HelpBtnClick(P->HelpBtn);   // no stamp armed: the map is drawn as the user chose
        o->WgsDisplay = wgs;
        ASSERT_TRUE(o->DrawMap());
        ASSERT_EQ(o->DrawnView.wgs, wgs);
        o->Image1MouseMove(o->ui.Image1, {}, 300, 300);
        auto typed = [](const std::string& readout) { return readout.substr(readout.find_last_of(' ') + 1); };
        P->Edit2->SetText(typed(o->ui.Label14->Caption()));
        P->Edit3->SetText(typed(o->ui.Label13->Caption()));
        const int before = P->PlacedSymbolCount;
        P->BtnIchi->Click();
        ASSERT_EQ(P->PlacedSymbolCount, before + 1);
        const PlacedSymbol& s = P->PlacedSymbols[before];
        int sx = 0, sy = 0;
        o->MapToScreen(s.x, s.y, sx, sy);
        EXPECT_NEAR(sx, 300, 1) << (wgs ? "WGS " : "Tokyo ") << P->Edit2->Text();
        EXPECT_NEAR(sy, 300, 1) << (wgs ? "WGS " : "Tokyo ") << P->Edit3->Text();
        EXPECT_EQ(Px(sx + 7, sy + 7), 255) << "the stamp drawn where it is kept";
    }
}

// Stamped on a WGS map before any redraw in stamp mode, the symbol keeps to
// the map place under the cursor when the map jumps and when it comes back.
TEST_F(Symbols, AStampKeepsToItsMapPlaceWhenTheMapJumpsAndReturns) {
    o->WgsDisplay = true;
    o->MAGSTEP = 20;   // the datum shift is some 30 pixels here
    ASSERT_TRUE(o->DrawMap());
    // A coast line from the stamp's point down.
    int32_t px, py, qx, qy;
    o->PressToData(116, 116, px, py);
    o->PressToData(116, 200, qx, qy);
    const int32_t line[] = {2, px, py, qx, qy, -999};
    std::copy(std::begin(line), std::end(line), o->doc.CoastLine.Words.begin());
    o->doc.CoastLine.Fill = 5;
    o->doc.CoastLine.Changed();
    ASSERT_TRUE(o->DrawMap());
    P->SelectSymbol(100);
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 100, 100);
    ASSERT_EQ(P->PlacedSymbolCount, 1);
    auto inkAtPlace = [&] {
        int sx, sy;
        o->MapToScreen(px, py, sx, sy);
        return Px(sx - 8, sy - 8) == 255 && Px(sx + 7, sy + 7) == 255 && Px(sx, sy + 10) == o->style.CoastColor;
    };
    EXPECT_TRUE(inkAtPlace());
    ASSERT_TRUE(o->DrawMap());
    ASSERT_FALSE(o->DrawnView.wgs) << "the map jumps while a symbol is placed";
    EXPECT_TRUE(inkAtPlace());
    P->HelpBtnClick(P->HelpBtn);
    ASSERT_TRUE(o->DrawMap());
    ASSERT_TRUE(o->DrawnView.wgs);
    EXPECT_TRUE(inkAtPlace());
    EXPECT_EQ(Px(108, 108), 255);
}
