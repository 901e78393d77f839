// TMyMap: a map of Japan in a rectangle of an image, from outline polygons in
// map coordinates, with a longitude/latitude mesh, degree labels round the
// frame, conversions between longitude/latitude, map coordinates and pixels,
// and markers at geographic positions. Longitude/latitude go to map
// coordinates by bilinear interpolation in a table of mesh nodes 2 degrees
// apart from 122E, 24N, which the user of the component fills.
#pragma once
#include "gui/Controls.h"
#include <string>

constexpr int MESH_ROWS = 14;      // 24N .. 50N
constexpr int MESH_COLS = 16;      // 122E .. 152E
constexpr int MAP_OUTLINES = 20;   // outlines taken by map_draw

class TMyMap : public TImage {
public:
    explicit TMyMap(QWidget* parent = nullptr);

    int SCX = 40, SCY = 40;        // top-left pixel of the map rectangle
    int SCW = 320, SCH = 320;      // map rectangle in pixels
    int MPX = 0, MPY = 0;          // map coordinates at the left and bottom edges
    int MPH = 3500, MPW = 3500;    // map height and width shown
    int Division = 1;              // mesh lines per 2-degree cell; 0: no mesh, no labels
    int PenWidth = 2;
    TColor PenColor = 0x000000;
    TColor DivColor = 0x00FFFF;
    int LetterSize = 14;           // pixel height of the degree labels

    // Node (r, c): map position of 24 + 2r degrees N, 122 + 2c degrees E.
    // Shared by every instance; MeshRows x MeshCols of it are in use.
    // At start it holds the program's own map units (x = (lon - 122) * 10000,
    // y = (lat - 24) * 15000), which are linear in longitude and latitude.
    static TPoint MeshNode[MESH_ROWS][MESH_COLS];
    static int MeshRows, MeshCols;
    // Fills the table with the program's map units, all rows and columns.
    static void UseMapUnitMesh();
    // Reads a table from a CSV file: one row of nodes a line, south to north,
    // each line x,y of its nodes west to east; every row as long as the first,
    // 2 to 14 rows of 2 to 16 nodes. A file that is not such a table changes
    // nothing and gives false.
    static bool LoadMesh(const std::string& path);

    // Geographic positions are degrees * 100 + minutes (13945 is 139deg45').

    // map_draw, grid_draw and degree_write.
    bool MapDraw(const int* counts, const int* const* outlines);
    // MAP_OUTLINES closed outlines: counts[i] points of x, y pairs in outlines[i].
    // False, with nothing drawn, while SCW, SCH or MPH is 0.
    bool map_draw(const int* counts, const int* const* outlines);
    // Mesh (unless Division is 0), then outer_clear.
    bool grid_draw();
    bool degree_write();
    void outer_clear();

    // Pixel to map; false while SCW or SCH is 0.
    bool map_position(int sx, int sy, int& mx, int& my) const;
    // Map to pixel; true when the pixel lies on the image.
    bool scr_position(int mx, int my, int& sx, int& sy) const;
    // Longitude/latitude to map by the mesh table; false outside the table.
    bool lonlat_map(int lon, int lat, int& mx, int& my) const;
    // Longitude/latitude to pixel; true when the position lies in the table.
    bool origin_scr(int lon, int lat, int& sx, int& sy) const;
    // Pixel to longitude/latitude; false when no cell holds it.
    bool scr_map(int sx, int sy, int& lon, int& lat);
    // Where a meridian crosses pixel row sy, or a parallel pixel column sx.
    bool lon_cross(int lon, int sy, int& x, int& y);
    bool lat_cross(int lat, int sx, int& x, int& y);
    // Signed vertical offset of q from the line through a and b (0 for a vertical line).
    static int area_check(TPoint q, TPoint a, TPoint b);

    // A marker at a geographic position; false when nothing was drawn.
    bool MarkPlot(int lon, int lat, int type, int size);
    void Clear(TColor color);
    void Copy();

private:
    enum class Geo { Found, Outside, Failed };
    Geo geoOf(int sx, int sy, int& lon, int& lat, bool report);
    Geo crossing(bool meridian, int degree, int row, int& x, int& y, bool report);
    bool toScreen(double mx, double my, int& sx, int& sy) const;
    bool scalesUsable() const;
    void polylineMap(const TPoint* pts, int count);
};
