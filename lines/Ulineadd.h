// The line editor and the lists of shown line files.
#pragma once
#include "gui/Forms.h"

class TLineAdd : public TForm {
public:
    TLineAdd();

    TCheckBox* CheckBox2;      // "表示": loaded line files shown
    TCheckBox* CheckBox3;
    TLabel* Label18;           // number of loaded files
    int LineFileCount = 0;
    int32_t PointCount = 0;      // points of the edited line
    TColor LineColor = 0;        // colour of the edited line
    uint8_t LineSaved = 1;       // 0 after a change not yet saved
    uint8_t AttrTableDirty = 1;  // the attribute table is refilled from the files
    int PaintLine = 0;         // 1: line files drawn under the paint too
    bool EditLineShown = false;
    bool EditLineRedraw = false;

    // Where a map click puts a line point: 0 nowhere, 1 at the end, 2 after the chosen row.
    int PointMode = 0;
    int32_t SelectedPoint = 0;       // row a point is inserted at or moved
};

extern TLineAdd* LineAdd;
