#include "engine/Uopen.h"
#include "gui/Files.h"
#include "gui/Testing.h"
#include "names/Uoffice.h"
#include "names/Uofficecor.h"
#include "names/Uyomilist.h"
#include "tests/engine/AreaFiles.h"
#include "tests/names/FullDisk.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using gui::testing::Messages;
using testsupport::ReadBytes;

class OfficeData : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }
    void SetUp() override {
        FormsTest::SetUp();
        Open->doc.SELECT = 1;
        Open->doc.SelectCode[0] = 26;
        osaka = gui::ResolvePath(TOffice::OfficeFilePath(26));
        ASSERT_TRUE(fs::exists(osaka));
    }
    std::string osaka;
    // The name list holds these rows (kind, name).
    void List(const std::vector<std::pair<std::string, std::string>>& rows) {
        TStringGrid* g = YomiList->StringGrid1;
        g->SetRowCount(int(rows.size()));
        for (int r = 0; r < int(rows.size()); ++r) {
            g->SetCells(2, r, rows[r].first);
            g->SetCells(3, r, rows[r].second);
        }
        g->SetRow(0);
    }
    std::vector<std::string> Lines(const std::string& path) {
        std::vector<std::string> v;
        std::istringstream in(gui::Cp932ToUtf8(ReadBytes(path)));
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    }
    // Shows the second 北区 of the file (Sakai's).
    void ShowSakaiKita() {
        List({{"重", "北区"}});
        gui::testing::QueueAnswer(IDYES);
        YomiList->TownsClick(YomiList->Towns);
        ASSERT_EQ(Office->Label3->Caption(), "271462");
    }
};

} // namespace

TEST_F(OfficeData, CorrectingOneOfTwoWardsOfTheSameNameChangesOnlyThatRow) {
    const auto before = Lines(osaka);
    ShowSakaiKita();
    EXPECT_EQ(Office->Label13->Caption(), "北区");
    EXPECT_EQ(Messages().back().caption, "重複検出");

    gui::testing::SetShowModalHandler([](TForm*) {
        EXPECT_FALSE(OfficeCor->Edit2->Enabled());
        EXPECT_EQ(OfficeCor->Edit1->Text(), "271462");
        OfficeCor->Edit5->SetText("大阪府堺市北区新金岡町５丁１－４");
        OfficeCor->Button2->Click();
        return mrNone;
    });
    Office->Button2->Click();
    const auto after = Lines(osaka);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        if (before[i].rfind("271462,", 0) == 0)
            EXPECT_EQ(after[i], "271462,北区,きたく,000-0000,大阪府堺市北区新金岡町５丁１－４,000-000-0000,"
                                "https://www.city.sakai.lg.jp/kita/index.html,,\r");
        else
            EXPECT_EQ(after[i], before[i]) << i;
    }
    // The window shows the row corrected, as the file now holds it, and says so.
    EXPECT_EQ(Office->Label3->Caption(), "271462");
    EXPECT_EQ(Office->Label7->Caption(), "大阪府堺市北区新金岡町５丁１－４");
    EXPECT_NE(Messages().back().text.find("北区 のデータを修正しました"), std::string::npos);
}

TEST_F(OfficeData, FieldsAreCheckedInOrderAndCommasAndBlanksRefused) {
    ShowSakaiKita();
    const std::string before = ReadBytes(osaka);
    Office->Button2Click(Office->Button2);   // fills the fields; the modal answer is Cancel
    OfficeCor->Edit5->SetText("堺市北区");
    struct Case { int field; const char* value; const char* message; };
    for (Case c : {Case{3, "", "ふりがなが設定されておりません"}, Case{6, "", "電話番号が設定されておりません"},
                   Case{5, "堺市 北区", "半角スペースやカンマは使用しないでください"},
                   Case{8, "a,b", "半角スペースやカンマは使用しないでください"}}) {
        const std::string kept = OfficeCor->EditOf(c.field)->Text();
        OfficeCor->EditOf(c.field)->SetText(c.value);
        OfficeCor->Button2Click(OfficeCor->Button2);
        EXPECT_EQ(Messages().back().text, c.message);
        EXPECT_EQ(Messages().back().caption, "データ設定エラー");
        OfficeCor->EditOf(c.field)->SetText(kept);
    }
    EXPECT_EQ(ReadBytes(osaka), before);

    // A full disk: a message, the file as it was.
    {
        FullDisk full(64);
        OfficeCor->Button2Click(OfficeCor->Button2);
    }
    EXPECT_NE(Messages().back().text.find("を書き換えることができませんでした"), std::string::npos);
    EXPECT_EQ(ReadBytes(osaka), before);
}

TEST_F(OfficeData, DeleteTakesTheShownCodeOnlyAndAddAppends) {
    const size_t n = Lines(osaka).size();
    ShowSakaiKita();
    Office->Button4->Click();
    EXPECT_FALSE(Office->Button2->Enabled()) << "no row left to correct";
    EXPECT_FALSE(Office->Button4->Enabled());
    EXPECT_EQ(Office->Label3->Caption(), "");
    auto after = Lines(osaka);
    ASSERT_EQ(after.size(), n - 1);
    for (const auto& l : after) EXPECT_NE(l.rfind("271462,", 0), 0u);
    EXPECT_EQ(std::count_if(after.begin(), after.end(), [](const auto& l) { return l.rfind("271276,北区", 0) == 0; }), 1);

    gui::testing::SetShowModalHandler([](TForm*) {
        EXPECT_TRUE(OfficeCor->Edit2->Enabled());
        EXPECT_EQ(OfficeCor->Edit7->Text(), "http://www.");
        OfficeCor->Edit1->SetText("271462");
        OfficeCor->Edit3->SetText("きたく");
        OfficeCor->Edit5->SetText("堺市北区");
        gui::testing::QueueAnswer(IDYES);
        OfficeCor->Button2Click(OfficeCor->Button2);
        return mrNone;
    });
    Office->Button3Click(Office->Button3);
    after = Lines(osaka);
    EXPECT_EQ(after.back(), "271462,北区,きたく,000-0000,堺市北区,000-000-0000,http://www.,,\r");

    // Several areas: refused.
    Open->doc.SELECT = 2;
    Office->Button4Click(Office->Button4);
    EXPECT_EQ(Messages().back().text, "複数の都道府県にまたがっており、データを削除できません");
    EXPECT_EQ(Lines(osaka), after);
}

TEST_F(OfficeData, APrefecturalRowIsEditedInThePrefecturalFile) {
    const std::string pref = gui::ResolvePath(Open->doc.AppDir + "/Mapdata/Office/都道府県庁.csv");
    const auto before = Lines(pref);
    const std::string municipal = ReadBytes(osaka);
    YomiList->kencho->Click();
    ASSERT_EQ(Office->Label4->Caption(), "大阪");
    gui::testing::SetShowModalHandler([](TForm*) {
        OfficeCor->Edit5->SetText("大阪市中央区大手前２丁目");
        OfficeCor->Button2->Click();
        return mrNone;
    });
    Office->Button2->Click();
    auto after = Lines(pref);
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i]) {
            ++changed;
            EXPECT_EQ(after[i].rfind("270008,大阪,", 0), 0u) << after[i];
            EXPECT_NE(after[i].find(",大阪市中央区大手前２丁目,"), std::string::npos);
        }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(Office->Label4->Caption(), "大阪");
    EXPECT_EQ(Office->Label7->Caption(), "大阪市中央区大手前２丁目");

    // Added next to it, never to the municipal file.
    gui::testing::SetShowModalHandler([](TForm*) {
        OfficeCor->Edit1->SetText("279999");
        OfficeCor->Edit3->SetText("おおさかふ");
        OfficeCor->Edit5->SetText("大阪市");
        OfficeCor->Button2->Click();
        return mrNone;
    });
    Office->Button3->Click();
    EXPECT_EQ(Lines(pref).back(), "279999,大阪,おおさかふ,000-0000,大阪市,000-000-0000,http://www.,,\r");
    EXPECT_EQ(Office->Label3->Caption(), "279999");
    EXPECT_EQ(ReadBytes(osaka), municipal);

    // 北海道 and 北方四島 share code and telephone: deleting one keeps the other.
    Open->doc.SelectCode[0] = 52;
    YomiList->kencho->Click();
    ASSERT_EQ(Office->Label4->Caption(), "北方四島");
    Office->Button4->Click();
    after = Lines(pref);
    EXPECT_EQ(std::count_if(after.begin(), after.end(), [](const auto& l) { return l.find(",北方四島,") != std::string::npos; }), 0);
    EXPECT_EQ(std::count_if(after.begin(), after.end(), [](const auto& l) { return l.find(",北海道,") != std::string::npos; }), 1);
}

TEST_F(OfficeData, LinksOpenOnlyWebAddressesAndMail) {
    ShowSakaiKita();
    Office->Label9Click(Office->Label9);
    ASSERT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_EQ(gui::testing::ShellOpens()[0], "https://www.city.sakai.lg.jp/kita/index.html");
    Office->Label9->SetCaption("file:///etc/passwd");
    Office->Label9Click(Office->Label9);
    EXPECT_EQ(gui::testing::ShellOpens().size(), 1u);
    EXPECT_EQ(Messages().back().caption, "ホームページ呼び出しエラー");
    Office->Label10->SetCaption("info@example.jp");
    Office->Label10Click(Office->Label10);
    EXPECT_EQ(gui::testing::ShellOpens().back(), "mailto:info@example.jp");
}

TEST_F(OfficeData, PrefecturalOfficeAndTheMissingDataCheck) {
    Open->doc.SelectCode[0] = 48;
    YomiList->kenchoClick(YomiList->kencho);
    EXPECT_EQ(Office->Label4->Caption(), "北海道");
    Open->doc.SELECT = 2;
    YomiList->kenchoClick(YomiList->kencho);
    EXPECT_EQ(Messages().back().caption, "複数都道府県");

    // A small office file of area 52 for the check.
    Open->doc.SELECT = 1;
    Open->doc.SelectCode[0] = 52;
    areafiles::WriteText(TOffice::OfficeFilePath(52),
                         "1,甲町,こう,000-0000,所,1-1,http://www.,m\n2,乙町,おつ,100-0001,所,1-2,http://www.a,m\n");
    List({{"", "甲町"}, {"旧", "丁村"}, {"", "乙町"}, {"", "丙町"}});
    Messages().clear();
    for (int i = 0; i < 4; ++i) gui::testing::QueueAnswer(IDYES);
    YomiList->Button8Click(YomiList->Button8);
    std::vector<std::string> texts;
    for (const auto& m : Messages()) texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "甲町 の 郵便番号 が記入されていません　　     \nチェックを続けますか？",
                         "甲町 の ホームページURL が記入されていません　　     \nチェックを続けますか？",
                         " 丙町 がみつかりません　　　　　         \n 次を検索しますか",
                         "市町村情報の有無チェックは終了しました　　　　"}));
    // No ends the check at once.
    Messages().clear();
    gui::testing::QueueAnswer(IDNO);
    YomiList->Button8Click(YomiList->Button8);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(OfficeData, MaintenanceStepsNeedTheirSourceFiles) {
    const std::string before = ReadBytes(osaka);
    Office->Button6Click(Office->Button6);
    EXPECT_NE(Messages().back().text.find("Tovel/26.txt が見つかりません"), std::string::npos);
    Office->Button7Click(Office->Button7);
    EXPECT_NE(Messages().back().text.find("合併日付.txt が見つかりません"), std::string::npos);
    EXPECT_EQ(ReadBytes(osaka), before);

    // With the date list: the date of the code without its check digit, else an empty field.
    areafiles::WriteText(programDir / "合併日付.txt", "見出し\n27146,a,b,c,2006/04/01\n");
    Office->Button7Click(Office->Button7);
    const auto lines = [&] {
        std::vector<std::string> v;
        std::istringstream in(gui::Cp932ToUtf8(ReadBytes(osaka)));
        for (std::string l; std::getline(in, l);) v.push_back(l);
        return v;
    }();
    for (const auto& l : lines) {
        if (l.rfind("271462,", 0) == 0) {
            EXPECT_EQ(l.substr(l.size() - 12), ",2006/04/01\r");
        }
        if (l.rfind("271276,", 0) == 0) {
            EXPECT_EQ(l.substr(l.size() - 3), ",,\r");
        }
    }

    // The join keeps the first six fields of rows the source names.
    areafiles::WriteText(programDir / "Tovel" / "26.txt", "見出し\n1,2,北区,4,5,kita@x.jp,2006/04/01\n");
    Office->Button6Click(Office->Button6);
    const std::string joined = gui::Cp932ToUtf8(ReadBytes(osaka));
    EXPECT_EQ(joined,
              "271276,北区,きたく,530-8401,大阪府大阪市北区扇町２丁目１番２７号,000-000-0000,kita@x.jp,2006/04/01\r\n"
              "271462,北区,きたく,000-0000,,000-000-0000,kita@x.jp,2006/04/01\r\n");
}
