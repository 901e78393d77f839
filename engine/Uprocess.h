// Wait window shown while many areas are drawn or a large image is copied or saved.
#pragma once
#include "gui/Forms.h"
#include <QPointer>

class TProcess : public TForm {
public:
    TProcess();

    TLabel* Label1;
    TButton* Button1;   // "中止": shown only while a step can be stopped
    bool Cancelled = false;

    // For a step that can be stopped: the window takes the input of the whole
    // program and shows "中止" until EndStoppable.
    void BeginStoppable();
    void EndStoppable();
    // Lets a press on "中止" through; true once it was pressed. The other
    // windows take no input and no timer runs meanwhile.
    bool StopAsked();

protected:
    // The window the user worked in gets the keys back when this one goes:
    // a hidden wait window must not stay the active one.
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    QPointer<QWidget> workedIn;
};

extern TProcess* Process;
