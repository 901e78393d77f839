#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "paint/Uhanrei.h"
#include "tests/engine/HandMap.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <filesystem>

using Line = std::vector<std::pair<int, int>>;

class Redraw : public HandMap {};

TEST_F(Redraw, DoesNothingWithoutDataOrWhileAProjectIsRestored) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {150, 100}}});
    for (int which = 0; which < 2; ++which) {
        o->gate.DataReady = which != 0;
        o->gate.ProjectLoading = which == 0 ? false : true;
        o->COPYSCALE = 2;   // would double the image
        int redraws = o->RedrawCount;
        EXPECT_FALSE(o->DrawMap());
        EXPECT_EQ(o->ImageSize, 600);
        EXPECT_EQ(o->ui.Image1->Picture()->Bitmap()->Width(), 600);
        EXPECT_EQ(Px(100, 100), o->style.BackColor);
        EXPECT_EQ(o->RedrawCount, redraws);
    }
}

TEST_F(Redraw, EachLayerHasTheColourAndWidthOfItsPen) {
    o->style.CoastWidth = 2;
    Settei->UpDown3->SetPosition(3);   // wards
    Settei->CBKuDot->SetChecked(false);
    // Width 0: not drawn (the old prefecture borders go with the old municipality borders).
    struct Layer { const char* name; PolylineStore& store; int row; TColor pen; int width; } layers[] = {
        {"coast", o->doc.CoastLine, 100, o->style.CoastColor, 2},
        {"Hokkaido lakes", o->doc.HokkaidoLakeLine, 110, o->style.CoastColor, 2},
        {"lakes", o->doc.LakeLine, 120, o->style.CoastColor, 2},
        {"prefectures", o->doc.PrefLine, 130, o->style.PrefColor, 1},
        {"new prefectures", o->doc.NewPrefLine, 140, o->style.PrefColor, 1},
        {"old prefectures", o->doc.OldPrefLine, 145, o->style.PrefColor, 0},
        {"wards", o->doc.KuLine, 160, o->style.KuColor, 3},
        {"municipalities", o->doc.TownLine, 170, o->style.TownColor, 1},
    };
    for (const Layer& l : layers) SetStore(l.store, {{{50, l.row}, {150, l.row}}});
    ASSERT_TRUE(o->DrawMap());
    for (const Layer& l : layers) {
        EXPECT_EQ(Count(l.pen, 100, l.row - 4, 101, l.row + 5), l.width) << l.name;
        if (!l.width) EXPECT_EQ(Px(100, l.row), o->style.BackColor) << l.name;
    }

    // The coast colour for everything drawn.
    Settei->CBColor->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    for (const Layer& l : layers)
        if (l.width) EXPECT_EQ(Px(100, l.row), o->style.CoastColor) << l.name;
}

TEST_F(Redraw, DottedBordersLeaveTheirGapsInTheBackgroundColour) {
    // The closing segment only goes over the last, vertical, segment.
    SetStore(o->doc.PrefLine, {{{50, 130}, {80, 130}, {80, 150}}});
    SetStore(o->doc.TownLine, {{{50, 170}, {80, 170}}});
    Settei->CBPrefDot->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    std::string pref, town;
    for (int x = 50; x < 62; ++x) {
        pref += Px(x, 130) == o->style.PrefColor ? '#' : Px(x, 130) == o->style.BackColor ? '.' : '?';
        town += Px(x, 170) == o->style.TownColor ? '#' : '?';
    }
    EXPECT_EQ(pref, "###...###...");
    EXPECT_EQ(town, "############");
}

TEST_F(Redraw, DottedBordersLeaveTheLinesBelowThemWhole) {
    // A lake boundary that runs along the shore for a stretch, as one that ends on it does.
    SetStore(o->doc.LakeLine, {{{50, 130}, {80, 130}}});
    SetStore(o->doc.LakePrefLine, {{{50, 130}, {80, 130}}});
    SetStore(o->doc.TownLine, {{{50, 140}, {80, 140}}});
    SetStore(o->doc.LakeBorderLine, {{{50, 140}, {80, 140}}});
    o->ui.CBLake->SetEnabled(true);
    o->ui.CBLake->SetChecked(true);
    Settei->CBLakeDot->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    std::string shore, town;
    for (int x = 50; x < 62; ++x) {
        shore += Px(x, 130) == o->style.PrefColor ? '#' : Px(x, 130) == o->style.CoastColor ? 'c' : '?';
        town += Px(x, 140) == o->style.NTownColor ? '#' : Px(x, 140) == o->style.TownColor ? 't' : '?';
    }
    // The prefecture boundary goes back over itself, so its dots overlap.
    EXPECT_EQ(shore.find('?'), std::string::npos) << shore;
    EXPECT_NE(shore.find('c'), std::string::npos) << shore;
    EXPECT_EQ(town, "###ttt###ttt");
}

TEST_F(Redraw, OnlyPrefectureBordersSetTheLastPixelOfAPolyline) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {80, 100}, {80, 130}}});
    SetStore(o->doc.PrefLine, {{{150, 100}, {180, 100}, {180, 130}}, {{250, 100}, {280, 100}}, {{300, 300}}});
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(80, 129), o->style.CoastColor);
    EXPECT_EQ(Px(80, 130), o->style.BackColor);
    EXPECT_EQ(Px(180, 130), o->style.PrefColor);
    EXPECT_EQ(Px(180, 115), o->style.PrefColor);
    // Two points: the one segment both ways, both ends set.
    EXPECT_EQ(Px(250, 100), o->style.PrefColor);
    EXPECT_EQ(Px(280, 100), o->style.PrefColor);
    EXPECT_EQ(Px(300, 300), o->style.BackColor) << "a one-point border draws nothing";
}

TEST_F(Redraw, AStoreEndsAtItsFirstCountThatIsNotPositive) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {80, 100}}, {{50, 120}, {80, 120}}});
    o->doc.CoastLine.Words[5] = 0;   // in place of the second polyline's count
    o->doc.CoastLine.Changed();
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(60, 100), o->style.CoastColor);
    EXPECT_EQ(Px(60, 120), o->style.BackColor);
}

// The screen points of a store are kept for the view: a pan there and back
// puts the lines where they belong, and a wide line just outside the image
// still reaches into it.
TEST_F(Redraw, LinesFollowEveryViewAndAWidePenReachesInFromOutside) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {150, 100}}, {{-3, 300}, {-3, 400}}});
    o->style.CoastWidth = 9;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(100, 100), o->style.CoastColor);
    EXPECT_EQ(Px(1, 350), o->style.CoastColor) << "the pen of a line outside reaches the first columns";
    EXPECT_EQ(Px(2, 350), o->style.BackColor);
    const QImage first = o->ui.Image1->Canvas()->Image().copy();
    UDVerClick(*o, o, btNext);
    EXPECT_EQ(Px(100, 100), o->style.BackColor) << "the view moved, the line with it";
    UDVerClick(*o, o, btPrev);
    EXPECT_TRUE(o->ui.Image1->Canvas()->Image() == first);
}

TEST_F(Redraw, WithoutMunicipalityBordersTheInnerLayersGo) {
    SetStore(o->doc.PrefLine, {{{50, 130}, {150, 130}}});
    SetStore(o->doc.KuLine, {{{50, 160}, {150, 160}}});
    SetStore(o->doc.TownLine, {{{50, 170}, {150, 170}}});
    SetStore(o->doc.NTownLine, {{{50, 180}, {150, 180}}});
    SetStore(o->doc.OTownLine, {{{50, 190}, {150, 190}}});
    SetStore(o->doc.LakeBorderLine, {{{50, 200}, {150, 200}}});
    for (TCheckBox* c : {o->ui.CBNTownBorder, o->ui.CBLake, o->ui.CBTownName}) c->SetChecked(true);
    for (TCheckBox* c : {Settei->CBKuDot, Settei->CBNTownDot, Settei->CBLakeDot}) c->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    for (int row : {160, 170, 180, 190, 200}) EXPECT_NE(Px(100, row), o->style.BackColor) << row;

    o->ui.CBTownBorder->SetChecked(false);
    for (int row : {160, 170, 180, 190, 200}) EXPECT_EQ(Px(100, row), o->style.BackColor) << row;
    EXPECT_EQ(Px(100, 130), o->style.PrefColor);
    EXPECT_FALSE(o->ui.CBLake->Enabled());

    // Without the prefecture borders the municipality borders go too.
    o->ui.CBTownBorder->SetChecked(true);
    o->ui.CBPrefBorder->SetChecked(false);
    EXPECT_EQ(Px(100, 130), o->style.BackColor);
    EXPECT_EQ(Px(100, 170), o->style.BackColor);
}

TEST_F(Redraw, OldBordersAndLakeBoundariesTakeTheOldMunicipalityPen) {
    SetStore(o->doc.NTownLine, {{{50, 180}, {150, 180}}});
    SetStore(o->doc.LakeBorderLine, {{{50, 200}, {150, 200}}});
    o->ui.CBLake->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    // Old borders off: the lake boundary still has their colour, dotted.
    EXPECT_EQ(Px(100, 180), o->style.BackColor);
    EXPECT_EQ(Px(50, 200), o->style.NTownColor);
    EXPECT_EQ(Px(53, 200), o->style.BackColor);

    o->ui.CBNTownBorder->SetChecked(true);
    EXPECT_EQ(Px(50, 180), o->style.NTownColor);
    EXPECT_EQ(Px(53, 180), o->style.BackColor) << "dotted";
    o->ui.CBTownPaint->SetChecked(true);   // the search paint wants them solid
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(53, 180), o->style.NTownColor);
    Settei->CheckBox15->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(53, 180), o->style.TownColor);
    Settei->CheckBox1->SetChecked(true);   // background colour wins over all
    Settei->CBColor->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(53, 180), o->style.BackColor);
}

TEST_F(Redraw, WithoutTheMapLayersOnlyTheRedrawIsCounted) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {150, 100}}});
    Settei->CBWaku->SetChecked(true);
    Hanrei->CBMapWrite->SetChecked(false);
    const int mappings = o->MappingCount, redraws = o->RedrawCount;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(100, 100), o->style.BackColor);
    EXPECT_EQ(Px(1, 300), o->style.WakuColor) << "the frame is not a map layer";
    EXPECT_EQ(o->MappingCount, mappings);
    EXPECT_EQ(o->RedrawCount, redraws + 1);
    EXPECT_EQ(o->ui.Label37->Caption(), std::to_string(redraws + 1));
}

TEST_F(Redraw, WhiteBackgroundReplacesTheBackgroundColour) {
    Settei->CheckBox13->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->style.BackColor, 0xFFFFFF);
    EXPECT_EQ(Px(10, 590), 0xFFFFFF);
}

TEST_F(Redraw, ARangeViewNarrowerThan4KmIsRefusedAndThePictureKept) {
    SetStore(o->doc.CoastLine, {{{50, 100}, {150, 100}}});
    ASSERT_TRUE(o->DrawMap());
    o->RangeZoom = true;
    o->MAGSTEP = 200;   // about 2.8 km across
    const int32_t minX = o->MinX;
    EXPECT_FALSE(o->DrawMap());
    EXPECT_EQ(o->ui.Label15->Caption(), "指定エラー");
    EXPECT_TRUE(o->ui.Timer1->Enabled());
    o->ui.Timer1->SetEnabled(false);
    EXPECT_LT(o->ViewWidthKm, 4.0f);
    EXPECT_NE(o->MinX, minX) << "the corners follow the new view";
    EXPECT_NEAR(o->MaxX - o->MinX, 600 / o->ScaleX, 2);
    EXPECT_EQ(Px(100, 100), o->style.CoastColor);

    o->MAGSTEP = 100;   // about 5.5 km
    EXPECT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(100, 100), o->style.BackColor);
}

TEST_F(Redraw, TheRedrawThatEndsARangeDragKeepsSizeAndAspect) {
    const float aspect = o->Aspect;
    o->COPYSCALE = 2;   // not applied to the image size here
    o->RangeDrag = true;
    o->MinX = o->CX - 15000;
    o->MaxX = o->CX + 15000;   // half of BaseSpan: twice the magnification
    ASSERT_TRUE(o->DrawMap());
    o->RangeDrag = false;
    EXPECT_EQ(o->ImageSize, 600);
    EXPECT_EQ(o->Aspect, aspect);
    EXPECT_EQ(o->MAGSTEP, 10);
    EXPECT_FLOAT_EQ(o->MAGUNIT, 0.2f);
    EXPECT_EQ(o->ui.UpDown1->Position(), 10);
    EXPECT_EQ(o->ui.Label6->Caption(), "2.00");
    EXPECT_FLOAT_EQ(o->ScaleX, 0.04f);
    // Later redraws keep the range's magnification.
    o->COPYSCALE = 1;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_FLOAT_EQ(o->ScaleX, 0.02f);
}

TEST_F(Redraw, TheThumbnailFollowsEveryFifthRedraw) {
    TCanvas* thumb = o->ui.Image4->Canvas();
    thumb->Brush->Color = clRed;
    thumb->FillRect(Rect(0, 0, 64, 64));
    o->ThumbnailCount = 0;
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(o->DrawMap());
        EXPECT_EQ(thumb->Pixels(30, 30), clRed) << i;
    }
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(thumb->Pixels(30, 30), o->style.BackColor);
}

TEST_F(Redraw, ReadOutsDescribeTheView) {
    EXPECT_EQ(SCList->Label11->Caption(), "600");
    EXPECT_EQ(SCList->Label48->Caption(), "1.0000");
    EXPECT_EQ(SCList->Label15->Caption(), "150000");
    EXPECT_EQ(SCList->Label40->Caption(), "137゜00´");
    EXPECT_EQ(SCList->Label14->Caption(), " 34゜00´");
    EXPECT_EQ(SCList->Label17->Caption(), std::to_string(o->MinX));
    EXPECT_EQ(SCList->Label43->Caption(), std::to_string(o->MaxX - o->MinX));
    EXPECT_EQ(SCList->Label36->Caption(), gui::Format("%.1f km", o->ViewWidthKm));
    EXPECT_EQ(o->ui.Label28->Caption(), SCList->Label36->Caption());
    // 6 degrees of longitude at 34 N, and the meridian's 600 / ScaleY units.
    EXPECT_NEAR(o->ViewWidthKm, 6 * 111.2 * std::cos(34 * M_PI / 180), 2.0);
    EXPECT_NEAR(o->ViewHeightKm, 600 / o->ScaleY / 15000 * 111.2, 1.0);
}

TEST_F(Redraw, EnablesTheControlsThatNeedAMap) {
    o->ui.CBTownName->SetChecked(true);
    EXPECT_TRUE(o->ui.BtnPaint->Enabled());
    EXPECT_TRUE(o->ui.N9->Enabled());
    EXPECT_TRUE(Settei->Button13->Enabled());
    EXPECT_TRUE(o->ui.TkBtn2->Enabled());
    EXPECT_EQ(o->ui.TkBtn2->Font.Color, 0x800000);
    o->ui.CBTownName->SetChecked(false);
    EXPECT_FALSE(o->ui.N17->Enabled());
    EXPECT_FALSE(Settei->Button13->Enabled());
}

// ---- the real data set -------------------------------------------------------

namespace {

using testsupport::BuildFolder;
using testsupport::ChooseAreas;

void Save(const char* name) {
    QString path = QString::fromStdString((BuildFolder() / name).string());
    EXPECT_TRUE(Open->ui.Image1->Picture()->Bitmap()->Image().save(path)) << name;
}

} // namespace

class RealMap : public JapanFormsTest {};

// Also pictures for a person to look at, left in the build folder.
TEST_F(RealMap, TheWholeCountryAt1800AndTokyoAt600WithNames) {
    std::vector<int> all;
    for (int code = 1; code <= 52; ++code) all.push_back(code);
    ChooseAreas(all);
    ASSERT_TRUE(Open->gate.DataReady);
    Open->COPYSCALE = 3;
    ASSERT_TRUE(Open->DrawMap());
    ASSERT_EQ(Open->ImageSize, 1800);
    TCanvas* c = Open->ui.Image1->Canvas();
    int coast = 0, pref = 0, town = 0;
    for (int y = 0; y < 1800; ++y)
        for (int x = 0; x < 1800; ++x) {
            TColor p = c->Pixels(x, y);
            coast += p == Open->style.CoastColor, pref += p == Open->style.PrefColor, town += p == Open->style.TownColor;
        }
    EXPECT_GT(coast, 10000);
    EXPECT_GT(pref, 5000);
    EXPECT_GT(town, 20000);
    Save("japan-1800.png");

    Open->COPYSCALE = 1;
    ChooseAreas({12});
    ASSERT_TRUE(Open->ui.CBTownName->Checked());
    ASSERT_TRUE(Open->DrawMap());
    EXPECT_EQ(Open->ImageSize, 600);
    EXPECT_GT(Open->style.NameFontSize, 0);
    Save("tokyo-600.png");
}
