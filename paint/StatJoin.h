// The municipalities a statistics table can colour, with their codes and fill
// points, and the join of the table's rows to them by code or by name.
#pragma once
#include "paint/StatTable.h"
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

// One municipality or ward of the loaded areas and the points of its parts.
struct StatUnit {
    std::string code;    // six digits with check digit
    std::string name;    // as the map writes it ("中央区" for a ward)
    std::string city;    // the designated city of a ward, else empty
    int pref = 0;        // prefecture number 1..47 (from the code)
    int area = 0;        // area code of the file it came from
    struct Point { int32_t x, y; };
    std::vector<Point> points;
    double km2 = NAN;    // land area (Codes/Area.csv); NaN when the file has none
};

// A designated city: its own row of a table colours the wards that have none.
struct StatCity {
    std::string code, name;
    int pref = 0;
    std::vector<int> wards;   // indices into StatUnits::units
    double km2 = NAN;
};

struct StatUnits {
    std::vector<StatUnit> units;
    std::vector<StatCity> cities;
    std::vector<int> missingAreas;   // loaded areas whose fill-point file is not there
    double prefKm2[48] = {};         // land of each whole prefecture, drawn or not; 0 when unknown
    // Targets: a unit index, or -(city index + 1).
    std::unordered_map<std::string, int> byCode;
    std::unordered_map<std::string, std::vector<int>> byName, byWard;
    void Index();
};

// The fill points of the areas: MAPDATA/Codes/%02d.csv, or Codes/<year>/ for
// an edition (year 0: the data set's own date). City codes come from the office files.
StatUnits LoadStatUnits(const std::string& appDir, const std::vector<int>& areas, int year);

// A code as the table writes it, as the six digits it stands for; several
// when a dropped zero leaves it open. Empty when it is no code.
std::vector<std::string> CodeCandidates(std::string_view cell);
// The check digit of a five-digit local-government code.
char CodeCheckDigit(std::string_view five);
// Prefecture number of a name ("東京都", "東京", "北海道"), 0 when none.
int PrefNumber(std::string_view name);
const char* PrefName(int number);
// A name with full-width letters, blanks and the old forms of characters folded.
std::string FoldName(std::string_view s);
// A target's name as the report writes it: "泊村 014036".
std::string StatTargetName(const StatUnits& u, int target);

// What a row of the table stands for.
enum StatLevel { kLevelUnit = 0, kLevelCity = 1, kLevelPref = 2 };

struct StatJoinSpec {
    int headingRow = 0;       // rows above it and itself are not data
    int codeCol = -1;         // join by code when set, else by name
    int nameCol = -1, prefCol = -1;
    int valueCol = -1;
    // Rates and densities: the value divided by this column of the same row, or by
    // the land area (km²) of what the row colours.
    int divisorCol = -1;
    bool perArea = false;
    int level = kLevelUnit;   // municipalities; a designated city as one; prefectures
    std::map<int, int> picks;  // table row -> the candidate the user chose
};

struct StatJoinRow {
    int row = 0, line = 0;   // table row and its file line
    int target = -1 - 0x7fffffff;   // unit index or -(city+1); kNone when not joined
    double value = 0;
    std::string reason;      // empty when joined
    int pref = 0;            // the prefecture the row names, 0 when it names none
    std::vector<int> candidates;   // targets of a name that several bear
    bool Joined() const { return reason.empty(); }
};

struct StatJoin {
    static constexpr int kNone = -1 - 0x7fffffff;
    // A prefecture as a target of the prefecture level.
    static constexpr int PrefTarget(int pref) { return -100000 - pref; }
    static constexpr int PrefOfTarget(int target) { return -100000 - target; }
    std::vector<StatJoinRow> rows;      // every data row
    int joined = 0;
    std::vector<double> unitValue;      // per unit; NaN for no data
    std::vector<double> values;         // the values of the units with data
    std::string valueHeading;
    bool textColumn = false;            // the value column held no number at all
    std::vector<char> drawnPrefs = std::vector<char>(48, 0);   // prefectures with a unit on the map
};

StatJoin JoinStatTable(const StatTable& t, const StatJoinSpec& spec, const StatUnits& u);
// The rows not joined, as CSV lines "行,コード,名称,理由" with their heading.
// Rows of a prefecture the map does not show are one line per prefecture; with the
// units, a row of several candidates names them.
std::vector<std::string> StatReportLines(const StatTable& t, const StatJoinSpec& spec, const StatJoin& j,
                                         const StatUnits* units = nullptr);

// Columns proposed for a heading row: code (コード), name (市区町村名), prefecture
// (都道府県), and the first column after them with a number in the next rows.
StatJoinSpec ProposeStatColumns(const StatTable& t, int headingRow);
// The heading row: the first of the first 20 rows that names a code or name
// column with a column of numbers after it; 0 when none does.
int FindStatHeading(const StatTable& t);
