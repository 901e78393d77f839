// The files the program rewrites at exit (the search history and config.ini),
// when they hold what no writer of ours puts there or cannot be written.
#include "engine/Uopen.h"
#include "gui/Files.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

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
        Open->ui.Button2->Click();
    }
};

TEST_F(SettingsFiles, AHistoryThatCannotBeWrittenIsToldAndTheExitGoesOn) {
    // A folder where the history file should be: nothing can replace it.
    fs::create_directories(programDir / "MAPDATA/townlist.lst");
    Open->ui.ComboBox1->Items()->Add("札幌市");
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

TEST_F(SettingsFiles, BytesThatAreNoCp932ComeBackUnchangedAfterARewrite) {
    // A lone lead byte, bytes no character starts with, and the same before a blank.
    const std::string odd = "\x81" "a\x80\xFF\xFD\xA0 \x81";
    const std::string history = "\x90\x44\x96\x79\x8E\x73\r\n" + odd + "\r\n";
    std::string config = "-1,\x8F\x49\x97\xB9\x8E\x9E\r\n";
    for (int n = 2; n <= 24; n++)
        config += n == 11 ? "\x80" "folder\xFF,//Extra Mark Folder\r\n" : gui::Format("%d,x\r\n", n == 3);
    {
        std::FILE* f = std::fopen((programDir / "MAPDATA/townlist.lst").c_str(), "wb");
        std::fwrite(history.data(), 1, history.size(), f);
        std::fclose(f);
        f = std::fopen((programDir / "MAPDATA/config.ini").c_str(), "wb");
        std::fwrite(config.data(), 1, config.size(), f);
        std::fclose(f);
    }
    Open->ui.ComboBox1->Items()->LoadFromFile((programDir / "MAPDATA/townlist.lst").string());
    Open->config_read((programDir / "MAPDATA/config.ini").string());
    Exit();
    EXPECT_EQ(testsupport::ReadBytes(programDir / "MAPDATA/townlist.lst"), history);
    const std::string written = testsupport::ReadBytes(programDir / "MAPDATA/config.ini");
    EXPECT_NE(written.find("\r\n\x80" "folder\xFF,//Extra Mark Folder\r\n"), std::string::npos);
}

// A configuration that cannot be written is told, left as it was, and ends the program.
TEST_F(SettingsFiles, AConfigurationThatCannotBeWrittenEndsTheProgram) {
    const fs::path config = programDir / "MAPDATA/config.ini";
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "a read-only file" : "a folder where the file should be");
        gui::testing::Messages().clear();
        gui::testing::Terminated() = false;
        if (readOnly) {
            fs::remove(config);
            areafiles::WriteText(config, "0,終了時の設定保存\n");
            fs::permissions(config, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        } else {
            fs::create_directory(config);
        }
        const std::string before = readOnly ? testsupport::ReadBytes(config) : "";
        Open->config_write(config.string());
        areafiles::ExpectOnlyMessage("構成ファイルを書き込めません　　　", "ファイル書き込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(readOnly ? testsupport::ReadBytes(config) : "", before);
        EXPECT_EQ(fs::is_directory(config), !readOnly);
        EXPECT_TRUE(gui::testing::Terminated());
        EXPECT_FALSE(Open->Log.IsOpen());
    }
}

// Leftovers of saves: of a run that ended (a child that has exited), of
// this run and of a process still running (the first one), and a stranger.
class Leftovers : public FormsTest {
protected:
    std::string dead, ours, running;
    void FillProgramFolder(const fs::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        const pid_t child = fork();
        if (child == 0) _exit(0);
        waitpid(child, nullptr, 0);
        dead = gui::Format("%s%d-7-config.ini", gui::kTempPrefix, int(child));
        ours = gui::Format("%s%d-1-townlist.lst", gui::kTempPrefix, int(getpid()));
        running = gui::Format("%s1-2-townlist.lst", gui::kTempPrefix);
        for (const std::string& name : {dead, ours, running, std::string(".config.ini.swp")})
            areafiles::WriteText(dir / "MAPDATA" / name, "x\n");
        areafiles::WriteText(dir / dead, "x\n");
    }
};

TEST_F(Leftovers, StartUpRemovesOnlyTheTemporaryFilesOfEndedRuns) {
    EXPECT_FALSE(fs::exists(programDir / "MAPDATA" / dead));
    EXPECT_FALSE(fs::exists(programDir / dead));
    EXPECT_TRUE(fs::exists(programDir / "MAPDATA" / ours));
    EXPECT_TRUE(fs::exists(programDir / "MAPDATA" / running));
    EXPECT_TRUE(fs::exists(programDir / "MAPDATA/.config.ini.swp"));
    // A save names its temporary file that way.
    const std::string temp = gui::CreateTempFileBeside((programDir / "MAPDATA/config.ini").string());
    EXPECT_EQ(gui::ExtractFileName(temp).rfind(gui::Format("%s%d-", gui::kTempPrefix, int(getpid())), 0), 0u) << temp;
    fs::remove(temp);
}

} // namespace
