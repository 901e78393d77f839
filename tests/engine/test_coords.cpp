// Map units, pixels, the datum conversion and the typed longitude/latitude.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "gui/Testing.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

// The conversion as the map data were made with it: every value held in a
// float. The all-double variant shows that this choice changes results.
template <class Real>
void Reference(int32_t x, int32_t y, int32_t& xo, int32_t& yo) {
    Real lon = x * 0.0001 + 122;
    Real lat = y * (1.0 / 15000) + 24;
    Real lon2 = 0.999916957 * lon - 0.000046038 * lat + 0.01004;
    Real lat2 = 0.000017464 * lon2 + 0.99989305 * lat + 0.0046017;
    xo = int32_t((lon2 - 122) * 10000);
    yo = int32_t((lat2 - 24) * 15000);
}

// A view around 135.7 E 35.5 N: 0.5 and 0.75 pixels per map unit.
MapView View(bool wgs = false) {
    MapView v;
    v.cx = 137000;
    v.cy = 172500;
    v.scaleX = 0.5f;
    v.scaleY = 0.75f;
    v.size = 600;
    v.wgs = wgs;
    return v;
}

TPoint Screen(const MapView& v, int32_t x, int32_t y) {
    TPoint p;
    v.ToScreen(x, y, p.x, p.y);
    return p;
}

} // namespace

TEST(MapViewTest, CentreDirectionsTruncationAndTheCornerReadOut) {
    MapView v = View();
    EXPECT_EQ(Screen(v, 137000, 172500), TPoint(300, 300));
    EXPECT_EQ(Screen(v, 137100, 172600), TPoint(350, 225));   // east is right, north is up
    // -0.5 px: truncated toward zero gives 0, flooring would give -1.
    v.scaleX = 0.25f;
    EXPECT_EQ(Screen(v, 137000 - 1202, 172500).x, 0);     // -0.5
    EXPECT_EQ(Screen(v, 137000 - 1206, 172500).x, -1);    // -1.5
    v.size = 601;                                          // half is 300
    EXPECT_EQ(Screen(v, 137000, 172500), TPoint(300, 300));
    // The read-outs take a pixel's top-left corner, truncated.
    int32_t x, y;
    v.CornerToMap(301, 299, x, y);
    EXPECT_EQ(x, 137004);
    EXPECT_EQ(y, 172501);
}

TEST(MapViewTest, APressedPixelComesBackFromItsDataPointAtEveryScale) {
    for (bool wgs : {false, true}) {
        for (float scale : {0.01f, 0.3f, 0.8f}) {
            MapView v = View(wgs);
            v.scaleX = scale;
            v.scaleY = scale * 1.2f;
            for (int px = 0; px < 600; px += 7) {
                for (int py = 0; py < 600; py += 11) {
                    int32_t x, y;
                    v.ToData(px, py, x, y);
                    ASSERT_EQ(Screen(v, x, y), TPoint(px, py)) << wgs << " " << scale;
                }
            }
        }
    }
    // Deeper than a map unit per pixel: the point drawn nearest, half a unit off at worst.
    MapView v = View(true);
    v.scaleX = v.scaleY = 3.7f;
    int32_t x, y;
    v.ToData(123, 456, x, y);
    TPoint p = Screen(v, x, y);
    EXPECT_LE(std::abs(p.x - 123), 2);
    EXPECT_LE(std::abs(p.y - 456), 2);
}

TEST(MapViewTest, TheDrawnViewShiftsToWgsUnlessTheArmedToolPlacesPoints) {
    struct Tool : MapTool {
        bool places;
        explicit Tool(bool p) : places(p) {}
        bool Press(const MapEvent&) override { return false; }
        TForm* Owner() const override { return nullptr; }
        bool Placing() const override { return places; }
    };
    TOpen* const saved = Open;
    auto open = std::make_unique<TOpen>();
    Open = open.get();
    open->WgsDisplay = true;
    EXPECT_TRUE(open->CurrentView().wgs);
    open->tools.SetTool(std::make_unique<Tool>(true));
    EXPECT_FALSE(open->CurrentView().wgs);
    open->tools.SetTool(std::make_unique<Tool>(false));
    EXPECT_TRUE(open->CurrentView().wgs);
    open->tools.EndActiveTool();
    EXPECT_TRUE(open->CurrentView().wgs);
    Open = saved;

    // Around 135.7 E 35.5 N the WGS position lies about 0.0029 deg west and
    // 0.0032 deg north of the Tokyo-datum one: -29 and +47 map units.
    MapView v = View(true);
    v.scaleX = v.scaleY = 1.0f;
    TPoint wgs = Screen(v, 137000, 172500);
    EXPECT_NEAR(wgs.x, 300 - 29, 2);
    EXPECT_NEAR(wgs.y, 300 - 47, 2);
}

TEST(Datum, SinglePrecisionAsTheDataWereMade) {
    int32_t x, y;
    TokyoToWgs(137000, 172500, x, y);
    EXPECT_NEAR(x, 136971, 1);
    EXPECT_NEAR(y, 172547, 1);

    int differences = 0;
    for (int32_t px = 0; px <= 240000; px += 997) {
        for (int32_t py = 0; py <= 330000; py += 4999) {
            int32_t fx, fy, dx, dy;
            TokyoToWgs(px, py, x, y);
            Reference<float>(px, py, fx, fy);
            Reference<double>(px, py, dx, dy);
            ASSERT_EQ(x, fx) << px << "," << py;
            ASSERT_EQ(y, fy) << px << "," << py;
            differences += (dx != fx) + (dy != fy);
        }
    }
    EXPECT_GT(differences, 0) << "double precision would give the same results";
}

TEST(Datum, WgsToTokyoInvertsTokyoToWgs) {
    for (int32_t px : {50000, 137000, 220000}) {
        for (int32_t py : {20000, 172500, 300000}) {
            int32_t wx, wy, tx, ty;
            TokyoToWgs(px, py, wx, wy);
            EXPECT_NE(wx, px);
            WgsToTokyo(wx, wy, tx, ty);
            EXPECT_NEAR(tx, px, 2);
            EXPECT_NEAR(ty, py, 2);
        }
    }
}

TEST(Datum, MountainShiftInArcSeconds) {
    EXPECT_FLOAT_EQ(LatShiftSeconds(31), 12.71f / 3600);
    EXPECT_FLOAT_EQ(LonShiftSeconds(129), -8.17f / 3600);
    EXPECT_NEAR(LatShiftSeconds(46) * 3600, 12.71 - 4.71, 1e-4);
    EXPECT_NEAR(LonShiftSeconds(146) * 3600, -8.17 - 6.91, 1e-4);

    // A summit as the mountain file gives it, in WGS degrees.
    std::string lat = "40°39′21″", lon = "140°18′11″";
    float la = ParseDms(lat), lo = ParseDms(lon);
    EXPECT_NEAR(la, 40 + 39 / 60.0 + 21 / 3600.0, 1e-5);
    EXPECT_NEAR(lo, 140 + 18 / 60.0 + 11 / 3600.0, 1e-5);
    EXPECT_EQ(lat, "40");   // cut in place at the degree mark
    int32_t x, y;
    MountainToMap(la, lo, x, y);
    // Here the Tokyo-datum position lies 9.7" south and 12.8" east of the
    // WGS one: about 40 map units down and 35 to the right.
    EXPECT_NEAR(y, MapYOf(la) - 40, 2);
    EXPECT_NEAR(x, MapXOf(lo) + 35, 2);
}

TEST(Dms, MissingMarksAndLastMarkCount) {
    const std::pair<const char*, double> cases[] = {{"35", 35.0}, {"35°30", 35.5}, {"35°30′36", 35.51}, {"", 0.0}};
    for (auto [text, degrees] : cases) {
        std::string s = text;
        EXPECT_NEAR(ParseDms(s), degrees, 1e-5) << text;
    }
}

TEST(Sphere, GreatCircleAndDegreeLength) {
    EXPECT_EQ(GreatCircleKm(35.5f, 135.7f, 35.5f, 135.7f), 0.0f);
    EXPECT_NEAR(GreatCircleKm(35, 135, 36, 135), 111.19, 0.02);
    EXPECT_NEAR(GreatCircleKm(36, 135, 35, 135), 111.19, 0.02);
    EXPECT_NEAR(GreatCircleKm(0, 0, 0, 180), 20015.1, 1);
    // Antipodes whose rounded unit vectors lie a hair more than 2 apart.
    EXPECT_NEAR(GreatCircleKm(-40.5954742f, -131.721283f, 40.5954742f, 48.278717f), 20015.1, 1);
    EXPECT_NEAR(DegreeLengthRatio((0 - 24) * 15000), 1.0, 0.001);
    EXPECT_NEAR(DegreeLengthRatio((60 - 24) * 15000), 2.0, 0.002);
    EXPECT_NEAR(DegreeLengthRatio(172500), 1 / std::cos(35.5 * M_PI / 180), 0.002);
}

TEST(TypedDegrees, DdmmssAcceptsOnlyValidTexts) {
    gui::testing::Reset();
    struct Case { const char* text; float expected; };
    const Case accepted[] = {
        {"135.3000", 135.5f}, {"35.0059", 35 + 59 / 3600.0f}, {"20.0000", 20.0f},
        {"160.5959", 160 + 59 / 60.0f + 59 / 3600.0f}, {"35.4530", 35.7583333f},
    };
    for (const Case& c : accepted) {
        std::string text = c.text;
        const auto got = ParseDdmmss(text);
        ASSERT_TRUE(got) << c.text;
        EXPECT_NEAR(*got, c.expected, 1e-5) << c.text;
    }
    std::string cut = "135.3000";
    ParseDdmmss(cut);
    EXPECT_EQ(cut, "135");

    // Refused texts give no value and no message: the window that took the text tells the user.
    const char* refused[] = {"135.30", "135", "135.30000", "19.0000", "161.0000", "35.6060",
                             "35.6000", "35.0060", "", ".3000", "35.３０００", "35.3a00", "abc.1234"};
    for (const char* r : refused) {
        std::string text = r;
        EXPECT_FALSE(ParseDdmmss(text)) << r;
    }
    EXPECT_TRUE(gui::testing::Messages().empty());
    gui::testing::Reset();

    EXPECT_FALSE(HasDot("12"));
    EXPECT_TRUE(HasDot("1.5"));
    EXPECT_FALSE(HasDot(""));
}
