#include "navigation/Ukeisoku.h"

TKeisoku* Keisoku = nullptr;

TKeisoku::TKeisoku() : TForm("しばらくお待ちください") {
    Label1 = new TLabel(this, "");
    Label1->SetBounds(16, 16, 460, 20);
    SetClientSize(492, 52);
}

void TKeisoku::ShowWait(const std::string& text) {
    Label1->SetCaption(text);
    Show();
    repaint();
}
