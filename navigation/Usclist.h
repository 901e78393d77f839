// Read-only numbers of the current view; also keeps the view history.
#pragma once
#include "gui/Forms.h"

class TSCList : public TForm {
public:
    TSCList();
    void FormCreate(TObject* Sender) override;
    void FormClose(TObject* Sender, TCloseAction& Action) override;
    void Button1Click(TObject* Sender);

    // Value labels, each beside its caption; the redraw writes them.
    TLabel *Label11, *Label35, *Label13, *Label46, *Label15, *Label16, *Label17, *Label18, *Label19, *Label20,
        *Label43, *Label44, *Label48, *Label32, *Label33, *Label34, *Label38, *Label39, *Label31, *Label36,
        *Label12, *Label37, *Label40, *Label14;
    TButton* Button1;   // "閉じる"

private:
    std::vector<TLabel*> values;
};

extern TSCList* SCList;
