#include "engine/Uhowto.h"
#include "engine/Settings.h"
#include "engine/Uabout.h"
#include "gui/Dialogs.h"

THowTo* HowTo = nullptr;

namespace {

const char* const kNotes =
    "１．「県 指 定」ボタンで都道府県指定ウィンドウを開き、描きたい都道府県や地方にチェックを入れて"
    "「決　定」を押すと（Enterキーでも）地図を描きます。左の検索欄に市区町村名を入れてEnterを押しても描けます。\n"
    "２．マウスホイールで拡大・縮小、Shift＋ホイールで上下、Ctrl＋ホイールで左右に移動します。地図をクリックして"
    "から矢印キーで移動、＋／－キーで拡大・縮小、Homeキーで標準範囲、BackSpaceキーで一つ前の範囲に戻ります。"
    "「範囲指定」を押してから地図をドラッグすると、その範囲を拡大します。\n"
    "３．右側の「表示」のチェックボックスで都府県界、市区町村界、市区町村名、経緯線、尺度などの表示を切り替えます。"
    "線の色や太さ、文字の大きさは「表示設定」で変えられます（地図の右クリックでも開きます）。\n"
    "４．「ペイント」で市区町村を塗り分け、「ラ ベ ル」で文字を、「地図記号」で記号を地図に置きます。"
    "Ctrl＋Zで一つ前に戻ります。\n"
    "５．地図上でマウスをドラッグすると、２点間の距離を表示します。「面積」「複数区間」で面積や経路の長さを測ります。\n"
    "６．「画像保存」で地図をPNG、JPEG、BMP形式のファイルに保存し、「画像コピー」（Ctrl＋C）でクリップボードに"
    "コピーします。\n"
    "７．作業の状態は「ﾌｧｲﾙ保存」（Ctrl＋S）で保存し、「ﾌｧｲﾙ読込」（Ctrl＋O）で元に戻せます。\n"
    "８．詳しくは下の「マニュアルを開く」で。どのウィンドウでもF1キーでそのウィンドウの説明が開きます。";

// A round button face with a cross: closes the window.
void DrawCloseFace(TCanvas* c, int side) {
    c->Brush->Style = bsSolid;
    c->Brush->Color = clBtnFace;
    c->Pen->Style = psClear;
    c->Rectangle(0, 0, side, side);
    c->Pen->Style = psSolid;
    c->Pen->Color = 0x404040;
    c->Pen->Width = 1;
    c->Brush->Color = 0xE0E0E0;
    c->Ellipse(1, 1, side - 1, side - 1);
    c->Pen->Width = 2;
    c->Pen->Color = 0x0000C0;
    int a = side / 3, b = side - side / 3;
    c->MoveTo(a, a);
    c->LineTo(b, b);
    c->MoveTo(b, a);
    c->LineTo(a, b);
}

TImage* CloseImage(QWidget* parent, int x, int y) {
    auto* image = new TImage(parent);
    image->SetBounds(x, y, 24, 24);
    image->SetImageSize(24, 24);
    DrawCloseFace(image->Canvas(), 24);
    image->SetHint("閉じる");
    return image;
}

} // namespace

THowTo::THowTo() : TForm("使い方") {
    QWidget* c = Client();
    Image3 = new TImage(c);
    Image3->SetBounds(8, 8, 32, 32);
    Image3->SetImageSize(32, 32);
    DrawProgramPicture(Image3->Canvas(), 32);
    Image3->SetHint("バージョン情報");
    auto* title = new TLabel(c, "白地図 Rovana の使い方");
    title->SetBounds(48, 14, 300, 20);
    title->SetFontBold(true);
    Image1 = CloseImage(c, 440, 8);

    Memo1 = new TMemo(c);
    Memo1->SetBounds(8, 48, 456, 260);
    Memo1->SetReadOnly(true);
    Memo1->SetText(kNotes);

    Button1 = new TButton(c, "マニュアルを開く");
    Button1->SetBounds(300, 314, 130, 26);
    Button1->SetHint("Help\\readme.htm");
    auto* mailCaption = new TLabel(c, "ご質問・ご意見：");
    mailCaption->SetBounds(8, 320, 120, 18);
    Label1 = new TLabel(c, settings::MailAddress(settings::SupportMail));
    Label1->SetBounds(128, 320, 260, 18);
    Label1->SetFontColor(clBlue);
    Image2 = CloseImage(c, 440, 316);
    mailCaption->SetVisible(settings::Configured(settings::SupportMail));
    Label1->SetVisible(settings::Configured(settings::SupportMail));
    SetClientSize(472, 348);
    SetPosition(poScreenCenter);

    Image1->OnClick = [this](TObject*) { Close(); };
    Image2->OnClick = [this](TObject*) { Close(); };
    Image3->OnClick = [](TObject*) { About->Show(); };
    Label1->OnClick = [](TObject*) { ShellOpen(settings::SupportMail); };
}
