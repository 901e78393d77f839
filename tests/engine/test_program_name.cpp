// Start-up finds the program file by the name the program was started by, so
// a link of another name in the program folder will do.
#include "gui/Testing.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Run by the test below through a link: the program folder holds only a file
// of the link's name, not of the resolved program's.
class StartedByLink : public FormsTest {
protected:
    StartedByLink() { PlaceProgram = false; }
    void FillProgramFolder(const fs::path& dir) override {
        FormsTest::FillProgramFolder(dir);
        testsupport::PlaceProgramFile(dir, QFileInfo(QCoreApplication::arguments().first()).fileName().toStdString());
    }
};

TEST_F(StartedByLink, DISABLED_FindsTheProgramFileByThatName) {
    EXPECT_TRUE(gui::testing::Messages().empty()) << gui::testing::Messages()[0].text;
    EXPECT_FALSE(gui::testing::Terminated());
}

TEST(ProgramName, ALinkOfAnotherNameStartsTheProgram) {
    const fs::path dir = testsupport::MakeTempDir("rovana-link");
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    ASSERT_FALSE(ec);
    fs::create_symlink(self, dir / "rovana-link");
    const std::string cmd = "'" + (dir / "rovana-link").string() +
                            "' --gtest_also_run_disabled_tests "
                            "--gtest_filter=StartedByLink.DISABLED_FindsTheProgramFileByThatName > '" +
                            (dir / "out.txt").string() + "' 2>&1";
    const int rc = std::system(cmd.c_str());
    EXPECT_EQ(rc, 0) << testsupport::ReadBytes(dir / "out.txt");
    EXPECT_NE(testsupport::ReadBytes(dir / "out.txt").find("1 test"), std::string::npos);
    testsupport::RemoveTree(dir);
}

} // namespace
