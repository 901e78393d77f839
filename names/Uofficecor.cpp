#include "names/Uofficecor.h"
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "gui/TextFile.h"
#include "names/NameFiles.h"
#include "names/Uoffice.h"

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
    const char* caption = "市町村情報の修正・追加";
    const std::string path = Label4->Caption();
    const bool correcting = !Edit2->Enabled();
    std::vector<std::string> lines, f;
    if (!names::ReadRawLines(path, lines)) {
        names::ReportWriteFailure(path, caption);
        return;
    }
    auto field = [this](int i) { return gui::Utf8ToCp932(EditOf(i)->Text()); };
    int at;
    if (correcting) {
        // The row on show, keeping its own name.
        at = path == Office->RowFile ? Office->FindShownRow(lines) : -1;
        if (at < 0) {
            names::ReportRowGone(path, caption);
            return;
        }
        TMyStr::SplitCsv(lines[at], f);
        std::string row = field(1) + "," + (f.size() > 1 ? f[1] : std::string());
        for (int i = 3; i <= 9; ++i) row += "," + field(i);
        lines[at] = row;
    } else {
        std::string row = field(1);
        for (int i = 2; i <= 9; ++i) row += "," + field(i);
        lines.push_back(row);
        at = int(lines.size()) - 1;
    }
    if (!names::WriteRawLines(path, lines)) {
        names::ReportWriteFailure(path, caption);
        return;
    }
    SetModalResult(mrOk);
    Close();
    // The window shows the row as the file now holds it.
    Office->ShowFileRow(path, at);
    Application->MessageBox(gui::Format(correcting ? "%s の %s のデータを修正しました　　　　" : "%s に %s のデータを追加しました　　　　",
                                        path.c_str(), Office->Label4->Caption().c_str()),
                            caption, MB_OK);
}
