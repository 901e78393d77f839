#include "components/Tkbtn.h"
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

TTkBtn::TTkBtn(QWidget* Owner, const std::string& caption)
    : TPanel(Owner, caption), FPicture(std::make_unique<TPicture>()) {
    setFocusPolicy(Qt::StrongFocus);
    resize(75, 25);
}

void TTkBtn::keyPressEvent(QKeyEvent* e) {
    const bool press = e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!press || e->modifiers() & ~Qt::KeypadModifier) {
        TPanel::keyPressEvent(e);
        return;
    }
    e->accept();
    if (isEnabled()) Click();
}

void TTkBtn::paintEvent(QPaintEvent* e) {
    TPanel::paintEvent(e);
    if (!hasFocus()) return;
    QStylePainter p(this);
    QStyleOptionFocusRect o;
    o.initFrom(this);
    o.rect = rect().adjusted(3, 3, -3, -3);
    p.drawPrimitive(QStyle::PE_FrameFocusRect, o);
}

void TTkBtn::focusInEvent(QFocusEvent*) { update(); }
void TTkBtn::focusOutEvent(QFocusEvent*) { update(); }

TTkBtn::~TTkBtn() = default;

void TTkBtn::Set_Picture(const TPicture* Value) {
    FPicture->Assign(Value);
    Invalidate();
}

void TTkBtn::Set_Picture(const TBitmap* Value) {
    FPicture->Assign(Value);
    Invalidate();
}

namespace {

// Expands tabs to the next multiple of eight characters.
std::string ExpandTabs(const std::string& s) {
    if (s.find('\t') == std::string::npos) return s;
    std::string out;
    size_t column = 0;
    for (size_t i = 0; i < s.size(); i++) {
        unsigned char c = s[i];
        if (c == '\t') {
            do out += ' ';
            while (++column % 8);
            continue;
        }
        out += char(c);
        if ((c & 0xC0) != 0x80) column++;   // count characters, not UTF-8 bytes
    }
    return out;
}

} // namespace

void TTkBtn::Paint(TCanvas* canvas) {
    if (!FPicture->HasGraphic()) {
        TPanel::Paint(canvas);
        return;
    }
    TRect r(0, 0, Width(), Height());
    canvas->StretchDraw(r, FPicture->Bitmap());
    PaintBevels(canvas, r);

    *canvas->Font = Font;
    canvas->Brush->Style = bsClear;
    int h = canvas->TextHeight("W");
    r.Top = (r.Top + r.Bottom - h) / 2;
    r.Bottom = r.Top + h;
    std::string text = ExpandTabs(Caption());
    if (text.empty()) return;
    int tw = canvas->TextWidth(text);
    int x = Alignment == taLeftJustify    ? r.Left
            : Alignment == taRightJustify ? r.Right - tw
                                          : r.Left + (r.Width() - tw) / 2;
    int y = r.Top + (h - canvas->TextHeight(text)) / 2;
    canvas->TextRect(r, x, y, text);
}

void TTkBtn::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) {
        BevelOuter = bvLowered;
        Invalidate();
    }
}

void TTkBtn::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPanel::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft) {
        BevelOuter = bvRaised;
        Invalidate();
    }
}
