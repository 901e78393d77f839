// A panel that behaves as a push button and can show a picture in place of
// the panel face.
#pragma once
#include "gui/Controls.h"
#include <memory>

class TTkBtn : public TPanel {
public:
    explicit TTkBtn(QWidget* Owner, const std::string& caption = "");
    ~TTkBtn() override;

    // Copies the picture (not a reference to it) and repaints; null clears it.
    void Set_Picture(const TPicture* Value);
    void Set_Picture(const TBitmap* Value);
    TPicture* Picture() const { return FPicture.get(); }

protected:
    void Paint(TCanvas* canvas) override;
    // The left button shows the button pressed while it is down.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A tab stop: Space or Enter clicks it, as they do a push button.
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    std::unique_ptr<TPicture> FPicture;
};
