// The three name tables of the main form seen alike: 0 current ("A"),
// 1 old ("X"), 2 new ("B"), as MatchedListKind numbers them.
#pragma once
#include "engine/MapDocument.h"
#include <algorithm>

namespace names {

struct NameTable {
    std::vector<int32_t>& x;
    std::vector<int32_t>& y;
    std::vector<std::string>& name;
    std::vector<char>& dup;
    int32_t& count;
    int capacity;
    int Count() const { return std::min<int>(count, int(name.size())); }
};

inline NameTable TableOf(MapDocument& d, int kind) {
    if (kind == 1) return {d.OldTownX, d.OldTownY, d.OldTownName, d.OldTownDup, d.OldTownCount, OLDTOWN_MAX};
    if (kind == 2) return {d.NewTownX, d.NewTownY, d.NewTownName, d.NewTownDup, d.NewTownCount, NEWTOWN_MAX};
    return {d.TownX, d.TownY, d.TownName, d.TownDup, d.TownCount, TOWN_MAX};
}

// The first name of a table whose point passes the test, or -1.
template <class Near>
int FindNear(MapDocument& d, int kind, Near near) {
    NameTable t = TableOf(d, kind);
    for (int i = 0; i < t.Count(); ++i)
        if (near(t.x[i], t.y[i])) return i;
    return -1;
}

} // namespace names
