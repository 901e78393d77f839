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

    // The row on show: its file (where an added row goes), its line there
    // (-1 while no row is shown) and that line's bytes as read.
    std::string RowFile;
    int RowLine = -1;
    std::string RowBytes;

    // Shows the rows named name in the files in turn; false when none matched.
    bool ShowRows(const std::vector<std::string>& files, const std::string& name);
    // Shows line index of the file as it is now; false when there is no such line.
    bool ShowFileRow(const std::string& path, int index);
    void ShowNotFound(const std::string& name);
    // The line of lines that is the row on show, or -1 when the file no longer holds it.
    int FindShownRow(const std::vector<std::string>& lines) const;
    static std::string OfficeFilePath(int code);

private:
    void ShowRow(const std::vector<std::string>& f, const std::string& path, int index, const std::string& bytes);
};

extern TOffice* Office;
