// The files the program rewrites at exit (the search history and config.ini),
// when they hold what no writer of ours puts there or cannot be written.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class SettingsFiles : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    void Exit() {
        gui::testing::QueueAnswer(IDOK);
        Open->Button2->Click();
    }
};

TEST_F(SettingsFiles, AHistoryThatCannotBeWrittenIsToldAndTheExitGoesOn) {
    // A folder where the history file should be: nothing can replace it.
    fs::create_directories(programDir / "MAPDATA/townlist.lst");
    Open->ComboBox1->Items()->Add("札幌市");
    Exit();
    ASSERT_EQ(gui::testing::Messages().size(), 2u);
    const auto& m = gui::testing::Messages()[1];
    EXPECT_NE(m.text.find("townlist.lst"), std::string::npos) << m.text;
    EXPECT_EQ(m.caption, "ファイル書き込みエラー　");
    EXPECT_EQ(m.flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(fs::is_directory(programDir / "MAPDATA/townlist.lst"));
    EXPECT_TRUE(fs::exists(programDir / "MAPDATA/config.ini"));
    EXPECT_TRUE(gui::testing::Terminated());
}

} // namespace
