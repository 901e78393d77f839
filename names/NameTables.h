// The three name tables of the main form seen alike: 0 current ("A"),
// 1 old ("X"), 2 new ("B"), as MatchedListKind numbers them.
#pragma once
#include "engine/Uopen.h"

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

inline NameTable TableOf(TOpen& o, int kind) {
    if (kind == 1) return {o.doc.OldTownX, o.doc.OldTownY, o.doc.OldTownName, o.doc.OldTownDup, o.doc.OldTownCount, OLDTOWN_MAX};
    if (kind == 2) return {o.doc.NewTownX, o.doc.NewTownY, o.doc.NewTownName, o.doc.NewTownDup, o.doc.NewTownCount, NEWTOWN_MAX};
    return {o.doc.TownX, o.doc.TownY, o.doc.TownName, o.doc.TownDup, o.doc.TownCount, TOWN_MAX};
}

// The first name of a table whose point passes the test, or -1.
template <class Near>
int FindNear(TOpen& o, int kind, Near near) {
    NameTable t = TableOf(o, kind);
    for (int i = 0; i < t.Count(); ++i)
        if (near(t.x[i], t.y[i])) return i;
    return -1;
}

} // namespace names
