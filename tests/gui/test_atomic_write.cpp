// The one writer through which every file is replaced: a temporary file
// beside it, checked, flushed to disk, renamed; never over a read-only file.
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "gui/BinaryFile.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <filesystem>
#include "gui/Graphics.h"
#include <sys/stat.h>
#include <sys/wait.h>
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

TEST_F(AtomicWrite, AKilledSaveLeavesNothingOnceTheFolderIsSavedIntoAgain) {
    // The pid of a process that has ended.
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    const std::string dead = std::string(gui::kTempPrefix) + std::to_string(child) + "-1-a.lbl";
    const std::string alive = std::string(gui::kTempPrefix) + std::to_string(getppid()) + "-1-b.lbl";
    Put(dead.c_str(), "cut", 0644);
    Put(alive.c_str(), "under way", 0644);
    Put("a.lbl", "new", 0644);
    EXPECT_FALSE(fs::exists(dir / dead));
    EXPECT_TRUE(fs::exists(dir / alive)) << "a save of a running program stays";
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(AtomicWrite, ANamedPipeIsNeitherReadNorWrittenNorReplaced) {
    ASSERT_EQ(mkfifo(P("pipe").c_str(), 0600), 0);
    // Each would wait for the other end for ever.
    gui::TextReader r;
    EXPECT_FALSE(r.Open(P("pipe")));
    gui::TextWriter w;
    EXPECT_FALSE(w.Open(P("pipe")));
    EXPECT_FALSE(w.Open(P("pipe"), true));
    EXPECT_FALSE(gui::AtomicRewrite(P("pipe"), [](gui::TextWriter& t) { return t.WriteLine("x"); }));
    EXPECT_FALSE(gui::CopyFileKeepTime(P("pipe"), P("copy")));
    TBitmap b;
    EXPECT_FALSE(b.LoadFromFile(P("pipe")));
    struct stat st;
    ASSERT_EQ(stat(P("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries(), 1u);
}

} // namespace

namespace {

TEST_F(AtomicWrite, ANameOfUpTo255BytesIsWrittenByEveryWriter) {
    // The temporary once carried the name after a prefix and went past the folder's 255.
    for (size_t length : {size_t(242), size_t(255)}) {
        const std::string name = std::string(length - 4, 'n') + ".png";
        ASSERT_TRUE(output::AtomicWriteBinary(P(name.c_str()), [](FILE* f, std::string&) { return fputs("png", f) >= 0; }))
            << length;
        EXPECT_EQ(testsupport::ReadBytes(dir / name), "png");
        const std::string text = std::string(length - 4, 't') + ".lbl";
        ASSERT_TRUE(gui::AtomicRewrite(P(text.c_str()), [](gui::TextWriter& w) { return w.WriteLine("新"); })) << length;
        const std::string copy = std::string(length - 4, 'c') + ".lbl";
        ASSERT_TRUE(gui::CopyFileKeepTime(P(text.c_str()), P(copy.c_str()))) << length;
        EXPECT_EQ(testsupport::ReadBytes(dir / copy), gui::Utf8ToCp932("新\r\n"));
    }
    EXPECT_EQ(Entries(), 6u) << "no temporary file left";
}

} // namespace
