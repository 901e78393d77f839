// Small map folders written by the tests themselves: per-area map files and
// office files in CP932 with CR LF, as the data set has them.
#pragma once
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/support/FormsFixture.h"
#include <filesystem>
#include <string>
#include <vector>

namespace areafiles {

namespace fs = std::filesystem;

// Writes UTF-8 text as CP932; every '\n' becomes CR LF.
inline void WriteText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    gui::TextWriter w;
    ASSERT_TRUE(w.Open(file.string())) << file;
    ASSERT_TRUE(w.Write(text));
    ASSERT_TRUE(w.Close());
}

inline void WriteMap(const fs::path& dir, int code, const std::string& text) {
    WriteText(dir / "MAPDATA" / gui::Format("%02d.MAP", code), text);
}

inline void WriteOffice(const fs::path& dir, int code, const std::string& text) {
    WriteText(dir / "MAPDATA" / "OfficeLoc" / gui::Format("%02d市町村役場.lbl", code), text);
}

// The one message box shown: its text, caption and flags.
inline void ExpectOnlyMessage(const std::string& text, const std::string& caption, int flags) {
    const auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, text);
    EXPECT_EQ(m[0].caption, caption);
    EXPECT_EQ(m[0].flags, flags);
}

// A closed square polyline of the given letter, corner (x, y), side s.
inline std::string Square(char letter, int x, int y, int s) {
    return gui::Format("%c,1,5\n%d,%d,%d,%d,%d,%d,%d,%d,%d,%d\n", letter, x, y, x + s, y, x + s, y + s, x, y + s, x, y);
}

// All 52 areas: each a small coast square on a grid of its own, a town name,
// and (but for 52) an office file with one mark.
inline void WriteAllAreas(const fs::path& dir) {
    for (int code = 1; code <= 52; code++) {
        int x = 150000 + (code % 8) * 20000, y = 150000 + (code / 8) * 20000;
        WriteMap(dir, code, Square('C', x, y, 5000) + gui::Format("A,%d,%d,町%d\n", x + 100, y + 100, code));
        if (code != 52) WriteOffice(dir, code, gui::Format("◎,%d,%d,町%d役場,8\n", x + 100, y + 100, code));
    }
}

} // namespace areafiles
