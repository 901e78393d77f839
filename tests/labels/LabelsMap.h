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
        r.text = text;
        r.color = color;
        const std::string cells[10] = {"○", std::to_string(x), std::to_string(y), text, size, shown, "", "", "", fileNo};
        ASSERT_TRUE(L->AppendRow(r, cells));
    }
    std::string Cell(int c, int r) { return L->StringGrid1->Cells(c, r); }
    void Write(const std::string& rel, const std::string& text) { areafiles::WriteText(programDir / rel, text); }
    std::string Bytes(const std::string& rel) { return testsupport::ReadBytes(programDir / rel); }
    static std::string Sjis(const std::string& s) { return gui::Utf8ToCp932(s); }
};
