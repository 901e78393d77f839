// Municipal and prefectural office data.
#pragma once
#include "gui/Forms.h"
#include <string>
#include <vector>

class TOffice : public TForm {
public:
    TOffice();

    // Code, name, reading, postal code, address, telephone, home page, mail, date.
    TLabel *Label1, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10, *Label13, *Label19;
    TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7;

    void Button1Click(TObject* Sender);   // "閉じる"
    void Button2Click(TObject* Sender);   // "修正"
    void Button3Click(TObject* Sender);   // "追加"
    void Button4Click(TObject* Sender);   // "削除"
    void Button5Click(TObject* Sender);   // "選択抽出"
    void Button6Click(TObject* Sender);   // "結　合"
    void Button7Click(TObject* Sender);   // "合併施行日"
    void Label9Click(TObject* Sender);
    void Label10Click(TObject* Sender);

    // Shows the rows named name in the files in turn; false when none matched.
    bool ShowRows(const std::vector<std::string>& files, const std::string& name);
    void ShowRow(const std::vector<std::string>& f, const std::string& name);
    void ShowNotFound(const std::string& name);
    static std::string OfficeFilePath(int code);
};

extern TOffice* Office;
