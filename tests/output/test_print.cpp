// Printing, through the print path to a PDF file: the page is the paper the
// user chose, the map is drawn with at least the paper's dots, and the
// window's own size choice is what it was.
#include "gui/PrintDialog.h"
#include "gui/Testing.h"
#include "tests/engine/HandMap.h"
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <regex>

using gui::testing::QueueFileName;

class Print : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        SetStore(o->doc.CoastLine, {{{10, 10}, {500, 590}}});
    }
    std::string File(const std::string& name) { return (programDir / name).string(); }
    // The page's width and height in points, from the file's first MediaBox.
    static std::pair<int, int> PageSize(const std::string& pdf) {
        std::smatch m;
        if (!std::regex_search(pdf, m, std::regex(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])"))) return {0, 0};
        return {int(std::lround(std::stod(m[1]))), int(std::lround(std::stod(m[2])))};
    }
};

TEST_F(Print, ThePageIsThePaperChosenAndTheMapHasThePapersDots) {
    QPrinter* printer = o->ui.PrintDialog1->Printer();
    o->ui.RadioGroup1->SetItemIndex(0);

    // A4 across at 300 dpi, from the image group's button.
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    printer->setResolution(300);
    o->ui.PrintDialog1->Title = "白地図 テスト";
    QueueFileName(File("a4.pdf"));
    o->ui.BtnPrint->Click();
    const std::string a4 = testsupport::ReadBytes(File("a4.pdf"));
    ASSERT_EQ(a4.rfind("%PDF", 0), 0u);
    EXPECT_EQ(PageSize(a4), std::make_pair(842, 595));
    // The map goes as shapes, not as a picture of it.
    EXPECT_EQ(a4.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(o->ui.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(o->ImageSize, 600) << "the window keeps its own size";

    // A5 upright from the preview; a cancelled dialog prints nothing.
    printer->setPageSize(QPageSize(QPageSize::A5));
    printer->setPageOrientation(QPageLayout::Portrait);
    QueueFileName(File("a5.pdf"));
    o->ui.PrintPreview1->Click();
    EXPECT_EQ(PageSize(testsupport::ReadBytes(File("a5.pdf"))), std::make_pair(420, 595));
    QueueFileName(std::nullopt);
    o->ui.Print1->Click();
    EXPECT_TRUE(gui::testing::Messages().empty());
}
