// Every text of every window fits its control at the window's default size,
// with the IPA gothic face, at the desktop scales of 100, 125 and 150 %: no
// caption clipped, no control past its window's edge, no text in a grid cut.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/Forms.h"
#include "output/Updfpage.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

namespace fs = std::filesystem;

int TextWidth(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split('\n')) widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// Room the style keeps beside a caption inside the control.
int Chrome(const QWidget* w) {
    const QStyle* s = w->style();
    if (qobject_cast<const QCheckBox*>(w))
        return s->pixelMetric(QStyle::PM_IndicatorWidth) + s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    if (qobject_cast<const QRadioButton*>(w))
        return s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) + s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    if (qobject_cast<const QPushButton*>(w)) return 2 * s->pixelMetric(QStyle::PM_DefaultFrameWidth) + 4;
    if (qobject_cast<const QGroupBox*>(w)) return 16;
    return 0;
}

// What does not fit in one window, one line per fault.
std::vector<std::string> Misfits(TForm* form) {
    std::vector<std::string> out;
    auto report = [&](QWidget* w, const QString& text, int need, int have) {
        out.push_back(text.toStdString() + " (" + w->metaObject()->className() + " in " + w->parentWidget()->metaObject()->className() + "): needs " + std::to_string(need) +
                      ", has " + std::to_string(have));
    };
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(form) || w->isWindow()) continue;
        // Nothing sticks out past the window, or past a group it belongs to.
        // (Content that scrolls may lie beyond its view.)
        auto scrolled = [form](QWidget* x) {
            for (QWidget* p = x->parentWidget(); p && p != form; p = p->parentWidget())
                if (qobject_cast<QAbstractScrollArea*>(p)) return true;
            return false;
        };
        if (QWidget* p = w->parentWidget(); p && p != form && !scrolled(w)) {
            const QRect r = w->geometry(), inner = p->rect();
            const bool captioned = !w->property("text").toString().isEmpty();
            if (r.right() > inner.right() + 1 && captioned && (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                report(w, w->property("text").toString() + " past the edge", r.right(), inner.right());
            if (r.bottom() > inner.bottom() + 1 && captioned && (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                report(w, w->property("text").toString() + " below the edge", r.bottom(), inner.bottom());
        }
        // Controls that take input do not lie over one another.
        auto solid = [](QWidget* x) {
            return qobject_cast<QAbstractButton*>(x) || qobject_cast<QLineEdit*>(x) || qobject_cast<QComboBox*>(x) ||
                   qobject_cast<QAbstractScrollArea*>(x) || dynamic_cast<TUpDown*>(x);
        };
        if (solid(w) && !qobject_cast<QRadioButton*>(w))
            for (QWidget* o : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (o < w && o->isVisibleTo(form) && solid(o) && o->geometry().intersects(w->geometry()))
                    report(w, w->property("text").toString() + " over " + o->property("text").toString(),
                           w->geometry().top(), o->geometry().bottom());
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !Qt::mightBeRichText(l->text())) text = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->icon().isNull()) text = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
        if (!text.isEmpty()) {
            text.remove('&');
            const int need = TextWidth(w, text) + Chrome(w);
            if (need > w->width() + 1) report(w, text, need, w->width());
        }
        if (auto* t = qobject_cast<QTableWidget*>(w)) {
            for (int c = 0; c < t->columnCount(); ++c) {
                if (t->isColumnHidden(c) || t->columnWidth(c) <= 0) continue;
                for (int r = 0; r < t->rowCount(); ++r) {
                    const QTableWidgetItem* it = t->item(r, c);
                    if (!it || it->text().isEmpty()) continue;
                    const int need = TextWidth(t, it->text()) + 6;
                    if (need > t->columnWidth(c)) {
                        report(w, it->text() + " in column " + QString::number(c), need, t->columnWidth(c));
                        break;   // one per column is enough to tell
                    }
                }
            }
        }
    }
    return out;
}

class TextFit : public JapanFormsTest {
protected:
    void SetUp() override {
        saved = QApplication::font();
        QFont f = saved;
        f.setFamily("IPAGothic");
        QApplication::setFont(f);
        JapanFormsTest::SetUp();
    }
    void TearDown() override {
        JapanFormsTest::TearDown();
        QApplication::setFont(saved);
    }
    QFont saved;
};

TEST_F(TextFit, EveryCaptionFitsItsControlInEveryWindow) {
    // A map drawn with its railways and its windows filled, as the user sees them.
    Open->Show();
    Ken->AreaBox(13)->SetChecked(true);
    Ken->Button1Click(Ken);
    RailControlsOf(*Open).RailInfo->SetChecked(true);
    Open->ui.CBRailLine->SetChecked(true);
    ASSERT_TRUE(Open->gate.MapShown);
    StatMapWindow();   // windows made on first use
    PdfPageWindow();
    for (TForm* f : Application->Forms()) f->Show();
    QApplication::processEvents();
    for (TForm* f : Application->Forms()) {
        SCOPED_TRACE(f->Caption());
        for (const std::string& m : Misfits(f)) ADD_FAILURE() << m;
    }
    for (TForm* f : Application->Forms()) f->Hide();
}

TEST_F(TextFit, TheStartScreensNoticesEndInsideThePicture) {
    TCanvas* c = Open->ui.Image1->Canvas();
    for (int y = 0; y < c->Height(); ++y)
        for (int x = c->Width() - 4; x < c->Width(); ++x)
            ASSERT_EQ(c->Pixels(x, y), Open->style.BackColor) << "text at the right edge, row " << y;
}

// The same test once more in a program of its own, under the desktop's scales.
TEST(TextFitScaled, EveryCaptionFitsAt125And150Percent) {
    if (std::getenv("QT_SCALE_FACTOR")) GTEST_SKIP() << "already scaled";
    const std::string self = std::string(ROVANA_BUILD_DIR) + "/tests/test_app";
    for (const char* scale : {"1.25", "1.5"}) {
        const std::string cmd = std::string("QT_SCALE_FACTOR=") + scale + " QT_QPA_PLATFORM=offscreen '" + self +
                                "' --gtest_filter=TextFit.* > /dev/null 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << "at " << scale << ": " << cmd;
    }
}

} // namespace
