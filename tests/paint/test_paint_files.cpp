// Paint files, the paint-data import, paint by name and the search paint on a hand-made map.
#include "components/Tkbtn.h"
#include "names/MainFormNames.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "names/Uyomilist.h"
#include "navigation/Usettei.h"
#include "paint/Upaint.h"
#include "tests/engine/HandMap.h"
#include <QTest>
#include <cmath>
#include <fstream>

using gui::testing::Messages;
using gui::testing::QueueFileName;
using testsupport::ReadBytes;

// Two municipalities side by side, (100,100)-(200,200) and (200,100)-(300,200), and a coast at x = 400.
class PaintFiles : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.CBTownBorder->SetChecked(true);
        Settei->CheckBox4->SetChecked(true);
        SetStore(o->doc.TownLine, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}},
                               {{200, 100}, {300, 100}, {300, 200}, {200, 200}}});
        SetStore(o->doc.CoastLine, {{{400, 0}, {400, 599}}});
        o->gate.MapShown = true;
        ASSERT_TRUE(o->DrawMap());
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    void Write(const std::string& name, const std::string& utf8) {
        std::ofstream(File(name), std::ios::binary) << gui::Utf8ToCp932(utf8);
    }
    void Read(const std::string& name) {
        QueueFileName(File(name));
        MapPaint->Button2Click(MapPaint);
    }
    void Import(const std::string& name) {
        QueueFileName(File(name));
        MapPaint->Button24Click(MapPaint);
    }
    void AddTown(const std::string& name, int px, int py) {
        AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, name, px, py);
    }
    // A city of two wards, split by a dotted ward border at x = 150.
    void TwoWards() {
        Settei->CBKu->SetChecked(true);
        Settei->CBKuDot->SetChecked(true);
        SetStore(o->doc.KuLine, {{{150, 100}, {150, 200}}});
        AddTown("緑区", 125, 150);
    }
    std::string Header() {
        std::string s;
        for (int k = 0; k < 17; ++k) s += gui::Format("0x%08x\r\n", k == 0 ? 0xFFFFE1 : k <= 8 ? 0x100 * k : k % 8);
        return s;
    }
};

TEST_F(PaintFiles, PntRoundTripAppendAndColoursOnly) {
    BtnPaintClick(*o, o);
    o->style.PaintPattern[2] = 6;
    for (auto [slot, x] : {std::pair{1, 150}, {2, 250}}) {
        MapPaint->TkBtnClick(slot);
        PaintAt(*o, x, 150);
    }
    MapPaint->Button19Click(MapPaint);
    const auto rec = o->paint.PaintRecords[0];
    QueueFileName(File("a.pnt"));
    MapPaint->Button3Click(MapPaint);
    const std::string bytes = ReadBytes(File("a.pnt"));
    EXPECT_NE(bytes.find(gui::Format("%8d,%8d,0x%08x,0x00000000\r\n", rec.x, rec.y, unsigned(rec.colour))),
              std::string::npos);

    // Read back after the palette changed: same records, palette and picture.
    MapPaint->Button10Click(MapPaint);
    o->paint.paint_rep = 0;
    Read("a.pnt");
    ASSERT_EQ(o->paint.paint_rep, 2);
    EXPECT_EQ(o->paint.PaintRecords[0].x, rec.x);
    EXPECT_EQ(o->style.PaintPattern[2], 6);
    EXPECT_TRUE(MapPaint->TkBtn3->Picture()->HasGraphic()) << "drawn from its own hatch";
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[1]);

    // "追加読込" appends in file order; a record line with blanks reads the same.
    Write("b.pnt", Header() + "     1,   2,0x000000ff,0x00000003\r\n,,\r\n7,8,255\r\n");
    MapPaint->CBAddRead->SetChecked(true);
    Read("b.pnt");
    ASSERT_EQ(o->paint.paint_rep, 4);
    const auto& r = o->paint.PaintRecords[2];
    EXPECT_EQ(gui::Format("%d %d %u %d", r.x, r.y, unsigned(r.colour), r.pattern), "1 2 255 3");
    EXPECT_EQ(o->paint.PaintRecords[3].pattern, 0) << "an empty pattern is solid";

    // Colours only: 17 lines written; reading keeps the records.
    MapPaint->CBColor->SetChecked(true);
    QueueFileName(File("c.pnt"));
    MapPaint->Button3Click(MapPaint);
    const std::string colours = ReadBytes(File("c.pnt"));
    EXPECT_EQ(std::count(colours.begin(), colours.end(), '\n'), 17);
    Write("d.pnt", Header());
    o->style.PaintColor[0] = 1;
    Read("d.pnt");
    EXPECT_EQ(o->paint.paint_rep, 4);
    EXPECT_EQ(o->style.PaintColor[0], 0x100u);
    EXPECT_EQ(Messages().size(), 2u) << "the two colours-only questions";
}

TEST_F(PaintFiles, ABadShortOrOversizedPaintFileChangesNothing) {
    AddPaintRecord(*o, 1, 1, 5, 0);
    AddPaintRecord(*o, 2, 2, 5, 0);
    std::string big = Header();
    for (int i = 0; i < PaintStore::PAINT_MAX - 1; ++i) big += "1,1,0x10,0\r\n";
    const TColor back = o->style.BackColor, slot0 = o->style.PaintColor[0];
    const struct { std::string text; bool add; int line; } cases[] = {
        {Header().substr(0, 11 * 12), false, 12},
        {Header() + "1,2,0x1z,0\r\n", false, 18},
        {Header() + "1,2,0x10,0\r\n-2147483648,2,0x10,0\r\n", false, 19},
        {"white\r\n" + Header().substr(12), false, 1},
        {big, true, 18 + PaintStore::PAINT_MAX - 2},   // all but one fit after the two held
        // Cut inside the last record, or inside the last pattern: what is left still converts.
        {Header() + "     150,     150,0x0000ff00,0x00000000\r\n     250,     150,0x0000f", false, 19},
        {Header() + "     250,     150,0x0000ff00,0x0000000", false, 18},
        {Header().substr(0, Header().size() - 5), false, 17},
    };
    for (const auto& c : cases) {
        Messages().clear();
        Write("bad.pnt", c.text);
        MapPaint->CBAddRead->SetChecked(c.add);
        Read("bad.pnt");
        ASSERT_EQ(Messages().size(), 1u) << c.line;
        EXPECT_NE(Messages()[0].text.find(gui::Format("%d 行目", c.line)), std::string::npos) << Messages()[0].text;
        EXPECT_NE(Messages()[0].text.find("bad.pnt"), std::string::npos);
        EXPECT_EQ(o->paint.paint_rep, 2);
        EXPECT_EQ(o->style.BackColor, back);
        EXPECT_EQ(o->style.PaintColor[0], slot0);
    }
    // One record fewer fits exactly.
    Write("fit.pnt", big.substr(0, big.size() - 12));
    MapPaint->CBAddRead->SetChecked(true);
    Read("fit.pnt");
    EXPECT_EQ(o->paint.paint_rep, PaintStore::PAINT_MAX);
}

TEST_F(PaintFiles, CsvImportFloodsRowsAndFillsSlotsByFirstPairs) {
    for (int i = 3; i < 8; ++i) o->style.PaintColor[i] = 0x42;
    auto [x1, y1] = At(150, 150);
    auto [x2, y2] = At(250, 150);
    // Columns in another order: x and y are still the first two fields.
    Write("p.csv", gui::Format("x,y,カラー,パターン,市区町村名\r\n%d,%d,0x11,0,甲\r\n%d,%d,0x22,6,乙\r\n"
                               "%d,%d,17,0,甲\r\n%d,%d,,0,空\r\n",
                               x1, y1, x2, y2, x1, y1, x2, y2));
    Write("p2.csv", "パターン,カラー,x,y,市区町村名\r\n3,0x44,100,200,甲\r\n");
    Import("p.csv");
    ASSERT_EQ(o->paint.paint_rep, 3);
    EXPECT_EQ(o->style.PaintColor[0], 0x11u);
    EXPECT_EQ(o->style.PaintColor[1], 0x22u);
    EXPECT_EQ(o->style.PaintPattern[1], 6);
    EXPECT_EQ(o->style.PaintColor[2], o->style.DefPaintColor[2]);
    EXPECT_EQ(o->style.PaintColor[3], 0x42u) << "slots past the pairs stay";
    EXPECT_EQ(MapPaint->DataSlots, 2);
    EXPECT_EQ(Px(150, 150), 0x11u);
    EXPECT_TRUE(o->paint.PaintDisplay);
    EXPECT_TRUE(MapPaint->Button3->Enabled());

    // x and y from the first two fields, whatever the headings say.
    Import("p2.csv");
    ASSERT_EQ(o->paint.paint_rep, 1);
    const auto& p2 = o->paint.PaintRecords[0];
    EXPECT_EQ(gui::Format("%d %d 0x%x %d", p2.x, p2.y, unsigned(p2.colour), p2.pattern), "3 0 0x44 3");

    // Missing headings in order, and a bad row: one message, nothing changes.
    const std::pair<std::string, std::string> bad[] = {
        {"x,y,名前,カラー,パターン\r\n", "データ１行目に「市区町村名」の見出しがありません"},
        {"x,y,市区町村名,カラー2,パターン\r\n", "データ１行目に「カラー」の見出しがありません"},
        {"x,y,市区町村名,カラー,パターン \r\n", "データ１行目に「パターン」の見出しがありません"},
        {"x,y,市区町村名,カラー,パターン\r\n1,2,a,0x10,0\r\n1,2,a,red,0\r\n", "p.csv の 3 行目が正しくありません"},
        // A point past any map, as the paint file and the project refuse it.
        {"x,y,市区町村名,カラー,パターン\r\n2147483647,2,a,0x10,0\r\n", "p.csv の 2 行目が正しくありません"},
    };
    for (const auto& [text, message] : bad) {
        Messages().clear();
        Write("p.csv", text);
        Import("p.csv");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].text.find(message), std::string::npos) << Messages()[0].text;
        EXPECT_EQ(o->paint.paint_rep, 1);
    }
    EXPECT_EQ(Messages()[0].caption, "ファイル読み込みエラー");
}

TEST_F(PaintFiles, PaintByNameFillsEveryPointOfTheNameOnce) {
    AddTown("甲町", 150, 150);
    AddTown("甲町", 250, 150);
    AddTown("海町", 400, 300);   // on the coast
    AddTown("境町", 200, 150);   // on a border: fills as the replay would, nothing
    o->doc.ExtraCount = 1;
    o->doc.ExtraPref[0] = 12, o->doc.ExtraTownName[0] = "中区", o->doc.ExtraGroupName[0] = "乙市";
    std::tie(o->doc.ExtraX[0], o->doc.ExtraY[0]) = At(150, 150);
    BtnPaintClick(*o, o);

    PaintByName(*o, "甲町");
    ASSERT_EQ(Messages().size(), 1u) << "no slot chosen";
    EXPECT_EQ(o->paint.paint_rep, 0);
    MapPaint->TkBtnClick(3);
    PaintByName(*o, "甲町");
    EXPECT_EQ(o->paint.paint_rep, 2);
    EXPECT_EQ(Px(250, 150), o->style.PaintColor[3]);
    PaintByName(*o, "海町");
    PaintByName(*o, "境町");
    EXPECT_EQ(o->paint.paint_rep, 3) << "the coast point adds no record";
    EXPECT_EQ(Px(350, 300), 0xFFFFFFu) << "neither the sea nor the border network is filled";
    EXPECT_EQ(Px(200, 300), 0xFFFFFFu);
    MapPaint->TkBtnClick(4);
    PaintByName(*o, "中区(乙市)");
    EXPECT_EQ(o->paint.paint_rep, 4);
    EXPECT_EQ(Px(150, 150), o->style.PaintColor[4]);

    o->paint.paint_rep = PaintStore::PAINT_MAX - 1;
    Messages().clear();
    PaintByName(*o, "甲町");
    EXPECT_EQ(o->paint.paint_rep, PaintStore::PAINT_MAX);
    ASSERT_EQ(Messages().size(), 1u) << "one message at the limit, not one per point";
    EXPECT_EQ(Messages()[0].text, gui::Format("ペイントの回数が上限（%d回）に達しました", PaintStore::PAINT_MAX));
}

TEST_F(PaintFiles, SearchPaintMeasuresTheFoundMunicipality) {
    AddTown("甲町", 150, 150);
    AddTown("甲町", 399, 300);   // beside the coast: skipped and counted
    o->ui.EdName->SetText("甲町");
    o->ui.CBTownPaint->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(150, 150), o->style.TownPaintColor);
    EXPECT_EQ(Px(350, 300), o->style.BackColor);

    o->ui.CBMenseki->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(150, 150), o->style.AreaFillColor);
    EXPECT_TRUE(o->ui.Label35->Visible());
    EXPECT_EQ(o->ui.Label35->Caption(), " 1");
    // 99 x 99 pixels inside the border: one degree of longitude by 99 / ScaleY map units of latitude.
    const double lat = 34.0 * M_PI / 180;
    const double km2 = 99 / o->ScaleX * 1e-4 * 111.32 * std::cos(lat) * (99 / o->ScaleY / 15000 * 110.95);
    const double shown = std::stod(o->ui.Label31->Caption());
    EXPECT_NEAR(shown, km2, km2 * 0.05) << o->ui.Label31->Caption();
    EXPECT_EQ(o->ui.Label31->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << "red: a closed region";

    // A designated city found by the search is measured like the other points.
    o->doc.TownCount = 0;
    o->doc.CityCount = 1;
    o->doc.CityName[0] = "乙市", o->doc.CityPref[0] = 12, o->doc.CityFlag[0] = 0;
    std::tie(o->doc.CityX[0], o->doc.CityY[0]) = At(250, 150);
    o->ui.EdName->SetText("乙市");
    SearchOf(*o).SearchFound = true;
    SearchOf(*o).SearchName = "乙市";
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(250, 150), o->style.AreaFillColor);
    EXPECT_NEAR(std::stod(o->ui.Label31->Caption()), km2, km2 * 0.05) << o->ui.Label31->Caption();

    // A region over 200000 pixels enlarges the view, up to magnification 20 only; the
    // view drawn, the magnification box and its read-out stay one over later redraws.
    SearchOf(*o).SearchFound = false;
    o->ui.EdName->SetText("甲町");
    std::tie(o->doc.TownX[0], o->doc.TownY[0]) = At(300, 300);   // the open background, at the centre
    o->doc.TownCount = 1;
    o->ui.UpDown1->SetPosition(18);
    o->MAGSTEP = 18;
    for (int redraw = 0; redraw < 2; ++redraw) {
        ASSERT_TRUE(o->DrawMap());
        EXPECT_EQ(o->MAGSTEP, 19);
        EXPECT_EQ(o->ui.UpDown1->Position(), 19);
        EXPECT_EQ(o->ui.Label6->Caption(), "19.00");
        EXPECT_EQ(o->ui.Label31->Caption(), " 測定不能");
    }
    const float scale = o->ScaleX;
    o->ui.UpDown1->SetPosition(25);
    o->MAGSTEP = 25;
    ASSERT_TRUE(o->DrawMap());
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(o->MAGSTEP, 25);
    EXPECT_FLOAT_EQ(o->ScaleX, scale * 25 / 19);
    EXPECT_EQ(o->ui.Label15->Caption(), "測定不能");
}

// A ward searched by name stops at its dotted ward border on the very redraw
// that fills it, and the display settings keep the user's dotted borders.
TEST_F(PaintFiles, AWardSearchPaintStopsAtADottedWardBorderAndLeavesTheBoxAlone) {
    TwoWards();
    ASSERT_TRUE(o->DrawMap());
    const TColor back = Px(175, 150);
    o->ui.EdName->SetText("緑区");
    o->ui.CBTownPaint->SetChecked(true);
    ASSERT_TRUE(o->DrawMap());
    EXPECT_EQ(Px(125, 150), o->style.TownPaintColor);
    EXPECT_EQ(Px(175, 150), back) << "the fill stops at the ward border";
    EXPECT_TRUE(Settei->CBKuDot->Checked());
    o->ui.CBTownPaint->SetChecked(false);
    ASSERT_TRUE(o->DrawMap());
    int gaps = 0;
    for (int y = 110; y < 190; ++y) gaps += Px(150, y) == back;
    EXPECT_GT(gaps, 10) << "the ward border is dotted again";
}

TEST_F(PaintFiles, AWardByNameFillsWhatTheReplayFillsAndAListTooLongIsNoList) {
    TwoWards();
    BtnPaintClick(*o, o);
    MapPaint->TkBtnClick(2);
    MapPaint->CBAllPaint->SetChecked(true);
    ASSERT_TRUE(MapPaint->BtnAllPaint->Enabled());
    MapPaint->ComboBox1->SetText("緑区");
    QTest::keyClick(MapPaint->ComboBox1, Qt::Key_Return);   // Enter in the box runs 実行
    const TColor paint = o->style.PaintColor[2], back = Px(175, 150);
    EXPECT_EQ(Px(125, 150), paint);
    EXPECT_NE(back, paint) << "the fill stops at the ward border";
    EXPECT_TRUE(MapPaint->CBKuPaint->Checked()) << "the window shows why the border is solid";
    MapPaint->Button19Click(MapPaint);
    EXPECT_EQ(Px(125, 150), paint) << "the replay fills what the screen showed";
    EXPECT_EQ(Px(175, 150), back);
    MapPaint->CBKuPaint->SetChecked(false);
    EXPECT_TRUE(Settei->CBKuDot->Checked()) << "the dotted borders come back with the aid";

    // More names on the image than the list takes: a message, and no stale rows to choose.
    MapPaint->BtnPaintAdd->Click();
    for (int k = 0; k < 2001; ++k) AddTown("町" + std::to_string(k), 10 + k % 500, 250 + k / 500 * 20);
    Messages().clear();
    MapPaint->CBAllPaint->SetChecked(true);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "市町村指定エラー");
    EXPECT_FALSE(MapPaint->CBAllPaint->Checked());
    EXPECT_FALSE(MapPaint->ComboBox1->Enabled());
    EXPECT_FALSE(MapPaint->BtnAllPaint->Enabled());
    EXPECT_EQ(MapPaint->ComboBox1->Items()->Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(programDir / "MAPDATA" / "paintlist.lst"));
}
