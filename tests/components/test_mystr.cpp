// The line splitters and the picture button.
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "tests/support/Pixels.h"
#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>

using Fields = std::vector<std::string>;
using testsupport::PixelsAre;

namespace {

// The fields of a line, the count returned checked against them.
Fields Run(int (*split)(std::string_view, Fields&), std::string_view line) {
    Fields f;
    const int n = split(line, f);
    EXPECT_EQ(n, int(f.size())) << line;
    return f;
}
Fields Split(std::string_view line) { return Run(TMyStr::SplitFields, line); }
Fields Csv(std::string_view line) { return Run(TMyStr::SplitCsv, line); }

} // namespace

TEST(SplitFields, BlanksCommasAndNewlines) {
    EXPECT_EQ(Split("A 123 456 青森市\n"), (Fields{"A", "123", "456", "青森市"}));
    EXPECT_EQ(Split("A,123,456,青森市"), (Fields{"A", "123", "456", "青森市"}));
    EXPECT_EQ(Split("  \t \n"), Fields{});
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split(",a"), (Fields{"", "a"}));
    EXPECT_EQ(Split("a,"), Fields{"a"});
    EXPECT_EQ(Split("a,\n"), Fields{"a"});
    EXPECT_EQ(Split("a,,b"), (Fields{"a", "", "b"}));
    EXPECT_EQ(Split("a ,b"), (Fields{"a", "", "b"}));   // the blank ends a, the comma an empty field
    EXPECT_EQ(Split("a\tb  c"), (Fields{"a", "b", "c"}));
    // The full-width space is not a blank, and "ー" (E3 83 BC) hides no separator byte.
    EXPECT_EQ(Split("東京　都,ーー"), (Fields{"東京　都", "ーー"}));
    // The text ends at a NUL as a C string does.
    EXPECT_EQ(Split(std::string_view("a b\0c d", 7)), (Fields{"a", "b"}));
}

TEST(SplitFields, StaticAndMemberReuseTheFieldStrings) {
    TMyStr myStr;
    Fields f;
    EXPECT_EQ(myStr.SplitFields("one two three", f), 3);
    f[1].reserve(64);   // a heap buffer, so a new string would show
    const char* second = f[1].data();
    EXPECT_EQ(myStr.SplitFields("x y", f), 2);
    EXPECT_EQ(f, (Fields{"x", "y"}));
    EXPECT_EQ(f[1].data(), second);   // the string was assigned, not made anew
    EXPECT_EQ(TMyStr::SplitFields("", f), 0);
    EXPECT_TRUE(f.empty());
}

TEST(SplitCsv, BlanksBelongToTheField) {
    EXPECT_EQ(Csv("a, b c ,d"), (Fields{"a", "b c ", "d"}));
    EXPECT_EQ(Csv("  千代田区 ,東京都\t,\n"), (Fields{"千代田区 ", "東京都\t"}));
    EXPECT_EQ(Csv(",,x"), (Fields{"", "", "x"}));
    EXPECT_EQ(Csv("a ,b"), (Fields{"a ", "b"}));
    EXPECT_EQ(Csv("a\nb"), (Fields{"a", "b"}));
    EXPECT_EQ(Csv(" \n"), Fields{});
}

namespace {

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
    QPointF pos(10, 10);
    Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Paints the button the way the screen would and returns its face.
QImage Render(TPanel& p) {
    p.grab();
    return p.Face()->Image().copy();
}

TColor At(const QImage& img, int x, int y) { return FromPixel(img.pixel(x, y)); }

std::unique_ptr<TPicture> SolidPicture(TColor c, int w = 10, int h = 10) {
    auto pic = std::make_unique<TPicture>();
    pic->Bitmap()->SetSize(w, h);
    pic->Bitmap()->Image().fill(ToPixel(c));
    return pic;
}

} // namespace

TEST(TkBtn, WithoutAPictureItIsAPanel) {
    TTkBtn btn(nullptr, "範囲");
    EXPECT_EQ(btn.Width(), 75);
    EXPECT_EQ(btn.Height(), 25);
    TPanel panel(nullptr, "範囲");
    panel.resize(75, 25);
    EXPECT_EQ(Render(btn), Render(panel));

    int clicks = 0;
    btn.OnClick = [&](TObject*) { clicks++; };
    SendMouse(&btn, QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(btn.BevelOuter, bvRaised);
    SendMouse(&btn, QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(btn.BevelOuter, bvRaised);
    EXPECT_EQ(clicks, 0);

    SendMouse(&btn, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(btn.BevelOuter, bvLowered);
    EXPECT_EQ(At(Render(btn), 0, 0), clBtnShadow);   // drawn pressed
    SendMouse(&btn, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(btn.BevelOuter, bvRaised);
    EXPECT_EQ(At(Render(btn), 0, 0), clBtnHighlight);
    EXPECT_EQ(clicks, 1);
}

TEST(TkBtn, PictureInsideTheBevelsAndBorder) {
    TTkBtn btn(nullptr);
    btn.BorderWidth = 2;
    btn.SetColor(clBlue);
    auto pic = SolidPicture(clRed, 4, 3);   // stretched to the whole button
    btn.Set_Picture(pic.get());
    QImage img = Render(btn);
    auto at = [&](int x, int y) { return At(img, x, y); };
    EXPECT_TRUE(PixelsAre(at, {{0, 0, clBtnHighlight, "bevel"}, {74, 24, clBtnShadow, "bevel"},
                               {1, 1, clBlue, "border"}, {2, 12, clBlue, "border"}, {72, 22, clBlue, "border"},
                               {3, 3, clRed, "picture"}, {71, 21, clRed, "picture"}, {37, 12, clRed, "picture"}}));

    // Lowered swaps the bevel colours.
    btn.BevelOuter = bvLowered;
    img = Render(btn);
    EXPECT_TRUE(PixelsAre(at, {{0, 0, clBtnShadow}, {74, 24, clBtnHighlight}}));

    // Set_Picture took a copy: later changes to the source do not show.
    pic->Bitmap()->Image().fill(ToPixel(clLime));
    EXPECT_EQ(At(Render(btn), 37, 12), clRed);
    btn.Set_Picture(static_cast<const TPicture*>(nullptr));
    EXPECT_EQ(Render(btn), [] {
        TPanel plain(nullptr);
        plain.resize(75, 25);
        plain.SetColor(clBlue);
        plain.BorderWidth = 2;
        plain.BevelOuter = bvLowered;
        return Render(plain);
    }());
}

TEST(TkBtn, CaptionOverThePictureWithoutABox) {
    TTkBtn btn(nullptr, "W");
    btn.resize(75, 41);
    btn.Font.Color = clBlack;
    btn.Font.Size = 12;
    auto pic = SolidPicture(clYellow);
    btn.Set_Picture(pic.get());
    QImage img = Render(btn);
    int ink = 0, top = img.height(), bottom = -1, other = 0;
    for (int y = 1; y < img.height() - 1; y++) {
        for (int x = 1; x < img.width() - 1; x++) {
            TColor c = At(img, x, y);
            if (c == clBlack) {
                ink++;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            } else if (c != clYellow) {
                other++;
            }
        }
    }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(other, 0);                          // clear brush: no text box, no blending
    EXPECT_NEAR((top + bottom) / 2.0, 20, 4);     // vertically centred
}
