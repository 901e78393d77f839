// Insets of the far island groups on a whole-country statistics map: drawn in
// their frames and gone from the main frame, on the picture and in the vector
// output; presses inside a frame; the project keeps them.
#include "engine/Uinset.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "gui/VectorRecorder.h"
#include "output/Updfpage.h"
#include "paint/StatLayer.h"
#include "paint/Ustatmap.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/RealAreas.h"
#include "tests/support/SampleStatMap.h"
#include <QImage>
#include <QTest>
#include <cmath>
#include <fstream>
#include <tuple>

namespace {

using gui::testing::QueueFileName;
using testsupport::ReadBytes;

QImage MapImage() { return Open->ui.Image1->Picture()->Bitmap()->Image().copy(); }
QRgb Rgb(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// First fill points of the data set (MAPDATA/Codes/46.csv, 51.csv).
constexpr int32_t kNahaX = 57004, kNahaY = 33163, kOgasawaraX = 202141, kOgasawaraY = 45851;

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

} // namespace

class Insets : public JapanFormsTest {
protected:
    // The whole country at 1800 pixels, coloured by population, with the municipality names.
    void SetUp() override {
        JapanFormsTest::SetUp();
        std::vector<int> all;
        for (int k = 1; k <= 52; ++k) all.push_back(k);
        testsupport::ChooseAreas(all);
        Open->ui.RadioGroup1->SetItemIndex(2);
        Open->ui.CBTownBorder->SetChecked(true);
        Open->ui.CBTownName->SetChecked(true);
        testsupport::ApplySamplePopulation(programDir);
        StatMap->Close();
    }
    // 沖縄 in the lower right, then 小笠原 beside it, as the user sets them in the window.
    void TurnOnInsets() {
        Open->ui.menuInsets->Click();
        ASSERT_TRUE(Inset->Visible());
        ASSERT_TRUE(Inset->CBShow[kInsetOkinawa]->isEnabled());
        ASSERT_TRUE(Inset->CBShow[kInsetOgasawara]->isEnabled());
        Inset->CBShow[kInsetOkinawa]->Click();
        Inset->CBCorner[kInsetOkinawa]->SetItemIndex(int(InsetCorner::LowerRight));
        Inset->CBShow[kInsetOgasawara]->Click();
        Inset->BtnOk->Click();
        ASSERT_FALSE(Inset->Visible());
        ASSERT_EQ(Open->DrawnInsets.size(), 2u);
    }
    TColor ClassColour(int32_t code) {
        const StatMapBlock& b = StatLayerOnMap->Shown();
        const double v = b.ValueOf(code);
        return b.Slots()[std::isnan(v) ? size_t(b.count) : size_t(StatClassOf(v, b.breaks))].colour;
    }
    // Whether a pixel near (x, y) has the colour: the unit's name may cover its point.
    static bool ColourNear(const QImage& img, int x, int y, TColor c) {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                if (img.valid(x + dx, y + dy) && img.pixel(x + dx, y + dy) == Rgb(c)) return true;
        return false;
    }
};

TEST_F(Insets, NahaAndOgasawaraAreDrawnInTheirFramesWithTheirColoursAndNotOnTheMainFrame) {
    const MapView plain = Open->DrawnView;
    TurnOnInsets();
    // The main frame now fits what remains: the islands of the mainland come out larger.
    EXPECT_GT(Open->DrawnView.scaleX, plain.scaleX * 1.2f);

    const InsetFrame okinawa = Open->DrawnInsets[0], ogasawara = Open->DrawnInsets[1];
    ASSERT_EQ(okinawa.group, kInsetOkinawa);
    // Both in the lower right, side by side, within the picture.
    EXPECT_EQ(okinawa.frame.Bottom, ogasawara.frame.Bottom);
    EXPECT_LE(ogasawara.frame.Right, okinawa.frame.Left);
    EXPECT_GT(ogasawara.frame.Left, 0);
    EXPECT_LE(okinawa.frame.Right, 1800);

    // On the screen and in the saved picture: each unit inside its frame in
    // its class colour (the names off, which would cover the small islands).
    Open->ui.CBTownName->SetChecked(false);
    const std::string png = (programDir / "insets.png").string();
    QueueFileName(png);
    Open->PNG1Click(Open);
    const QImage saved(QString::fromStdString(png));
    for (const QImage& img : {MapImage(), saved}) {
        ASSERT_EQ(img.width(), 1800);
        int x, y;
        okinawa.press.ToScreen(kNahaX, kNahaY, x, y);
        EXPECT_TRUE(Inside(okinawa.frame, x, y));
        EXPECT_TRUE(ColourNear(img, x, y, ClassColour(472018)));
        ogasawara.press.ToScreen(kOgasawaraX, kOgasawaraY, x, y);
        EXPECT_TRUE(Inside(ogasawara.frame, x, y));
        EXPECT_TRUE(ColourNear(img, x, y, ClassColour(134210)));
    }

    // Off the main frame: every unit point of 沖縄 the main view puts on the
    // picture outside the frames shows the sea, not a fill.
    const QImage img = MapImage();
    int onMain = 0;
    for (const auto& [code, x0, y0] : {std::tuple{472018, kNahaX, kNahaY}, {473014, 62624, 41263}, {472093, 60525, 38829},
                                        {473596, 59831, 45757}, {473600, 59392, 44005}, {473065, 59504, 40270}}) {
        int x, y;
        Open->DrawnView.ToScreen(x0, y0, x, y);
        if (x < 0 || y < 0 || x >= 1800 || y >= 1800 || Inside(okinawa.frame, x, y) || Inside(ogasawara.frame, x, y))
            continue;
        ++onMain;
        EXPECT_EQ(img.pixel(x, y), Rgb(Open->style.BackColor)) << code;
    }
    EXPECT_GT(onMain, 0);

    // In the vector output: each name once, inside its frame.
    Open->ui.CBTownName->SetChecked(true);
    gui::VectorRecorder shapes;
    ASSERT_TRUE(Open->RenderMapVector(shapes));
    int naha = 0, bonin = 0;
    for (const auto& t : shapes.Texts()) {
        const int x = int(t.baseline.x()), y = int(t.baseline.y());
        if (t.text == "那覇市") {
            ++naha;
            EXPECT_TRUE(Inside(okinawa.frame, x, y));
        }
        if (t.text == "小笠原村") {
            ++bonin;
            EXPECT_TRUE(Inside(ogasawara.frame, x, y));
        }
    }
    EXPECT_EQ(naha, 1);
    EXPECT_EQ(bonin, 1);
}

TEST_F(Insets, APressOnNahaInsideTheInsetGivesTheSamePlaceAsOnThePlainMap) {
    // The plain map: a press on 那覇市's point starts a distance there.
    auto pressAt = [](const MapView& v, int32_t mx, int32_t my, float tolerance) {
        int x, y;
        v.ToScreen(mx, my, x, y);
        Open->Image1MouseDown(Open->ui.Image1, mbLeft, {}, x, y);
        int32_t wx, wy;
        TokyoToWgs(mx, my, wx, wy);
        EXPECT_NEAR(Open->PointerLon, LonOf(wx), tolerance / v.scaleX * 0.0001 + 1e-4);
        EXPECT_NEAR(Open->PointerLat, LatOf(wy), tolerance / v.scaleY / 15000 + 1e-4);
    };
    // At a zoom that shows 沖縄 on the main frame.
    Open->CX = kNahaX, Open->CY = kNahaY;
    Open->ui.UpDown1->SetPosition(8);
    Open->MAGSTEP = 8;
    Open->DrawMap();
    pressAt(Open->DrawnView, kNahaX, kNahaY, 1.5f);
    const float plainLon = Open->PointerLon, plainLat = Open->PointerLat;

    TurnOnInsets();
    const InsetFrame okinawa = Open->DrawnInsets[0];
    pressAt(okinawa.press, kNahaX, kNahaY, 1.5f);
    // The same place within a pixel of the inset (about 1 km).
    EXPECT_NEAR(Open->PointerLon, plainLon, 0.012);
    EXPECT_NEAR(Open->PointerLat, plainLat, 0.012);
}

TEST_F(Insets, AProjectWithInsetsComesBackAndIsSavedAgainByteForByte) {
    TurnOnInsets();
    // A size of its own for 小笠原.
    Open->ui.menuInsets->Click();
    Inset->EdSize[kInsetOgasawara]->SetText("150");
    Inset->BtnOk->Click();
    const auto chosen = MapInsets.choice;
    ASSERT_GT(chosen[kInsetOgasawara].span, 0);
    // A page layout beside them: the two blocks follow one another.
    output::PageLayout layout = PdfPageWindow()->Layout();
    layout.title = "沖縄と小笠原";
    PdfPageWindow()->SetLayout(layout);

    const std::string first = (programDir / "a.rvx").string(), second = (programDir / "b.rvx").string();
    ASSERT_TRUE(Open->SaveProjectFile(first));
    EXPECT_NE(ReadBytes(first).find("-1,INSETS\r\n-1,0,0,OKINAWA\r\n"), std::string::npos);
    EXPECT_NE(ReadBytes(first).find("-1,LAYOUT"), std::string::npos);
    MapInsets.choice = InsetSet{}.choice;
    PdfPageWindow()->SetLayout(output::PageLayout{});
    ASSERT_TRUE(Open->RestoreProjectFile(first));
    EXPECT_EQ(MapInsets.choice, chosen);
    EXPECT_EQ(PdfPageWindow()->Layout(), layout);
    EXPECT_EQ(Open->DrawnInsets.size(), 2u);
    ASSERT_TRUE(Open->SaveProjectFile(second));
    EXPECT_EQ(ReadBytes(first), ReadBytes(second));

    // A size no window gives is refused where it enters, with its line named.
    std::string bytes = ReadBytes(first);
    const size_t at = bytes.find(",OGASAWARA");
    const size_t from = bytes.rfind(',', at - 1);
    bytes.replace(from, at - from, ",99999999");
    {
        std::ofstream out(second, std::ios::binary);
        out << bytes;
    }
    gui::testing::QueueAnswer(IDOK);
    EXPECT_FALSE(Open->RestoreProjectFile(second));
    ASSERT_FALSE(gui::testing::Messages().empty());
    EXPECT_NE(gui::testing::Messages().back().text.find("行目が正しくありません"), std::string::npos);
    EXPECT_EQ(MapInsets.choice, chosen);
}

TEST_F(Insets, TheWindowTakesEnterKeepsTheSizeInItsRangeAndLetsEscGo) {
    Open->ui.menuInsets->Click();
    // Esc: the tick made is let go, the map as it was.
    Inset->CBShow[kInsetDaito]->Click();
    QTest::keyClick(Inset, Qt::Key_Escape);
    EXPECT_FALSE(Inset->Visible());
    EXPECT_FALSE(MapInsets.choice[kInsetDaito].shown);
    EXPECT_TRUE(Open->DrawnInsets.empty());

    // A size out of range goes back to the one shown; Enter takes the window's choices.
    Open->ui.menuInsets->Click();
    EXPECT_FALSE(Inset->CBShow[kInsetDaito]->Checked());
    Inset->CBShow[kInsetOkinawa]->Click();
    testsupport::TypeInto(Inset->EdSize[kInsetOkinawa], "0");
    EXPECT_FALSE(Inset->Visible());
    EXPECT_TRUE(MapInsets.Active(kInsetOkinawa));
    EXPECT_EQ(MapInsets.choice[kInsetOkinawa].span, 0);
    ASSERT_EQ(Open->DrawnInsets.size(), 1u);

    Open->ui.menuInsets->Click();
    EXPECT_EQ(Inset->EdSize[kInsetOkinawa]->Text(), "100");
    testsupport::TypeInto(Inset->EdSize[kInsetOkinawa], "200");
    ASSERT_EQ(Open->DrawnInsets.size(), 1u);
    // Twice the size: half the span the group is fitted with.
    const InsetFrame f = Open->DrawnInsets[0];
    EXPECT_NEAR(double(MapInsets.choice[kInsetOkinawa].span),
                MapInsets.FittedSpan(kInsetOkinawa, f.view.scaleY / f.view.scaleX) / 2.0, 2);
}
