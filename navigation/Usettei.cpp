#include <tuple>
#include "navigation/Usettei.h"
#include "engine/Settings.h"
#include "gui/FormParts.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "navigation/MainFormNavigation.h"
#include "lines/MainFormLines.h"
#include "labels/MainFormLabels.h"
#include "names/MainFormNames.h"
#include "labels/Uletter.h"
#include "labels/Uprefset.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "names/Usearch.h"
#include "names/Uyomi.h"
#include "navigation/Ukeisoku.h"
#include "navigation/NavigationTools.h"

TSettei* Settei = nullptr;

namespace {

struct Grid {
    QWidget* parent;
    TCheckBox* check(const std::string& caption, int x, int y, int w, bool on = false, const std::string& hint = "") {
        return gui::Check(parent, caption, x, y, w, on, hint);
    }
    TButton* button(const std::string& caption, int x, int y, int w, const std::string& hint = "") {
        return gui::Btn(parent, caption, x, y, w, hint, 24);
    }
    TImage* swatch(int x, int y) { return gui::Swatch(parent, x, y, 20); }
    TUpDown* updown(TEdit*& edit, int x, int y, int min, int max, int pos) {
        edit = new TEdit(parent, std::to_string(pos));
        edit->SetBounds(x, y, 30, 22);
        auto* u = new TUpDown(parent);
        u->SetBounds(x + 32, y, 34, 22);
        u->Min = min;
        u->Max = max;
        u->SetPosition(pos);
        u->SetAssociate(edit);
        return u;
    }
    TLabel* label(const std::string& caption, int x, int y, int w) { return gui::Lbl(parent, caption, x, y, w); }
};

} // namespace

TSettei::TSettei() : TForm("　地図表示設定") {
    Grid g{Client()};
    // Column headings.
    g.label("色", 150, 4, 30);
    g.label("点線", 184, 4, 40);
    g.label("太さ", 230, 4, 40);

    int y = 24;
    CBCoast = g.check("海岸線", 8, y, 68, true);
    CBColor = g.check("同色", 76, y, 48, false, "海岸線の色に揃える");
    Button2 = g.button("...", 124, y, 24);
    Image1 = g.swatch(150, y + 2);
    UpDown1 = g.updown(Edit1, 230, y, 1, 3, 1);
    y += 26;
    CheckBox3 = g.check("都府県界", 8, y, 110, true);
    Button3 = g.button("...", 124, y, 24);
    Image2 = g.swatch(150, y + 2);
    CBPrefDot = g.check("", 190, y, 24);
    UpDown2 = g.updown(Edit2, 230, y, 1, 3, 1);
    y += 26;
    CBHokkaido = g.check("北海道支庁界", 24, y, 120, true);
    y += 26;
    CheckBox4 = g.check("市町村界", 8, y, 110, true);
    Button4 = g.button("...", 124, y, 24);
    Image3 = g.swatch(150, y + 2);
    CBTownDot = g.check("", 190, y, 24);
    UpDown3 = g.updown(Edit3, 230, y, 1, 3, 1);
    y += 26;
    g.label("A", 24, y + 2, 12);
    CheckBox15 = g.check("", 36, y, 24, false, "旧市町村界も同色");
    g.label("B", 64, y + 2, 12);
    CheckBox1 = g.check("", 76, y, 24, false, "背景色と同色");
    y += 26;
    CheckBox11 = g.check("旧市町村界", 8, y, 110);
    Button16 = g.button("...", 124, y, 24);
    Image10 = g.swatch(150, y + 2);
    CBNTownDot = g.check("", 190, y, 24, true);
    y += 26;
    CheckBox14 = g.check("湖水境界", 8, y, 110);
    CBLakeDot = g.check("", 190, y, 24, true);
    y += 26;
    CBKu = g.check("政令都市区界", 8, y, 116, true);
    Button12 = g.button("...", 124, y, 24);
    Image9 = g.swatch(150, y + 2);
    CBKuDot = g.check("", 190, y, 24, true);
    y += 26;
    CBWaku = g.check("地図枠", 8, y, 110);
    Button11 = g.button("...", 124, y, 24);
    Image8 = g.swatch(150, y + 2);
    UpDown5 = g.updown(Edit5, 230, y, 1, 3, 2);
    y += 30;

    // Names.
    CheckBox5 = g.check("市町村名", 8, y, 90);
    CBDoubleName = g.check("重複可", 100, y, 80, false, "市町村名の重複を許す");
    CBDoubleName->SetEnabled(false);
    CheckBox16 = g.check("読み", 184, y, 60);
    y += 26;
    CBCityName = g.check("市名", 8, y, 70);
    CBKuName = g.check("区名", 80, y, 70, true);
    CheckBox12 = g.check("旧市町村名", 150, y, 110);
    CheckBox12->SetEnabled(false);
    y += 26;
    g.label("ﾌｫﾝﾄｻｲｽﾞ", 8, y + 2, 70);
    UpDown4 = g.updown(Edit4, 80, y, 4, 50, 8);
    Button5 = g.button("...", 150, y, 24);
    Image4 = g.swatch(176, y + 2);
    y += 26;
    CBFixedSize = g.check("ﾌｫﾝﾄｻｲｽﾞ固定", 8, y, 130, true, "画面サイズによらず");
    CBWhite = g.check("白抜き", 150, y, 80, false, "文字背景を白抜きに");
    y += 26;
    g.label("背景", 8, y + 2, 40);
    Button7 = g.button("...", 50, y, 24);
    Image5 = g.swatch(76, y + 2);
    g.label("白", 104, y + 2, 16);
    CheckBox13 = g.check("", 120, y, 24, false, "背景色白");
    y += 30;

    // Second column.
    int x2 = 320, y2 = 24;
    CBIslands = g.check("島名", x2, y2, 70);
    Button17 = g.button("...", x2 + 72, y2, 24);
    Image11 = g.swatch(x2 + 98, y2 + 2);
    y2 += 26;
    CBMountain = g.check("山名", x2, y2, 70);
    Button18 = g.button("...", x2 + 72, y2, 24);
    Image12 = g.swatch(x2 + 98, y2 + 2);
    CBMtHeight = g.check("高さ", x2 + 124, y2, 56);
    CBMtYomi = g.check("読み", x2 + 182, y2, 56);
    CBMtHeight->SetEnabled(false);
    CBMtYomi->SetEnabled(false);
    y2 += 26;
    CBMesh = g.check("メッシュ", x2, y2, 90);
    CBMeshName = g.check("地図名", x2 + 92, y2, 80);
    CBMeshName2 = g.check("細分名", x2 + 174, y2, 80);
    y2 += 26;
    CheckBox6 = g.check("経緯線(１度)", x2, y2, 120);
    Button9 = g.button("...", x2 + 124, y2, 24);
    Image6 = g.swatch(x2 + 150, y2 + 2);
    y2 += 26;
    CheckBox7 = g.check("経緯線(10分)", x2, y2, 120);
    Button10 = g.button("...", x2 + 124, y2, 24);
    Image7 = g.swatch(x2 + 150, y2 + 2);
    CBFunDot = g.check("点線", x2 + 176, y2, 60, false, "10分を点線で");
    y2 += 26;
    CheckBox8 = g.check("経緯度", x2, y2, 90);
    CheckBox9 = g.check("1度おき", x2 + 92, y2, 90);
    CheckBox10 = g.check("尺度", x2 + 184, y2, 60);
    y2 += 26;
    CheckBox2 = g.check("都府県名", x2, y2, 100, true, "左下隅の都府県名");
    CBKenName = g.check("都道府県名", x2 + 102, y2, 100);
    CBKenOffice = g.check("県庁所在地", x2 + 204, y2, 100);
    y2 += 26;
    CBOffice = g.check("市町村役場", x2, y2, 110);
    CBOfficeName = g.check("名称表示", x2 + 112, y2, 90, true);
    y2 += 26;
    CBRail = g.check("鉄道路線", x2, y2, 90);
    CBStation = g.check("駅名", x2 + 92, y2, 60);
    CBMainEki = g.check("主要駅", x2 + 154, y2, 70);
    y2 += 26;
    CBRailExp = g.check("地図線設定", x2, y2, 110, false, "路線の色・サイズ変更");
    CBWatch = g.check("ウオッちず", x2 + 112, y2, 100, false, "国土地理院地図閲覧サービスへ接続");
    CBWatch->OnClick = [this](TObject*) { WebMapTool::BoxClicked(*Open, CBWatch); };
    y2 += 26;
    g.label("ソフトカラー", x2, y2 + 2, 90);
    CBSoft = g.check("", x2 + 92, y2, 24, false, "ソフトな色調");
    Button6 = g.button("標準", x2 + 124, y2, 60, "色・サイズを標準に戻す");
    y2 += 30;

    // The table of lines has captions only at its edges: each cell is named by row and column.
    auto name = [](QWidget* w, const std::string& n) { w->setAccessibleName(QString::fromStdString(n)); };
    for (auto [row, colour, dots, size] :
         {std::tuple<std::string, TButton*, TCheckBox*, TEdit*>{"海岸線", Button2, nullptr, Edit1}, {"都府県界", Button3, CBPrefDot, Edit2},
          {"市町村界", Button4, CBTownDot, Edit3}, {"旧市町村界", Button16, CBNTownDot, nullptr},
          {"湖水境界", nullptr, CBLakeDot, nullptr}, {"政令都市区界", Button12, CBKuDot, nullptr},
          {"地図枠", Button11, nullptr, Edit5}, {"市町村名", Button5, nullptr, Edit4}, {"背景", Button7, nullptr, nullptr},
          {"島名", Button17, nullptr, nullptr}, {"山名", Button18, nullptr, nullptr}, {"経緯線(１度)", Button9, nullptr, nullptr},
          {"経緯線(10分)", Button10, nullptr, nullptr}}) {
        if (colour) name(colour, row + " 色");
        if (dots) name(dots, row + " 点線");
        if (size) name(size, row + (size == Edit4 ? " フォントサイズ" : " 太さ"));
    }

    RadioGroup1 = new TRadioGroup(Client(), "縮小率");
    RadioGroup1->SetItems({"× 1", "×1/2", "×1/3", "×1/4", "×1/5"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(x2, y2, 80, 130);
    RadioGroup2 = new TRadioGroup(Client(), "画像ｻｲｽﾞ");
    RadioGroup2->SetItems({" 600", "1200", "1800", "2400", "3000", "3600"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(x2 + 84, y2, 80, 156);
    RadioGroup3 = new TRadioGroup(Client(), "拡大係数");
    RadioGroup3->SetItems({"×1", "×0.5", "×0.2", "×0.1"});
    RadioGroup3->SetItemIndex(0);
    RadioGroup3->SetBounds(x2 + 168, y2, 80, 110);
    RadioGroup4 = new TRadioGroup(Client(), "移動係数");
    RadioGroup4->SetItems({"× 2", "× 1", "×0.5"});
    RadioGroup4->SetItemIndex(1);
    RadioGroup4->SetBounds(x2 + 252, y2, 80, 90);
    g.label("画像ｻｲｽﾞ変更以外", x2 + 168, y2 + 120, 160);
    g.label("は決定ﾎﾞﾀﾝで反映", x2 + 168, y2 + 138, 160);
    y2 += 164;

    Label24 = g.label("GSI ウオッちず", x2, y2, 120);
    Label24->SetHint("国土地理院地図閲覧サービスのページへ");
    y2 += 24;

    int yb = std::max(y, y2) + 4;
    Button14 = g.button("距離円", 8, yb, 80, "距離円（同心円）を描く");
    Button13 = g.button("市町名位置編集", 92, yb, 120, "市区町村名/島名の表示位置編集");
    Button13->SetEnabled(false);
    Button15 = g.button("文字特性", 216, yb, 80, "都道府県名文字特性一括設定");
    Button19 = g.button("山島検索", 300, yb, 80);
    Button20 = g.button("市町村名", 384, yb, 80);
    Button8 = g.button("決　定", 480, yb, 80);
    Button8->SetDefault(true);
    Button1 = g.button("閉じる", 564, yb, 80);
    yb += 32;
    g.label("このｳｲﾝﾄﾞｳは地図右ｸﾘｯｸでも開くことができます", 8, yb, 400);
    SetClientSize(660, yb + 24);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetFixedSize(true);

    for (TColorDialog** d : {&ColorDialog1, &ColorDialog2, &ColorDialog3, &ColorDialog4, &ColorDialog5,
                             &ColorDialog6, &ColorDialog7})
        *d = new TColorDialog(this);
    WireHandlers();
}

void TSettei::WireHandlers() {
    auto click = [this](auto* control, void (TSettei::*handler)(TObject*)) {
        control->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
    };
    click(Button2, &TSettei::Button2Click);
    click(Button3, &TSettei::Button3Click);
    click(Button4, &TSettei::Button4Click);
    click(Button5, &TSettei::Button5Click);
    click(Button7, &TSettei::Button7Click);
    click(Button9, &TSettei::Button9Click);
    click(Button10, &TSettei::Button10Click);
    click(Button11, &TSettei::Button11Click);
    click(Button12, &TSettei::Button12Click);
    click(Button16, &TSettei::Button16Click);
    click(Button17, &TSettei::Button17Click);
    click(Button18, &TSettei::Button18Click);
    auto arrows = [this](TUpDown* u, void (TSettei::*handler)(TObject*, TUDBtnType)) {
        u->OnClick = [this, handler](TObject* s, TUDBtnType b) { (this->*handler)(s, b); };
    };
    arrows(UpDown1, &TSettei::UpDown1Click);
    arrows(UpDown2, &TSettei::UpDown2Click);
    arrows(UpDown3, &TSettei::UpDown3Click);
    arrows(UpDown4, &TSettei::UpDown4Click);
    click(CheckBox3, &TSettei::CheckBox3Click);
    click(CheckBox4, &TSettei::CheckBox4Click);
    click(CheckBox11, &TSettei::CheckBox11Click);
    click(CBKu, &TSettei::CBKuClick);
    click(CheckBox5, &TSettei::CheckBox5Click);
    click(CheckBox6, &TSettei::CheckBox6Click);
    click(CheckBox8, &TSettei::CheckBox8Click);
    click(CBMountain, &TSettei::CBMountainClick);
    click(CBIslands, &TSettei::CBIslandsClick);
    click(CBColor, &TSettei::CBColorClick);
    click(CheckBox2, &TSettei::CheckBox2Click);
    click(CheckBox9, &TSettei::CheckBox9Click);
    click(CheckBox14, &TSettei::CheckBox14Click);
    click(CheckBox16, &TSettei::CheckBox16Click);
    click(CBDoubleName, &TSettei::CBDoubleNameClick);
    click(CBKenName, &TSettei::CBKenNameClick);
    click(CBKenOffice, &TSettei::CBKenOfficeClick);
    click(CheckBox13, &TSettei::CheckBox13Click);
    click(CBHokkaido, &TSettei::CBHokkaidoClick);
    click(CBRail, &TSettei::CBRailClick);
    click(CBStation, &TSettei::CBStationClick);
    click(CBRailExp, &TSettei::CBRailExpClick);
    click(CBMainEki, &TSettei::CBMainEkiClick);
    click(Button14, &TSettei::Button14Click);
    click(RadioGroup1, &TSettei::RadioGroup1Click);
    click(RadioGroup2, &TSettei::RadioGroup2Click);
    click(RadioGroup3, &TSettei::RadioGroup3Click);
    click(RadioGroup4, &TSettei::RadioGroup4Click);
    click(Button8, &TSettei::Button8Click);
    click(Button6, &TSettei::Button6Click);
    click(Label24, &TSettei::Label24Click);
    click(Button1, &TSettei::Button1Click);
    click(Button15, &TSettei::Button15Click);
    click(Button19, &TSettei::Button19Click);
    click(Button13, &TSettei::Button13Click);
    click(Button20, &TSettei::Button20Click);
}

void TSettei::FormCreate(TObject* Sender) {
    const std::pair<TImage*, TColor> swatches[] = {
        {Image1, MainStyle().CoastColor}, {Image2, MainStyle().PrefColor},   {Image3, MainStyle().TownColor},
        {Image4, MainStyle().TownFontColor}, {Image5, MainStyle().BackColor}, {Image6, MainStyle().DoColor},
        {Image7, MainStyle().FunColor},   {Image8, MainStyle().WakuColor},   {Image9, MainStyle().KuColor},
        {Image10, MainStyle().NTownColor}, {Image11, MainStyle().IslandsColor}, {Image12, MainStyle().MountainColor}};
    for (auto [image, colour] : swatches) gui::FillSwatch(image, colour);
    CBColor->SetChecked(MainStyle().SameColor);
}

// ---- colours ----

void TSettei::PickColor(TColorDialog* dialog, TColor& member, TImage* swatch) {
    if (!dialog->Execute()) return;
    member = dialog->Color;
    gui::FillSwatch(swatch, member);
}

void TSettei::Button2Click(TObject* Sender) { PickColor(ColorDialog1, MainStyle().CoastColor, Image1); }
void TSettei::Button3Click(TObject* Sender) { PickColor(ColorDialog2, MainStyle().PrefColor, Image2); }
void TSettei::Button4Click(TObject* Sender) { PickColor(ColorDialog3, MainStyle().TownColor, Image3); }
void TSettei::Button5Click(TObject* Sender) { PickColor(ColorDialog4, MainStyle().TownFontColor, Image4); }
void TSettei::Button9Click(TObject* Sender) { PickColor(ColorDialog6, MainStyle().DoColor, Image6); }
void TSettei::Button10Click(TObject* Sender) { PickColor(ColorDialog7, MainStyle().FunColor, Image7); }
void TSettei::Button11Click(TObject* Sender) { PickColor(ColorDialog1, MainStyle().WakuColor, Image8); }
void TSettei::Button12Click(TObject* Sender) { PickColor(ColorDialog3, MainStyle().KuColor, Image9); }
void TSettei::Button16Click(TObject* Sender) { PickColor(ColorDialog3, MainStyle().NTownColor, Image10); }
void TSettei::Button17Click(TObject* Sender) { PickColor(ColorDialog3, MainStyle().IslandsColor, Image11); }
void TSettei::Button18Click(TObject* Sender) { PickColor(ColorDialog3, MainStyle().MountainColor, Image12); }

// The chosen background is also the one the white box gives back.
void TSettei::Button7Click(TObject* Sender) {
    if (!ColorDialog5->Execute()) return;
    MainStyle().BackColor = MainStyle().ChosenBackColor = ColorDialog5->Color;
    gui::FillSwatch(Image5, MainStyle().BackColor);
    CheckBox13->SetChecked(false);
}

// ---- widths and name size ----

void TSettei::UpDown1Click(TObject* Sender, TUDBtnType Button) { MainStyle().CoastWidth = UpDown1->Position(); }

// Dotted lines exist only at width 1.
void TSettei::UpDown2Click(TObject* Sender, TUDBtnType Button) {
    MainStyle().PrefWidth = UpDown2->Position();
    CBPrefDot->SetEnabled(UpDown2->Position() < 2);
}

void TSettei::UpDown3Click(TObject* Sender, TUDBtnType Button) {
    MainStyle().TownWidth = UpDown3->Position();
    for (TCheckBox* dot : {CBTownDot, CBNTownDot, CBLakeDot, CBKuDot}) dot->SetEnabled(UpDown3->Position() < 2);
}

void TSettei::UpDown4Click(TObject* Sender, TUDBtnType Button) {
    MainStyle().NameFontBase = UpDown4->Position();
    MainStyle().NameFontSize = UpDown4->Position() * Open->ImageSize / 600;
}

// ---- boxes governing others of this window ----

void TSettei::CheckBox3Click(TObject* Sender) {
    const bool on = CheckBox3->Checked();
    for (TCheckBox* c : {CheckBox4, CheckBox11}) {
        if (!on) c->SetChecked(false);
        c->SetEnabled(on);
    }
}

void TSettei::CheckBox4Click(TObject* Sender) { CheckBox14->SetEnabled(CheckBox4->Checked()); }
void TSettei::CheckBox11Click(TObject* Sender) { CBNTownDot->SetEnabled(CheckBox11->Checked()); }

void TSettei::CBKuClick(TObject* Sender) {
    CBKuDot->SetEnabled(CBKu->Checked());
    if (!CBKu->Checked()) CBKuName->SetChecked(false);
}

void TSettei::CheckBox5Click(TObject* Sender) {
    for (TCheckBox* c : {CheckBox12, CBDoubleName, CheckBox16}) c->SetEnabled(CheckBox5->Checked());
}

void TSettei::CheckBox6Click(TObject* Sender) {
    const bool on = CheckBox6->Checked();
    for (TCheckBox* c : {CheckBox7, CheckBox8}) {
        c->SetEnabled(on);
        c->SetChecked(on);
    }
    CheckBox9->SetEnabled(on);
}

void TSettei::CheckBox8Click(TObject* Sender) { CheckBox9->SetEnabled(CheckBox8->Checked()); }

void TSettei::CBMountainClick(TObject* Sender) {
    CBMtHeight->SetEnabled(CBMountain->Checked());
    CBMtYomi->SetEnabled(CBMountain->Checked());
}

void TSettei::CBIslandsClick(TObject* Sender) {
    Button13->SetCaption(CBIslands->Checked() ? "島名位置編集" : "市町名位置編集");
}

// ---- switches acting at once ----

void TSettei::CBColorClick(TObject* Sender) { MainStyle().SameColor = CBColor->Checked(); }
void TSettei::CheckBox2Click(TObject* Sender) { MainUi().ken_name->SetChecked(CheckBox2->Checked()); }
void TSettei::CheckBox9Click(TObject* Sender) { MainUi().CB1do->SetChecked(CheckBox9->Checked()); }
void TSettei::CheckBox14Click(TObject* Sender) { MainUi().CBLake->SetChecked(CheckBox14->Checked()); }
void TSettei::CheckBox16Click(TObject* Sender) { MainUi().CBYomi->SetChecked(CheckBox16->Checked()); }
void TSettei::CBDoubleNameClick(TObject* Sender) { MainUi().CBMainDoubleName->SetChecked(CBDoubleName->Checked()); }
void TSettei::CBKenNameClick(TObject* Sender) {
    PrefSet->CheckBox3->SetChecked(CBKenName->Checked());
    MainUi().CBKenName1->SetChecked(CBKenName->Checked());
}

void TSettei::CBKenOfficeClick(TObject* Sender) {
    PrefSet->CheckBox4->SetChecked(CBKenOffice->Checked());
    RedrawMap();
}

void TSettei::CheckBox13Click(TObject* Sender) {
    MainStyle().BackColor = CheckBox13->Checked() ? TColor(0xFFFFFF) : MainStyle().ChosenBackColor;
    RedrawMap();
}

void TSettei::CBHokkaidoClick(TObject* Sender) {
    MainDoc().WLinesAsBorder = CBHokkaido->Checked();
    MainUi().Hokkaido->SetChecked(CBHokkaido->Checked());
    // Reloaded with the borders as asked; the reload leaves the one redraw to us.
    if (MainGate().MapShown) {
        // The areas on the map, not ticks the area window holds unconfirmed.
        Ken->Button3Click(this);
        for (int i = 0; i < MainDoc().SELECT; i++) Ken->AreaBox(MainDoc().SelectCode[i])->SetChecked(true);
        Ken->Choose(this, true);
        MainGate().DataReady = true;
        RedrawMap();
    }
}

void TSettei::CBRailClick(TObject* Sender) {
    LineAdd->CheckBox2->SetChecked(CBRail->Checked());
    MainUi().CBRailLine->SetChecked(CBRail->Checked());
    if (!CBRail->Checked()) Open->ShowStationLabels(false);
}

void TSettei::CBStationClick(TObject* Sender) {
    if (CBStation->Checked()) {
        Open->ShowStationLabels(true);
        MainUi().CBEki->SetChecked(true);
    } else {
        Open->ShowStationLabels(false);
        MainUi().CBEki->SetChecked(false);
    }
}

void TSettei::CBRailExpClick(TObject* Sender) {
    if (CBRailExp->Checked()) {
        LineAdd->Button4->SetEnabled(true);   // "ク リ ア"
        LineSet->Show();
    } else {
        LineSet->Hide();
    }
}

void TSettei::CBMainEkiClick(TObject* Sender) { RailControlsOf(*Open).CBMain->SetChecked(CBMainEki->Checked()); }

// The reduction here rebuilds the size groups at once; the menu ticks follow on "決　定".
void TSettei::RadioGroup1Click(TObject* Sender) {
    Open->SSIZE = RadioGroup1->ItemIndex() + 1;
    const std::vector<std::string> items = ImageSizeItems(*Open, Open->SSIZE);
    RadioGroup2->SetItems(items);
    MainUi().RadioGroup1->SetItems(items);
    RedrawMap();
}

void TSettei::RadioGroup2Click(TObject* Sender) {
    RedrawOnce once;
    LineAdd->EditLineRedraw = true;
    MainUi().RadioGroup1->SetItemIndex(RadioGroup2->ItemIndex());
    if (MainUi().RadioGroup1->OnClick) MainUi().RadioGroup1->OnClick(MainUi().RadioGroup1);
}

void TSettei::RadioGroup3Click(TObject* Sender) {
    switch (RadioGroup3->ItemIndex()) {
    case 0: N101Click(*Open, this); break;
    case 1: N051Click(*Open, this); break;
    case 2: N021Click(*Open, this); break;
    case 3: N011Click(*Open, this); break;
    }
}

void TSettei::RadioGroup4Click(TObject* Sender) {
    switch (RadioGroup4->ItemIndex()) {
    case 0: N202Click(*Open, this); break;
    case 1: N102Click(*Open, this); break;
    case 2: N052Click(*Open, this); break;
    }
}

// ---- buttons ----

void TSettei::Button8Click(TObject* Sender) {
    // The boxes below redraw in their handlers: hold that until the one redraw at the end.
    MainGate().DataReady = false;
    MainUi().ken_name->SetChecked(CheckBox2->Checked());
    MainUi().CBPrefBorder->SetChecked(CheckBox3->Checked());
    MainUi().CBTownBorder->SetChecked(CheckBox4->Checked());
    MainUi().CBNTownBorder->SetChecked(CheckBox11->Checked());
    MainUi().CBOldTown->SetChecked(CheckBox12->Checked());
    MainUi().CBTownName->SetChecked(CheckBox5->Checked());
    MainUi().CBLonLat->SetChecked(CheckBox6->Checked());
    CheckBox7->SetEnabled(CheckBox6->Checked());
    MainUi().CBFun->SetChecked(CheckBox7->Checked());
    MainUi().CBDo->SetChecked(CheckBox8->Checked());

    TMenuItem* reduction[] = {MainUi().MAG1, MainUi().MAG2, MainUi().MAG3, MainUi().MAG4, MainUi().MAG5};
    for (int i = 0; i < 5; i++) reduction[i]->SetChecked(i == RadioGroup1->ItemIndex());

    MainUi().CBScale->SetChecked(CheckBox10->Checked());
    if (CheckBox13->Checked()) MainStyle().BackColor = 0xFFFFFF;
    MainUi().CBMainDoubleName->SetChecked(CBDoubleName->Checked());
    MainDoc().WLinesAsBorder = CBHokkaido->Checked();

    // Without a map there is no view to draw in.
    MainGate().DataReady = MainGate().MapShown;
    RedrawMap();
    MainUi().Label35->Hide();
}

void TSettei::Button6Click(TObject* Sender) {
    TOpen* o = Open;
    if (!CBSoft->Checked()) {
        StyleOf(*o).CoastColor = 0xFF0000;
        StyleOf(*o).PrefColor = 0x0000FF;
        StyleOf(*o).TownColor = 0x28C830;
        StyleOf(*o).NTownColor = StyleOf(*o).DefNTownColor;
        StyleOf(*o).IslandsColor = StyleOf(*o).DefIslandsColor;
        StyleOf(*o).MountainColor = StyleOf(*o).DefMountainColor;
        StyleOf(*o).TownFontColor = 0x000000;
        StyleOf(*o).DoColor = 0x000000;
    } else {
        StyleOf(*o).CoastColor = 0xFFA6A6;
        StyleOf(*o).PrefColor = 0x9D9DFF;
        StyleOf(*o).TownColor = 0x9DFF9D;
        StyleOf(*o).NTownColor = 0xFFFF80;
        StyleOf(*o).IslandsColor = 0xA5C783;
        StyleOf(*o).MountainColor = 0xFF8080;
        StyleOf(*o).TownFontColor = 0x808080;
        StyleOf(*o).DoColor = 0x868686;
    }
    StyleOf(*o).KuColor = 0x8FC48B;
    StyleOf(*o).BackColor = StyleOf(*o).ChosenBackColor = 0xFFFFE6;
    StyleOf(*o).FunColor = 0xC0C0C0;

    StyleOf(*o).WakuColor = 0xFF8080;
    StyleOf(*o).CoastWidth = StyleOf(*o).PrefWidth = StyleOf(*o).TownWidth = 1;
    UpDown5->SetPosition(2);
    for (TUpDown* u : {UpDown1, UpDown2, UpDown3}) u->SetPosition(1);
    UpDown4->SetPosition(8);
    StyleOf(*o).NameFontBase = StyleOf(*o).NameFontSize = 8;
    CheckBox2->SetChecked(true);
    for (TCheckBox* dot : {CBTownDot, CBPrefDot}) {
        dot->SetEnabled(true);
        dot->SetChecked(false);
    }
    CBCoast->SetChecked(true);
    CBColor->SetChecked(false);
    CheckBox2->SetEnabled(true);
    FormCreate(this);
}

void TSettei::Label24Click(TObject* Sender) {
    Keisoku->ShowWait("国土地理院の地図閲覧サービストップページに接続しています．．．");
    if (ShellOpen(settings::WebMapTopUrl) <= 32)
        Application->MessageBox("インターネットエクスプローラの起動に失敗しました　　　　", "ウオッ地図呼び出しエラー",
                                MB_ICONEXCLAMATION);
    Keisoku->Hide();
}

void TSettei::Button1Click(TObject* Sender) {
    Open->SetteiShown = false;
    Hide();
}

void TSettei::Button15Click(TObject* Sender) { N28Click(*Open, this); }
void TSettei::Button19Click(TObject* Sender) { Search->Show(); }

void TSettei::Button13Click(TObject* Sender) {
    if (CBIslands->Checked())
        LoadIslandEditList(*Open);
    else
        N9Click(*Open, this);
}

void TSettei::Button20Click(TObject* Sender) { Yomi->Button3Click(this); }

void TSettei::Button14Click(TObject* Sender) { NCircleClick(*Open, this); }
