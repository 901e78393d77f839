// Printing a real statistics map to the print dialog's own PDF printer: the
// page, rasterised at the map's size, shows the saved PNG, its names are
// text, the preview draws the same page, and the screen is not redrawn.
#include "engine/Uopen.h"
#include "gui/PrintDialog.h"
#include "gui/Testing.h"
#include "gui/VectorRecorder.h"
#include "output/PrintPage.h"
#include "paint/Uhanrei.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include "tests/support/SampleStatMap.h"
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <cstdlib>

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

class RealPrint : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
    std::string Run(const std::string& cmd) {
        const std::string out = File("run.txt");
        EXPECT_EQ(std::system((cmd + " > '" + out + "' 2>&1").c_str()), 0) << cmd;
        return ReadBytes(out);
    }
    // The printed map cut out of the page, one pixel per map pixel, by a
    // rasteriser that samples pixel centres as the canvas does (pdftoppm
    // also takes the pixels a shape's edge only touches).
    QImage PrintedMap(const std::string& pdf, const QRect& paper, const output::PrintPage& page, int dpi) {
        const int k = page.dotsPerPixel;
        EXPECT_GT(k, 0);
        if (k <= 0) return {};
        const QRect map = page.map.translated(paper.topLeft());
        Run(gui::Format("pdftocairo -png -singlefile -antialias none -r %g -x %d -y %d -W %d -H %d '%s' '%s'",
                        double(dpi) / k, map.x() / k, map.y() / k, map.width() / k, map.height() / k, pdf.c_str(),
                        (pdf + "-map").c_str()));
        return QImage(QString::fromStdString(pdf + "-map.png")).convertToFormat(QImage::Format_RGB32);
    }
    static double Differing(const QImage& a, const QImage& b) {
        if (a.size() != b.size() || a.isNull()) return 1.0;
        int64_t n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
        return double(n) / (double(a.width()) * a.height());
    }
};

TEST_F(RealPrint, TheKantoStatisticsMapPrintsAsItSavesAndThePreviewShowsTheSamePage) {
    testsupport::ChooseAreas({7, 8, 9, 10, 11, 12, 13});
    testsupport::ApplySamplePopulation(programDir);
    ASSERT_TRUE(Hanrei->CBExpDisplay->Checked());
    StatMap->Close();
    Open->CBTownName->SetChecked(true);
    Open->RadioGroup1->SetItemIndex(2);
    ASSERT_EQ(Open->ImageSize, 1800);

    QueueFileName(File("map.png"));
    Open->PNG1Click(Open);
    const QImage png = QImage(QString::fromStdString(File("map.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.width(), 1800);

    QPrinter* printer = Open->PrintDialog1->Printer();
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    Open->PrintDialog1->Title = "関東の人口";
    Open->PrintDialog1->Credit = true;
    const int redraws = Open->RedrawCount;
    QueueFileName(File("print.pdf"));
    Open->Print1->Click();
    QueueFileName(File("preview.pdf"));
    Open->PrintPreview1->Click();
    EXPECT_EQ(Open->RedrawCount, redraws) << "printing draws through the render job, not the screen";
    EXPECT_TRUE(gui::testing::Messages().empty());

    // The page as PrintMap laid it out, at the printer's resolution.
    const int dpi = printer->resolution();
    const QRect paper = printer->pageLayout().paintRectPixels(dpi);
    QFont title("IPAGothic"), credit("IPAGothic");
    title.setPixelSize(14 * dpi / 72);
    credit.setPixelSize(9 * dpi / 72);
    const output::PrintPage page = output::LayOutPrint(paper.size(), paper.topLeft(), 1800,
                                                       QFontMetrics(title).height() * 3 / 2,
                                                       QFontMetrics(credit).height() * 3 / 2);
    EXPECT_GE(page.map.width(), paper.width() * 8 / 10) << "the map fills the page's width";
    const QImage printed = PrintedMap(File("print.pdf"), paper, page, dpi);
    EXPECT_LT(Differing(printed, png), 0.01);

    // Names, the title and the credit are text on the page.
    gui::VectorRecorder shapes;
    Open->RenderMapVector(shapes);
    const QString found = QString::fromStdString(Run("pdftotext -raw '" + File("print.pdf") + "' -"));
    int missing = 0, names = 0;
    for (const auto& t : shapes.Texts()) {
        if (t.text.trimmed().isEmpty()) continue;
        ++names;
        missing += !found.contains(QString(t.text).replace(QChar(0xFF5E), QChar(0x301C)).trimmed());
    }
    EXPECT_GT(names, 100);
    EXPECT_EQ(missing, 0);
    EXPECT_TRUE(found.contains("関東の人口"));

    // The preview's page is the printed one.
    EXPECT_LT(Differing(PrintedMap(File("preview.pdf"), paper, page, dpi), printed), 0.0001);
    EXPECT_EQ(Run("pdftotext -raw '" + File("preview.pdf") + "' -"), found.toStdString());
}
