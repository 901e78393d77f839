// Mountain and island search over all areas.
#pragma once
#include "gui/Forms.h"
#include <string>

class TSearch : public TForm {
public:
    TSearch();
    void FormCreate(TObject* Sender) override;

    // The found mountain or island is drawn in the highlight colour.
    bool SearchHighlight = false;
    std::string SearchFoundName;

    TEdit* Edit1;
    TCheckBox* CBSame;          // "完全一致"
    TStringGrid* StringGrid1;   // area, name, height, reading
    TLabel* Label3;
    TImage* Image1;
    TButton *Button1, *Button2, *Button3;   // "検索", "閉じる", "..."

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void StringGrid1Click(TObject* Sender);
    void FillSample();
};

extern TSearch* Search;
