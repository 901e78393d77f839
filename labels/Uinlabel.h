// The labels that lie inside the current view.
#pragma once
#include "gui/CellGrid.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

class TInLabel : public TForm {
public:
    TInLabel();

    TCellGrid* StringGrid1;   // cells 0 to 5 of the listed label rows
    TLabel* Label7;             // count
    TButton *Button1, *Button2, *Button3, *Button4;
    int32_t InLabelCount = 0;
    bool InLabelAllShown = true;
    // The label each listed row shows, by its id: the table may be sorted or
    // cut while the list is open. RowAt caches its place in the table.
    std::vector<uint32_t> RowIds;
    std::vector<int> RowAt;

    void StringGrid1DblClick(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    // Fills the list with these label rows.
    void List(const std::vector<int>& rows);
    // The label row that list row r shows, or -1 when it is gone.
    int LabelOf(int r);
    void Apply();
    void RedrawLabels();
};

extern TInLabel* InLabel;
