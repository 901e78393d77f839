// The hand-made map of tests/engine with the label window's helpers.
#pragma once
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "tests/engine/AreaFiles.h"
#include "tests/engine/HandMap.h"
#include <string>

class LabelsMap : public HandMap {
protected:
    TLetter* L = nullptr;
    void SetUp() override {
        HandMap::SetUp();
        L = Letter;
        gui::testing::Messages().clear();
    }
    // A label row at pixel (px, py).
    void Row(const std::string& text, int px, int py, TColor color, const std::string& shown = "●",
             const std::string& size = "10", const std::string& fileNo = "") {
        auto [x, y] = At(px, py);
        LabelRecord r;
        r.mark = "○";
        r.x = x, r.y = y;
        r.text = text;
        r.size = std::stoi(size);
        r.shown = !shown.empty();
        r.color = color;
        r.numbered = !fileNo.empty();
        r.fileNo = r.numbered ? std::stoi(fileNo) : 0;
        ASSERT_TRUE(L->AppendRow(r));
        L->ShowTable();
    }
    std::string Cell(int c, int r) { return L->StringGrid1->Cells(c, r); }
    // What the grid's cell editor does when the user ends typing into a cell.
    static bool Type(TCellGrid* g, int c, int r, const std::string& text) {
        return g->model()->setData(g->model()->index(r, c), QString::fromStdString(text), Qt::EditRole);
    }
    void Write(const std::string& rel, const std::string& text) { areafiles::WriteText(programDir / rel, text); }
    std::string Bytes(const std::string& rel) { return testsupport::ReadBytes(programDir / rel); }
    static std::string Sjis(const std::string& s) { return gui::Utf8ToCp932(s); }
};
