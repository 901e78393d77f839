// Map units, the Tokyo datum / WGS conversion and distances on the sphere.
// Map units: x = (lon - 122) * 10000, y = (lat - 24) * 15000, Tokyo datum.
//
// Precision follows the map data's own arithmetic: values the formulas hold
// are single-precision floats; a decimal constant enters in double precision
// and the result is rounded to float when held; integer constants keep float
// arithmetic float. Several truncated results depend on it.
#pragma once
#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

// Truncation toward zero, as every float-to-integer step of the program does;
// out-of-range values stick to the int limits instead of being undefined.
inline int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return int(v);
}

// The point halfway between two map positions, rounded toward zero; the sum
// is taken in 64 bits, so that two far positions do not wrap.
inline int32_t MidOf(int32_t a, int32_t b) { return int32_t((int64_t(a) + b) / 2); }
// How far apart two map positions are along one axis, in 64 bits: a typed
// position may lie anywhere in the int range.
inline int64_t MapGap(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// No map reaches this far from the origin (the whole globe lies within a
// third of it). A position beyond it in a file is a broken line, refused
// where it is read, so that no arithmetic on positions can wrap.
constexpr int32_t MAP_COORD_LIMIT = 10000000;
inline bool InMapRange(int64_t v) { return v >= -MAP_COORD_LIMIT && v <= MAP_COORD_LIMIT; }
inline bool InMapRange(int64_t x, int64_t y) { return InMapRange(x) && InMapRange(y); }

// Degrees from map units, held as floats.
inline float LonOf(int32_t x) { return float(x * 0.0001 + 122); }
inline float LatOf(int32_t y) { return float(y * (1.0 / 15000) + 24); }
// Map units from degrees, truncated toward zero (float arithmetic).
inline int32_t MapXOf(float lon) { return TruncToInt((lon - 122) * 10000); }
inline int32_t MapYOf(float lat) { return TruncToInt((lat - 24) * 15000); }

// The published linear approximation; the converted longitude, not the
// original one, enters the latitude formula. Inline: every drawn point passes here.
inline void TokyoToWgs(int32_t x, int32_t y, int32_t& xo, int32_t& yo) {
    float lon = LonOf(x);
    float lat = LatOf(y);
    float lon2 = 0.999916957 * lon - 0.000046038 * lat + 0.01004;
    float lat2 = 0.000017464 * lon2 + 0.99989305 * lat + 0.0046017;
    xo = MapXOf(lon2);
    yo = MapYOf(lat2);
}
void WgsToTokyo(int32_t x, int32_t y, int32_t& xo, int32_t& yo);
float LatShiftSeconds(float lat);   // degrees
float LonShiftSeconds(float lon);   // degrees
// Tokyo-datum map units of a point given in WGS degrees (the mountain data).
void MountainToMap(float lat, float lon, int32_t& x, int32_t& y);
// "35°12′30″" style text (the marks are CP932 0x818B and 0x818C). The text is
// cut in place at the degree mark. A missing mark counts its part as 0.
float ParseDms(std::string& text);
float GreatCircleKm(float lat1, float lon1, float lat2, float lon2);
// The same distance in two halves, for many points around one centre.
struct SpherePoint {
    float x, y, z;
};
SpherePoint OnSphere(float lat, float lon);
float GreatCircleKm(const SpherePoint& a, const SpherePoint& b);
float DegreeLengthRatio(int32_t y);
// "ddd.mmss" to degrees, or nothing when the text is not one; the caller tells
// the user (TellDdmmssError). The text is cut in place at the full stop.
std::optional<float> ParseDdmmss(std::string& text);
// The message of a refused "ddd.mmss".
void TellDdmmssError();
bool HasDot(const std::string& text);

// A far point (a bogus coordinate in a file, or a deep zoom) stays far: the
// pixel is held to a range that the canvas still clips exactly.
inline int PixelOf(float v) {
    constexpr float limit = 1 << 28;
    if (std::isnan(v)) return 0;
    return int(v < -limit ? -limit : v > limit ? limit : v);
}

// A view of the map on the square image: centre, pixels per map unit, side,
// and whether stored Tokyo-datum points are shifted to WGS on their way to
// the screen. Pixel p covers the pixel coordinates [p, p + 1).
struct MapView {
    int32_t cx = 0, cy = 0;
    float scaleX = 0, scaleY = 0;
    int32_t size = 0;
    bool wgs = false;
    // Where the view's pixel (0, 0) lies on the image: not at its corner only
    // for an inset, whose presses go through its own view.
    int32_t left = 0, top = 0;
    bool operator==(const MapView&) const = default;

    // A stored point to its pixel, truncated as everything drawn is.
    void ToScreen(int32_t x, int32_t y, int& sx, int& sy) const {
        if (wgs) TokyoToWgs(x, y, x, y);
        DrawnToScreen(x, y, sx, sy);
    }
    // A point already in the datum drawn to its pixel. The pixel grows with x
    // and shrinks with y, so a box's corners give the box of its pixels.
    void DrawnToScreen(int32_t x, int32_t y, int& sx, int& sy) const {
        const int half = size / 2;
        // The offsets from the centre are taken in 64 bits: two far points must not wrap.
        sx = PixelOf(float(int64_t(x) - cx) * scaleX + half) + left;
        sy = PixelOf(-scaleY * float(int64_t(y) - cy) + half) + top;
    }
    // The same without truncation, for a device that keeps shapes: the
    // pixel ToScreen gives is the one this point lies in. In doubles, so a
    // vertex keeps the map data's own precision at every zoom.
    void ToScreenF(int32_t x, int32_t y, double& sx, double& sy) const {
        if (wgs) TokyoToWgs(x, y, x, y);
        DrawnToScreenF(x, y, sx, sy);
    }
    void DrawnToScreenF(int32_t x, int32_t y, double& sx, double& sy) const {
        const int half = size / 2;
        sx = double(int64_t(x) - cx) * double(scaleX) + half;
        sy = -double(scaleY) * double(int64_t(y) - cy) + half;
    }
    // The displayed map units at a pixel's top-left corner (the read-outs' figures).
    void CornerToMap(int sx, int sy, int32_t& x, int32_t& y) const;
    // East-west length of pixel row r, at the latitude of its left end.
    float RowKm(int r) const;
    // The displayed map units at a pixel's centre, rounded.
    void CentreToMap(int sx, int sy, int32_t& x, int32_t& y) const;
    // The stored (Tokyo-datum) point that ToScreen puts back on the pixel,
    // wherever a pixel spans a map unit; deeper in, the nearest one.
    void ToData(int sx, int sy, int32_t& x, int32_t& y) const;
    // A position typed as the read-outs show it, in this view's datum, to the stored one.
    void TypedToData(int32_t& x, int32_t& y) const;
};
