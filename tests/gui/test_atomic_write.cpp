// The one writer through which every file is replaced: a temporary file
// beside it, checked, flushed to disk, renamed; never over a read-only file.
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "output/BinaryFile.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct AtomicWrite : ::testing::Test {
    fs::path dir = testsupport::MakeTempDir("rovana-atomic");
    void TearDown() override { testsupport::RemoveTree(dir); }
    std::string P(const char* name) { return (dir / name).string(); }
    void Put(const char* name, const std::string& bytes, mode_t mode) {
        ASSERT_TRUE(gui::AtomicWriteFile(P(name), [&](FILE* f, std::string&) {
            return fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        }));
        chmod(P(name).c_str(), mode);
    }
    mode_t Mode(const char* name) {
        struct stat st;
        return stat(P(name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    size_t Entries() { return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }
};

TEST_F(AtomicWrite, BinaryAndTextKeepThePermissionBitsOfTheFileTheyReplace) {
    Put("map.png", "old", 0640);
    ASSERT_TRUE(output::AtomicWriteBinary(P("map.png"), [](FILE* f, std::string&) { return fputs("png", f) >= 0; }));
    EXPECT_EQ(testsupport::ReadBytes(dir / "map.png"), "png");
    EXPECT_EQ(Mode("map.png"), 0640u);
    Put("list.txt", "old", 0604);
    ASSERT_TRUE(gui::AtomicRewrite(P("list.txt"), [](gui::TextWriter& w) { return w.WriteLine("新"); }));
    EXPECT_EQ(testsupport::ReadBytes(dir / "list.txt"), gui::Utf8ToCp932("新\r\n"));
    EXPECT_EQ(Mode("list.txt"), 0604u);
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(AtomicWrite, AReadOnlyFileIsNeverReplaced) {
    Put("config.ini", "kept", 0444);
    std::string error;
    EXPECT_FALSE(gui::AtomicWriteFile(P("config.ini"), [](FILE* f, std::string&) { return fputs("x", f) >= 0; },
                                      &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_FALSE(gui::AtomicRewrite(P("config.ini"), [](gui::TextWriter& w) { return w.WriteLine("x"); }));
    EXPECT_EQ(testsupport::ReadBytes(dir / "config.ini"), "kept");
    EXPECT_EQ(Entries(), 1u);
    // A writer that gives its own reason keeps it.
    EXPECT_FALSE(gui::AtomicWriteFile(P("new.bin"), [](FILE*, std::string& r) { r = "no pixels"; return false; }, &error));
    EXPECT_EQ(error, "no pixels");
    EXPECT_EQ(Entries(), 1u);
}

} // namespace
