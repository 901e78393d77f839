// Small builders of the controls every window makes: caption, place, size, hint.
#pragma once
#include "gui/Forms.h"
#include <string>

namespace gui {

inline TButton* Btn(QWidget* p, const std::string& caption, int x, int y, int w, const std::string& hint = "",
                    int h = 26) {
    auto* b = new TButton(p, caption);
    b->SetBounds(x, y, w, h);
    if (!hint.empty()) b->SetHint(hint);
    return b;
}

inline TCheckBox* Check(QWidget* p, const std::string& caption, int x, int y, int w, bool ticked = false,
                        const std::string& hint = "") {
    auto* c = new TCheckBox(p, caption);
    c->SetBounds(x, y, w, 20);
    c->SetChecked(ticked);
    if (!hint.empty()) c->SetHint(hint);
    return c;
}

inline TLabel* Lbl(QWidget* p, const std::string& caption, int x, int y, int w) {
    auto* l = new TLabel(p, caption);
    l->SetBounds(x, y, w, 18);
    return l;
}

// An up-down with the edit that shows its position and takes a typed one.
inline TUpDown* Spin(QWidget* p, TEdit*& edit, int x, int y, int min, int max, int pos) {
    edit = new TEdit(p, "");
    edit->SetBounds(x, y, 40, 24);
    auto* u = new TUpDown(p);
    u->SetBounds(x + 40, y, 18, 24);
    u->Min = min;
    u->Max = max;
    u->SetAssociate(edit);
    u->SetPosition(pos);
    return u;
}

inline TImage* Swatch(QWidget* p, int x, int y, int side) {
    auto* i = new TImage(p);
    i->SetBounds(x, y, side, side);
    i->SetImageSize(side, side);
    return i;
}

inline void FillSwatch(TImage* img, TColor c) {
    TCanvas* cv = img->Canvas();
    cv->Brush->Style = bsSolid;
    cv->Brush->Color = c;
    cv->FillRect(Rect(0, 0, cv->Width(), cv->Height()));
}

} // namespace gui
