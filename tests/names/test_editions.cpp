#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "gui/Testing.h"
#include "tests/engine/AreaFiles.h"
#include "tests/names/FullDisk.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using gui::testing::Messages;
using testsupport::ReadBytes;

class Editions : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        data = programDir / "MAPDATA";
        original = ReadBytes(data / "01.MAP");
        fs::last_write_time(data / "01.MAP", base);
    }
    fs::path data;
    std::string original;
    const fs::file_time_type base = fs::file_time_type::clock::now() - std::chrono::hours(24);

    void Put(const std::string& folder, const std::string& name, const std::string& text, fs::file_time_type t) {
        areafiles::WriteText(data / folder / name, text);
        fs::last_write_time(data / folder / name, t);
    }
    // The 2010 edition holds the data folder's own file.
    void Keep2010() {
        fs::create_directories(data / "2010mapdata");
        fs::copy_file(data / "01.MAP", data / "2010mapdata" / "01.MAP");
        fs::last_write_time(data / "2010mapdata" / "01.MAP", base);
    }
    void Expect2010(const char* what) {
        EXPECT_TRUE(NameWidgetsOf(*Open).N20101->Checked()) << what;
        EXPECT_FALSE(NameWidgetsOf(*Open).N20021->Checked()) << what;
        EXPECT_FALSE(Open->doc.AltYear) << what;
        EXPECT_EQ(Ken->Label5->Caption(), "行政区界：2010年版") << what;
        EXPECT_EQ(ReadBytes(data / "01.MAP"), original) << what;
    }
};

} // namespace

TEST_F(Editions, MissingFolderCancelAndNoWayBackChangeNothing) {
    NameWidgetsOf(*Open).N20021->Click();
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, "行政区界を2002年版のデータで置き換えますか?　　　　　");
    EXPECT_NE(Messages()[1].text.find("2002mapdata が見つかりません"), std::string::npos);
    Expect2010("missing folder");

    Put("2002mapdata", "01.MAP", "old\n", base - std::chrono::hours(1));
    gui::testing::QueueAnswer(IDCANCEL);
    NameWidgetsOf(*Open).N20021->Click();
    Expect2010("cancelled");

    // No 2010 copy of 01.MAP to go back to: refused.
    Messages().clear();
    NameWidgetsOf(*Open).N20021->Click();
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_NE(Messages()[1].text.find("01.MAP"), std::string::npos);
    Expect2010("no way back");
}

TEST_F(Editions, SwitchingCopiesFilesWhoseTimesDifferAndBackAgain) {
    Keep2010();
    const auto old = base - std::chrono::hours(48);
    Put("2002mapdata", "01.MAP", "edition 2002\n", old);
    Put("2002mapdata", "99.MAP", "only here\n", old);
    NameWidgetsOf(*Open).N20021->Click();
    EXPECT_EQ(Messages().back().text, "行政区界データを2002年版に置き換えました　　　　");
    EXPECT_EQ(ReadBytes(data / "01.MAP"), "edition 2002\r\n") << "the older edition overwrites the newer file";
    EXPECT_EQ(fs::last_write_time(data / "01.MAP"), old);
    EXPECT_FALSE(fs::exists(data / "99.MAP"));
    EXPECT_TRUE(NameWidgetsOf(*Open).N20021->Checked());
    EXPECT_FALSE(NameWidgetsOf(*Open).N20101->Checked());
    EXPECT_TRUE(Open->doc.AltYear);
    EXPECT_EQ(Ken->Label5->Caption(), "行政区界：2002年版");
    EXPECT_FALSE(Ken->Label4->Visible());

    // The same edition again: equal times and bytes copy nothing; equal times
    // with other bytes are copied all the same.
    const auto copied = fs::last_write_time(data / "01.MAP");
    auto inode = [&] {
        struct stat st {};
        stat((data / "01.MAP").c_str(), &st);
        return st.st_ino;
    };
    const auto file = inode();
    NameWidgetsOf(*Open).N20021->Click();
    EXPECT_EQ(Messages().back().text, "行政区界データを2002年版に置き換えました　　　　");
    EXPECT_EQ(inode(), file) << "nothing to copy";
    areafiles::WriteText(data / "01.MAP", "touched\n");
    fs::last_write_time(data / "01.MAP", old);
    NameWidgetsOf(*Open).N20021->Click();
    EXPECT_EQ(ReadBytes(data / "01.MAP"), "edition 2002\r\n");
    EXPECT_EQ(fs::last_write_time(data / "01.MAP"), copied);

    // Times half a second apart still differ.
    fs::last_write_time(data / "01.MAP", old + std::chrono::milliseconds(500));
    NameWidgetsOf(*Open).N20021->Click();
    EXPECT_EQ(ReadBytes(data / "01.MAP"), "edition 2002\r\n");

    // At exit the 2010 edition comes back.
    EXPECT_TRUE(RestoreStandardEdition(*Open));
    EXPECT_EQ(ReadBytes(data / "01.MAP"), original);
    NameWidgetsOf(*Open).N20021->Click();
    NameWidgetsOf(*Open).N20101->Click();
    Expect2010("switched back");
    EXPECT_TRUE(Ken->Label4->Visible());
}

// The real editions of the data set: a switch is whole or not at all, and the exit puts 2010 back.
class RealEditions : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        std::vector<std::string> parts = {"MAPDATA/2002mapdata", "MAPDATA/2010mapdata"};
        for (int code = 1; code <= 52; ++code) parts.push_back(gui::Format("MAPDATA/%02d.MAP", code));
        testsupport::CopyJapanData(dir, parts);
    }
    // The bytes of the 52 map files of a folder.
    std::vector<std::string> Maps(const fs::path& folder) {
        std::vector<std::string> v;
        for (int code = 1; code <= 52; ++code) v.push_back(ReadBytes(folder / gui::Format("%02d.MAP", code)));
        return v;
    }
};

TEST_F(RealEditions, ASwitchIsWholeOrNoneAndTheExitPutsTheStandardBack) {
    const fs::path data = programDir / "MAPDATA";
    const auto standard = Maps(data), edition = Maps(data / "2002mapdata");
    ASSERT_EQ(standard, Maps(data / "2010mapdata"));
    ASSERT_NE(standard[16], edition[16]);
    auto state = [&](bool alt, const char* label) {
        EXPECT_EQ(Open->doc.AltYear, alt);
        EXPECT_EQ(NameWidgetsOf(*Open).N20021->Checked(), alt);
        EXPECT_EQ(NameWidgetsOf(*Open).N20101->Checked(), !alt);
        EXPECT_EQ(Ken->Label5->Caption(), label);
    };

    // The small files would fit, the large ones not: nothing is replaced.
    {
        FullDisk full(40000);
        NameWidgetsOf(*Open).N20021->Click();
    }
    EXPECT_NE(Messages().back().text.find("置き換えることができませんでした"), std::string::npos);
    EXPECT_TRUE(Maps(data) == standard) << "a half switch";
    state(false, "行政区界：2010年版");
    for (const auto& e : fs::directory_iterator(data))
        EXPECT_NE(e.path().filename().string().rfind(".rvtmp-", 0), 0u) << e.path();

    NameWidgetsOf(*Open).N20021->Click();
    EXPECT_EQ(Messages().back().text, "行政区界データを2002年版に置き換えました　　　　");
    EXPECT_TRUE(Maps(data) == edition);
    state(true, "行政区界：2002年版");

    // The exit's restore.
    Open->ui.Button2->Click();
    EXPECT_TRUE(Maps(data) == standard);
    EXPECT_FALSE(Open->doc.AltYear);
}

// A run killed while an earlier edition was on disk.
class LeftEdition : public RealEditions {
protected:
    void FillProgramFolder(const fs::path& dir) override {
        RealEditions::FillProgramFolder(dir);
        for (const auto& e : fs::directory_iterator(dir / "MAPDATA" / "2002mapdata"))
            fs::copy_file(e.path(), dir / "MAPDATA" / e.path().filename(), fs::copy_options::overwrite_existing);
    }
};

TEST_F(LeftEdition, TheNextStartPutsTheStandardBackBeforeReadingAMap) {
    const fs::path data = programDir / "MAPDATA";
    EXPECT_TRUE(Maps(data) == Maps(data / "2010mapdata"));
    EXPECT_FALSE(Open->doc.AltYear);
    EXPECT_TRUE(NameWidgetsOf(*Open).N20101->Checked());
}

TEST(FileTimes, CodesOfTheComparison) {
    const fs::path dir = testsupport::MakeTempDir();
    areafiles::WriteText(dir / "a", "a\n");
    areafiles::WriteText(dir / "b", "b\n");
    const auto t = fs::file_time_type::clock::now();
    fs::last_write_time(dir / "a", t);
    fs::last_write_time(dir / "b", t);
    const std::string a = (dir / "a").string(), b = (dir / "b").string(), none = (dir / "none").string();
    EXPECT_EQ(CompareFileTimes(a, b), 10);
    fs::last_write_time(dir / "a", t + std::chrono::microseconds(1));
    EXPECT_EQ(CompareFileTimes(a, b), 11);
    EXPECT_EQ(CompareFileTimes(b, a), 12);
    EXPECT_EQ(CompareFileTimes(none, b), 101);
    EXPECT_EQ(CompareFileTimes(a, none), 102);
    testsupport::RemoveTree(dir);
}
