// The label block of the project file, written, read and put back side by side.
#include "labels/LabelBlock.h"
#include "engine/Coords.h"
#include "engine/MainControls.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "engine/ProjectLines.h"
#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>

namespace {

// Fields at commas only, each kept whole (blanks included).
std::vector<std::string> CommaFields(const std::string& s) {
    std::vector<std::string> f;
    size_t start = 0;
    for (;;) {
        const size_t comma = s.find(',', start);
        f.push_back(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return f;
        start = comma + 1;
    }
}

// A label's state past the six fields of a row, written only when it is not a
// shown label of the user's own: "H" hidden; "S<n>" a station label of station
// file n, then "J" for JR and "M" for a main station. It is never a number, so a
// row whose text holds commas (its last field the colour) is never taken for one.
std::string StateField(const LabelRecord& r) {
    std::string s;
    if (!r.shown) s += 'H';
    if (r.railway) {
        s += 'S' + std::to_string(r.fileNo);
        if (r.jr) s += 'J';
        if (r.main) s += 'M';
    }
    return s;
}

bool TakeStateField(const std::string& s, LabelRecord& r) {
    size_t at = 0;
    auto take = [&](char c) {
        const bool is = at < s.size() && s[at] == c;
        at += is;
        return is;
    };
    const bool hidden = take('H');
    const bool station = take('S');
    int32_t file = 0;
    if (station) {
        const size_t from = at;
        while (at < s.size() && at - from < 5 && s[at] >= '0' && s[at] <= '9') file = file * 10 + (s[at++] - '0');
        if (at == from || file >= LABEL_FILE_MAX) return false;
    }
    const bool jr = station && take('J'), main = station && take('M');
    if (at != s.size() || (!hidden && !station)) return false;
    r.shown = !hidden;
    r.railway = station, r.jr = jr, r.main = main;
    r.fileNo = file, r.numbered = station;
    return true;
}

// A file written before rows carried their state holds station labels as
// plain rows: a shown row that is one of the station labels the railway load
// has just read is that station label, so the next station reload replaces it.
std::vector<LabelRecord> WithStationsMarked(const std::vector<LabelRecord>& rows, const TLetter& L) {
    std::vector<LabelRecord> marked = rows;
    if (std::any_of(rows.begin(), rows.end(), [](const LabelRecord& r) { return r.railway; })) return marked;
    std::map<std::tuple<int32_t, int32_t, std::string_view>, const LabelRecord*> stations;
    for (int i = 0; i < L.LabelCount && i < int(L.LabelTable.size()); ++i) {
        const LabelRecord& r = L.LabelTable[i];
        if (r.railway) stations.emplace(std::tuple(r.x, r.y, std::string_view(r.text)), &r);
    }
    if (stations.empty()) return marked;
    for (LabelRecord& r : marked) {
        const auto it = stations.find(std::tuple(r.x, r.y, std::string_view(r.text)));
        if (!r.shown || it == stations.end()) continue;
        const LabelRecord& s = *it->second;
        r.railway = s.railway, r.jr = s.jr, r.main = s.main;
        r.fileNo = s.fileNo, r.numbered = s.numbered;
    }
    return marked;
}

} // namespace

bool ParseProjectLabelRow(const std::string& s, LabelRecord& row) {
    // The block writes each text as it stands, commas and all.
    std::vector<std::string> f = CommaFields(s);
    LabelRecord state;
    const bool stated = f.size() > 6 && (f.back()[0] == 'H' || f.back()[0] == 'S');
    if (stated && !TakeStateField(f.back(), state)) return false;
    if (stated) f.pop_back();
    LabelRecord r;
    if (!LabelOfFields(f, true, 0, r) || !InMapRange(r.x, r.y)) return false;
    r.shown = state.shown;
    r.railway = state.railway, r.jr = state.jr, r.main = state.main;
    r.fileNo = state.fileNo, r.numbered = state.numbered;
    row = std::move(r);
    return true;
}

LabelBlock LabelBlock::Take() {
    const TLetter* L = Letter;
    const int n = std::clamp<int>(L->LabelCount, 0, int(L->LabelTable.size()));
    return {std::vector<LabelRecord>(L->LabelTable.begin(), L->LabelTable.begin() + n)};
}

void LabelBlock::Write(gui::TextWriter& w) const {
    w.Printf("%d,ROWCOUNT\n", int(rows.size()));
    for (const LabelRecord& r : rows) {
        const std::string state = StateField(r);
        w.Printf("%s,%d,%d,%s,%d,%d%s%s\n", r.mark.c_str(), r.x, r.y, r.text.c_str(), r.size, int(r.color),
                 state.empty() ? "" : ",", state.c_str());
    }
}

bool LabelBlock::Parse(ProjectLines& in) {
    int n;
    if (!in.StrictFirst(n) || !in.Check(n >= 0 && n <= LABEL_MAX)) return false;
    rows.resize(n);
    std::string s;
    for (LabelRecord& row : rows)
        if (!in.Next(s) || !in.Check(ParseProjectLabelRow(s, row))) return false;
    return true;
}

void LabelBlock::ApplyBeforeRailways() const {
    Letter->BeginProjectRestore(rows);
    WriteMainLog(gui::Format("ラベル数：%d\n", int(rows.size())));
}

void LabelBlock::ApplyAfterRailways(bool shown) const {
    Letter->EndProjectRestore(WithStationsMarked(rows, *Letter), shown);
}

void TLetter::RestoreProjectLabels(const std::vector<LabelRecord>& rows) {
    LabelCount = 0;
    FullReported = false;
    for (const LabelRecord& r : rows) {
        LabelRecord kept = r;
        kept.id = 0;
        if (!AppendRow(kept)) break;
    }
    ShowTable();
    ShowCount();
}
void TLetter::BeginProjectRestore(const std::vector<LabelRecord>& rows) {
    ClearLabels();   // the files listed before are not where these labels came from
    RestoreProjectLabels(rows);
    Button8->SetEnabled(true);
    // The restore holds the redraw its handler asks for.
    if (!rows.empty()) CBShow->SetChecked(true);
}

void TLetter::EndProjectRestore(const std::vector<LabelRecord>& rows, bool shown) {
    // A railway load writes station labels from row 0: the project's rows go back in place.
    RestoreProjectLabels(rows);
    if (!rows.empty()) {
        // As after "表示": the labels stand on the map, no placement armed.
        Label8->SetCaption("位置指定ボタンをクリック");
        StopNewLabel();
        Button9->SetEnabled(true);
        LabelPlaced = true;
    }
    // The label box as saved, whatever the railway boxes or the boxes before did to it.
    SetCheckedQuietly(MainUi().CBLabel, shown);
    SetCheckedQuietly(CBShow, shown);
    Close();
}
