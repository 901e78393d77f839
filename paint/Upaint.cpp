#include "paint/Upaint.h"
#include "gui/FormParts.h"
#include "components/Tkbtn.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "labels/Uletter.h"
#include "navigation/Usettei.h"
#include "paint/PaintTools.h"
#include "paint/SlotPicture.h"
#include "paint/Ubrush.h"
#include "paint/Uhanrei.h"
#include "paint/Ustatmap.h"
#include <optional>

TMapPaint* MapPaint = nullptr;

const TColor TMapPaint::Presets[8][8] = {
    {},   // "標準": the defaults of the main form
    {0xE1E1FF, 0xCACAFF, 0xAAAAFF, 0x8080FF, 0x6666FF, 0x3737FF, 0x1E0DEA, 0x160AB6},
    {0xFFE8FF, 0xFFD9FF, 0xFFB5FF, 0xFF95FF, 0xFF75FF, 0xFF3EFF, 0xBF00BF, 0x7D007D},
    {0xE8FFDF, 0xBEFFA6, 0x9CFF77, 0x77FF44, 0x46FF00, 0x3DDB00, 0x299700, 0x1B6000},
    {0xFFE1E1, 0xFFC8C8, 0xFFB0B0, 0xFF9797, 0xFF7D7D, 0xFF6262, 0xFF4242, 0xDD0000},
    {0xFFFFE1, 0xFFFFBB, 0xFFFF8C, 0xFFFF4A, 0xFBFB00, 0xCECE00, 0xA2A200, 0x737300},
    {0xE1FFFF, 0xB9FFFF, 0x80FFFF, 0x55FFFF, 0x1AFFFF, 0x00FBFB, 0x00D5D5, 0x00AEAE},
    {0x8AF9F3, 0x46FFA3, 0x40FF00, 0xD3F365, 0xFFBA75, 0xD6CEFF, 0xB4A5FC, 0x7A60F9},
};

using gui::Btn;
using gui::Check;
using gui::Lbl;

namespace {



} // namespace

TMapPaint::TMapPaint() : TForm("　ペイント　（塗り分け）") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    QWidget* c = Client();

    TTkBtn** slotButtons[8] = {&TkBtn1, &TkBtn2, &TkBtn3, &TkBtn4, &TkBtn5, &TkBtn6, &TkBtn7, &TkBtn8};
    TButton** colours[8] = {&Button11, &Button12, &Button13, &Button14, &Button15, &Button16, &Button17, &Button18};
    TButton** patterns[8] = {&Button5, &Button6, &Button7, &Button8, &Button20, &Button21, &Button22, &Button23};
    for (int i = 0; i < 8; ++i) {
        const int y = 8 + i * 30;
        auto* b = new TTkBtn(c, std::to_string(i + 1));
        b->SetBounds(8, y, 64, 26);
        b->SetHint("塗り色");
        b->setAccessibleName(QString::fromStdString("ペイント色" + std::to_string(i + 1)));
        b->BevelWidth = 2;
        b->OnClick = [this, i](TObject*) { TkBtnClick(i); };
        *slotButtons[i] = b;
        *colours[i] = Btn(c, "...", 76, y, 28, "色設定");
        (*colours[i])->OnClick = [this, i](TObject*) { ColorButtonClick(i); };
        *patterns[i] = Btn(c, "//", 106, y, 28, "パターン選択");
        (*patterns[i])->OnClick = [this, i](TObject*) { PatternButtonClick(i); };
    }

    int y = 252;
    Button10 = Btn(c, "色リセット", 8, y, 126, "塗り色・パターンを初期状態に戻す");
    Button10->OnClick = [this](TObject* s) { Button10Click(s); };
    RadioGroup1 = new TRadioGroup(c, "塗り色");
    RadioGroup1->SetItems({"標準", "赤色系", "紫色系", "緑色系", "青色系", "水色系", "黄色系", "中間色"});
    RadioGroup1->SetColumns(2);
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(8, y + 30, 170, 100);
    RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };

    const int X = 186;
    Label2 = new TLabel(c, "ペイント回数");
    Label2->SetBounds(X, 8, 80, 18);
    LblPaint = new TLabel(c, "0");
    LblPaint->SetBounds(X + 86, 8, 60, 18);
    BtnRepaint = Btn(c, "前に戻す", X, 30, 100, "ペイント前に戻る");
    BtnRepaint->OnClick = [this](TObject* s) { BtnRepaintClick(s); };
    BtnPaintAdd = Btn(c, "追加ペイント", X, 60, 100, "ペインと作業を続ける");
    BtnPaintAdd->OnClick = [this](TObject* s) { BtnPaintAddClick(s); };
    Button1 = Btn(c, "新規ペイント", X, 90, 100);
    Button1->OnClick = [](TObject* s) { BtnPaintClick(*Open, s); };
    Button19 = Btn(c, "ペイント終了", X, 120, 100);
    Button19->OnClick = [this](TObject* s) { Button19Click(s); };
    Button9 = Btn(c, "閉じる", X, 150, 100);
    Button9->OnClick = [this](TObject* s) { Button9Click(s); };

    // Paint files and the data import.
    Button2 = Btn(c, "読　込", X, 186, 60);
    Button3 = Btn(c, "保　存", X + 64, 186, 60);
    CBColor = Check(c, "塗り色のみ", X, 214, 100);
    CBAddRead = Check(c, "追加読込", X + 100, 214, 90);
    Button24 = Btn(c, "データ", X, 236, 60);
    BtnStatMap = Btn(c, "統計地図", X + 64, 236, 80, "統計表から市区町村を塗り分ける");
    BtnStatMap->OnClick = [](TObject*) { StatMapWindow()->Show(); };
    // Paint by name.
    CBAllPaint = Check(c, "市町村指定", X, 268, 100);
    ComboBox1 = new TComboBox(c);
    ComboBox1->SetBounds(X, 290, 130, 24);
    ComboBox1->SetText("市区町村名");
    BtnAllPaint = Btn(c, "実行", X + 134, 290, 50);
    EnterPresses(ComboBox1, BtnAllPaint);
    // Legend.
    Button4 = Btn(c, "凡例編集", X, 320, 80, "地図凡例編集ウインドウを新規に開く");
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    CBMarkCopy = Check(c, "凡例記号コピー", X + 84, 323, 108, true, "設定されている色・パターンを凡例にコピーする");

    // Paint aids.
    CBBackWhite = Check(c, "背景白色", 8, 390, 90);
    CBBackWhite->OnClick = [this](TObject* s) { CBBackWhiteClick(s); };
    CBPaintDisplay = Check(c, "表示", 100, 390, 70, true, "ペイントの表示/非表示");
    CBPaintDisplay->OnClick = [this](TObject* s) { CBPaintDisplayClick(s); };
    CBKuPaint = Check(c, "区ペイント", 8, 412, 100, false, "区境界で塗り分ける");
    CBKuPaint->OnClick = [this](TObject* s) { CBKuPaintClick(s); };
    CBOldTownPaint = Check(c, "旧町村ペイント", 110, 412, 120, false, "旧町村境界で塗り分ける");
    CBOldTownPaint->OnClick = [this](TObject* s) { CBOldTownPaintClick(s); };
    CBNamePaint = Check(c, "市町村名", 232, 412, 90, false, "市区町村名の表示");
    CBNamePaint->OnClick = [this](TObject* s) { CBNamePaintClick(s); };
    Label1 = new TLabel(c, "");
    Label1->SetBounds(8, 438, 360, 18);

    ColorDialog1 = new TColorDialog(this);
    WireFileHandlers();
    for (QWidget* w : std::initializer_list<QWidget*>{BtnPaintAdd, Button1, Button3, BtnRepaint, ComboBox1, BtnAllPaint})
        w->setEnabled(false);
    SetClientSize(380, 464);
}

void TMapPaint::FormCreate(TObject*) {
    for (int i = 0; i < 8; ++i) SlotButton(i)->SetColor(MainStyle().DefPaintColor[i]);
    Label1->SetCaption("");
    NamePaint = false;
}

TTkBtn* TMapPaint::SlotButton(int slot) const {
    TTkBtn* const b[8] = {TkBtn1, TkBtn2, TkBtn3, TkBtn4, TkBtn5, TkBtn6, TkBtn7, TkBtn8};
    return b[slot];
}

void TMapPaint::RaiseSlotButtons() {
    for (int i = 0; i < 8; ++i) {
        SlotButton(i)->BevelWidth = 2;
        SlotButton(i)->Invalidate();
    }
}

void TMapPaint::ShowCount() { LblPaint->SetCaption(std::to_string(MainPaint().paint_rep)); }

void TMapPaint::TkBtnClick(int slot) {
    RaiseSlotButtons();
    SlotButton(slot)->BevelWidth = 0;
    MainTools().ArmTool<PaintTool>(*Open);
    PaintOf(*Open).PaintSlot = slot;
}

// The slot takes the pattern of the last choice made in the chooser.
void TMapPaint::ColorButtonClick(int slot) {
    ColorDialog1->Color = MainStyle().PaintColor[slot];
    if (!ColorDialog1->Execute()) return;
    MainStyle().PaintColor[slot] = ColorDialog1->Color;
    SlotButton(slot)->SetColor(ColorDialog1->Color);
    EditSlot = slot;
    RefreshPaintSlot();
}

void TMapPaint::PatternButtonClick(int slot) {
    EditSlot = slot;
    PBrush->PaintSamples();
    PBrush->Show();
}

void TMapPaint::RefreshPaintSlot() {
    if (PatternChoice < 0 || PatternChoice > 6 || EditSlot < 0 || EditSlot > 7) return;
    const uint8_t code = ChoiceCode[PatternChoice];
    MainStyle().PaintPattern[EditSlot] = code;
    TTkBtn* b = SlotButton(EditSlot);
    b->Set_Picture(static_cast<const TBitmap*>(nullptr));
    if (PatternChoice == 0) b->SetColor(MainStyle().PaintColor[EditSlot]);
    else ShowSlotPicture(b, MainStyle().PaintColor[EditSlot], code);
}

void TMapPaint::RadioGroup1Click(TObject*) {
    const int row = RadioGroup1->ItemIndex();
    if (row < 0 || row > 7) return;
    for (int i = 0; i < 8; ++i) {
        SlotButton(i)->Set_Picture(static_cast<const TBitmap*>(nullptr));
        MainStyle().PaintPattern[i] = 0;
        MainStyle().PaintColor[i] = row == 0 ? MainStyle().DefPaintColor[i] : Presets[row][i];
        SlotButton(i)->SetColor(MainStyle().PaintColor[i]);
    }
}

// The reset is the "標準" row of the presets (setting the row from code runs no click).
void TMapPaint::Button10Click(TObject*) {
    RadioGroup1->SetItemIndex(0);
    RadioGroup1Click(RadioGroup1);
}

// The redraw replays what is left.
void TMapPaint::BtnRepaintClick(TObject*) {
    if (MainPaint().paint_rep <= 0) return;
    MainPaint().paint_rep--;
    RedrawMap();
    ShowCount();
    if (JustContinued) JustContinued = false;
    else if (MainPaint().paint_rep == 0) BtnRepaint->SetEnabled(false);
}

void TMapPaint::BtnPaintAddClick(TObject*) {
    MainTools().ArmTool<PaintTool>(*Open);
    std::optional<RedrawOff> off(std::in_place);
    MainUi().ken_name->SetChecked(false);
    MainUi().kokudo->SetChecked(false);
    CBPaintDisplay->SetChecked(true);
    MainUi().Keido->SetChecked(false);

    Button19->SetEnabled(true);
    PreparePaintMode(*Open);
    PaintOf(*Open).PaintSlot = -1;

    for (QWidget* w : std::initializer_list<QWidget*>{BtnPaintAdd, Button1, Button3, Button4, MainUi().BtnPaint})
        w->setEnabled(false);
    BtnRepaint->SetEnabled(true);
    CBPaintDisplay->SetEnabled(false);

    off.reset();
    RedrawMap();
    ShowCount();
    JustContinued = true;
    CBAllPaint->SetChecked(false);
    CBAllPaint->SetEnabled(true);
}

void TMapPaint::Button19Click(TObject*) {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<PaintTool>()) return MainTools().EndActiveTool();
    std::optional<RedrawOff> off(std::in_place);
    RaiseSlotButtons();

    // Everything the painting switched off, the range and measuring tools too.
    Open->EnableMapControls();

    Button9->SetEnabled(true);
    for (int i = 0; i < 8; ++i) SlotButton(i)->SetEnabled(false);
    Button19->SetEnabled(false);
    BtnPaintAdd->SetEnabled(true);
    Button1->SetEnabled(true);
    Button4->SetEnabled(true);
    BtnRepaint->SetEnabled(false);
    Hanrei->Button3->SetEnabled(true);
    JustContinued = false;
    CBPaintDisplay->SetEnabled(true);

    MainPaint().PaintDisplay = true;
    // Only painting unticks these two: an end without its start leaves them be.
    if (PaintOf(*Open).CheckStatesSaved) {
        MainUi().ken_name->SetChecked(true);
        MainUi().kokudo->SetChecked(true);
    }
    Button3->SetEnabled(MainPaint().paint_rep >= 1);

    // The redraw lock stays on while the windows and boxes below change.
    if (Open->SetteiShown) Settei->Show();
    if (Open->LetterShown) {
        Letter->Show();
        Letter->Button4Click(Letter);
    }

    ComboBox1->SetEnabled(false);
    CBAllPaint->SetEnabled(false);
    BtnAllPaint->SetEnabled(false);
    CBNamePaint->SetChecked(false);

    RestoreCheckStates(*Open);

    off.reset();
    RedrawMap();
}

void TMapPaint::Button9Click(TObject*) {
    const std::string text = "このウインドウを閉じると，ペイント作業を続けることはできなくなります　　　　\n"
                             "閉じてもよろしいですか";
    if (MessageBox(text, "ペイントウインドウの終了", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    Label1->SetCaption("");
    Close();
}


void TMapPaint::CBBackWhiteClick(TObject*) {
    Settei->SetWhiteBackground(CBBackWhite->Checked());
    RedrawMap();
}

void TMapPaint::CBPaintDisplayClick(TObject*) { RedrawMap(); }

// The settings window's "決　定" applies the border boxes and redraws.
void TMapPaint::CBKuPaintClick(TObject*) {
    if (CBKuPaint->Checked()) {
        Settei->CBKu->SetChecked(true);
        Settei->CBKuDot->SetChecked(false);
    } else {
        Settei->CBKuDot->SetChecked(true);
    }
    Settei->Button8->Click();
}

void TMapPaint::CBOldTownPaintClick(TObject*) {
    const bool on = CBOldTownPaint->Checked();
    Settei->CheckBox11->SetChecked(on);
    Settei->CBNTownDot->SetChecked(false);
    Settei->Button8->Click();
}

void TMapPaint::CBNamePaintClick(TObject*) {
    NamePaint = CBNamePaint->Checked();
    MainUi().CBTownName->SetChecked(NamePaint);
    RedrawMap();
    if (NamePaint) {
        Open->DrawTownNames();
        Open->DrawDuplicateNames();
        Open->DrawCityNames();
    }
}

// "凡例編集": a fresh legend of eight rows, by default in the palette's colours.
void TMapPaint::Button4Click(TObject*) {
    THanrei* h = Hanrei;
    h->CBExpDisplay->SetChecked(true);
    h->UpDown1->SetPosition(8);
    h->UpDown5->SetPosition(40);
    h->UpDown6->SetPosition(15);
    h->UpDown7->SetPosition(3);
    h->UpDown3->SetPosition(50);
    h->UpDown4->SetPosition(50);
    h->UpDown2->SetPosition(10);
    if (CBMarkCopy->Checked()) {
        for (int i = 0; i < 8; ++i) {
            PaintSwatch(h->RowImage(i)->Canvas(), MainStyle().PaintColor[i], MainStyle().PaintPattern[i]);
            h->LegendColors[i] = MainStyle().PaintColor[i];
            h->LegendPatterns[i] = MainStyle().PaintPattern[i];
        }
    }
    h->Show();
    h->UpdateRows();
    h->Button3Click(h);
    h->LegendOn = true;
    RedrawMap();
}
