#include "engine/Uabout.h"
#include "engine/FormEvents.h"
#include "engine/Settings.h"
#include "engine/MainForm.h"
#include "gui/Dialogs.h"

TAbout* About = nullptr;

namespace {

TLabel* Link(QWidget* parent, const std::string& caption, int x, int y) {
    auto* l = new TLabel(parent, caption);
    l->SetBounds(x, y, 240, 18);
    l->SetFontColor(clBlue);
    QFont f = l->font();
    f.setUnderline(true);
    l->setFont(f);
    return l;
}

} // namespace

void DrawProgramPicture(TCanvas* c, int side) {
    c->Brush->Style = bsSolid;
    c->Brush->Color = 0xFFFFE1;
    c->Pen->Color = 0x804000;
    c->Pen->Width = 1;
    c->Pen->Style = psSolid;
    c->Rectangle(0, 0, side, side);
    // A chain of islands from the south-west to the north-east.
    const double k = side / 48.0;
    const TPoint island[] = {{6, 40}, {12, 34}, {18, 33}, {24, 27}, {30, 24}, {34, 17}, {38, 12},
                             {36, 20}, {31, 28}, {24, 32}, {17, 37}, {10, 41}};
    TPoint pts[12];
    for (int i = 0; i < 12; ++i) pts[i] = TPoint(int(island[i].x * k), int(island[i].y * k));
    c->Brush->Color = 0x80C080;
    c->Pen->Color = 0xFF0000;
    c->Polygon(pts, 12);
    c->Ellipse(int(37 * k), int(4 * k), int(45 * k), int(10 * k));
}

TAbout::TAbout() : TForm("バージョン情報") {
    QWidget* c = Client();
    Panel1 = new TPanel(c, "");
    Panel1->setAccessibleName("プログラム情報（クリックで閉じる）");
    Panel1->BevelOuter = bvLowered;
    Panel1->SetBounds(8, 8, 344, 112);
    Image1 = new TImage(c);
    Image1->setAccessibleName("プログラムアイコン");
    Image1->SetBounds(20, 20, 48, 48);
    Image1->SetImageSize(48, 48);
    DrawProgramPicture(Image1->Canvas(), 48);
    Label1 = new TLabel(c, "白地図 Rovana");
    Label1->SetBounds(84, 20, 250, 24);
    Label1->SetFontSize(14);
    Label1->SetFontBold(true);
    Label2 = new TLabel(c, "Version 9.3");
    Label2->SetBounds(84, 50, 250, 18);
    Label3 = new TLabel(c, "");
    Label3->SetBounds(84, 72, 250, 18);
    auto* dataNote = new TLabel(c, "地図データ：国土数値情報（国土交通省）を加工");
    dataNote->SetBounds(20, 96, 320, 18);

    auto* homeCaption = new TLabel(c, "ホームページ");
    homeCaption->SetBounds(16, 132, 90, 18);
    Label4 = Link(c, settings::HomePageUrl, 110, 132);
    auto* authorCaption = new TLabel(c, "作者");
    authorCaption->SetBounds(16, 154, 90, 18);
    Label5 = Link(c, settings::MailAddress(settings::AuthorMail), 110, 154);
    auto* supportCaption = new TLabel(c, "サポート");
    supportCaption->SetBounds(16, 176, 90, 18);
    Label6 = Link(c, settings::MailAddress(settings::SupportMail), 110, 176);
    // Only the addresses there are, one under the other.
    int y = 132;
    const std::pair<TLabel*, const char*> links[] = {
        {homeCaption, settings::HomePageUrl}, {authorCaption, settings::AuthorMail}, {supportCaption, settings::SupportMail}};
    TLabel* const targets[] = {Label4, Label5, Label6};
    for (int i = 0; i < 3; ++i) {
        const bool shown = settings::Configured(links[i].second);
        links[i].first->SetVisible(shown);
        targets[i]->SetVisible(shown);
        if (!shown) continue;
        links[i].first->SetTop(y);
        targets[i]->SetTop(y);
        y += 22;
    }
    // The background closes the window on a click; a button says so to keyboard and reader alike.
    Button1 = new TButton(c, "閉じる");
    Button1->SetBounds(272, y + 4, 80, 26);
    Button1->SetDefault(true);
    SetClientSize(360, y + 38);
    SetFixedSize(true);
    SetPosition(poScreenCenter);

    Panel1->OnClick = [this](TObject* s) { CloseClick(s); };
    Button1->OnClick = [this](TObject* s) { CloseClick(s); };
    Image1->OnClick = [this](TObject* s) { CloseClick(s); };
    OnBackgroundClick(this, [this] { CloseClick(this); });
    OnHover(Label4, [this](bool inside) { Label4Hover(inside); });
    Label5->OnClick = [](TObject*) { ShellOpen(settings::AuthorMail); };
    Label6->OnClick = [](TObject*) { ShellOpen(settings::SupportMail); };
}

void TAbout::FormCreate(TObject* Sender) {
    KeptCursor = Screen()->Cursor();
    Label3->SetCaption(Open ? MainProgramDate() : std::string());
}

void TAbout::CloseClick(TObject* Sender) { Close(); }

// The same as the help menu's home-page item.

void TAbout::Label4Hover(bool inside) { Screen()->SetCursor(inside ? crHandPoint : KeptCursor); }
