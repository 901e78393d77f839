// The labels that lie inside the current view.
#pragma once
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TInLabel : public TForm {
public:
    TInLabel();

    TCellGrid* StringGrid1;   // cells 0 to 5 of the listed label rows
    TLabel* Label7;             // count
    TButton *Button1, *Button2, *Button3, *Button4;
    int32_t InLabelCount = 0;
    bool InLabelAllShown = true;
    // Each listed row's tag, also kept in the record of the label it came from;
    // every filling gives new tags, so a row never reaches a label listed before.
    std::vector<uint32_t> RowTags;
    uint32_t LastTag = 0;

    void StringGrid1DblClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    // Fills the list with these label rows, each tied to its label.
    void List(const std::vector<int>& rows);
    // The label row that list row r came from, or -1 when it is gone.
    int MatchingLabel(int r) const;
    // The label row of each tag.
    std::unordered_map<uint32_t, int> LabelsByTag() const;
    void Apply();
    void RedrawLabels();
};

extern TInLabel* InLabel;
