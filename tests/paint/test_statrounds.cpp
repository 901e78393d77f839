// Seeded rounds of strange input for the statistics table: numbers as cells
// write them, separators right and wrong, encodings, class counts and breaks.
// Small enough to run under the sanitizers on every build.
#include "gui/TextFile.h"
#include "paint/StatClass.h"
#include "paint/StatTable.h"
#include "tests/paint/LabelNumbers.h"
#include <gtest/gtest.h>
#include <cmath>
#include <random>

namespace {

std::string Grouped(const std::string& digits) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string FullWidth(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += c >= '0' && c <= '9' ? gui::Format("\xEF\xBC%c", char(0x90 + c - '0')) : std::string(1, c);
    return out;
}


} // namespace

TEST(StatRounds, NumbersAndSeparators) {
    std::mt19937_64 rng(20261208);
    int valid = 0, badGroups = 0, tooLarge = 0;
    for (int round = 0; round < 3000; ++round) {
        // A whole part of 1 to 16 digits (16 only below 10^15) and up to 4 decimals.
        std::string whole = std::to_string(rng() % 9 + 1);
        const int len = int(rng() % 17);
        for (int k = 0; k < len; ++k) whole += char('0' + rng() % 10);
        const std::string decimals = rng() % 2 ? "" : "." + std::to_string(rng() % 10000);
        const bool negative = rng() % 3 == 0;
        const double want = (negative ? -1 : 1) * std::strtod((whole + decimals).c_str(), nullptr);
        std::string cell = (rng() % 2 ? Grouped(whole) : whole) + decimals;
        if (negative) cell = (rng() % 2 ? "-" : "△") + cell;
        if (rng() % 4 == 0) cell = FullWidth(cell);
        if (rng() % 4 == 0) cell = " " + cell + "　";
        bool noValue = true;
        std::string why;
        const auto v = ParseStatNumber(cell, noValue, &why);
        ASSERT_FALSE(noValue) << cell;
        ASSERT_EQ(bool(v), std::fabs(want) <= kStatValueMax) << cell << " " << why;
        if (v) {
            EXPECT_EQ(*v, want) << cell;
            ++valid;
        } else {
            ++tooLarge;
        }

        // A separator anywhere but between groups of three: no value, with the reason.
        if (whole.size() >= 2) {
            std::string bad = Grouped(whole);
            const size_t at = 1 + rng() % (bad.size() - 1);
            if (bad[at] == ',') bad.erase(at, 1);
            else if (bad[at - 1] != ',') bad.insert(at, ",");
            else continue;
            if (bad == Grouped(whole) || bad.find(',') == std::string::npos) continue;
            const auto b = ParseStatNumber(bad + decimals, noValue, &why);
            ASSERT_FALSE(b) << bad << decimals << " read as " << *b;
            EXPECT_NE(why.find("3桁"), std::string::npos) << bad;
            ++badGroups;
        }
    }
    // The forms the last round of hardening found, and numbers past the bound.
    for (const char* bad : {"1,2,3", "12,3456", "106,1.5", "162,151 0.11", "1,234.5,6", ",123", "123,", "1e400", "nan",
                            "inf", "1e16", "-2e200", "9,999,999,999,999,999"}) {
        bool noValue = false;
        EXPECT_FALSE(ParseStatNumber(bad, noValue)) << bad;
    }
    RecordProperty("inputs", valid + badGroups + tooLarge + 13);
    EXPECT_GT(badGroups, 2000);
    EXPECT_GT(tooLarge, 50);
}

TEST(StatRounds, EncodingsAreReadOrRefusedWithTheLine) {
    std::mt19937 rng(38);
    const char* const cells[] = {"札幌市", "ﾆｾｺ町", "値", "1,234", "x", "\"a,b\"", "人口（人）", "△5"};
    int read = 0, refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::string utf8;
        const int lines = 2 + int(rng() % 8);
        for (int l = 0; l < lines; ++l) {
            for (int c = 0; c < 3; ++c) utf8 += std::string(c ? "," : "") + cells[rng() % 8];
            utf8 += rng() % 2 ? "\r\n" : "\n";
        }
        StatTable a, b;
        std::string e;
        // With a BOM, as UTF-8; the same table in Shift-JIS reads the same cells.
        ASSERT_TRUE(ParseStatTable("\xEF\xBB\xBF" + utf8, a, e)) << e;
        ASSERT_TRUE(ParseStatTable(gui::Utf8ToCp932(utf8), b, e)) << e;
        EXPECT_TRUE(a.utf8);
        EXPECT_EQ(a.rows, b.rows);
        ++read;
        // One byte that is no UTF-8 after the BOM: refused at its line, the table left empty.
        const int line = 1 + int(rng() % lines);
        size_t at = 0;
        for (int l = 1; l < line; ++l) at = utf8.find('\n', at) + 1;
        std::string bad = utf8;
        bad.insert(at, std::string(1, char(0x80 + rng() % 0x40)));
        StatTable c;
        EXPECT_FALSE(ParseStatTable("\xEF\xBB\xBF" + bad, c, e));
        EXPECT_EQ(e, gui::Format("%d 行目に UTF-8 として読めないバイトがあります", line));
        EXPECT_TRUE(c.rows.empty());
        ++refused;
        // Without a BOM any bytes at all are read as Shift-JIS or refused, never taken apart.
        std::string noise;
        for (int k = 0; k < 200; ++k) noise += char(1 + rng() % 255);
        StatTable d;
        if (ParseStatTable(noise, d, e)) {
            EXPECT_FALSE(d.rows.empty());
        }
    }
    RecordProperty("inputs", read * 2 + refused + 400);
}

TEST(StatRounds, ClassCountsMethodsAndManualBreaks) {
    std::mt19937_64 rng(40);
    const StatMethod methods[4] = {StatMethod::Equal, StatMethod::Quantile, StatMethod::Jenks, StatMethod::StdDev};
    std::uniform_real_distribution<double> unit(0, 1);
    for (int round = 0; round < 600; ++round) {
        // Values of one scale, sometimes with ties, negatives or the largest that enter.
        const double scale = std::pow(10.0, double(rng() % 16) - 3);
        std::vector<double> v(size_t(5 + rng() % 60));
        for (double& x : v) {
            x = std::round((rng() % 5 == 0 ? -1 : 1) * unit(rng) * scale * 100) / 100;
            if (rng() % 7 == 0) x = v[0];
        }
        if (rng() % 10 == 0) v.back() = rng() % 2 ? kStatValueMax : -kStatValueMax;
        const int count = 2 + int(rng() % 6);
        const StatMethod m = methods[rng() % 4];
        const int d = StatDecimalsNeeded(v, m, count, {});
        const StatNumberFormat f{d, rng() % 2 == 0};
        const auto b = StatBreaks(v, m, count, {}, f);
        ASSERT_EQ(int(b.size()), count - 1);
        for (size_t i = 0; i < b.size(); ++i) {
            ASSERT_TRUE(std::isfinite(b[i]));
            if (i) {
                ASSERT_LT(b[i - 1], b[i]) << "round " << round;
            }
        }
        const auto labels = StatClassLabels(b, v, f, false);
        ASSERT_EQ(int(labels.size()), count);
        for (const std::string& l : labels) EXPECT_LE(gui::Utf8ToCp932(l).size(), 99u) << l;
        // Every value lies inside the label of its class.
        for (double x : v) {
            const std::string& l = labels[size_t(StatClassOf(x, b))];
            const auto n = LabelNumbers(l);
            ASSERT_EQ(n.size(), 2u) << l;
            const double slack = f.Step() * 1e-6 + std::fabs(x) * 1e-15;
            if (l.find("未満") != std::string::npos) {
                EXPECT_TRUE(n[0] - slack <= x && x < n[1]) << x << " in " << l;
            } else {
                EXPECT_TRUE(n[0] - slack <= x && x <= n[1] + slack) << x << " in " << l << " round " << round;
            }
        }
    }
    // Breaks typed as the legend writes them, with any of the separators people use.
    // (A bare comma before three digits is a thousands separator, as in the legend.)
    const char* const seps[] = {", ", "、", " ", "; ", "， "};
    int manual = 0;
    for (int round = 0; round < 800; ++round) {
        std::vector<double> want;
        std::string text;
        const int n = 1 + int(rng() % 6);
        const bool plain = rng() % 2;
        for (int k = 0; k < n; ++k) {
            const long long x = (long long)(rng() % 10000000);
            want.push_back(double(x));
            text += (k ? seps[rng() % 5] : "") + (plain ? std::to_string(x) : Grouped(std::to_string(x)));
        }
        std::vector<double> got;
        std::string error;
        ASSERT_TRUE(StatParseBreaks(text, got, error)) << text << " " << error;
        EXPECT_EQ(got, want) << text;
        // A word among them is named in the refusal.
        const std::string bad = text + "、約" + std::to_string(round);
        EXPECT_FALSE(StatParseBreaks(bad, got, error));
        EXPECT_NE(error.find("約"), std::string::npos) << error;
        manual += 2;
    }
    RecordProperty("inputs", 600 + manual);
}
