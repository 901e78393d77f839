// Large images: every size of one map keeps its real size on paper, a due timer
// cannot change the view while the wait window lets its stop button be
// pressed, and a stopped save leaves no file behind.
#include "engine/Uprocess.h"
#include "gui/Testing.h"
#include "gui/ImageWriters.h"
#include "tests/engine/HandMap.h"
#include <QImage>
#include <QTimer>
#include <chrono>
#include <fstream>
#include <thread>

using gui::testing::Messages;

class Large : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        o->ui.RadioGroup1->SetEnabled(true);
        SetStore(o->doc.CoastLine, {{{10, 590}, {590, 10}}});
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    QImage Saved(void (TOpen::*menu)(TObject*), int sizeItem, const std::string& name) {
        o->ui.RadioGroup1->SetItemIndex(sizeItem);
        gui::testing::QueueFileName(File(name));
        (o->*menu)(o);
        return QImage(QString::fromStdString(File(name)));
    }
    static double WidthMm(const QImage& i) { return i.dotsPerMeterX() ? i.width() * 1000.0 / i.dotsPerMeterX() : 0; }
    int FilesInFolder() {
        int n = 0;
        for (auto& e : std::filesystem::directory_iterator(programDir)) n += e.is_regular_file();
        return n;
    }
};

TEST_F(Large, EverySizeAndFormatOfOneMapHasTheSameSizeOnPaper) {
    const QImage small = Saved(&TOpen::PNG1Click, 0, "s.png");
    const QImage png = Saved(&TOpen::PNG1Click, 5, "l.png");
    const QImage jpeg = Saved(&TOpen::JPEG1Click, 5, "l.jpg");
    const QImage bmp = Saved(&TOpen::BITMAP1Click, 3, "m.bmp");
    ASSERT_EQ(png.width(), 3600);
    ASSERT_EQ(jpeg.width(), 3600);
    ASSERT_EQ(bmp.width(), 2400);
    EXPECT_TRUE(Messages().empty());
    // 1800 pixels are 15 cm at 300 dpi: the map keeps that size whatever its pixels.
    EXPECT_NEAR(WidthMm(small), 152.4, 0.5);
    for (const QImage* i : {&png, &jpeg, &bmp}) EXPECT_NEAR(WidthMm(*i), WidthMm(small), 0.5);
    EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 600, 1);

    // A project saved at 3600 still opens in builds that offer up to 1800.
    o->ui.RadioGroup1->SetItemIndex(5);
    ASSERT_TRUE(o->SaveProjectFile(File("p.rvx")));
    EXPECT_NE(testsupport::ReadBytes(File("p.rvx")).find("\r\n3,2,COPYSCALE\r\n"), std::string::npos);
}

TEST_F(Large, AStoppedSaveLeavesTheOldFileAndAnEarlyTimerWaits) {
    std::ofstream(File("map.png")) << "old";
    const int files = FilesInFolder();
    // "中止" pressed as soon as the wait window takes input.
    QTimer::singleShot(0, [] { Process->Button1->Click(); });
    Saved(&TOpen::PNG1Click, 5, "map.png");
    EXPECT_EQ(testsupport::ReadBytes(File("map.png")), "old");
    EXPECT_EQ(FilesInFolder(), files) << "no temporary file is left";
    EXPECT_TRUE(Messages().empty()) << "a stop is no error";
    EXPECT_FALSE(Process->Visible());
    EXPECT_EQ(Process->windowModality(), Qt::NonModal) << "the other windows take input again";
    // The wait window's close box stops it the same way.
    QTimer::singleShot(0, [] { Process->CloseBox(); });
    Saved(&TOpen::JPEG1Click, 2, "map.jpg");
    EXPECT_FALSE(std::filesystem::exists(File("map.jpg")));

    // The range-refusal timer due: the stoppable save lets events through, not it.
    o->ui.UpDown1->SetPosition(5);
    o->MAGSTEP = 5;
    o->ui.RadioGroup1->SetItemIndex(1);
    ASSERT_TRUE(o->DrawMap());
    const QImage direct = o->ui.Image1->Picture()->Bitmap()->Image().copy();
    o->ui.Timer1->SetInterval(1);
    o->ui.Timer1->SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const QImage saved = Saved(&TOpen::PNG1Click, 1, "x5.png");
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), direct.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(o->MAGSTEP, 5);
    o->ui.Timer1->SetEnabled(false);
    o->ui.Timer1->SetInterval(1000);
}

TEST_F(Large, AWriterStoppedHalfWayKeepsTheOriginal) {
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    std::ofstream(File("keep")) << "old";
    const int files = FilesInFolder();
    for (int format = 0; format < 3; ++format) {
        int asked = 0;
        output::PngOptions w;
        w.KeepGoing = [&] { return ++asked < 3; };
        EXPECT_FALSE(format == 0   ? output::WritePng(image, File("keep"), nullptr, w)
                     : format == 1 ? output::WriteJpeg(image, File("keep"), nullptr, w)
                                   : output::WriteBmp(image, File("keep"), nullptr, w));
        EXPECT_EQ(asked, 3) << "asked while the rows go out, stopped at the first no";
        EXPECT_EQ(testsupport::ReadBytes(File("keep")), "old");
    }
    EXPECT_EQ(FilesInFolder(), files) << "no temporary file is left";
}
