// Deletes or adds name records in the per-area map file.
#pragma once
#include "gui/Forms.h"

class TNameDel : public TForm {
public:
    TNameDel();
    void FormCreate(TObject* Sender) override;
    bool NameAddArmed() const;       // the next press gives the position of a name to add
    bool NameDeleteArmed() const;    // the next press picks a name to delete

    TLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label9, *Label10, *Label11, *Label12;
    TEdit* Edit1;                    // name to add
    TRadioGroup* RadioGroup1;        // "タイプ"
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7;

    void Button1Click(TObject* Sender);   // "閉じる"
    void Button2Click(TObject* Sender);   // "削除指定"
    void Button3Click(TObject* Sender);   // "削 除"
    void Button4Click(TObject* Sender);   // "追加指定"
    void Button5Click(TObject* Sender);   // "追 加"
    void Button6Click(TObject* Sender);   // delete part's "キャンセル"
    void Button7Click(TObject* Sender);   // add part's "キャンセル"
    bool RewriteMapFile();
    bool AddNameToMapFile();
};

extern TNameDel* NameDel;
