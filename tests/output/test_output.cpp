// Copying the map to the clipboard and saving it: tiles, names and formats.
#include "engine/Uprocess.h"
#include "gui/Testing.h"
#include "navigation/Usettei.h"
#include "output/Updfpage.h"
#include "tests/engine/HandMap.h"
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>
#include <chrono>
#include <functional>
#include <cstdlib>
#include <fstream>
#include <thread>

using gui::testing::Messages;

class Output : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.CBTownBorder->SetChecked(true);
        SetStore(o->doc.CoastLine, {{{10, 10}, {500, 590}}, {{590, 10}, {10, 400}}});
        SetStore(o->doc.TownLine, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}}});
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    void Save(void (TOpen::*menu)(TObject*), const std::string& name) {
        gui::testing::QueueFileName(name.empty() ? std::nullopt : std::optional<std::string>(File(name)));
        (o->*menu)(o);
    }
    // The image the redraw makes at the current size.
    QImage Direct() {
        EXPECT_TRUE(o->DrawMap());
        return o->ui.Image1->Picture()->Bitmap()->Image().copy();
    }
    static bool SamePixels(const QImage& a, const QImage& b) {
        if (a.size() != b.size()) return false;
        QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
        for (int r = 0; r < x.height(); ++r)
            for (int c = 0; c < x.width(); ++c)
                if ((x.pixel(c, r) & 0xFFFFFF) != (y.pixel(c, r) & 0xFFFFFF)) return false;
        return true;
    }
};

TEST_F(Output, CopiesAndSavesDrawTheMapWithoutTouchingTheScreensImage) {
    const QImage shown = Direct();
    o->ui.Image1->Canvas()->SetPixel(300, 300, 0x123456);   // not part of any redraw
    int redraws = o->RedrawCount;
    o->Button4Click(o);
    EXPECT_EQ(o->RedrawCount, redraws);
    EXPECT_TRUE(o->ClipboardUsed);
    EXPECT_TRUE(SamePixels(gui::testing::ClipboardImage(), shown)) << "the map, not what lies on the screen";
    EXPECT_EQ(o->ui.Image1->Canvas()->Pixels(300, 300), TColor(0x123456)) << "the screen is left alone";
    EXPECT_FALSE(Process->Visible());

    redraws = o->RedrawCount;
    o->ui.RadioGroup1->SetItemIndex(1);
    EXPECT_EQ(o->RedrawCount, redraws + 1) << "the settings window's twin follows without a second redraw";
    EXPECT_EQ(o->COPYSCALE, 2);
    EXPECT_EQ(o->ImageSize, 1200);
    EXPECT_EQ(Settei->RadioGroup2->ItemIndex(), 1);
    QImage direct = Direct();
    redraws = o->RedrawCount;
    o->Button4Click(o);
    EXPECT_EQ(o->RedrawCount, redraws);
    EXPECT_EQ(Process->Label1->Caption(), "クリップボードにコピーしています");
    EXPECT_FALSE(Process->Visible());
    EXPECT_TRUE(o->ui.Image1->Visible());
    EXPECT_TRUE(SamePixels(gui::testing::ClipboardImage(), direct));

    // 240 pixels, chosen while the screen still shows 1200: the outputs draw
    // the view of their own size, the screen keeps its picture.
    o->SSIZE = 5;
    o->Button4Click(o);
    Save(&TOpen::PNG1Click, "small");
    EXPECT_EQ(o->RedrawCount, redraws);
    EXPECT_EQ(o->ui.Image1->Picture()->Bitmap()->Width(), 1200);
    const QImage copied = gui::testing::ClipboardImage().copy();
    QImage saved(QString::fromStdString(File("small.png")));
    const QImage small = Direct();
    EXPECT_EQ(small.width(), 240);
    EXPECT_TRUE(SamePixels(copied, small));
    EXPECT_TRUE(SamePixels(saved, small));
}

TEST_F(Output, ThePngReadsBackAsTheMapAndCarriesNoTransparency) {
    QImage direct = Direct();
    Save(&TOpen::PNG1Click, "map");
    QImage saved(QString::fromStdString(File("map.png")));
    EXPECT_TRUE(SamePixels(saved, direct));
    EXPECT_EQ(testsupport::ReadBytes(programDir / "map.png").find("tRNS"), std::string::npos);
    EXPECT_FALSE(o->ClipboardUsed) << "a save is no copy";
    EXPECT_EQ(o->ui.SaveDialog1->Filter, "PNGファイル (*.png)|*.png|PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg");
}

TEST_F(Output, ExtensionsAndTheOverwriteQuestion) {
    Save(&TOpen::PNG1Click, "notes.txt");
    EXPECT_EQ(testsupport::ReadBytes(programDir / "notes.txt").substr(1, 3), "PNG");
    Save(&TOpen::BITMAP1Click, "pic");
    EXPECT_EQ(testsupport::ReadBytes(programDir / "pic.bmp").substr(0, 2), "BM");

    // The dialog asked about "pic"; "pic.bmp" is asked about here.
    const std::string before = testsupport::ReadBytes(programDir / "pic.bmp");
    SetStore(o->doc.CoastLine, {{{10, 300}, {590, 300}}});
    gui::testing::QueueAnswer(IDCANCEL);
    Save(&TOpen::BITMAP1Click, "pic");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].text, File("pic.bmp") + " は既に存在します．\n上書きしてもよろしいですか？");
    EXPECT_EQ(Messages()[0].caption, "画像保存");
    EXPECT_EQ(testsupport::ReadBytes(programDir / "pic.bmp"), before);
    Save(&TOpen::BITMAP1Click, "pic");
    EXPECT_NE(testsupport::ReadBytes(programDir / "pic.bmp"), before);

    // A cancelled dialog writes nothing and asks nothing.
    Messages().clear();
    Save(&TOpen::PNG1Click, "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Output, TheJpegMenuTicksItselfAndTheSaveButtonFollows) {
    Save(&TOpen::JPEG1Click, "a");
    EXPECT_TRUE(o->ui.JPEG1->Checked());
    EXPECT_FALSE(o->ui.PNG1->Checked());
    EXPECT_FALSE(o->ui.BITMAP1->Checked());
    EXPECT_EQ(o->ui.RadioGroup2->ItemIndex(), 1);
    EXPECT_EQ(o->ui.SaveDialog1->Filter, "JPEGファイル (*.jpg)|*.jpg|PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg");
    EXPECT_EQ(testsupport::ReadBytes(programDir / "a.jpg").substr(0, 2), "\xFF\xD8");
    Save(&TOpen::Button8Click, "b");
    EXPECT_EQ(testsupport::ReadBytes(programDir / "b.jpg").substr(0, 2), "\xFF\xD8");
    o->ui.RadioGroup2->SetItemIndex(2);
    Save(&TOpen::Button8Click, "c");
    EXPECT_TRUE(o->ui.BITMAP1->Checked());
    EXPECT_TRUE(std::filesystem::exists(programDir / "c.bmp"));
}

TEST_F(Output, AFolderThatCannotBeWrittenGetsAMessageAndNoFile) {
    // A plain file in place of the folder: no one can write under it, root included.
    std::ofstream(programDir / "ro") << "x";
    Save(&TOpen::PNG1Click, "ro/map");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].caption, "画像保存エラー");
    EXPECT_EQ(Messages()[0].text.rfind("画像ファイル " + File("ro/map.png") + " を保存できませんでした\n", 0), 0u)
        << Messages()[0].text;
    EXPECT_EQ(testsupport::ReadBytes(programDir / "ro"), "x");
    EXPECT_FALSE(Process->Visible());
}

TEST_F(Output, ALargeImageIsMadeFromOneViewAndAsksNothingUnasked) {
    // The x5 view with the range-refusal timer due: every tile comes from this view.
    o->ui.UpDown1->SetPosition(5);
    o->MAGSTEP = 5;
    o->ui.RadioGroup1->SetItemIndex(1);
    const QImage direct = Direct();
    o->ui.Timer1->SetInterval(1);
    o->ui.Timer1->SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    o->Button4Click(o);
    EXPECT_TRUE(SamePixels(gui::testing::ClipboardImage(), direct));
    EXPECT_EQ(o->MAGSTEP, 5);
    EXPECT_TRUE(o->ui.Timer1->Enabled()) << "the timer runs after the copy, not inside it";
    o->ui.Timer1->SetEnabled(false);
    o->ui.Timer1->SetInterval(1000);

    // More names on the image than the readings list takes.
    for (int k = 0; k < 2001; ++k)
        AddName(o->doc.TownX, o->doc.TownY, o->doc.TownName, o->doc.TownDup, o->doc.TownCount, "町" + std::to_string(k), 10 + k % 500,
                10 + k / 500 * 40);
    const QImage many = Direct();
    Messages().clear();
    Save(&TOpen::PNG1Click, "plain");
    EXPECT_TRUE(Messages().empty()) << "readings are off";
    EXPECT_TRUE(SamePixels(QImage(QString::fromStdString(File("plain.png"))), many));

    // Readings asked for but refused: one message per image, and every tile has the map.
    o->ui.CBYomi->SetChecked(true);
    Save(&TOpen::PNG1Click, "asked");
    o->Button4Click(o);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0].text, "読みがなを表示する市区町村名が多すぎます");
    EXPECT_TRUE(SamePixels(QImage(QString::fromStdString(File("asked.png"))), many));
    EXPECT_TRUE(SamePixels(gui::testing::ClipboardImage(), many));
}

// The layout window comes between the name and the file: Esc, its close box
// and キャンセル save nothing; on A4 across the map the screen shows is fitted
// to the printable area, and an item dragged on the preview moves on the page.
TEST_F(Output, ThePageWindowFitsTheMapToThePaperAndACancelledPageSavesNothing) {
    // The screen's square outlined in the coast's colour: its size on paper is the map's.
    SetStore(o->doc.CoastLine, {{{0, 0}, {599, 0}, {599, 599}, {0, 599}, {0, 0}}});
    const std::function<void()> cancels[] = {[] { QTest::keyClick(PdfPage, Qt::Key_Escape); },
                                             [] { PdfPage->close(); },   // the close box
                                             [] { PdfPage->BtnCancel->Click(); }};
    int k = 0;
    for (const auto& cancel : cancels)
        for (const char* ext : {".pdf", ".svg"}) {
            TForm* shown = nullptr;
            gui::testing::SetShowModalHandler([&](TForm* f) {
                shown = f;
                cancel();
                return mrNone;
            });
            const std::string name = "cancelled" + std::to_string(k++) + ext;
            Save(&TOpen::PNG1Click, name);
            EXPECT_EQ(shown, PdfPage) << name;
            EXPECT_FALSE(std::filesystem::exists(File(name))) << name;
        }
    EXPECT_TRUE(o->ui.PNG1->Checked()) << "the menu's kind stays";

    QRectF titleBox;
    gui::testing::SetShowModalHandler([&](TForm*) {
        EXPECT_EQ(PdfPage->Caption(), "　レイアウト");
        PdfPage->CBPaper->SetItemIndex(output::PaperIndex("A4"));
        PdfPage->CBPaper->OnChange(PdfPage->CBPaper);
        PdfPage->RGOrient->SetItemIndex(1);
        testsupport::TypeInto(PdfPage->EdTitle, "手で描いた地図", false);
        // The title dragged 20 mm down and 30 mm right on the preview.
        const QRectF before = PdfPage->Shown().page.boxes[output::PAGE_TITLE];
        const QPoint from = PdfPage->PreviewAt(before.center()), to = PdfPage->PreviewAt(before.center() + QPointF(30, 20));
        QTest::mousePress(PdfPage->Preview, Qt::LeftButton, {}, from);
        QTest::mouseMove(PdfPage->Preview, to);
        QTest::mouseRelease(PdfPage->Preview, Qt::LeftButton, {}, to);
        titleBox = PdfPage->Shown().page.boxes[output::PAGE_TITLE];
        EXPECT_NEAR(titleBox.top() - before.top(), 20, 1.5);
        EXPECT_NEAR(titleBox.left() - before.left(), 30, 1.5);
        QTest::keyClick(PdfPage->EdSubtitle, Qt::Key_Return);   // Enter saves
        return mrNone;
    });
    Save(&TOpen::PNG1Click, "a4.pdf");
    ASSERT_TRUE(gui::testing::Messages().empty()) << gui::testing::Messages()[0].text;
    const std::string pdf = testsupport::ReadBytes(programDir / "a4.pdf");
    EXPECT_NE(pdf.find("/MediaBox [0 0 842.000000 595.000000]"), std::string::npos) << "A4 across";
    EXPECT_NE(pdf.find("/FontFile2"), std::string::npos) << "the fonts go with the file";
    EXPECT_NE(testsupport::RunOutput("pdfinfo '" + File("a4.pdf") + "'").find("手で描いた地図"), std::string::npos)
        << "the document is named by the page's title";
    // At 200 dpi: the coast's square spans the printable height (190 mm), centred.
    ASSERT_EQ(std::system(("pdftocairo -png -r 200 -antialias none -singlefile '" + File("a4.pdf") + "' '" +
                           File("a4") + "'").c_str()), 0);
    // The SVG of the same page, as a browser draws it, puts the square in the same place.
    gui::testing::SetShowModalHandler([](TForm*) { return mrOk; });
    Save(&TOpen::PNG1Click, "a4.svg");
    QSvgRenderer svg(QString::fromStdString(File("a4.svg")));
    const QImage rasterised = QImage(QString::fromStdString(File("a4.png"))).convertToFormat(QImage::Format_RGB32);
    QImage drawn(rasterised.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    svg.render(&painter, QRectF(0, 0, 297 * 200 / 25.4, 210 * 200 / 25.4));
    painter.end();
    for (const QImage& page : {rasterised, drawn}) {
        int x0 = page.width(), x1 = -1, y0 = page.height(), y1 = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (const QRgb c = page.pixel(x, y); qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60)
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        const double mm = 25.4 / 200;
        EXPECT_NEAR((y1 + 1 - y0) * mm, 190, 1.0) << "the printable height";
        EXPECT_NEAR((x1 + 1 - x0) * mm, 190, 1.0);
        EXPECT_NEAR((x0 + x1 + 1) / 2.0 * mm, 297 / 2.0, 1.0);
        EXPECT_NEAR(y0 * mm, 10, 1.0);
    }
    // The title where it was dropped.
    const std::string words = testsupport::RunOutput("pdftotext -bbox '" + File("a4.pdf") + "' -");
    const size_t at = words.find(">手<");   // the reader splits the title where its scripts change
    ASSERT_NE(at, std::string::npos) << words;
    const double xMin = std::atof(words.c_str() + words.rfind("xMin=\"", at) + 6) * 25.4 / 72;
    const double yMin = std::atof(words.c_str() + words.rfind("yMin=\"", at) + 6) * 25.4 / 72;
    EXPECT_NEAR(xMin, titleBox.left() + 1, 1.0);
    EXPECT_NEAR(yMin, titleBox.top() + 1, 1.5);
}

TEST_F(Output, AfterASaveTheKeysGoToTheMapWindowAtOnce) {
    o->Show();
    ASSERT_TRUE(o->DrawMap());
    for (int size : {0, 1}) {   // the 1200 save can be stopped: its wait window takes the input meanwhile
        o->ui.RadioGroup1->SetItemIndex(size);
        testsupport::FocusAsUser(o->ui.Image1);
        Save(&TOpen::PNG1Click, "map" + std::to_string(size));
        ASSERT_TRUE(std::filesystem::exists(File("map" + std::to_string(size) + ".png")));
        QCoreApplication::processEvents();   // back in the event loop, as before any key press
        // The user presses Ctrl+P where the keys now go.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        ASSERT_NE(target, nullptr) << "no window takes the keys";
        EXPECT_EQ(target->window(), o) << size << ": " << target->window()->windowTitle().toStdString();
        const std::string pdf = File("after" + std::to_string(size) + ".pdf");
        gui::testing::QueueFileName(pdf);
        QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
        EXPECT_TRUE(std::filesystem::exists(pdf)) << size;
    }
}
