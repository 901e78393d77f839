// Circles and value labels of the statistics map as the user sets them in its
// window, measured from the shapes and texts the map keeps for PDF and SVG.
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/VectorRecorder.h"
#include "paint/StatLayer.h"
#include "paint/StatSymbols.h"
#include "paint/Uhanrei.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <regex>

namespace {

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

// Every filled path of a replay, with its box and whether it is a plain ellipse.
class PathCatcher : public QPaintEngine {
public:
    struct Shape {
        QRectF box;
        bool ellipse;
        QColor colour;
    };
    std::vector<Shape> shapes;
    PathCatcher() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& s) override {
        if (s.state() & DirtyBrush) brush = s.brush();
    }
    void drawPath(const QPainterPath& p) override {
        bool curves = p.elementCount() == 13;
        for (int i = 1; i < p.elementCount() && curves; ++i) curves = !p.elementAt(i).isLineTo() && !p.elementAt(i).isMoveTo();
        shapes.push_back({p.boundingRect(), curves, brush.color()});
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem&) override {}
    Type type() const override { return User; }

private:
    QBrush brush;
};

class Catcher : public QPaintDevice {
public:
    explicit Catcher(int size) : size(size) {}
    PathCatcher engine;
    QPaintEngine* paintEngine() const override { return const_cast<PathCatcher*>(&engine); }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth: case PdmHeight: return size;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        default: return QPaintDevice::metric(m);
        }
    }

private:
    int size;
};

void ChooseItem(TComboBox* box, int index) {
    box->SetItemIndex(index);
    box->OnChange(box);
}

// The filled paths of the map as kept for PDF and SVG, replayed at 1800 pixels.
std::vector<PathCatcher::Shape> Replayed(const gui::VectorRecorder& shapes) {
    Catcher device(1800);
    QPainter p(&device);
    shapes.Replay(p);
    p.end();
    return device.engine.shapes;
}

} // namespace

class StatSymbols : public JapanFormsTest {
protected:
    std::string File(const std::string& name) { return (programDir / name).string(); }
    // The whole country at 1800 pixels, coloured by one column of the sample table.
    void Start(int valueItem) {
        std::vector<int> all;
        for (int k = 1; k <= 52; ++k) all.push_back(k);
        testsupport::ChooseAreas(all);
        Open->ui.RadioGroup1->SetItemIndex(2);
        ASSERT_EQ(Open->ImageSize, 1800);
        StatMapWindow()->Show();
        QueueFileName((programDir / "サンプル" / "住民基本台帳人口_2021.csv").string());
        StatMap->BtnOpen->Click();
        ChooseItem(StatMap->CBValue, valueItem);
    }
};

TEST_F(StatSymbols, CircleAreasFollowTheirValuesAndTheKeyDrawsTheCirclesOfItsValues) {
    Start(10);   // colour: 増減率（％）, with values below 0
    StatMap->CBCircles->SetChecked(true);
    ChooseItem(StatMap->CBSizeCol, 10);   // size: the same rates, so that some circles are hollow
    StatMap->BtnApply->Click();
    const StatMapBlock& b = StatLayerOnMap->Shown();
    ASSERT_TRUE(b.on && b.circles);
    ASSERT_EQ(b.sizeCol, 9);
    ASSERT_TRUE(std::any_of(b.sizes.begin(), b.sizes.end(), [](const auto& v) { return v.second < 0; }));
    {
        // Below zero a circle is only its edge: as many edges as units, fewer discs; the key says so.
        gui::VectorRecorder shapes;
        ASSERT_TRUE(Open->RenderMapVector(shapes));
        int negative = 0;
        for (const auto& [code, v] : b.sizes) negative += v < -0.5;   // large enough to show as a ring
        int discs = 0, rings = 0;
        for (const auto& s : Replayed(shapes)) {
            discs += s.ellipse && s.colour != Qt::white;
            rings += !s.ellipse && s.box.width() > 3 && std::abs(s.box.width() - s.box.height()) < 1e-6;
        }
        EXPECT_GT(rings - discs, negative / 2);
        const auto texts = shapes.Texts();
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == "白抜きは負の値"; }));
    }
    // Then the size from another column than the colour: 人口.
    ChooseItem(StatMap->CBSizeCol, 6);
    ASSERT_EQ(StatLayerOnMap->Shown().sizeCol, 5);
    ASSERT_EQ(StatLayerOnMap->Shown().values, b.values);

    gui::VectorRecorder shapes;
    ASSERT_TRUE(Open->RenderMapVector(shapes));
    const auto replayed = Replayed(shapes);
    std::multimap<std::pair<long, long>, double> circles;   // centre in 1/100 px -> radius
    for (const auto& s : replayed)
        if (s.ellipse && s.box.width() > 3)
            circles.insert({{std::lround(s.box.center().x() * 100), std::lround(s.box.center().y() * 100)}, s.box.width() / 2});

    // Every unit's circle at its first fill point, its area proportional to its value.
    const StatMapBlock& now = StatLayerOnMap->Shown();
    double largest = 0;
    for (const auto& [code, v] : now.sizes) largest = std::max(largest, std::abs(v));
    const double scale = now.radius * 1800 / 600.0;
    int checked = 0;
    for (const StatUnit& u : StatMap->Units.units) {
        const auto at = std::lower_bound(now.sizes.begin(), now.sizes.end(), std::pair{int32_t(std::stoi(u.code)), -HUGE_VAL});
        const double size = at != now.sizes.end() && at->first == std::stoi(u.code) ? at->second : NAN;
        const double r = scale * std::sqrt(std::abs(size) / largest);
        if (!std::isfinite(size) || r < 3) continue;
        // Where the map puts the point, not its pixel: a page keeps the circle there.
        double x, y;
        Open->DrawnView.ToScreenF(u.points[0].x, u.points[0].y, x, y);
        if (x < 0 || y < 0 || x >= 1800 || y >= 1800) continue;
        const auto [from, to] = circles.equal_range({std::lround(x * 100), std::lround(y * 100)});
        bool found = false;
        for (auto it = from; it != to && !found; ++it) found = std::abs(it->second * it->second / (r * r) - 1) < 0.01;
        EXPECT_TRUE(found) << u.name << " " << size;
        ++checked;
    }
    EXPECT_GT(checked, 1500);

    // The key: nested circles on one bottom, each the circle of its round value.
    const std::vector<double> key = StatKeyValues(largest);
    ASSERT_EQ(key.size(), 3u);
    EXPECT_TRUE(key[0] <= largest && key[0] * 10 > largest);
    std::vector<QRectF> nested;
    for (const auto& s : replayed)
        if (s.ellipse && s.colour == QColor(0xC0, 0xC0, 0xC0)) nested.push_back(s.box);
    ASSERT_EQ(nested.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(nested[i].width() / 2, StatCircleRadius(key[i], largest, scale), 1e-6);
        EXPECT_NEAR(nested[i].bottom(), nested[0].bottom(), 1e-6);
        EXPECT_NEAR(nested[i].center().x(), nested[0].center().x(), 1e-6);
    }
}

TEST_F(StatSymbols, PlacedValueLabelsNeverOverlapAndTheWindowCountsThem) {
    Start(6);   // 人口
    StatMap->CBValueLabels->SetChecked(true);
    ChooseItem(StatMap->CBLabelFont, 1);   // 明朝: the map's own names are in gothic
    StatMap->EdLabelSize->SetText("7");
    StatMap->UDLabelSize->SetPosition(7);
    StatMap->BtnApply->Click();
    const StatMapBlock& b = StatLayerOnMap->Shown();
    ASSERT_TRUE(b.valueLabels);
    ASSERT_EQ(b.labelFont, "IPAMincho");
    std::smatch m;
    const std::string said = StatMap->LblPlaced->Caption();
    ASSERT_TRUE(std::regex_search(said, m, std::regex("(\\d+) / (\\d+)"))) << said;
    const int placed = std::stoi(m[1]), wanted = std::stoi(m[2]);
    EXPECT_GT(placed, 40);
    EXPECT_LT(placed, wanted);   // at this size the country's labels cannot all be placed
    EXPECT_GT(wanted, 1500);

    gui::VectorRecorder shapes;
    ASSERT_TRUE(Open->RenderMapVector(shapes));
    // Each label is its halo's four texts, then its own.
    std::vector<gui::VectorRecorder::KeptText> labels;
    int run = 0;
    for (const auto& t : shapes.Texts()) {
        if (t.font.family() != "IPAMincho" || !std::regex_match(t.text.toStdString(), std::regex("[-0-9,.]+"))) continue;
        if (++run % 5 == 0) labels.push_back(t);
    }
    ASSERT_EQ(int(labels.size()), placed);
    std::vector<QRectF> boxes;
    for (const auto& t : labels) {
        const QFontMetricsF fm(t.font);
        boxes.push_back(QRectF(t.baseline.x(), t.baseline.y() - fm.ascent(), fm.horizontalAdvance(t.text), fm.height()));
    }
    // The largest value is placed first, so it is always there.
    double largest = 0;
    for (const auto& [code, v] : b.values) largest = std::max(largest, v);
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const auto& t) {
        return t.text.toStdString() == StatNumberFormat{b.decimals, b.thousands}.Text(largest);
    }));
    int overlapping = 0;
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            overlapping += boxes[i].adjusted(0.5, 0.5, -0.5, -0.5).intersects(boxes[j].adjusted(0.5, 0.5, -0.5, -0.5));
    EXPECT_EQ(overlapping, 0);
}

TEST_F(StatSymbols, SteppedColumnsKeepFixedClassesAndTheProjectKeepsCirclesAndLabels) {
    Start(4);   // 人口（男）
    StatMap->BtnApply->Click();
    StatMap->CBFixClasses->SetChecked(true);
    const LegendBlock legend = Hanrei->FileBlock();
    const std::vector<double> breaks = StatLayerOnMap->Shown().breaks;
    const auto before = StatLayerOnMap->Shown().values;
    StatMap->BtnNextCol->Click();   // 人口（女）
    EXPECT_EQ(StatMap->CBValue->ItemIndex(), 5);
    EXPECT_NE(StatLayerOnMap->Shown().values, before);
    EXPECT_EQ(StatLayerOnMap->Shown().breaks, breaks);
    LegendBlock after = Hanrei->FileBlock();
    EXPECT_NE(after.title, legend.title);   // the title names the column shown
    after.title = legend.title;

    EXPECT_TRUE(after == legend);
    StatMap->BtnPrevCol->Click();
    EXPECT_EQ(StatLayerOnMap->Shown().values, before);
    // Past the last column of numbers nothing changes.
    StatMap->BtnPrevCol->Click();
    StatMap->BtnPrevCol->Click();
    EXPECT_EQ(StatMap->CBValue->ItemIndex(), 4);

    // Circles of one colour with labels, without the fill, in the project and back byte for byte.
    StatMap->CBFillMap->SetChecked(false);
    StatMap->CBCircles->SetChecked(true);
    ChooseItem(StatMap->CBSizeCol, 7);
    gui::testing::QueueColor(0x00A000);
    StatMap->BtnCircleColour->Click();   // the colour chosen is the one colour of the circles
    EXPECT_EQ(StatMap->CBCircleLook->ItemIndex(), 1);
    EXPECT_EQ(StatLayerOnMap->Shown().circleColour, 0x00A000u);
    StatMap->CBValueLabels->SetChecked(true);
    ChooseItem(StatMap->CBLabelFont, 3);
    const StatMapBlock shown = StatLayerOnMap->Shown();
    ASSERT_TRUE(!shown.fill && shown.circles && shown.valueLabels && shown.circleLook == 1 && shown.sizeCol == 6);
    EXPECT_EQ(shown.labelFont, "IPAPMincho");
    QueueFileName(File("a.rvx"));
    Open->Button1Click(Open);
    const std::string project = ReadBytes(File("a.rvx"));
    ASSERT_NE(project.find(",SYMBOLS\r\n"), std::string::npos);
    StatMap->CBCircles->SetChecked(false);
    QueueFileName(File("a.rvx"));
    Open->Button10Click(Open);
    EXPECT_TRUE(StatLayerOnMap->Shown() == shown);
    EXPECT_TRUE(StatMap->CBCircles->Checked());
    EXPECT_EQ(StatMap->CBSizeCol->ItemIndex(), 7);
    QueueFileName(File("b.rvx"));
    Open->Button1Click(Open);
    EXPECT_EQ(ReadBytes(File("b.rvx")), project);
}
