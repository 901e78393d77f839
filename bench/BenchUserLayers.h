// What a user adds over the map, for the benchmarks of a full map: 5000
// labels, 500 symbols and line files of 20 points, laid out from (x0, y0)
// with spacings that grow with spread.
#pragma once
#include "bench/BenchProgram.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include <fstream>
#include <string>

namespace benchutil {

inline void AddUserLayers(int32_t x0, int32_t y0, int spread, int lineFiles) {
    std::string labels;
    for (int i = 0; i < 5000; ++i)
        labels += gui::Format("●,%d,%d,L%d,10,%d\r\n", x0 + i % 100 * 400 * spread, y0 + i / 100 * 800 * spread, i,
                              i * 97 % 0xFFFFFF);
    std::ofstream("labels.lbl", std::ios::binary) << labels;
    Letter->ReadLabelFile("labels.lbl");
    // The labels are on the map, so a restore draws them as it did before the file kept "ラベル".
    Open->ui.CBLabel->SetChecked(true);
    for (int i = 0; i < 500; ++i) {
        PagesDlg->SymbolCode = 101 + i % 20;
        PagesDlg->AddPlacedSymbol(x0 + i % 25 * 1600 * spread, y0 + i / 25 * 2000 * spread);
    }
    std::string names;
    for (int k = 0; k < lineFiles; ++k) {
        const std::string name = gui::Format("line%03d.adl", k);
        std::string text = gui::Format("K,%5d,%5d,%d,%d,%d,%d,%d,%d//K/1/Points/Color/LineType/Size/Arrow/Asize/Step\r\n",
                                       1, 20, 0x0000C0 + k, 0, 1, k % 2, 12, 0);
        for (int p = 0; p < 20; ++p)
            text += gui::Format("%7d,%7d\r\n", x0 + (k * 800 + p * 300) * spread, y0 + p * 900 * spread);
        std::ofstream(name, std::ios::binary) << text;
        names += (names.empty() ? "" : "\n") + gui::CurrentDirectory() + "/" + name;
    }
    gui::testing::QueueFileName(names);
    LineAdd->BtnFileClick(nullptr);
}

} // namespace benchutil
