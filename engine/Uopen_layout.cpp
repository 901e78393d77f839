// The main window's controls: captions, hints and initial states, and where they sit.
#include "engine/Uopen.h"

namespace {

TMenuItem* Item(TMenuItem* parent, const std::string& caption, bool checked = false) {
    auto* m = new TMenuItem(caption);
    if (checked) m->SetChecked(true);
    parent->Add(m);
    return m;
}

TCheckBox* Check(QWidget* parent, const std::string& caption, int x, int y, int w, bool checked = false,
                 const std::string& hint = "") {
    auto* c = new TCheckBox(parent, caption);
    c->SetBounds(x, y, w, 20);
    if (checked) c->SetChecked(true);
    if (!hint.empty()) c->SetHint(hint);
    return c;
}

TButton* Btn(QWidget* parent, const std::string& caption, int x, int y, int w, const std::string& hint = "") {
    auto* b = new TButton(parent, caption);
    b->SetBounds(x, y, w, 26);
    if (!hint.empty()) b->SetHint(hint);
    return b;
}

TLabel* Lbl(QWidget* parent, const std::string& caption, int x, int y, int w) {
    auto* l = new TLabel(parent, caption);
    l->SetBounds(x, y, w, 18);
    return l;
}

} // namespace

void TOpen::CreateControls() {
    MyStr1 = new TMyStr();

    // Menus.
    MainMenu1 = new TMainMenu();
    File1 = new TMenuItem("ファイル");
    MainMenu1->Add(File1);
    SaveImage1 = Item(File1, "地図画像を保存する");
    PNG1 = Item(SaveImage1, "PNGファイルで保存する", true);
    JPEG1 = Item(SaveImage1, "JPEGファイルで保存する");
    BITMAP1 = Item(SaveImage1, "BITMAPファイルで保存する");
    Exit1 = Item(File1, "終了");

    Edit1 = new TMenuItem("編集");
    MainMenu1->Add(Edit1);
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

    Window1 = new TMenuItem("ウィンドウ");
    MainMenu1->Add(Window1);
    Open1 = Item(Window1, "都道府県指定ｳｲﾝﾄﾞｳを開く");
    N1 = Item(Window1, "地図表示設定ｳｲﾝﾄﾞｳを開く");
    N28 = Item(Window1, "都道府県名文字特性設定");
    menuPaint = Item(Window1, "ペイント作業を開始する");
    N18 = Item(Window1, "地図記号");
    MakeLabel = Item(Window1, "ラベルファイルを自動的に作成する");
    N15 = Item(Window1, "旧町村名のラベルファイルを作成する");

    Option1 = new TMenuItem("オプション");
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

    Help1 = new TMenuItem("ヘルプ");
    MainMenu1->Add(Help1);
    Tutorial1 = Item(Help1, "使い方");
    readmehtm1 = Item(Help1, "readme.htmを開く");
    HomePage1 = Item(Help1, "ホームページを開く");
    About1 = Item(Help1, "バージョン情報");
    SetMenu(MainMenu1);

    QWidget* c = Client();
    const int L = 8;    // left column
    const int MX = 232; // map column

    // Top-left: thumbnail, help image.
    Image4 = new TImage(c);
    Image4->SetBounds(L, 8, 64, 64);
    Image4->SetImageSize(64, 64);
    Image4->SetHint("バージョン情報");
    Image2 = new TImage(c);
    Image2->SetBounds(L + 72, 8, 32, 32);
    Image2->SetImageSize(32, 32);
    Image2->SetHint("使い方");
    Label38 = Lbl(c, "WGS", L + 112, 8, 60);
    Label38->SetHint("世界測地系");
    Label37 = Lbl(c, "Cnt", L + 112, 28, 60);
    Label23 = Lbl(c, "Mapping", L + 112, 48, 100);
    Label23->SetVisible(false);

    int y = 80;
    Button5 = Btn(c, "県 指 定", L, y, 104, "都道府県名一覧から選択");
    Button7 = Btn(c, "表示設定", L + 112, y, 104);
    y += 30;
    Button6 = Btn(c, "標準範囲", L, y, 104, "指定した全域の地図を描く");
    Button12 = Btn(c, "戻す", L + 112, y, 104, "一つ前の地図範囲に戻す");
    y += 30;
    TkBtn2 = new TTkBtn(c, "範囲指定");
    TkBtn2->SetBounds(L, y, 104, 26);
    TkBtn2->SetHint("マウスをドラッグして拡大範囲指定");
    BtnCenter = Btn(c, "中心設定", L + 112, y, 104);
    y += 32;

    // Magnification and pan.
    Lbl(c, "倍率", L, y + 4, 32);
    Label6 = Lbl(c, " 1.00", L + 34, y + 4, 50);
    UpDown1 = new TUpDown(c);
    UpDown1->SetBounds(L + 88, y, 40, 24);
    UpDown1->Min = 1;
    UpDown1->Max = 10000;
    UpDown1->SetPosition(1);
    UpDown1->SetHint("地図画像倍率");
    UDHor = new TUpDown(c);
    UDHor->SetBounds(L + 136, y, 40, 24);
    UDHor->Min = 0;
    UDHor->Max = 1000;
    UDHor->SetPosition(500);
    UDHor->SetHint("左へ／右へ");
    UDVer = new TUpDown(c);
    UDVer->SetBounds(L + 184, y, 24, 40);
    UDVer->Min = 0;
    UDVer->Max = 1000;
    UDVer->SetPosition(500);
    UDVer->SetHint("上へ／下へ");
    y += 28;
    Label20 = Lbl(c, "拡大・縮小：ﾏｳｽﾎｲｰﾙ", L, y, 200);
    y += 18;
    Label21 = Lbl(c, "上下移動：Shift+ﾏｳｽﾎｲｰﾙ", L, y, 200);
    Label21->SetVisible(false);
    y += 22;

    // Layers.
    CBPrefBorder = Check(c, "都府県界", L, y, 104, true);
    CBTownBorder = Check(c, "市区町村界", L + 112, y, 110, true);
    y += 22;
    CBTownName = Check(c, "市区町村名", L, y, 104);
    CBMainDoubleName = Check(c, "重複可", L + 112, y, 104, true);
    y += 22;
    CBNTownBorder = Check(c, "旧市町村界", L, y, 104, false, "旧市町村界");
    CBLake = Check(c, "湖境界", L + 112, y, 104);
    y += 22;
    CBOldTown = Check(c, "旧市町村（削除不可）", L, y, 200, false, "旧市町村名");
    CBOldTown->SetVisible(false);
    CBKu = Check(c, "区界", L, y, 104, true);
    CBYomi = Check(c, "読み", L + 112, y, 104, false, "市区町村名の読みがな表示");
    y += 22;
    CBLonLat = Check(c, "経緯線(1度)", L, y, 104);
    CBScale = Check(c, "尺度", L + 112, y, 104);
    y += 22;
    CBFun = Check(c, "経緯線(10分)", L, y, 104, true);
    CBDo = Check(c, "経緯度", L + 112, y, 104, true);
    CB1do = Check(c, "1度おき", L, y, 104);
    CBFun->SetVisible(false);
    CBDo->SetVisible(false);
    CB1do->SetVisible(false);
    CBCenter = Check(c, "中心", L, y, 104);
    CBKenName1 = Check(c, "都道府県名", L + 112, y, 110);
    y += 22;
    CBLabel = Check(c, "ラベル", L, y, 104);
    CBInfo = Check(c, "設定値", L + 112, y, 104, false, "地図設定値表示");
    y += 22;
    CBExp = Check(c, "地図凡例", L, y, 104, false, "ドラッグで移動可能");
    CBRailLine = Check(c, "鉄道路線図", L + 112, y, 110, false, "鉄道路線図の表示");
    y += 22;
    CBEki = Check(c, "駅名", L, y, 104, false, "駅名表示/非表示");
    CBCopy = Check(c, "範囲コピー", L + 112, y, 104);
    y += 26;

    // Tools.
    BtnPaint = Btn(c, "ペイント", L, y, 104);
    BtnLetter = Btn(c, "ラ ベ ル", L + 112, y, 104);
    y += 30;
    BtnMark = Btn(c, "地図記号", L, y, 104);
    BtnMulti = Btn(c, "複数区間", L + 112, y, 104);
    y += 30;
    Button14 = Btn(c, "面積", L, y, 104, "測定領域をクリック");
    CBNokori = Check(c, "県", L + 112, y + 3, 50, false, "県域面積");
    CBTimer = Check(c, "自動", L + 164, y + 3, 56);
    y += 30;
    CBChiri = Check(c, "地図閲覧", L, y, 104, false, "国土地理院地図閲覧サービスへ接続");
    CBZahyo = Check(c, "座標", L + 112, y, 104);
    y += 24;

    // Read-out.
    Label17 = Lbl(c, "距離", L, y, 40);
    Label15 = Lbl(c, "２点間", L + 44, y, 100);
    Label28 = Lbl(c, "", L + 150, y, 70);
    y += 20;
    Label31 = Lbl(c, "", L, y, 130);
    Label33 = Lbl(c, "2", L + 132, y - 4, 12);
    Label35 = Lbl(c, "", L + 150, y, 70);
    Label35->SetVisible(false);
    y += 20;
    Label13 = Lbl(c, "緯度", L, y, 104);
    Label14 = Lbl(c, "経度", L + 112, y, 104);
    y += 20;
    Label34 = Lbl(c, "", L, y, 104);
    Label36 = Lbl(c, "", L + 112, y, 104);
    y += 22;

    // Search.
    EdName = new TEdit(c, "市区町村名");
    EdName->SetVisible(false);
    ComboBox1 = new TComboBox(c, true);
    ComboBox1->SetBounds(L, y, 140, 26);
    Button9 = Btn(c, "検　索", L + 148, y, 68, "検索実行");
    y += 30;
    CBTownPaint = Check(c, "市町村検索ペイント", L, y, 160);
    CBMenseki = Check(c, "面積", L + 164, y, 56, false, "総面積表示");
    y += 26;

    // Output.
    RadioGroup1 = new TRadioGroup(c, "画像ｻｲｽﾞ");
    RadioGroup1->SetItems({" 600", "1200", "1800"});
    RadioGroup1->SetItemIndex(0);
    RadioGroup1->SetBounds(L, y, 104, 90);
    RadioGroup1->SetHint("ピクセル");
    RadioGroup2 = new TRadioGroup(c, "画像形式");
    RadioGroup2->SetItems({"PNG", "JPEG", "BMP"});
    RadioGroup2->SetItemIndex(0);
    RadioGroup2->SetBounds(L + 112, y, 104, 90);
    RadioGroup2->SetHint("PNGを推奨");
    y += 96;
    Button4 = Btn(c, "画像コピー", L, y, 104, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ");
    Button8 = Btn(c, "画像保存", L + 112, y, 104, "ﾃﾞｨｽｸに保存");
    y += 30;
    Button1 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ保存", L, y, 104);
    Button2 = Btn(c, "終　了", L + 112, y, 104);
    y += 30;
    Button13 = Btn(c, "ﾌﾟﾛｼﾞｪｸﾄ読込", L, y, 104);
    Button3 = Btn(c, "再描画", L + 112, y, 104);
    Button3->SetVisible(false);
    y += 30;
    Label19 = Lbl(c, "", L, y, 216);

    Panel1 = new TPanel(c, "");
    Panel1->SetVisible(false);

    // The map.
    ScrollBox1 = new TScrollBox(c);
    ScrollBox1->SetBounds(MX, 8, SIZEX + 16, SizeY + 16);
    Image1 = new TImage(nullptr);
    Image1->SetImageSize(SIZEX, SizeY);
    ScrollBox1->SetContent(Image1);

    TkBtn1 = new TTkBtn(Image1, "作者へのメール");
    TkBtn1->SetBounds(20, 560, 140, 26);

    Timer1 = new TTimer(this);
    Timer1->SetInterval(1000);
    Timer2 = new TTimer(this);
    Timer2->SetInterval(150);
    SaveDialog1 = new TSaveDialog(this);

    SetClientSize(MX + SIZEX + 16 + 8, std::max(y + 30, SizeY + 16 + 16));
}
