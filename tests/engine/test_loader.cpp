#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Uken.h"
#include "engine/FieldScanner.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/engine/AreaFiles.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <random>
#include <set>
#include <vector>

namespace {

using areafiles::Square;
using areafiles::WriteMap;
using areafiles::WriteOffice;
using areafiles::WriteText;

// A polyline of n points (x0 + i, y0 + i), five pairs a line.
std::string Poly(char letter, int n, int x0, int y0) {
    std::string s = gui::Format("%c,9,%d\n", letter, n);
    for (int i = 0; i < n; i++) s += gui::Format(i % 5 == 4 || i == n - 1 ? "%d,%d\n" : "%d,%d,", x0 + i, y0 + i);
    return s;
}

std::vector<int32_t> Used(const PolylineStore& s) { return {s.Words.begin(), s.Words.begin() + s.Fill + 1}; }

std::vector<PolylineStore*> AllStores() {
    return {&Open->doc.CoastLine,  &Open->doc.PrefLine,  &Open->doc.NewPrefLine,      &Open->doc.OldPrefLine,
            &Open->doc.TownLine,   &Open->doc.NTownLine, &Open->doc.OTownLine,        &Open->doc.LakeLine,
            &Open->doc.HokkaidoLakeLine, &Open->doc.LakeBorderLine, &Open->doc.LakePrefLine, &Open->doc.KuLine};
}

class Loader : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    bool Load(std::vector<int32_t> codes) { return Open->ReadMapData(int(codes.size()), codes.data()); }
    void Map(int code, const std::string& text, bool withOffice = true) {
        WriteMap(programDir, code, text);
        if (withOffice && code != 52) WriteOffice(programDir, code, "");
    }
};

// How the lines of a map file become the words of its polylines.
TEST_F(Loader, MapLinesBecomeThePolylinesWritten) {
    const std::string longName = [] {
        std::string n;
        for (int i = 0; i < 80; i++) n += "長";
        return n;
    }();
    struct Case {
        const char* what;
        std::string text;
        std::vector<int32_t> words;
        int32_t maxXAbove = INT32_MIN;
        std::string town = {};
    } cases[] = {
        {"point lines follow the number of points; one without points is dropped",
         "C,1,0\n"
         "C,2,5\n1,2,3,4,5,6,7,8,9,10\n"
         "C,3,6\n11,12,13,14,15,16,17,18,19,20\n21,22\n"
         "C,4,1\n30,40\n",
         {5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 6, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 1, 30, 40, -999}},
        {"fields are cut and read as the splitter and atoi do", "C 2\t5\n10 20,30,-40\t50,60x,-,+7,,9\n",
         {5, 10, 20, 30, -40, 50, 60, 0, 7, 0, 9, -999}},
        // A Z line's third field is no point count: the line after it stays a header.
        {"Z lines and empty lines are skipped", "Z,1,3\nC,3,1\n5,6\n\nZoo,2,1\n\t \nC,4,1\n7,8\n",
         {1, 5, 6, 1, 7, 8, -999}},
        // Too long, a short point line, no points: each dropped without losing
        // the place; the long one is still read, so its last point widens the extent.
        {"malformed polylines are dropped",
         Poly('C', 1001, 400000, 1) + "C,2,6\n1,2,3,4,5,6,7,8,9,10\n11\n" + "C,3,-4\n" + Poly('C', 2, 50, 60),
         {2, 50, 60, 51, 61, -999}, 401000},
        {"a long line is read whole", "A,1,2," + longName + "\n" + Poly('C', 1, 3, 4), {1, 3, 4, -999}, INT32_MIN,
         longName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        gui::testing::Messages().clear();
        Map(1, c.text);
        ASSERT_TRUE(Load({1}));
        EXPECT_EQ(Used(Open->doc.CoastLine), c.words);
        EXPECT_TRUE(gui::testing::Messages().empty());
        EXPECT_GT(Open->MaxX, c.maxXAbove);
        if (!c.town.empty()) {
            EXPECT_EQ(Open->doc.TownName[0], c.town);
        }
    }
}

TEST_F(Loader, EveryPointReadWidensTheExtentButNamesAndOfficesDoNot) {
    Open->ui.Hokkaido->SetChecked(false);
    // Points span x 100000..110000 and y 200000..205000: the margin is
    // 300 x 1.0 on every side.
    Map(47, "C,1,2\n100000,200000,101000,201000\n"
            "T,2,1\n110000,201000\n"      // refused: Hokkaido layers are off
            "D,3,1\n105000,205000\n"      // an unknown letter: dropped
            "A,50000,50000,遠い町\n");
    WriteOffice(programDir, 47, "◎,1,1,役場,8\n");
    ASSERT_TRUE(Load({47}));
    EXPECT_EQ(Open->doc.TownLine.Fill, 0);
    EXPECT_EQ(Open->doc.CoastLine.Fill, 5);
    EXPECT_EQ(Open->MinX, 99700);
    EXPECT_EQ(Open->MaxX, 110300);
    EXPECT_EQ(Open->MinY, 199700);
    EXPECT_EQ(Open->MaxY, 205300);
    EXPECT_EQ(Open->doc.OfficeCount, 1);
    EXPECT_EQ(Open->doc.TownCount, 1);
}

TEST_F(Loader, DuplicateNamesAreMarkedOnlyWithinOneFile) {
    Map(1, "A,1,1,東町\nA,2,2,西村\nA,3,3,東町\nX,4,4,東町\nB,5,5,西村\nB,6,6,西村\n");
    Map(2, "A,7,7,東町\nA,8,8,東町\n");
    ASSERT_TRUE(Load({1, 2}));
    ASSERT_EQ(Open->doc.TownCount, 5);
    EXPECT_EQ(std::string(Open->doc.TownDup.begin(), Open->doc.TownDup.begin() + 5), "ssdsd");
    EXPECT_EQ(Open->doc.TownName[4], "東町");
    EXPECT_EQ(Open->doc.TownX[3], 7);
    ASSERT_EQ(Open->doc.OldTownCount, 1);
    EXPECT_EQ(Open->doc.OldTownDup[0], 's');
    ASSERT_EQ(Open->doc.NewTownCount, 2);
    EXPECT_EQ(Open->doc.NewTownDup[0], 's');
    EXPECT_EQ(Open->doc.NewTownDup[1], 'd');
}

TEST_F(Loader, ManyNamesInOneFileAreMarkedAsFewAre) {
    // More names than a small table holds, each of 700 distinct names three times
    // in a shuffled order, then the same names in a second file.
    std::mt19937 rng(5);
    std::vector<int> order;
    for (int r = 0; r < 3; r++)
        for (int i = 0; i < 700; i++) order.push_back(i);
    std::shuffle(order.begin(), order.end(), rng);
    std::string text;
    for (int i : order) text += gui::Format("A,%d,1,町%d\n", i, i);
    Map(1, text);
    Map(2, text);
    ASSERT_TRUE(Load({1, 2}));
    ASSERT_EQ(Open->doc.TownCount, 4200);
    for (int file = 0; file < 2; file++) {
        std::vector<bool> seen(700);
        for (int k = 0; k < 2100; k++) {
            const int at = file * 2100 + k;
            ASSERT_EQ(Open->doc.TownDup[at], seen[order[k]] ? 'd' : 's') << at;
            seen[order[k]] = true;
        }
    }
}

TEST_F(Loader, OfficeFilesAreNeededForEveryAreaButTheNorthernIslands) {
    Map(52, Square('C', 100, 100, 10), false);
    Map(1, Square('C', 200, 200, 10));
    WriteOffice(programDir, 1, "◎,5,6,青森市役所,8\n\n◎,7,8,弘前市役所,9\n");
    ASSERT_TRUE(Load({1, 52}));
    ASSERT_EQ(Open->doc.OfficeCount, 2);
    EXPECT_STREQ(Open->doc.OfficeRecords[1].name, "弘前市役所");
    EXPECT_EQ(Open->doc.OfficeRecords[1].x, 7);
    EXPECT_EQ(Open->doc.OfficeRecords[1].size, 9);

    // Without its office file an area does not load, and the stores stay
    // closed at what was read.
    Map(2, Square('P', 300, 300, 10), false);
    EXPECT_FALSE(Load({1, 2}));
    EXPECT_EQ(Open->doc.OfficeCount, 2);
    EXPECT_EQ(Open->doc.PrefLine.Fill, 11);
    EXPECT_EQ(Open->doc.PrefLine.Words[11], -999);
    EXPECT_EQ(Open->doc.CoastLine.Words[Open->doc.CoastLine.Fill], -999);
    // A missing map file as well.
    EXPECT_FALSE(Load({3}));
    EXPECT_EQ(Open->doc.OfficeCount, 0);
    EXPECT_EQ(Open->doc.CoastLine.Fill, 0);
    EXPECT_EQ(Open->doc.CoastLine.Words[0], -999);
    EXPECT_TRUE(gui::testing::Messages().empty());
}

TEST_F(Loader, TheHokkaidoMenuDecidesTheInnerLayersOfAreas47To49) {
    const std::string all = Poly('C', 1, 1, 1) + Poly('P', 1, 1, 1) + Poly('S', 1, 1, 1) + Poly('T', 1, 1, 1) +
                            Poly('N', 1, 1, 1) + Poly('O', 1, 1, 1) + Poly('L', 1, 1, 1) + Poly('Q', 1, 1, 1) +
                            Poly('K', 1, 1, 1);
    for (int code : {47, 48, 49, 52}) Map(code, all);
    auto fills = [] {
        std::vector<int32_t> f;
        for (PolylineStore* s : {&Open->doc.CoastLine, &Open->doc.PrefLine, &Open->doc.HokkaidoLakeLine, &Open->doc.TownLine,
                                 &Open->doc.NTownLine, &Open->doc.OTownLine, &Open->doc.LakeBorderLine, &Open->doc.LakePrefLine,
                                 &Open->doc.KuLine})
            f.push_back(s->Fill / 3);
        return f;
    };
    ASSERT_TRUE(Open->ui.Hokkaido->Checked());
    ASSERT_TRUE(Load({47, 48, 49, 52}));
    EXPECT_EQ(fills(), (std::vector<int32_t>{4, 4, 4, 4, 4, 4, 4, 4, 4}));
    Open->ui.Hokkaido->SetChecked(false);
    EXPECT_FALSE(Open->IsPrefLayerLoadable(48));
    EXPECT_TRUE(Open->IsPrefLayerLoadable(52));
    ASSERT_TRUE(Load({47, 48, 49, 52}));
    EXPECT_EQ(fills(), (std::vector<int32_t>{4, 4, 4, 1, 1, 1, 1, 1, 1}));
}

TEST_F(Loader, WLinesAreSubPrefectureBordersInHokkaidoAndLakesElsewhere) {
    Map(47, Poly('W', 2, 10, 10));
    Map(13, Poly('W', 3, 20, 20));
    ASSERT_TRUE(Load({13, 47}));
    EXPECT_EQ(Used(Open->doc.LakeLine), (std::vector<int32_t>{3, 20, 20, 21, 21, 22, 22, -999}));
    EXPECT_EQ(Used(Open->doc.PrefLine), (std::vector<int32_t>{2, 10, 10, 11, 11, -999}));
    Open->doc.WLinesAsBorder = false;
    ASSERT_TRUE(Load({13, 47}));
    EXPECT_EQ(Open->doc.PrefLine.Fill, 0);
    EXPECT_EQ(Open->doc.LakeLine.Fill, 7);
}

TEST_F(Loader, WardLinesOfShizuokaWaitForTheOldBorderBox) {
    Map(18, Poly('K', 1, 5, 5));
    Map(19, Poly('K', 1, 6, 6));
    Open->ui.CBNTownBorder->SetChecked(true);
    ASSERT_TRUE(Load({18, 19}));
    EXPECT_EQ(Used(Open->doc.KuLine), (std::vector<int32_t>{1, 6, 6, -999}));
    Open->ui.CBNTownBorder->SetChecked(false);
    ASSERT_TRUE(Load({18, 19}));
    EXPECT_EQ(Open->doc.KuLine.Fill, 6);
}

TEST_F(Loader, EachLoadStartsAfreshAndClosesEveryStore) {
    Map(1, Poly('C', 3, 1, 1) + Poly('T', 2, 1, 1) + "A,1,1,町\n");
    Map(2, Poly('C', 1, 9, 9));
    ASSERT_TRUE(Load({1}));
    ASSERT_TRUE(Load({2}));
    for (PolylineStore* s : AllStores()) {
        SCOPED_TRACE(s->CapacityName);
        EXPECT_EQ(s->Words[s->Fill], -999);
        EXPECT_FALSE(s->Overflowed);
    }
    EXPECT_EQ(Used(Open->doc.CoastLine), (std::vector<int32_t>{1, 9, 9, -999}));
    EXPECT_EQ(Open->doc.TownLine.Words[0], -999);
    EXPECT_EQ(Open->doc.TownCount, 0);
}

TEST_F(Loader, AFullStoreRefusesThePolylineThatWouldOverflowIt) {
    // 197 + 3 words fill the 200 words of LAKE_PREF_LINE exactly.
    Map(1, Poly('Q', 98, 1, 1) + Poly('Q', 1, 5, 6) + Poly('Q', 1, 7, 7) + Poly('C', 1, 8, 8));
    ASSERT_TRUE(Load({1}));
    EXPECT_EQ(Open->doc.LakePrefLine.Fill, LAKE_PREF_LINE);
    EXPECT_EQ(Open->doc.LakePrefLine.Words[LAKE_PREF_LINE], -999);
    EXPECT_EQ(Open->doc.LakePrefLine.Words[199], 6);
    areafiles::ExpectOnlyMessage("湖水県境界線データが多すぎます", "データエラー", MB_OK);
    // Not a store tested again: reading went on and the program goes on.
    EXPECT_EQ(Used(Open->doc.CoastLine), (std::vector<int32_t>{1, 8, 8, -999}));
    EXPECT_FALSE(gui::testing::Terminated());
}

TEST_F(Loader, AnOverflowOfATestedStoreEndsTheProgramAfterTheLoad) {
    Map(1, Poly('R', 500, 1, 1) + Poly('R', 500, 1, 1) + Poly('C', 1, 8, 8));
    ASSERT_TRUE(Load({1}));
    EXPECT_EQ(Open->doc.OldPrefLine.Fill, 1001);
    EXPECT_EQ(Open->doc.OldPrefLine.Words[1001], -999);
    EXPECT_EQ(Open->doc.CoastLine.Fill, 3);
    const auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "旧都府県界線データが多すぎます");
    EXPECT_EQ(m[1].text, "OLD_PREF_LINEを超過しました　　　　");
    EXPECT_EQ(m[1].caption, "データ個数オーバー");
    EXPECT_EQ(m[1].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(gui::testing::Terminated());
}

TEST_F(Loader, APolylineOfTheMostPointsIsKeptWhole) {
    Map(1, Poly('C', POLYLINE_POINTS_MAX, 7000, 9000));
    ASSERT_TRUE(Load({1}));
    ASSERT_EQ(Open->doc.CoastLine.Fill, 2 * POLYLINE_POINTS_MAX + 1);
    const int32_t* w = Open->doc.CoastLine.Words.data();
    EXPECT_EQ(w[0], POLYLINE_POINTS_MAX);
    EXPECT_EQ(w[1], 7000);
    EXPECT_EQ(w[2 * POLYLINE_POINTS_MAX - 1], 7000 + POLYLINE_POINTS_MAX - 1);
    EXPECT_EQ(w[2 * POLYLINE_POINTS_MAX], 9000 + POLYLINE_POINTS_MAX - 1);
}

TEST_F(Loader, OfficeMarkAndNameAreCutAtACharacterBoundary) {
    std::string kanji20, kanji15;
    for (int i = 0; i < 20; i++) kanji20 += "村";
    for (int i = 0; i < 15; i++) kanji15 += "村";
    Map(1, Poly('C', 1, 1, 1), false);
    WriteOffice(programDir, 1,
                "◎◎◎◎◎," "10,20," + kanji20 + ",8\n"
                "ab,30,40,ｱ" + kanji15 + ",9\n");   // 31 bytes: kept whole
    Map(2, Poly('C', 1, 1, 1), false);
    WriteOffice(programDir, 2, "○,50,60,町役場,10\n");
    ASSERT_TRUE(Load({1, 2}));
    ASSERT_EQ(Open->doc.OfficeCount, 3);
    const OfficeRecord* r = Open->doc.OfficeRecords.data();
    EXPECT_STREQ(r[0].mark, "◎◎◎");
    EXPECT_EQ(std::string(r[0].name), kanji15);
    EXPECT_EQ(r[0].x, 10);
    EXPECT_EQ(r[0].y, 20);
    EXPECT_EQ(r[0].size, 8);
    EXPECT_EQ(std::string(r[1].name), "ｱ" + kanji15);
    EXPECT_STREQ(r[2].mark, "○");
    EXPECT_EQ(r[2].size, 10);
}

TEST(FieldScanning, GivesTheFieldsAndNumbersOfTheSplitterAndAtoi) {
    std::mt19937 rng(12);
    // Mostly digits in the second half, so that long runs of them occur.
    const std::string mixed = "0123456789-+ ,\t\nx\r", digits = "01234567890123456789012345678,-";
    std::uniform_int_distribution<int> len(0, 40);
    std::vector<std::string> fields;
    for (int t = 0; t < 40000; t++) {
        const std::string& alphabet = t % 2 ? digits : mixed;
        std::uniform_int_distribution<int> pick(0, int(alphabet.size()));
        std::string line;
        for (int n = len(rng); n > 0; n--) {
            int k = pick(rng);
            line += k == int(alphabet.size()) ? '\0' : alphabet[k];
        }
        TMyStr::SplitFields(line, fields);
        FieldScanner a(line), b(line);
        std::vector<std::string> got;
        std::vector<int> nums;
        std::string_view f;
        while (a.Next(f)) got.emplace_back(f);
        int32_t v;
        while (b.NextInt(v)) nums.push_back(v);
        int32_t whole[64];
        const int max = int(t % 12);
        const int n = FieldScanner::ReadInts(line, whole, max);
        ASSERT_EQ(n, std::min<int>(max, int(fields.size()))) << testing::PrintToString(line);
        ASSERT_EQ(got, fields) << testing::PrintToString(line);
        ASSERT_EQ(nums.size(), fields.size()) << testing::PrintToString(line);
        for (size_t i = 0; i < fields.size(); i++) {
            ASSERT_EQ(nums[i], int(std::clamp<long>(std::strtol(fields[i].c_str(), nullptr, 10), INT32_MIN, INT32_MAX)))
                << testing::PrintToString(line);
            if (int(i) < n) {
                ASSERT_EQ(whole[i], nums[i]) << testing::PrintToString(line);
            }
        }
    }
}

// The one-pass reading of a line in place: the same numbers as ReadInts of
// the cut line, or -1 to leave it to ReadInts; never a different answer.
TEST(FieldScanning, LinesReadInPlaceMatchTheCutLine) {
    std::mt19937 rng(7);
    const std::string digits = "0123456789012345678901234567890123456789,,,,,,-", odd = "0123456789,-+ \t\rx";
    std::vector<char> store(FieldScanner::kSlack + 300 + FieldScanner::kSlack);
    char* const text = store.data() + FieldScanner::kSlack;
    int inPlace = 0;
    for (int t = 0; t < 60000; t++) {
        std::string line;
        // Up to five pairs of six digits, or of five and six; now and then one changed.
        const int pairs = t % 4 == 0 ? int(1 + rng() % 5) : 5;
        if (t % 3 == 0) {
            const bool shortX = t % 2;
            for (int i = 0; i < 2 * pairs; i++)
                line += gui::Format(i ? ",%0*d" : "%0*d", shortX && i % 2 == 0 ? 5 : 6, int(rng() % 1000000));
            if (t % 7 == 0) line[rng() % line.size()] = "-,05x"[rng() % 5];
        } else {
            const std::string& alphabet = t % 3 == 1 ? digits : odd;
            for (int n = int(rng() % 140); n > 0; n--) line += alphabet[rng() % alphabet.size()];
        }
        // What the buffer holds: the line, its end, whatever follows; the
        // bytes around it are noise.
        for (char& c : store) c = char("0123456789,-\n\r"[rng() % 14]);
        const bool cr = rng() % 2, ends = rng() % 8 != 0;
        std::string held = line + (cr ? "\r" : "") + (ends ? "\n" : "");
        if (ends) held += "12,34\n";
        memcpy(text, held.data(), held.size());
        int32_t got[12], want[12];
        const int max = t % 2 ? 2 * pairs : int(rng() % 12);
        size_t used = 0;
        const int n = FieldScanner::ReadLineInts(std::string_view(text, held.size()), got, max, used);
        if (n < 0) continue;
        inPlace++;
        // A line in place is one that ends: a CR in it can only be its last byte.
        ASSERT_TRUE(ends) << line;
        // As the reader cuts it: one CR before the LF goes.
        std::string_view cut(held.data(), line.size() + cr);
        if (!cut.empty() && cut.back() == '\r') cut.remove_suffix(1);
        const int m = FieldScanner::ReadInts(cut, want, max);
        ASSERT_EQ(used, line.size() + cr + 1) << line;
        ASSERT_EQ(n, m) << line;
        for (int i = 0; i < n; i++) ASSERT_EQ(got[i], want[i]) << line << " field " << i;
    }
    EXPECT_GT(inPlace, 15000);
}

// Point lines that cross the reader's buffer, a polyline that ends the file
// without a newline, LF and CR LF lines mixed: the points read are the ones
// written.
TEST_F(Loader, PointsAcrossTheReadBufferAndAtTheEndOfTheFile) {
    std::mt19937 rng(3);
    std::string text;
    std::vector<int32_t> words;
    for (int k = 0; text.size() < 200000; k++) {
        const int n = 1 + int(rng() % 23);
        text += gui::Format("C,%d,%d\r\n", k, n);
        words.push_back(n);
        for (int i = 0; i < n; i++) {
            // Mostly six digits, some shorter or negative, as the files hold.
            const int32_t x = rng() % 5 ? 100000 + int32_t(rng() % 900000) : int32_t(rng() % 2000) - 1000;
            const int32_t y = rng() % 5 ? 100000 + int32_t(rng() % 900000) : int32_t(rng() % 99999);
            words.push_back(x);
            words.push_back(y);
            text += gui::Format("%d,%d", x, y);
            text += i % 5 == 4 || i == n - 1 ? (k % 3 ? "\r\n" : "\n") : ",";
        }
    }
    text.pop_back();   // the last line without its LF: a lone CR ends it
    Map(1, text);
    ASSERT_TRUE(Load({1}));
    words.push_back(-999);
    EXPECT_EQ(Used(Open->doc.CoastLine), words);
    text.pop_back();   // and without any line end
    Map(1, text);
    ASSERT_TRUE(Load({1}));
    EXPECT_EQ(Used(Open->doc.CoastLine), words);
}

class LoaderLists : public Loader {};

TEST_F(LoaderLists, CityAndDuplicateNameListsAreReadFieldByField) {
    WriteText(programDir / "MAPDATA/CITYLIST.TXT", "札幌市,190913,285048,47,0\n\n仙台市 187528 214254 3 2\n");
    WriteText(programDir / "MAPDATA/EXTRA.TXT", "3,青葉区,仙台市,186563,215120,A\n10,西区,さいたま市,175767,178687,XY\n");
    Open->LoadCityList();
    Open->LoadExtraList();
    ASSERT_EQ(Open->doc.CityCount, 2);
    EXPECT_EQ(Open->doc.CityName[1], "仙台市");
    EXPECT_EQ(Open->doc.CityX[1], 187528);
    EXPECT_EQ(Open->doc.CityY[1], 214254);
    EXPECT_EQ(Open->doc.CityPref[1], 3);
    EXPECT_EQ(std::vector<int32_t>(Open->doc.CityFlag.begin(), Open->doc.CityFlag.begin() + 2), (std::vector<int32_t>{0, 1}));
    ASSERT_EQ(Open->doc.ExtraCount, 2);
    EXPECT_EQ(Open->doc.ExtraPref[1], 10);
    EXPECT_EQ(Open->doc.ExtraTownName[1], "西区");
    EXPECT_EQ(Open->doc.ExtraGroupName[1], "さいたま市");
    EXPECT_EQ(Open->doc.ExtraX[1], 175767);
    EXPECT_EQ(Open->doc.ExtraY[1], 178687);
    EXPECT_EQ(Open->doc.ExtraKind[0], 'A');
    EXPECT_EQ(Open->doc.ExtraKind[1], 'X');
    EXPECT_TRUE(gui::testing::Messages().empty());
}

TEST_F(LoaderLists, ListsStopAtTheirCapacities) {
    std::string cities, extras;
    for (int i = 0; i < CITY_MAX + 5; i++) cities += gui::Format("市%d,%d,2,3,0\n", i, i);
    for (int i = 0; i < EXTRA_MAX + 5; i++) extras += gui::Format("1,区%d,市,%d,2,A\n", i, i);
    WriteText(programDir / "MAPDATA/CITYLIST.TXT", cities);
    WriteText(programDir / "MAPDATA/EXTRA.TXT", extras);
    Open->LoadCityList();
    Open->LoadExtraList();
    EXPECT_EQ(Open->doc.CityCount, CITY_MAX);
    EXPECT_EQ(Open->doc.CityName[CITY_MAX - 1], gui::Format("市%d", CITY_MAX - 1));
    EXPECT_EQ(Open->doc.ExtraCount, EXTRA_MAX);
    EXPECT_EQ(Open->doc.ExtraX[EXTRA_MAX - 1], EXTRA_MAX - 1);
}

TEST_F(LoaderLists, AMissingDuplicateListIsReportedAndAMissingCityListIsNot) {
    std::filesystem::remove(programDir / "MAPDATA/CITYLIST.TXT");
    std::filesystem::remove(programDir / "MAPDATA/EXTRA.TXT");
    Open->doc.CityCount = 5;
    Open->LoadCityList();
    Open->LoadExtraList();
    EXPECT_EQ(Open->doc.CityCount, 0);
    EXPECT_EQ(Open->doc.ExtraCount, 0);
    areafiles::ExpectOnlyMessage("重複市町村名データファイル 'Extra.txt' が 'MapData'フォルダの中にありません",
                                 "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
}

// The country's data set: only its map folder is needed.
class JapanLoad : public FormsTest {
protected:
    void FillProgramFolder(const std::filesystem::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
};

TEST_F(JapanLoad, AllFiftyTwoAreasFitTheStores) {
    std::vector<int32_t> codes;
    for (int code = 1; code <= 52; code++) codes.push_back(code);
    ASSERT_TRUE(Open->ReadMapData(52, codes.data()));
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_FALSE(gui::testing::Terminated());
    for (PolylineStore* s : AllStores()) {
        std::cout << "  " << s->CapacityName << " " << s->Fill << " / " << s->Capacity << "\n";
        RecordProperty(s->CapacityName, s->Fill);
        EXPECT_LE(s->Fill, s->Capacity);
        EXPECT_EQ(s->Words[s->Fill], -999);
    }
    std::cout << "  names " << Open->doc.TownCount << " " << Open->doc.OldTownCount << " " << Open->doc.NewTownCount
              << ", offices " << Open->doc.OfficeCount << "\n";
    EXPECT_GT(Open->doc.CoastLine.Fill, 0);
    EXPECT_GT(Open->doc.TownLine.Fill, 0);
    EXPECT_GT(Open->doc.OfficeCount, 1700);
    // Today's municipalities are split into the unchanged (A) and the changed (B);
    // the municipalities of 2000 that are gone are X names, their borders N lines.
    EXPECT_GT(Open->doc.TownCount, 1000);
    EXPECT_GT(Open->doc.NewTownCount, 500);
    EXPECT_GT(Open->doc.OldTownCount, 2000);
    EXPECT_GT(Open->doc.NTownLine.Fill, 30000);
    EXPECT_GT(Open->doc.OldPrefLine.Fill, 0);   // the one prefecture border of 2000
    EXPECT_EQ(Open->doc.NewPrefLine.Fill, 0);
    EXPECT_EQ(Open->doc.OTownLine.Fill, 0);
    // Lake shores outside Hokkaido are W lines; Hokkaido's W lines are its
    // sub-prefecture borders and its shores are S lines.
    EXPECT_GT(Open->doc.LakeLine.Fill, 1000);
    EXPECT_GT(Open->doc.HokkaidoLakeLine.Fill, 100);
    EXPECT_GT(Open->doc.LakeBorderLine.Fill, 100);
    EXPECT_GT(Open->doc.LakePrefLine.Fill, 0);
}

// The names of one area as its office list has them, without the designated cities.
std::set<std::string> OfficeNames(const std::filesystem::path& dir, int code, const std::set<std::string>& cities) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir / "MAPDATA/Office")) {
        const std::string file = e.path().filename().string();
        if (file.size() < 2 || file.compare(0, 2, gui::Format("%02d", code)) != 0) continue;
        const std::string text = gui::Cp932ToUtf8(testsupport::ReadBytes(e.path()));
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string row = text.substr(at, end - at);
            at = end + 1;
            const size_t a = row.find(','), b = row.find(',', a + 1);
            if (a == std::string::npos || b == std::string::npos) continue;
            std::string name = row.substr(a + 1, b - a - 1);
            if (!cities.count(name)) names.insert(name);
        }
    }
    return names;
}

TEST_F(JapanLoad, TodaysMunicipalitiesAreTheUnchangedAndTheChangedNames) {
    Open->LoadCityList();
    std::set<std::string> cities(Open->doc.CityName.begin(), Open->doc.CityName.begin() + Open->doc.CityCount);
    ASSERT_GT(cities.size(), 15u);
    int oldNames = 0;
    for (int32_t code = 1; code <= 52; code++) {
        ASSERT_TRUE(Open->ReadMapData(1, &code));
        std::set<std::string> today;
        for (int i = 0; i < Open->doc.TownCount; i++) today.insert(Open->doc.TownName[i]);
        for (int i = 0; i < Open->doc.NewTownCount; i++) today.insert(Open->doc.NewTownName[i]);
        EXPECT_EQ(today, OfficeNames(programDir, code, cities)) << "area " << code;
        oldNames += Open->doc.OldTownCount;
    }
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_GT(oldNames, 2000);
}

TEST_F(JapanLoad, StandardViewsOfTokyoAndOfTheWholeCountry) {
    Open->doc.SELECT = 1;
    Open->doc.SelectCode[0] = 12;
    Open->Button3Click(Open);
    ASSERT_FALSE(gui::testing::Terminated());
    std::cout << "  東京: CX " << Open->CX << " CY " << Open->CY << " scale " << Open->scale << " BaseSpan "
              << Open->BaseSpan << " Aspect " << Open->Aspect << "\n";
    // Lon 138.9 to 140.0, lat 35.5 to 35.9.
    EXPECT_GT(Open->CX, 169000);
    EXPECT_LT(Open->CX, 180000);
    EXPECT_GT(Open->CY, 172500);
    EXPECT_LT(Open->CY, 178500);
    EXPECT_NEAR(Open->Aspect, 2.0 / 3 / std::cos((24 + Open->CY / 15000.0) * M_PI / 180), 0.01);
    EXPECT_EQ(Open->BaseSpan, std::max(Open->DataWidth, int32_t(Open->DataHeight * Open->Aspect)));
    EXPECT_NEAR(Open->scale * Open->BaseSpan, 600, 0.01);
    EXPECT_GT(Open->BaseSpan, 10000);   // over 1 degree of longitude
    EXPECT_LT(Open->BaseSpan, 20000);

    Open->doc.SELECT = 52;
    for (int i = 0; i < 52; i++) Open->doc.SelectCode[i] = i + 1;
    Open->Button3Click(Open);
    std::cout << "  全国: CX " << Open->CX << " CY " << Open->CY << " scale " << Open->scale << " BaseSpan "
              << Open->BaseSpan << "\n";
    // From Okinawa (lon 122.9) to the northern islands (lon 148.9) and Ogasawara (lat 20.4).
    EXPECT_GT(Open->BaseSpan, 260000);
    EXPECT_LT(Open->BaseSpan, 400000);
    EXPECT_GT(Open->CX, 100000);
    EXPECT_LT(Open->CX, 200000);
    EXPECT_NEAR(Open->scale * Open->BaseSpan, 600, 0.01);
    EXPECT_FALSE(Open->ui.CBTownName->Checked());
    EXPECT_FALSE(Open->ui.CBMainDoubleName->Enabled());
}

TEST_F(JapanLoad, ATickedAreaIsLoadedDrawnAndTheExitSavesTheSettings) {
    Ken->Show();
    Ken->AreaBox(12)->SetChecked(true);
    Ken->Button1->Click();
    EXPECT_TRUE(gui::testing::Messages().empty());
    EXPECT_FALSE(Ken->Visible());
    EXPECT_TRUE(Open->gate.MapShown);
    EXPECT_TRUE(Open->gate.DataReady);
    int coast = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 600; x++) coast += Open->ui.Image1->Canvas()->Pixels(x, y) == Open->style.CoastColor;
    EXPECT_GT(coast, 500);
    gui::testing::QueueAnswer(IDOK);
    Open->ui.Button2->Click();
    EXPECT_TRUE(std::filesystem::exists(programDir / "MAPDATA/config.ini"));
    EXPECT_TRUE(gui::testing::Terminated());
}

} // namespace
