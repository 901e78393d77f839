// Printing a real statistics map to the print dialog's own PDF printer: the
// page is the one the PDF save lays out on the same paper, its names are
// text, the preview draws the same page, and the screen is not redrawn.
#include "engine/Uopen.h"
#include "gui/PrintDialog.h"
#include "gui/Testing.h"
#include "gui/VectorRecorder.h"
#include "output/Updfpage.h"
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
    // A page at 100 dpi, by a rasteriser that samples pixel centres.
    QImage PageImage(const std::string& pdf) {
        Run("pdftocairo -png -singlefile -antialias none -r 100 '" + pdf + "' '" + pdf + "-page'");
        return QImage(QString::fromStdString(pdf + "-page.png")).convertToFormat(QImage::Format_RGB32);
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
    Open->ui.CBTownName->SetChecked(true);
    Open->ui.RadioGroup1->SetItemIndex(2);
    ASSERT_EQ(Open->ImageSize, 1800);

    QPrinter* printer = Open->ui.PrintDialog1->Printer();
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    Open->ui.PrintDialog1->Title = "関東の人口";
    const int redraws = Open->RedrawCount;
    QueueFileName(File("print.pdf"));
    Open->ui.Print1->Click();
    QueueFileName(File("preview.pdf"));
    Open->ui.PrintPreview1->Click();
    EXPECT_EQ(Open->RedrawCount, redraws) << "printing draws through the render job, not the screen";
    EXPECT_TRUE(gui::testing::Messages().empty());

    // The PDF saved on the same paper and margins is the printed page.
    gui::testing::SetShowModalHandler([](TForm*) {
        PdfPage->CBPaper->SetItemIndex(output::PaperIndex("A4"));
        PdfPage->CBPaper->OnChange(PdfPage->CBPaper);
        PdfPage->RGOrient->SetItemIndex(0);
        PdfPage->EdTitle->SetText("関東の人口");
        return mrOk;
    });
    QueueFileName(File("saved.pdf"));
    Open->PNG1Click(Open);
    const QImage printed = PageImage(File("print.pdf"));
    ASSERT_EQ(printed.width(), 827);
    EXPECT_LT(Differing(printed, PageImage(File("saved.pdf"))), 0.01);

    // Names, the title and the credit are text on the page.
    const std::string found = Run("pdftotext -raw '" + File("print.pdf") + "' -");
    EXPECT_EQ(found, Run("pdftotext -raw '" + File("saved.pdf") + "' -"));
    EXPECT_GT(QString::fromStdString(found).count('\n'), 100) << found;
    for (const char* text : {"日光市", "関東の人口", "出典："}) EXPECT_NE(found.find(text), std::string::npos) << text;

    // The preview's page is the printed one.
    EXPECT_LT(Differing(PageImage(File("preview.pdf")), printed), 0.0001);
    EXPECT_EQ(Run("pdftotext -raw '" + File("preview.pdf") + "' -"), found);
}
