#include "paint/StatTable.h"
#include "paint/StatXlsx.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>

namespace {

// Decodes one UTF-8 character at s[i]; -1 when the bytes are not UTF-8.
int NextCodePoint(std::string_view s, size_t& i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = b(i);
    if (c < 0x80) return int(s[i++]);
    const int n = c >= 0xF5 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 ? 1 : -1;
    if (n < 0) return -1;
    unsigned cp = c & (0x3F >> n);
    for (int k = 1; k <= n; ++k) {
        if (i + k >= s.size() || (b(i + k) & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    i += n + 1;
    return int(cp);
}

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();)
        if (NextCodePoint(s, i) < 0) return false;
    return true;
}

void PutUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Splits one line; false when a quote is left open.
bool SplitLine(std::string_view line, char sep, std::vector<std::string>& cells) {
    cells.clear();
    std::string cell;
    size_t i = 0;
    for (;;) {
        cell.clear();
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i++];
            }
            // Anything between the closing quote and the separator is kept.
            while (i < line.size() && line[i] != sep) cell += line[i++];
        } else {
            while (i < line.size() && line[i] != sep) cell += line[i++];
        }
        cells.push_back(cell);
        if (i >= line.size()) return true;
        ++i;   // the separator
    }
}

} // namespace

size_t StatTable::Width() const {
    size_t w = 0;
    for (const auto& r : rows) w = std::max(w, r.size());
    return w;
}

const std::string& StatTable::Cell(size_t row, size_t col) const {
    static const std::string empty;
    return row < rows.size() && col < rows[row].size() ? rows[row][col] : empty;
}

namespace {

bool EndsWithNoCase(const std::string& s, std::string_view tail) {
    return s.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), s.end() - std::ptrdiff_t(tail.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

std::string Head(const std::string& real) {
    std::ifstream in(real, std::ios::binary);
    std::string head(8, '\0');
    in.read(head.data(), 8);
    head.resize(size_t(std::max<std::streamsize>(0, in.gcount())));
    return head;
}

} // namespace

bool IsStatWorkbook(const std::string& path) {
    const std::string real = gui::ResolvePath(path);
    const std::string head = gui::FileExists(real) ? Head(real) : std::string();
    return EndsWithNoCase(path, ".xlsx") || EndsWithNoCase(path, ".xlsm") || head.rfind("PK\x03\x04", 0) == 0;
}

bool ReadStatTable(const std::string& path, StatTable& table, std::string& error, int sheet) {
    table = StatTable{};
    const std::string real = gui::ResolvePath(path);
    if (!gui::FileExists(real)) {
        error = "ファイルを開くことができません";
        return false;
    }
    if (EndsWithNoCase(path, ".xls")) {
        error = "Excel 97-2003 形式（.xls）のブックは読めません。.xlsx か CSV の形式で保存し直してください";
        return false;
    }
    if (IsStatWorkbook(path)) return ReadXlsxSheet(path, sheet, table, error);
    std::ifstream in(real, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "ファイルを開くことができません";
        return false;
    }
    const auto size = static_cast<size_t>(in.tellg());
    if (size > StatTable::FILE_MAX) {
        error = "ファイルが大きすぎます（64 MB まで）";
        return false;
    }
    std::string bytes(size, '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), std::streamsize(size))) {
        error = "ファイルを読み込むことができません";
        return false;
    }
    return ParseStatTable(bytes, table, error);
}

bool ParseStatTable(std::string_view bytes, StatTable& table, std::string& error) {
    table = StatTable{};
    StatTable t;
    if (bytes.find('\0') != std::string_view::npos) {
        error = "テキストの表ではありません（バイナリファイルです）";
        return false;
    }
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        t.utf8 = true;
        // A mark of UTF-8 is a claim: a byte that is not UTF-8 is refused where it stands.
        int line = 1;
        for (size_t i = 0; i < bytes.size();) {
            if (bytes[i] == '\n') ++line;
            if (NextCodePoint(bytes, i) < 0) {
                error = gui::Format("%d 行目に UTF-8 として読めないバイトがあります", line);
                return false;
            }
        }
    } else {
        t.utf8 = !gui::IsAscii(bytes) && IsUtf8(bytes);
    }
    std::vector<std::string> cells;
    int lineNo = 0;
    size_t pos = 0;
    std::string text;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view raw = bytes.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        if (raw.size() > StatTable::LINE_BYTES) {
            error = gui::Format("%d 行目が長すぎます（%zu バイト）", lineNo, raw.size());
            return false;
        }
        if (raw.empty()) continue;
        if (t.rows.empty()) {
            // The heading line decides the separator: tabs where it has more tabs than commas.
            size_t tabs = 0, commas = 0;
            for (char c : raw) tabs += c == '\t', commas += c == ',';
            t.separator = tabs > commas ? '\t' : ',';
        }
        if (t.utf8) text.assign(raw);
        else gui::Cp932ToUtf8(raw, text);
        if (!SplitLine(text, t.separator, cells)) {
            error = gui::Format("%d 行目の引用符が閉じていません", lineNo);
            return false;
        }
        if (cells.size() > StatTable::COL_MAX) {
            error = gui::Format("%d 行目の列が多すぎます（%zu 列、%zu 列まで）", lineNo, cells.size(),
                                StatTable::COL_MAX);
            return false;
        }
        if (t.rows.size() > StatTable::ROW_MAX) {
            error = gui::Format("%d 行目：行が多すぎます（%zu 行まで）", lineNo, StatTable::ROW_MAX);
            return false;
        }
        t.rows.push_back(cells);
        t.lines.push_back(lineNo);
    }
    if (t.rows.empty()) {
        error = "表に行がありません";
        return false;
    }
    table = std::move(t);
    return true;
}

std::string FoldWidth(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const size_t start = i;
        const int cp = NextCodePoint(s, i);
        if (cp < 0) {   // not UTF-8: kept byte for byte
            out += s[start];
            i = start + 1;
            continue;
        }
        if (cp == ' ' || cp == '\t' || cp == 0x3000) continue;
        if (cp >= 0xFF01 && cp <= 0xFF5E) out += char(cp - 0xFEE0);
        else if (cp == 0x2212) out += '-';
        else PutUtf8(out, unsigned(cp));
    }
    return out;
}

std::optional<double> ParseStatNumber(std::string_view cell, bool& noValue, std::string* why) {
    const auto no = [&](const char* reason) -> std::optional<double> {
        if (why) *why = reason;
        return std::nullopt;
    };
    noValue = false;
    if (why) why->clear();
    // Blanks around the number go; a blank inside it is no number ("162,151 0.11").
    std::string s;
    {
        const std::string folded = FoldWidth(cell);
        std::string kept;
        for (size_t i = 0; i < cell.size();) {
            const size_t start = i;
            const int cp = NextCodePoint(cell, i);
            if (cp < 0) {
                i = start + 1;
                kept += 'x';
                continue;
            }
            kept += cp == ' ' || cp == '\t' || cp == 0x3000 ? ' ' : 'x';
        }
        const size_t b = kept.find_first_not_of(' '), e = kept.find_last_not_of(' ');
        if (b != std::string::npos && kept.substr(b, e - b + 1).find(' ') != std::string::npos)
            return no("値の途中に空白があります");
        s = folded;
    }
    for (const char* mark : {"", "-", "…", "...", "‥", "x", "X", "***", "*", "―", "－"})
        if (s == mark) {
            noValue = true;
            return no("値がありません");
        }
    bool negative = false;
    for (std::string_view sign : {"△", "▲"})
        if (s.rfind(sign, 0) == 0) {
            negative = true;
            s.erase(0, sign.size());
            break;
        }
    if (s.empty() || (negative && (s[0] == '-' || s[0] == '+'))) return no("値が数値ではありません");
    for (char c : s)
        if (!isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E' &&
            c != ',')
            return no("値が数値ではありません");
    // Thousands separators only in the whole part, each followed by exactly three
    // digits, the first group one to three digits: "1,234,567.5".
    std::string plain;
    if (s.find(',') != std::string::npos) {
        size_t i = s[0] == '-' || s[0] == '+' ? 1 : 0;
        plain = s.substr(0, i);
        size_t end = i;
        while (end < s.size() && (isdigit(static_cast<unsigned char>(s[end])) || s[end] == ',')) ++end;
        const std::string whole = s.substr(i, end - i);
        if (s.find(',', end) != std::string::npos) return no("桁区切りのコンマが小数点の後にあります");
        size_t group = 0, groups = 0;
        bool ok = !whole.empty() && whole.front() != ',' && whole.back() != ',';
        for (char c : whole) {
            if (c == ',') {
                ok = ok && (groups == 0 ? group >= 1 && group <= 3 : group == 3);
                group = 0;
                ++groups;
            } else {
                ++group;
            }
        }
        ok = ok && group == 3;
        if (!ok) return no("桁区切りのコンマが3桁ごとではありません");
        for (char c : whole)
            if (c != ',') plain += c;
        plain += s.substr(end);
    } else {
        plain = s;
    }
    char* end = nullptr;
    const double v = std::strtod(plain.c_str(), &end);
    if (end != plain.c_str() + plain.size() || !std::isfinite(v)) return no("値が数値ではありません");
    // Beyond this a double no longer holds every whole number of the table exactly,
    // and the labels would print digits the table does not have.
    if (std::fabs(v) > kStatValueMax) return no("値が大きすぎます（±1,000兆まで）");
    return negative ? -v : v;
}

std::optional<double> ParseStatNumber(std::string_view cell, bool& noValue) {
    return ParseStatNumber(cell, noValue, nullptr);
}
