// What the railway loader found for the shown regions.
#pragma once
#include "gui/Forms.h"
#include <string>
#include <vector>

// What a table refilled on every redraw last got, so that only the cells
// that change are written to the grid.
struct GridShadow {
    int cols = 1;
    std::vector<std::string> cells;
    void Set(TStringGrid* g, int col, int row, const std::string& s);
    void SetRowCount(TStringGrid* g, int n);   // at least one row; cells past it are forgotten
    // A cell the user typed into: the grid holds that text now, whatever was written before.
    void Edited(int col, int row, const std::string& s);
};

class TRail : public TForm {
public:
    TRail();
    void FormCreate(TObject* Sender) override;

    TStringGrid* StringGrid1;   // row number, line name, "描く"/"描かない"
    TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label8, *Label9, *Label11, *Label12;
    TLabel *Label6, *Label7;    // written by the label painter

    // Row r of the list; a cell is written only when its text changes.
    void SetRow(int r, const std::string& name, const std::string& state);
    void SetRowCount(int n);
    GridShadow Shadow{3, {}};
};

extern TRail* Rail;

