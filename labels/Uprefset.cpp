#include "labels/Uprefset.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "labels/LabelTools.h"
#include "labels/Uletter.h"
#include "navigation/Usettei.h"

TPrefSet* PrefSet = nullptr;

TPrefSet::TPrefSet() : TForm("　都道府県名文字特性一括設定") {
    SetFormStyle(fsStayOnTop);
    SetClientSize(340, 200);
    auto btn = [this](const std::string& c, int x, int y, int w, const std::string& hint = "") {
        return gui::Btn(this, c, x, y, w, hint, 24);
    };
    auto lbl = [this](const std::string& c, int x, int y) { return gui::Lbl(this, c, x, y, 80); };
    auto updown = [this](TEdit*& e, TUpDown*& u, int x, int y, int pos) {
        e = new TEdit(this, std::to_string(pos));
        e->SetBounds(x, y, 36, 22);
        u = new TUpDown(this);
        u->SetBounds(x + 36, y, 16, 22);
        u->Min = 6;
        u->Max = 50;
        u->SetAssociate(e);
        u->SetPosition(pos);
    };
    lbl("都道府県名", 8, 8);
    lbl("県庁所在地", 8, 36);
    Image1 = new TImage(this);
    Image1->SetBounds(92, 8, 20, 20);
    Image1->SetImageSize(20, 20);
    Image2 = new TImage(this);
    Image2->SetBounds(92, 36, 20, 20);
    Image2->SetImageSize(20, 20);
    Button1 = btn("...", 116, 6, 24);
    Button2 = btn("...", 116, 34, 24);
    lbl("サイズ", 150, 8);
    updown(Edit1, UpDown1, 196, 6, 10);
    updown(Edit2, UpDown2, 196, 34, 8);
    CheckBox1 = new TCheckBox(this, "県");
    CheckBox1->SetBounds(256, 8, 40, 20);
    CheckBox1->SetHint("府・県を付ける");
    CheckBox2 = new TCheckBox(this, "市");
    CheckBox2->SetBounds(256, 36, 40, 20);
    CheckBox2->SetHint("市・町を付ける");
    CheckBox2->SetChecked(true);
    CheckBox3 = new TCheckBox(this, "都道府県名");
    CheckBox3->SetBounds(8, 64, 110, 20);
    CheckBox4 = new TCheckBox(this, "都道府県庁");
    CheckBox4->SetBounds(120, 64, 110, 20);
    Button4 = btn("決　定", 8, 92, 70, "設定値で地図を描く");
    Button4->SetDefault(true);
    Button5 = btn("県名移動", 84, 92, 70, "県名の表示位置を移動");
    Button6 = btn("保　存", 160, 92, 70, "県名位置データを保存する");
    Button6->SetEnabled(false);
    Button7 = btn("キャンセル", 236, 92, 80, "県名表示位置移動を中止する");
    Button7->SetEnabled(false);
    Button3 = btn("閉じる", 236, 164, 80);
    Label6 = new TLabel(this, "");
    Label6->SetBounds(8, 124, 320, 18);
    ColorDialog1 = new TColorDialog(this);

    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject*) { Close(); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    CheckBox3->OnClick = [this](TObject* s) { CheckBox3Click(s); };
    CheckBox4->OnClick = [this](TObject* s) { CheckBox4Click(s); };
    UpDown1->OnClick = [this](TObject*, TUDBtnType) { MainStyle().DefPrefSize = UpDown1->Position(); };
    UpDown2->OnClick = [this](TObject*, TUDBtnType) { MainStyle().DefPrefSeatSize = UpDown2->Position(); };
}

void TPrefSet::FillSwatches() {
    if (!Open) return;
    gui::FillSwatch(Image1, MainStyle().DefPrefColor);
    gui::FillSwatch(Image2, MainStyle().DefPrefSeatColor);
}

void TPrefSet::FormCreate(TObject* Sender) {
    FillSwatches();
    Label6->SetCaption("");
}

void TPrefSet::FormShow(TObject* Sender) {
    UpDown1->SetPosition(MainStyle().DefPrefSize);
    UpDown2->SetPosition(MainStyle().DefPrefSeatSize);
    FillSwatches();
}

void TPrefSet::Button1Click(TObject* Sender) {
    ColorDialog1->Color = MainStyle().DefPrefColor;
    if (!ColorDialog1->Execute()) return;
    MainStyle().DefPrefColor = ColorDialog1->Color;
    gui::FillSwatch(Image1, MainStyle().DefPrefColor);
}

void TPrefSet::Button2Click(TObject* Sender) {
    ColorDialog1->Color = MainStyle().DefPrefSeatColor;
    if (!ColorDialog1->Execute()) return;
    MainStyle().DefPrefSeatColor = ColorDialog1->Color;
    gui::FillSwatch(Image2, MainStyle().DefPrefSeatColor);
}

void TPrefSet::Button4Click(TObject* Sender) {
    for (LabelRecord& r : Letter->PrefNameTable) r.color = MainStyle().DefPrefColor, r.size = UpDown1->Position();
    for (LabelRecord& r : Letter->PrefSeatTable) r.color = MainStyle().DefPrefSeatColor, r.size = UpDown2->Position();
    RedrawMap();
}

void TPrefSet::Button5Click(TObject* Sender) {
    MainTools().SetTool(std::make_unique<PrefNameTool>(*Open));
    Label6->SetCaption("移動する県名をクリックしてください");
    Button7->SetEnabled(true);
}

void TPrefSet::Button7Click(TObject* Sender) {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<PrefNameTool>()) return MainTools().EndActiveTool();
    Label6->SetCaption("移動をキャンセルしました");
    Button7->SetEnabled(false);
}

void TPrefSet::Button6Click(TObject* Sender) {
    const std::string path = MainDoc().AppDir + "/Mapdata/prefname.lbl";
    bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (int i = 0; i < Letter->PrefNameCount; ++i) {
            const LabelRecord& r = Letter->PrefNameTable[i];
            if (!w.Write(r.mark + gui::Format(",%d,%d,", r.x, r.y) + r.text + gui::Format(",%d,%d\n", r.size, r.color)))
                return false;
        }
        return true;
    });
    if (!ok) {
        MessageBox("都道府県名ファイルprefname.lblを保存できませんでした", "ファイル保存エラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Label6->SetCaption("保存しました");
    Button6->SetEnabled(false);
}

void TPrefSet::CheckBox3Click(TObject* Sender) {
    Settei->CBKenName->SetChecked(CheckBox3->Checked());
    Button5->SetEnabled(CheckBox3->Checked());
}

void TPrefSet::CheckBox4Click(TObject* Sender) { Settei->CBKenOffice->SetChecked(CheckBox4->Checked()); }
