// Every reader of a data file on a few thousand mutations of a small valid
// file: nothing may crash, and what the reader fills keeps its invariants.
// The mutations come from a fixed seed, so every run reads the same files.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include "tests/support/FormsFixture.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 1500;

// Bytes and words that readers trip over: separators, signs, CP932 lead and
// stray bytes, NUL, and numbers at and past the int range.
const char* const kWords[] = {",", " ", "\t", "\n", "\r\n", "-", "0", "5", "\x81", "\x80", "\xFF", "\x82\xA0",
                              std::string_view("\0", 1).data(), "2147483647", "2147483648", "-2147483649",
                              "999999999999", "-999", "1000", "1001", "A,", "C,1,", "Z", "W,1,3\n"};

class Mutator {
public:
    explicit Mutator(uint32_t seed) : rng(seed) {}

    std::string operator()(const std::string& base) {
        std::string s = base;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
            switch (rng() % 6) {
            case 0:   // a byte changed
                if (!s.empty()) s[at % s.size()] = char(rng());
                break;
            case 1: {   // a word put in
                const size_t w = rng() % std::size(kWords);
                s.insert(at, w == 12 ? std::string(1, '\0') : std::string(kWords[w]));
                break;
            }
            case 2:   // a run taken out
                s.erase(at, rng() % 12);
                break;
            case 3: {   // a line repeated
                const size_t start = s.rfind('\n', at == 0 ? 0 : at - 1);
                const size_t from = start == std::string::npos ? 0 : start + 1;
                const size_t end = s.find('\n', from);
                s.insert(from, s.substr(from, end == std::string::npos ? std::string::npos : end - from + 1));
                break;
            }
            case 4:   // cut short
                s.resize(at);
                break;
            default:   // a long field
                s.insert(at, std::string(1 + rng() % 300, char('0' + rng() % 10)));
                break;
            }
        }
        return s;
    }

private:
    std::mt19937 rng;
};

void WriteBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string Cp932(const std::string& utf8) { return gui::Utf8ToCp932(utf8); }

class Fuzz : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        gui::testing::Messages().clear();
    }
    void Quiet() {
        gui::testing::Messages().clear();
        gui::testing::Terminated() = false;
    }
};

// A store is polylines of positive counts that end exactly at the fill, where -999 stands.
void ExpectStoreSound(const PolylineStore& s, int32_t minX, int32_t minY, int32_t maxX, int32_t maxY) {
    ASSERT_GE(s.Fill, 0);
    ASSERT_LE(s.Fill, s.Capacity);
    ASSERT_EQ(s.Words[s.Fill], -999) << s.CapacityName;
    int64_t i = 0;
    while (i < s.Fill) {
        const int32_t n = s.Words[i];
        ASSERT_GT(n, 0) << s.CapacityName << " at " << i;
        ASSERT_LE(n, POLYLINE_POINTS_MAX);
        ASSERT_LE(i + 1 + 2 * int64_t(n), s.Fill) << s.CapacityName;
        for (int32_t k = 0; k < n; ++k) {
            const int32_t x = s.Words[i + 1 + 2 * k], y = s.Words[i + 2 + 2 * k];
            ASSERT_TRUE(minX <= x && x <= maxX && minY <= y && y <= maxY) << s.CapacityName << " " << x << "," << y;
        }
        i += 1 + 2 * int64_t(n);
    }
}

TEST_F(Fuzz, MapAndOfficeFiles) {
    const std::string map = Cp932("A,150100,150100,東町\nA 150200 150200 東町\nX,150300,150300,旧村\n"
                                  "B,150400,150400,新市\nZ,1,99\n"
                                  "C,1,6\n150000,150000,151000,150000,151000,151000,\n150000,151000,150000,150000\n"
                                  "P,2,2\n150000,150500,151000,150500\nT,3,1\n150500,150500\n"
                                  "K,4,3\n150100,150100,150200,150200,150300,150100\nW,5,2\n150600,150600,150700,150700\n"
                                  "D,6,2\n149000,149000,152000,152000\n");
    const std::string office = Cp932("◎,150100,150100,東町役場,8\n○ 150200 150200 旧村役場 10\n");
    Mutator mutate(14);
    for (int round = 0; round < kRounds; ++round) {
        const bool mapTurn = round % 3 != 2;
        WriteBytes(programDir / "MAPDATA/47.MAP", mapTurn ? mutate(map) : map);
        WriteBytes(programDir / "MAPDATA/OfficeLoc/47市町村役場.lbl", mapTurn ? office : mutate(office));
        Quiet();
        const int32_t codes[] = {47};
        ASSERT_TRUE(Open->ReadMapData(1, codes)) << round;
        SCOPED_TRACE(round);
        for (PolylineStore* s : {&Open->CoastLine, &Open->PrefLine, &Open->NewPrefLine, &Open->OldPrefLine,
                                 &Open->TownLine, &Open->NTownLine, &Open->OTownLine, &Open->LakeLine,
                                 &Open->HokkaidoLakeLine, &Open->LakeBorderLine, &Open->LakePrefLine, &Open->KuLine})
            ExpectStoreSound(*s, Open->MinX, Open->MinY, Open->MaxX, Open->MaxY);
        ASSERT_LE(Open->TownCount, TOWN_MAX);
        ASSERT_LE(Open->OldTownCount, OLDTOWN_MAX);
        ASSERT_LE(Open->NewTownCount, NEWTOWN_MAX);
        ASSERT_LE(Open->OfficeCount, OFFICE_MAX);
        for (int i = 0; i < Open->OfficeCount; ++i) {
            const OfficeRecord& r = Open->OfficeRecords[i];
            ASSERT_TRUE(memchr(r.mark, 0, sizeof r.mark) && memchr(r.name, 0, sizeof r.name));
            ASSERT_LE(gui::Cp932Length(r.mark), 7u);
            ASSERT_LE(gui::Cp932Length(r.name), 31u);
        }
    }
}

TEST_F(Fuzz, ListsReadAtStartUp) {
    const std::string city = Cp932("さいたま市,175000,175500,10,1\n千葉市,180000,170000,11,0\n");
    const std::string extra = Cp932("13,府中市,東京都,170000,170000,S\n8,三和町,猿島郡,176000,181000,X\n");
    const std::string yomi = Cp932("150100,150100,東町,ひがしまち\n150300 150300 旧村 きゅうむら\n");
    Mutator mutate(1401);
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        WriteBytes(programDir / "MAPDATA/CITYLIST.TXT", mutate(city));
        WriteBytes(programDir / "MAPDATA/EXTRA.TXT", mutate(extra));
        WriteBytes(programDir / "MAPDATA/yomi.lst", mutate(yomi));
        Quiet();
        Open->LoadCityList();
        Open->LoadExtraList();
        Open->LoadYomiList((programDir / "MAPDATA/yomi.lst").string());
        ASSERT_LE(Open->CityCount, CITY_MAX);
        ASSERT_LE(Open->ExtraCount, EXTRA_MAX);
        ASSERT_EQ(Open->YomiCount, int32_t(Open->YomiRecords.size()));
        ASSERT_LE(Open->YomiCount, TOpen::YOMI_MAX);
        for (int i = 0; i < Open->CityCount; ++i) ASSERT_TRUE(Open->CityFlag[i] == 0 || Open->CityFlag[i] == 1);
    }
}

TEST_F(Fuzz, ConfigurationAndHistory) {
    std::string config = Cp932("-1,終了時の設定保存\n1,同一色\n");
    for (int n = 3; n <= 24; n++) config += n == 11 ? "mark,//Extra Mark Folder\n" : gui::Format("%d,x\n", 100 * n);
    const std::string history = Cp932("東町\n旧村\n新市\n");
    Mutator mutate(1402);
    const fs::path configFile = programDir / "MAPDATA/config.ini", historyFile = programDir / "MAPDATA/townlist.lst";
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        WriteBytes(configFile, mutate(config));
        WriteBytes(historyFile, mutate(history));
        Quiet();
        Open->config_read(configFile.string());
        TStrings* items = Open->ComboBox1->Items();
        items->Clear();
        ASSERT_TRUE(items->LoadFromFile(historyFile.string()));
        // Written back and read again, the history is what it was (a save
        // goes to the disk, so only every tenth round).
        if (round % 10 != 0) continue;
        std::vector<std::string> first;
        for (int i = 0; i < items->Count(); ++i) first.push_back(items->Strings(i));
        ASSERT_TRUE(items->SaveToFile(historyFile.string()));
        items->Clear();
        ASSERT_TRUE(items->LoadFromFile(historyFile.string()));
        ASSERT_EQ(items->Count(), int(first.size()));
        for (int i = 0; i < items->Count(); ++i) ASSERT_EQ(items->Strings(i), first[i]);
    }
}

using FuzzMeshNames = HandMap;

TEST_F(FuzzMeshNames, MeshNameFiles) {
    Settei->CBMeshName->SetChecked(true);
    const std::string names = Cp932("150000,150000,東京,12,255\n150500,150300,  名 前 ,8,0\n160000,160000,外,9,1\n");
    Mutator mutate(1403);
    const fs::path file = programDir / "Mapdata/mesh1.lbl";
    fs::create_directories(file.parent_path());
    for (int round = 0; round < kRounds / 3; ++round) {
        WriteBytes(file, mutate(names));
        o->DrawMeshNames(1);
    }
    SUCCEED();
}

} // namespace
