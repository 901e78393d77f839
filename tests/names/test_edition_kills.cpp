// A run killed at any step of an edition switch, or of the start-up that puts
// the standard edition back, leaves files from which the next start restores
// the standard edition byte for byte.
#include "forms/AllForms.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;

const char* const kAreas[] = {"01.MAP", "02.MAP", "03.MAP"};

class EditionKills : public ::testing::Test {
protected:
    fs::path base, dir;
    std::vector<std::string> standard, edition;

    void SetUp() override {
        base = testsupport::MakeTempDir("rovana-kills");
        testsupport::CopyTree(testsupport::TestDataDir("mini"), base);
        std::vector<std::string> parts;
        for (const char* a : kAreas)
            for (const char* folder : {"MAPDATA/", "MAPDATA/2002mapdata/", "MAPDATA/2010mapdata/"})
                parts.push_back(std::string(folder) + a);
        testsupport::CopyJapanData(base, parts);
        testsupport::PlaceProgramFile(base);
        testsupport::PlaceProgramFile(base, "edition_kill_driver");
        standard = Maps(base / "MAPDATA");
        edition = Maps(base / "MAPDATA/2002mapdata");
        dir = testsupport::MakeTempDir("rovana-killed");
    }
    void TearDown() override {
        testsupport::RemoveTree(dir);
        testsupport::RemoveTree(base);
    }
    std::vector<std::string> Maps(const fs::path& folder) {
        std::vector<std::string> v;
        for (const char* a : kAreas) v.push_back(ReadBytes(folder / a));
        return v;
    }
    // A fresh program folder; with alt, the 2002 edition is on disk.
    void Fresh(bool alt) {
        testsupport::RemoveTree(dir);
        testsupport::CopyTree(base, dir);
        if (alt)
            for (const char* a : kAreas)
                fs::copy_file(base / "MAPDATA/2002mapdata" / a, dir / "MAPDATA" / a, fs::copy_options::overwrite_existing);
    }
    // The driver under the kill shim; its exit status and what it printed.
    int Run(const char* mode, long at, std::string& out) {
        const std::string cmd = std::string("LD_PRELOAD='") + ROVANA_KILL_SHIM + "' KILLSHIM_AT=" + std::to_string(at) +
                                " '" + ROVANA_KILL_DRIVER + "' '" + dir.string() + "' " + mode + " 2>/dev/null";
        out.clear();
        FILE* p = popen(cmd.c_str(), "r");
        if (!p) return -1;
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        const int status = pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The next start of the program, in this process; false when it left an earlier edition in use.
    bool Start() {
        gui::testing::Reset();
        const fs::path previous = fs::current_path();
        fs::current_path(dir);
        CreateAllForms(Application);
        const bool standardInUse = !Open->doc.AltYear && NameWidgetsOf(*Open).N20101->Checked();
        DestroyAllForms();
        fs::current_path(previous);
        return standardInUse;
    }
    // Kills the driver at each of its counted calls in turn; after each, the next start restores the standard.
    void KillAtEveryStep(const char* mode, bool alt, const std::vector<std::string>& whole) {
        Fresh(alt);
        std::string out;
        ASSERT_EQ(Run(mode, 0, out), 0) << mode;
        const long calls = std::atol(out.c_str());
        ASSERT_GT(calls, 5) << mode;
        EXPECT_TRUE(Maps(dir / "MAPDATA") == whole) << mode << ": the run unkilled";
        for (long at = 1; at <= calls; ++at) {
            Fresh(alt);
            ASSERT_EQ(Run(mode, at, out), 86) << mode << " not killed at call " << at;
            EXPECT_TRUE(Start()) << mode << ", killed at call " << at;
            EXPECT_TRUE(Maps(dir / "MAPDATA") == standard) << mode << ", killed at call " << at << " of " << calls;
        }
    }
};

} // namespace

TEST_F(EditionKills, EveryKillOfASwitchOrOfTheRestoreAtStartLeavesTheStandardForTheNextStart) {
#ifdef __SANITIZE_ADDRESS__
    // The preloaded shim and the sanitizer's runtime would both have to come first; the plain run covers it.
    GTEST_SKIP();
#endif
    ASSERT_TRUE(standard != edition);
    // The menu's switch to 2002, killed at each step.
    KillAtEveryStep("switch", false, edition);
    // The start with 2002 left on disk puts the standard back; killed at each step.
    KillAtEveryStep("start", true, standard);

    // A map file lost by an earlier kill, its leftover copy swept: the standard comes back whole.
    Fresh(true);
    fs::remove(dir / "MAPDATA" / kAreas[1]);
    EXPECT_TRUE(Start());
    EXPECT_TRUE(Maps(dir / "MAPDATA") == standard);
}
