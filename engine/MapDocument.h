// The map document: the folder the data come from, the areas chosen, and the
// stores and name tables read for them. The main form holds it; a window
// that needs only the data reaches it through MainDoc().
#pragma once
#include "engine/StoreScreen.h"
#include <cstdint>
#include <string>
#include <vector>

// Capacities of the polyline stores, in 32-bit words.
constexpr int COAST_LINE = 304000;
constexpr int PREF_LINE = 51000;
constexpr int NEW_PREF_LINE = 1000;
constexpr int OLD_PREF_LINE = 1100;
constexpr int TOWN_LINE = 270000;
constexpr int NTOWN_LINE = 60000;
constexpr int OTOWN_LINE = 6000;
constexpr int LAKE_LINE = 2500;
constexpr int HOKKAIDO_LAKE_LINE = 500;
constexpr int LAKE_BORDER_LINE = 1000;
constexpr int LAKE_PREF_LINE = 200;
constexpr int KU_LINE = 8000;

constexpr int TOWN_MAX = 7500, OLDTOWN_MAX = 2500, NEWTOWN_MAX = 2000;
constexpr int OFFICE_MAX = 2500, CITY_MAX = 200, EXTRA_MAX = 100;
constexpr int POLYLINE_POINTS_MAX = 1000;
// CP932 bytes of a search-history entry as read: no name of the data files,
// whose lines are shorter than 100 bytes, is longer.
constexpr size_t HISTORY_NAME_MAX = 99;

// Polylines one after another as n, x1, y1, ..., xn, yn, closed by -999.
// Words holds one word beyond the capacity so the terminator always fits.
struct PolylineStore {
    PolylineStore(int capacity, const char* capName, const char* message, bool testedAgain)
        : Words(capacity + 1, -999), Capacity(capacity), CapacityName(capName), Message(message),
          TestedAgain(testedAgain) {}
    std::vector<int32_t> Words;
    int32_t Fill = 0;        // words in use
    bool Overflowed = false; // a polyline was refused for want of room
    int32_t Capacity;
    const char* CapacityName;
    const char* Message;
    bool TestedAgain;
    const int32_t* Data() const { return Words.data(); }
    // Whoever writes the words says so: the screen points taken from them go.
    void Changed() { Revision = NextRevision(); }
    uint64_t Revision = NextRevision();
    mutable StoreScreen Screen;

private:
    static uint64_t NextRevision() {
        static uint64_t last = 0;
        return ++last;
    }
};

// Mark and name hold at most 7 and 31 bytes in CP932; in UTF-8 a character
// can take up to three times its CP932 bytes, hence the larger arrays.
struct OfficeRecord {
    char mark[7 * 3 + 1];
    int32_t x, y;
    char name[31 * 3 + 1];
    int32_t size;
};

class TOpen;

struct MapDocument {
    // The program folder: every data path is built from it.
    std::string AppDir;

    // ---- Selection and area tables ----
    int32_t SELECT = 0;
    int32_t SelectCode[100] = {};
    std::string AreaName[60];
    float AreaSpanKm[53] = {};
    std::string RegionName[10];
    uint8_t PrefFlag[60] = {};
    int32_t BoundaryDate = 0;  // newest map-file date, (y-1980)*10000 + m*100 + d

    // ---- Map data ----
    PolylineStore CoastLine{COAST_LINE, "COAST_LINE", "海岸線データが多すぎます", true};
    PolylineStore PrefLine{PREF_LINE, "PREF_LINE", "都府県界線データが多すぎます", true};
    PolylineStore NewPrefLine{NEW_PREF_LINE, "NEW_PREF_LINE", "新都府県界線データが多すぎます", true};
    PolylineStore OldPrefLine{OLD_PREF_LINE, "OLD_PREF_LINE", "旧都府県界線データが多すぎます", true};
    PolylineStore TownLine{TOWN_LINE, "TOWN_LINE", "市町村境界線データが多すぎます", true};
    PolylineStore NTownLine{NTOWN_LINE, "NTOWN_LINE", "旧市町村境界線データが多すぎます", true};
    PolylineStore OTownLine{OTOWN_LINE, "OTOWN_LINE", "旧市町村境界線データが多すぎます", true};
    PolylineStore LakeLine{LAKE_LINE, "LAKE_LINE", "湖水線データが多すぎます", false};
    PolylineStore HokkaidoLakeLine{HOKKAIDO_LAKE_LINE, "HOKKAIDO_LAKE_LINE", "北海道湖水線データが多すぎます", false};
    PolylineStore LakeBorderLine{LAKE_BORDER_LINE, "LAKE_BORDER_LINE", "湖水境界線データが多すぎます", false};
    PolylineStore LakePrefLine{LAKE_PREF_LINE, "LAKE_PREF_LINE", "湖水県境界線データが多すぎます", false};
    PolylineStore KuLine{KU_LINE, "KU_LINE", "行政区データが多すぎます", true};

    std::vector<int32_t> TownX, TownY, OldTownX, OldTownY, NewTownX, NewTownY;
    std::vector<std::string> TownName, OldTownName, NewTownName;
    std::vector<char> TownDup, OldTownDup, NewTownDup;
    int32_t TownCount = 0, OldTownCount = 0, NewTownCount = 0;

    std::vector<OfficeRecord> OfficeRecords;
    int32_t OfficeCount = 0;

    std::vector<std::string> CityName;
    std::vector<int32_t> CityX, CityY, CityPref;
    std::vector<uint8_t> CityFlag;
    int32_t CityCount = 0;

    std::vector<int32_t> ExtraPref, ExtraX, ExtraY;
    std::vector<std::string> ExtraTownName, ExtraGroupName;
    std::vector<char> ExtraKind;
    int32_t ExtraCount = 0;

    struct YomiRecord { int32_t x, y; std::string name, yomi; };
    std::vector<YomiRecord> YomiRecords;
    int32_t YomiCount = 0;

    bool WLinesAsBorder = true;
    // Another boundary-data edition is in use: the standard one comes back at exit.
    bool AltYear = false;

    // False when a line of the list was left out on reading: writing the
    // table back would lose it.
    bool CityListWhole = true, ExtraListWhole = true;
};

// The name holds "区" (by a byte search).
bool ContainsWard(const std::string& name);

// The main form's document.
MapDocument& MainDoc();
// The document of the main form o.
MapDocument& DocOf(TOpen& o);
const MapDocument& DocOf(const TOpen& o);
