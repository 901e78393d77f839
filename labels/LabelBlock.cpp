// The label block of the project file: the shown labels, written and put back.
#include "engine/Coords.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "engine/Uopen.h"
#include "output/Uproject.h"

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

} // namespace

bool ParseProjectLabelRow(const std::string& s, ProjectData::Label& row) {
    // The block writes each text as it stands, commas and all.
    LabelRecord r;
    if (!LabelOfFields(CommaFields(s), true, 0, r) || !InMapRange(r.x, r.y)) return false;
    row = std::move(r);
    return true;
}

void TLetter::WriteProjectLabels(gui::TextWriter& w) const {
    int shown = 0;
    for (int i = 0; i < LabelCount; ++i) shown += LabelTable[i].shown;
    w.Printf("%d,ROWCOUNT\n", shown);
    for (int i = 0; i < LabelCount; ++i) {
        const LabelRecord& r = LabelTable[i];
        if (r.shown) w.Printf("%s,%d,%d,%s,%d,%d\n", r.mark.c_str(), r.x, r.y, r.text.c_str(), r.size, int(r.color));
    }
}

void TLetter::RestoreProjectLabels(const std::vector<ProjectData::Label>& rows) {
    LabelCount = 0;
    FullReported = false;
    for (const LabelRecord& r : rows) {
        LabelRecord shown = r;
        shown.shown = true;
        shown.id = 0;
        if (!AppendRow(shown)) break;
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

void TLetter::EndProjectRestore(const std::vector<LabelRecord>& rows) {
    // A railway load writes station labels from row 0: the project's rows go back in place.
    RestoreProjectLabels(rows);
    if (!rows.empty()) {
        // As after "表示": the labels stand on the map, no placement armed.
        Label8->SetCaption("位置指定ボタンをクリック");
        Open->LabelMode = false;
        Button9->SetEnabled(true);
        Open->CBLabel->SetChecked(true);
        LabelPlaced = true;
    }
    Close();
}
