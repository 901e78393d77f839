// The map as PDF and SVG: drawn by the same code as the PNG, so rasterised at
// the PNG's size they show the PNG, and their names are text a reader finds.
#include "labels/Uletter.h"
#include "tests/support/ToolPress.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/VectorRecorder.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "output/Updfpage.h"
#include "paint/StatLayer.h"
#include "paint/Uhanrei.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QPainter>
#include <QSvgRenderer>
#include <QFontMetrics>
#include <cstdlib>
#include <regex>
#include <map>

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

class VectorOutput : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }

    // The whole country at 1800 pixels: every municipality in colour
    // and pattern from the sample table, with its legend, the town and
    // prefecture names, the railways and a distance circle.
    void BuildMap() {
        std::vector<int> all;
        for (int k = 1; k <= 52; ++k) all.push_back(k);
        testsupport::ChooseAreas(all);
        Open->RadioGroup1->SetItemIndex(2);
        ASSERT_EQ(Open->ImageSize, 1800);
        StatMapWindow()->Show();
        QueueFileName((programDir / "サンプル" / "住民基本台帳人口_2021.csv").string());
        StatMap->BtnOpen->Click();
        StatMap->CBValue->SetItemIndex(6);
        StatMap->CBValue->OnChange(StatMap->CBValue);
        StatMap->RGStyle->SetItemIndex(2);
        StatMap->BtnApply->Click();
        ASSERT_TRUE(StatLayerOnMap->Shown().on);
        ASSERT_TRUE(Hanrei->CBExpDisplay->Checked());
        StatMap->Close();
        Open->CBTownName->SetChecked(true);
        Open->CBRailLine->SetChecked(true);
        Kyori->CheckBox6->SetChecked(true);
        int32_t x, y;
        Open->PressToData(900, 900, x, y);
        ASSERT_TRUE(Kyori->AddCircle(x, y));
        PagesDlg->SelectSymbol(100);
        ToolPress(700, 700);
        ASSERT_EQ(PagesDlg->PlacedSymbolCount, 1);
        Open->CBLabel->SetChecked(true);
        Letter->Button2Click(Letter);
        ToolPress(800, 1000);
    }
    // Saved through the image menu; a PDF's paper is the map's own size.
    void Save(const std::string& name) {
        gui::testing::SetShowModalHandler([](TForm* f) {
            if (f == PdfPage) PdfPage->CBPaper->SetItemIndex(PdfPage->CBPaper->Items()->Count() - 1);
            return mrOk;
        });
        QueueFileName(File(name));
        Open->PNG1Click(Open);
    }
    // The share of pixels of a and b that differ, leaving out those set in skip.
    static double Differing(const QImage& a, const QImage& b, const QImage& skip) {
        if (a.size() != b.size()) return 1.0;
        int64_t n = 0, all = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                if (!skip.isNull() && skip.constScanLine(y)[x]) continue;
                ++all;
                n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
            }
        return all ? double(n) / double(all) : 1.0;
    }
    static QString Unescaped(const std::string& xml) {
        return QString::fromStdString(xml)
            .replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&quot;", "\"")
            .replace("&apos;", "'")
            .replace("&amp;", "&");
    }
    // The Qt renderer always smooths edges: drawn three times as large, the
    // middle of each pixel's nine is what a plain rasteriser takes, its centre.
    static QImage SvgAtPixelCentres(const std::string& path, int side) {
        QSvgRenderer renderer(QString::fromStdString(path));
        QImage out(side, side, QImage::Format_RGB32);
        if (!renderer.isValid()) return out;
        constexpr int k = 3, rows = 300;
        QImage strip(side * k, rows * k, QImage::Format_RGB32);
        for (int top = 0; top < side; top += rows) {
            strip.fill(Qt::white);
            QPainter p(&strip);
            p.translate(0, -top * k);
            renderer.render(&p, QRectF(0, 0, side * k, side * k));
            p.end();
            for (int y = top; y < std::min(side, top + rows); ++y)
                for (int x = 0; x < side; ++x) out.setPixel(x, y, strip.pixel(x * k + 1, (y - top) * k + 1));
        }
        return out;
    }
    std::string Run(const std::string& cmd) {
        const std::string out = File("run.txt");
        EXPECT_EQ(std::system((cmd + " > '" + out + "' 2>&1").c_str()), 0) << cmd;
        return ReadBytes(out);
    }
};

TEST_F(VectorOutput, PdfAndSvgOfTheCountryDrawAsThePngWithTheirNamesAsText) {
    BuildMap();
    Save("map.png");
    Save("map.pdf");
    Save("map.svg");
    EXPECT_TRUE(gui::testing::Messages().empty());
    const QImage png = QImage(QString::fromStdString(File("map.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(png.width(), 1800);
    gui::VectorRecorder shapes;
    Open->RenderMapVector(shapes);
    const auto texts = shapes.Texts();
    ASSERT_GT(texts.size(), 1000u);
    ASSERT_TRUE(std::any_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == "ラベル記入"; }));

    // The PDF, text and all, rasterised at the PNG's size.
    Run("pdftocairo -png -r 300 -antialias none -singlefile '" + File("map.pdf") + "' '" + File("pdf") + "'");
    const QImage pdf = QImage(QString::fromStdString(File("pdf.png"))).convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(Differing(pdf, png, {}), 0.005);
    EXPECT_LT(std::filesystem::file_size(File("map.pdf")), 5u << 20);
    // Every text drawn can be found; the font's one wave dash reads back as U+301C.
    const QString found = QString::fromStdString(Run("pdftotext -raw '" + File("map.pdf") + "' -"));
    int missing = 0;
    for (const auto& t : texts) missing += !found.contains(QString(t.text).replace(QChar(0xFF5E), QChar(0x301C)).trimmed());
    EXPECT_EQ(missing, 0);

    // The SVG holds the texts in the order drawn (a text may be cut where its
    // script changes), each starting at its place; its shapes draw the PNG's
    // pixels (the Qt renderer's smoothed glyphs are not compared).
    QString wantAll, gotAll;
    std::multimap<std::pair<int, int>, QString> starts;
    for (const auto& t : texts) wantAll += t.text;
    const std::string svgText = ReadBytes(File("map.svg"));
    const std::regex element(R"re(<text [^>]* x="([-0-9.]+)" y="([-0-9.]+)"[^>]*>([^<]*)</text>)re");
    for (auto it = std::sregex_iterator(svgText.begin(), svgText.end(), element); it != std::sregex_iterator(); ++it) {
        const QString text = Unescaped((*it)[3]);
        gotAll += text;
        starts.insert({{int(std::lround(std::stod((*it)[1]))), int(std::lround(std::stod((*it)[2])))}, text});
    }
    EXPECT_TRUE(gotAll == wantAll);
    int misplaced = 0;
    for (const auto& t : texts) {
        auto [from, to] = starts.equal_range({int(std::lround(t.baseline.x())), int(std::lround(t.baseline.y()))});
        misplaced += std::none_of(from, to, [&](const auto& e) { return t.text.startsWith(e.second); });
    }
    EXPECT_EQ(misplaced, 0);
    QImage textBoxes(1800, 1800, QImage::Format_Grayscale8);
    textBoxes.fill(0);
    {
        QPainter p(&textBoxes);
        for (const auto& t : texts) {
            const QFontMetrics m(t.font);
            p.fillRect(QRectF(t.baseline.x() - 2, t.baseline.y() - m.ascent() - 2, m.horizontalAdvance(t.text) + 4,
                              m.height() + 4),
                       Qt::white);
        }
    }
    EXPECT_LT(Differing(SvgAtPixelCentres(File("map.svg"), 1800), png, textBoxes), 0.005);
}
