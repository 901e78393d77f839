// The labels that lie inside the current view.
#pragma once
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <unordered_map>

class TInLabel : public TForm {
public:
    TInLabel();

    TCellGrid* StringGrid1;   // cells 0 to 5 of the listed label rows
    TLabel* Label7;             // count
    TButton *Button1, *Button2, *Button3, *Button4;
    int32_t InLabelCount = 0;
    bool InLabelAllShown = true;

    void StringGrid1DblClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    // The first label row at the list row's x and y, or -1.
    int MatchingLabel(int r) const;
    // The first label row at each "x,y" of the label grid.
    std::unordered_map<std::string, int> LabelsByPosition() const;
    void Apply();
    void RedrawLabels();
};

extern TInLabel* InLabel;
