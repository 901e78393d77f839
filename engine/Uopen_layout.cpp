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
    ui.MyStr1 = new TMyStr();

    // Menus.
    ui.MainMenu1 = new TMainMenu();
    ui.File1 = new TMenuItem("ファイル(&F)");
    ui.MainMenu1->Add(ui.File1);
    // The work file and the image through the keys users know; each item presses its button.
    ui.FileOpen1 = Item(ui.File1, "ﾌｧｲﾙ読込");
    ui.FileOpen1->SetShortCut("Ctrl+O");
    ui.FileSave1 = Item(ui.File1, "ﾌｧｲﾙ保存");
    ui.FileSave1->SetShortCut("Ctrl+S");
    ui.SaveImage1 = Item(ui.File1, "地図画像を保存する");
    ui.PNG1 = Item(ui.SaveImage1, "PNGファイルで保存する", true);
    ui.JPEG1 = Item(ui.SaveImage1, "JPEGファイルで保存する");
    ui.BITMAP1 = Item(ui.SaveImage1, "BITMAPファイルで保存する");
    ui.Print1 = Item(ui.File1, "印刷…");
    ui.Print1->SetShortCut("Ctrl+P");
    ui.PrintPreview1 = Item(ui.File1, "印刷プレビュー…");
    ui.Exit1 = Item(ui.File1, "終了");

    ui.Edit1 = new TMenuItem("編集(&E)");
    ui.MainMenu1->Add(ui.Edit1);
    ui.Undo1 = Item(ui.Edit1, "元に戻す");
    ui.Undo1->SetShortCut("Ctrl+Z", true);
    ui.CopyImage1 = Item(ui.Edit1, "地図画像をコピー");
    ui.CopyImage1->SetShortCut("Ctrl+C");
    TMenuItem* reduce = Item(ui.Edit1, "縮小率");
    ui.MAG1 = Item(reduce, "×１（標準）", true);
    ui.MAG2 = Item(reduce, "×1/2");
    ui.MAG3 = Item(reduce, "×1/3");
    ui.MAG4 = Item(reduce, "×1/4");
    ui.MAG5 = Item(reduce, "×1/5");
    TMenuItem* zoom = Item(ui.Edit1, "拡大係数");
    ui.N101 = Item(zoom, "×1.0（標準）", true);
    ui.N051 = Item(zoom, "×0.5");
    ui.N021 = Item(zoom, "×0.2");
    ui.N011 = Item(zoom, "×0.1");
    TMenuItem* move = Item(ui.Edit1, "移動係数");
    ui.N202 = Item(move, "×2.0");
    ui.N102 = Item(move, "×1.0（標準）", true);
    ui.N052 = Item(move, "×0.5");
    ui.N9 = Item(ui.Edit1, "市区町村名表示位置編集");
    ui.N17 = Item(ui.Edit1, "市区町村名削除");

    ui.Window1 = new TMenuItem("ウィンドウ(&W)");
    ui.MainMenu1->Add(ui.Window1);
    ui.Open1 = Item(ui.Window1, "都道府県指定ｳｲﾝﾄﾞｳを開く");
    ui.N1 = Item(ui.Window1, "地図表示設定ｳｲﾝﾄﾞｳを開く");
    ui.N28 = Item(ui.Window1, "都道府県名文字特性設定");
    ui.menuPaint = Item(ui.Window1, "ペイント作業を開始する");
    ui.N18 = Item(ui.Window1, "地図記号");
    ui.MakeLabel = Item(ui.Window1, "ラベルファイルを自動的に作成する");
    ui.N15 = Item(ui.Window1, "旧町村名のラベルファイルを作成する");

    ui.Option1 = new TMenuItem("オプション(&O)");
    ui.MainMenu1->Add(ui.Option1);
    ui.kokudo = Item(ui.Option1, "国土地理院承認番号表示", true);
    ui.ken_name = Item(ui.Option1, "都府県名表示", true);
    ui.Wait = Item(ui.Option1, "お待ちください．．．", true);
    ui.Hokkaido = Item(ui.Option1, "北海道支庁界表示", true);
    ui.Keido = Item(ui.Option1, "経緯度線下層表示", true);
    ui.Sokuchi = Item(ui.Option1, "世界測地系(WGS)", true);
    TMenuItem* history = Item(ui.Option1, "検索履歴の順序");
    ui.NJikan = Item(history, "時間順", true);
    ui.NKanji = Item(history, "漢字コード順");
    ui.N24 = Item(ui.Option1, "終了時の設定を保存する", true);

    ui.Help1 = new TMenuItem("ヘルプ(&H)");
    ui.MainMenu1->Add(ui.Help1);
    ui.Tutorial1 = Item(ui.Help1, "使い方");
    ui.readmehtm1 = Item(ui.Help1, "readme.htmを開く");
    ui.HomePage1 = Item(ui.Help1, "ホームページを開く");
    ui.About1 = Item(ui.Help1, "バージョン情報");
    SetMenu(ui.MainMenu1);

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
    ui.Image4 = new TImage(c);
    ui.Image4->SetBounds(L, 8, 64, 64);
    ui.Image4->SetImageSize(64, 64);
    ui.Image4->SetHint("バージョン情報");
    ui.Image2 = new TImage(c);
    ui.Image2->SetBounds(L + 72, 8, 32, 32);
    ui.Image2->SetImageSize(32, 32);
    ui.Image2->SetHint("使い方");
    DrawHelpPicture(ui.Image2->Canvas());
    ui.Label38 = Lbl(c, "WGS", L + 112, 8, 60);
    ui.Label38->SetHint("世界測地系");
    ui.Label37 = Lbl(c, "Cnt", L + 112, 28, 60);
    ui.Label23 = Lbl(c, "Mapping", L + 112, 48, 100);
    ui.Label23->SetVisible(false);
    ui.CBChiri = Check(c, "地図閲覧", L + 104, 62, 110, false, "国土地理院地図閲覧サービスへ接続");

    // Moving the view.
    TGroupBox* view = group(c, "地図範囲", L, 88, 134);
    int y = 20;
    ui.Button6 = Btn(view, "標準範囲", 8, y, 100, "指定した全域の地図を描く");
    ui.Button12 = Btn(view, "戻す", 116, y, 100, "一つ前の地図範囲に戻す");
    y += 30;
    ui.TkBtn2 = new TTkBtn(view, "範囲指定");
    ui.TkBtn2->SetBounds(8, y, 100, 26);
    ui.TkBtn2->SetHint("マウスをドラッグして拡大範囲指定");
    ui.BtnCenter = Btn(view, "中心設定", 116, y, 100);
    ui.BtnCenter->SetEnabled(false);   // until there is a map to centre
    y += 32;
    Lbl(view, "倍率", 8, y + 12, 30);
    ui.Label6 = Lbl(view, " 1.00", 40, y + 12, 48);
    ui.Label6->SetFontColor(clRed);
    ui.Label6->SetFontBold(true);
    ui.UpDown1 = new TUpDown(view);
    ui.UpDown1->SetBounds(90, y + 8, 40, 24);
    ui.UpDown1->Min = 1;
    ui.UpDown1->Max = 10000;
    ui.UpDown1->SetPosition(1);
    ui.UpDown1->SetHint("地図画像倍率");
    // Told apart from the pans at a glance: minus and plus, not arrows.
    ui.UpDown1->SetHorizontal(true);
    ui.UpDown1->SetButtonTexts("－", "＋");
    ui.UDHor = new TUpDown(view);
    ui.UDHor->SetBounds(138, y + 8, 40, 24);
    ui.UDHor->Min = 0;
    ui.UDHor->Max = 1000;
    ui.UDHor->SetPosition(500);
    ui.UDHor->SetHint("左へ／右へ");
    ui.UDHor->SetHorizontal(true);
    ui.UDVer = new TUpDown(view);
    ui.UDVer->SetBounds(186, y, 24, 40);
    ui.UDVer->Min = 0;
    ui.UDVer->Max = 1000;
    ui.UDVer->SetPosition(500);
    ui.UDVer->SetHint("上へ／下へ");

    // Choosing the areas.
    ui.Button5 = Btn(c, "県 指 定", L, 229, 108, "都道府県名一覧から選択");
    ui.Button7 = Btn(c, "表示設定", L + 116, 229, 108);

    // Read-outs of distances, areas and the pointer.
    TGroupBox* readout = group(c, "計測", L, 262, 108);
    ui.Label17 = Lbl(readout, "距離", 8, 22, 40);
    ui.Label15 = Lbl(readout, "２点間", 50, 22, 90);
    ui.Label31 = Lbl(readout, "", 8, 42, 130);
    ui.Label33 = Lbl(readout, "2", 138, 38, 12);
    ui.Label35 = Lbl(readout, "", 150, 42, 66);
    ui.Label35->SetVisible(false);
    Lbl(readout, "地図の幅", 8, 62, 60);
    ui.Label28 = Lbl(readout, "", 70, 62, 80);
    ui.Label13 = Lbl(readout, "緯度", 8, 84, 40);
    ui.Label34 = Lbl(readout, "", 44, 84, 64);
    ui.Label14 = Lbl(readout, "経度", 112, 84, 40);
    ui.Label36 = Lbl(readout, "", 148, 84, 68);

    ui.CBRailLine = Check(c, "鉄道路線図", L + 8, 377, 104, false, "鉄道路線図の表示");
    ui.CBEki = Check(c, "駅名", L + 116, 377, 100, false, "駅名表示/非表示");

    TGroupBox* search = group(c, "検索", L, 404, 86);
    ui.EdName = new TEdit(search, "市区町村名");
    ui.EdName->SetVisible(false);
    ui.ComboBox1 = new TComboBox(search, true);
    ui.ComboBox1->SetBounds(8, 24, 136, 26);
    ui.Button9 = Btn(search, "検　索", 148, 24, 68, "検索実行");
    ui.Button9->SetDefault(true);
    ui.CBTownPaint = Check(search, "市町村検索ペイント", 8, 56, 150);
    ui.CBMenseki = Check(search, "面積", 160, 56, 56, false, "総面積表示");

    ui.Label20 = Lbl(c, "拡大・縮小：ﾏｳｽﾎｲｰﾙ", L + 8, 498, 200);
    ui.Label21 = Lbl(c, "上下移動：Shift+ﾏｳｽﾎｲｰﾙ", L + 8, 516, 200);
    ui.Label21->SetVisible(false);
    ui.Label19 = Lbl(c, "", L, 538, PW);

    y = 562;
    ui.Button1 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ保存", L, y, 108);
    ui.Button10 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ読込", L + 116, y, 108);
    y += 30;
    ui.Button3 = Btn(c, "再描画", L, y, 108);
    ui.Button3->SetVisible(false);
    ui.Button2 = Btn(c, "終　了", L + 148, y, 76);

    // The map.
    ui.ScrollBox1 = new TScrollBox(c);
    ui.ScrollBox1->SetBounds(MX, 8, MW, SizeY + 16);
    ui.Image1 = new TImage(nullptr);
    ui.Image1->setAccessibleName("地図");
    ui.Image1->SetImageSize(SIZEX, SizeY);
    ui.ScrollBox1->SetContent(ui.Image1);
    ui.TkBtn1 = new TTkBtn(ui.Image1, "作者へのメール");
    ui.TkBtn1->SetBounds(20, 560, 140, 26);

    // Right column: layers, tools, output. It keeps to the right edge.
    QWidget* right = new QWidget(c);
    right->setGeometry(MX + MW + 8, 0, PW, SizeY + 32);
    TGroupBox* layers = group(right, "表示", 0, 8, 182);
    y = 20;
    ui.CBPrefBorder = Check(layers, "都府県界", 8, y, 104, true);
    ui.CBTownBorder = Check(layers, "市区町村界", 112, y, 110, true);
    y += 22;
    ui.CBTownName = Check(layers, "市区町村名", 8, y, 104);
    ui.CBMainDoubleName = Check(layers, "重複可", 112, y, 104, true);
    y += 22;
    ui.CBNTownBorder = Check(layers, "旧市町村界", 8, y, 104, false, "旧市町村界");
    ui.CBLake = Check(layers, "湖境界", 112, y, 104);
    y += 22;
    ui.CBLonLat = Check(layers, "経緯線(1度)", 8, y, 104);
    ui.CBScale = Check(layers, "尺度", 112, y, 104);
    y += 22;
    ui.CBCenter = Check(layers, "中心", 8, y, 104);
    ui.CBKenName1 = Check(layers, "都道府県名", 112, y, 110);
    y += 22;
    ui.CBLabel = Check(layers, "ラベル", 8, y, 104);
    ui.CBYomi = Check(layers, "読み", 112, y, 104, false, "市区町村名の読みがな表示");
    y += 22;
    ui.CBExp = Check(layers, "地図凡例", 8, y, 104, false, "ドラッグで移動可能");
    ui.CBInfo = Check(layers, "設定値", 112, y, 104, false, "地図設定値表示");
    // Set from the display settings window; not shown here.
    ui.CBOldTown = Check(layers, "旧市町村（削除不可）", 8, y, 200, false, "旧市町村名");
    ui.CBFun = Check(layers, "経緯線(10分)", 8, y, 104, true);
    ui.CBDo = Check(layers, "経緯度", 8, y, 104, true);
    ui.CB1do = Check(layers, "1度おき", 8, y, 104);
    ui.CBKu = Check(layers, "区界", 8, y, 104, true);
    for (TCheckBox* hidden : {ui.CBOldTown, ui.CBFun, ui.CBDo, ui.CB1do, ui.CBKu}) hidden->SetVisible(false);

    TGroupBox* tools = group(right, "ツール", 0, 198, 142);
    y = 20;
    ui.BtnPaint = Btn(tools, "ペイント", 8, y, 100);
    ui.BtnLetter = Btn(tools, "ラ ベ ル", 116, y, 100);
    y += 30;
    ui.BtnMark = Btn(tools, "地図記号", 8, y, 100);
    ui.BtnMulti = Btn(tools, "複数区間", 116, y, 100);
    y += 30;
    ui.Button14 = Btn(tools, "面積", 8, y, 100, "測定領域をクリック");
    ui.CBNokori = Check(tools, "県", 116, y + 3, 48, false, "県域面積");
    ui.CBTimer = Check(tools, "自動", 164, y + 3, 56);
    y += 30;
    ui.CBZahyo = Check(tools, "座標", 8, y, 100);
    ui.CBCopy = Check(tools, "範囲コピー", 116, y, 104);

    TGroupBox* output = group(right, "画像", 0, 348, 178);
    ui.RadioGroup1 = new TRadioGroup(output, "画像ｻｲｽﾞ");
    ui.RadioGroup1->SetColumns(2);
    ui.RadioGroup1->SetItems({" 600", "1200", "1800", "2400", "3000", "3600"});
    ui.RadioGroup1->SetItemIndex(0);
    ui.RadioGroup1->SetBounds(8, 20, 136, 88);
    ui.RadioGroup1->SetHint("ピクセル");
    ui.RadioGroup2 = new TRadioGroup(output, "画像形式");
    ui.RadioGroup2->SetItems({"PNG", "JPEG", "BMP"});
    ui.RadioGroup2->SetItemIndex(0);
    ui.RadioGroup2->SetBounds(148, 20, 68, 88);
    ui.RadioGroup2->SetHint("PNGを推奨");
    ui.Button4 = Btn(output, "画像コピー", 8, 114, 100, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
    ui.Button8 = Btn(output, "画像保存", 116, 114, 100, "ﾃﾞｨｽｸに保存");
    ui.BtnPrint = Btn(output, "印刷…", 8, 144, 208, "地図を用紙に合わせて印刷");
    ui.FileOpen1->OnClick = [this](TObject*) { ui.Button10->Press(); };
    ui.FileSave1->OnClick = [this](TObject*) { ui.Button1->Press(); };
    ui.CopyImage1->OnClick = [this](TObject*) { ui.Button4->Press(); };

    ui.Panel1 = new TPanel(c, "");
    ui.Panel1->SetVisible(false);

    // Nothing to work on before the first map: these wake up with it.
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui.UDHor, ui.UDVer, ui.UpDown1, ui.TkBtn2, ui.Button12, ui.Button6, ui.CBPrefBorder, ui.CBTownBorder, ui.CBNTownBorder,
             ui.CBTownName, ui.CBLonLat, ui.CBCenter, ui.CBScale, ui.BtnPaint, ui.BtnMark, ui.BtnMulti, ui.Button14, ui.CBExp, ui.CBCopy,
             ui.CBChiri, ui.CBTimer, ui.CBNokori, ui.CBKenName1, ui.Label34, ui.Label36, ui.BtnCenter, ui.BtnLetter, ui.CBLabel, ui.CBYomi,
             ui.CBInfo})
        w->setEnabled(false);
    for (TMenuItem* m : {ui.N9, ui.N17, ui.N18}) m->SetEnabled(false);

    ui.Timer1 = new TTimer(this);
    ui.Timer1->SetInterval(1000);
    ui.Timer2 = new TTimer(this);
    ui.Timer2->SetInterval(150);
    ui.SaveDialog1 = new TSaveDialog(this);

    // The map box and the right column follow the window's size.
    auto arrange = [this, c, right, MX, PW] {
        const int w = c->width(), h = c->height();
        const int mapW = std::max(120, w - MX - PW - 16);
        ui.ScrollBox1->SetBounds(MX, 8, mapW, std::max(120, h - 16));
        right->move(MX + mapW + 8, 0);
    };
    OnResize(c, arrange);
    c->setMinimumSize(MX + 200 + 8 + PW + 8, SizeY + 32);
    SetClientSize(MX + MW + 8 + PW + 8, SizeY + 32);
}

void TOpen::SetViewControlsEnabled(bool on) {
    for (QWidget* w : std::initializer_list<QWidget*>{ui.BtnCenter, ui.BtnLine, ui.UDHor, ui.UDVer, ui.UpDown1, ui.Button5, ui.Button6,
                                                      ui.Button7, ui.Button9, ui.Panel1, ui.BtnPaint, ui.CBPrefBorder, ui.CBLabel,
                                                      ui.CBScale, ui.CBLonLat, ui.BtnLetter})
        w->setEnabled(on);
    SetBorderDependents(on);
}

// The municipality boxes need the municipality borders, and those the
// prefecture borders: each is enabled only while the box it needs is ticked.
void TOpen::SetBorderDependents(bool on) {
    ui.CBTownBorder->SetEnabled(on && ui.CBPrefBorder->Checked());
    for (TCheckBox* b : {ui.CBTownName, ui.CBNTownBorder, ui.CBLake}) b->SetEnabled(on && ui.CBTownBorder->Checked());
}

void TOpen::DisableMapControls() { SetMapControlsEnabled(false); }
void TOpen::EnableMapControls() { SetMapControlsEnabled(true); }

void TOpen::SetMapControlsEnabled(bool on) {
    ui.TkBtn2->SetEnabled(on);
    ui.TkBtn2->Font.Color = on ? 8388608 : 8421504;
    ui.TkBtn2->Invalidate();
    SetViewControlsEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{ui.Button12, ui.Button13, ui.Button14, ui.BtnMark, ui.BtnMulti}) w->setEnabled(on);
}
