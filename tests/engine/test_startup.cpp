#include "forms/AllForms.h"
#include "engine/Convert.h"
#include "engine/Uabout.h"
#include "engine/Uhowto.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Files.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "lines/Ulineadd.h"
#include "navigation/Usettei.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using areafiles::WriteText;

// Sets a file's last-write time to noon of a local date.
void SetDate(const fs::path& file, int y, int m, int d) {
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = m - 1;
    tm.tm_mday = d;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    const auto t = std::chrono::system_clock::from_time_t(std::mktime(&tm));
    fs::last_write_time(file, fs::file_time_type::clock::now() + (t - std::chrono::system_clock::now()));
}

// Pixels of the start screen's text colour inside a band of rows.
int GreenPixels(int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; y++)
        for (int x = 0; x < 600; x++) n += Open->ui.Image1->Canvas()->Pixels(x, y) == 0x008000;
    return n;
}

std::string ConfigText(const std::string& line1, const std::string& line4 = "12345,TownPaintColor",
                   const std::string& line11 = "my marks,//Extra Mark Folder") {
    return line1 + "\n1,同一色\n0,TimeOrder\n" + line4 +
           "\n111,TownFontColor\n222,IslandsColor\n333,MountainColor\n444,KanaFontColor\n555,SelectColor\n"
           "666,clLetter\n" + line11 +
           "\n777,//DefPrefColor\n888,//DefPrefSeatColor\n12,//DefPrefSize\n9,//DefPrefSeatSize\n"
           "1001,CoastColor\n1002,PrefColor\n1003,TownColor\n1004,NTownColor\n1005,BackColor\n1006,WakuColor\n"
           "1007,KuColor\n1008,DoColor\n1009,FunColor\n";
}

using Startup = FormsTest;

TEST_F(Startup, DefaultsTablesAndStartScreen) {
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_FALSE(gui::testing::Terminated());
    EXPECT_EQ(Open->doc.AppDir, fs::current_path().string());
    // The tables run in area-code order to the end.
    EXPECT_EQ(Open->doc.AreaName[47], "北海道南部");
    EXPECT_EQ(Open->doc.AreaName[52], "北方四島");
    EXPECT_FLOAT_EQ(Open->doc.AreaSpanKm[51], 1389.3f);
    EXPECT_EQ(Open->doc.RegionName[9], "9九州");
    for (int code = 0; code < 60; code++)
        EXPECT_EQ(Open->doc.PrefFlag[code], code == 47 || code == 48 || code == 49 || code == 52) << code;
    EXPECT_EQ(Open->style.DefPaintColor[7], 0x1828EF);
    EXPECT_EQ(Open->ui.Label15->Caption(), "   0.00 km");
    EXPECT_EQ(Open->ui.Label31->Caption(), "    0.00 km");
    EXPECT_EQ(Open->ui.Label28->Caption(), "0.0 km");
    EXPECT_FALSE(Open->ui.TkBtn2->Enabled());
    EXPECT_FALSE(Open->ui.Button8->Enabled());
    // The readings of the mini folder.
    ASSERT_EQ(Open->doc.YomiCount, 2);
    EXPECT_EQ(Open->doc.YomiRecords[1].yomi, "ひがしまち");
    EXPECT_EQ(Open->doc.YomiRecords[1].x, 187500);
    // The start screen: background, guidance text, no map.
    EXPECT_EQ(Open->ui.Image1->Canvas()->Width(), 600);
    EXPECT_EQ(Open->ui.Image1->Canvas()->Pixels(599, 599), Open->style.BackColor);
    EXPECT_GT(GreenPixels(225, 245), 100);
    EXPECT_EQ(GreenPixels(250, 265), 0);
    EXPECT_FALSE(Open->ProgramDate.empty());
    EXPECT_TRUE(Open->Log.IsOpen());
    EXPECT_TRUE(fs::exists("RovanaLog.txt"));
}

TEST_F(Startup, TheCursorsAreRegisteredUnderTheirNumbers) {
    std::vector<int> numbers;
    for (int n = 1; n <= 21; n++) numbers.push_back(n);
    for (int n = 101; n <= 107; n++) numbers.push_back(n);
    for (int n : {200, 201, 301}) numbers.push_back(n);
    for (int n : numbers) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(Screen()->HasCursor(n));
        QCursor c = Screen()->CursorOf(n);
        EXPECT_EQ(c.pixmap().width(), 32);
        EXPECT_EQ(c.hotSpot(), QPoint(0, 0));
    }
    EXPECT_FALSE(Screen()->HasCursor(22));
}

TEST_F(Startup, DataDatesGoToTheStartScreenAndTheAreaWindow) {
    // The mini folder has no railway data and one map file.
    EXPECT_EQ(GreenPixels(518, 540), 0);
    const fs::path map = programDir / "MAPDATA/01.MAP";
    SetDate(map, 2021, 3, 9);
    fs::copy_file(map, programDir / "MAPDATA/02.MAP");
    SetDate(programDir / "MAPDATA/02.MAP", 2019, 12, 31);
    WriteText(programDir / "鉄道路線/2関東/JR線.adl", "x\n");
    WriteText(programDir / "鉄道路線/主要駅名/駅.lbl", "x\n");
    DestroyAllForms();
    CreateAllForms(Application);
    EXPECT_EQ(Open->doc.BoundaryDate, (2021 - 1980) * 10000 + 3 * 100 + 9);
    EXPECT_EQ(Ken->Label4->Caption(), "データ最終更新日 2021/03/09");
    EXPECT_GT(GreenPixels(478, 500), 50);
    EXPECT_GT(GreenPixels(518, 540), 50);
}

TEST_F(Startup, TheSearchHistoryIsLoadedWhenThereIsOne) {
    EXPECT_EQ(Open->ui.ComboBox1->Items()->Count(), 0);
    WriteText(programDir / "MAPDATA/townlist.lst", "札幌市\n東町\n");
    DestroyAllForms();
    CreateAllForms(Application);
    ASSERT_EQ(Open->ui.ComboBox1->Items()->Count(), 2);
    EXPECT_EQ(Open->ui.ComboBox1->Items()->Strings(1), "東町");
}

class StartupWithoutProgramFile : public FormsTest {
protected:
    StartupWithoutProgramFile() { PlaceProgram = false; }
};

TEST_F(StartupWithoutProgramFile, ShowsTheMessageAndEnds) {
    areafiles::ExpectOnlyMessage("実行ファイル " + testsupport::ProgramBaseName() + " が見つかりません          ",
                                 "ファイルエラー", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(gui::testing::Terminated());
    // Nothing is written into a folder that is not the program's.
    EXPECT_FALSE(fs::exists("RovanaLog.txt"));
}

class StartupWithoutLists : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        fs::remove(dir / "MAPDATA/yomi.lst");
        fs::remove(dir / "MAPDATA/EXTRA.TXT");
    }
};

TEST_F(StartupWithoutLists, ReportsTheMissingFilesAndGoesOn) {
    const auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "読みがなデータファイル 'Yomi.lst' が 'MapData'フォルダの中にありません");
    EXPECT_EQ(m[0].caption, "ファイルオープンエラー");
    EXPECT_EQ(m[1].text, "重複市町村名データファイル 'Extra.txt' が 'MapData'フォルダの中にありません");
    EXPECT_FALSE(gui::testing::Terminated());
    EXPECT_EQ(Open->doc.YomiCount, 0);
    // No config.ini either: the defaults stand.
    EXPECT_EQ(Open->style.CoastColor, 0xFF0000);
    EXPECT_TRUE(Open->ui.N24->Checked());
    EXPECT_TRUE(Open->Log.IsOpen());
}

// Lists with many lines at positions no map has: a start-up must not stop at a message per line.
class StartupWithFarListLines : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        std::string city = "札幌市,150000,150000,1,1\n", extra;
        for (int i = 0; i < 50; ++i) {
            city += "遠市,99999999,150000,1,0\n";
            extra += "13,遠町,東京都,150000,-99999999,S\n";
        }
        std::ofstream(dir / "MAPDATA/CITYLIST.TXT", std::ios::binary) << gui::Utf8ToCp932(city);
        std::ofstream(dir / "MAPDATA/EXTRA.TXT", std::ios::binary) << gui::Utf8ToCp932(extra);
    }
};

TEST_F(StartupWithFarListLines, EachListNamesItsFirstBadLineOnce) {
    const auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "CITYLIST.TXT の 2 行目の座標値が正しくありません");
    EXPECT_EQ(m[1].text, "EXTRA.TXT の 1 行目の座標値が正しくありません");
    EXPECT_EQ(Open->doc.CityCount, 1);
    EXPECT_EQ(Open->doc.ExtraCount, 0);
    EXPECT_FALSE(Open->doc.CityListWhole);
}

class Config : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    std::string path() const { return (programDir / "MAPDATA/config.ini").string(); }
};

TEST_F(Config, TheReadingsTableStopsAtItsCapacity) {
    std::string lines;
    for (int i = 0; i < TOpen::YOMI_MAX + 3; i++) lines += gui::Format("%d,2,名%d,よみ\n", i, i);
    WriteText(programDir / "MAPDATA/yomi.lst", lines);
    Open->LoadYomiList((programDir / "MAPDATA/yomi.lst").string());
    EXPECT_EQ(Open->doc.YomiCount, TOpen::YOMI_MAX);
    EXPECT_EQ(Open->doc.YomiRecords.back().x, TOpen::YOMI_MAX - 1);
}

TEST_F(Config, WithLine1SetEveryLineButTheTenthIsApplied) {
    WriteText(path(), ConfigText("-1,終了時の設定保存"));
    LineAdd->LineColor = 42;
    Open->ui.N24->SetChecked(false);
    Open->config_read(path());
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_TRUE(Open->ui.N24->Checked());
    EXPECT_TRUE(Open->style.SameColor);
    EXPECT_EQ(Open->TimeOrder, 0);
    EXPECT_TRUE(Open->ui.NKanji->Checked());
    EXPECT_EQ(LineAdd->LineColor, 42);
    // The folder is the first field: a blank ends it.
    EXPECT_EQ(Open->ExtraMarkFolder, "my");
    // Every other value in its own line, in the file's order.
    const int32_t got[] = {Open->style.TownPaintColor, Open->style.TownFontColor,  Open->style.IslandsColor, Open->style.MountainColor,
                           Open->style.KanaFontColor,  Open->style.SelectColor,    Open->style.DefPrefColor, Open->style.DefPrefSeatColor,
                           Open->style.DefPrefSize,    Open->style.DefPrefSeatSize, Open->style.CoastColor,  Open->style.PrefColor,
                           Open->style.TownColor,      Open->style.NTownColor,     Open->style.BackColor,    Open->style.WakuColor,
                           Open->style.KuColor,        Open->style.DoColor,        Open->style.FunColor};
    EXPECT_EQ(std::vector<int32_t>(std::begin(got), std::end(got)),
              (std::vector<int32_t>{12345, 111, 222, 333, 444, 555, 777, 888, 12, 9, 1001, 1002, 1003, 1004, 1005, 1006,
                                    1007, 1008, 1009}));
}

TEST_F(Config, WithLine1ClearOnlyTheSameColourAndTheSymbolFolderApply) {
    WriteText(path(), ConfigText("0,終了時の設定保存"));
    Open->config_read(path());
    EXPECT_FALSE(Open->ui.N24->Checked());
    EXPECT_TRUE(Open->style.SameColor);
    EXPECT_EQ(Open->ExtraMarkFolder, "my");
    EXPECT_EQ(Open->TimeOrder, 1);
    EXPECT_TRUE(Open->ui.NJikan->Checked());
    EXPECT_EQ(Open->style.TownPaintColor, 0x00FFFF);
    EXPECT_EQ(Open->style.CoastColor, 0xFF0000);
    EXPECT_EQ(Open->style.FunColor, 0xC0C0C0);
}

TEST_F(Config, AMalformedColourIsShownAsAConversionErrorAndReadingGoesOn) {
    WriteText(path(), ConfigText("-1,終了時の設定保存", "abc,TownPaintColor", "x,//Extra Mark Folder"));
    Open->config_read(path());
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(gui::testing::Messages()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(Open->style.TownPaintColor, 0x00FFFF);
    EXPECT_EQ(Open->style.TownFontColor, 111);
    EXPECT_EQ(Open->style.CoastColor, 1001);
    EXPECT_EQ(Open->ExtraMarkFolder, "x");
}

TEST_F(Config, WrittenAndReadBackAgain) {
    Open->style.SameColor = true;
    Open->TimeOrder = 0;
    Open->style.CoastColor = -16777201;   // colours are signed values
    Open->style.FunColor = 0x123456;
    Open->ExtraMarkFolder = "C:/記号";
    LineAdd->LineColor = 255;
    Open->config_write(path());
    const std::string text = gui::Cp932ToUtf8(testsupport::ReadBytes(path()));
    EXPECT_TRUE(text.starts_with("-1,終了時の設定保存\r\n1,同一色\r\n0,TimeOrder\r\n65535,TownPaintColor\r\n")) << text;
    EXPECT_NE(text.find("\r\n255,clLetter\r\nC:/記号,//Extra Mark Folder\r\n255,//DefPrefColor"), std::string::npos);
    EXPECT_NE(text.find("\r\n-16777201,CoastColor\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n1193046,FunColor\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);

    Open->style.SameColor = false;
    Open->style.CoastColor = 0;
    Open->style.FunColor = 0;
    Open->ExtraMarkFolder.clear();
    Open->config_read(path());
    EXPECT_TRUE(Open->style.SameColor);
    EXPECT_EQ(Open->style.CoastColor, -16777201);
    EXPECT_EQ(Open->style.FunColor, 0x123456);
    EXPECT_EQ(Open->ExtraMarkFolder, "C:/記号");
    EXPECT_TRUE(gui::testing::Messages().empty());

    // Unticked, line 1 says so and every other line is still written.
    Open->ui.N24->SetChecked(false);
    Open->config_write(path());
    const std::string again = gui::Cp932ToUtf8(testsupport::ReadBytes(path()));
    EXPECT_TRUE(again.starts_with("0,終了時の設定保存\r\n1,同一色\r\n"));
    EXPECT_EQ(std::count(again.begin(), again.end(), '\n'), 24);
    Open->Log.Flush();
    EXPECT_NE(gui::Cp932ToUtf8(testsupport::ReadBytes("RovanaLog.txt")).find("config_writeの実行\r\nconfigファイル名："),
              std::string::npos);
}

TEST(StrictConversion, TakesWholeNumbersOnly) {
    const std::pair<const char*, int32_t> good[] = {{"123", 123}, {"-5", -5},          {"  42", 42},
                                                    {"$FF", 255}, {"0x10", 16},         {"$FFFFFFFF", -1},
                                                    {"-2147483648", INT32_MIN}};
    for (auto [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
    for (const char* bad : {"", "abc", "12 ", "1.5", "2147483648", "-", "$", "0x", "$1FFFFFFFF"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(StrToInt(bad), EConvertError);
    }
    try {
        StrToInt("abc");
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(LenientInt("  -12abc"), -12);
    EXPECT_EQ(LenientInt("x1"), 0);
    EXPECT_EQ(LenientInt("99999999999"), INT32_MAX);
}

// The files the exit deletes.
const char* const kTemporaryFiles[] = {"tkbtn.bmp",         "paint/tkbtn.bmp",   "label/tkbtn.bmp",
                                       "explain/tkbtn.bmp", "rvxfile/tkbtn.bmp", "MAPDATA/paintlist.lst"};

class Exit : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
        for (const char* f : kTemporaryFiles) WriteText(programDir / f, "x\n");
        Open->ui.ComboBox1->Items()->Add("札幌市");
        Open->ui.ComboBox1->Items()->Add("東町");
    }
    bool AnyLeft() const {
        for (const char* f : kTemporaryFiles)
            if (fs::exists(programDir / f)) return true;
        return false;
    }
    // A cancelled exit: the program runs on and nothing is saved or removed.
    void ExpectRunningOn() const {
        EXPECT_FALSE(gui::testing::Terminated());
        EXPECT_TRUE(Open->Log.IsOpen());
        EXPECT_FALSE(fs::exists(programDir / "MAPDATA/config.ini"));
        for (const char* f : kTemporaryFiles) EXPECT_TRUE(fs::exists(programDir / f)) << f;
    }
    // A confirmed exit: the history and settings saved, the temporary files gone, the program ended.
    void ExpectEnded() const {
        EXPECT_FALSE(AnyLeft());
        EXPECT_EQ(testsupport::ReadBytes(programDir / "MAPDATA/townlist.lst"), gui::Utf8ToCp932("札幌市\r\n東町\r\n"));
        EXPECT_TRUE(fs::exists(programDir / "MAPDATA/config.ini"));
        EXPECT_TRUE(gui::testing::Terminated());
        EXPECT_FALSE(Open->Log.IsOpen());
    }
};

TEST_F(Exit, CancelledItLeavesEverythingAsItWas) {
    gui::testing::QueueAnswer(IDCANCEL);
    Open->ui.Button2->Click();
    areafiles::ExpectOnlyMessage("終了してよろしいですか？　　　", "白地図 Rovana の終了", MB_OKCANCEL | MB_ICONQUESTION);
    ExpectRunningOn();
    EXPECT_FALSE(fs::exists(programDir / "MAPDATA/townlist.lst"));
}

TEST_F(Exit, ConfirmedItCleansUpSavesAndEnds) {
    Open->ClipboardUsed = true;
    gui::testing::ClipboardText() = "地図";
    gui::testing::QueueAnswer(IDOK);
    gui::testing::QueueAnswer(IDOK);
    Open->ui.Exit1->Click();
    ASSERT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_EQ(gui::testing::Messages()[1].text, "クリップボードにコピーされたデータを削除して終了しますか？　　　");
    EXPECT_EQ(gui::testing::Messages()[1].caption, "クリップボードのデータ削除");
    EXPECT_TRUE(gui::testing::ClipboardText().empty());
    ExpectEnded();
}

TEST_F(Exit, AnUnsavedLineIsAskedAboutFirst) {
    LineAdd->SetPoints({{100, 100}, {200, 100}});
    LineAdd->LineSaved = 0;
    gui::testing::QueueAnswer(IDCANCEL);
    Open->ui.Button2->Click();
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].caption, "線データ新規作成");
    EXPECT_FALSE(gui::testing::Terminated());
    EXPECT_TRUE(AnyLeft());
    // A single point is no line yet.
    LineAdd->SetPoints({{100, 100}});
    gui::testing::QueueAnswer(IDCANCEL);
    Open->ui.Button2->Click();
    EXPECT_EQ(gui::testing::Messages().back().caption, "白地図 Rovana の終了");
}

// The title bar's close box (and a desktop log-out, which sends the same close event) is the exit.
TEST_F(Exit, TheCloseBoxAsksAsTheExitDoesAndACancelKeepsTheProgram) {
    LineAdd->SetPoints({{100, 100}, {200, 100}});
    LineAdd->LineSaved = 0;
    gui::testing::QueueAnswer(IDOK);
    gui::testing::QueueAnswer(IDCANCEL);
    Open->close();
    ASSERT_EQ(gui::testing::Messages().size(), 2u);
    EXPECT_EQ(gui::testing::Messages()[0].caption, "線データ新規作成");
    EXPECT_EQ(gui::testing::Messages()[1].text, "終了してよろしいですか？　　　");
    ExpectRunningOn();

    gui::testing::QueueAnswer(IDOK);
    gui::testing::QueueAnswer(IDOK);
    Open->close();
    EXPECT_EQ(gui::testing::Messages().size(), 4u) << "asked once more, not twice";
    ExpectEnded();
}

TEST_F(Startup, MenuItemsOpenTheirWindows) {
    Open->ui.Open1->Click();
    EXPECT_TRUE(Ken->Visible());
    Open->ui.N1->Click();
    EXPECT_TRUE(Settei->Visible());
    Settei->Hide();
    Open->ui.Button7->Click();
    EXPECT_TRUE(Open->SetteiShown);
    EXPECT_TRUE(Settei->Visible());
    Open->ui.About1->Click();
    EXPECT_TRUE(About->Visible());
    Open->ui.Tutorial1->Click();
    EXPECT_TRUE(HowTo->Visible());
}

} // namespace
