// The page to hand out, on the country's data: a scale typed holds on paper.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "labels/Uletter.h"
#include "navigation/Usettei.h"
#include "output/Updfpage.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QImage>
#include <QTest>
#include <cstdlib>
#include <map>

namespace {

struct Word {
    double xMin, yMin, xMax, yMax;   // mm
};

// The words pdftotext finds on the first page, by their text, in mm.
std::multimap<std::string, Word> WordsOf(const std::string& pdf) {
    std::multimap<std::string, Word> words;
    const std::string xml = testsupport::RunOutput("pdftotext -bbox '" + pdf + "' -");
    const double mm = 25.4 / 72;
    for (size_t at = 0; (at = xml.find("<word ", at)) != std::string::npos; ++at) {
        auto value = [&](const char* key) { return std::atof(xml.c_str() + xml.find(key, at) + std::strlen(key)) * mm; };
        const size_t open = xml.find('>', at) + 1, close = xml.find("</word>", open);
        words.emplace(xml.substr(open, close - open),
                      Word{value("xMin=\""), value("yMin=\""), value("xMax=\""), value("yMax=\"")});
    }
    return words;
}

} // namespace

class Page : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
};

// Two areas with their prefecture seats, the map centred between them,
// on A3 across at 1:1,000,000: the seats lie as far apart on paper as on the
// ground, and the scale bar's divisions are as long as they say.
TEST_F(Page, AtOneToAMillionTheScaleBarAndTwoPrefectureSeatsMeasureTrue) {
    testsupport::ChooseAreas({13, 23});
    Settei->CBKenOffice->SetChecked(true);
    Open->ui.CBPrefBorder->SetChecked(true);
    // The seats the layer draws for the two areas, some 300 km apart.
    const LabelRecord tokyo = Letter->PrefSeatTable[12], nagoya = Letter->PrefSeatTable[22];
    Open->CX = (tokyo.x + nagoya.x) / 2;
    Open->CY = (tokyo.y + nagoya.y) / 2;
    ASSERT_TRUE(Open->DrawMap());

    std::string refused;
    gui::testing::SetShowModalHandler([&](TForm*) {
        PdfPage->CBPaper->SetItemIndex(output::PaperIndex("A3"));
        PdfPage->CBPaper->OnChange(PdfPage->CBPaper);
        PdfPage->RGOrient->SetItemIndex(1);
        PdfPage->RGScale->SetItemIndex(1);
        testsupport::TypeInto(PdfPage->EdScale, "999", false);
        refused = PdfPage->LblSize->Caption();
        testsupport::TypeInto(PdfPage->EdScale, "1,000,000", false);
        EXPECT_NE(PdfPage->LblSize->Caption().find("縮尺 1:1,000,000"), std::string::npos) << PdfPage->LblSize->Caption();
        PdfPage->BtnOk->Click();
        return mrNone;
    });
    gui::testing::QueueFileName(File("a3.pdf"));
    Open->PNG1Click(Open);
    EXPECT_EQ(refused, "縮尺は 1:1,000 から 1:50,000,000 の間で指定してください");
    ASSERT_TRUE(gui::testing::Messages().empty()) << gui::testing::Messages()[0].text;
    const auto words = WordsOf(File("a3.pdf"));

    // The seats' names start with the same mark, so the corners of their boxes are as far apart as their points.
    std::vector<Word> seats;
    for (const auto& [text, w] : words)
        if (text.rfind(tokyo.mark, 0) == 0) seats.push_back(w);
    ASSERT_EQ(seats.size(), 2u) << tokyo.mark;
    const Word a = seats[0], b = seats[1];
    const double onPaper = std::hypot(a.xMin - b.xMin, a.yMin - b.yMin);
    const double km = GreatCircleKm(LatOf(tokyo.y), LonOf(tokyo.x), LatOf(nagoya.y), LonOf(nagoya.x));
    EXPECT_GT(km, 200);
    EXPECT_NEAR(onPaper / km, 1.0, 0.005) << onPaper << " mm for " << km << " km";

    // The bar's labels say 50 km in five steps; its inner divisions, read at
    // 600 dpi along its middle, lie 10 mm apart.
    ASSERT_EQ(words.count("50km"), 1u);
    EXPECT_EQ(words.count("1:1,000,000"), 1u) << "the scale written under the bar";
    ASSERT_EQ(words.count("10"), 1u);
    const Word end = words.find("50km")->second, zero = words.find("0")->second;
    const double dpmm = 600 / 25.4, rowMm = end.yMax + 1.4;
    const int x0 = int((zero.xMin - 3) * dpmm), x1 = int((end.xMax + 3) * dpmm), y = int(rowMm * dpmm);
    ASSERT_EQ(std::system(gui::Format("pdftocairo -png -r 600 -antialias none -singlefile -x %d -y %d -W %d -H 1 '%s' '%s'",
                                      x0, y, x1 - x0, File("a3.pdf").c_str(), File("bar").c_str()).c_str()), 0);
    const QImage row = QImage(QString::fromStdString(File("bar.png"))).convertToFormat(QImage::Format_RGB32);
    std::vector<int> changes;
    for (int x = 1; x < row.width(); ++x)
        if (((row.pixel(x, 0) & 0xFFFFFF) == 0) != ((row.pixel(x - 1, 0) & 0xFFFFFF) == 0)) changes.push_back(x);
    ASSERT_EQ(changes.size(), 6u) << "the bar's two ends and four inner divisions";
    EXPECT_NEAR((changes[4] - changes[1]) / dpmm / 30, 1.0, 0.005);

    // At 画像サイズ 1800 it is the same page: every text as large and where it was.
    Open->ui.RadioGroup1->SetItemIndex(2);
    gui::testing::SetShowModalHandler([](TForm*) { return mrOk; });
    gui::testing::QueueFileName(File("a3-1800.pdf"));
    Open->PNG1Click(Open);
    const auto again = WordsOf(File("a3-1800.pdf"));
    ASSERT_EQ(again.size(), words.size());
    for (auto w = words.begin(), v = again.begin(); w != words.end(); ++w, ++v) {
        EXPECT_EQ(w->first, v->first);
        EXPECT_NEAR(w->second.xMin, v->second.xMin, 0.05) << w->first;
        EXPECT_NEAR(w->second.yMin, v->second.yMin, 0.05) << w->first;
        EXPECT_NEAR(w->second.yMax - w->second.yMin, v->second.yMax - v->second.yMin, 0.01) << w->first;
    }
}
