// The hand-made map with helpers for lines: files in the program folder,
// points pressed on pixels, and marks off a line's own row.
#pragma once
#include "gui/TextFile.h"
#include "gui/Testing.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "tests/engine/HandMap.h"
#include "tests/support/ToolPress.h"
#include <fstream>

class LineMap : public HandMap {
protected:
    TLineAdd* la = nullptr;
    TColor bg = 0;

    void SetUp() override {
        HandMap::SetUp();
        la = LineAdd;
        bg = Px(5, 300);
    }

    // A file of the program folder with the given bytes; returns its path.
    std::string Put(const std::string& name, const std::string& bytes) {
        const std::string path = (programDir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Bytes(const std::string& path) { return testsupport::ReadBytes(path); }

    // A new line through the pressed pixels; (-1, -1) puts a break.
    void NewLine(const std::vector<std::pair<int, int>>& pixels) {
        la->Button2Click(nullptr);
        for (auto [x, y] : pixels) {
            if (x < 0) la->Button13Click(nullptr);
            else ToolPress(x, y);
        }
        la->Button10Click(nullptr);
    }

    // Rows of the point grid as "x,y".
    std::vector<std::string> Rows() {
        std::vector<std::string> r;
        for (int i = 0; i < la->PointCount(); i++)
            r.push_back(la->StringGrid1->Cells(1, i) + "," + la->StringGrid1->Cells(2, i));
        return r;
    }

    // Any pixel other than the background in column x, rows y0..y1.
    bool Marked(int x, int y0, int y1) {
        for (int y = y0; y <= y1; y++)
            if (Px(x, y) != bg) return true;
        return false;
    }

    // A line file in the file layout: one "%7d,%7d" row per pixel point, (-1, -1) a break.
    std::string LineFileText(const std::vector<std::pair<int, int>>& pixels, TColor colour, int type, int size,
                             int arrow = 0, int asize = 12, int step = 0) {
        std::string s = gui::Format("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n",
                                    1, int(pixels.size()), int(colour), type, size, arrow, asize, step);
        for (auto [px, py] : pixels) {
            auto [x, y] = px < 0 ? std::pair<int32_t, int32_t>{0, 0} : At(px, py);
            s += gui::Format("%7d,%7d\r\n", x, y);
        }
        return s;
    }

    void ShowFiles(const std::vector<std::string>& paths, bool add = false) {
        std::string joined;
        for (const auto& p : paths) joined += (joined.empty() ? "" : "\n") + p;
        la->CBFileAdd->SetChecked(add);
        gui::testing::QueueFileName(joined);
        la->BtnFileClick(nullptr);
    }
};
