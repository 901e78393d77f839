// Starts the real program under a virtual X server, in a writable copy of the
// data set, and looks for its main window by caption through the X server.
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

bool HaveCommand(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs inside the X server: starts the program, waits for its window, then
// ends it with SIGTERM. Prints window=, alive= and exited= for the test.
const char* const ProbeScript = R"(#!/bin/sh
caption="$1"
running() {
  s=$(sed 's/.*) //' /proc/$1/stat 2>/dev/null | cut -c1)
  [ -n "$s" ] && [ "$s" != Z ]
}
env -u QT_QPA_PLATFORM ./rovana > rovana.log 2>&1 &
pid=$!
found=0
i=0
while [ $i -lt 300 ]; do
  if xwininfo -root -tree 2>/dev/null | grep -F -q -- "\"$caption\""; then found=1; break; fi
  running $pid || break
  sleep 0.2
  i=$((i + 1))
done
alive=0
running $pid && alive=1
echo "window=$found alive=$alive"
kill -TERM $pid 2>/dev/null
( sleep 5; kill -KILL $pid 2>/dev/null ) &
watchdog=$!
wait $pid
status=$?
kill $watchdog 2>/dev/null
if [ $status -eq 137 ]; then echo "exited=0"; else echo "exited=1 status=$status"; fi
xwininfo -root -tree > windows.txt 2>&1
)";

TEST(Smoke, MainWindowAppearsWithItsCaptionAndCloses) {
    if (!HaveCommand("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (package xvfb; scripts/setup installs it)";
    ASSERT_TRUE(HaveCommand("xwininfo")) << "xwininfo is missing (package x11-utils): run scripts/setup";

    fs::path dir = testsupport::MakeTempDir("rovana-smoke");
    testsupport::CopyJapanData(dir);
    // The program folder is the current directory and holds the program file.
    fs::copy_file(ROVANA_BINARY, dir / "rovana", fs::copy_options::overwrite_existing);
    fs::permissions(dir / "rovana", fs::perms::owner_all, fs::perm_options::add);
    std::ofstream(dir / "probe.sh") << ProbeScript;

    const std::string caption = "白地図 Rovana Ver 9.3";
    // Xvfb picks a free display itself (-displayfd), so runs side by side never race for one.
    std::ofstream(dir / "x.sh") << "Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>display 2>xvfb.log &\n"
                                   "x=$!\n"
                                   "i=0; while [ ! -s display ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done\n"
                                   "DISPLAY=:$(cat display) sh ./probe.sh \"$1\"\n"
                                   "kill $x; wait $x 2>/dev/null; exit 0\n";
    std::string cmd = "cd '" + dir.string() + "' && timeout 120 sh ./x.sh '" + caption + "' > probe.out 2>&1";
    int rc = std::system(cmd.c_str());
    std::string out = testsupport::ReadBytes(dir / "probe.out");
    std::string details = "probe:\n" + out + "\nprogram output:\n" + testsupport::ReadBytes(dir / "rovana.log");

    EXPECT_EQ(rc, 0) << details;
    EXPECT_NE(out.find("window=1"), std::string::npos) << "no window \"" << caption << "\"\n" << details;
    EXPECT_NE(out.find("alive=1"), std::string::npos) << "the program ended by itself\n" << details;
    EXPECT_NE(out.find("exited=1"), std::string::npos) << "the program did not end on SIGTERM\n" << details;
    // Nothing of the program's may be left on the X server once it has ended.
    EXPECT_EQ(testsupport::ReadBytes(dir / "windows.txt").find(caption), std::string::npos) << details;
    testsupport::RemoveTree(dir);
}

} // namespace
