// Statistics tables as spreadsheets save them, joined to the municipalities of the real data set.
#include "gui/TextFile.h"
#include "paint/StatClass.h"
#include "paint/StatJoin.h"
#include "paint/StatTable.h"
#include "paint/StatXlsx.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>
#include <cmath>
#include <fstream>
#include <functional>
#include <set>
#include <tuple>
#include <zlib.h>

namespace {

const std::string kJapan = ROVANA_JAPAN_DATA;
const std::string kSample = kJapan + "/サンプル/住民基本台帳人口_2021.csv";

std::vector<int> AllAreas() {
    std::vector<int> a;
    for (int k = 1; k <= 52; ++k) a.push_back(k);
    return a;
}

const StatUnits& Country() {
    static const StatUnits u = LoadStatUnits(kJapan, AllAreas(), 0);
    return u;
}

StatTable Parse(const std::string& utf8) {
    StatTable t;
    std::string error;
    EXPECT_TRUE(ParseStatTable(gui::Utf8ToCp932(utf8), t, error)) << error;
    return t;
}

// The unit a joined row colours, by its code ("" when not joined or a city).
std::string CodeOf(const StatJoin& j, size_t row) {
    const int t = j.rows[row].target;
    return t >= 0 ? Country().units[t].code : t == StatJoin::kNone ? "" : Country().cities[-t - 1].code;
}

StatJoinSpec CodeSpec() {
    StatJoinSpec s;
    s.codeCol = 0, s.valueCol = 1;
    return s;
}

} // namespace

TEST(StatJoinReal, TheSampleJoinsEveryMunicipalityByCodeAndByNameAndListsTheRest) {
    StatTable t;
    std::string error;
    ASSERT_TRUE(ReadStatTable(kSample, t, error)) << error;
    EXPECT_FALSE(t.utf8);
    StatJoinSpec spec = ProposeStatColumns(t, 0);
    EXPECT_EQ(spec.codeCol, 0);
    EXPECT_EQ(spec.prefCol, 1);
    EXPECT_EQ(spec.nameCol, 2);
    EXPECT_EQ(spec.valueCol, 3);   // 人口（男）: the first numeric column after them
    spec.valueCol = 5;             // 人口

    const StatJoin byCode = JoinStatTable(t, spec, Country());
    EXPECT_EQ(byCode.joined, 1922);
    EXPECT_EQ(byCode.valueHeading, "人口");
    // Everything else is a total, a prefecture, a county or the islands' subtotal.
    std::set<std::string> reasons;
    for (const auto& r : byCode.rows)
        if (!r.Joined()) reasons.insert(r.reason);
    EXPECT_EQ(byCode.rows.size() - 1922, 356u);
    EXPECT_EQ(reasons, std::set<std::string>{"合計・都道府県・郡などの集計行"});
    // Every fill unit has its own row; the cities' own rows are joined but stand back.
    EXPECT_EQ(byCode.values.size(), Country().units.size());

    StatJoinSpec names = spec;
    names.codeCol = -1;
    const StatJoin byName = JoinStatTable(t, names, Country());
    EXPECT_EQ(byName.joined, 1922);
    for (size_t i = 0; i < byCode.rows.size(); ++i)
        EXPECT_EQ(byName.rows[i].target, byCode.rows[i].target) << "line " << byCode.rows[i].line << t.Cell(byCode.rows[i].row, 2) << byName.rows[i].reason;

    const auto report = StatReportLines(t, spec, byCode);
    ASSERT_EQ(report.size(), 357u);
    EXPECT_EQ(report[1], "2,-,合計 -,合計・都道府県・郡などの集計行");
}

TEST(StatJoinReal, HardNamesDroppedZerosAndCitiesStandingForTheirWards) {
    const StatTable t = Parse(
        "コード,都道府県,市区町村名,値\n"
        ",北海道,雨竜郡秩父別町,1\n"      // a county in front of a town
        ",愛知県,蒲郡市,2\n"              // 郡 inside a city's own name
        ",奈良県,大和郡山市,3\n"
        ",福岡県,小郡市,4\n"
        ",神奈川県,相模原市南区,5\n"      // two 南区 in one prefecture
        ",神奈川県,横浜市南区,6\n"
        ",神奈川県,南区,7\n"
        ",高知県,高岡郡檮原町,8\n"        // the map writes 梼原町
        ",茨城県,龍ヶ崎市,9\n"            // the map writes 龍ケ崎市
        ",,府中市,10\n"                   // 東京 and 広島 without a prefecture
        ",大阪府,大阪市　北区,11\n");
    StatJoinSpec spec;
    spec.codeCol = -1, spec.nameCol = 2, spec.prefCol = 1, spec.valueCol = 3;
    const StatJoin j = JoinStatTable(t, spec, Country());
    const std::vector<std::string> want = {"014346", "232149", "292036", "402168", "141534", "141054",
                                           "",       "394050", "082082", "",       "271276"};
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(CodeOf(j, i), want[i]) << t.rows[i + 1][2];
    EXPECT_EQ(j.rows[6].reason, "候補が複数あります");
    EXPECT_EQ(j.rows[9].reason, "候補が複数あります");

    // Codes a spreadsheet took as numbers.
    const StatTable c = Parse("コード,値\n1100,100\n11029,5\n\"13101\",7\n０１１０３７,8\n");
    const StatJoin k = JoinStatTable(c, CodeSpec(), Country());
    EXPECT_EQ(k.joined, 4);
    // 北区 with its zero dropped, five digits without the check digit, full-width digits.
    const char* const codes[] = {"011002", "011029", "131016", "011037"};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(CodeOf(k, i), codes[i]) << c.rows[i + 1][0];
    const auto& u = Country();
    // The wards have rows of their own, so the city's total stands back.
    for (int w : u.cities[-u.byCode.at("011002") - 1].wards) {
        const double want = u.units[w].code == "011029" ? 5 : u.units[w].code == "011037" ? 8 : NAN;
        EXPECT_TRUE(k.unitValue[w] == want || (std::isnan(want) && std::isnan(k.unitValue[w]))) << u.units[w].name;
    }
}

TEST(StatTable, EncodingsSeparatorsAndNumbersAsSpreadsheetsWriteThem) {
    const std::string text = "名前\t値\n甲\t\"1,234\"\n乙\t△12\n丙\t１２．５\n丁\t…\n戊\tx\n己\t***\n庚\t-\n辛\t\n壬\t▲3\n癸\t人\n";
    StatTable a, b, c;
    std::string e;
    ASSERT_TRUE(ParseStatTable(gui::Utf8ToCp932(text), a, e)) << e;
    ASSERT_TRUE(ParseStatTable("\xEF\xBB\xBF" + text, b, e)) << e;
    ASSERT_TRUE(ParseStatTable(text, c, e)) << e;
    EXPECT_FALSE(a.utf8);
    EXPECT_TRUE(b.utf8);
    EXPECT_TRUE(c.utf8);
    EXPECT_EQ(a.rows, b.rows);
    EXPECT_EQ(a.rows, c.rows);
    EXPECT_EQ(a.separator, '\t');
    const double want[] = {1234, -12, 12.5};
    for (int r = 1; r <= 3; ++r) {
        bool noValue = true;
        EXPECT_EQ(ParseStatNumber(a.Cell(r, 1), noValue), want[r - 1]) << r;
    }
    for (int r = 4; r <= 8; ++r) {
        bool noValue = false;
        EXPECT_FALSE(ParseStatNumber(a.Cell(r, 1), noValue)) << r;
        EXPECT_TRUE(noValue) << a.Cell(r, 1);
    }
    bool noValue = true;
    EXPECT_EQ(ParseStatNumber(a.Cell(9, 1), noValue), -3.0);
    EXPECT_FALSE(ParseStatNumber(a.Cell(10, 1), noValue));
    EXPECT_FALSE(noValue);
}

TEST(StatTable, DamagedTablesAreRefusedWithTheLineAtFault) {
    StatTable t;
    std::string e;
    EXPECT_FALSE(ParseStatTable(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), t, e));
    EXPECT_NE(e.find("バイナリ"), std::string::npos);
    EXPECT_FALSE(ParseStatTable("a,b\n1,2\n" + std::string(10 << 20, 'x') + "\n", t, e));
    EXPECT_EQ(e.rfind("3 行目", 0), 0u) << e;
    std::string wide;
    for (int k = 0; k < 300; ++k) wide += "列" + std::to_string(k) + ",";
    EXPECT_FALSE(ParseStatTable(wide + "\n1\n", t, e));
    EXPECT_EQ(e.rfind("1 行目", 0), 0u) << e;
    EXPECT_FALSE(ParseStatTable("a,b\n1,2\n3,\"4\n5,6\n", t, e));
    EXPECT_EQ(e.rfind("3 行目の引用符", 0), 0u) << e;
    EXPECT_TRUE(t.rows.empty());
    // A value column of words is read, and the join says so.
    ASSERT_TRUE(ParseStatTable("コード,値\n011002,多い\n011011,少ない\n", t, e));
    const StatJoin j = JoinStatTable(t, CodeSpec(), Country());
    EXPECT_TRUE(j.textColumn);
    EXPECT_EQ(j.joined, 0);
    EXPECT_EQ(j.rows[0].reason, "値が数値ではありません");
}

// Natural breaks against an exhaustive search over every way to cut the
// sorted values, on the populations of Tokyo's 23 special wards in the
// published sample table (総務省, 住民基本台帳 2021-01-01).
TEST(StatClasses, NaturalBreaksAreTheBestCutsOfThePublishedWards) {
    StatTable t;
    std::string e;
    ASSERT_TRUE(ReadStatTable(kSample, t, e)) << e;
    std::vector<double> v;
    for (size_t r = 1; r < t.rows.size(); ++r)
        if (t.Cell(r, 0).rfind("131", 0) == 0) v.push_back(std::stod(t.Cell(r, 5)));
    ASSERT_EQ(v.size(), 23u);
    std::sort(v.begin(), v.end());
    const auto within = [&](size_t a, size_t b) {
        double m = 0, s = 0;
        for (size_t i = a; i < b; ++i) m += v[i];
        m /= double(b - a);
        for (size_t i = a; i < b; ++i) s += (v[i] - m) * (v[i] - m);
        return s;
    };
    double best = INFINITY;
    std::vector<size_t> bestCuts;
    const size_t n = v.size();
    for (size_t a = 1; a < n; ++a)
        for (size_t b = a + 1; b < n; ++b)
            for (size_t c = b + 1; c < n; ++c) {
                const double s = within(0, a) + within(a, b) + within(b, c) + within(c, n);
                if (s < best) best = s, bestCuts = {a, b, c};
            }
    EXPECT_EQ(JenksStarts(v, 4), bestCuts);
    const auto breaks = StatBreaks(v, StatMethod::Jenks, 4, {}, StatNumberFormat{});
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(breaks[k], v[bestCuts[k]]);
    // Every value lies in the class whose label holds it.
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(StatClassOf(v[i], breaks), int(std::upper_bound(bestCuts.begin(), bestCuts.end(), i) - bestCuts.begin()));
}

TEST(StatClasses, LabelsOpenEndsAndSlots) {
    const std::vector<double> v = {800, 1000, 4999, 20000, 50000, 51234};
    StatNumberFormat f;
    const auto b = StatBreaks(v, StatMethod::Manual, 4, {50000, 1000, 5000}, f);
    EXPECT_EQ(StatClassLabels(b, 800, 51234, f, false),
              (std::vector<std::string>{"800 ～ 999", "1,000 ～ 4,999", "5,000 ～ 49,999", "50,000 ～ 51,234"}));
    EXPECT_EQ(StatClassLabels(b, 800, 51234, f, true).front(), "1,000 未満");
    EXPECT_EQ(StatClassLabels(b, 800, 51234, f, true).back(), "50,000 以上");
    // An equal split at one decimal: every value falls where its label says.
    StatNumberFormat d{1, false};
    const auto e = StatBreaks({0.0, 1.0}, StatMethod::Equal, 3, {}, d);
    EXPECT_EQ(StatClassLabels(e, 0, 1, d, false), (std::vector<std::string>{"0.0 ～ 0.3", "0.4 ～ 0.6", "0.7 ～ 1.0"}));
    EXPECT_EQ(StatClassOf(0.35, e), 0);
    EXPECT_EQ(StatClassOf(0.4, e), 1);
    // Schemes: distinct colours in order, reversed on request; patterns from sparse to dense.
    ASSERT_GE(StatSchemes().size(), 8u);
    for (int s = 0; s < int(StatSchemes().size()); ++s) {
        const auto a = StatClassSlots(s, 7, false, StatStyle::Colour);
        const auto r = StatClassSlots(s, 7, true, StatStyle::Colour);
        std::set<TColor> seen;
        for (int i = 0; i < 7; ++i) {
            seen.insert(a[i].colour);
            EXPECT_EQ(r[i].colour, a[6 - i].colour);
        }
        EXPECT_EQ(seen.size(), 7u) << StatSchemes()[s].name;
    }
    const auto p = StatClassSlots(0, 3, false, StatStyle::Pattern);
    EXPECT_NE(p[0].pattern, 0);
    EXPECT_EQ(p[2].pattern, 0);
    EXPECT_EQ(p[2].colour, 0x000000);
}

namespace {

const std::string kBook = std::string(ROVANA_TEST_DATA) + "/tables/population.xlsx";

// A copy of a workbook with one part's bytes changed, as a damaged save leaves it;
// `method` 0 stores the parts as they are, as some programs save small books.
void CopyBook(const std::string& to, const std::function<void(const QString&, QByteArray&)>& change, int method = Z_DEFLATED) {
    QuaZip in(QString::fromStdString(kBook)), out(QString::fromStdString(to));
    ASSERT_TRUE(in.open(QuaZip::mdUnzip) && out.open(QuaZip::mdCreate));
    for (bool more = in.goToFirstFile(); more; more = in.goToNextFile()) {
        QuaZipFile f(&in);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        change(f.getActualFileName(), bytes);
        QuaZipFile w(&out);
        ASSERT_TRUE(w.open(QIODevice::WriteOnly, QuaZipNewInfo(f.getActualFileName()), nullptr, 0, method));
        w.write(bytes);
    }
}

} // namespace

TEST(StatXlsx, AWorkbookReadsAsTheCsvOfItsSpreadsheetAndADamagedOneIsRefusedWithTheRow) {
    StatTable book, csv, notes;
    std::string e;
    ASSERT_TRUE(ReadStatTable(std::string(ROVANA_TEST_DATA) + "/tables/population.csv", csv, e)) << e;
    // The second sheet: a merged title, codes as text and as numbers, readings left out of
    // the names, rich and inline strings, formulas' results, dates as text.
    ASSERT_TRUE(ReadStatTable(kBook, book, e, 1)) << e;
    EXPECT_EQ(book.lines, csv.lines);
    ASSERT_EQ(book.Width(), csv.Width());
    for (size_t r = 0; r < csv.rows.size(); ++r)
        for (size_t c = 0; c < csv.Width(); ++c) EXPECT_EQ(book.Cell(r, c), csv.Cell(r, c)) << r << "," << c;
    EXPECT_EQ(book.Cell(2, 2), "呉市");
    EXPECT_EQ(book.Cell(2, 7), "2021/1/1");
    std::vector<std::string> sheets;
    ASSERT_TRUE(ListXlsxSheets(kBook, sheets, e));
    EXPECT_EQ(sheets, (std::vector<std::string>{"説明", "人口"}));
    ASSERT_TRUE(ReadStatTable(kBook, notes, e, 0));
    EXPECT_EQ(notes.rows, (std::vector<std::vector<std::string>>{{"人口の表は次のシートです"}}));

    // Refused, each with the row where one is at fault, the table left empty.
    const std::string dir = testing::TempDir();
    const auto refused = [&](const std::string& path, int sheet = 1) {
        StatTable t;
        std::string why;
        EXPECT_FALSE(ReadStatTable(path, t, why, sheet)) << path;
        EXPECT_TRUE(t.rows.empty());
        return why;
    };
    const auto sheet2 = [](const QString& name) { return name == "xl/worksheets/sheet2.xml"; };
    CopyBook(dir + "/cut.xlsx", [&](const QString& n, QByteArray& b) {
        if (sheet2(n)) b.replace("<row r=\"6\">", "<row r=\"6\"><c");
    });
    EXPECT_EQ(refused(dir + "/cut.xlsx"), "6 行目でブックが壊れているため読めません");
    CopyBook(dir + "/value.xlsx", [&](const QString& n, QByteArray& b) {
        if (sheet2(n)) b.replace("<v>214592</v>", "<v>214592&/v>");
    });
    EXPECT_EQ(refused(dir + "/value.xlsx"), "4 行目でブックが壊れているため読めません");
    CopyBook(dir + "/strings.xlsx", [&](const QString& n, QByteArray& b) {
        if (n == "xl/sharedStrings.xml") b = b.left(b.indexOf("</si>") + 5) + "</sst>";
    });
    EXPECT_EQ(refused(dir + "/strings.xlsx").rfind("3 行目の文字列", 0), 0u);
    CopyBook(dir + "/long.xlsx", [&](const QString& n, QByteArray& b) {
        if (!sheet2(n)) return;
        QByteArray rows;
        for (int r = 1; r <= int(StatTable::ROW_MAX) + 2; ++r) rows += "<row r=\"" + QByteArray::number(r) + "\"><c><v>1</v></c></row>";
        b = b.left(b.indexOf("<sheetData>") + 11) + rows + b.mid(b.indexOf("</sheetData>"));
    });
    EXPECT_EQ(refused(dir + "/long.xlsx"), "100002 行目：行が多すぎます（100000 行まで）");
    const std::string whole = testsupport::ReadBytes(kBook);
    std::ofstream(dir + "/half.xlsx", std::ios::binary) << whole.substr(0, whole.size() / 2);
    EXPECT_EQ(refused(dir + "/half.xlsx"), "ブックが壊れているため読めません");
    // The sheet's bytes no longer match the checksum the workbook keeps for them, or
    // its size: changed in the directory and before the part, so that the two agree.
    const std::string part = "xl/worksheets/sheet2.xml";
    const auto flip = [&](size_t central, size_t local) {
        std::string book = whole;
        for (const auto& [head, name, field] : {std::tuple("PK\x01\x02", 46, central), std::tuple("PK\x03\x04", 30, local)})
            for (size_t at = book.find(head); at != std::string::npos; at = book.find(head, at + 4))
                if (book.compare(at + size_t(name), part.size(), part) == 0) book[at + field] = char(book[at + field] ^ 0x55);
        return book;
    };
    std::ofstream(dir + "/crc.xlsx", std::ios::binary) << flip(16, 14);
    EXPECT_NE(refused(dir + "/crc.xlsx").find("ブックが壊れているため読めません"), std::string::npos);
    std::ofstream(dir + "/size.xlsx", std::ios::binary) << flip(24, 22);
    EXPECT_EQ(refused(dir + "/size.xlsx"), "ブックが壊れているため読めません");
    // Parts stored as they are read the same.
    StatTable stored;
    CopyBook(dir + "/stored.xlsx", [](const QString&, QByteArray&) {}, 0);
    ASSERT_TRUE(ReadStatTable(dir + "/stored.xlsx", stored, e, 1)) << e;
    EXPECT_EQ(stored.rows, book.rows);
    std::ofstream(dir + "/locked.xlsx", std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(600, '\0');
    EXPECT_NE(refused(dir + "/locked.xlsx").find("パスワード"), std::string::npos);
    std::ofstream(dir + "/old.xls", std::ios::binary) << std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) << std::string(600, '\0');
    EXPECT_NE(refused(dir + "/old.xls").find(".xlsx か CSV の形式で保存し直してください"), std::string::npos);
    EXPECT_EQ(refused(kBook, 2), "ブックにそのシートがありません");
}
