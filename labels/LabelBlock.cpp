// The label block of the project file: the shown labels, written and put back.
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
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
    // The text is everything between the third field and the last two, commas and all.
    std::vector<std::string> f = CommaFields(s);
    if (f.size() < 6) return false;
    const size_t n = f.size();
    std::string text = f[3];
    for (size_t k = 4; k + 2 < n; ++k) text += "," + f[k];
    const std::string cells[5] = {f[0], f[1], f[2], text, f[n - 2]};
    for (int c : {1, 2, 4})
        if (!TryStrToInt(cells[c]).has_value()) return false;
    if (!InMapRange(*TryStrToInt(cells[1]), *TryStrToInt(cells[2]))) return false;
    auto colour = TryStrToInt(f[n - 1]);
    if (!colour.has_value()) return false;
    for (int c = 0; c < 5; ++c) row.cells[c] = cells[c];
    row.colour = TColor(*colour);
    return true;
}

void TLetter::WriteProjectLabels(gui::TextWriter& w) const {
    std::vector<int> rows;
    for (int i = 0; i < LabelCount; ++i)
        if (!StringGrid1->Cells(5, i).empty()) rows.push_back(i);
    w.Printf("%d,ROWCOUNT\n", int(rows.size()));
    for (int i : rows)
        w.Printf("%s,%s,%s,%s,%s,%d\n", StringGrid1->Cells(0, i).c_str(), StringGrid1->Cells(1, i).c_str(),
                 StringGrid1->Cells(2, i).c_str(), StringGrid1->Cells(3, i).c_str(), StringGrid1->Cells(4, i).c_str(),
                 int(LabelTable[i].color));
}

void TLetter::RestoreProjectLabels(const std::vector<ProjectData::Label>& rows) {
    const int m = int(rows.size());
    SetGridRows(std::max(m, 1));
    for (int i = 0; i < m; ++i) {
        const ProjectData::Label& row = rows[i];
        for (int c = 0; c < 5; ++c) StringGrid1->SetCells(c, i, row.cells[c]);
        StringGrid1->SetCells(5, i, "●");
        for (int c = 6; c < 10; ++c) StringGrid1->SetCells(c, i, "");
        LabelRecord r;
        r.mark = row.cells[0];
        CellInt(row.cells[1], r.x);
        CellInt(row.cells[2], r.y);
        r.text = row.cells[3];
        CellInt(row.cells[4], r.size);
        r.shown = "●";
        r.color = row.colour;
        LabelTable[i] = r;
    }
    LabelCount = m;
    ShowCount();
}
