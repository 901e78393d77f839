// The project file on the real data set: a saved project reopens to the same
// map, pixel for pixel, and a bad file changes nothing.
#include "paint/PaintTools.h"
#include "forms/AllForms.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "navigation/MainFormNavigation.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "navigation/Usettei.h"
#include "output/Updfpage.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/names/FullDisk.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <fstream>
#include <tuple>

using gui::testing::Messages;
using gui::testing::QueueFileName;
using testsupport::ChooseAreas;
using testsupport::ReadBytes;

class Project : public JapanFormsTest {
protected:
    TOpen* o = nullptr;
    std::string File(const std::string& name) { return (programDir / name).string(); }
    QImage Map() { return o->ui.Image1->Picture()->Bitmap()->Image().copy(); }
    // A point on the background near pixel (px, py) of the current view, in the Tokyo datum.
    std::pair<int32_t, int32_t> Point(int px, int py) {
        int32_t x, y;
        o->PressToData(px, py, x, y);
        return {x, y};
    }
    void Save(const std::string& name) {
        QueueFileName(File(name));
        o->Button1Click(o);
    }
    void Restore(const std::string& name) {
        QueueFileName(File(name));
        o->Button10Click(o);
    }
    void WriteText(const std::string& name, const std::string& bytes) {
        std::ofstream(File(name), std::ios::binary) << bytes;
    }
    // A line file of one two-point line from pixel (x1, y1) to (x2, y2); its path.
    std::string WriteLine(const std::string& name, TColor colour, int size, int arrow, int x1, int y1, int x2, int y2) {
        auto [dx1, dy1] = Point(x1, y1);
        auto [dx2, dy2] = Point(x2, y2);
        WriteText(name, gui::Format("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n"
                                    "%7d,%7d\r\n%7d,%7d\r\n",
                                    1, 2, int(colour), 0, size, arrow, 12, 0, dx1, dy1, dx2, dy2));
        return File(name);
    }
    // Labels "<mark>,x,y,札<i>,14,red" at the given pixels, opened through the label window's button.
    void OpenLabels(const std::string& name, const char* mark, const std::vector<std::pair<int, int>>& at) {
        std::string text;
        for (size_t i = 0; i < at.size(); ++i) {
            auto [x, y] = Point(at[i].first, at[i].second);
            text += gui::Format("%s,%d,%d,札%d,14,%d\r\n", mark, x, y, int(i), 0x0000C0);
        }
        WriteText(name, gui::Utf8ToCp932(text));
        QueueFileName(File(name));
        Letter->Button7->Click();
        ASSERT_EQ(Letter->LabelCount, int(at.size()));
    }
    // A restore that must open without a message.
    void RestoreCleanly(const std::string& name) {
        Restore(name);
        ASSERT_TRUE(Messages().empty()) << Messages()[0].text;
    }

    static int Differ(const QImage& a, const QImage& b) {
        if (a.size() != b.size()) return a.width() * a.height();
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
        return n;
    }
    // The user hides a label by a double click on its row.
    static void HideLabel(int row) {
        Letter->StringGrid1->SetRow(row);
        Letter->StringGrid1->OnDblClick(Letter->StringGrid1);
        ASSERT_FALSE(Letter->LabelTable[row].shown);
    }

    // Everything the project keeps, made as the user makes it.
    void BuildState(const std::vector<int>& areas = {13, 14}) {
        o = Open;
        o->gate.MapShown = true;
        ChooseAreas(areas);
        o->ui.CBTownName->SetChecked(true);
        // A range zoom, one up-down step, then size x2.
        TkBtn2Click(*o, o);
        o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 200, 250);
        o->Image1MouseMove(o->ui.Image1, {}, 480, 530);
        o->Image1MouseUp(o->ui.Image1, mbLeft, {}, 480, 530);
        ASSERT_TRUE(o->RangeZoom);
        o->ui.UpDown1->SetPosition(o->ui.UpDown1->Position() + 1);
        UpDown1Click(*o, o->ui.UpDown1, btNext);
        o->ui.RadioGroup1->SetItemIndex(1);
        ASSERT_EQ(o->ImageSize, 1200);

        // Paint: a changed palette, a solid and a hatched slot.
        BtnPaintClick(*o, o);
        o->style.PaintColor[1] = 0x40C0FF;
        o->style.PaintPattern[2] = 6;
        int pressed = 0;
        for (int i = 0; i < o->doc.TownCount && pressed < 6; ++i) {
            int sx, sy;
            o->MapToScreen(o->doc.TownX[i], o->doc.TownY[i], sx, sy);
            if (sx < 50 || sy < 50 || sx > 1150 || sy > 1150 || o->ui.Image1->Canvas()->Pixels(sx, sy) != 0xFFFFFF) continue;
            MapPaint->TkBtnClick(1 + pressed % 2);
            PaintAt(*o, sx, sy);
            ++pressed;
        }
        ASSERT_EQ(pressed, 6);
        MapPaint->Button19Click(MapPaint);

        // Labels with a blank and a comma, in their own colours, marks shown.
        const std::string labels = File("l.lbl");
        std::string text;
        for (int i = 0; i < 3; ++i) {
            auto [x, y] = Point(300 + 200 * i, 400 + 100 * i);
            text += gui::Format("●,%d,%d,L%d,%d,%d\r\n", x, y, i, 12, 0x0000C0 + i);
        }
        WriteText("l.lbl", gui::Utf8ToCp932(text));
        ASSERT_TRUE(Letter->ReadLabelFile(labels));
        Letter->StringGrid1->SetCells(3, 0, "東京 駅");
        Letter->StringGrid1->SetCells(3, 1, "横浜,中華街");
        Letter->CBMark->SetChecked(true);
        o->ui.CBLabel->SetChecked(true);

        // A titled legend of three rows.
        MapPaint->Button4Click(MapPaint);
        Hanrei->UpDown1->SetPosition(3);
        Hanrei->UpdateRows();
        Hanrei->CBMenuTitle->SetChecked(true);
        Hanrei->Edit9->SetText("人口 の 増減");
        for (int i = 0; i < 3; ++i) Hanrei->RowEdit(i)->SetText(gui::Format("%d 割, 以上", i + 1));
        Hanrei->Button3Click(Hanrei);
        o->ui.CBExp->SetChecked(true);

        // Symbols and a stamp.
        for (int code : {101, 110, 503}) {
            PagesDlg->SymbolCode = code;
            auto [x, y] = Point(400 + code % 100 * 20, 800);
            ASSERT_TRUE(PagesDlg->AddPlacedSymbol(x, y));
        }

        // Two line files with arrows, drawn under the paint too.
        QueueFileName(WriteLine("line0.adl", 0xC000C0, 2, 1, 100, 1000, 300, 1100) + "\n" +
                  WriteLine("line1.adl", 0xC000C1, 2, 1, 400, 1000, 600, 1100));
        LineAdd->BtnFileClick(nullptr);
        ASSERT_EQ(LineAdd->LineFileCount, 2);
        LineAdd->CheckBox4->SetChecked(true);
        LineAdd->CheckBox2->SetChecked(true);

        // Two circles: concentric off, centre mark on.
        Kyori->CheckBox6->SetChecked(true);
        Kyori->CheckBox1->SetChecked(false);
        Kyori->CheckBox2->SetChecked(true);
        for (int k = 0; k < 2; ++k) {
            auto [x, y] = Point(500 + 200 * k, 500);
            ASSERT_TRUE(Kyori->AddCircle(x, y));
        }

        o->style.CoastColor = 0x804000;
        o->style.TownColor = 0x008040;
        Settei->FormCreate(Settei);
        o->ui.CBScale->SetChecked(true);
        ASSERT_TRUE(o->DrawMap());
    }
};

TEST_F(Project, ASavedProjectReopensToTheSameMapAndSavesTheSameBytes) {
    BuildState();
    ASSERT_TRUE(Messages().empty()) << Messages()[0].text;
    const QImage before = Map();
    before.save(QString::fromStdString((testsupport::BuildFolder() / "project-saved.png").string()));
    Save("a.rvx");
    const std::string saved = ReadBytes(File("a.rvx"));
    EXPECT_EQ(saved.find("2, SELECT\r\n13,14\r\n"), 0u);
    EXPECT_NE(saved.find(gui::Utf8ToCp932("-1,hanrei\r\n")), std::string::npos);
    EXPECT_NE(saved.find(gui::Utf8ToCp932(",横浜,中華街,12,193\r\n")), std::string::npos);

    ChooseAreas({1});
    Messages().clear();   // the question before the work of the saved map goes
    const int redraws = o->RedrawCount;
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("a.rvx"));
    EXPECT_EQ(o->RedrawCount - redraws, 1) << "one complete redraw";
    EXPECT_FALSE(o->gate.ProjectLoading);
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_EQ(Letter->StringGrid1->Cells(3, 0), "東京 駅");
    EXPECT_EQ(Letter->StringGrid1->Cells(3, 1), "横浜,中華街");
    EXPECT_EQ(Hanrei->Edit9->Text(), "人口 の 増減");
    const QImage after = Map();
    after.save(QString::fromStdString((testsupport::BuildFolder() / "project-restored.png").string()));
    EXPECT_EQ(Differ(after, before), 0);

    Save("b.rvx");
    EXPECT_EQ(ReadBytes(File("b.rvx")), saved);

    // The log tells the restore in order.
    o->Log.Flush();
    const std::string log = gui::Cp932ToUtf8(ReadBytes(programDir / "RovanaLog.txt"));
    size_t at = 0;
    for (const char* line : {"\nファイル読み込み\n", "RVXファイル名：", "ペイント数：6\n", "ラベル数：3\n",
                             "追加地図線数：2\n", "  ファイル名：", "CBRailLine->Checked=false\n", "CBEki->Checked=false\n",
                             "FROMFILE：true\n"}) {
        std::string want = line;
        for (size_t p = 0; (p = want.find('\n', p)) != std::string::npos; p += 2) want.replace(p, 1, "\r\n");
        at = log.find(want, at);
        ASSERT_NE(at, std::string::npos) << line;
    }

    // A range drag after restoring at x2 lands on the square dragged.
    TkBtn2Click(*o, o);
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 300, 300);
    o->Image1MouseMove(o->ui.Image1, {}, 700, 700);
    o->Image1MouseUp(o->ui.Image1, mbLeft, {}, 700, 700);
    EXPECT_NEAR(o->ViewWidthKm, o->RangeWidthKm, o->RangeWidthKm * 0.02);
}

TEST_F(Project, ABadProjectChangesNothingAndAFailedSaveKeepsTheOldFile) {
    BuildState();
    Save("a.rvx");
    const std::string saved = ReadBytes(File("a.rvx"));
    const QImage before = Map();
    const int labels = Letter->LabelCount, paint = o->paint.paint_rep, select = o->doc.SELECT;
    std::vector<std::string> lines;
    for (size_t p = 0, e; (e = saved.find("\r\n", p)) != std::string::npos; p = e + 2) lines.push_back(saved.substr(p, e - p));
    auto join = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i) s += lines[i] + "\r\n";
        return s;
    };
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = saved;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    std::vector<std::string> bad;
    for (size_t n = 0; n < lines.size(); ++n) bad.push_back(join(n));
    const std::string count = gui::Format("%d,ROWCOUNT", labels);
    bad.push_back(replaced(count, "20001,ROWCOUNT"));
    bad.push_back(replaced("0x", "0y"));
    bad.push_back(replaced("-1,hanrei\r\n         3", "-1,hanrei\r\n         9"));
    bad.push_back(replaced("1,SSIZE", "0,SSIZE"));
    bad.push_back(replaced("\r\n13,14\r\n", "\r\n13,53\r\n"));
    for (size_t k = 0; k < bad.size(); ++k) {
        SCOPED_TRACE(k < lines.size() ? gui::Format("cut after %d lines", int(k))
                                      : gui::Format("changed value %d", int(k - lines.size())));
        Messages().clear();
        WriteText("bad.rvx", bad[k]);
        Restore("bad.rvx");
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].text.find("bad.rvx"), std::string::npos);
        EXPECT_NE(Messages()[0].text.find(" 行目"), std::string::npos);
    }
    EXPECT_FALSE(o->gate.ProjectLoading);
    EXPECT_TRUE(o->gate.DataReady);
    EXPECT_EQ(o->doc.SELECT, select);
    EXPECT_EQ(o->paint.paint_rep, paint);
    EXPECT_EQ(Letter->LabelCount, labels);
    EXPECT_TRUE(Map() == before);

    // A missing line file is named and left out; the rest comes back.
    std::filesystem::remove(File("line0.adl"));
    Messages().clear();
    Restore("a.rvx");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "指定されたファイルがありません");
    EXPECT_EQ(LineAdd->LineFileCount, 1);
    EXPECT_EQ(Letter->LabelCount, labels);

    // The size choice is the copy scale's: a second field that disagrees is not taken.
    ASSERT_NE(saved.find("\r\n2,1,COPYSCALE\r\n"), std::string::npos);
    WriteText("size.rvx", replaced("\r\n2,1,COPYSCALE", "\r\n2,7,COPYSCALE"));
    Restore("size.rvx");
    EXPECT_EQ(o->ui.RadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(o->COPYSCALE, 2);

    // A save that cannot be written keeps the old file and says so.
    Messages().clear();
    {
        FullDisk full(64);
        Save("a.rvx");
    }
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, "RVXファイルを書き込めません　　　");
    EXPECT_EQ(ReadBytes(File("a.rvx")), saved);
    EXPECT_FALSE(gui::testing::Terminated());
}

// First thing after start-up, a project whose railway boxes load the station
// names while it is restored: its own labels are the rows that stay.
TEST_F(Project, RestoringFirstThingAfterStartUpWithStationNames) {
    o = Open;
    std::string t = "1, SELECT\n13\n175000,172500,CX CY\n600,SIZEX\n1,SSIZE\n1,0,COPYSCALE\n1,MAGSTEP\n"
                    "1,MAGUNIT\n1,UpDownPosition\n0.00499,scale\n";
    for (int k = 0; k < 17; ++k) t += k == 0 || k == 1 ? "-1,box\n" : "0,box\n";
    t += "0,paint_rep\n";
    for (int k = 0; k < 17; ++k) t += "0x00ffffff\n";
    t += "1,ROWCOUNT\n●,175000,172500,プロジェクトの札,12,255\n0,hanrei\n0,0,350,550,Scale\n0,STAMP_CT\n"
         "0,//addline file number\n0,//addline paintline\n0,//Kyorien nummber\n";
    for (int k = 0; k < 8; ++k) t += "255,colour\n";
    t += "-1,CBRailLine\n-1,CBEki\n0,CBMain\n";
    for (size_t p = 0; (p = t.find('\n', p)) != std::string::npos; p += 2) t.replace(p, 1, "\r\n");
    WriteText("s.rvx", gui::Utf8ToCp932(t));
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("s.rvx"));
    EXPECT_TRUE(o->ui.CBEki->Checked());
    EXPECT_GT(LineAdd->RailFileCount, 0) << "the railways were loaded";
    EXPECT_EQ(Letter->LabelCount, 1);
    EXPECT_EQ(Letter->StringGrid1->Cells(3, 0), "プロジェクトの札");
    EXPECT_EQ(Letter->LabelTable[0].color, 255u);
    EXPECT_TRUE(o->gate.MapShown);
    EXPECT_EQ(o->CX, 175000);
}

// The restored map is the saved one whatever the session did in between:
// another single area (which unticks 重複可), other line files recoloured in the
// attribute window, a painting under way. The legend made through "凡例編集",
// with "地図凡例" unticked, is in the file.
TEST_F(Project, TheRestoredMapDoesNotDependOnWhatTheSessionDidBefore) {
    o = Open;
    o->gate.MapShown = true;
    ChooseAreas({13, 26});
    o->ui.CBTownName->SetChecked(true);
    ASSERT_TRUE(o->ui.CBMainDoubleName->Checked());
    o->ui.BtnPaint->Click();
    for (auto [slot, px, py] : {std::tuple{1, 300, 300}, {3, 420, 200}}) {
        MapPaint->TkBtnClick(slot);
        PaintAt(*o, px, py);
    }
    MapPaint->Button4->Click();
    MapPaint->Button19->Click();
    ASSERT_FALSE(o->ui.CBExp->Checked());
    auto line = [&](const std::string& name, TColor colour, int py) {
        return WriteLine(name, colour, 3, 0, 100, py, 500, py + 40);
    };
    QueueFileName(line("a.adl", 0xC000C0, 450) + "\n" + line("b.adl", 0x00C0C0, 500));
    LineAdd->BtnFileClick(nullptr);
    ASSERT_TRUE(o->DrawMap());
    ASSERT_TRUE(Messages().empty()) << Messages()[0].text;
    const QImage before = Map();
    Save("a.rvx");
    EXPECT_NE(ReadBytes(File("a.rvx")).find("-1,hanrei\r\n"), std::string::npos);

    ChooseAreas({26});
    Messages().clear();   // the question before the work of the saved map goes
    QueueFileName(line("c.adl", 255, 200) + "\n" + line("d.adl", 0xFF0000, 250));
    LineAdd->BtnFileClick(nullptr);
    LineSet->Button17->Click();
    o->ui.BtnPaint->Click();
    ASSERT_TRUE((o->tools.ToolAs<PaintTool>() != nullptr));
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("a.rvx"));
    EXPECT_FALSE((o->tools.ToolAs<PaintTool>() != nullptr)) << "no mode left armed";
    EXPECT_TRUE(o->ui.Button5->Enabled());
    const QImage after = Map();
    EXPECT_EQ(Differ(after, before), 0);
    after.save(QString::fromStdString((testsupport::BuildFolder() / "project-session-restored.png").string()));

    // A project without paint, restored while painting: painting ends, a press paints nothing.
    gui::testing::QueueAnswer(IDOK);
    o->ui.BtnPaint->Click();
    Save("b.rvx");
    ASSERT_NE(ReadBytes(File("b.rvx")).find("\r\n0,paint_rep\r\n"), std::string::npos);
    Restore("b.rvx");
    EXPECT_FALSE((o->tools.ToolAs<PaintTool>() != nullptr));
    EXPECT_TRUE(o->ui.Button5->Enabled());
    Messages().clear();
    o->Image1MouseDown(o->ui.Image1, mbLeft, {}, 300, 300);
    EXPECT_TRUE(Messages().empty()) << Messages()[0].text;
}

// The marks before the labels are not in the file: a restore leaves them as they are,
// so the map comes back as it was saved, with marks and without.
TEST_F(Project, LabelsComeBackWithOrWithoutTheirMarksAsSaved) {
    o = Open;
    o->gate.MapShown = true;
    ChooseAreas({13, 14});
    ASSERT_NO_FATAL_FAILURE(OpenLabels("m.lbl", "○", {{200, 300}, {350, 300}}));
    for (bool marks : {false, true}) {
        Letter->CBMark->SetChecked(marks);
        const QImage before = Map();
        Save("m.rvx");
        ASSERT_NO_FATAL_FAILURE(RestoreCleanly("m.rvx"));
        EXPECT_EQ(Letter->CBMark->Checked(), marks);
        EXPECT_TRUE(Map() == before) << marks;
    }
    // The restored labels came from the project, not from the file listed before.
    EXPECT_EQ(Letter->LabelFileCount, 0);
    EXPECT_EQ(Letter->StringGrid2->Cells(0, 0), "");

    // A comma typed into a mark would split its line: the project must still open.
    Letter->StringGrid1->SetCells(0, 0, "○,●");
    Save("m.rvx");
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("m.rvx"));
    EXPECT_EQ(Letter->LabelCount, 2);
    EXPECT_EQ(Letter->StringGrid1->Cells(0, 0), "○，●");
}

// Station labels come back as station labels: a station reload replaces them
// instead of adding the stations again, however often the project goes round.
TEST_F(Project, StationLabelsStayStationLabelsThroughEveryRoundTrip) {
    o = Open;
    o->gate.MapShown = true;
    ChooseAreas({8});
    auto [x, y] = Point(300, 300);
    WriteText("u.lbl", gui::Utf8ToCp932(gui::Format("○,%d,%d,自分の札,12,255\r\n", x, y)));
    QueueFileName(File("u.lbl"));
    Letter->Button7->Click();
    o->ui.CBRailLine->SetChecked(true);
    o->ui.CBEki->SetChecked(true);
    ASSERT_TRUE(RailControlsOf(*o).CBMain->Checked());
    const int count = Letter->LabelCount;
    ASSERT_GT(count, 10);
    Save("s.rvx");
    const std::string saved = ReadBytes(File("s.rvx"));
    const QImage before = Map();
    for (int round = 0; round < 3; ++round) {
        ASSERT_NO_FATAL_FAILURE(RestoreCleanly("s.rvx"));
        RailControlsOf(*o).CBMain->SetChecked(false);
        RailControlsOf(*o).CBMain->SetChecked(true);
        EXPECT_EQ(Letter->LabelCount, count) << round;
        Save("s.rvx");
        EXPECT_TRUE(ReadBytes(File("s.rvx")) == saved) << round;
    }
    int mine = 0, mito = 0;
    for (int i = 0; i < Letter->LabelCount; ++i) {
        mine += Letter->LabelTable[i].text == "自分の札";
        mito += Letter->LabelTable[i].text == "水戸";
    }
    EXPECT_EQ(mine, 1);
    EXPECT_LE(mito, 2) << "one main-station file each, JR and others";
    EXPECT_EQ(Differ(Map(), before), 0);

    // A project written before rows carried their state: its station rows become station labels again.
    std::string old = saved;
    for (size_t at = 0; (at = old.find(",S", at)) != std::string::npos; ++at)
        if (std::isdigit(static_cast<unsigned char>(old[at + 2]))) old.erase(at, old.find("\r\n", at) - at);
    ASSERT_NE(old, saved);
    WriteText("old.rvx", old);
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("old.rvx"));
    RailControlsOf(*o).CBMain->SetChecked(false);
    RailControlsOf(*o).CBMain->SetChecked(true);
    EXPECT_EQ(Letter->LabelCount, count);
}

// Save, restore, save gives the same file and the same map in every state of
// 鉄道路線図, 駅名 and ラベル, a hidden label included, whatever the session did before.
TEST_F(Project, EveryStateOfTheLayerBoxesComesBackAsSaved) {
    o = Open;
    o->gate.MapShown = true;
    ChooseAreas({13});
    ASSERT_NO_FATAL_FAILURE(OpenLabels("h.lbl", "●", {{200, 250}, {320, 330}, {440, 410}}));
    HideLabel(1);
    // Ticking the railway map leaves the user's labels on the map.
    ASSERT_TRUE(o->ui.CBLabel->Checked());
    o->ui.CBRailLine->SetChecked(true);
    EXPECT_TRUE(o->ui.CBLabel->Checked());
    o->ui.CBRailLine->SetChecked(false);
    struct State {
        bool rail, eki, label, main;
    };
    const State states[] = {{false, false, true, true}, {false, false, false, true}, {true, false, true, true},
                            {true, false, false, true}, {true, true, true, true},    {true, true, false, true},
                            {true, true, true, false}};
    auto set = [&](const State& s) {
        o->ui.CBRailLine->SetChecked(s.rail);
        if (s.rail) o->ui.CBEki->SetChecked(s.eki);
        if (s.eki) RailControlsOf(*o).CBMain->SetChecked(s.main);
        o->ui.CBLabel->SetChecked(s.label);
        ASSERT_EQ(o->ui.CBLabel->Checked(), s.label);
    };
    for (size_t k = 0; k < std::size(states); ++k) {
        set(states[k]);
        const QImage before = Map();
        Save("a.rvx");
        const std::string saved = ReadBytes(File("a.rvx"));
        // Something else first: every box the other way.
        set(states[(k + 3) % std::size(states)]);
        for (int twice = 0; twice < 2; ++twice) {
            ASSERT_NO_FATAL_FAILURE(RestoreCleanly("a.rvx"));
            EXPECT_EQ(o->ui.CBLabel->Checked(), states[k].label) << k;
            EXPECT_EQ(Differ(Map(), before), 0) << k;
            Save("b.rvx");
            EXPECT_TRUE(ReadBytes(File("b.rvx")) == saved) << k;
        }
        int hidden = 0;
        for (int i = 0; i < Letter->LabelCount; ++i) hidden += Letter->LabelTable[i].text == "札1" && !Letter->LabelTable[i].shown;
        EXPECT_EQ(hidden, 1) << k;
    }
}

// Three areas with every window used, saved, restored by a new run of the
// program and saved again: the same file and the same map.
TEST_F(Project, AProjectOfEveryWindowReopensInANewRunAsSaved) {
    BuildState({8, 13, 14});
    o->ui.CBRailLine->SetChecked(true);
    o->ui.CBEki->SetChecked(true);
    int user = -1;
    // The hidden one has a comma in its text, beside the state the row carries.
    for (int i = 0; i < Letter->LabelCount && user < 0; ++i)
        if (Letter->LabelTable[i].text == "横浜,中華街") user = i;
    ASSERT_GE(user, 0);
    HideLabel(user);
    o->ui.CBLabel->SetChecked(true);
    // A page laid out in the layout window: A3 across at 1:250,000, a title with a comma, the arrow dragged.
    TPdfPage* page = PdfPageWindow();
    page->CBPaper->SetItemIndex(output::PaperIndex("A3"));
    page->CBPaper->OnChange(page->CBPaper);
    page->RGOrient->SetItemIndex(1);
    page->RGScale->SetItemIndex(1);
    testsupport::TypeInto(page->EdScale, "250000", false);
    page->EdTitle->SetText("神奈川, 東京");
    page->CBItem[output::PAGE_NORTH]->SetChecked(true);
    page->CBWhich->SetItemIndex(output::PAGE_NORTH);
    page->CBWhich->OnChange(page->CBWhich);
    page->CBAnchor->SetItemIndex(output::ANCHOR_BOTTOM_LEFT);
    page->CBAnchor->OnChange(page->CBAnchor);
    testsupport::TypeInto(page->EdX, "12.5", false);
    const output::PageLayout layout = page->Layout();
    ASSERT_EQ(layout.places[output::PAGE_NORTH], (output::PagePlace{true, output::ANCHOR_BOTTOM_LEFT, 125, 50}));
    ASSERT_TRUE(Messages().empty()) << Messages()[0].text;
    const QImage before = Map();
    const int labels = Letter->LabelCount;
    Save("a.rvx");
    const std::string saved = ReadBytes(File("a.rvx"));

    DestroyAllForms();
    CreateAllForms(Application);
    o = Open;
    ASSERT_NO_FATAL_FAILURE(RestoreCleanly("a.rvx"));
    EXPECT_EQ(Letter->LabelCount, labels);
    EXPECT_EQ(Differ(Map(), before), 0);
    Map().save(QString::fromStdString((testsupport::BuildFolder() / "project-new-run.png").string()));
    EXPECT_TRUE(PdfPageWindow()->Layout() == layout);
    Save("b.rvx");
    EXPECT_TRUE(ReadBytes(File("b.rvx")) == saved);
}
