// The map saved as SVG and PDF under strange input: file names and label
// texts of every byte class, and paint records far beyond what the picture
// shows. Saved through the image menu, read back as a reader reads them.
#include "gui/Testing.h"
#include "paint/MainFormPaint.h"
#include "gui/VectorRecorder.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "output/Updfpage.h"
#include "paint/Upaint.h"
#include "tests/engine/HandMap.h"
#include "tests/support/ToolPress.h"
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdlib>
#include <fstream>
#include <random>

using testsupport::ReadBytes;

namespace {

// One byte class each: controls, plain ASCII, XML's own characters, DEL,
// Shift-JIS pairs, half-width kana, bytes no encoding reads, lone lead bytes.
std::string RandomBytes(std::mt19937& rnd, int n) {
    std::string s;
    while (int(s.size()) < n) {
        switch (rnd() % 8) {
        case 0: s += char(1 + rnd() % 31); break;
        case 1: s += char('A' + rnd() % 26); break;
        case 2: s += "&<>\"' "[rnd() % 6]; break;
        case 3: s += '\x7F'; break;
        case 4: s += char(0x88 + rnd() % 0x18), s += char(0x40 + rnd() % 0x3F); break;
        case 5: s += char(0xA1 + rnd() % 0x3F); break;
        case 6: s += "\x80\xA0\xFD\xFE\xFF"[rnd() % 5]; break;
        default: s += char(0x81 + rnd() % 0x1F); break;
        }
    }
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == ',') c = '_';
    return s;
}

// A name as a file dialog hands it over: characters, of the same classes.
std::string RandomName(std::mt19937& rnd, int n) {
    QString s = "a";
    while (s.size() < n) {
        switch (rnd() % 6) {
        case 0: s += QChar(char16_t(1 + rnd() % 31)); break;
        case 1: s += QChar(char16_t('A' + rnd() % 26)); break;
        case 2: s += QChar(char16_t("&<>\"' "[rnd() % 6])); break;
        case 3: s += QChar(char16_t(0x7F + rnd() % 0x21)); break;   // DEL and the C1 controls
        case 4: s += QChar(char16_t(0x4E00 + rnd() % 0x5000)); break;
        default: s += QChar(char16_t(0xFF61 + rnd() % 0x3F)); break;
        }
    }
    return s.toStdString();
}

struct ReadSvg {
    bool wellFormed = false;
    QString title, texts;
    std::map<QString, int> shapesOfFill;   // filled elements by the fill they draw with
};

ReadSvg Read(const std::string& path) {
    ReadSvg r;
    QXmlStreamReader xml(QByteArray::fromStdString(ReadBytes(path)));
    std::vector<QString> fills{"black"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto fill = xml.attributes().value("fill");
            fills.push_back(fill.isEmpty() ? fills.back() : fill.toString().toLower());
            const auto name = xml.name();
            if (name == QLatin1String("title")) {
                r.title = xml.readElementText();
                fills.pop_back();
            } else if (name == QLatin1String("text")) {
                r.texts += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                fills.pop_back();
            } else if (name == QLatin1String("path") || name == QLatin1String("polygon") || name == QLatin1String("rect")) {
                ++r.shapesOfFill[fills.back()];
            }
        } else if (xml.isEndElement()) {
            fills.pop_back();
        }
    }
    r.wellFormed = !xml.hasError();
    return r;
}

std::string Quoted(const std::string& path) {
    std::string q = "'";
    for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Output(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        if (pclose(p) != 0) out = "(failed) " + out;
    }
    return out;
}

} // namespace

class VectorInput : public HandMap {
protected:
    void SetUp() override {
        HandMap::SetUp();
        SetStore(o->doc.TownLine, {{{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}},
                               {{300, 100}, {400, 100}, {400, 200}, {300, 200}, {300, 100}}});
        o->ui.CBTownBorder->SetChecked(true);
        // A PDF on a page of the map's own size.
        gui::testing::SetShowModalHandler([](TForm* f) {
            if (f == PdfPage) PdfPage->CBPaper->SetItemIndex(PdfPage->CBPaper->Items()->Count() - 1);
            return mrOk;
        });
    }
    std::string Save(const std::string& name) {
        const std::string path = (programDir / name).string();
        gui::testing::QueueFileName(path);
        o->PNG1Click(o);
        return path;
    }
};

TEST_F(VectorInput, NamesAndLabelTextsOfEveryByteClassGiveWellFormedFilesWithoutControls) {
    std::mt19937 rnd(40);
    int names = 0, texts = 0, pdfs = 0;
    for (int round = 0; round < 60; ++round) {
        std::string file;
        for (int i = 0; i < 8; ++i) {
            auto [x, y] = At(50 + int(rnd() % 450), 50 + int(rnd() % 500));
            file += "●," + std::to_string(x) + "," + std::to_string(y) + "," + RandomBytes(rnd, 1 + int(rnd() % 12)) +
                    ",12,192\r\n";
        }
        std::ofstream((programDir / "l.lbl").string(), std::ios::binary) << file;
        Letter->LabelCount = 0;
        ASSERT_TRUE(Letter->ReadLabelFile((programDir / "l.lbl").string()));
        o->ui.CBLabel->SetChecked(true);
        const std::string base = RandomName(rnd, 2 + int(rnd() % 10));
        const bool pdf = round % 4 == 0;
        const std::string path = Save(base + (pdf ? ".pdf" : ".svg"));
        ASSERT_TRUE(gui::testing::Messages().empty()) << gui::testing::Messages()[0].text;
        const QString title = gui::WithoutControls(QString::fromStdString(base));
        ++names;

        if (pdf) {
            ++pdfs;
            const QString info = QString::fromStdString(Output("pdfinfo " + Quoted(path) + " 2>&1"));
            EXPECT_TRUE(info.contains(QRegularExpression("^Title: +" + QRegularExpression::escape(title) + "\n",
                                                         QRegularExpression::MultilineOption)))
                << info.toStdString();
            const QString found = QString::fromStdString(Output("pdftotext -raw " + Quoted(path) + " - 2>&1"));
            EXPECT_FALSE(found.startsWith("(failed)")) << found.toStdString();
            for (QChar c : found) EXPECT_FALSE(c.category() == QChar::Other_Control && c != '\n' && c != '\f') << int(c.unicode());
            continue;
        }
        const ReadSvg svg = Read(path);
        EXPECT_TRUE(svg.wellFormed) << "round " << round;
        EXPECT_EQ(svg.title, title);
        for (int i = 0; i < Letter->LabelCount; ++i, ++texts) {
            const QString want = gui::WithoutControls(QString::fromStdString(Letter->LabelTable[i].text)).trimmed();
            EXPECT_TRUE(svg.texts.contains(want)) << "round " << round << ": " << want.toStdString();
        }
        for (QChar c : svg.texts) EXPECT_NE(c.category(), QChar::Other_Control);
    }
    std::printf("[ inputs   ] %d file names, %d label texts in SVG, %d PDFs\n", names, texts, pdfs);
}

TEST_F(VectorInput, PaintThatChangesNoPixelAddsNothingAndOneColourIsOneShape) {
    const TColor blue = 0xCC6633, green = 0x33CC66;   // "#3366cc", "#66cc33"
    auto [x1, y1] = At(150, 150);
    auto [x2, y2] = At(350, 150);
    MapPaint->CBPaintDisplay->SetChecked(true);
    o->paint.PaintDisplay = true;
    auto paint = [&](int records) {
        o->paint.paint_rep = 0;
        // The one spot painted over and over, the last time blue; the other box once.
        for (int i = 0; i < records; ++i) ASSERT_TRUE(AddPaintRecord(*o, x1, y1, (records - i) % 2 ? blue : green, 0));
        ASSERT_TRUE(AddPaintRecord(*o, x2, y2, blue, 0));
    };
    paint(1);
    const auto oneSvg = std::filesystem::file_size(Save("one.svg")), onePdf = std::filesystem::file_size(Save("one.pdf"));
    paint(PaintStore::PAINT_MAX - 1);
    const std::string svgPath = Save("many.svg");
    EXPECT_LT(std::filesystem::file_size(svgPath), oneSvg + 2048);
    EXPECT_LT(std::filesystem::file_size(Save("many.pdf")), onePdf + 2048);
    const ReadSvg svg = Read(svgPath);
    ASSERT_TRUE(svg.wellFormed);
    EXPECT_EQ(svg.shapesOfFill.count("#66cc33"), 0u) << "painted over by the last record";
    EXPECT_EQ(svg.shapesOfFill.at("#3366cc"), 1) << "both boxes in one shape";
    // A save leaves the screen alone: the screen's own redraw shows what the file holds.
    o->DrawMap();
    EXPECT_EQ(Px(150, 150), blue);
    EXPECT_EQ(Px(350, 150), blue);
}

TEST_F(VectorInput, ASymbolStampedAgainIsOnePictureInTheFile) {
    testsupport::CopyJapanData(programDir, {"mark"});
    PagesDlg->SelectSymbol(100);
    for (int i = 0; i < 30; ++i) ToolPress(60 + 16 * i, 300 + 7 * i);
    ASSERT_EQ(PagesDlg->PlacedSymbolCount, 30);
    const std::string svg = ReadBytes(Save("stamps.svg")), pdf = ReadBytes(Save("stamps.pdf"));
    const QImage png = QImage(QString::fromStdString(Save("stamps.png"))).convertToFormat(QImage::Format_RGB32);
    auto count = [](const std::string& text, const std::string& what) {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count(svg, "<image"), 1u);
    EXPECT_LE(count(pdf, "/Subtype /Image"), 2u) << "the picture and its mask";
    // Each stamp shows where the picture has it.
    QSvgRenderer renderer(QByteArray::fromStdString(svg));
    QImage drawn(png.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter p(&drawn);
    renderer.render(&p, QRectF(0, 0, png.width(), png.height()));
    p.end();
    int wrong = 0;
    for (int i = 0; i < 30; ++i)
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                const int x = 60 + 16 * i + 16 + dx, y = 300 + 7 * i + 16 + dy;   // the stamp cursor's offset
                wrong += (drawn.pixel(x, y) & 0xFFFFFF) != (png.pixel(x, y) & 0xFFFFFF);
            }
    EXPECT_LT(wrong, 30 * 81 / 20);
}
