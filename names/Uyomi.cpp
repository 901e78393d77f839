#include "names/Uyomi.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/MainControls.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"
#include "engine/Redraw.h"
#include "names/Uyomilist.h"
#include "navigation/Usettei.h"
#include "navigation/MainFormNavigation.h"

TYomi* Yomi = nullptr;

TYomi::TYomi() : TForm("　市区町村名読みがな") {
    SetFormStyle(fsStayOnTop);
    CBKana = new TCheckBox(this, "かなのみ");
    CBKana->SetBounds(8, 8, 100, 20);
    Label3 = new TLabel(this, "");
    Label3->SetBounds(8, 32, 200, 18);
    Label1 = new TLabel(this, "");
    Label1->AutoSize = false;  // the pointer read-out rewrites it on every move
    Label1->SetBounds(8, 54, 200, 18);
    Label2 = new TLabel(this, "");
    Label2->AutoSize = false;  // the pointer read-out rewrites it on every move
    Label2->SetBounds(8, 74, 200, 18);
    Label4 = new TLabel(this, "");
    Label4->AutoSize = false;  // the pointer read-out rewrites it on every move
    Label4->SetBounds(8, 94, 100, 18);
    Label7 = new TLabel(this, "読みがながありません");
    Label7->AutoSize = false;  // the pointer read-out rewrites it on every move
    Label7->SetBounds(110, 94, 150, 18);
    Label7->SetVisible(false);
    CBOnMap = new TCheckBox(this, "地図上に表示");
    CBOnMap->SetBounds(112, 8, 120, 20);
    CheckBox1 = new TCheckBox(this, "固定");
    CheckBox1->SetBounds(8, 118, 60, 20);
    CheckBox1->SetChecked(true);
    UpDownEdit = new TEdit(this, "7");
    UpDownEdit->setAccessibleName("読みがな文字サイズ");
    UpDownEdit->SetBounds(72, 116, 40, 24);
    UpDown1 = new TUpDown(this);
    UpDown1->SetBounds(114, 116, 20, 24);
    UpDown1->Min = 5;
    UpDown1->Max = 50;
    UpDown1->SetAssociate(UpDownEdit);
    UpDown1->SetPosition(7);
    Edit1 = new TEdit(this, "0");
    Edit1->SetVisible(false);
    Image1 = new TImage(this);
    Image1->SetBounds(150, 116, 24, 24);
    Image1->SetImageSize(24, 24);
    Button1 = new TButton(this, "...");
    Button1->setAccessibleName("読みがな文字色");
    Button1->SetBounds(178, 116, 30, 24);
    Button2 = new TButton(this, "読みがなをつける");
    Button2->SetBounds(8, 148, 130, 26);
    Button3 = new TButton(this, "市町村名リスト");
    Button3->SetBounds(144, 148, 120, 26);
    Button4 = new TButton(this, "閉じる");
    Button4->SetBounds(144, 180, 120, 26);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    SetClientSize(272, 214);
}

void TYomi::FormCreate(TObject* Sender) {
    YomiShown = false;
    Label4->SetCaption("");
}

void TYomi::ShowNameReading(const std::string& name, const std::string* reading, const std::string& kind) {
    Label1->SetFontColor(MainStyle().TownFontColor);
    Label1->SetCaption(name);
    // A name without a reading says so: the last name's reading must not stay beside it.
    const bool known = reading && !reading->empty();
    Label2->SetFontColor(known ? MainStyle().KanaFontColor : 16711680);
    Label2->SetCaption(known ? SplitReadingSuffix(*reading) : "読みがながありません");
    Label7->SetVisible(!known);
    Label4->SetCaption(kind);
}

void TYomi::ShowNoName() {
    Label1->SetCaption("該当なし");
    Label2->SetCaption("該当なし");
    Label4->SetCaption("");
    Label7->SetVisible(false);
}

int TYomi::SortMode() const { return LenientInt(Edit1->Text()); }

void TYomi::FillSample() {
    TCanvas* c = Image1->Canvas();
    c->Brush->Style = bsSolid;
    c->Brush->Color = MainStyle().KanaFontColor;
    c->FillRect(Rect(0, 0, c->Width(), c->Height()));
}

void TYomi::FormShow(TObject* Sender) { FillSample(); }

void TYomi::Button1Click(TObject* Sender) {
    TColorDialog dlg(this);
    dlg.Color = MainStyle().KanaFontColor;
    if (!dlg.Execute()) return;
    MainStyle().KanaFontColor = dlg.Color;
    FillSample();
}

void TYomi::Button2Click(TObject* Sender) {
    if (!YomiList->BuildDisplayedNameList()) {
        Application->MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RedrawMap();
    if (YomiShown) {
        Button2->SetCaption("読みがなをつける");
        YomiShown = false;
        CBOnMap->SetChecked(true);
        return;
    }
    WriteReadings();
}

// The readings of the listed names on the map as it stands; the window then tells they are shown.
void TYomi::WriteReadings() {
    DrawReadings(*MainUi().Image1->Canvas(), DrawnMapView());
    Button2->SetCaption("読みがなをつけない");
    YomiShown = true;
    CBOnMap->SetChecked(false);
}

void TYomi::DrawReadings(TCanvas& canvas, const MapView& view) {
    float s = UpDown1->Position();
    if (!CheckBox1->Checked()) s = s * view.size / 600;
    TCanvas* cv = &canvas;
    cv->Font->Size = TruncToInt(s);
    cv->Font->Color = MainStyle().KanaFontColor;
    cv->Brush->Style = bsSolid;
    cv->Brush->Color = MainStyle().BackColor;
    const int32_t lift = CBKana->Checked() ? 0 : TruncToInt(2 * s / view.scaleX);
    TStringGrid* g = YomiList->StringGrid1;
    for (int r = 0; r < g->RowCount(); ++r) {
        const std::string kind = g->Cells(2, r), name = g->Cells(3, r);
        if (kind == "政" && !Settei->CBCityName->Checked()) continue;
        if (kind == "旧" && !MainUi().CBOldTown->Checked()) continue;
        if (kind == "新" && MainUi().CBOldTown->Checked()) continue;
        if (ContainsWard(name) && !Settei->CBKuName->Checked()) continue;
        int sx, sy;
        view.ToScreen(LenientInt(g->Cells(0, r)), LenientInt(g->Cells(1, r)) + lift, sx, sy);
        cv->TextOut(sx, sy, g->Cells(4, r));
    }
}

void TYomi::Button3Click(TObject* Sender) {
    if (!YomiList->BuildDisplayedNameList()) {
        Application->MessageBox("読みがなを表示する市区町村名が多すぎます", "読みがなエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (MainDoc().SELECT == 1) {
        YomiList->SetCaption(MainDoc().AreaName[MainDoc().SelectCode[0]] + " 読みがな編集");
        YomiList->Button1->SetEnabled(true);
    } else {
        YomiList->SetCaption(" 読みがな編集");
        YomiList->Button1->SetEnabled(false);
    }
    YomiList->Label12->SetCaption("");
    YomiList->Button7->SetEnabled(false);
    YomiList->Show();
}

void TYomi::Button4Click(TObject* Sender) { Close(); }

// ---- TOpen: the readings switch and the helpers the list and the read-out share ----

bool IsAreaSelected(const TOpen& o, int code) {
    for (int a = 0; a < DocOf(o).SELECT && a < 100; ++a)
        if (DocOf(o).SelectCode[a] == code) return true;
    return false;
}

void CBYomiClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).CBYomi->Checked()) {
        UiOf(o).CBMainDoubleName->SetChecked(false);
        Yomi->YomiShown = false;
        Yomi->Show();
    } else {
        Yomi->YomiShown = true;
        Yomi->Close();
        YomiList->Close();
    }
}
