#include "paint/StatXlsx.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include <QDate>
#include <QXmlStreamReader>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <cmath>
#include <fstream>
#include <memory>
#include <set>
#include <unordered_map>

namespace {

const char* const kDamaged = "ブックが壊れているため読めません";
constexpr quint64 kPartMax = 1024ull << 20;      // the unpacked bytes of one part of the workbook
constexpr size_t kStringsMax = 4u << 20;         // shared strings of one workbook

struct Book {
    QuaZip zip;
    std::string error;
    explicit Book(const std::string& path) : zip(QString::fromStdString(path)) {}

    // A part of the workbook, opened for reading; null with `error` set when it is missing or unreadable.
    std::unique_ptr<QuaZipFile> Open(const QString& name, bool needed = true) {
        if (!zip.setCurrentFile(name, QuaZip::csInsensitive)) {
            if (needed) error = kDamaged + std::string("（") + name.toStdString() + " がありません）";
            return nullptr;
        }
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            error = kDamaged;
            return nullptr;
        }
        if (info.flags & 1) {
            error = "パスワードで保護されたブックは読めません。保護を外して保存し直してください";
            return nullptr;
        }
        if (info.uncompressedSize > kPartMax) {
            error = "ブックが大きすぎます";
            return nullptr;
        }
        auto f = std::make_unique<QuaZipFile>(&zip);
        if (!f->open(QIODevice::ReadOnly)) {
            error = kDamaged;
            return nullptr;
        }
        return f;
    }
    // A part's bytes in one read (its size is bounded above); a part shorter or longer than it says is damaged.
    static QByteArray Bytes(QuaZipFile& f) {
        QByteArray b(qsizetype(f.size()), Qt::Uninitialized);
        const qint64 n = f.read(b.data(), b.size());
        char extra;
        if (n != b.size() || f.read(&extra, 1) != 0) return QByteArray("<damaged");
        return b;
    }
};

bool OpenBook(const std::string& path, Book& book, std::string& error) {
    const std::string real = gui::ResolvePath(path);
    std::string head;
    {
        std::ifstream in(real, std::ios::binary | std::ios::ate);
        if (!gui::FileExists(real) || !in) {
            error = "ファイルを開くことができません";
            return false;
        }
        if (static_cast<size_t>(in.tellg()) > StatTable::FILE_MAX) {
            error = "ファイルが大きすぎます（64 MB まで）";
            return false;
        }
        head.resize(8);
        in.seekg(0);
        in.read(head.data(), 8);
        head.resize(size_t(in.gcount()));
    }
    // A workbook saved with a password is no zip but the older compound file holding it encrypted.
    if (head == std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        error = "パスワードで保護されたブックは読めません。保護を外して保存し直してください";
        return false;
    }
    book.zip.setZipName(QString::fromStdString(real));
    if (head.rfind("PK", 0) != 0 || !book.zip.open(QuaZip::mdUnzip)) {
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

// The parts that hold the cells (the sheet, its strings), read at the pace of
// a CSV: a strict reader of the XML a workbook holds (elements, attributes, text,
// character references, CDATA, comments). A document type or a tag out of place is damage.
class CellXml {
public:
    enum Kind { Start, End, Text, Eof, Error };
    explicit CellXml(QByteArray bytes) : s(std::move(bytes)) {
        if (s.startsWith("\xEF\xBB\xBF")) p = 3;
    }
    std::string_view name, attrs;   // of the element started or ended; attributes as written
    std::string text;               // of Text, references resolved
    Kind Next() {
        if (closing) {
            closing = false;
            name = open.back();
            open.pop_back();
            return End;
        }
        const char* b = s.constData();
        const size_t n = size_t(s.size());
        if (p >= n) return open.empty() && seen ? Eof : Error;
        if (b[p] != '<') {
            const void* at = std::memchr(b + p, '<', n - p);
            const size_t lt = at ? size_t(static_cast<const char*>(at) - b) : n;
            const std::string_view raw(b + p, lt - p);
            p = lt;
            if (open.empty()) {
                if (raw.find_first_not_of(" \t\r\n") != std::string_view::npos) return Error;
                return Next();
            }
            return Resolve(raw, text) ? Text : Error;
        }
        if (p + 1 < n && b[p + 1] == '?') return Skip("?>") ? Next() : Error;
        if (p + 1 < n && b[p + 1] == '!' && Starts("<!--")) return Skip("-->") ? Next() : Error;
        if (p + 1 < n && b[p + 1] == '!' && Starts("<![CDATA[")) {
            const qsizetype e = s.indexOf("]]>", qsizetype(p));
            if (e < 0 || open.empty()) return Error;
            text.assign(b + p + 9, size_t(e) - p - 9);
            p = size_t(e) + 3;
            return Text;
        }
        if (p + 1 < n && b[p + 1] == '!') return Error;
        const bool end = p + 1 < n && b[p + 1] == '/';
        size_t q = p + (end ? 2 : 1);
        const size_t nameStart = q;
        while (q < n && !Stop(b[q])) ++q;
        if (q == nameStart || q >= n) return Error;
        std::string_view full(b + nameStart, q - nameStart);
        const size_t colon = full.find(':');
        name = colon == std::string_view::npos ? full : full.substr(colon + 1);
        if (end) {
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || b[q] != '>' || open.empty() || open.back() != name) return Error;
            open.pop_back();
            p = q + 1;
            return End;
        }
        // Attributes: name="value" or name='value', nothing else.
        const size_t attrStart = q;
        for (;;) {
            while (q < n && Blank(b[q])) ++q;
            if (q >= n) return Error;
            if (b[q] == '>' || (b[q] == '/' && q + 1 < n && b[q + 1] == '>')) break;
            const size_t an = q;
            while (q < n && !Stop(b[q])) ++q;
            if (q == an) return Error;
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || b[q] != '=') return Error;
            ++q;
            while (q < n && Blank(b[q])) ++q;
            if (q >= n || (b[q] != '"' && b[q] != '\'')) return Error;
            const char quote = b[q++];
            while (q < n && b[q] != quote && b[q] != '<') ++q;
            if (q >= n || b[q] != quote) return Error;
            ++q;
        }
        attrs = std::string_view(b + attrStart, q - attrStart);
        if (open.empty() && seen) return Error;   // a second root
        seen = true;
        open.push_back(name);
        closing = b[q] == '/';
        p = q + (closing ? 2 : 1);
        return Start;
    }
    // An attribute of the element just started.
    bool Attr(std::string_view key, std::string& value) const {
        for (size_t k = attrs.find(key); k != std::string_view::npos; k = attrs.find(key, k + 1)) {
            const bool own = (k == 0 || Blank(attrs[k - 1]) || attrs[k - 1] == ':') && k + key.size() < attrs.size();
            size_t q = k + key.size();
            while (own && q < attrs.size() && Blank(attrs[q])) ++q;
            if (!own || q >= attrs.size() || attrs[q] != '=') continue;
            ++q;
            while (q < attrs.size() && Blank(attrs[q])) ++q;
            const char quote = attrs[q];
            const size_t e = attrs.find(quote, q + 1);
            return Resolve(attrs.substr(q + 1, e - q - 1), value);
        }
        value.clear();
        return false;
    }
    // The text of the element just started, to its end.
    bool ElementText(std::string& out) {
        out.clear();
        for (int depth = 1;;) {
            const Kind k = Next();
            if (k == Error || k == Eof) return false;
            if (k == Start) ++depth;
            else if (k == End && --depth == 0) return true;
            else if (k == Text && out.empty()) out.swap(text);
            else if (k == Text) out += text;
        }
    }
    size_t Depth() const { return open.size(); }

private:
    QByteArray s;
    size_t p = 0;
    std::vector<std::string_view> open;
    bool closing = false, seen = false;
    static bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool Stop(char c) { return Blank(c) || c == '/' || c == '>' || c == '=' || c == '<' || c == '"' || c == '\''; }
    bool Starts(const char* t) const { return std::strncmp(s.constData() + p, t, std::strlen(t)) == 0; }
    bool Skip(const char* to) {
        const qsizetype e = s.indexOf(to, qsizetype(p));
        if (e < 0) return false;
        p = size_t(e) + std::strlen(to);
        return true;
    }
    static bool Resolve(std::string_view raw, std::string& out) {
        if (raw.find('&') == std::string_view::npos) return out.assign(raw), true;
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

// The text of a string item (<si> or <is>, just started): its runs, without the readings (<rPh>).
bool ItemText(CellXml& x, std::string& out) {
    out.clear();
    int phonetic = 0;
    std::string t;
    for (int depth = 1;;) {
        const CellXml::Kind k = x.Next();
        if (k == CellXml::Error || k == CellXml::Eof) return false;
        if (k == CellXml::Start) {
            if (x.name == "rPh") ++phonetic;
            if (x.name == "t") {
                if (!x.ElementText(t)) return false;
                if (!phonetic) out += t;
                continue;
            }
            ++depth;
        } else if (k == CellXml::End) {
            if (x.name == "rPh") --phonetic;
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

// "BC12" -> column 54 (from 0) and row 12; false when it is no reference.
bool CellRef(const std::string& ref, long& col, long& row) {
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

struct Sheet { std::string name, part; };

bool Sheets(Book& b, std::vector<Sheet>& sheets, bool& from1904) {
    std::unordered_map<std::string, std::string> targets;
    if (auto f = b.Open("xl/_rels/workbook.xml.rels")) {
        QXmlStreamReader x(f.get());
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
    auto f = b.Open("xl/workbook.xml");
    if (!f) return false;
    QXmlStreamReader x(f.get());
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
    Book b(path);
    if (!OpenBook(path, b, error)) return false;
    std::vector<Sheet> sheets;
    bool from1904 = false;
    if (!Sheets(b, sheets, from1904)) return error = b.error, false;
    for (const Sheet& s : sheets) names.push_back(s.name);
    return true;
}

bool ReadXlsxSheet(const std::string& path, int sheet, StatTable& table, std::string& error) {
    table = StatTable{};
    Book b(path);
    if (!OpenBook(path, b, error)) return false;
    std::vector<Sheet> sheets;
    bool from1904 = false;
    if (!Sheets(b, sheets, from1904)) return error = b.error, false;
    if (sheet < 0 || sheet >= int(sheets.size()) || sheets[size_t(sheet)].part.empty()) {
        error = "ブックにそのシートがありません";
        return false;
    }
    // Shared strings.
    std::vector<std::string> strings;
    if (auto f = b.Open("xl/sharedStrings.xml", false)) {
        CellXml x(Book::Bytes(*f));
        for (CellXml::Kind k; (k = x.Next()) != CellXml::Eof;) {
            if (k == CellXml::Error) return error = kDamaged, false;
            if (k != CellXml::Start || x.name != "si") continue;
            if (strings.size() >= kStringsMax) return error = "ブックの文字列が多すぎます", false;
            strings.emplace_back();
            if (!ItemText(x, strings.back())) return error = kDamaged, false;
        }
    } else if (!b.error.empty()) {
        return error = b.error, false;
    }
    // Which cell styles show dates.
    std::vector<char> dateStyle;
    if (auto f = b.Open("xl/styles.xml", false)) {
        std::unordered_map<int, std::string> codes;
        QXmlStreamReader x(f.get());
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

    auto f = b.Open(QString::fromStdString(sheets[size_t(sheet)].part));
    if (!f) return error = b.error, false;
    CellXml x(Book::Bytes(*f));
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
            t.rows.push_back(std::move(cells));
            t.lines.push_back(int(row));
        }
        cells.clear();
        return true;
    };
    const auto damaged = [&]() { return error = row ? gui::Format("%ld 行目で%s", row, kDamaged) : std::string(kDamaged), false; };
    std::string ref, type, s, value, text;
    for (CellXml::Kind k; (k = x.Next()) != CellXml::Eof;) {
        if (k == CellXml::Error) return damaged();
        if (k == CellXml::End && x.name == "row") {
            inRow = false;
            if (!endRow()) return false;
            continue;
        }
        if (k != CellXml::Start) continue;
        if (x.name == "row") {
            x.Attr("r", ref);
            const long next = ref.empty() ? row + 1 : std::atol(ref.c_str());
            if (inRow || next <= row || next > 10000000) return damaged();
            row = next, col = -1, rowBytes = 0, inRow = true;
            continue;
        }
        if (!inRow || x.name != "c") continue;
        x.Attr("r", ref);
        x.Attr("t", type);
        x.Attr("s", s);
        const int style = std::atoi(s.c_str());
        long c = col + 1, r = row;
        if (!ref.empty() && (!CellRef(ref, c, r) || r != row || c <= col)) return damaged();
        col = c;
        bool hasValue = false;
        for (const size_t depth = x.Depth(); x.Depth() >= depth;) {
            const CellXml::Kind e = x.Next();
            if (e == CellXml::Error || e == CellXml::Eof) return damaged();
            if (e != CellXml::Start) continue;
            if (x.name == "v") {
                if (!x.ElementText(value)) return damaged();
                hasValue = true;
            } else if (x.name == "is") {
                if (!ItemText(x, value)) return damaged();
                hasValue = true;
            }
        }
        if (!hasValue) continue;   // a formula never worked out, or a cell of a style only
        if (type == "s") {
            char* end = nullptr;
            const unsigned long n = std::strtoul(value.c_str(), &end, 10);
            if (value.empty() || *end || n >= strings.size())
                return error = gui::Format("%ld 行目の文字列が%s", row, "ブックにありません（ブックが壊れています）"), false;
            text = strings[n];
        } else if (type == "b") {
            text = value == "1" ? "TRUE" : "FALSE";
        } else if (type == "n" || type.empty()) {
            const bool date = style >= 0 && size_t(style) < dateStyle.size() && dateStyle[size_t(style)];
            // Up to 15 digits as written; past them, what a spreadsheet shows (0.30000000000000004 is 0.3).
            const bool plain = !date && !value.empty() && value.size() <= 15 && value.back() != '.' &&
                               value.find_first_not_of("-.0123456789") == std::string::npos &&
                               value.find('-', 1) == std::string::npos &&
                               value.find('.') == value.rfind('.') && value != "-";
            if (plain) {
                text = value;
            } else {
                char* end = nullptr;
                const double v = std::strtod(value.c_str(), &end);
                if (value.empty() || *end || !std::isfinite(v))
                    return error = gui::Format("%ld 行目の数値が%s", row, "読めません（ブックが壊れています）"), false;
                text = date ? DateText(v, from1904) : gui::Format("%.15g", v);
            }
        } else {   // inlineStr, str (a formula's text), e (an error such as #DIV/0!)
            text = value;
        }
        if (text.empty()) continue;
        if (col >= long(StatTable::COL_MAX))
            return error = gui::Format("%ld 行目の列が多すぎます（%ld 列、%zu 列まで）", row, col + 1, StatTable::COL_MAX), false;
        rowBytes += text.size() + 1;
        if (rowBytes > StatTable::LINE_BYTES) return error = gui::Format("%ld 行目が長すぎます（%zu バイト）", row, rowBytes), false;
        if (cells.size() <= size_t(col)) cells.resize(size_t(col) + 1);
        cells[size_t(col)] = std::move(text);
    }
    if (t.rows.empty()) return error = "表に行がありません", false;
    t.utf8 = true;
    table = std::move(t);
    return true;
}
