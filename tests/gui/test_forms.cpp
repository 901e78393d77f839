// Forms, the application object, message boxes, dialogs and the test hooks.
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <QApplication>
#include <QCursor>
#include <QMenuBar>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class ProbeForm : public TForm {
public:
    ProbeForm() : TForm("probe") {}
    int shows = 0, closes = 0, queries = 0;
    bool canClose = true;
    TCloseAction action = caHide;
    void FormShow(TObject*) override { ++shows; }
    void FormCloseQuery(TObject*, bool& can) override {
        ++queries;
        can = canClose;
    }
    void FormClose(TObject*, TCloseAction& a) override {
        ++closes;
        a = action;
    }
};

class FormsHooks : public ::testing::Test {
protected:
    void SetUp() override { gui::testing::Reset(); }
    void TearDown() override { gui::testing::Reset(); }
};

TEST_F(FormsHooks, FormShowRunsOnlyWhenTheFormBecomesVisible) {
    ProbeForm f;
    EXPECT_FALSE(f.Visible());
    f.Show();
    EXPECT_TRUE(f.Visible());
    f.Show();
    f.SetVisible(true);
    EXPECT_EQ(f.shows, 1);
    f.Hide();
    f.Hide();
    EXPECT_EQ(f.shows, 1);
    f.SetVisible(true);
    EXPECT_EQ(f.shows, 2);
    f.SetFormStyle(fsStayOnTop);     // re-created window: still the same show
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f.shows, 2);
}

TEST_F(FormsHooks, CloseAsksTheHandlersAndHidesOnlyWhenAllowed) {
    ProbeForm f;
    f.Show();
    f.canClose = false;
    f.Close();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.queries, 1);
    EXPECT_EQ(f.closes, 0);
    f.canClose = true;
    f.action = caNone;
    f.Close();
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.closes, 1);
    f.action = caHide;
    f.close();                       // the window's close box
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.closes, 2);
    EXPECT_FALSE(gui::testing::Terminated());
}

TEST_F(FormsHooks, ClosingTheMainFormEndsTheApplication) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    ProbeForm* f = nullptr;
    Application->CreateForm(f);
    ASSERT_EQ(Application->MainForm(), f);
    f->Show();
    f->Close();
    EXPECT_TRUE(gui::testing::Terminated());
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(f->closes, 1);
    delete f;                        // leaves the application's list
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_TRUE(Application->Forms().empty());
    gui::testing::Reset();
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(FormsHooks, ShowModalUnderTestRunsTheHandlerAndReturnsItsResult) {
    ProbeForm f;
    EXPECT_EQ(f.ShowModal(), mrCancel);   // no handler
    EXPECT_FALSE(f.Visible());
    TForm* seen = nullptr;
    bool visibleInside = false;
    gui::testing::SetShowModalHandler([&](TForm* form) {
        seen = form;
        visibleInside = form->Visible();
        return mrYes;
    });
    EXPECT_EQ(f.ShowModal(), mrYes);
    EXPECT_EQ(seen, &f);
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.ModalResult, mrYes);
    EXPECT_EQ(f.shows, 2);
    EXPECT_EQ(f.closes, 2);
    // mrNone from the handler: what a button of the form set.
    TButton ok(&f, "OK");
    ok.ModalResult = mrOk;
    gui::testing::SetShowModalHandler([&](TForm*) {
        ok.Click();
        return mrNone;
    });
    EXPECT_EQ(f.ShowModal(), mrOk);
}

TEST_F(FormsHooks, ModalLoopEndsWhenAHandlerAssignsModalResult) {
    gui::testing::Enable(false);
    ProbeForm f;
    f.canClose = false;                 // the first try is refused
    int step = 0;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        ++step;
        if (step == 1) f.ModalResult = mrOk;          // refused by FormCloseQuery
        if (step == 2) {
            EXPECT_EQ(f.ModalResult, mrNone);
            EXPECT_TRUE(f.Visible());
            f.canClose = true;
            f.ModalResult = mrRetry;
        }
        if (step > 10) f.Hide();                      // a stuck loop still ends
    });
    t.start(5);
    TModalResult r = f.ShowModal();
    gui::testing::Enable(true);
    t.stop();
    EXPECT_EQ(r, mrRetry);
    EXPECT_EQ(step, 2);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.queries, 2);
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(f.shows, 1);
}

TEST_F(FormsHooks, MessageBoxAnswersFromTheQueueAndRecords) {
    gui::testing::QueueAnswer(IDNO);
    gui::testing::QueueAnswer(IDCANCEL);
    EXPECT_EQ(MessageBox("上書きしますか", "確認", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox("b", "c", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox("c", "d", MB_OK), IDOK);     // queue empty
    auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].text, "上書きしますか");
    EXPECT_EQ(m[0].caption, "確認");
    EXPECT_EQ(m[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(m[0].answer, IDNO);
    EXPECT_EQ(m[2].answer, IDOK);
}

TEST_F(FormsHooks, ExceptionFromAHandlerIsShownAndTheLoopGoesOn) {
    ASSERT_NE(dynamic_cast<TEventApplication*>(QCoreApplication::instance()), nullptr);
    std::string oldTitle = Application->Title;
    Application->Title = "Rovana9.3";
    TTimer t;
    int ticks = 0;
    QEventLoop loop;
    t.OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 1) throw std::runtime_error("ファイルが壊れています");
        if (ticks == 3) loop.quit();
    };
    t.SetInterval(5);
    t.SetEnabled(true);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    t.SetEnabled(false);
    Application->Title = oldTitle;
    EXPECT_EQ(ticks, 3);
    auto& m = gui::testing::Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].text, "ファイルが壊れています");
    EXPECT_EQ(m[0].caption, "Rovana9.3");
    EXPECT_EQ(m[0].flags & 0xF0, MB_ICONERROR);
}

TEST_F(FormsHooks, DialogsTakeScriptedAnswers) {
    TOpenDialog open;
    open.FileName = "before.pnt";
    gui::testing::QueueFileName("data/a.pnt");
    gui::testing::QueueFileName(std::nullopt);
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "data/a.pnt");
    EXPECT_FALSE(open.Execute());                   // cancelled
    EXPECT_EQ(open.FileName, "data/a.pnt");
    EXPECT_FALSE(open.Execute());                   // nothing queued: cancelled
    open.MultiSelect = true;
    gui::testing::QueueFileName("a.adl\nsub/b.adl");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.Files, (std::vector<std::string>{"a.adl", "sub/b.adl"}));
    EXPECT_EQ(open.FileName, "a.adl");
    open.MultiSelect = false;
    gui::testing::QueueFileName("c.adl");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.Files, (std::vector<std::string>{"c.adl"})) << "one file replaces the last choice";
    TSaveDialog save;
    gui::testing::QueueFileName("out.png");
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "out.png");

    TColorDialog color;
    gui::testing::QueueColor(clRed);
    gui::testing::QueueColor(std::nullopt);
    EXPECT_TRUE(color.Execute());
    EXPECT_EQ(color.Color, clRed);
    EXPECT_FALSE(color.Execute());
    EXPECT_EQ(color.Color, clRed);

    EXPECT_EQ(QtFileFilters("塗り|*.pnt|画像|*.bmp;*.png|すべて|*.*"),
              QStringList({"塗り (*.pnt)", "画像 (*.bmp *.png)", "すべて (*)"}));
    // A description that shows its pattern keeps it once, and a mistyped one
    // ("(*,*)") gives way to the real pattern Qt must read.
    EXPECT_EQ(QtFileFilters("PNGファイル (*.png)|*.png|すべて(*,*)|*.*"),
              QStringList({"PNGファイル (*.png)", "すべて (*)"}));
}

TEST_F(FormsHooks, SaveDialogSpeaksJapanese) {
    Application->Initialize();
    Application->Initialize();   // once is enough, twice does no harm
    TSaveDialog save;
    save.Filter = "PNGファイル (*.png)|*.png";
    QFileDialog dlg;
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    save.Prepare(dlg);
    EXPECT_EQ(dlg.nameFilters(), QStringList({"PNGファイル (*.png)"}));
    // Every word on it a person reads: none left in English.
    auto english = [](const QString& s) {
        bool latin = false;
        for (QChar c : s) {
            if (c.unicode() >= 0x80) return false;
            latin = latin || c.isLetter();
        }
        return latin;
    };
    EXPECT_FALSE(english(dlg.windowTitle())) << dlg.windowTitle().toStdString();
    int texts = 0;
    for (QLabel* l : dlg.findChildren<QLabel*>()) {
        if (l->text().isEmpty()) continue;
        ++texts;
        EXPECT_FALSE(english(l->text())) << l->text().toStdString();
    }
    for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
        if (b->text().isEmpty()) continue;
        ++texts;
        EXPECT_FALSE(english(b->text())) << b->text().toStdString();
    }
    EXPECT_GE(texts, 5) << "look-in, file name, file type, save and cancel";
}

TEST_F(FormsHooks, ShellOpensAndClipboardAreRecorded) {
    EXPECT_EQ(ShellOpen("https://example.org/"), 42);
    gui::testing::ShellOpenResult() = 2;
    EXPECT_EQ(ShellOpen("readme.txt"), 2);
    EXPECT_EQ(gui::testing::ShellOpens(), std::vector<std::string>({"https://example.org/", "readme.txt"}));

    TBitmap bmp(3, 2);
    bmp.Canvas()->SetPixel(1, 1, clBlue);
    Clipboard()->Assign(&bmp);
    EXPECT_TRUE(Clipboard()->HasBitmap());
    bmp.Canvas()->SetPixel(1, 1, clRed);            // the clipboard holds a copy
    EXPECT_EQ(gui::testing::ClipboardImage().size(), QSize(3, 2));
    EXPECT_EQ(FromPixel(gui::testing::ClipboardImage().pixel(1, 1)), clBlue);
    Clipboard()->SetText("東経135度");
    EXPECT_EQ(Clipboard()->Text(), "東経135度");
    EXPECT_FALSE(Clipboard()->HasBitmap());
    Clipboard()->Clear();
    EXPECT_EQ(gui::testing::ClipboardText(), "");
}

TEST_F(FormsHooks, ScreenCursorOverridesTheApplicationAndRestores) {
    Screen()->SetCursor(crHourGlass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen()->SetCursor(crCross);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    Screen()->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(FormsHooks, MenuAttachedToTheFormKeepsTheClientSize) {
    TForm f("menu");
    f.SetClientSize(300, 200);
    auto* menu = new TMainMenu;
    menu->Add(new TMenuItem("ファイル(&F)"));
    f.SetMenu(menu);
    menu->Add(new TMenuItem("表示(&V)"));            // after attaching
    EXPECT_EQ(f.menuBar()->actions().size(), 2);
    EXPECT_EQ(f.ClientWidth(), 300);
    EXPECT_EQ(f.ClientHeight(), 200);
    f.Show();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.Client()->height(), 200);
    EXPECT_EQ(f.Client()->width(), 300);
}

} // namespace
