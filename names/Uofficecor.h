// Corrects, adds and deletes office data rows.
#pragma once
#include "gui/Forms.h"

class TOfficeCor : public TForm {
public:
    TOfficeCor();

    TEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    TLabel* Label4;     // the file to rewrite
    TButton *Button1, *Button2;   // "閉じる", "修正・追加"
    TEdit* EditOf(int field) const;   // 1 to 9

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    bool Validate();
};

extern TOfficeCor* OfficeCor;
