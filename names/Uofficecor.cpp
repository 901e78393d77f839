#include "names/Uofficecor.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Uopen.h"
#include "names/NameFiles.h"
#include "names/Uoffice.h"
#include "names/Uyomilist.h"

TOfficeCor* OfficeCor = nullptr;

TOfficeCor::TOfficeCor() : TForm("市町村情報の修正・追加") {
    SetPosition(poScreenCenter);
    const char* heads[9] = {"団体コード", "団体名", "ふりがな", "郵便番号", "所在地", "電話番号", "ホームページ", "メール", "施行日"};
    TEdit** edits[9] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int i = 0; i < 9; ++i) {
        auto* h = new TLabel(this, heads[i]);
        h->SetBounds(8, 12 + i * 28, 90, 18);
        *edits[i] = new TEdit(this, "");
        (*edits[i])->SetBounds(104, 8 + i * 28, 340, 24);
    }
    auto* note = new TLabel(this, "半角スペースは使用しないでください");
    note->SetBounds(8, 264, 300, 18);
    Label4 = new TLabel(this, "");
    Label4->SetBounds(8, 284, 440, 18);
    Button2 = new TButton(this, "修正・追加");
    Button2->SetBounds(250, 308, 96, 26);
    Button1 = new TButton(this, "閉じる");
    Button1->SetBounds(352, 308, 90, 26);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    SetClientSize(452, 342);
}

TEdit* TOfficeCor::EditOf(int field) const {
    TEdit* e[9] = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9};
    return e[std::clamp(field, 1, 9) - 1];
}

void TOfficeCor::Button1Click(TObject*) {
    SetModalResult(mrCancel);
    Close();
}

bool TOfficeCor::Validate() {
    struct Rule { TEdit* e; const char* message; };
    const Rule rules[6] = {{Edit1, "団体コードが設定されておりません"}, {Edit2, "団体名が設定されておりません"},
                           {Edit3, "ふりがなが設定されておりません"},   {Edit4, "郵便番号が設定されておりません"},
                           {Edit5, "所在地が設定されておりません"},     {Edit6, "電話番号が設定されておりません"}};
    for (const Rule& r : rules) {
        if (r.e == Edit1 && !Edit1->Enabled()) continue;
        if (r.e->Text().empty()) {
            Application->MessageBox(r.message, "データ設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    // The rewrite splits at commas and blanks.
    for (int i = 1; i <= 9; ++i) {
        if (EditOf(i)->Text().find_first_of(", \t") == std::string::npos) continue;
        Application->MessageBox("半角スペースやカンマは使用しないでください", "データ設定エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void TOfficeCor::Button2Click(TObject* Sender) {
    if (!Validate()) return;
    const std::string path = Label4->Caption();
    std::vector<std::string> lines, f;
    bool ok = names::ReadRawLines(path, lines);
    if (ok) {
        auto field = [this](int i) { return gui::Utf8ToCp932(EditOf(i)->Text()); };
        if (!Edit2->Enabled()) {
            // Only the row shown: same code and same name (two wards may share a name).
            const int code = LenientInt(Office->Label3->Caption());
            const std::string name = gui::Utf8ToCp932(Office->Label4->Caption());
            for (std::string& l : lines) {
                if (TMyStr::SplitCsv(l, f) < 2 || LenientInt(f[0]) != code || f[1] != name) continue;
                std::string row = field(1) + "," + f[1];
                for (int i = 3; i <= 9; ++i) row += "," + field(i);
                l = row;
                break;
            }
        } else {
            std::string row = field(1);
            for (int i = 2; i <= 9; ++i) row += "," + field(i);
            lines.push_back(row);
        }
        ok = names::WriteRawLines(path, lines);
    }
    if (!ok) {
        names::ReportWriteFailure(path, "市町村情報の修正・追加");
        return;
    }
    SetModalResult(mrOk);
    Close();
    YomiList->TownsClick(this);
}
