// The main window's controls: captions, hints and initial states, and where they sit.
#include "gui/FormParts.h"
#include "engine/FormEvents.h"
#include "engine/Uopen.h"
#include <algorithm>

using gui::Btn;
using gui::Check;
using gui::Lbl;

namespace {

TMenuItem* Item(TMenuItem* parent, const std::string& caption, bool checked = false) {
    auto* m = new TMenuItem(caption);
    if (checked) m->SetChecked(true);
    parent->Add(m);
    return m;
}




// A question mark on a round blue face: opens the usage notes.
void DrawHelpPicture(TCanvas* c) {
    c->Brush->Style = bsSolid;
    c->Brush->Color = clBtnFace;
    c->Pen->Style = psClear;
    c->Rectangle(0, 0, 32, 32);
    c->Pen->Style = psSolid;
    c->Pen->Width = 1;
    c->Pen->Color = 0x804000;
    c->Brush->Color = 0xD08040;
    c->Ellipse(2, 2, 30, 30);
    c->Font->Size = 14;
    c->Font->Style.Bold = true;
    c->Font->Color = clWhite;
    c->Brush->Style = bsClear;
    c->TextOut(16 - c->TextWidth("?") / 2, 16 - c->TextHeight("?") / 2, "?");
}

} // namespace

void TOpen::CreateControls() {
    MyStr1 = new TMyStr();

    // Menus.
    MainMenu1 = new TMainMenu();
    File1 = new TMenuItem("ファイル(&F)");
    MainMenu1->Add(File1);
    // The work file and the image through the keys users know; each item presses its button.
    FileOpen1 = Item(File1, "ﾌｧｲﾙ読込");
    FileOpen1->SetShortCut("Ctrl+O");
    FileSave1 = Item(File1, "ﾌｧｲﾙ保存");
    FileSave1->SetShortCut("Ctrl+S");
    SaveImage1 = Item(File1, "地図画像を保存する");
    PNG1 = Item(SaveImage1, "PNGファイルで保存する", true);
    JPEG1 = Item(SaveImage1, "JPEGファイルで保存する");
    BITMAP1 = Item(SaveImage1, "BITMAPファイルで保存する");
    Print1 = Item(File1, "印刷…");
    Print1->SetShortCut("Ctrl+P");
    PrintPreview1 = Item(File1, "印刷プレビュー…");
    Exit1 = Item(File1, "終了");

    Edit1 = new TMenuItem("編集(&E)");
    MainMenu1->Add(Edit1);
    Undo1 = Item(Edit1, "元に戻す");
    Undo1->SetShortCut("Ctrl+Z", true);
    CopyImage1 = Item(Edit1, "地図画像をコピー");
    CopyImage1->SetShortCut("Ctrl+C");
    TMenuItem* reduce = Item(Edit1, "縮小率");
    MAG1 = Item(reduce, "×１（標準）", true);
    MAG2 = Item(reduce, "×1/2");
    MAG3 = Item(reduce, "×1/3");
    MAG4 = Item(reduce, "×1/4");
    MAG5 = Item(reduce, "×1/5");
    TMenuItem* zoom = Item(Edit1, "拡大係数");
    N101 = Item(zoom, "×1.0（標準）", true);
    N051 = Item(zoom, "×0.5");
    N021 = Item(zoom, "×0.2");
    N011 = Item(zoom, "×0.1");
    TMenuItem* move = Item(Edit1, "移動係数");
    N202 = Item(move, "×2.0");
    N102 = Item(move, "×1.0（標準）", true);
    N052 = Item(move, "×0.5");
    N9 = Item(Edit1, "市区町村名表示位置編集");
    N17 = Item(Edit1, "市区町村名削除");

    Window1 = new TMenuItem("ウィンドウ(&W)");
    MainMenu1->Add(Window1);
    Open1 = Item(Window1, "都道府県指定ｳｲﾝﾄﾞｳを開く");
    N1 = Item(Window1, "地図表示設定ｳｲﾝﾄﾞｳを開く");
    N28 = Item(Window1, "都道府県名文字特性設定");
    menuPaint = Item(Window1, "ペイント作業を開始する");
    N18 = Item(Window1, "地図記号");
    MakeLabel = Item(Window1, "ラベルファイルを自動的に作成する");
    N15 = Item(Window1, "旧町村名のラベルファイルを作成する");

    Option1 = new TMenuItem("オプション(&O)");
    MainMenu1->Add(Option1);
    kokudo = Item(Option1, "国土地理院承認番号表示", true);
    ken_name = Item(Option1, "都府県名表示", true);
    Wait = Item(Option1, "お待ちください．．．", true);
    Hokkaido = Item(Option1, "北海道支庁界表示", true);
    Keido = Item(Option1, "経緯度線下層表示", true);
    Sokuchi = Item(Option1, "世界測地系(WGS)", true);
    TMenuItem* history = Item(Option1, "検索履歴の順序");
    NJikan = Item(history, "時間順", true);
    NKanji = Item(history, "漢字コード順");
    N24 = Item(Option1, "終了時の設定を保存する", true);

    Help1 = new TMenuItem("ヘルプ(&H)");
    MainMenu1->Add(Help1);
    Tutorial1 = Item(Help1, "使い方");
    readmehtm1 = Item(Help1, "readme.htmを開く");
    HomePage1 = Item(Help1, "ホームページを開く");
    About1 = Item(Help1, "バージョン情報");
    SetMenu(MainMenu1);

    // Three columns: finding and showing the map on the left, the map in the
    // middle (it takes whatever room the window gives), the tools on the right.
    QWidget* c = Client();
    const int L = 8;                  // left column
    const int MX = L + 224 + 8;       // the map
    const int MW = SIZEX + 16;        // the map box at its first size
    const int PW = 224;               // width of a side column
    auto group = [](QWidget* parent, const std::string& caption, int x, int y, int h) {
        auto* g = new TGroupBox(parent, caption);
        g->SetBounds(x, y, PW, h);
        return g;
    };

    // Top-left: thumbnail, help picture, datum and redraw count. The start
    // screen's arrows point at the web map box, "県 指 定", the railway box
    // and the search, so those sit beside the rows of the map they point from.
    Image4 = new TImage(c);
    Image4->SetBounds(L, 8, 64, 64);
    Image4->SetImageSize(64, 64);
    Image4->SetHint("バージョン情報");
    Image2 = new TImage(c);
    Image2->SetBounds(L + 72, 8, 32, 32);
    Image2->SetImageSize(32, 32);
    Image2->SetHint("使い方");
    DrawHelpPicture(Image2->Canvas());
    Label38 = Lbl(c, "WGS", L + 112, 8, 60);
    Label38->SetHint("世界測地系");
    Label37 = Lbl(c, "Cnt", L + 112, 28, 60);
    Label23 = Lbl(c, "Mapping", L + 112, 48, 100);
    Label23->SetVisible(false);
    CBChiri = Check(c, "地図閲覧", L + 104, 62, 110, false, "国土地理院地図閲覧サービスへ接続");

    // Moving the view.
    TGroupBox* view = group(c, "地図範囲", L, 88, 134);
    int y = 20;
    Button6 = Btn(view, "標準範囲", 8, y, 100, "指定した全域の地図を描く");
    Button12 = Btn(view, "戻す", 116, y, 100, "一つ前の地図範囲に戻す");
    y += 30;
    TkBtn2 = new TTkBtn(view, "範囲指定");
    TkBtn2->SetBounds(8, y, 100, 26);
    TkBtn2->SetHint("マウスをドラッグして拡大範囲指定");
    BtnCenter = Btn(view, "中心設定", 116, y, 100);
    BtnCenter->SetEnabled(false);   // until there is a map to centre
    y += 32;
    Lbl(view, "倍率", 8, y + 12, 30);
    Label6 = Lbl(view, " 1.00", 40, y + 12, 48);
    Label6->SetFontColor(clRed);
    Label6->SetFontBold(true);
    UpDown1 = new TUpDown(view);
    UpDown1->SetBounds(90, y + 8, 40, 24);
    UpDown1->Min = 1;
    UpDown1->Max = 10000;
    UpDown1->SetPosition(1);
    UpDown1->SetHint("地図画像倍率");
    // Told apart from the pans at a glance: minus and plus, not arrows.
    UpDown1->SetHorizontal(true);
    UpDown1->SetButtonTexts("－", "＋");
    UDHor = new TUpDown(view);
    UDHor->SetBounds(138, y + 8, 40, 24);
    UDHor->Min = 0;
    UDHor->Max = 1000;
    UDHor->SetPosition(500);
    UDHor->SetHint("左へ／右へ");
    UDHor->SetHorizontal(true);
    UDVer = new TUpDown(view);
    UDVer->SetBounds(186, y, 24, 40);
    UDVer->Min = 0;
    UDVer->Max = 1000;
    UDVer->SetPosition(500);
    UDVer->SetHint("上へ／下へ");

    // Choosing the areas.
    Button5 = Btn(c, "県 指 定", L, 229, 108, "都道府県名一覧から選択");
    Button7 = Btn(c, "表示設定", L + 116, 229, 108);

    // Read-outs of distances, areas and the pointer.
    TGroupBox* readout = group(c, "計測", L, 262, 108);
    Label17 = Lbl(readout, "距離", 8, 22, 40);
    Label15 = Lbl(readout, "２点間", 50, 22, 90);
    Label31 = Lbl(readout, "", 8, 42, 130);
    Label33 = Lbl(readout, "2", 138, 38, 12);
    Label35 = Lbl(readout, "", 150, 42, 66);
    Label35->SetVisible(false);
    Lbl(readout, "地図の幅", 8, 62, 60);
    Label28 = Lbl(readout, "", 70, 62, 80);
    Label13 = Lbl(readout, "緯度", 8, 84, 40);
    Label34 = Lbl(readout, "", 44, 84, 64);
    Label14 = Lbl(readout, "経度", 112, 84, 40);
    Label36 = Lbl(readout, "", 148, 84, 68);

    CBRailLine = Check(c, "鉄道路線図", L + 8, 377, 104, false, "鉄道路線図の表示");
    CBEki = Check(c, "駅名", L + 116, 377, 100, false, "駅名表示/非表示");

    TGroupBox* search = group(c, "検索", L, 404, 86);
    EdName = new TEdit(search, "市区町村名");
    EdName->SetVisible(false);
    ComboBox1 = new TComboBox(search, true);
    ComboBox1->SetBounds(8, 24, 136, 26);
    Button9 = Btn(search, "検　索", 148, 24, 68, "検索実行");
    Button9->SetDefault(true);
    CBTownPaint = Check(search, "市町村検索ペイント", 8, 56, 150);
    CBMenseki = Check(search, "面積", 160, 56, 56, false, "総面積表示");

    Label20 = Lbl(c, "拡大・縮小：ﾏｳｽﾎｲｰﾙ", L + 8, 498, 200);
    Label21 = Lbl(c, "上下移動：Shift+ﾏｳｽﾎｲｰﾙ", L + 8, 516, 200);
    Label21->SetVisible(false);
    Label19 = Lbl(c, "", L, 538, PW);

    y = 562;
    Button1 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ保存", L, y, 108);
    Button10 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ読込", L + 116, y, 108);
    y += 30;
    Button3 = Btn(c, "再描画", L, y, 108);
    Button3->SetVisible(false);
    Button2 = Btn(c, "終　了", L + 148, y, 76);

    // The map.
    ScrollBox1 = new TScrollBox(c);
    ScrollBox1->SetBounds(MX, 8, MW, SizeY + 16);
    Image1 = new TImage(nullptr);
    Image1->setAccessibleName("地図");
    Image1->SetImageSize(SIZEX, SizeY);
    ScrollBox1->SetContent(Image1);
    TkBtn1 = new TTkBtn(Image1, "作者へのメール");
    TkBtn1->SetBounds(20, 560, 140, 26);

    // Right column: layers, tools, output. It keeps to the right edge.
    QWidget* right = new QWidget(c);
    right->setGeometry(MX + MW + 8, 0, PW, SizeY + 32);
    TGroupBox* layers = group(right, "表示", 0, 8, 182);
    y = 20;
    CBPrefBorder = Check(layers, "都府県界", 8, y, 104, true);
    CBTownBorder = Check(layers, "市区町村界", 112, y, 110, true);
    y += 22;
    CBTownName = Check(layers, "市区町村名", 8, y, 104);
    CBMainDoubleName = Check(layers, "重複可", 112, y, 104, true);
    y += 22;
    CBNTownBorder = Check(layers, "旧市町村界", 8, y, 104, false, "旧市町村界");
    CBLake = Check(layers, "湖境界", 112, y, 104);
    y += 22;
    CBLonLat = Check(layers, "経緯線(1度)", 8, y, 104);
    CBScale = Check(layers, "尺度", 112, y, 104);
    y += 22;
    CBCenter = Check(layers, "中心", 8, y, 104);
    CBKenName1 = Check(layers, "都道府県名", 112, y, 110);
    y += 22;
    CBLabel = Check(layers, "ラベル", 8, y, 104);
    CBYomi = Check(layers, "読み", 112, y, 104, false, "市区町村名の読みがな表示");
    y += 22;
    CBExp = Check(layers, "地図凡例", 8, y, 104, false, "ドラッグで移動可能");
    CBInfo = Check(layers, "設定値", 112, y, 104, false, "地図設定値表示");
    // Set from the display settings window; not shown here.
    CBOldTown = Check(layers, "旧市町村（削除不可）", 8, y, 200, false, "旧市町村名");
    CBFun = Check(layers, "経緯線(10分)", 8, y, 104, true);
    CBDo = Check(layers, "経緯度", 8, y, 104, true);
    CB1do = Check(layers, "1度おき", 8, y, 104);
    CBKu = Check(layers, "区界", 8, y, 104, true);
    for (TCheckBox* hidden : {CBOldTown, CBFun, CBDo, CB1do, CBKu}) hidden->SetVisible(false);

    TGroupBox* tools = group(right, "ツール", 0, 198, 142);
    y = 20;
    BtnPaint = Btn(tools, "ペイント", 8, y, 100);
    BtnLetter = Btn(tools, "ラ ベ ル", 116, y, 100);
    y += 30;
    BtnMark = Btn(tools, "地図記号", 8, y, 100);
    BtnMulti = Btn(tools, "複数区間", 116, y, 100);
    y += 30;
    Button14 = Btn(tools, "面積", 8, y, 100, "測定領域をクリック");
    CBNokori = Check(tools, "県", 116, y + 3, 48, false, "県域面積");
    CBTimer = Check(tools, "自動", 164, y + 3, 56);
    y += 30;
    CBZahyo = Check(tools, "座標", 8, y, 100);
    CBCopy = Check(tools, "範囲コピー", 116, y, 104);

    TGroupBox* output = group(right, "画像", 0, 348, 178);
    RadioGroup1 = new TRadioGroup(output, "画像ｻｲｽﾞ");
    RadioGroup1->SetColumns(2);
    RadioGroup1->SetItems({" 600", "1200", "1800", "2400", "3000", "3600"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(8, 20, 136, 88);
    RadioGroup1->SetHint("ピクセル");
    RadioGroup2 = new TRadioGroup(output, "画像形式");
    RadioGroup2->SetItems({"PNG", "JPEG", "BMP"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(148, 20, 68, 88);
    RadioGroup2->SetHint("PNGを推奨");
    Button4 = Btn(output, "画像コピー", 8, 114, 100, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
    Button8 = Btn(output, "画像保存", 116, 114, 100, "ﾃﾞｨｽｸに保存");
    BtnPrint = Btn(output, "印刷…", 8, 144, 208, "地図を用紙に合わせて印刷");
    FileOpen1->OnClick = [this](TObject*) { Button10->Press(); };
    FileSave1->OnClick = [this](TObject*) { Button1->Press(); };
    CopyImage1->OnClick = [this](TObject*) { Button4->Press(); };

    Panel1 = new TPanel(c, "");
    Panel1->SetVisible(false);

    // Nothing to work on before the first map: these wake up with it.
    for (QWidget* w : std::initializer_list<QWidget*>{
             UDHor, UDVer, UpDown1, TkBtn2, Button12, Button6, CBPrefBorder, CBTownBorder, CBNTownBorder,
             CBTownName, CBLonLat, CBCenter, CBScale, BtnPaint, BtnMark, BtnMulti, Button14, CBExp, CBCopy,
             CBChiri, CBTimer, CBNokori, CBKenName1, Label34, Label36, BtnCenter, BtnLetter, CBLabel, CBYomi,
             CBInfo})
        w->setEnabled(false);
    for (TMenuItem* m : {N9, N17, N18}) m->SetEnabled(false);

    Timer1 = new TTimer(this);
    Timer1->SetInterval(1000);
    Timer2 = new TTimer(this);
    Timer2->SetInterval(150);
    SaveDialog1 = new TSaveDialog(this);

    // The map box and the right column follow the window's size.
    auto arrange = [this, c, right, MX, PW] {
        const int w = c->width(), h = c->height();
        const int mapW = std::max(120, w - MX - PW - 16);
        ScrollBox1->SetBounds(MX, 8, mapW, std::max(120, h - 16));
        right->move(MX + mapW + 8, 0);
    };
    OnResize(c, arrange);
    c->setMinimumSize(MX + 200 + 8 + PW + 8, SizeY + 32);
    SetClientSize(MX + MW + 8 + PW + 8, SizeY + 32);
}

void TOpen::SetViewControlsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{BtnCenter, BtnLine, UDHor, UDVer, UpDown1, Button5, Button6,
                                                      Button7, Button9, Panel1, BtnPaint, CBPrefBorder, CBLabel,
                                                      CBScale, CBLonLat, BtnLetter})
        w->setEnabled(on);
    SetBorderDependents(on);
}

// The municipality boxes need the municipality borders, and those the
// prefecture borders: each is enabled only while the box it needs is ticked.
void TOpen::SetBorderDependents(bool on) {
    CBTownBorder->SetEnabled(on && CBPrefBorder->Checked());
    for (TCheckBox* b : {CBTownName, CBNTownBorder, CBLake}) b->SetEnabled(on && CBTownBorder->Checked());
}

void TOpen::DisableMapControls() { SetMapControlsEnabled(false); }
void TOpen::EnableMapControls() { SetMapControlsEnabled(true); }

void TOpen::SetMapControlsEnabled(bool on) {
    TkBtn2->SetEnabled(on);
    TkBtn2->Font.Color = on ? 8388608 : 8421504;
    TkBtn2->Invalidate();
    SetViewControlsEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{Button12, Button13, Button14, BtnMark, BtnMulti}) w->setEnabled(on);
}
