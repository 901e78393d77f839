#include "engine/Uprocess.h"
#include <QApplication>

TProcess* Process = nullptr;

TProcess::TProcess() : TForm("お待ちください") {
    Label1 = new TLabel(this, "");
    Label1->SetBounds(16, 16, 360, 20);
    Button1 = new TButton(this, "中止");
    Button1->SetBounds(296, 44, 80, 26);
    Button1->SetHint("保存をやめる（ファイルは作られません）");
    Button1->SetVisible(false);
    Button1->SetEnabled(false);
    Button1->OnClick = [this](TObject*) { Cancelled = true; };
    // The close box and Esc stop a step as "中止" does; otherwise they just close.
    SetCloseButton(Button1);
    SetClientSize(392, 52);
}

void TProcess::BeginStoppable() {
    Cancelled = false;
    // Modality takes effect when the window is shown.
    const bool shown = Visible();
    if (shown) Hide();
    setWindowModality(Qt::ApplicationModal);
    Button1->SetVisible(true);
    Button1->SetEnabled(true);
    SetClientSize(392, 80);
    if (shown) Show();
}

void TProcess::EndStoppable() {
    Hide();
    setWindowModality(Qt::NonModal);
    Button1->SetVisible(false);
    Button1->SetEnabled(false);
    SetClientSize(392, 52);
}

void TProcess::showEvent(QShowEvent* e) {
    QWidget* active = QApplication::activeWindow();
    if (active && active != this) workedIn = active;
    TForm::showEvent(e);
}

void TProcess::hideEvent(QHideEvent* e) {
    TForm::hideEvent(e);
    // Its own activation may still be on its way: the request comes after it.
    if (workedIn && workedIn->isVisible()) workedIn->activateWindow();
    workedIn = nullptr;
}

bool TProcess::StopAsked() {
    TTimer::Hold hold;
    QApplication::processEvents();
    return Cancelled;
}
