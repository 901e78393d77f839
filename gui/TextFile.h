// Text files of the program: CP932 on disk, UTF-8 in memory, CR LF line ends.
#pragma once
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace gui {

// CP932 bytes <-> UTF-8. A byte that does not decode becomes the private
// character U+F700 + the byte, which the encoder turns back into that byte; a
// character CP932 cannot hold becomes '?'. Neither ever throws.
std::string Cp932ToUtf8(std::string_view bytes);
std::string Utf8ToCp932(std::string_view utf8);
// The same decoding into an existing string (its room is reused).
void Cp932ToUtf8(std::string_view bytes, std::string& out);
// Length of a UTF-8 text in CP932 bytes (for byte limits of the file formats).
size_t Cp932Length(std::string_view utf8);
// Compares two UTF-8 texts in CP932 byte order ("code order"): <0, 0, >0.
int Cp932Compare(std::string_view a, std::string_view b);
// The same with ASCII letters compared without regard to case.
int Cp932CompareText(std::string_view a, std::string_view b);
// The longest start of a CP932 text of at most max bytes that does not end
// inside a double-byte character.
std::string_view CutCp932Bytes(std::string_view cp932, size_t max);
// True when every byte is below 0x80 (the same bytes in CP932 and UTF-8).
bool IsAscii(std::string_view s);

class TextReader {
public:
    TextReader() = default;
    explicit TextReader(const std::string& path) { Open(path); }
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;
    // Resolves the path without regard to case; false when it is not a
    // readable ordinary file (a named pipe is refused, never waited on).
    bool Open(const std::string& path);
    bool IsOpen() const { return fd >= 0; }
    // Next whole line, any length, without CR/LF, decoded to UTF-8.
    // A last line without a newline is still a line.
    bool ReadLine(std::string& line);
    // The same line undecoded, as its CP932 bytes without CR/LF; the view is
    // valid until the next read. For readers that decode only some fields.
    bool ReadLineBytes(std::string_view& bytes) {
        // The usual case, kept inline: the whole line is in the buffer.
        if (pos < len) {
            const char* start = buf + pos;
            if (const char* nl = static_cast<const char*>(memchr(start, '\n', len - pos))) {
                size_t n = nl - start;
                pos += n + 1;
                if (n && start[n - 1] == '\r') n--;
                bytes = std::string_view(start, n);
                return true;
            }
        }
        return readLineAcrossBuffers(bytes);
    }
    // The unread bytes of the buffer, for a reader that finds its own line
    // ends and then steps past what it took with Advance. When a line does
    // not end in it, ReadLineBytes reads it. kSlack bytes before and after
    // the view are readable memory (of no meaning), so that a reader may load
    // whole words across its ends.
    static constexpr size_t kSlack = 64;
    std::string_view Buffered() const { return std::string_view(buf + pos, len - pos); }
    void Advance(size_t n) { pos += n; }
    void Close();
private:
    static constexpr size_t kSize = 65536;
    int fd = -1;
    bool atEnd = false;
    std::string raw;
    // The buffer proper lies between two margins of kSlack bytes.
    alignas(64) char store[kSlack + kSize + kSlack] = {};
    char* const buf = store + kSlack;
    size_t pos = 0, len = 0;
    bool fill();
    bool readLineAcrossBuffers(std::string_view& bytes);
};

class TextWriter {
public:
    TextWriter() = default;
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    // The folder part is resolved without regard to case; an existing file
    // whose name differs only in case is the one written.
    bool Open(const std::string& path, bool append = false);
    // Writes into a file opened by someone else, who closes it; Detach flushes
    // and lets it go, false when any write failed.
    void Attach(FILE* file);
    bool Detach();
    bool IsOpen() const { return f != nullptr; }
    // Writes text as CP932; every '\n' becomes CR LF (a CR LF given as such
    // stays one CR LF).
    bool Write(std::string_view utf8);
    bool WriteLine(std::string_view utf8) { return Write(utf8) && Write("\n"); }
    // A line given as its CP932 bytes (as ReadLineBytes gave it), then CR LF:
    // a line copied unchanged keeps its bytes exactly.
    bool WriteBytesLine(std::string_view cp932) {
        lastCR = false;
        return (cp932.empty() || put(cp932.data(), cp932.size())) && put("\r\n", 2);
    }
    bool Printf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    bool Flush();
    bool Close();    // false when any write or the close failed
    bool Failed() const { return failed; }
private:
    bool put(const char* p, size_t n);
    FILE* f = nullptr;
    bool owned = true;
    bool failed = false;
    bool lastCR = false;
    std::string scratch;
};

// Writes a text file anew through AtomicWriteFile: the original is replaced
// only after the writer returned true and every write succeeded. On failure
// the original is untouched and the temporary file removed.
bool AtomicRewrite(const std::string& path, const std::function<bool(TextWriter&)>& write);

// printf into a std::string, "C" locale.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

} // namespace gui
