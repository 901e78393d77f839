// A table of one date carried onto the municipalities of another through the
// crosswalk of the data set (MAPDATA/Codes/Crosswalk.csv): counts with the
// share of the old unit's land, rates and densities with the share of the new one's.
#pragma once
#include "paint/StatJoin.h"
#include <string>
#include <vector>

struct CrosswalkRow {
    std::string from, to;   // six-digit codes
    double shareFrom = 0, shareTo = 0;
};

// The rows from one date to another (0 for the data set's own, else the
// edition's year), or empty with `error` set when the file is missing or damaged.
std::vector<CrosswalkRow> ReadCrosswalk(const std::string& appDir, int fromYear, int toYear, std::string& error);

// The date whose codes the table's code column holds most of, among the data
// set's own and the editions'; `preferred` when it holds as many.
int GuessStatTableYear(const std::string& appDir, const StatTable& t, const StatJoinSpec& spec, int preferred);

// The join made on the units of the table's date (`from`, every area) carried
// onto the units of the map (`to`): unitValue, values and drawnPrefs are the
// map's afterwards. `report` gets what was merged, split or carried from a city row.
void CarryStatJoin(StatJoin& j, const StatUnits& from, const StatUnits& to, const std::vector<CrosswalkRow>& rows,
                   int fromYear, int toYear, int level, bool rate, std::vector<std::string>& report);

// "2021年", "2005年".
std::string StatYearText(int year);
