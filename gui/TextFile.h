// Text files of the program: CP932 on disk, UTF-8 in memory, CR LF line ends.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace gui {

// CP932 bytes <-> UTF-8. A byte that does not decode becomes U+FFFD; a
// character CP932 cannot hold becomes '?'. Neither ever throws.
std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);
// Length of a UTF-8 text in CP932 bytes (for byte limits of the file formats).
size_t Cp932Length(std::string_view utf8);
// Compares two UTF-8 texts in CP932 byte order ("code order").
int Cp932Compare(std::string_view a, std::string_view b);

class TextReader {
public:
    TextReader() = default;
    explicit TextReader(const std::string& path) { Open(path); }
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    bool Open(const std::string& path);   // resolves the path without regard to case
    bool IsOpen() const { return f != nullptr; }
    // Next whole line, any length, without CR/LF, decoded to UTF-8.
    bool ReadLine(std::string& line);
    void Close();
private:
    FILE* f = nullptr;
    std::string raw;
    char buf[65536];
    size_t pos = 0, len = 0;
    bool fill();
};

class TextWriter {
public:
    TextWriter() = default;
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    bool Open(const std::string& path, bool append = false);
    bool IsOpen() const { return f != nullptr; }
    // Writes text as CP932; every '\n' becomes CR LF.
    bool Write(std::string_view utf8);
    bool WriteLine(std::string_view utf8) { return Write(utf8) && Write("\n"); }
    bool Printf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    bool Flush();
    bool Close();    // false when any write or the close failed
    bool Failed() const { return failed; }
private:
    FILE* f = nullptr;
    bool failed = false;
};

// Writes a file anew through a temporary file in the same folder: the original
// is replaced only after the writer returned true and every write succeeded.
bool AtomicRewrite(const std::string& path, const std::function<bool(TextWriter&)>& write);

// printf into a std::string, "C" locale.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace gui
