#include "engine/Uhowto.h"
#include "engine/Settings.h"
#include "engine/Uabout.h"
#include "gui/Dialogs.h"

THowTo* HowTo = nullptr;

namespace {

const char* const kNotes =
    "１．「県 指 定」ボタンで都道府県指定ウィンドウを開き、描きたい都道府県や地方にチェックを入れて"
    "「決　定」を押すと、地図を描きます。\n"
    "２．マウスホイールで拡大・縮小、Shift＋ホイールで上下に移動します。「範囲指定」を押してから"
    "地図をドラッグすると、その範囲を拡大します。「標準範囲」で指定した全域に戻ります。\n"
    "３．右側の「表示」のチェックボックスで都府県界、市区町村界、市区町村名、経緯線、尺度などの表示を切り替えます。"
    "線の色や太さ、文字の大きさは「表示設定」で変えられます（地図の右クリックでも開きます）。\n"
    "４．「ペイント」で市区町村を塗り分け、「ラ ベ ル」で文字を、「地図記号」で記号を地図に置きます。\n"
    "５．地図上の２点をクリックすると、２点間の距離を表示します。\n"
    "６．「画像保存」で地図をPNG、JPEG、BMP形式のファイルに保存し、「画像コピー」でクリップボードに"
    "コピーします。\n"
    "７．作業の状態は「ﾌﾟﾛｼﾞｪｸﾄ保存」で保存し、「ﾌﾟﾛｼﾞｪｸﾄ読込」で元に戻せます。";

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
