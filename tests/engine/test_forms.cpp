#include "forms/AllForms.h"
#include "engine/Uabout.h"
#include "engine/Uhowto.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "engine/Uprocess.h"
#include "gui/Forms.h"
#include "labels/Uinlabel.h"
#include "labels/Uischange.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "names/Ucheck.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Uoffice.h"
#include "names/Uofficecor.h"
#include "names/Usearch.h"
#include "names/Utoshi.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usclist.h"
#include "navigation/Usettei.h"
#include "paint/Ubrush.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include <QImage>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace {

struct Expected {
    TForm* form;
    const char* name;
    const char* caption;
};

// The globals in creation order, read at the time of the call.
std::vector<Expected> CreationOrder() {
    return {
        {Open, "Open", "白地図 Rovana Ver 9.3"},
        {Ken, "Ken", "都道府県指定"},
        {Settei, "Settei", "　地図表示設定"},
        {About, "About", "バージョン情報"},
        {HowTo, "HowTo", "使い方"},
        {Process, "Process", "お待ちください"},
        {DataCheck, "DataCheck", "　市区町村の選択"},
        {MapPaint, "MapPaint", "　ペイント　（塗り分け）"},
        {Letter, "Letter", "　地図ラベル編集  ラベルテーブル"},
        {Hanrei, "Hanrei", "　地図凡例編集"},
        {PBrush, "PBrush", "　パターン"},
        {Correct, "Correct", "市区町村名位置修正"},
        {Toshi, "Toshi", "　政令指定都市表示位置編集"},
        {Extra, "Extra", "　重複する区名，町村名表示位置編集"},
        {Yomi, "Yomi", "　市区町村名読みがな"},
        {YomiList, "YomiList", "　読みがな編集"},
        {LineAdd, "LineAdd", "地図線の編集・表示"},
        {NameDel, "NameDel", " 市区町村名削除/追加"},
        {Kyori, "Kyori", "　距離円（同心円）"},
        {PagesDlg, "PagesDlg", "　記号パレット"},
        {PrefSet, "PrefSet", "　都道府県名文字特性一括設定"},
        {SCList, "SCList", "　地図基本設定値"},
        {Keisoku, "Keisoku", "しばらくお待ちください"},
        {IsChange, "IsChange", "　島名表示位置編集"},
        {Search, "Search", "山名・島名検索"},
        {Office, "Office", "市役所・町村役場/都道府県庁"},
        {OfficeCor, "OfficeCor", "市町村情報の修正・追加"},
        {LineSet, "LineSet", "鉄道路線/地図線設定"},
        {InLabel, "InLabel", "表示範囲内ラベルリスト"},
        {Rail, "Rail", "鉄道路線情報"},
    };
}

using FormsCreation = FormsTest;

TEST_F(FormsCreation, ThirtyFormsInStartUpOrderWithTheirCaptions) {
    auto expected = CreationOrder();
    ASSERT_EQ(expected.size(), 30u);
    const auto& made = Application->Forms();
    ASSERT_EQ(made.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        ASSERT_NE(expected[i].form, nullptr);
        EXPECT_EQ(made[i], expected[i].form) << "created out of order at position " << i;
        EXPECT_EQ(expected[i].form->Caption(), expected[i].caption);
        EXPECT_EQ(expected[i].form->windowTitle().toStdString(), expected[i].caption);
        // Every form is built hidden; only the loop shows the main window.
        EXPECT_FALSE(expected[i].form->Visible());
    }
}

TEST_F(FormsCreation, OpenIsTheMainWindowAgainAfterARebuild) {
    EXPECT_EQ(Application->MainForm(), Open);
    DestroyAllForms();
    EXPECT_EQ(Application->Forms().size(), 0u);
    CreateAllForms(Application);
    EXPECT_EQ(Application->MainForm(), Open);
    EXPECT_EQ(Application->Forms().size(), 30u);
}

TEST_F(FormsCreation, TeardownLeavesEveryGlobalNull) {
    DestroyAllForms();
    for (const auto& e : CreationOrder()) EXPECT_EQ(e.form, nullptr) << e.name;
    EXPECT_TRUE(Application->Forms().empty());
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormsCreation, ProgramFolderIsAFreshWritableCopy) {
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::current_path(), programDir);
    EXPECT_EQ(testsupport::ReadBytes("MAPDATA/01.MAP"),
              testsupport::ReadBytes(testsupport::TestDataDir() / "MAPDATA/01.MAP"));
    std::ofstream("MAPDATA/written.txt") << "x";
    EXPECT_TRUE(fs::exists(programDir / "MAPDATA/written.txt"));
    EXPECT_FALSE(fs::exists(testsupport::TestDataDir() / "MAPDATA/written.txt"));
}

TEST_F(FormsCreation, ProgramIconIsInTheResources) {
    QImage icon(":/MAINICON");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.width(), 32);
    EXPECT_EQ(icon.height(), 32);
}

TEST(TestSupport, CopiesOfTheReadOnlyDataSetAreWritableAndRemovable) {
    namespace fs = std::filesystem;
    fs::path dir = testsupport::MakeTempDir();
    testsupport::CopyJapanData(dir, {"MAPDATA/13.MAP", "鉄道路線/主要駅名"});
    EXPECT_EQ(testsupport::ReadBytes(dir / "MAPDATA/13.MAP"),
              testsupport::ReadBytes(testsupport::JapanDataDir() / "MAPDATA/13.MAP"));
    EXPECT_FALSE(fs::exists(dir / "MAPDATA/01.MAP"));
    EXPECT_FALSE(fs::is_empty(dir / "鉄道路線/主要駅名"));
    std::ofstream(dir / "鉄道路線/主要駅名/new.lbl") << "x";
    EXPECT_TRUE(fs::exists(dir / "鉄道路線/主要駅名/new.lbl"));
    testsupport::RemoveTree(dir);
    EXPECT_FALSE(fs::exists(dir));
}

TEST(TestSupport, ProgramFileStandInCarriesTheProgramsName) {
    namespace fs = std::filesystem;
    fs::path dir = testsupport::MakeTempDir();
    fs::path file = testsupport::PlaceProgramFile(dir);
    EXPECT_EQ(file, dir / "test_engine");
    EXPECT_TRUE(fs::is_regular_file(file));
    testsupport::RemoveTree(dir);
}

} // namespace
