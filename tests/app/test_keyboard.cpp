// The program driven from the keyboard: Enter takes each window's default
// action, the map answers the arrow, zoom, Home and Backspace keys, Tab
// follows the layout, and the menus' shortcuts reach their buttons.
#include "engine/Uabout.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "gui/Testing.h"
#include "labels/Uprefset.h"
#include "names/Usearch.h"
#include "navigation/Usettei.h"
#include "paint/Upaint.h"
#include "tests/support/FormsFixture.h"
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using testsupport::FocusAsUser;

std::string Caption(QWidget* w) { return w->property("text").toString().toStdString(); }

void Key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(w, k, m); }

// The country's map data, for the searches.
class JapanKeys : public FormsTest {
protected:
    void FillProgramFolder(const fs::path& dir) override { testsupport::CopyJapanData(dir, {"MAPDATA"}); }
};

class Keys : public FormsTest {
protected:
    void DrawArea(int code) {
        Ken->Button3Click(Ken);
        Ken->AreaBox(code)->SetChecked(true);
        Ken->Button1Click(Ken);
        ASSERT_TRUE(Open->gate.MapShown);
    }
};

TEST_F(JapanKeys, EnterTakesTheDefaultActionOfTheWindowItIsPressedIn) {
    for (TButton* b : {Open->ui.Button9, Ken->Button1, Search->Button1, Settei->Button8, PrefSet->Button4})
        EXPECT_TRUE(b->isDefault()) << b->Caption();

    // The search box: a name and Enter draw its area.
    Open->Show();
    QLineEdit* box = Open->ui.ComboBox1->lineEdit();
    FocusAsUser(box);
    testsupport::TypeInto(box, "川崎市", false);
    Key(box, Qt::Key_Return);
    EXPECT_EQ(Open->doc.SELECT, 1);
    EXPECT_EQ(Open->doc.SelectCode[0], 13);
    EXPECT_TRUE(Open->gate.MapShown);

    // Mountains and islands.
    Search->Show();
    FocusAsUser(Search->Edit1);
    testsupport::TypeInto(Search->Edit1, "富士山", false);
    Key(Search->Edit1, Qt::Key_Return);
    EXPECT_NE(Search->Label3->Caption().find("個みつかりました"), std::string::npos) << Search->Label3->Caption();

    // The area choice: Enter on a ticked box takes "決　定" ...
    Ken->Show();
    Ken->Button3Click(Ken);
    Ken->AreaBox(26)->SetChecked(true);
    FocusAsUser(Ken->AreaBox(26));
    Key(Ken->AreaBox(26), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(Open->doc.SELECT, 1);
    EXPECT_EQ(Open->doc.SelectCode[0], 26);
    // ... but on a focused button it presses that button.
    Ken->Show();
    Ken->Button3Click(Ken);
    Ken->AreaBox(12)->SetChecked(true);
    FocusAsUser(Ken->Button2);
    Key(Ken->Button2, Qt::Key_Return);
    EXPECT_FALSE(Ken->Visible());
    EXPECT_EQ(Open->doc.SelectCode[0], 26);

    // The about window closes on Enter through its own button.
    About->Show();
    Key(About, Qt::Key_Return);
    EXPECT_FALSE(About->Visible());
}

TEST_F(Keys, TheMapAnswersTheViewKeysThroughItsControls) {
    Open->Show();
    DrawArea(1);
    FocusAsUser(Open->ui.Image1);
    const int32_t cx = Open->CX, cy = Open->CY;
    Key(Open->ui.Image1, Qt::Key_Right);
    EXPECT_LT(Open->CX, cx);
    EXPECT_EQ(Open->ui.UDHor->Position(), 501);
    Key(Open->ui.Image1, Qt::Key_Up);
    EXPECT_LT(Open->CY, cy);
    EXPECT_EQ(Open->ui.UDVer->Position(), 501);

    Key(Open->ui.Image1, Qt::Key_Plus);
    Key(Open->ui.Image1, Qt::Key_PageUp);
    EXPECT_EQ(Open->ui.Label6->Caption(), "3.00");
    Key(Open->ui.Image1, Qt::Key_Minus);
    Key(Open->ui.Image1, Qt::Key_PageDown);
    Key(Open->ui.Image1, Qt::Key_PageDown);   // at the up-down's limit: nothing
    EXPECT_EQ(Open->MAGSTEP, 1);

    // Backspace steps back only when "戻す" could; Home is "標準範囲".
    ASSERT_FALSE(Open->ui.Button12->Enabled());
    Key(Open->ui.Image1, Qt::Key_Backspace);
    EXPECT_NE(Open->CY, cy);
    Key(Open->ui.Image1, Qt::Key_Home);
    EXPECT_EQ(Open->CX, cx);
    EXPECT_EQ(Open->CY, cy);

    // The up-downs take the focus themselves and step with the arrows.
    FocusAsUser(Open->ui.UDHor);
    ASSERT_TRUE(Open->ui.UDHor->hasFocus());
    Key(Open->ui.UDHor, Qt::Key_Left);
    EXPECT_EQ(Open->ui.UDHor->Position(), 499);
    EXPECT_GT(Open->CX, cx);
}

// Tab walks each column of the main window top to bottom, left to right in a
// row, and passes every button, the picture buttons too.
TEST_F(Keys, TabFollowsTheLayoutOfTheMainWindow) {
    DrawArea(1);
    Open->Show();
    // From the first control, top left, once round.
    QWidget* first = Open->ui.CBChiri;
    FocusAsUser(first);
    std::vector<QWidget*> seen{first};
    for (int i = 0; i < 200; ++i) {
        QWidget* f = QApplication::focusWidget();
        Key(f, Qt::Key_Tab);
        f = QApplication::focusWidget();
        if (f == first) break;
        seen.push_back(f);
    }
    auto at = [&](QWidget* w) { return std::find(seen.begin(), seen.end(), w) - seen.begin(); };
    // "戻す" rests until a range was drawn: "範囲指定" comes next.
    EXPECT_EQ(at(Open->ui.TkBtn2), at(Open->ui.Button6) + 1);
    EXPECT_EQ(at(Open->ui.BtnCenter), at(Open->ui.Button6) + 2);
    EXPECT_LT(at(Open->ui.Image1), int(seen.size()));
    // Within one column no step goes back above the control it leaves.
    const int mapLeft = Open->ui.ScrollBox1->mapTo(Open, QPoint(0, 0)).x();
    auto column = [&](QWidget* w) {
        const int x = w->mapTo(Open, QPoint(0, 0)).x();
        return x < mapLeft ? 0 : x < mapLeft + Open->ui.ScrollBox1->width() ? 1 : 2;
    };
    for (size_t i = 1; i < seen.size(); ++i) {
        QWidget *a = seen[i - 1], *b = seen[i];
        if (column(a) != column(b)) {
            EXPECT_LT(column(a), column(b)) << Caption(a) << " -> " << Caption(b);
            continue;
        }
        EXPECT_GT(b->mapTo(Open, QPoint(0, b->height())).y(), a->mapTo(Open, QPoint(0, 0)).y())
            << Caption(a) << " -> " << Caption(b);
    }
}

TEST_F(Keys, ShortcutsReachTheButtonsTheyStandFor) {
    Open->Show();
    FocusAsUser(Open->ui.Image1);
    // Before a map "画像コピー" rests, and so does its key.
    Key(Open->ui.Image1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(gui::testing::ClipboardImage().isNull());

    DrawArea(1);
    FocusAsUser(Open->ui.Image1);
    Key(Open->ui.Image1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(gui::testing::ClipboardImage().width(), Open->ImageSize);
    gui::testing::QueueFileName((programDir / "work.rvx").string());
    Key(Open->ui.Image1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(fs::exists(programDir / "work.rvx"));

    // Ctrl+Z takes back the last fill, from the paint window as from the map.
    Open->ui.BtnPaint->click();
    MapPaint->TkBtnClick(2);
    PaintAt(*Open, 300, 300);
    PaintAt(*Open, 100, 100);
    ASSERT_EQ(Open->paint.paint_rep, 2);
    FocusAsUser(MapPaint->BtnRepaint);
    Key(MapPaint->BtnRepaint, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Open->paint.paint_rep, 1);

    // Each menu of the bar opens with its own Alt letter.
    std::set<QChar> letters;
    for (int i = 0; i < Open->ui.MainMenu1->Count(); ++i) {
        const QString t = Open->ui.MainMenu1->Items(i)->Action()->text();
        const int amp = t.indexOf('&');
        ASSERT_GE(amp, 0) << t.toStdString();
        EXPECT_TRUE(letters.insert(t[amp + 1]).second) << t.toStdString();
    }
}

} // namespace
