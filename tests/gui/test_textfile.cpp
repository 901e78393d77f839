// CP932 text files, case-insensitive paths, the file helpers and the one writer that replaces files.
#include "gui/BinaryFile.h"
#include "gui/Files.h"
#include "gui/Graphics.h"
#include "gui/TextFile.h"
#include <gtest/gtest.h>
#include <QString>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <iconv.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

using namespace gui;
namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        char tmpl[] = "/tmp/textfile_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return dir + "/" + name; }
    void WriteBytes(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string ReadBytes(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> ReadAll(const std::string& path) const {
        std::vector<std::string> lines;
        TextReader r;
        EXPECT_TRUE(r.Open(path));
        std::string line;
        while (r.ReadLine(line)) lines.push_back(line);
        return lines;
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// The one writer through which every file is replaced: a temporary file
// beside it, checked, flushed to disk, renamed; never over a read-only file.
struct AtomicWrite : TextFileTest {
    void Put(const std::string& name, const std::string& bytes, mode_t mode) {
        ASSERT_TRUE(AtomicWriteFile(Path(name), [&](FILE* f, std::string&) {
            return fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        }));
        chmod(Path(name).c_str(), mode);
    }
    mode_t Mode(const std::string& name) {
        struct stat st;
        return stat(Path(name).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
};

bool ValidUtf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; k++)
            if ((s[i + k] & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The converter's own reading, one character at a time: a byte that decodes
// alone, else the two bytes from it as one character, else the byte kept as
// U+F700 + the byte, and on with the next byte.
std::string DecodeByConverter(iconv_t cd, const std::string& bytes) {
    auto one = [&](size_t at, size_t n, std::string& out) {
        if (at + n > bytes.size()) return false;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes.data() + at);
        size_t inLeft = n;
        char buf[16];
        char* o = buf;
        size_t outLeft = sizeof buf;
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == size_t(-1) || inLeft != 0 || o == buf) return false;
        out.append(buf, o);
        return true;
    };
    std::string out;
    for (size_t i = 0; i < bytes.size();) {
        if (one(i, 1, out)) i += 1;
        else if (one(i, 2, out)) i += 2;
        else { out += QString(QChar(0xF700 + uint8_t(bytes[i]))).toStdString(); i += 1; }
    }
    return out;
}

} // namespace

TEST(Cp932Text, DecodesEveryByteAndPairAsTheConverterDoes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    ASSERT_NE(cd, iconv_t(-1));
    std::string out;
    for (int a = 0; a < 256; a++) {
        const std::string single(1, char(a));
        ASSERT_EQ(Cp932ToUtf8(single), DecodeByConverter(cd, single)) << a;
        for (int b = 0; b < 256; b++) {
            // Between ASCII, and followed by a lead byte cut at the end.
            const std::string pair = std::string("a") + char(a) + char(b) + "z\x82";
            Cp932ToUtf8(pair, out);
            ASSERT_EQ(out, DecodeByConverter(cd, pair)) << a << ' ' << b;
        }
    }
    iconv_close(cd);
}

// Every character of the BMP, between ASCII, encodes as the converter
// encodes the whole text; the characters it refuses still give '?'.
TEST(Cp932Text, EncodesEveryCharacterAsTheConverterDoes) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    ASSERT_NE(cd, iconv_t(-1));
    std::string text;
    for (char32_t cp = 0x80; cp < 0x10000; cp++) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string one = QString::fromUcs4(&cp, 1).toStdString();
        char buf[8];
        char* in = const_cast<char*>(one.data());
        char* o = buf;
        size_t inLeft = one.size(), outLeft = sizeof buf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const bool mapped = iconv(cd, &in, &inLeft, &o, &outLeft) != size_t(-1);
        // A byte the decoder kept as U+F780..U+F7FF goes back as that byte.
        const std::string want = mapped ? std::string(buf, o)
                                 : cp >= 0xF780 && cp <= 0xF7FF ? std::string(1, char(cp - 0xF700))
                                                                 : std::string("?");
        ASSERT_EQ(gui::Utf8ToCp932("a" + one + "z"), "a" + want + "z") << uint32_t(cp);
        if (mapped) text += one;
    }
    // All the mapped ones in one text, as a log line of many names is.
    std::string whole(text.size() * 2, '\0');
    char* in = text.data();
    char* o = whole.data();
    size_t inLeft = text.size(), outLeft = whole.size();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(iconv(cd, &in, &inLeft, &o, &outLeft), size_t(-1));
    whole.resize(size_t(o - whole.data()));
    EXPECT_EQ(gui::Utf8ToCp932(text), whole);
    // A stray byte and a cut sequence in a text otherwise mapped.
    EXPECT_EQ(gui::Utf8ToCp932("駅\x80名\xE3\x81"), gui::Utf8ToCp932("駅") + "?" + gui::Utf8ToCp932("名") + "?");
    iconv_close(cd);
}

TEST_F(TextFileTest, RoundTripKeepsTheExactCp932Bytes) {
    // kana, level 1 and level 2 kanji, NEC special, IBM extension, and the six
    // characters that strict Shift_JIS maps differently.
    const std::string text = "あア亜弌①㈱Ⅰ髙﨑～∥－￠￡￢ｱ";
    const std::string bytes =
        "\x82\xA0\x83\x41\x88\x9F\x98\x9F\x87\x40\x87\x8A\x87\x54\xFB\xFC\xFA\xB1"
        "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\xB1";
    TextWriter w;
    ASSERT_TRUE(w.Open(Path("rt.txt")));
    EXPECT_TRUE(w.WriteLine(text));
    EXPECT_TRUE(w.Printf("%s,%d,%.2f\n", "名前", 12, 1.5));
    ASSERT_TRUE(w.Close());
    EXPECT_EQ(ReadBytes("rt.txt"), bytes + "\r\n" + "\x96\xBC\x91\x4F,12,1.50\r\n");
    EXPECT_EQ(ReadAll(Path("rt.txt")), (std::vector<std::string>{text, "名前,12,1.50"}));
    // The look-alikes of strict Shift_JIS land on the same CP932 bytes.
    EXPECT_EQ(Utf8ToCp932("\u301C\u2016\u2212"), "\x81\x60\x81\x61\x81\x7C");
}

TEST_F(TextFileTest, LinesOfAnyLengthAndEveryLineEnd) {
    // Lines longer than the read buffer, crossing it with double-byte text.
    std::string longAscii(200000, 'x');
    std::string longMixed;
    for (int i = 0; i < 30000; i++) longMixed += "漢a";
    std::string shortLine(1500, '1');
    WriteBytes("long.txt", shortLine + "\r\n" + longAscii + "\r\n" + Utf8ToCp932(longMixed) + "\nlf only\nlast");
    // The last has no newline after it and is still a line.
    EXPECT_EQ(ReadAll(Path("long.txt")), (std::vector<std::string>{shortLine, longAscii, longMixed, "lf only", "last"}));

    WriteBytes("ends.txt", "a\r\n\r\nb\r\n");
    EXPECT_EQ(ReadAll(Path("ends.txt")), (std::vector<std::string>{"a", "", "b"}));
    WriteBytes("empty.txt", "");
    EXPECT_TRUE(ReadAll(Path("empty.txt")).empty());
}

// A reader that takes lines from the buffer itself and one that cuts them
// see the same lines, whichever way each line is taken.
TEST_F(TextFileTest, BufferedBytesAndLinesTakeTurns) {
    std::string text;
    for (int i = 0; text.size() < 150000; i++) text += std::string(size_t(i % 97), char('a' + i % 26)) + (i % 2 ? "\r\n" : "\n");
    text += "tail";
    WriteBytes("turns.txt", text);
    TextReader in(Path("turns.txt"));
    std::string got;
    std::string_view bytes;
    for (int i = 0;; i++) {
        const std::string_view rest = in.Buffered();
        const char* nl = static_cast<const char*>(memchr(rest.data(), '\n', rest.size()));
        if (i % 3 && nl) {
            got.append(rest.data(), size_t(nl - rest.data()) + 1);
            in.Advance(size_t(nl - rest.data()) + 1);
        } else if (in.ReadLineBytes(bytes)) {
            got.append(bytes.data(), bytes.size()) += '\x01';
        } else {
            break;
        }
    }
    // Lines cut by the reader lose their ends: compare without them.
    auto bare = [](std::string s) {
        std::string out;
        for (size_t i = 0; i < s.size(); i++)
            if (s[i] != '\r' && s[i] != '\n' && s[i] != '\x01') out += s[i];
        return out;
    };
    EXPECT_EQ(bare(got), bare(text));
    EXPECT_EQ(got.substr(got.size() - 5), "tail\x01");   // the last line, without a newline, is cut
}

TEST_F(TextFileTest, UndecodableBytesNeverBreakTheRest) {
    // A double-byte character cut at the end of the file, and one cut at a line end.
    WriteBytes("cut.txt", "abc\r\n\x82\r\n\x82\xA0\x82\xA2\r\nx\x82");
    EXPECT_EQ(ReadAll(Path("cut.txt")), (std::vector<std::string>{"abc", "\uF782", "あい", "x\uF782"}));
    // A lead byte before an ASCII separator keeps the separator.
    EXPECT_EQ(Cp932ToUtf8("\x82,1"), "\uF782,1");
    // Every byte pair decodes to well-formed UTF-8.
    std::string all;
    for (int a = 0; a < 256; a++)
        for (int b = 0; b < 256; b++) { all += char(a); all += char(b); }
    EXPECT_TRUE(ValidUtf8(Cp932ToUtf8(all)));
    // What CP932 cannot hold, or what is not UTF-8, is written as '?'.
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b\xFF" "c"), "a?b?c");
}

TEST_F(TextFileTest, WriterUsesCrLfAndReportsFailures) {
    TextWriter w;
    ASSERT_TRUE(w.Open(Path("crlf.txt")));
    EXPECT_TRUE(w.Write("a\nb"));
    EXPECT_TRUE(w.Write("\r\n"));        // already CR LF: stays one
    EXPECT_TRUE(w.WriteLine("c"));
    EXPECT_TRUE(w.Close());
    EXPECT_EQ(ReadBytes("crlf.txt"), "a\r\nb\r\nc\r\n");

    ASSERT_TRUE(w.Open(Path("crlf.txt"), true));
    EXPECT_TRUE(w.WriteLine("d"));
    EXPECT_TRUE(w.Close());
    EXPECT_EQ(ReadBytes("crlf.txt"), "a\r\nb\r\nc\r\nd\r\n");

    TextWriter none;
    EXPECT_FALSE(none.Open(Path("no/such/folder/x.txt")));
    EXPECT_FALSE(none.Write("x"));
    TextReader r;
    EXPECT_FALSE(r.Open(Path("missing.txt")));
    EXPECT_FALSE(r.Open(dir));   // a folder is not a text file
    std::string line;
    EXPECT_FALSE(r.ReadLine(line));
}

TEST_F(TextFileTest, FoldersAndFilesResolveWithoutCase) {
    fs::create_directory(Path("MAPDATA"));
    WriteBytes("MAPDATA/01.MAP", "1,2\r\n");
    EXPECT_EQ(ReadAll(Path("Mapdata/01.map")), std::vector<std::string>{"1,2"});
    EXPECT_EQ(ResolvePath(Path("mapdata/01.Map")), Path("MAPDATA/01.MAP"));
    EXPECT_EQ(NativePath(dir + "\\Mapdata\\01.MAP"), Path("MAPDATA/01.MAP"));
    EXPECT_TRUE(FileExists(Path("mapdata/01.map")));
    EXPECT_FALSE(FileExists(Path("mapdata")));
    EXPECT_TRUE(DirectoryExists(Path("Mapdata")));

    // A new file goes into the existing folder under the name asked for...
    TextWriter w;
    ASSERT_TRUE(w.Open(Path("Mapdata/new.txt")));
    w.Close();
    EXPECT_TRUE(fs::exists(Path("MAPDATA/new.txt")));
    EXPECT_FALSE(fs::exists(Path("Mapdata")));
    // ...and an existing one in another case is the one written.
    ASSERT_TRUE(w.Open(Path("mapdata/01.map")));
    w.WriteLine("3,4");
    w.Close();
    EXPECT_EQ(ReadBytes("MAPDATA/01.MAP"), "3,4\r\n");
    EXPECT_EQ(ListFiles(Path("MAPDATA"), "*").size(), 2u);
    // An exact match wins over another case.
    WriteBytes("MAPDATA/01.map", "exact");
    EXPECT_EQ(ResolvePath(Path("MAPDATA/01.map")), Path("MAPDATA/01.map"));
    EXPECT_EQ(ReadAll(Path("MAPDATA/01.map")), std::vector<std::string>{"exact"});
    EXPECT_EQ(ReadAll(Path("MAPDATA/01.MAP")), std::vector<std::string>{"3,4"});
}

TEST_F(TextFileTest, CopyKeepsTheLastWriteTime) {
    WriteBytes("src.bin", std::string("\x00\x01\xFF\r\n", 5) + std::string(100000, 'z'));
    std::tm tm{};
    tm.tm_year = 2001 - 1900;
    tm.tm_mon = 1;
    tm.tm_mday = 3;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    std::time_t when = mktime(&tm);
    struct timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path("src.bin").c_str(), times, 0), 0);
    WriteBytes("DST.BIN", "older content");

    ASSERT_TRUE(CopyFileKeepTime(Path("SRC.bin"), Path("dst.bin")));
    EXPECT_EQ(ReadBytes("DST.BIN"), ReadBytes("src.bin"));
    EXPECT_EQ(FileTime(Path("dst.bin")), when);
    FileDateParts d;
    ASSERT_TRUE(FileDate(Path("dst.bin"), d));
    EXPECT_EQ(std::tuple(d.year, d.month, d.day), std::tuple(2001, 2, 3));
    EXPECT_EQ(Entries(), (std::vector<std::string>{"DST.BIN", "src.bin"}));

    EXPECT_FALSE(CopyFileKeepTime(Path("missing"), Path("dst.bin")));
    EXPECT_EQ(FileTime(Path("missing")), 0);
    EXPECT_FALSE(FileDate(Path("missing"), d));
}

TEST_F(TextFileTest, WildcardListingAndNameParts) {
    for (const char* n : {"a.TXT", "b.txt", "c.csv", "noext", "駅名.txt", "ab.csv"}) WriteBytes(n, "");
    fs::create_directory(Path("folder.txt"));
    EXPECT_EQ(ListFiles(dir, "*.txt"), (std::vector<std::string>{"a.TXT", "b.txt", "駅名.txt"}));
    EXPECT_EQ(ListFiles(dir, "?.CSV"), std::vector<std::string>{"c.csv"});
    EXPECT_EQ(ListFiles(dir, "??.txt"), std::vector<std::string>{"駅名.txt"});   // ? is a character
    EXPECT_EQ(ListFiles(dir, "*.*").size(), 6u);
    EXPECT_TRUE(ListFiles(Path("nowhere"), "*").empty());
    EXPECT_TRUE(MatchesWildcard("abcabd", "*ab?"));
    EXPECT_FALSE(MatchesWildcard("abcabe", "*abd"));

    EXPECT_EQ(ExtractFileName("C:\\data\\paint.pnt"), "paint.pnt");
    EXPECT_EQ(ExtractFileName("/a/b.c/name"), "name");
    EXPECT_EQ(ExtractFileExt("/a/b.c/name"), "");
    EXPECT_EQ(ExtractFileExt("/a/map.rvx"), ".rvx");
    EXPECT_EQ(ExtractFilePath("/a/map.rvx"), "/a/");
    EXPECT_EQ(ExtractFilePath("map.rvx"), "");
}

TEST(Cp932Text, LengthAndCodeOrder) {
    EXPECT_EQ(Cp932Length("abc"), 3u);
    EXPECT_EQ(Cp932Length("東京都"), 6u);
    EXPECT_EQ(Cp932Length("ｱｲ"), 2u);   // half-width kana are single bytes
    // Ａ is 0x8260 and 亜 0x889F in CP932, while UTF-8 puts 亜 first.
    for (auto [a, b, sign] : {std::tuple{"Ａ", "亜", -1}, {"亜", "Ａ", 1}, {"あ", "ｱ", -1}, {"z", "あ", -1},
                              {"ab", "abc", -1}, {"仙台", "仙台", 0}, {"b", "A", 1}}) {
        const int order = Cp932Compare(a, b);
        EXPECT_EQ((order > 0) - (order < 0), sign) << a << " against " << b;
    }
    EXPECT_LT(Cp932CompareText("A", "b"), 0);
    EXPECT_EQ(Cp932CompareText("Abc駅", "aBC駅"), 0);
    EXPECT_EQ(Format("%5.2f|%s|%03d|0x%08x", 3.14159, "地図", 7, 0xFF), " 3.14|地図|007|0x000000ff");
    EXPECT_EQ(Format("%s", std::string(1000, 'q').c_str()).size(), 1000u);
}

TEST_F(AtomicWrite, AtomicRewriteReplacesOnlyAfterACompleteWrite) {
    WriteBytes("data.txt", "old\r\n");
    chmod(Path("data.txt").c_str(), 0640);
    EXPECT_TRUE(AtomicRewrite(Path("DATA.TXT"), [](TextWriter& w) { return w.WriteLine("new"); }));
    EXPECT_EQ(ReadBytes("data.txt"), "new\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"data.txt"});
    struct stat st;
    ASSERT_EQ(stat(Path("data.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);   // the permissions survive

    // The writer gives up half way.
    EXPECT_FALSE(AtomicRewrite(Path("data.txt"), [](TextWriter& w) {
        w.WriteLine("partial");
        return false;
    }));
    EXPECT_EQ(ReadBytes("data.txt"), "new\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"data.txt"});

    // The disk refuses the bytes (a file size limit stands in for a full disk).
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit;
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool ok = AtomicRewrite(Path("data.txt"), [](TextWriter& w) {
        for (int i = 0; i < 1000; i++) w.WriteLine("0123456789012345678901234567890123456789");
        return true;
    });
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadBytes("data.txt"), "new\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"data.txt"});

    // No folder to write into.
    EXPECT_FALSE(AtomicRewrite(Path("nofolder/data.txt"), [](TextWriter& w) { return w.WriteLine("x"); }));
}

TEST_F(AtomicWrite, BinaryAndTextKeepThePermissionBitsOfTheFileTheyReplace) {
    Put("map.png", "old", 0640);
    ASSERT_TRUE(output::AtomicWriteBinary(Path("map.png"), [](FILE* f, std::string&) { return fputs("png", f) >= 0; }));
    EXPECT_EQ(ReadBytes("map.png"), "png");
    EXPECT_EQ(Mode("map.png"), 0640u);
    Put("list.txt", "old", 0604);
    ASSERT_TRUE(AtomicRewrite(Path("list.txt"), [](TextWriter& w) { return w.WriteLine("新"); }));
    EXPECT_EQ(ReadBytes("list.txt"), Utf8ToCp932("新\r\n"));
    EXPECT_EQ(Mode("list.txt"), 0604u);
    EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(AtomicWrite, AReadOnlyFileIsNeverReplaced) {
    Put("config.ini", "kept", 0444);
    std::string error;
    EXPECT_FALSE(AtomicWriteFile(Path("config.ini"), [](FILE* f, std::string&) { return fputs("x", f) >= 0; },
                                      &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_FALSE(AtomicRewrite(Path("config.ini"), [](TextWriter& w) { return w.WriteLine("x"); }));
    EXPECT_EQ(ReadBytes("config.ini"), "kept");
    EXPECT_EQ(Entries().size(), 1u);
    // A writer that gives its own reason keeps it.
    EXPECT_FALSE(AtomicWriteFile(Path("new.bin"), [](FILE*, std::string& r) { r = "no pixels"; return false; }, &error));
    EXPECT_EQ(error, "no pixels");
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(AtomicWrite, AKilledSaveLeavesNothingOnceTheFolderIsSavedIntoAgain) {
    // The pid of a process that has ended.
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    const std::string dead = std::string(kTempPrefix) + std::to_string(child) + "-1-a.lbl";
    const std::string alive = std::string(kTempPrefix) + std::to_string(getppid()) + "-1-b.lbl";
    Put(dead, "cut", 0644);
    Put(alive, "under way", 0644);
    Put("a.lbl", "new", 0644);
    EXPECT_FALSE(fs::exists(Path(dead)));
    EXPECT_TRUE(fs::exists(Path(alive))) << "a save of a running program stays";
    EXPECT_EQ(Entries().size(), 2u);
}

TEST_F(AtomicWrite, ANamedPipeIsNeitherReadNorWrittenNorReplaced) {
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    // Each would wait for the other end for ever.
    TextReader r;
    EXPECT_FALSE(r.Open(Path("pipe")));
    TextWriter w;
    EXPECT_FALSE(w.Open(Path("pipe")));
    EXPECT_FALSE(w.Open(Path("pipe"), true));
    EXPECT_FALSE(AtomicRewrite(Path("pipe"), [](TextWriter& t) { return t.WriteLine("x"); }));
    EXPECT_FALSE(CopyFileKeepTime(Path("pipe"), Path("copy")));
    TBitmap b;
    EXPECT_FALSE(b.LoadFromFile(Path("pipe")));
    struct stat st;
    ASSERT_EQ(stat(Path("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(AtomicWrite, ANameOfUpTo255BytesIsWrittenByEveryWriter) {
    // The temporary once carried the name after a prefix and went past the folder's 255.
    for (size_t length : {size_t(242), size_t(255)}) {
        const std::string name = std::string(length - 4, 'n') + ".png";
        ASSERT_TRUE(output::AtomicWriteBinary(Path(name), [](FILE* f, std::string&) { return fputs("png", f) >= 0; }))
            << length;
        EXPECT_EQ(ReadBytes(name), "png");
        const std::string text = std::string(length - 4, 't') + ".lbl";
        ASSERT_TRUE(AtomicRewrite(Path(text), [](TextWriter& w) { return w.WriteLine("新"); })) << length;
        const std::string copy = std::string(length - 4, 'c') + ".lbl";
        ASSERT_TRUE(CopyFileKeepTime(Path(text), Path(copy))) << length;
        EXPECT_EQ(ReadBytes(copy), Utf8ToCp932("新\r\n"));
    }
    EXPECT_EQ(Entries().size(), 6u) << "no temporary file left";
}
