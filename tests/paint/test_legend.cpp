// The legend: its box on the map at every size, its editor and its file.
#include "gui/Testing.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/engine/HandMap.h"
#include <fstream>

using gui::testing::Messages;

class Legend : public HandMap {
protected:
    THanrei* h = nullptr;
    void SetUp() override {
        HandMap::SetUp();
        h = Hanrei;
        // Empty texts: the box is then as wide as the swatch and its spacing.
        for (int i = 0; i < 8; ++i) h->RowEdit(i)->SetText("");
        h->Edit9->SetText("");
        h->CBExpDisplay->SetChecked(true);
        h->LegendOn = true;
    }
    void DrawAt(int copyScale, int reduction) {
        o->COPYSCALE = copyScale;
        o->SSIZE = reduction;
        ASSERT_TRUE(o->DrawMap());
        EXPECT_TRUE(o->LegendShown);
    }
    std::vector<int> Box() { return {o->LegendLeft, o->LegendTop, o->LegendRight, o->LegendBottom}; }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(programDir / name, std::ios::binary) << text;
    }
    void Read(const std::string& name) {
        gui::testing::QueueFileName(File(name));
        h->Button1Click(h);
    }
};

TEST_F(Legend, TheBoxFollowsTheImageSizeAndTheTitle) {
    DrawAt(1, 1);
    EXPECT_EQ(Box(), (std::vector<int>{45, 45, 105, 126}));
    // The frame is black and two pixels wide, across the box's left edge; the first row lies one pitch below the title.
    EXPECT_EQ(Px(43, 80), o->style.BackColor);
    EXPECT_EQ(Px(44, 80), clBlack);
    EXPECT_EQ(Px(45, 80), clBlack);
    EXPECT_EQ(Px(46, 80), clWhite);
    EXPECT_EQ(Px(50, 68), clBlack) << "first swatch's top edge at y + h + d";
    EXPECT_EQ(Px(60, 75), o->style.DefPaintColor[0]);

    h->CBMenuTitle->SetChecked(false);
    DrawAt(1, 1);
    EXPECT_EQ(Box(), (std::vector<int>{45, 45, 105, 108}));
    EXPECT_EQ(Px(50, 50), clBlack) << "without the title the first row starts at y";

    h->CBMenuTitle->SetChecked(true);
    DrawAt(2, 1);
    EXPECT_EQ(Box(), (std::vector<int>{90, 90, 210, 251}));
    DrawAt(1, 5);
    EXPECT_EQ(Box(), (std::vector<int>{9, 9, 21, 27}));
}

TEST_F(Legend, SizesRoundHalfToEven) {
    h->UpDown5->SetPosition(45);   // 22.5 at 300 pixels
    DrawAt(1, 2);
    EXPECT_EQ(o->LegendLeft, 22);
    // Swatch from x = 25, 22 pixels wide, its top at y + h + d = 12.5 + 8 + 2 -> 35.
    EXPECT_EQ(Px(46, 38), clBlack);
    EXPECT_EQ(Px(47, 38), clWhite);
    EXPECT_EQ(Px(40, 38), o->style.DefPaintColor[0]);
}

TEST_F(Legend, AnUntickedFrameIsDrawnInTheFillColour) {
    h->CBExpWaku->SetChecked(false);
    EXPECT_FALSE(h->CBBold->Enabled());
    DrawAt(1, 1);
    EXPECT_EQ(Px(45, 80), clWhite);
    h->CBExpWaku->SetChecked(true);
    EXPECT_TRUE(h->CBBold->Enabled());
    EXPECT_EQ(Px(45, 80), clBlack);
    h->CBExpDisplay->SetChecked(false);
    EXPECT_FALSE(o->LegendShown);
    EXPECT_EQ(Px(45, 80), o->style.BackColor);
}

TEST_F(Legend, ABadNumberBoxKeepsTheRecordAndDoesNotStopTheRedraw) {
    h->Edit11->SetText("60");
    h->Edit13->SetText("abc");
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(h->LegendW, 60);
    EXPECT_EQ(h->LegendX, 50);
    EXPECT_EQ(h->Edit13->Text(), "50");
    EXPECT_EQ(o->LegendLeft, 45);

    h->Edit12->SetText("1.5");
    h->Button3Click(h);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "凡例の数値の指定が正しくありません");
    EXPECT_EQ(Messages()[0].caption, "凡例エラー");
    EXPECT_EQ(h->Edit12->Text(), "15");
    EXPECT_TRUE(h->LegendOn);
}

TEST_F(Legend, DroppingTheLegendMovesItInBaseUnits) {
    DrawAt(2, 1);
    o->DropLegend(200, 301);
    EXPECT_EQ(h->UpDown3->Position(), 105);
    EXPECT_EQ(h->UpDown4->Position(), 155);
    EXPECT_EQ(h->LegendX, 105);
    EXPECT_EQ(o->LegendLeft, 200);
    // The same through a drag on the map.
    o->gate.MapShown = true;
    o->Image1MouseDown(o, mbLeft, TShiftState(), 210, 320);
    EXPECT_TRUE(o->LegendDrag);
    o->Image1MouseUp(o, mbLeft, TShiftState(), 300, 320);
    EXPECT_EQ(h->LegendX, 155);
    EXPECT_FALSE(o->LegendDrag);
}

// A drag of the legend or of the scale bar through the image's own mouse
// events: the moves draw outlines only, never the map; the drop draws the map
// once, with no outline left, the same picture as the box placed there directly.
TEST_F(Legend, ADragMovesOnlyAnOutlineAndTheDropDrawsTheMapOnce) {
    o->ui.CBScale->SetChecked(true);
    DrawAt(2, 1);
    ASSERT_TRUE(o->ScaleShown);
    o->gate.MapShown = true;
    const QImage before = o->ui.Image1->Canvas()->Image().copy();
    struct Drag {
        const char* what;
        int fromX, fromY, toX, toY;
    };
    const float k = o->ImageSize / 600.0f;
    const Drag drags[] = {{"legend", o->LegendLeft + 5, o->LegendTop + 5, 300, 420},
                          {"scale bar", int(o->style.scl_x1 * k) + 5, int(o->style.scly1 * k) + 5, 240, 200}};
    for (const Drag& d : drags) {
        const int drawn = o->RedrawCount;
        o->Image1MouseDown(o->ui.Image1, mbLeft, {}, d.fromX, d.fromY);
        ASSERT_TRUE(o->LegendDrag || o->ScaleDrag) << d.what;
        for (int i = 1; i <= 12; ++i)
            o->Image1MouseMove(o->ui.Image1, {}, d.fromX + (d.toX - d.fromX) * i / 12, d.fromY + (d.toY - d.fromY) * i / 12);
        EXPECT_EQ(o->RedrawCount, drawn) << d.what << ": a move draws no map";
        EXPECT_NE(o->ui.Image1->Canvas()->Image(), before) << d.what << ": the outline follows the mouse";
        o->Image1MouseUp(o->ui.Image1, mbLeft, {}, d.toX, d.toY);
        EXPECT_EQ(o->RedrawCount, drawn + 1) << d.what;
        EXPECT_FALSE(o->LegendDrag || o->ScaleDrag);
        const QImage dropped = o->ui.Image1->Canvas()->Image().copy();
        ASSERT_TRUE(o->DrawMap());
        EXPECT_EQ(dropped, o->ui.Image1->Canvas()->Image()) << d.what << ": no outline left after the drop";
        EXPECT_EQ(o->ui.Image1->Canvas()->Pen->Mode, pmCopy);
    }
    EXPECT_EQ(h->LegendX, int(300 / k + 5));
    EXPECT_EQ(h->LegendY, int(420 / k + 5));
    EXPECT_EQ(o->style.scl_x1, int(240 / k));
    EXPECT_EQ(o->style.scly1, int(200 / k));
    // The boxes placed there directly give the same picture.
    const QImage dragged = o->ui.Image1->Canvas()->Image().copy();
    h->UpDown3->SetPosition(h->LegendX);
    h->UpDown4->SetPosition(h->LegendY);
    h->Button3Click(h);
    EXPECT_EQ(dragged, o->ui.Image1->Canvas()->Image());
}

TEST_F(Legend, AFileOfThreeRowsHasFourteenLinesAndComesBack) {
    h->UpDown1->SetPosition(3);
    h->Edit9->SetText("県 の 人口, 2020");
    h->Edit1->SetText("多い, 500 人 以上");
    h->LegendPatterns[1] = 6;
    h->LegendColors[2] = 0x00AB00;
    gui::testing::QueueFileName(File("a.exp"));
    h->Button2Click(h);
    std::string text = testsupport::ReadBytes(programDir / "a.exp");
    int lines = 0;
    for (size_t p = 0; (p = text.find("\r\n", p)) != std::string::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 14);
    EXPECT_EQ(text.substr(0, 12), "         3\r\n");
    EXPECT_NE(text.find("0x00c0e474,0x00000000,"), std::string::npos);

    h->Edit9->SetText("x");
    h->Edit1->SetText("y");
    h->LegendPatterns[1] = 0;
    h->LegendColors[2] = 0;
    Read("a.exp");
    EXPECT_TRUE(Messages().empty());
    // What was written is read: blanks and commas stay in the title and the descriptions.
    EXPECT_EQ(h->Edit9->Text(), "県 の 人口, 2020");
    EXPECT_EQ(h->Edit1->Text(), "多い, 500 人 以上");
    EXPECT_EQ(h->Edit4->Text(), "");
    EXPECT_EQ(h->LegendPatterns[1], 6);
    EXPECT_EQ(h->LegendColors[2], 0x00AB00);
    EXPECT_EQ(h->Label22->Caption(), File("a.exp"));
    EXPECT_EQ(h->SaveDialog1->FileName, "a.exp");
}

TEST_F(Legend, NumbersTypedIntoTheCountAndSizeBoxesAreDrawnSavedAndCountedOn) {
    h->UpDown1->SetPosition(8);
    testsupport::TypeInto(h->Edit10, "3", false);
    testsupport::TypeInto(h->Edit16, "20", false);
    h->Button3->Click();
    EXPECT_EQ(h->LegendCount, 3);
    EXPECT_EQ(h->LegendTextSize, 20);
    gui::testing::QueueFileName(File("t.exp"));
    h->Button2Click(h);
    EXPECT_EQ(testsupport::ReadBytes(programDir / "t.exp").substr(0, 12), "         3\r\n");
    h->UpDown1->UserClick(btNext);
    EXPECT_EQ(h->UpDown1->Position(), 4);
}

TEST_F(Legend, FaultyFilesChangeNothing) {
    const std::string head = "3\r\n40\r\n15\r\n3\r\n50\r\n50\r\n10\r\n0x0\r\n0x0\r\n0xffffff\r\nT\r\n";
    const std::string rows = "0x0000ff,0,a\r\n0x00ff00,6,b\r\n0xff0000,9,c\r\n";
    struct Case { std::string text; int line; } cases[] = {
        {"9" + head.substr(1) + rows, 1},
        {"0" + head.substr(1) + rows, 1},
        {head.substr(0, 30), 9},
        {"3\r\n40\r\n15\r\n3\r\n50\r\n50\r\n10\r\n0x0\r\nblue\r\n0xffffff\r\nT\r\n" + rows, 9},
        {head + "0x0000ff,0,a\r\n0x00ff00,x,b\r\n0xff0000,0,c\r\n", 13},
        {head + "0x0000ff,0,a\r\n0x00ff00,300,b\r\n0xff0000,0,c\r\n", 13},
        {head + "0x0000ff,0,a\r\n", 13},
    };
    h->UpDown5->SetPosition(33);
    for (const Case& c : cases) {
        Messages().clear();
        Write("bad.exp", c.text);
        Read("bad.exp");
        ASSERT_EQ(Messages().size(), 1u) << c.text;
        EXPECT_EQ(Messages()[0].text, gui::Format("凡例ファイル %s の %d 行目が正しくありません", File("bad.exp").c_str(), c.line));
        EXPECT_EQ(Messages()[0].caption, "ファイル読み込みエラー");
        EXPECT_EQ(h->UpDown5->Position(), 33);
        EXPECT_EQ(h->LegendFileName, "");
    }
    Messages().clear();
    Read("missing.exp");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "ファイルオープンエラー");

    // The sound file, with a pattern code above 7 kept.
    Messages().clear();
    Write("good.exp", head + rows);
    Read("good.exp");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(h->LegendPatterns[2], 9);
    EXPECT_EQ(h->LegendColors[1], 0x00ff00);
    EXPECT_EQ(h->UpDown5->Position(), 40);
}

TEST_F(Legend, WritingChecksTheBoxesAndLongTextsAreCut) {
    h->Edit14->SetText("y");
    gui::testing::QueueFileName(File("b.exp"));
    h->Button2Click(h);
    EXPECT_FALSE(std::filesystem::exists(programDir / "b.exp"));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "凡例エラー");

    std::string longText;
    for (int i = 0; i < 60; ++i) longText += "あ";
    EXPECT_EQ(CutCp932(longText, 99).size(), 49u * 3);
    EXPECT_EQ(CutCp932("a" + longText, 99).size(), 1u + 49 * 3);
    h->Edit1->SetText(longText);
    h->GatherLegend();
    EXPECT_EQ(gui::Cp932Length(h->LegendTexts[0]), 98u);
}

TEST_F(Legend, OpeningFromThePaintWindowCopiesThePalette) {
    o->style.PaintColor[6] = 0x445566;
    MapPaint->Button4Click(MapPaint);
    EXPECT_TRUE(h->Visible());
    EXPECT_EQ(h->LegendCount, 8);
    EXPECT_EQ(h->LegendColors[6], 0x445566);
    EXPECT_TRUE(h->LegendOn);
    EXPECT_TRUE(h->Edit8->Enabled());
    // Eight rows below the title.
    EXPECT_EQ(o->LegendBottom, 50 + 8 * 18 - 1 + 18 + 5);

    o->ui.CBExp->SetEnabled(true);
    o->ui.CBExp->SetChecked(true);
    o->ui.CBExp->SetChecked(false);
    EXPECT_FALSE(h->CBExpDisplay->Checked());
    EXPECT_FALSE(o->LegendShown);
    o->ResetViewState();
    EXPECT_FALSE(h->LegendOn);
}
