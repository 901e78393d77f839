// The list of the shown names with their kinds and readings.
#pragma once
#include "engine/Coords.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <vector>

class TYomiList : public TForm {
public:
    TYomiList();
    static constexpr int LIST_MAX = 2000;

    TStringGrid* StringGrid1;   // x, y, kind, name, reading
    TCheckBox *CBOldNeg, *CBGyaku, *CBKanaHi;
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8;
    TLabel *Label7, *Label8, *Label9, *Label10, *Label11, *Label12;
    TPopupMenu* PopupMenu1;
    TMenuItem *Towns, *kencho;
    TSaveDialog* SaveDialog1;

    bool BuildDisplayedNameList();
    // The names inside an output's view (its size may not be the screen's).
    bool BuildDisplayedNameList(const MapView& view);
    // Merges the grid into the readings table and writes the readings file.
    bool WriteYomiList();
    void StringGrid1Click(TObject* Sender);
    void StringGrid1SelectCell(TObject* Sender, int col, int row, bool& canSelect);
    void StringGrid1SetEditText(TObject* Sender, int col, int row, const std::string& value);
    void Button1Click(TObject* Sender);   // "読みがな保存"
    void Button2Click(TObject* Sender);   // "種　別"
    void Button3Click(TObject* Sender);   // "五十音順"
    void Button4Click(TObject* Sender);   // "漢字コード順"
    void Button5Click(TObject* Sender);   // "閉じる"
    void Button6Click(TObject* Sender);   // "リスト保存"
    void Button7Click(TObject* Sender);   // "位置修正"
    void CBOldNegClick(TObject* Sender);
    // Office data (the list's pop-up menu and double click).
    void TownsClick(TObject* Sender);
    void StringGrid1DblClick(TObject* Sender);
    void kenchoClick(TObject* Sender);
    void Button8Click(TObject* Sender);   // "情報チェック"

private:
    // Per grid row: the readings record whose reading it shows (-1 none), and
    // whether the user edited the row since the list was built or saved.
    std::vector<int> RowRecord;
    std::vector<char> RowEdited;
    void SortBy(const char* mode, const char* caption, TLabel* mark);
};

extern TYomiList* YomiList;
