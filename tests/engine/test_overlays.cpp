#include "engine/Coords.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"

class Overlays : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.kokudo->SetChecked(false);
        o->ui.ken_name->SetChecked(false);
        o->style.DoColor = 0x00AA00;
        o->style.FunColor = 0xAAAAAA;
    }
    // A view whose half width is h km at the centre's latitude (scale bar terms).
    void HalfWidthKm(float h) {
        float lat = o->CY * (1.0 / 15000) + 24;
        float d = GreatCircleKm(lat, 0, lat, 1.0);
        o->scale = 600 * 20 / (2 * h) * d / 200000;
        ASSERT_TRUE(o->DrawMap());
    }
    // The bounding box of colour c: left, top, right, bottom (inclusive).
    TRect Bounds(TColor c, int x0, int y0, int x1, int y1) {
        TRect r(x1, y1, x0 - 1, y0 - 1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Px(x, y) == c) r = TRect(std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x), std::max(r.Bottom, y));
        return r;
    }
    int Row(int32_t y) {
        int sx, sy;
        o->MapToScreen(o->CX, y, sx, sy);
        return sy;
    }
    int Column(int32_t x) {
        int sx, sy;
        o->MapToScreen(x, o->CY, sx, sy);
        return sx;
    }
};

TEST_F(Overlays, ScaleBarOfA120KmView) {
    HalfWidthKm(60);
    o->ui.CBScale->SetChecked(true);
    EXPECT_TRUE(o->ScaleShown);
    // Five 10 km boxes of 50 pixels from (350, 550), black and white in turn.
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Px(350 + 50 * i + 25, 553), i % 2 ? clWhite : clBlack) << i;
    EXPECT_NEAR(o->style.ScaleRight, 600, 1);
    EXPECT_EQ(o->style.ScaleBottom, 556);
    // "  0" over the first box and "50km" at the end.
    EXPECT_GT(Count(clBlack, 342, 537, 370, 550), 0);
    EXPECT_GT(Count(clBlack, 584, 537, 600, 550), 0);
    EXPECT_EQ(o->ui.Image1->Canvas()->Font->Size, 8);
}

TEST_F(Overlays, ScaleBarOfA10KmViewAndNoneBelow) {
    HalfWidthKm(5.5f);
    o->ui.CBScale->SetChecked(true);
    // 1 km boxes: 0.05 of the 20 km length.
    const float p = 600 * 20 / 11.0f;
    const int seg = int(0.05 * p);
    EXPECT_EQ(Px(350 + seg / 2, 553), clBlack);
    EXPECT_EQ(Px(350 + seg + seg / 2, 553), clWhite);
    EXPECT_NEAR(o->style.ScaleRight, 350 + 5 * 0.05 * p, 1);
    // A copy at another size draws its own bar; the drag keeps the screen's.
    const int shownRight = o->style.ScaleRight;
    o->SSIZE = 2;
    o->Button4Click(o);
    EXPECT_EQ(gui::testing::ClipboardImage().width(), 300);
    EXPECT_EQ(o->style.ScaleRight, shownRight);
    o->SSIZE = 1;

    HalfWidthKm(4.5f);
    const int right = o->style.ScaleRight;
    EXPECT_EQ(Count(clBlack, 340, 540, 600, 560), 0);
    EXPECT_TRUE(o->ScaleShown) << "shown as far as the drags know";
    EXPECT_EQ(o->style.ScaleRight, right);
}

TEST_F(Overlays, ScaleBarOutsideTheImageGoesBackToItsDefaultPlace) {
    HalfWidthKm(60);
    o->style.scl_x1 = 700;
    o->ui.CBScale->SetChecked(true);
    EXPECT_EQ(o->style.scl_x1, 390);
    EXPECT_EQ(o->style.scly1, 480);
    EXPECT_EQ(Px(390 + 25, 483), clBlack);
    // Its font follows the image size, never under 7 points.
    o->SSIZE = 2;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->ui.Image1->Canvas()->Font->Size, 7);
    o->SSIZE = 1;
    o->COPYSCALE = 2;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->ui.Image1->Canvas()->Font->Size, 16);
}

TEST_F(Overlays, DegreeGridWithLabelsOnBothEnds) {
    o->ui.CBLonLat->SetChecked(true);
    // 34 N runs through the middle row; its labels sit at x = 5 and at 600 - 2.8 * 8.
    const int r34 = Row(150000);
    EXPECT_EQ(Px(300, r34), o->style.DoColor);
    o->ui.Image1->Canvas()->Font->Size = 8;
    const int blank = 5 + o->ui.Image1->Canvas()->TextWidth(" ");   // " 34°" starts with a blank
    EXPECT_EQ(Count(clBlack, 0, r34 - 4, blank, r34 + 12), 0);
    EXPECT_GT(Count(clBlack, blank, r34 - 4, 40, r34 + 12), 0);
    EXPECT_GT(Count(clBlack, 577, r34 - 4, 600, r34 + 12), 0);
    // 10-minute lines between the degrees.
    EXPECT_EQ(Px(310, Row(150000 + 2500)), o->style.FunColor);
    // 137 E down the middle, labelled at the top and the bottom.
    const int c137 = Column(150000);
    EXPECT_EQ(Px(c137, 100), o->style.DoColor);
    EXPECT_GT(Count(clBlack, c137 - 8, 5, c137 + 20, 18), 0);
    EXPECT_GT(Count(clBlack, c137 - 8, 580, c137 + 20, 600), 0);

    // Every other degree: 33 and 35 keep their lines but lose their labels.
    o->ui.CB1do->SetChecked(true);
    const int r35 = Row(165000), r33 = Row(135000);
    EXPECT_EQ(Px(300, r35), o->style.DoColor);
    EXPECT_EQ(Count(clBlack, 5, r35 - 4, 40, r35 + 12), 0);
    EXPECT_EQ(Count(clBlack, 5, r33 - 4, 40, r33 + 12), 0);
    EXPECT_GT(Count(clBlack, 5, r34 - 4, 40, r34 + 12), 0);
    EXPECT_EQ(Count(clBlack, c137 - 8, 5, c137 + 20, 18), 0);
    EXPECT_GT(Count(clBlack, Column(160000) - 8, 5, Column(160000) + 20, 18), 0);

    // No figures without the degree box.
    o->ui.CBDo->SetChecked(false);
    EXPECT_EQ(Count(clBlack, 5, r34 - 4, 40, r34 + 12), 0);
}

TEST_F(Overlays, TheGridGoesUnderOrOverTheMap) {
    SetStore(o->doc.CoastLine, {{{200, Row(150000)}, {400, Row(150000)}}});
    o->ui.CBLonLat->SetChecked(true);
    EXPECT_EQ(Px(300, Row(150000)), o->style.CoastColor);
    o->ui.Keido->Click();
    EXPECT_FALSE(o->ui.Keido->Checked());
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(300, Row(150000)), o->style.DoColor);
}

TEST_F(Overlays, AWideMeshShowsOnlyFirstLevelLinesAndTheirHalves) {
    Settei->CBMesh->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    ASSERT_GT(o->ViewWidthKm, 400);
    // 40' of latitude (10000 units) and whole degrees of longitude in the degree colour ...
    EXPECT_EQ(Px(310, Row(150000)), o->style.DoColor);
    EXPECT_EQ(Px(Column(150000), 310), o->style.DoColor);
    // ... their 20' and 30' halves in the minute colour, and nothing finer.
    EXPECT_EQ(Px(310, Row(155000)), o->style.FunColor);
    EXPECT_EQ(Px(Column(145000), 310), o->style.FunColor);
    for (int32_t finer : {151250, 152500}) {
        EXPECT_EQ(Px(310, Row(finer)), o->style.BackColor) << finer;
        EXPECT_EQ(Px(Column(finer), 310), o->style.BackColor) << finer;
    }
    // Degree figures without the degree box.
    o->ui.CBDo->SetChecked(false);
    EXPECT_GT(Count(clBlack, 5, Row(150000) - 4, 40, Row(150000) + 12), 0);

    // A narrow view: the second level too.
    o->MAGSTEP = 8;
    ASSERT_TRUE(o->DrawMap());
    ASSERT_LT(o->ViewWidthKm, 200);
    EXPECT_EQ(Px(310, Row(150000 + 1250)), o->style.FunColor);
    EXPECT_EQ(Px(Column(150000 + 1250), 310), o->style.FunColor);
}

TEST_F(Overlays, FrameOfEachWidth) {
    Settei->CBWaku->SetChecked(true);
    for (int w = 1; w <= 3; ++w) {
        Settei->UpDown5->SetPosition(w);
        ASSERT_TRUE(o->DrawMap());
        const TColor f = o->style.WakuColor;
        // w pixels on each side, from the image's edge inwards: the edge pixel and an 8-pixel band.
        struct Side { const char* name; int x, y, x0, y0, x1, y1; };
        for (const Side& s : {Side{"left", 0, 300, 0, 300, 8, 301}, Side{"right", 599, 300, 592, 300, 600, 301},
                              Side{"top", 300, 0, 300, 0, 301, 8}, Side{"bottom", 300, 599, 300, 592, 301, 600}}) {
            EXPECT_EQ(Px(s.x, s.y), f) << s.name << " " << w;
            EXPECT_EQ(Count(f, s.x0, s.y0, s.x1, s.y1), w) << s.name << " " << w;
        }
        EXPECT_EQ(Px(w + 2, 300), o->style.BackColor) << "the inside stays as drawn";
    }
    Settei->CBColor->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(1, 300), o->style.CoastColor);
}

TEST_F(Overlays, OfficeMarksAreCentredOnTheirPoints) {
    o->style.DefPrefSeatColor = 0x0000FF;
    auto [x, y] = At(300, 300);
    OfficeRecord& r = o->doc.OfficeRecords[0];
    std::snprintf(r.mark, sizeof r.mark, "%s", "◎");
    std::snprintf(r.name, sizeof r.name, "%s", "甲町役場");
    r.x = x, r.y = y, r.size = 8;
    o->doc.OfficeCount = 1;
    Settei->CBOffice->SetChecked(true);
    Settei->CBOfficeName->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    TRect b = Bounds(0x0000FF, 250, 250, 350, 350);
    ASSERT_GT(b.Right, b.Left);
    EXPECT_NEAR((b.Left + b.Right) / 2.0, 300, 1.5);
    EXPECT_NEAR((b.Top + b.Bottom) / 2.0, 300, 1.5);

    Settei->CBOfficeName->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    const int h = o->ui.Image1->Canvas()->TextHeight("◎");
    EXPECT_GT(Count(0x0000FF, 300 + h / 2 + h, 290, 350, 310), 0) << "the name right of the mark";

    // Offices and capitals never together.
    Settei->CBKenOffice->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Count(0x0000FF, 250, 250, 350, 350), 0);
}

TEST_F(Overlays, AreaCaptionOnlyOnOneAreaMapsOfAtLeast300Pixels) {
    o->doc.AreaName[12] = "東京";
    o->ui.ken_name->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_TRUE(Settei->CheckBox2->Enabled());
    EXPECT_GT(Count(o->style.TownFontColor, 25, 575, 60, 592), 0);
    o->doc.SELECT = 2;
    o->doc.SelectCode[1] = 13;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_FALSE(Settei->CheckBox2->Enabled());
    EXPECT_EQ(Count(o->style.TownFontColor, 25, 575, 60, 592), 0);
    o->doc.SELECT = 1;
    o->SSIZE = 3;   // 200 pixels
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Count(o->style.TownFontColor, 0, 150, 100, 200), 0);
}

TEST_F(Overlays, MeshNamesInViewAreCentredOnTheirPoints) {
    auto [x, y] = At(300, 300);
    areafiles::WriteText(programDir / "MAPDATA" / "mesh1.lbl",
                         gui::Format("%d,%d,5339,10,255\n1,1,far,10,255\nbad,line\n", x, y));
    Settei->CBMeshName->SetChecked(true);
    Settei->CBMeshName2->SetChecked(true);   // no such file: nothing
    ASSERT_TRUE(o->DrawMap());
    TRect b = Bounds(0x0000FF, 0, 0, 600, 600);
    ASSERT_GT(b.Right, b.Left);
    EXPECT_NEAR((b.Left + b.Right) / 2.0, 300, 2);
    EXPECT_NEAR((b.Top + b.Bottom) / 2.0, 300, 3);
    EXPECT_LT(b.Right - b.Left, 60) << "only the name in view";
}
