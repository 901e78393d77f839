#include "names/Unamedel.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "engine/Convert.h"
#include "engine/MapDocument.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "names/MainFormNames.h"
#include "names/NameTools.h"
#include "names/NameFiles.h"
#include "names/NameTables.h"

TNameDel* NameDel = nullptr;

TNameDel::TNameDel() : TForm(" 市区町村名削除/追加") {
    SetFormStyle(fsStayOnTop);
    auto lbl = [this](int x, int y, int w, const std::string& s = "") { return gui::Lbl(this, s, x, y, w); };
    auto btn = [this](const std::string& s, int x, int y) { return gui::Btn(this, s, x, y, 90); };
    Label1 = lbl(8, 8, 200);
    Label2 = lbl(8, 28, 340);
    // Delete part.
    Label3 = lbl(8, 54, 240, "削除する市町村名をクリック");
    Label3->SetVisible(false);
    Label4 = lbl(8, 76, 80);
    Label5 = lbl(92, 76, 80);
    Label6 = lbl(176, 76, 160);
    Label7 = lbl(8, 98, 300);
    Button2 = btn("削除指定", 8, 120);
    Button3 = btn("削 除", 104, 120);
    Button3->SetEnabled(false);
    Button6 = btn("キャンセル", 200, 120);
    // Add part.
    Edit1 = new TEdit(this, "市町村名");
    Edit1->setAccessibleName("追加する市町村名");
    Edit1->SetBounds(8, 160, 160, 24);
    RadioGroup1 = new TRadioGroup(this, "タイプ");
    RadioGroup1->SetItems({"A 通常 ", "B 新名称", "X 旧名称"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(176, 150, 160, 84);
    Label9 = lbl(8, 190, 160);
    Label10 = lbl(8, 212, 80);
    Label11 = lbl(92, 212, 80);
    Label12 = lbl(8, 240, 300);
    Button4 = btn("追加指定", 8, 264);
    Button5 = btn("追 加", 104, 264);
    Button5->SetEnabled(false);
    Button7 = btn("キャンセル", 200, 264);
    Button1 = btn("閉じる", 250, 300);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    SetClientSize(348, 334);
}

void TNameDel::FormCreate(TObject* Sender) {
    for (TLabel* l : {Label4, Label5, Label6, Label7, Label10, Label11, Label12}) l->SetCaption("");
}

void TNameDel::Button2Click(TObject* Sender) {
    Label3->Show();
    for (TLabel* l : {Label4, Label5, Label6, Label7}) l->SetCaption("");
    MainTools().SetTool(std::make_unique<NameDeleteTool>(*Open));
    Button3->SetEnabled(false);
}

void TNameDel::Button3Click(TObject* Sender) {
    if (!RewriteMapFile()) return;
    for (TLabel* l : {Label4, Label5, Label6}) l->SetCaption("");
    Label7->SetCaption("削除しました");
    Label3->Hide();
    Button3->SetEnabled(false);
    MainTools().FinishTool<NameDeleteTool>();
    // The next name can be picked.
    Button2->SetEnabled(true);
}

void TNameDel::Button6Click(TObject* Sender) {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<NameDeleteTool>()) return MainTools().EndActiveTool();
    Label3->Hide();
    for (TLabel* l : {Label4, Label5, Label6, Label7}) l->SetCaption("");
    Button3->SetEnabled(false);
    Button2->SetEnabled(true);
}

void TNameDel::Button4Click(TObject* Sender) {
    const std::string name = Edit1->Text();
    if (name == "市町村名") {
        Application->MessageBox("市町村名を入力してください　　　　　", "市町村名エラー", MB_OKCANCEL);
        return;
    }
    for (TLabel* l : {Label10, Label11, Label12}) l->SetCaption("");
    Label9->SetCaption("追加する位置をクリック");
    Button5->SetEnabled(false);
    MainTools().SetTool(std::make_unique<NameAddTool>(*Open));
}

void TNameDel::Button5Click(TObject* Sender) {
    MainTools().FinishTool<NameAddTool>();
    if (!AddNameToMapFile()) return;
    Label12->SetCaption("追加しました");
    for (TLabel* l : {Label9, Label10, Label11}) l->SetCaption("");
    Button4->SetEnabled(true);
    Button5->SetEnabled(false);
    RedrawMap();
}

void TNameDel::Button7Click(TObject* Sender) {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<NameAddTool>()) return MainTools().EndActiveTool();
    for (TLabel* l : {Label9, Label10, Label11, Label12}) l->SetCaption("");
    Button4->SetEnabled(true);
    Button5->SetEnabled(false);
}

void TNameDel::Button1Click(TObject* Sender) {
    MainTools().FinishTool<NameAddTool>();
    MainTools().FinishTool<NameDeleteTool>();
    Close();
}

bool TNameDel::RewriteMapFile() {
    const int32_t x = LenientInt(Label4->Caption()), y = LenientInt(Label5->Caption());
    const std::string name = Label6->Caption();
    const std::string path = MapFilePath(*Open, MainDoc().SelectCode[0]);
    std::vector<std::string> lines, kept, f;
    const std::string key = gui::Utf8ToCp932(name);
    bool ok = names::ReadRawLines(path, lines);
    if (ok) {
        for (const std::string& l : lines)
            if (!names::IsNameRecord(l, x, y, key, f)) kept.push_back(l);
        ok = names::WriteRawLines(path, kept);
    }
    if (!ok) {
        names::ReportWriteFailure(path, "市区町村名削除");
        return false;
    }
    // Every identical record goes, whatever its kind.
    for (int kind : {0, 1, 2}) {
        names::NameTable t = names::TableOf(MainDoc(), kind);
        int n = t.Count(), w = 0;
        for (int i = 0; i < n; ++i) {
            if (t.x[i] == x && t.y[i] == y && t.name[i] == name) continue;
            t.x[w] = t.x[i], t.y[w] = t.y[i], t.name[w] = t.name[i], t.dup[w] = t.dup[i];
            ++w;
        }
        t.count = w;
    }
    RedrawMap();
    return true;
}

bool TNameDel::AddNameToMapFile() {
    const int k = std::clamp(RadioGroup1->ItemIndex(), 0, 2);
    const char kind = "ABX"[k];
    const std::string name = Edit1->Text();
    if (!names::IsPlainField(name)) {
        Application->MessageBox("市町村名に空白，カンマ，タブは使用できません　　　", "市町村名エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    names::NameTable t = names::TableOf(MainDoc(), kind == 'A' ? 0 : kind == 'X' ? 1 : 2);
    if (t.Count() >= t.capacity) {
        Application->MessageBox("市町村名データが多すぎて追加できません　　　", "市町村名エラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const int32_t x = LenientInt(Label10->Caption()), y = LenientInt(Label11->Caption());
    const std::string path = MapFilePath(*Open, MainDoc().SelectCode[0]);
    std::vector<std::string> lines;
    bool ok = names::ReadRawLines(path, lines);
    if (ok) {
        lines.push_back(gui::Utf8ToCp932(gui::Format("%c,%d,%d,%s", kind, x, y, name.c_str())));
        ok = names::WriteRawLines(path, lines);
    }
    if (!ok) {
        names::ReportWriteFailure(path, "市区町村名追加");
        return false;
    }
    const int i = t.Count();
    t.x[i] = x, t.y[i] = y, t.name[i] = name, t.dup[i] = 's';
    t.count = i + 1;
    return true;
}

bool TNameDel::NameAddArmed() const { return MainTools().ToolAs<NameAddTool>() != nullptr; }
bool TNameDel::NameDeleteArmed() const { return MainTools().ToolAs<NameDeleteTool>() != nullptr; }
