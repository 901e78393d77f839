#include "components/Mymap.h"
#include "engine/Coords.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/Pixels.h"
#include <gtest/gtest.h>
#include <cmath>
#include <array>
#include <cstring>
#include <fstream>

namespace {

// Minutes from degrees * 100 + minutes.
int Minutes(int v) { return v / 100 * 60 + v % 100; }

class MapTest : public ::testing::Test {
protected:
    TMyMap m;
    TPoint saved[MESH_ROWS][MESH_COLS];
    int savedRows = 0, savedCols = 0;

    void SetUp() override {
        gui::testing::Reset();
        std::memcpy(saved, TMyMap::MeshNode, sizeof saved);
        savedRows = TMyMap::MeshRows;
        savedCols = TMyMap::MeshCols;
    }
    void TearDown() override {
        std::memcpy(TMyMap::MeshNode, saved, sizeof saved);
        TMyMap::MeshRows = savedRows;
        TMyMap::MeshCols = savedCols;
    }
    // Nodes k map units per degree apart, turned by deg degrees about (ox, oy).
    static void FillMesh(double k, double deg = 0, double ox = 0, double oy = 0) {
        const double a = deg * M_PI / 180;
        for (int r = 0; r < MESH_ROWS; ++r)
            for (int c = 0; c < MESH_COLS; ++c) {
                const double x = 2 * c * k, y = 2 * r * k;
                TMyMap::MeshNode[r][c] = TPoint(int(std::lround(ox + x * std::cos(a) - y * std::sin(a))),
                                                int(std::lround(oy + x * std::sin(a) + y * std::cos(a))));
            }
        TMyMap::MeshRows = MESH_ROWS;
        TMyMap::MeshCols = MESH_COLS;
    }
    // One pixel per map unit: the rectangle (40, 40)-(360, 360) shows map 0..320.
    void PixelPerUnit() {
        m.SCX = m.SCY = 40;
        m.SCW = m.SCH = 320;
        m.MPX = m.MPY = 0;
        m.MPW = m.MPH = 320;
    }
    TColor At(int x, int y) { return m.Canvas()->Pixels(x, y); }
    ::testing::AssertionResult PixelsAre(std::initializer_list<testsupport::PixelWant> want) {
        return testsupport::PixelsAre(m.Canvas(), want);
    }
    bool AnyOtherThan(TColor c, int x0, int y0, int x1, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (At(x, y) != c) return true;
        return false;
    }
    // Screen -> geographic -> screen for positions inside cells, within tol minutes.
    void RoundTrip(int lon0, int lon1, int lat0, int lat1, int tol, bool insideOnly) {
        int checked = 0;
        for (int lon = lon0; lon < lon1; lon += (lon % 100 >= 53 ? 100 - lon % 100 : 7))
            for (int lat = lat0; lat < lat1; lat += (lat % 100 >= 53 ? 100 - lat % 100 : 7)) {
                const double u = Minutes(lon) % 120 / 60.0, v = Minutes(lat) % 120 / 60.0;
                if (insideOnly && (u < 0.3 || u > 1.7 || v < 0.3 || v > 1.7)) continue;
                int sx, sy, lon2 = 0, lat2 = 0;
                ASSERT_TRUE(m.origin_scr(lon, lat, sx, sy)) << lon << "," << lat;
                ASSERT_TRUE(m.scr_map(sx, sy, lon2, lat2)) << lon << "," << lat;
                EXPECT_NEAR(Minutes(lon2), Minutes(lon), tol) << lon << "," << lat << " -> " << lon2;
                EXPECT_NEAR(Minutes(lat2), Minutes(lat), tol) << lon << "," << lat << " -> " << lat2;
                ++checked;
            }
        EXPECT_GT(checked, 50);
    }
};

// A CSV file of a mesh table in a fresh folder.
struct MeshFile {
    std::filesystem::path dir = testsupport::MakeTempDir("rovana-mesh");
    ~MeshFile() { testsupport::RemoveTree(dir); }
    std::string Write(const std::string& text) {
        const auto path = dir / "mesh.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
};

TEST_F(MapTest, TheDefaultTableIsTheProgramsMapUnits) {
    EXPECT_EQ(TMyMap::MeshRows, MESH_ROWS);
    EXPECT_EQ(TMyMap::MeshCols, MESH_COLS);
    TMyMap::MeshRows = 0;
    TMyMap::UseMapUnitMesh();
    int mx, my;
    for (auto [lon, lat] : {std::pair{13930, 3545}, {12200, 2400}, {14541, 4330}, {15200, 5000}}) {
        ASSERT_TRUE(m.lonlat_map(lon, lat, mx, my)) << lon << " " << lat;
        EXPECT_EQ(mx, MapXOf(lon / 100 + lon % 100 / 60.0f)) << lon;
        EXPECT_EQ(my, MapYOf(lat / 100 + lat % 100 / 60.0f)) << lat;
    }
    // The screen round trip works out of the box (the view shows 24N..50N).
    m.MPH = m.MPW = 26 * 15000;
    int sx, sy, lon, lat;
    ASSERT_TRUE(m.origin_scr(13930, 3545, sx, sy));
    ASSERT_TRUE(m.scr_map(sx, sy, lon, lat));
    EXPECT_NEAR(lon / 100 * 60 + lon % 100, 139 * 60 + 30, 80);
    EXPECT_NEAR(lat / 100 * 60 + lat % 100, 35 * 60 + 45, 80);
}

TEST_F(MapTest, ATableIsReadFromACsvFileOrLeftAlone) {
    MeshFile file;
    // Three rows of four nodes, 120 units per 2 degrees, shifted by 1000.
    std::string text;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) text += gui::Format("%s%d, %d", c ? "," : "", 1000 + 120 * c, 1000 + 120 * r);
        text += "\r\n";
    }
    ASSERT_TRUE(TMyMap::LoadMesh(file.Write(text + "\r\n")));
    EXPECT_EQ(TMyMap::MeshRows, 3);
    EXPECT_EQ(TMyMap::MeshCols, 4);
    int mx, my;
    ASSERT_TRUE(m.lonlat_map(12300, 2530, mx, my));
    EXPECT_EQ(mx, 1060);
    EXPECT_EQ(my, 1000 + 90);
    EXPECT_FALSE(m.lonlat_map(12900, 2500, mx, my));

    for (const char* bad : {"1,2,3\n4,5,6\n", "1,2,3,4\n5,6\n", "1,2,x,4\n5,6,7,8\n", "1,2,3,4\n", ""}) {
        EXPECT_FALSE(TMyMap::LoadMesh(file.Write(bad))) << bad;
        EXPECT_EQ(TMyMap::MeshRows, 3);
        EXPECT_EQ(TMyMap::MeshNode[2][3], TPoint(1360, 1240));
    }
    EXPECT_FALSE(TMyMap::LoadMesh((file.dir / "none.csv").string()));
}

TEST_F(MapTest, CrossingsInTheLastBandAndLabelsOfTheirHeight) {
    TMyMap::UseMapUnitMesh();
    m.MPH = m.MPW = 26 * 15000;
    int sx, sy, x, y;
    // 49N lies in the last band of rows, 151E in the last band of columns.
    ASSERT_TRUE(m.origin_scr(13000, 4900, sx, sy));
    EXPECT_TRUE(m.lon_cross(13000, sy, x, y));
    EXPECT_NEAR(x, sx, 1);
    ASSERT_TRUE(m.origin_scr(15100, 3000, sx, sy));
    EXPECT_TRUE(m.lat_cross(3000, sx, x, y));
    EXPECT_NEAR(y, sy, 1);

    // The label boxes, white on a grey surround, are LetterSize high.
    const int none[MAP_OUTLINES] = {};
    const int* outlines[MAP_OUTLINES] = {};
    m.LetterSize = 14;
    m.MPX = m.MPY = 100000;   // about 132E..142E, 30N..37N
    m.MPH = 100000;
    ASSERT_TRUE(m.map_draw(none, outlines));
    ASSERT_TRUE(m.grid_draw());
    TCanvas* c = m.Canvas();
    c->Brush->Color = clGray;
    c->FillRect(Rect(0, 0, 400, m.SCY - 1));
    ASSERT_TRUE(m.degree_write());
    int top = -1, bottom = -1;
    for (int yy = 0; yy < m.SCY - 1; ++yy) {
        bool white = false;
        for (int xx = 0; xx < 400; ++xx) white = white || c->Pixels(xx, yy) != clGray;
        if (white && top < 0) top = yy;
        if (white) bottom = yy;
    }
    EXPECT_EQ(bottom - top + 1, 14);
    EXPECT_EQ(bottom, m.SCY - 6);
}

} // namespace

TEST_F(MapTest, DefaultsAndTheLinearScreenMapping) {
    int mx = -1, my = -1, sx = -1, sy = -1;
    // Screen corners and map corners of the default view; (41, 359) is 10.9375 truncated.
    for (auto [x, y, wantX, wantY] : {std::array{40, 360, 0, 0}, {360, 40, 3500, 3500}, {41, 359, 10, 10}}) {
        ASSERT_TRUE(m.map_position(x, y, mx, my)) << x << "," << y;
        EXPECT_EQ(std::pair(mx, my), std::pair(wantX, wantY)) << "screen " << x << "," << y;
    }
    for (auto [x, y, wantX, wantY] : {std::array{0, 0, 40, 360}, {3500, 3500, 360, 40}}) {
        ASSERT_TRUE(m.scr_position(x, y, sx, sy)) << x << "," << y;
        EXPECT_EQ(std::pair(sx, sy), std::pair(wantX, wantY)) << "map " << x << "," << y;
    }
    EXPECT_FALSE(m.scr_position(5000, 0, sx, sy));   // off the image

    m.SCW = 0;
    EXPECT_FALSE(m.map_position(40, 360, mx, my));
    m.SCW = 320;
    m.MPH = 0;
    EXPECT_FALSE(m.scr_position(0, 0, sx, sy));
}

TEST_F(MapTest, TableLookupIsBilinearInTwoDegreeCells) {
    FillMesh(60);   // 2 degrees = 120 units, one unit a minute
    int mx, my;
    const struct {
        int lon, lat, mx, my;
        const char* what;
    } inside[] = {{12300, 2400, 60, 0, "u = 1: halfway along column 0"},
                  {13930, 3545, 17 * 60 + 30, 11 * 60 + 45, "139deg30', 35deg45'"},
                  {15200, 5000, 15 * 120, 13 * 120, "its far edges belong to it"}};
    for (const auto& p : inside) {
        ASSERT_TRUE(m.lonlat_map(p.lon, p.lat, mx, my)) << p.what;
        EXPECT_EQ(std::pair(mx, my), std::pair(p.mx, p.my)) << p.what;
    }
    // Outside the table: west or south of it, or past its last node row or column.
    for (auto [lon, lat] : {std::pair{12150, 3000}, {13000, 2330}, {15201, 3000}, {13000, 5001}})
        EXPECT_FALSE(m.lonlat_map(lon, lat, mx, my)) << lon << "," << lat;

    // A cell that is not a parallelogram.
    TMyMap::MeshNode[0][0] = TPoint(0, 0);
    TMyMap::MeshNode[0][1] = TPoint(100, 0);
    TMyMap::MeshNode[1][0] = TPoint(0, 100);
    TMyMap::MeshNode[1][1] = TPoint(200, 200);
    ASSERT_TRUE(m.lonlat_map(12300, 2500, mx, my));
    EXPECT_EQ(mx, 75);
    EXPECT_EQ(my, 75);

    TMyMap::MeshRows = 0;
    EXPECT_FALSE(m.lonlat_map(13000, 3000, mx, my));
}

// Screen -> geographic -> screen over a view of one pixel per minute. The
// turned mesh's meridians lean to the left going north: a position near the
// east side of its cell must stay in that cell.
TEST_F(MapTest, MeshRoundTripThroughTheScreen) {
    const struct {
        const char* name;
        double turn, ox;
        int back, lon1, lat1, tol;
        bool insideOnly;
    } meshes[] = {{"linear", 0, 0, 0, 13600, 3800, 1, false},
                  {"turned by 4 degrees", 4, 300, 60, 13400, 3600, 2, true}};
    for (const auto& mesh : meshes) {
        SCOPED_TRACE(mesh.name);
        FillMesh(60, mesh.turn, mesh.ox, 0);
        // The view's corner at node (4, 4), 130E 32N, or half a cell south-west of it.
        const TPoint p = TMyMap::MeshNode[4][4];
        m.SCX = m.SCY = 20;
        m.SCW = m.SCH = m.MPW = m.MPH = 360;
        m.MPX = p.x - mesh.back;
        m.MPY = p.y - mesh.back;
        int sx, sy;
        ASSERT_TRUE(m.origin_scr(13000, 3200, sx, sy));
        if (!mesh.back) EXPECT_EQ(std::pair(sx, sy), std::pair(20, 380)) << "the view's south-west corner";
        RoundTrip(13000, mesh.lon1, 3200, mesh.lat1, mesh.tol, mesh.insideOnly);
    }
}

TEST_F(MapTest, AreaCheckAndCalculationFailure) {
    EXPECT_EQ(TMyMap::area_check(TPoint(5, 8), TPoint(0, 0), TPoint(10, 10)), 3);
    EXPECT_EQ(TMyMap::area_check(TPoint(5, 2), TPoint(0, 0), TPoint(10, 10)), -3);
    EXPECT_EQ(TMyMap::area_check(TPoint(5, 2), TPoint(0, 0), TPoint(0, 10)), 0);   // vertical: no division

    // Cells too large for the length calculation: a message, false, and the program goes on.
    FillMesh(25000);
    int lon = 0, lat = 0;
    EXPECT_FALSE(m.scr_map(100, 300, lon, lat));
    ASSERT_EQ(gui::testing::Messages().size(), 1u);
    EXPECT_EQ(gui::testing::Messages()[0].text, "Longitude calculation failed");
    EXPECT_EQ(gui::testing::Messages()[0].caption, "scr_map");
    EXPECT_FALSE(gui::testing::Terminated());

    // Outside every cell.
    FillMesh(60);
    EXPECT_FALSE(m.scr_map(0, 0, lon, lat));
    EXPECT_EQ(gui::testing::Messages().size(), 1u);
}

TEST_F(MapTest, MeshLinesSubDivisionsAndOuterBands) {
    FillMesh(60);
    PixelPerUnit();   // meridians at x = 40, 160, 280; parallels at y = 360, 240, 120
    m.Division = 2;
    m.DivColor = clBlue;
    m.Clear(clRed);
    ASSERT_TRUE(m.grid_draw());
    EXPECT_TRUE(PixelsAre({{160, 200, clBlack, "meridian"}, {280, 200, clBlack, "meridian"},
                           {200, 240, clBlack, "parallel"}, {100, 200, clBlue, "halfway between meridians"},
                           {200, 300, clBlue, "halfway between parallels"}, {130, 210, clRed, "inside a cell"},
                           {355, 210, clRed, "inside a cell"}, {10, 10, clWhite, "outside"},
                           {365, 200, clWhite, "outside"}, {200, 390, clWhite, "outside"},
                           {30, 200, clWhite, "outside"}, {200, 40, clBlack, "frame"}, {40, 210, clBlack, "frame"},
                           {360, 210, clBlack, "frame"}}));

    m.Division = 0;
    m.Clear(clRed);
    ASSERT_TRUE(m.grid_draw());
    EXPECT_TRUE(PixelsAre({{160, 200, clRed, "no mesh lines"}, {200, 40, clBlack, "frame"}}));
}

TEST_F(MapTest, DegreeLabelsOnlyWithTheMesh) {
    FillMesh(60);
    PixelPerUnit();
    const int none[MAP_OUTLINES] = {};
    const int* outlines[MAP_OUTLINES] = {};
    m.Clear(clWhite);
    ASSERT_TRUE(m.MapDraw(none, outlines));
    // 124E above the top edge, centred on x = 160; 26N left of the left edge at y = 240.
    EXPECT_TRUE(AnyOtherThan(clWhite, 145, 10, 175, 34));
    EXPECT_TRUE(AnyOtherThan(clWhite, 0, 233, 34, 247));
    EXPECT_FALSE(AnyOtherThan(clWhite, 0, 290, 34, 310));   // no odd degrees
    EXPECT_FALSE(AnyOtherThan(clWhite, 200, 0, 399, 8));

    m.Division = 0;
    m.Clear(clWhite);
    ASSERT_TRUE(m.MapDraw(none, outlines));
    EXPECT_FALSE(AnyOtherThan(clWhite, 0, 0, 34, 399));
    EXPECT_FALSE(AnyOtherThan(clWhite, 0, 0, 399, 34));
}

TEST_F(MapTest, OutlinesAndMarkers) {
    FillMesh(60);
    PixelPerUnit();
    m.MPW = 999;   // map_draw makes the x scale equal to the y scale
    m.PenColor = clRed;
    m.PenWidth = 1;
    m.Clear(clWhite);
    const int square[] = {60, 60, 200, 60, 200, 200, 60, 200};
    int counts[MAP_OUTLINES] = {4};
    const int* outlines[MAP_OUTLINES] = {square};
    ASSERT_TRUE(m.map_draw(counts, outlines));
    EXPECT_EQ(m.MPW, 320);
    EXPECT_TRUE(PixelsAre({{150, 300, clRed, "bottom edge (map y 60)"},
                           {100, 250, clRed, "left edge, closing segment"}, {150, 250, clWhite, "inside"}}));

    m.Clear(clWhite);
    m.Canvas()->Pen->Color = clBlack;
    m.Canvas()->Pen->Width = 1;
    m.Canvas()->Brush->Color = clYellow;
    m.Canvas()->Brush->Style = bsSolid;
    ASSERT_TRUE(m.MarkPlot(12300, 2500, 2, 4));   // map (60, 60): pixel (100, 300)
    EXPECT_TRUE(PixelsAre({{100, 300, clYellow}, {96, 300, clBlack}, {105, 300, clWhite}}));
    // East or west of the table, or a mark kind there is none of.
    for (auto [lon, kind] : {std::pair{15201, 2}, {12150, 2}, {12300, 6}})
        EXPECT_FALSE(m.MarkPlot(lon, 2500, kind, 4)) << lon << " kind " << kind;

    m.SCH = 0;
    m.Clear(clWhite);
    EXPECT_FALSE(m.map_draw(counts, outlines));
    EXPECT_FALSE(AnyOtherThan(clWhite, 0, 0, 399, 399));
}
