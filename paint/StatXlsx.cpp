#include "paint/StatXlsx.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include <QBuffer>
#include <QDate>
#include <QXmlStreamReader>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <unzip.h>
#include <libdeflate.h>
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <cmath>
#include <deque>
#include <fstream>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

const char* const kDamaged = "ブックが壊れているため読めません";
constexpr quint64 kPartMax = 1024ull << 20;      // the unpacked bytes of one part of the workbook
constexpr size_t kStringsMax = 4u << 20;         // shared strings of one workbook

struct Book {
    QByteArray file;   // the whole workbook, read once: the zip's reads are copies in memory
    QBuffer device;
    QuaZip zip;
    std::string error;
    // Parts are inflated whole, so by an inflater made for whole buffers.
    std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> inflater{nullptr, &libdeflate_free_decompressor};
    Book() : device(&file), zip(&device) {}

    // A part of the workbook inflated whole, in one step, into a buffer of the size the
    // directory gives. The sizes come from the file: bounded here, before anything is
    // allocated, by the part limit and by what deflate can make of the stored bytes.
    // A part that inflates to another size, or whose bytes fail its checksum, is damaged.
    // False with `error` set (left empty for a missing part that is not `needed`).
    bool Part(const QString& name, QByteArray& bytes, bool needed = true) {
        bytes.clear();
        if (!zip.setCurrentFile(name, QuaZip::csInsensitive)) {
            if (needed) error = kDamaged + std::string("（") + name.toStdString() + " がありません）";
            return false;
        }
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) return error = kDamaged, false;
        if (info.flags & 1) return error = "パスワードで保護されたブックは読めません。保護を外して保存し直してください", false;
        if (info.uncompressedSize > kPartMax) return error = "ブックが大きすぎます", false;
        const quint64 packedSize = info.compressedSize, size = info.uncompressedSize;
        const bool stored = info.method == 0;
        if (packedSize > StatTable::FILE_MAX || (stored ? size != packedSize : info.method != Z_DEFLATED || size > packedSize * 1032 + 64))
            return error = kDamaged, false;
        // Opened as it is stored, which checks the part's own header; its bytes are then
        // taken where they lie in the file read whole.
        QuaZipFile f(&zip);
        int method = 0, level = 0;
        if (!f.open(QIODevice::ReadOnly, &method, &level, true)) return error = kDamaged, false;
        const quint64 at = unzGetCurrentFileZStreamPos64(zip.getUnzFile());
        f.close();
        if (at > quint64(file.size()) || packedSize > quint64(file.size()) - at) return error = kDamaged, false;
        const QByteArrayView packed(file.constData() + at, qsizetype(packedSize));
        if (stored) {
            bytes = packed.toByteArray();
        } else {
            bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
            if (!inflater) inflater.reset(libdeflate_alloc_decompressor());
            size_t made = 0;
            if (!inflater || libdeflate_deflate_decompress(inflater.get(), packed.data(), size_t(packed.size()), bytes.data(),
                                                           size_t(bytes.size()), &made) != LIBDEFLATE_SUCCESS || made != size)
                return bytes.clear(), error = kDamaged, false;
        }
        if (libdeflate_crc32(0, bytes.constData(), size_t(bytes.size())) != info.crc) return bytes.clear(), error = kDamaged, false;
        return true;
    }
};

bool OpenBook(const std::string& path, Book& book, std::string& error) {
    const std::string real = gui::ResolvePath(path);
    {
        std::ifstream in(real, std::ios::binary | std::ios::ate);
        if (!gui::FileExists(real) || !in) {
            error = "ファイルを開くことができません";
            return false;
        }
        const auto size = static_cast<size_t>(in.tellg());
        if (size > StatTable::FILE_MAX) {
            error = "ファイルが大きすぎます（64 MB まで）";
            return false;
        }
        book.file.resize(qsizetype(size));
        in.seekg(0);
        if (!in.read(book.file.data(), std::streamsize(size))) {
            error = "ファイルを読み込むことができません";
            return false;
        }
    }
    // A workbook saved with a password is no zip but the older compound file holding it encrypted.
    if (book.file.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
        error = "パスワードで保護されたブックは読めません。保護を外して保存し直してください";
        return false;
    }
    if (!book.file.startsWith("PK") || !book.zip.open(QuaZip::mdUnzip)) {
        error = kDamaged;
        return false;
    }
    return true;
}

// Attribute of the element the reader is at.
std::string Attr(const QXmlStreamReader& x, const char* name) {
    return x.attributes().value(QLatin1String(name)).toString().toStdString();
}

// "_x000D_" and the like, as the workbook escapes characters XML cannot hold.
std::string Unescape(const QString& s) {
    if (!s.contains(QLatin1String("_x"))) return s.toStdString();
    QString out;
    for (int i = 0; i < s.size();) {
        bool ok = false;
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
            const uint c = s.mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(c));
                i += 7;
                continue;
            }
        }
        out += s[i++];
    }
    return out.toStdString();
}

// What ends a name in XML, by byte: one look-up in place of nine compares per byte.
// The fast paths' scans also stop at a NUL, so that they run to the part's end
// unchecked: a part's bytes end in one.
struct XmlStops {
    bool blank[256] = {}, stop[256] = {}, key[256] = {}, value[256] = {}, text[256] = {};
    constexpr XmlStops() {
        for (unsigned char c : std::string_view(" \t\r\n")) blank[c] = stop[c] = key[c] = true;
        for (unsigned char c : std::string_view("/>=<\"'")) stop[c] = key[c] = true;
        for (unsigned char c : std::string_view("\"'<&")) value[c] = true;
        text['<'] = text['&'] = true;
        key[0] = value[0] = text[0] = true;
    }
};
constexpr XmlStops kStops{};

// The parts that hold the cells (the sheet, its strings), read at the pace of
// a CSV: a strict reader of the XML a workbook holds (elements, attributes, text,
// character references, CDATA, comments). A document type or a tag out of place is damage.
// Names, attributes and text are views into the part's bytes; only text with
// references in it is copied.
class CellXml {
public:
    enum Kind { Start, End, Text, Eof, Error };
    // A QByteArray keeps a NUL past its bytes, which the fast paths stop at.
    explicit CellXml(QByteArray bytes) : s(std::move(bytes)), b(s.constData()), n(size_t(s.size())) {
        Begin();
    }
    std::string_view name;   // of the element started or ended, without its prefix
    std::string_view text;   // of Text, references resolved
    Kind Next() {
        if (closing) {
            closing = false;
            name = open.back();
            open.pop_back();
            return End;
        }
        if (p >= n) return open.empty() && seen ? Eof : Error;
        if (b[p] != '<') {
            size_t lt = p;
            while (lt < n && b[lt] != '<') ++lt;
            const std::string_view raw(b + p, lt - p);
            p = lt;
            if (open.empty()) {
                if (raw.find_first_not_of(" \t\r\n") != std::string_view::npos) return Error;
                return Next();
            }
            return Resolve(raw, text, resolved) ? Text : Error;
        }
        const char second = p + 1 < n ? b[p + 1] : '\0';
        if (second == '?') return Skip("?>") ? Next() : Error;
        if (second == '!') {
            if (Starts("<!--")) return Skip("-->") ? Next() : Error;
            if (!Starts("<![CDATA[")) return Error;
            const size_t e = Find(p, "]]>");
            if (e == std::string_view::npos || open.empty()) return Error;
            text = std::string_view(b + p + 9, size_t(e) - p - 9);
            p = size_t(e) + 3;
            return Text;
        }
        const bool end = second == '/';
        size_t q = p + (end ? 2 : 1);
        const size_t nameStart = q;
        while (q < n && !Stop(b[q])) ++q;
        if (q == nameStart || q >= n) return Error;
        name = Local(std::string_view(b + nameStart, q - nameStart));
        if (end) {
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || b[q] != '>' || open.empty() || !Same(open.back(), name)) return Error;
            open.pop_back();
            p = q + 1;
            return End;
        }
        // Attributes: name="value" or name='value', nothing else.
        attrs.clear();
        for (;;) {
            while (q < n && Blank(b[q])) ++q;
            if (q >= n) return Error;
            if (b[q] == '>' || (b[q] == '/' && q + 1 < n && b[q + 1] == '>')) break;
            const size_t an = q;
            while (q < n && !Stop(b[q])) ++q;
            if (q == an) return Error;
            const std::string_view key(b + an, q - an);
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || b[q] != '=') return Error;
            ++q;
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || (b[q] != '"' && b[q] != '\'')) return Error;
            const char quote = b[q++];
            const size_t v = q;
            while (q < n && b[q] != quote && b[q] != '<') ++q;
            if (q >= n || b[q] != quote) return Error;
            attrs.push_back({Local(key), std::string_view(b + v, q - v)});   // by the name without prefix
            ++q;
        }
        if (open.empty() && seen) return Error;   // a second root
        seen = true;
        open.push_back(name);
        closing = b[q] == '/';
        p = q + (closing ? 2 : 1);
        return Start;
    }
    // An attribute of the element just started, by its name without prefix:
    // a view of the part's bytes, or of `buffer` when it holds references; empty
    // when it is missing or cannot be read.
    std::string_view Attr(std::string_view key, std::string& buffer) const {
        std::string_view value;
        for (const auto& [k, v] : attrs)
            if (Same(k, key)) return Resolve(v, value, buffer) ? value : std::string_view();
        return {};
    }
    // The text of the element just started, to its end.
    bool ElementText(std::string& out) {
        out.clear();
        for (int depth = 1;;) {
            const Kind k = Next();
            if (k == Error || k == Eof) return false;
            if (k == Start) ++depth;
            else if (k == End && --depth == 0) return true;
            else if (k == Text) out += text;
        }
    }
    size_t Depth() const { return open.size(); }
    // The attributes of a cell that the sheet reads.
    struct CellHead { std::string_view ref, type, style; };
    // At a cell written the common way, "<c r=.. s=.. t=..>" closed at once or holding
    // only "<v>value</v>", its attributes without prefixes or references: the cell taken
    // whole in one step, as the general path would read it. False leaves the reader where it was.
    bool TakeCell(CellHead& head, std::string_view& value, bool& hasValue) {
        const char* const c = b + p;
        if (closing || c[0] != '<' || c[1] != 'c' || !(Blank(c[2]) || c[2] == '>' || c[2] == '/')) return false;
        std::string_view found[3];   // r, t, s
        unsigned seen = 0;
        const char* q = c + 2;
        for (;;) {
            while (Blank(*q)) ++q;
            if (*q == '>' || *q == '/') break;
            const char* const key = q;
            while (!kStops.key[Byte(*q)]) ++q;
            if (q == key || q[0] != '=' || (q[1] != '"' && q[1] != '\'')) return false;
            const char quote = q[1];
            const char* const v = q += 2;
            for (;; ++q) {
                while (!kStops.value[Byte(*q)]) ++q;
                if (*q == quote) break;
                if (*q != '"' && *q != '\'') return false;   // markup, a reference or the end
            }
            const std::string_view text(v, size_t(q - v));
            const size_t keyLength = size_t(v - 2 - key);
            ++q;
            if (keyLength != 1) {
                if (std::memchr(key, ':', keyLength)) return false;
                continue;
            }
            const int i = *key == 'r' ? 0 : *key == 't' ? 1 : *key == 's' ? 2 : -1;
            if (i < 0) continue;
            if (seen >> i & 1) return false;   // twice: the general path says which counts
            seen |= 1u << i;
            found[i] = text;
        }
        head = {found[0], found[1], found[2]};
        if (*q == '/') {
            if (q[1] != '>') return false;
            hasValue = false;
            p = size_t(q + 2 - b);
            return true;
        }
        const size_t end = Enclosed(size_t(q + 1 - b), "v", "c", value);
        if (end == std::string_view::npos) return false;
        hasValue = true;
        p = end;
        return true;
    }
    // Right after a cell's start: a cell written the common way, "<v>value</v></c>",
    // taken whole in one step. False leaves the reader where it was.
    bool TakeValue(std::string_view& value) { return TakeEnclosed("v", value); }
    // Right after a string item's start: an item written the common way,
    // "<t>text</t></si>", taken whole in one step. False leaves the reader where it was.
    bool TakeItem(std::string_view& text) { return TakeEnclosed("t", text); }

private:
    QByteArray s;
    const char* b;
    size_t n, p = 0;
    std::vector<std::string_view> open;
    std::vector<std::pair<std::string_view, std::string_view>> attrs;
    std::string resolved;   // the text of the last Text that had references
    bool closing = false, seen = false;
    static unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
    static bool Blank(char c) { return kStops.blank[static_cast<unsigned char>(c)]; }
    static bool Stop(char c) { return kStops.stop[static_cast<unsigned char>(c)]; }
    static bool Same(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) return false;
        return true;
    }
    // Names and values are a few bytes: a plain loop beats a library search per call.
    static size_t Find(std::string_view v, char c) {
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i] == c) return i;
        return std::string_view::npos;
    }
    static std::string_view Local(std::string_view full) {
        const size_t colon = Find(full, ':');
        return colon == std::string_view::npos ? full : full.substr(colon + 1);
    }
    void Begin() {
        if (n >= 3 && std::memcmp(b, "\xEF\xBB\xBF", 3) == 0) p = 3;
        open.reserve(16);
        attrs.reserve(8);
    }
    size_t Find(size_t from, const char* what) const { return std::string_view(b, n).find(what, from); }
    bool Starts(const char* t) const {
        const size_t len = std::strlen(t);
        return n - p >= len && std::memcmp(b + p, t, len) == 0;
    }
    bool Skip(const char* to) {
        const size_t e = Find(p, to);
        if (e == std::string_view::npos) return false;
        p = e + std::strlen(to);
        return true;
    }
    // At q: "<inner>text</inner></outer>", the text free of markup and references;
    // the position after it, or npos.
    size_t Enclosed(size_t q, std::string_view inner, std::string_view outer, std::string_view& text) const {
        const size_t head = inner.size() + 2;
        if (n - q < head || b[q] != '<' || !Same(std::string_view(b + q + 1, inner.size()), inner) || b[q + head - 1] != '>')
            return std::string_view::npos;
        size_t e = q + head;
        while (!kStops.text[Byte(b[e])]) ++e;
        const size_t tail = inner.size() + outer.size() + 6;
        if (n - e < tail || b[e] != '<' || b[e + 1] != '/' || !Same(std::string_view(b + e + 2, inner.size()), inner))
            return std::string_view::npos;
        const size_t o = e + 2 + inner.size();
        if (b[o] != '>' || b[o + 1] != '<' || b[o + 2] != '/' || !Same(std::string_view(b + o + 3, outer.size()), outer) ||
            b[o + 3 + outer.size()] != '>')
            return std::string_view::npos;
        text = std::string_view(b + q + head, e - q - head);
        return e + tail;
    }
    // Right after an element's start, when it holds only "<inner>text</inner>": its text, and the element ended.
    bool TakeEnclosed(std::string_view inner, std::string_view& text) {
        if (closing || open.empty()) return false;
        const size_t end = Enclosed(p, inner, open.back(), text);
        if (end == std::string_view::npos) return false;
        name = open.back();
        open.pop_back();
        p = end;
        return true;
    }
    // The raw text as a view, or resolved into `buffer` when it holds references.
    static bool Resolve(std::string_view raw, std::string_view& out, std::string& buffer) {
        if (Find(raw, '&') == std::string_view::npos) return out = raw, true;
        if (!Resolve(raw, buffer)) return false;
        out = buffer;
        return true;
    }
    static bool Resolve(std::string_view raw, std::string& out) {
        if (Find(raw, '&') == std::string_view::npos) return out.assign(raw), true;
        out.clear();
        size_t k = 0;
        for (size_t amp = raw.find('&'); amp != std::string_view::npos; amp = raw.find('&', k)) {
            out.append(raw.substr(k, amp - k));
            const size_t semi = raw.find(';', amp);
            if (semi == std::string_view::npos || semi - amp > 10) return false;
            const std::string_view e = raw.substr(amp + 1, semi - amp - 1);
            k = semi + 1;
            if (e == "lt") out += '<';
            else if (e == "gt") out += '>';
            else if (e == "amp") out += '&';
            else if (e == "quot") out += '"';
            else if (e == "apos") out += '\'';
            else if (e.size() > 1 && e[0] == '#') {
                char* end = nullptr;
                const std::string digits(e.substr(e[1] == 'x' ? 2 : 1));
                const unsigned long c = std::strtoul(digits.c_str(), &end, e[1] == 'x' ? 16 : 10);
                if (digits.empty() || *end || c == 0 || c > 0x10FFFF) return false;
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1).toStdString();
            } else {
                return false;
            }
        }
        out.append(raw.substr(k));
        return true;
    }
};

// Whether a name is the given one; with the length known the compare is inlined.
template <size_t N>
bool Is(std::string_view name, const char (&lit)[N]) {
    return name.size() == N - 1 && std::memcmp(name.data(), lit, N - 1) == 0;
}

// The text of a string item (<si> or <is>, just started): its runs, without the readings (<rPh>).
bool ItemText(CellXml& x, std::string& out) {
    out.clear();
    int phonetic = 0;
    std::string t;
    for (int depth = 1;;) {
        const CellXml::Kind k = x.Next();
        if (k == CellXml::Error || k == CellXml::Eof) return false;
        if (k == CellXml::Start) {
            if (Is(x.name, "rPh")) ++phonetic;
            if (Is(x.name, "t")) {
                if (!x.ElementText(t)) return false;
                if (!phonetic) out += t;
                continue;
            }
            ++depth;
        } else if (k == CellXml::End) {
            if (Is(x.name, "rPh")) --phonetic;
            if (--depth == 0) break;
        }
    }
    if (out.find("_x") != std::string::npos) out = Unescape(QString::fromStdString(out));
    return true;
}

// Whether a number format shows dates (the built-in ones, or a code with days or years in it).
bool DateFormat(int id, const std::string& code) {
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58)) return true;
    bool quoted = false;
    int bracket = 0;
    for (char c : code) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == '[') ++bracket;
        else if (!quoted && c == ']') bracket = std::max(0, bracket - 1);
        else if (!quoted && !bracket && std::string_view("yYdDeghHsS").find(c) != std::string_view::npos) return true;
    }
    return false;
}

// A date serial as the Japanese desktop writes it: "2021/1/1", with the time where there is one.
std::string DateText(double serial, bool from1904) {
    if (!(serial >= 0 && serial < 2958466)) return gui::Format("%.15g", serial);
    double whole = std::floor(serial);
    int seconds = int(std::lround((serial - whole) * 86400));
    if (seconds >= 86400) whole += 1, seconds -= 86400;
    QDate d;
    if (from1904) d = QDate(1904, 1, 1).addDays(qint64(whole));
    // The 1900 system counts a 29 February 1900 that never was.
    else d = whole < 61 ? QDate(1899, 12, 31).addDays(qint64(whole) - 1) : QDate(1899, 12, 30).addDays(qint64(whole));
    std::string s = whole >= 1 ? gui::Format("%d/%d/%d", d.year(), d.month(), d.day()) : std::string();
    if (seconds) {
        s += (s.empty() ? "" : " ") + gui::Format("%d:%02d", seconds / 3600, seconds / 60 % 60);
        if (seconds % 60) s += gui::Format(":%02d", seconds % 60);
    }
    return s;
}

// "BC" -> column 54 (from 0); false when it is no column.
bool CellRef(std::string_view letters, long& col) {
    col = -1;
    if (letters.empty() || letters.size() > 3) return false;
    long n = 0;
    for (char ch : letters) {
        if (ch < 'A' || ch > 'Z') return false;
        n = n * 26 + (ch - 'A' + 1);
    }
    col = n - 1;
    return true;
}

// "BC12" -> column 54 (from 0) and row 12; false when it is no reference.
bool CellRef(std::string_view ref, long& col, long& row) {
    size_t i = 0;
    col = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && i < 4) col = col * 26 + (ref[i++] - 'A' + 1);
    if (i == 0 || i >= ref.size() || i > 3) return false;
    row = 0;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9' || row > 10000000) return false;
        row = row * 10 + (ref[i] - '0');
    }
    col -= 1;
    return row >= 1;
}

// A count written in decimal digits only, or -1.
long Digits(std::string_view v) {
    if (v.empty() || v.size() > 9) return -1;
    long n = 0;
    for (char ch : v) {
        if (ch < '0' || ch > '9') return -1;
        n = n * 10 + (ch - '0');
    }
    return n;
}

// A number as a spreadsheet writes it that reads the same as written: up to
// 15 characters of digits, one point not at the end, a sign only in front.
bool PlainNumber(std::string_view v) {
    if (v.empty() || v.size() > 15 || v.back() == '.' || v == "-") return false;
    int points = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const char ch = v[i];
        if (ch == '.') ++points;
        else if (ch == '-' ? i != 0 : (ch < '0' || ch > '9')) return false;
    }
    return points <= 1;
}

struct Sheet { std::string name, part; };

bool Sheets(Book& b, std::vector<Sheet>& sheets, bool& from1904) {
    std::unordered_map<std::string, std::string> targets;
    QByteArray bytes;
    if (b.Part("xl/_rels/workbook.xml.rels", bytes)) {
        QXmlStreamReader x(bytes);
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("Relationship")) {
                std::string t = Attr(x, "Target");
                // Relative to xl/, or from the package's root.
                t = t.rfind('/', 0) == 0 ? t.substr(1) : "xl/" + t;
                targets[Attr(x, "Id")] = t;
            }
        if (x.hasError()) return b.error = kDamaged, false;
    } else {
        return false;
    }
    if (!b.Part("xl/workbook.xml", bytes)) return false;
    QXmlStreamReader x(bytes);
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("workbookPr")) {
            const std::string v = Attr(x, "date1904");
            from1904 = v == "1" || v == "true";
        } else if (x.name() == QLatin1String("sheet")) {
            const auto t = targets.find(x.attributes().value(QLatin1String("http://schemas.openxmlformats.org/officeDocument/2006/relationships"), QLatin1String("id")).toString().toStdString());
            sheets.push_back({Attr(x, "name"), t == targets.end() ? std::string() : t->second});
        }
    }
    if (x.hasError() || sheets.empty()) return b.error = kDamaged, false;
    return true;
}

} // namespace

bool ListXlsxSheets(const std::string& path, std::vector<std::string>& names, std::string& error) {
    names.clear();
    Book b;
    if (!OpenBook(path, b, error)) return false;
    std::vector<Sheet> sheets;
    bool from1904 = false;
    if (!Sheets(b, sheets, from1904)) return error = b.error, false;
    for (const Sheet& s : sheets) names.push_back(s.name);
    return true;
}

bool ReadXlsxSheet(const std::string& path, int sheet, StatTable& table, std::string& error) {
    table = StatTable{};
    Book b;
    if (!OpenBook(path, b, error)) return false;
    std::vector<Sheet> sheets;
    bool from1904 = false;
    if (!Sheets(b, sheets, from1904)) return error = b.error, false;
    if (sheet < 0 || sheet >= int(sheets.size()) || sheets[size_t(sheet)].part.empty()) {
        error = "ブックにそのシートがありません";
        return false;
    }
    // Shared strings: views of the part's bytes, kept while the sheet is read; only
    // the strings that need work are copied.
    std::vector<std::string_view> strings;
    std::deque<std::string> worked;
    QByteArray stringBytes, bytes;
    if (b.Part("xl/sharedStrings.xml", stringBytes, false)) {
        CellXml x(stringBytes);
        std::string_view text;
        for (CellXml::Kind k; (k = x.Next()) != CellXml::Eof;) {
            if (k == CellXml::Error) return error = kDamaged, false;
            if (k != CellXml::Start || !Is(x.name, "si")) continue;
            if (strings.size() >= kStringsMax) return error = "ブックの文字列が多すぎます", false;
            const bool taken = x.TakeItem(text);
            if (taken && text.find("_x") == std::string_view::npos) {
                strings.push_back(text);
                continue;
            }
            std::string& item = worked.emplace_back();
            if (taken) item = Unescape(QString::fromUtf8(text.data(), qsizetype(text.size())));
            else if (!ItemText(x, item)) return error = kDamaged, false;
            strings.push_back(item);
        }
    } else if (!b.error.empty()) {
        return error = b.error, false;
    }
    // Which cell styles show dates.
    std::vector<char> dateStyle;
    if (b.Part("xl/styles.xml", bytes, false)) {
        std::unordered_map<int, std::string> codes;
        QXmlStreamReader x(bytes);
        bool inXfs = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("numFmt"))
                codes[std::atoi(Attr(x, "numFmtId").c_str())] = Attr(x, "formatCode");
            else if (x.isStartElement() && x.name() == QLatin1String("cellXfs")) inXfs = true;
            else if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) inXfs = false;
            else if (inXfs && x.isStartElement() && x.name() == QLatin1String("xf") && dateStyle.size() < 65536) {
                const int id = std::atoi(Attr(x, "numFmtId").c_str());
                dateStyle.push_back(DateFormat(id, codes.count(id) ? codes[id] : std::string()));
            }
        }
        if (x.hasError()) return error = kDamaged, false;
    } else if (!b.error.empty()) {
        return error = b.error, false;
    }

    if (!b.Part(QString::fromStdString(sheets[size_t(sheet)].part), bytes)) return error = b.error, false;
    CellXml x(std::move(bytes));
    StatTable t;
    std::vector<std::string> cells;
    long row = 0, col = -1;
    size_t rowBytes = 0;
    bool inRow = false;
    const auto endRow = [&]() {
        while (!cells.empty() && cells.back().empty()) cells.pop_back();
        if (!cells.empty()) {
            if (t.rows.size() >= StatTable::ROW_MAX + 1) {
                error = gui::Format("%ld 行目：行が多すぎます（%zu 行まで）", row, StatTable::ROW_MAX);
                return false;
            }
            const size_t width = cells.size();
            t.rows.push_back(std::move(cells));
            t.lines.push_back(int(row));
            cells = {};
            cells.reserve(width);   // rows of a table are alike
        }
        cells.clear();
        return true;
    };
    const auto damaged = [&]() {
        return error = row ? gui::Format("%ld 行目で%s", row, kDamaged) : std::string(kDamaged), false;
    };
    std::string refText, typeText, styleText, valueText, formatted, rowDigits;
    // One cell of the row, from its attributes and its value (none for a formula
    // never worked out, or a cell of a style only).
    const auto cell = [&](const CellXml::CellHead& head, std::string_view value, bool hasValue) {
        long c = col + 1, r = row;
        if (!head.ref.empty()) {
            // Most references end in the row's number as the row wrote it: only the letters are left to read.
            const std::string_view ref = head.ref;
            const size_t letters = ref.size() - rowDigits.size();
            if (ref.size() > rowDigits.size() && letters <= 3 && ref.compare(letters, std::string_view::npos, rowDigits) == 0 &&
                ref[letters - 1] >= 'A' && ref[letters - 1] <= 'Z') {
                if (!CellRef(ref.substr(0, letters), c)) return damaged();
            } else if (!CellRef(ref, c, r) || r != row) {
                return damaged();
            }
            if (c <= col) return damaged();
        }
        col = c;
        if (!hasValue) return true;
        std::string_view text;
        const std::string_view type = head.type;
        if (Is(type, "s")) {
            const long n = Digits(value);
            if (n < 0 || size_t(n) >= strings.size())
                return error = gui::Format("%ld 行目の文字列が%s", row, "ブックにありません（ブックが壊れています）"), false;
            text = strings[size_t(n)];
        } else if (Is(type, "b")) {
            text = Is(value, "1") ? "TRUE" : "FALSE";
        } else if (Is(type, "n") || type.empty()) {
            const long style = head.style.empty() ? 0 : Digits(head.style);
            const bool date = style >= 0 && size_t(style) < dateStyle.size() && dateStyle[size_t(style)];
            // Up to 15 digits as written; past them, what a spreadsheet shows (0.30000000000000004 is 0.3).
            if (!date && PlainNumber(value)) {
                text = value;
            } else {
                formatted.assign(value);
                char* end = nullptr;
                const double v = std::strtod(formatted.c_str(), &end);
                if (value.empty() || *end || !std::isfinite(v))
                    return error = gui::Format("%ld 行目の数値が%s", row, "読めません（ブックが壊れています）"), false;
                formatted = date ? DateText(v, from1904) : gui::Format("%.15g", v);
                text = formatted;
            }
        } else {   // inlineStr, str (a formula's text), e (an error such as #DIV/0!)
            text = value;
        }
        if (text.empty()) return true;
        if (col >= long(StatTable::COL_MAX))
            return error = gui::Format("%ld 行目の列が多すぎます（%ld 列、%zu 列まで）", row, col + 1, StatTable::COL_MAX), false;
        rowBytes += text.size() + 1;
        if (rowBytes > StatTable::LINE_BYTES) return error = gui::Format("%ld 行目が長すぎます（%zu バイト）", row, rowBytes), false;
        cells.resize(size_t(col));   // columns only grow along a row: the cells skipped are empty
        cells.emplace_back(text);
        return true;
    };
    CellXml::CellHead head;
    std::string_view value;
    bool hasValue = false;
    for (;;) {
        // Most cells are written the common way and taken in one step.
        if (inRow && x.TakeCell(head, value, hasValue)) {
            if (!cell(head, value, hasValue)) return false;
            continue;
        }
        const CellXml::Kind k = x.Next();
        if (k == CellXml::Eof) break;
        if (k == CellXml::Error) return damaged();
        if (k == CellXml::End && Is(x.name, "row")) {
            inRow = false;
            if (!endRow()) return false;
            continue;
        }
        if (k != CellXml::Start) continue;
        if (Is(x.name, "row")) {
            const std::string_view ref = x.Attr("r", refText);
            const long next = ref.empty() ? row + 1 : Digits(ref);
            if (inRow || next <= row || next > 10000000) return damaged();
            row = next, col = -1, rowBytes = 0, inRow = true;
            rowDigits = std::to_string(row);
            continue;
        }
        if (!inRow || !Is(x.name, "c")) continue;
        head = {x.Attr("r", refText), x.Attr("t", typeText), x.Attr("s", styleText)};
        hasValue = false;
        if (x.TakeValue(value)) hasValue = true;
        else for (const size_t depth = x.Depth(); x.Depth() >= depth;) {
            const CellXml::Kind e = x.Next();
            if (e == CellXml::Error || e == CellXml::Eof) return damaged();
            if (e != CellXml::Start) continue;
            if (Is(x.name, "v")) {
                if (!x.ElementText(valueText)) return damaged();
                value = valueText, hasValue = true;
            } else if (Is(x.name, "is")) {
                if (!ItemText(x, valueText)) return damaged();
                value = valueText, hasValue = true;
            }
        }
        if (!cell(head, value, hasValue)) return false;
    }
    if (t.rows.empty()) return error = "表に行がありません", false;
    t.utf8 = true;
    table = std::move(t);
    return true;
}
