// Every reader of a data file on a few thousand mutations of a small valid
// file: nothing may crash, and what the reader fills keeps its invariants.
// The mutations come from a fixed seed, so every run reads the same files.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "names/Uextra.h"
#include "names/Utoshi.h"
#include "navigation/Usettei.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/Mutator.h"
#include <gtest/gtest.h>
#include <cstring>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kRounds = 1500;

using testsupport::Mutator;
using testsupport::WriteBytes;

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
        for (PolylineStore* s : {&Open->doc.CoastLine, &Open->doc.PrefLine, &Open->doc.NewPrefLine, &Open->doc.OldPrefLine,
                                 &Open->doc.TownLine, &Open->doc.NTownLine, &Open->doc.OTownLine, &Open->doc.LakeLine,
                                 &Open->doc.HokkaidoLakeLine, &Open->doc.LakeBorderLine, &Open->doc.LakePrefLine, &Open->doc.KuLine})
            ExpectStoreSound(*s, Open->MinX, Open->MinY, Open->MaxX, Open->MaxY);
        ASSERT_LE(Open->doc.TownCount, TOWN_MAX);
        ASSERT_LE(Open->doc.OldTownCount, OLDTOWN_MAX);
        ASSERT_LE(Open->doc.NewTownCount, NEWTOWN_MAX);
        // No name is kept at a position no map has (its difference to a press would wrap).
        for (int i = 0; i < Open->doc.TownCount; ++i) ASSERT_TRUE(InMapRange(Open->doc.TownX[i], Open->doc.TownY[i]));
        for (int i = 0; i < Open->doc.OldTownCount; ++i) ASSERT_TRUE(InMapRange(Open->doc.OldTownX[i], Open->doc.OldTownY[i]));
        for (int i = 0; i < Open->doc.NewTownCount; ++i) ASSERT_TRUE(InMapRange(Open->doc.NewTownX[i], Open->doc.NewTownY[i]));
        ASSERT_LE(Open->doc.OfficeCount, OFFICE_MAX);
        for (int i = 0; i < Open->doc.OfficeCount; ++i) {
            const OfficeRecord& r = Open->doc.OfficeRecords[i];
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
        ASSERT_LE(Open->doc.CityCount, CITY_MAX);
        ASSERT_LE(Open->doc.ExtraCount, EXTRA_MAX);
        ASSERT_EQ(Open->doc.YomiCount, int32_t(Open->doc.YomiRecords.size()));
        ASSERT_LE(Open->doc.YomiCount, TOpen::YOMI_MAX);
        for (int i = 0; i < Open->doc.CityCount; ++i) {
            ASSERT_TRUE(Open->doc.CityFlag[i] == 0 || Open->doc.CityFlag[i] == 1);
            ASSERT_TRUE(InMapRange(Open->doc.CityX[i], Open->doc.CityY[i]));
        }
        for (int i = 0; i < Open->doc.ExtraCount; ++i) ASSERT_TRUE(InMapRange(Open->doc.ExtraX[i], Open->doc.ExtraY[i]));
        for (const auto& r : Open->doc.YomiRecords) ASSERT_TRUE(InMapRange(r.x, r.y));
        // "ファイル保存" of the position windows never drops a line the reader left out.
        if (round % 10 != 0) continue;
        for (auto [table, file, whole] : {std::tuple<TPositionTable*, const char*, bool>{Toshi, "CITYLIST.TXT", Open->doc.CityListWhole},
                                          {Extra, "EXTRA.TXT", Open->doc.ExtraListWhole}}) {
            const std::string before = testsupport::ReadBytes(programDir / "MAPDATA" / file);
            table->FormCreate(table);   // the grid as the window shows it after these lists
            table->Button1->SetEnabled(true);
            table->Button1->Click();
            if (!whole) {
                ASSERT_EQ(testsupport::ReadBytes(programDir / "MAPDATA" / file), before) << file;
            }
        }
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
        // The capital's size in the style window's range: its text is placed 1.4 sizes on.
        ASSERT_TRUE(Open->style.DefPrefSize >= 6 && Open->style.DefPrefSize <= 50) << Open->style.DefPrefSize;
        ASSERT_TRUE(Open->style.DefPrefSeatSize >= 6 && Open->style.DefPrefSeatSize <= 50) << Open->style.DefPrefSeatSize;
        TStrings* items = Open->ui.ComboBox1->Items();
        items->Clear();
        ASSERT_TRUE(items->LoadFromFile(historyFile.string(), HISTORY_NAME_MAX));
        for (int i = 0; i < items->Count(); ++i) ASSERT_LE(gui::Cp932Length(items->Strings(i)), HISTORY_NAME_MAX);
        // Written back and read again, the history is what it was (a save
        // goes to the disk, so only every tenth round).
        if (round % 10 != 0) continue;
        std::vector<std::string> first;
        for (int i = 0; i < items->Count(); ++i) first.push_back(items->Strings(i));
        ASSERT_TRUE(items->SaveToFile(historyFile.string()));
        items->Clear();
        ASSERT_TRUE(items->LoadFromFile(historyFile.string(), HISTORY_NAME_MAX));
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
