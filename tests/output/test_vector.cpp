// The map as PDF and SVG: drawn by the same code as the PNG, so rasterised at
// the PNG's size they show the PNG, and their names are text a reader finds.
#include "labels/Uletter.h"
#include "tests/support/ToolPress.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "gui/VectorRecorder.h"
#include "gui/PrintDialog.h"
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
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <zlib.h>
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
        Open->ui.RadioGroup1->SetItemIndex(2);
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
        Open->ui.CBTownName->SetChecked(true);
        Open->ui.CBRailLine->SetChecked(true);
        Kyori->CheckBox6->SetChecked(true);
        int32_t x, y;
        Open->PressToData(900, 900, x, y);
        ASSERT_TRUE(Kyori->AddCircle(x, y));
        PagesDlg->SelectSymbol(100);
        ToolPress(700, 700);
        ASSERT_EQ(PagesDlg->PlacedSymbolCount, 1);
        Open->ui.CBLabel->SetChecked(true);
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
    // The PDF's streams as written, inflated.
    static std::vector<std::string> PdfStreams(const std::string& path) {
        const std::string pdf = ReadBytes(path);
        std::vector<std::string> out;
        for (size_t at = pdf.find("stream\n"); at != std::string::npos; at = pdf.find("stream\n", at + 1)) {
            if (at >= 3 && pdf.compare(at - 3, 3, "end") == 0) continue;
            z_stream z{};
            if (inflateInit(&z) != Z_OK) continue;
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(pdf.data() + at + 7));
            z.avail_in = uInt(pdf.size() - at - 7);
            std::string text;
            char buf[65536];
            int rc = Z_OK;
            while (rc == Z_OK) {
                z.next_out = reinterpret_cast<Bytef*>(buf);
                z.avail_out = sizeof buf;
                rc = inflate(&z, Z_NO_FLUSH);
                text.append(buf, sizeof buf - z.avail_out);
            }
            inflateEnd(&z);
            if (rc == Z_STREAM_END) out.push_back(std::move(text));
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
    // Lines from the map's own points take a pixel here and there beside the picture's.
    EXPECT_LT(Differing(pdf, png, {}), 0.01);
    EXPECT_LT(std::filesystem::file_size(File("map.pdf")), 5u << 20);
    // Every text drawn can be found; the font's one wave dash reads back as U+301C.
    const QString found = QString::fromStdString(Run("pdftotext -raw '" + File("map.pdf") + "' -"));
    int missing = 0;
    for (const auto& t : texts) missing += !found.contains(QString(t.text).replace(QChar(0xFF5E), QChar(0x301C)).trimmed());
    EXPECT_EQ(missing, 0);

    // The SVG holds the texts in the order drawn, each whole at its place;
    // its shapes draw the PNG's pixels (the Qt renderer's smoothed glyphs are
    // not compared).
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
        misplaced += std::none_of(from, to, [&](const auto& e) { return t.text == e.second; });
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

// 神奈川 with its statistics map, one municipality without a value, saved
// through the menu: the PDF's coast keeps the map's own points between the
// picture's pixels; every name is one text, found whole in both files; the
// PDF carries its fonts and the map's title.
TEST_F(VectorOutput, KanagawaKeepsTheMapsOwnPointsItsNamesWholeAndItsTitle) {
    testsupport::ChooseAreas({13});
    Open->ui.CBTownName->SetChecked(true);
    std::string text, line;
    {
        gui::TextReader r((programDir / "サンプル" / "住民基本台帳人口_2021.csv").string());
        while (r.ReadLine(line))
            if (line.find("142051") == std::string::npos) text += line + "\r\n";   // no 藤沢市
    }
    std::ofstream(File("人口.csv"), std::ios::binary) << gui::Utf8ToCp932(text);
    StatMapWindow()->Show();
    QueueFileName(File("人口.csv"));
    StatMap->BtnOpen->Click();
    StatMap->CBValue->SetItemIndex(6);
    StatMap->CBValue->OnChange(StatMap->CBValue);
    StatMap->BtnApply->Click();
    StatMap->Close();
    Open->ui.PrintDialog1->Title = "神奈川県の人口";
    Save("k.pdf");
    Save("k.svg");
    EXPECT_TRUE(gui::testing::Messages().empty());

    // The coast's vertices in the PDF: those off the pixel centres of its
    // one-pixel pen (a line through the picture's pixels has none).
    const QColor coast = ToQColor(Open->style.CoastColor);
    int onGrid = 0, offGrid = 0;
    for (const std::string& content : PdfStreams(File("k.pdf"))) {
        std::vector<double> args;
        bool coastPen = false;
        double pen = 0;
        std::istringstream in(content);
        for (std::string token; in >> token;) {
            char* end = nullptr;
            const double v = std::strtod(token.c_str(), &end);
            if (end && *end == 0 && !token.empty()) {
                args.push_back(v);
                continue;
            }
            if ((token == "SCN" || token == "RG") && args.size() == 3)
                coastPen = std::lround(args[0] * 255) == coast.red() && std::lround(args[1] * 255) == coast.green() &&
                           std::lround(args[2] * 255) == coast.blue();
            if (token == "w" && args.size() == 1) pen = args[0];
            if ((token == "m" || token == "l") && args.size() == 2 && coastPen && pen > 0) {
                const auto centre = [&](double c) {
                    const double k = c / pen - 0.5;
                    return std::abs(k - std::round(k)) < 1e-6;
                };
                (centre(args[0]) && centre(args[1]) ? onGrid : offGrid)++;
            }
            args.clear();
        }
    }
    EXPECT_GT(offGrid, 200);
    EXPECT_GT(offGrid, 10 * onGrid);

    // Every name whole, in the PDF's text and as one SVG text each, with a
    // family a reader without the map's face still has.
    const QString found = QString::fromStdString(Run("pdftotext -raw '" + File("k.pdf") + "' -"));
    const std::string svg = ReadBytes(File("k.svg"));
    const std::regex element(R"re(<text [^>]*font-family="([^"]*)"[^>]*>([^<]*)</text>)re");
    std::set<QString> texts;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
        texts.insert(Unescaped((*it)[2]));
        EXPECT_TRUE(QString::fromStdString((*it)[1]).endsWith(", sans-serif")) << (*it)[1];
    }
    for (const char* name : {"保土ケ谷区", "茅ヶ崎市", "データなし"}) {
        EXPECT_TRUE(found.contains(QString::fromUtf8(name))) << name;
        EXPECT_TRUE(texts.count(QString::fromUtf8(name))) << name;
    }
    // The map's title names the document; its face goes with it.
    const std::string info = Run("pdfinfo '" + File("k.pdf") + "'");
    EXPECT_NE(info.find("Title:           神奈川県の人口\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         神奈川県の人口\n"), std::string::npos) << info;
    const std::string fonts = Run("pdffonts '" + File("k.pdf") + "'");
    EXPECT_NE(fonts.find("IPAGothic"), std::string::npos) << fonts;
    std::istringstream rows(fonts.substr(fonts.find("\n---") + 1));
    std::string row;
    std::getline(rows, row);   // the rule under the heads
    while (std::getline(rows, row)) {
        std::vector<std::string> cols;
        std::istringstream cells(row);
        for (std::string c; cells >> c;) cols.push_back(c);
        ASSERT_GE(cols.size(), 6u) << row;
        EXPECT_EQ(cols[cols.size() - 5], "yes") << row;   // embedded
    }
}
