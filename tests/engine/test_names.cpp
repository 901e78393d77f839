#include "names/Uyomi.h"
#include "navigation/Usettei.h"
#include "tests/engine/HandMap.h"

namespace {
constexpr TColor kFont = 0x123456;
constexpr TColor kPaint = 0x00FFFF;
} // namespace

class Names : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->style.TownFontColor = kFont;
        o->ui.kokudo->SetChecked(false);
        o->ui.ken_name->SetChecked(false);
        o->ui.CBTownName->SetChecked(true);
    }
    // Some pixel of the font colour in the text box that starts at (px, py).
    bool NameAt(int px, int py) { return Count(kFont, px, py, px + 40, py + 16) > 0; }
    // Which of the rows at x = 50 show a name, top to bottom: '+' shown, '-' not.
    std::string Shown(std::initializer_list<int> rows) {
        std::string s;
        for (int py : rows) s += NameAt(50, py) ? '+' : '-';
        return s;
    }
    void Town(const std::string& name, int px, int py, char dup = 's') {
        AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, name, px, py, dup);
    }
    void ExtraEntry(int pref, const std::string& name, int px, int py, char kind = 'A') {
        int i = o->doc.ExtraCount++;
        auto [x, y] = At(px, py);
        o->doc.ExtraPref[i] = pref, o->doc.ExtraTownName[i] = name, o->doc.ExtraX[i] = x, o->doc.ExtraY[i] = y, o->doc.ExtraKind[i] = kind;
    }
    void City(const std::string& name, int pref, int px, int py, int flag = 0) {
        int i = o->doc.CityCount++;
        auto [x, y] = At(px, py);
        o->doc.CityName[i] = name, o->doc.CityPref[i] = pref, o->doc.CityX[i] = x, o->doc.CityY[i] = y, o->doc.CityFlag[i] = flag;
    }
};

TEST_F(Names, TextBackgroundIsThePixelUnlessItIsALineOrOutside) {
    TCanvas* c = o->ui.Image1->Canvas();
    c->Brush->Color = kPaint;
    c->FillRect(Rect(100, 100, 200, 200));
    c->SetPixel(150, 150, o->style.TownColor);
    c->SetPixel(160, 150, o->style.KanaFontColor);
    struct Case { const char* what; int x, y; TColor background; } cases[] = {
        {"paint", 120, 120, kPaint},           {"a border", 150, 150, o->style.BackColor},
        {"a reading", 160, 150, o->style.BackColor}, {"left of the image", -1, 120, o->style.BackColor},
        {"below the image", 120, 600, o->style.BackColor}};
    for (const Case& k : cases) EXPECT_EQ(o->PickTextBackground(k.x, k.y), k.background) << k.what;
}

TEST_F(Names, ANameStartingOnABorderOrOutsideGetsTheBackgroundBehindIt) {
    o->style.TownColor = 0x00FF00;
    SetStore(o->doc.TownLine, {{{100, 50}, {100, 250}}});
    Town("あい", 100, 200);   // starts on the border
    Town("あいうえお", -10, 300);   // starts left of the image, over paint
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(100, 201), o->style.BackColor) << "the box covers the border in the background colour";

    // A name over paint keeps the paint behind it; one starting outside the image does not.
    Town("あ", 300, 300);
    TCanvas* c = o->ui.Image1->Canvas();
    ASSERT_TRUE(o->DrawMap());
    c->Brush->Color = kPaint;
    c->FillRect(Rect(0, 280, 400, 340));
    o->DrawTownNames();
    EXPECT_EQ(Px(300, 300), kPaint);
    EXPECT_EQ(Px(0, 300), o->style.BackColor);
    EXPECT_TRUE(NameAt(0, 300));
    // White boxes whatever lies below.
    Settei->CBWhite->SetChecked(true);
    o->DrawTownNames();
    EXPECT_EQ(Px(300, 300), 0xFFFFFF);
}

TEST_F(Names, CurrentNamesSkipRepeatsAndWardsAsTheBoxesSay) {
    Town("甲町", 50, 50);
    Town("甲町", 50, 80, 'd');
    Town("中央区", 50, 110);
    Town("北区", 50, 140);   // also in the duplicate list
    ExtraEntry(12, "北区", 200, 140);
    ASSERT_TRUE(o->DrawMap());
    // 北区 is drawn twice while the main double-name box is ticked.
    EXPECT_EQ(Shown({50, 80, 110, 140}), "+-++");
    EXPECT_TRUE(NameAt(200, 140));

    o->ui.CBMainDoubleName->SetChecked(false);
    EXPECT_FALSE(NameAt(50, 140)) << "left to the duplicate list";
    EXPECT_TRUE(NameAt(200, 140));
    Settei->CBKuName->SetChecked(false);
    Settei->CBDoubleName->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Shown({80, 110}), "+-");
    EXPECT_FALSE(NameAt(200, 140));
}

TEST_F(Names, OldNamesReplaceNewNames) {
    AddName(o->doc.OldTownX, o->doc.OldTownY, o->doc.OldTownName, o->doc.OldTownDup, o->doc.OldTownCount, "旧村", 50, 50);
    AddName(o->doc.NewTownX, o->doc.NewTownY, o->doc.NewTownName, o->doc.NewTownDup, o->doc.NewTownCount, "新市", 50, 100);
    AddName(o->doc.NewTownX, o->doc.NewTownY, o->doc.NewTownName, o->doc.NewTownDup, o->doc.NewTownCount, "新区", 50, 150);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Shown({50, 100}), "-+");
    Settei->CBKuName->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_FALSE(NameAt(50, 150));
    o->ui.CBOldTown->SetEnabled(true);
    o->ui.CBOldTown->SetChecked(true);
    EXPECT_EQ(Shown({50, 100}), "+-");
}

TEST_F(Names, DuplicateListEntriesFollowTheirAreaAndTheOldDataBoxes) {
    ExtraEntry(12, "三和町", 50, 50);
    ExtraEntry(12, "一宮町", 50, 80);
    ExtraEntry(12, "旧名村", 50, 110, 'X');
    ExtraEntry(13, "他県町", 50, 140);
    ExtraEntry(12, "東区", 50, 170);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Shown({50, 80, 110, 140, 170}), "----+");
    o->ui.CBNTownBorder->SetChecked(true);   // also ticks the old names
    EXPECT_EQ(Shown({50, 80, 110}), "+++");
    o->doc.SELECT = 2;
    o->doc.SelectCode[1] = 13;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_TRUE(NameAt(50, 140));
    o->ui.CBTownName->SetChecked(false);
    EXPECT_FALSE(NameAt(50, 170));
}

TEST_F(Names, DesignatedCitiesNeedTheirBoxAndHideWhereTheOldDataDoes) {
    City("さいたま市", 12, 50, 50);
    City("横浜市", 12, 50, 80, 1);
    City("札幌市", 47, 50, 110);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_FALSE(NameAt(50, 50)) << "the city-name box is off";
    Settei->CBCityName->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Shown({50, 80, 110}), "++-");
    o->ui.CBMainDoubleName->SetChecked(false);
    EXPECT_FALSE(NameAt(50, 80));
    o->ui.CBOldTown->SetChecked(true);
    EXPECT_FALSE(NameAt(50, 50));
}

TEST_F(Names, TheNameSizeFollowsTheImageUnlessFixed) {
    Town("甲町", 50, 50);
    Settei->CBFixedSize->SetChecked(false);
    o->COPYSCALE = 2;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->style.NameFontSize, 16);
    o->COPYSCALE = 1;
    o->SSIZE = 2;
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->style.NameFontSize, 4);
    Settei->CBFixedSize->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->style.NameFontSize, 8);
}

TEST_F(Names, NoNamesWhilePaintingOrWhileOnlyReadingsAreShown) {
    Town("甲町", 50, 50);
    Yomi->CBKana->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_FALSE(NameAt(50, 50));
}

TEST_F(Names, TheBorderAndNameBoxesKeepTheirDependentsInStep) {
    o->ui.CBTownBorder->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox4->Checked());
    EXPECT_FALSE(o->ui.CBTownName->Checked());
    EXPECT_FALSE(o->ui.CBTownName->Enabled());
    EXPECT_FALSE(o->ui.CBNTownBorder->Enabled());
    o->ui.CBTownBorder->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox4->Checked());
    EXPECT_TRUE(o->ui.CBTownName->Enabled());
    EXPECT_FALSE(o->ui.CBTownName->Checked()) << "names are not ticked again";

    o->ui.CBYomi->SetChecked(true);
    o->ui.CBTownName->SetChecked(true);
    EXPECT_TRUE(Settei->CheckBox5->Checked());
    EXPECT_TRUE(Settei->CheckBox16->Enabled());
    EXPECT_TRUE(o->ui.CBOldTown->Enabled());
    EXPECT_TRUE(Yomi->Visible());
    o->ui.CBTownName->SetChecked(false);
    EXPECT_FALSE(Settei->CheckBox5->Checked());
    EXPECT_FALSE(Yomi->Visible());
    EXPECT_FALSE(o->ui.CBYomi->Checked());
    EXPECT_FALSE(o->ui.CBYomi->Enabled());
    EXPECT_FALSE(o->ui.CBMainDoubleName->Enabled());
}

// A name is laid out once and kept for the next redraws: a name changed in
// its table, or every text forgotten, must still be drawn as it now reads.
TEST_F(Names, ARedrawWritesTheNameAsItNowReads) {
    Town("あ", 100, 100);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Count(kFont, 115, 100, 200, 120), 0) << "one character ends near its point";
    o->doc.TownName[0] = "あいうえおかき";
    ASSERT_TRUE(o->DrawMap());
    EXPECT_GT(Count(kFont, 115, 100, 200, 120), 0) << "the longer name, not the one laid before";
    const QImage before = o->ui.Image1->Canvas()->Image().copy();
    gui::ForgetLaidTexts();
    ASSERT_TRUE(o->DrawMap());
    EXPECT_TRUE(o->ui.Image1->Canvas()->Image() == before);
}
