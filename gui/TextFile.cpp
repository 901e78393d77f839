#include "gui/TextFile.h"
#include "gui/Files.h"
#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <iconv.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace gui {

namespace {

// An iconv converter. "CP932" is the Windows code page (NEC and IBM
// extensions, ～ as U+FF5E), not strict Shift_JIS.
class Converter {
public:
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() { if (ok()) iconv_close(cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd != iconv_t(-1); }
    iconv_t cd;
};

// The encoder, opened on first use; the decoder is asked only once, for its table.
iconv_t Encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c.cd;
}

// Length of the well-formed UTF-8 sequence at p, or 1 for a stray byte.
size_t Utf8SequenceLength(const unsigned char* p, size_t n) {
    unsigned char c = p[0];
    size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 1;
    if (c >= 0xF5 || len > n) return 1;
    for (size_t i = 1; i < len; i++)
        if ((p[i] & 0xC0) != 0x80) return 1;
    return len;
}

// The converter's CP932 for every character of the BMP, taken from it once:
// the log alone writes tens of thousands of names per redraw. An entry is the
// byte count (1 or 2) in its low byte and the bytes above it; 0 when the
// converter refuses the character.
class Cp932Encoding {
public:
    Cp932Encoding() {
        Converter encoder("CP932", "UTF-8");
        for (uint32_t cp = 0x80; cp < 0x10000; cp++) {
            if (cp >= 0xD800 && cp < 0xE000) continue;
            char utf8[3];
            size_t n = cp < 0x800 ? 2 : 3;
            if (n == 2) utf8[0] = char(0xC0 | cp >> 6), utf8[1] = char(0x80 | (cp & 0x3F));
            else utf8[0] = char(0xE0 | cp >> 12), utf8[1] = char(0x80 | ((cp >> 6) & 0x3F)), utf8[2] = char(0x80 | (cp & 0x3F));
            entry[cp] = Ask(encoder.cd, utf8, n);
        }
    }

    // The whole text by table, appended to out; false (out unchanged in
    // length) at the first thing the table cannot say for sure: a sequence
    // that is not well-formed or a character the converter refuses.
    bool Encode(std::string_view in, std::string& out) const {
        const size_t start = out.size();
        out.resize(start + in.size());
        char* o = out.data() + start;
        const unsigned char* p = reinterpret_cast<const unsigned char*>(in.data());
        const size_t n = in.size();
        for (size_t i = 0; i < n;) {
            const unsigned char a = p[i];
            if (a < 0x80) {
                *o++ = char(a);
                i++;
                continue;
            }
            uint32_t cp;
            if (a >= 0xC2 && a <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
                cp = uint32_t(a & 0x1F) << 6 | (p[i + 1] & 0x3F);
                i += 2;
            } else if (a >= 0xE0 && a <= 0xEF && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
                cp = uint32_t(a & 0x0F) << 12 | uint32_t(p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F);
                i += 3;
                if (cp < 0x800) cp = 0;   // overlong: the converter's own answer is wanted
            } else {
                cp = 0;
            }
            const uint32_t e = cp ? entry[cp] : 0;
            if (!e) {
                out.resize(start);
                return false;
            }
            *o++ = char(e >> 8);
            if ((e & 0xFF) == 2) *o++ = char(e >> 16);
        }
        out.resize(size_t(o - out.data()));
        return true;
    }

private:
    static uint32_t Ask(iconv_t cd, const char* seq, size_t n) {
        if (cd == iconv_t(-1)) return 0;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(seq);
        size_t inLeft = n;
        unsigned char bytes[4];
        char* o = reinterpret_cast<char*>(bytes);
        size_t outLeft = sizeof bytes;
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        const size_t len = size_t(o - reinterpret_cast<char*>(bytes));
        if (r == size_t(-1) || inLeft != 0 || len == 0 || len > 2) return 0;
        return (len == 2 ? uint32_t(bytes[1]) << 16 : 0) | uint32_t(bytes[0]) << 8 | uint32_t(len);
    }

    std::vector<uint32_t> entry = std::vector<uint32_t>(0x10000, 0);
};

// Appends the CP932 of 'in' to 'out'. A character the converter refuses is
// written as '?' and the conversion goes on after it.
void Encode(std::string_view in, std::string& out) {
    static const Cp932Encoding table;
    if (table.Encode(in, out)) return;
    iconv_t cd = Encoder();
    size_t used = out.size();
    // Encoding never grows the bytes.
    out.resize(used + in.size() + 8);
    if (cd == iconv_t(-1)) {
        // No converter at all: keep ASCII, replace the rest.
        for (size_t i = 0; i < in.size();) {
            unsigned char c = in[i];
            out[used++] = c < 0x80 ? char(c) : '?';
            i += c < 0x80 ? 1 : Utf8SequenceLength((const unsigned char*)in.data() + i, in.size() - i);
        }
        out.resize(used);
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outp = &out[used];
        size_t outLeft = out.size() - used;
        size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        used = outp - out.data();
        if (r != size_t(-1)) break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2 + 16);
            continue;
        }
        // EILSEQ (bad or unmappable sequence) or EINVAL (cut at the end).
        const unsigned char* q = reinterpret_cast<const unsigned char*>(inp);
        size_t skip = errno == EINVAL ? inLeft : Utf8SequenceLength(q, inLeft);
        if (out.size() == used) out.resize(out.size() * 2 + 16);
        // U+F780..U+F7FF: a byte the decoder kept, given back as it was.
        const bool kept = skip == 3 && q[0] == 0xEF && (q[1] == 0x9E || q[1] == 0x9F);
        out[used++] = kept ? char(0x80 | (q[1] & 1) << 6 | (q[2] & 0x3F)) : '?';
        inp += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
}

// The converter's answer for every byte and every two-byte sequence, taken
// from it once: decoding by table gives the same text, the same replacements
// included, at a fraction of a call per name. An entry is the UTF-8 length in
// its low byte and up to three UTF-8 bytes above it; 0 when it does not decode.
class Cp932Table {
public:
    Cp932Table() {
        Converter decoder("UTF-8", "CP932");
        const iconv_t cd = decoder.cd;
        for (int a = 0; a < 256; a++) {
            const char one[1] = {char(a)};
            single[a] = a < 0x80 ? (uint32_t(a) << 8) | 1 : Ask(cd, one, 1);
        }
        for (int a = 0x80; a < 0x100; a++) {
            if (single[a]) continue;
            for (int b = 0; b < 256; b++) {
                const char two[2] = {char(a), char(b)};
                pair[a - 0x80][b] = Ask(cd, two, 2);
            }
        }
    }

    void Decode(std::string_view in, std::string& out) const {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(in.data());
        const size_t n = in.size();
        // Never more than three bytes out for one in.
        out.resize(3 * n);
        char* o = out.data();
        for (size_t i = 0; i < n;) {
            const unsigned char a = p[i];
            if (a < 0x80) {
                *o++ = char(a);
                i++;
                continue;
            }
            uint32_t e = single[a];
            size_t used = 1;
            if (!e && i + 1 < n && (e = pair[a - 0x80][p[i + 1]]) != 0) used = 2;
            if (!e) e = KeptByteEntry(a);
            // Three bytes are always written and the length tells how many
            // count: the room of three per input byte holds them.
            const uint32_t bytes = e >> 8;
            memcpy(o, &bytes, 3);
            o += e & 0xFF;
            i += used;
        }
        out.resize(o - out.data());
    }

private:
    // A byte that is no CP932 is kept as the private character U+F700 + the
    // byte, which the encoder turns back into the byte: a file read and
    // written unchanged keeps its bytes.
    static constexpr uint32_t KeptByteEntry(unsigned char a) {
        const uint32_t cp = 0xF700u + a;
        const uint32_t b0 = 0xE0 | (cp >> 12), b1 = 0x80 | ((cp >> 6) & 0x3F), b2 = 0x80 | (cp & 0x3F);
        return (b0 | b1 << 8 | b2 << 16) << 8 | 3;
    }

    // The UTF-8 of the whole sequence when the converter takes all of it as
    // one character, else 0.
    static uint32_t Ask(iconv_t cd, const char* seq, size_t n) {
        if (cd == iconv_t(-1)) return 0;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(seq);
        size_t inLeft = n;
        char utf8[8];
        char* o = utf8;
        size_t outLeft = sizeof utf8;
        size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
        size_t len = o - utf8;
        // One character only, of at most three bytes (CP932 is all in the BMP).
        if (r == size_t(-1) || inLeft != 0 || len == 0 || len > 3 ||
            Utf8SequenceLength(reinterpret_cast<const unsigned char*>(utf8), len) != len)
            return 0;
        uint32_t bytes = 0;
        memcpy(&bytes, utf8, len);
        return bytes << 8 | uint32_t(len);
    }

    uint32_t single[256] = {};
    uint32_t pair[128][256] = {};
};

// CP932 bytes into 'out' (cleared); pure ASCII is copied as it is.
void DecodeInto(std::string_view bytes, std::string& out) {
    if (IsAscii(bytes)) {
        out.assign(bytes.data(), bytes.size());
        return;
    }
    static const Cp932Table table;
    table.Decode(bytes, out);
}

int CompareBytes(std::string_view a, std::string_view b, bool foldCase) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; i++) {
        unsigned char x = a[i], y = b[i];
        if (foldCase) {
            if (x >= 'a' && x <= 'z') x -= 32;
            if (y >= 'a' && y <= 'z') y -= 32;
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int CompareCp932(std::string_view a, std::string_view b, bool foldCase) {
    if (IsAscii(a) && IsAscii(b)) return CompareBytes(a, b, foldCase);
    return CompareBytes(Utf8ToCp932(a), Utf8ToCp932(b), foldCase);
}

// vsnprintf with the "C" locale whatever the process locale is.
std::string VFormat(const char* fmt, va_list ap) {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    locale_t old = cLocale ? uselocale(cLocale) : locale_t(0);
    char small[256];
    va_list ap2;
    va_copy(ap2, ap);
    int n = vsnprintf(small, sizeof small, fmt, ap);
    std::string s;
    if (n >= 0 && size_t(n) < sizeof small) {
        s.assign(small, n);
    } else if (n >= 0) {
        s.resize(n + 1);
        vsnprintf(s.data(), n + 1, fmt, ap2);
        s.resize(n);
    }
    va_end(ap2);
    if (cLocale) uselocale(old);
    return s;
}

} // namespace

bool IsAscii(std::string_view s) {
    const char* p = s.data();
    size_t n = s.size();
    uint64_t acc = 0;
    while (n >= 8) {
        uint64_t w;
        memcpy(&w, p, 8);
        acc |= w;
        p += 8;
        n -= 8;
    }
    while (n--) acc |= uint8_t(*p++);
    return (acc & 0x8080808080808080ull) == 0;
}

std::string_view CutCp932Bytes(std::string_view cp932, size_t max) {
    if (cp932.size() <= max) return cp932;
    size_t i = 0;
    while (i < max) {
        const unsigned char c = cp932[i];
        const size_t len = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
        if (i + len > max) break;
        i += len;
    }
    return cp932.substr(0, i);
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string out;
    DecodeInto(bytes, out);
    return out;
}

void Cp932ToUtf8(std::string_view bytes, std::string& out) { DecodeInto(bytes, out); }

std::string Utf8ToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string out;
    Encode(utf8, out);
    return out;
}

size_t Cp932Length(std::string_view utf8) {
    if (IsAscii(utf8)) return utf8.size();
    return Utf8ToCp932(utf8).size();
}

int Cp932Compare(std::string_view a, std::string_view b) { return CompareCp932(a, b, false); }
int Cp932CompareText(std::string_view a, std::string_view b) { return CompareCp932(a, b, true); }

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = VFormat(fmt, ap);
    va_end(ap);
    return s;
}

// ---- TextReader ----

TextReader::~TextReader() { Close(); }

bool TextReader::Open(const std::string& path) {
    Close();
    // The exact name is the usual case and always wins; only a miss looks
    // for the name in another case.
    // Only an ordinary file: a named pipe would block the read for ever.
    int file = OpenRegularFile(path, O_RDONLY);
    if (file < 0 && (errno == ENOENT || errno == ENOTDIR)) {
        std::string resolved = ResolvePath(path);
        if (resolved != path) file = OpenRegularFile(resolved, O_RDONLY);
    }
    if (file < 0) return false;
    fd = file;
    pos = len = 0;
    atEnd = false;
    return true;
}

void TextReader::Close() {
    if (fd >= 0) close(fd);
    fd = -1;
    pos = len = 0;
}

bool TextReader::fill() {
    pos = len = 0;
    if (atEnd) return false;
    ssize_t n;
    do n = read(fd, buf, kSize);
    while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    len = size_t(n);
    // A short read of an ordinary file is its end: no further call to find it.
    atEnd = len < kSize;
    return true;
}

bool TextReader::ReadLine(std::string& line) {
    std::string_view bytes;
    if (!ReadLineBytes(bytes)) return false;
    DecodeInto(bytes, line);
    return true;
}

bool TextReader::readLineAcrossBuffers(std::string_view& bytes) {
    if (fd < 0) return false;
    if (pos == len && !fill()) return false;
    const char* start = buf + pos;
    const char* nl = static_cast<const char*>(memchr(start, '\n', len - pos));
    if (nl) {
        bytes = std::string_view(start, nl - start);
        pos = nl - buf + 1;
    } else {
        raw.assign(start, len - pos);
        pos = len;
        while (fill()) {
            nl = static_cast<const char*>(memchr(buf, '\n', len));
            if (nl) {
                raw.append(buf, nl - buf);
                pos = nl - buf + 1;
                break;
            }
            raw.append(buf, len);
            pos = len;
        }
        bytes = raw;
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
    return true;
}

// ---- TextWriter ----

TextWriter::~TextWriter() { Close(); }

bool TextWriter::Open(const std::string& path, bool append) {
    Close();
    failed = false;
    lastCR = false;
    const int fd = OpenRegularFile(ResolvePath(path), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC));
    if (fd < 0) return false;
    f = fdopen(fd, append ? "ab" : "wb");
    if (!f) close(fd);
    return f != nullptr;
}

bool TextWriter::put(const char* p, size_t n) {
    if (!f) { failed = true; return false; }
    if (n && fwrite(p, 1, n, f) != n) failed = true;
    return !failed;
}

bool TextWriter::Write(std::string_view utf8) {
    if (!f) { failed = true; return false; }
    if (utf8.empty()) return !failed;
    std::string_view bytes = utf8;
    std::string encoded;
    if (!IsAscii(utf8)) {
        Encode(utf8, encoded);
        bytes = encoded;
    }
    if (!memchr(bytes.data(), '\n', bytes.size())) {
        lastCR = bytes.back() == '\r';
        return put(bytes.data(), bytes.size());
    }
    scratch.clear();
    scratch.reserve(bytes.size() + bytes.size() / 8 + 2);
    // Runs between line ends are copied whole.
    for (size_t at = 0; at < bytes.size();) {
        const char* nl = static_cast<const char*>(memchr(bytes.data() + at, '\n', bytes.size() - at));
        const size_t end = nl ? size_t(nl - bytes.data()) : bytes.size();
        scratch.append(bytes.data() + at, end - at);
        if (end > at) lastCR = bytes[end - 1] == '\r';
        if (!nl) break;
        if (!lastCR) scratch += '\r';
        scratch += '\n';
        lastCR = false;
        at = end + 1;
    }
    return put(scratch.data(), scratch.size());
}

bool TextWriter::Printf(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = VFormat(fmt, ap);
    va_end(ap);
    return Write(s);
}

bool TextWriter::Flush() {
    if (!f) return false;
    if (fflush(f) != 0) failed = true;
    return !failed;
}

bool TextWriter::Close() {
    if (!f) return !failed;
    if (!owned) return Detach();
    if (fflush(f) != 0) failed = true;
    if (fclose(f) != 0) failed = true;
    f = nullptr;
    return !failed;
}

void TextWriter::Attach(FILE* file) {
    Close();
    f = file;
    owned = false;
    failed = file == nullptr;
    lastCR = false;
}

bool TextWriter::Detach() {
    if (f && fflush(f) != 0) failed = true;
    f = nullptr;
    owned = true;
    return !failed;
}

// ---- AtomicRewrite ----

bool AtomicRewrite(const std::string& path, const std::function<bool(TextWriter&)>& write) {
    return AtomicWriteFile(path, [&](FILE* f, std::string&) {
        TextWriter w;
        w.Attach(f);
        const bool wrote = write(w);
        return w.Detach() && wrote;
    });
}

} // namespace gui
