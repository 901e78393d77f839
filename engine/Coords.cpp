#include "engine/Coords.h"
#include "gui/Forms.h"
#include <algorithm>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

// atoi: leading blanks, a sign, digits; stops at anything else.
int IntOf(const std::string& s) {
    long v = std::strtol(s.c_str(), nullptr, 10);
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : int(v);
}

} // namespace

void WgsToTokyo(int32_t x, int32_t y, int32_t& xo, int32_t& yo) {
    float lon = LonOf(x);
    float lat = LatOf(y);
    float lon2 = 1.000083049 * lon + 0.0000460467 * lat - 0.010041046;
    float lat2 = -0.0000174673 * lon2 + 1.000106961 * lat - 0.004602017;
    xo = MapXOf(lon2);
    yo = MapYOf(lat2);
}

float LatShiftSeconds(float lat) {
    float seconds = 12.71 - 4.71 * (lat - 31) * (1.0 / 15);
    return seconds / 3600;
}

float LonShiftSeconds(float lon) {
    float seconds = -8.17 - 6.91 * (lon - 129) * (1.0 / 17);
    return seconds / 3600;
}

void MountainToMap(float lat, float lon, int32_t& x, int32_t& y) {
    y = MapYOf(lat - LatShiftSeconds(lat));
    x = MapXOf(lon - LonShiftSeconds(lon));
}

float ParseDms(std::string& text) {
    // The last of each mark. Each number stops at the next non-digit, so
    // reading past a mark is the same as cutting the text there. A missing
    // mark leaves its part at 0 rather than reading before the text.
    const std::string degMark = "°", minMark = "′";
    size_t deg = text.rfind(degMark);
    size_t min = text.rfind(minMark);
    int m = deg == std::string::npos ? 0 : IntOf(text.substr(deg + degMark.size()));
    int s = min == std::string::npos ? 0 : IntOf(text.substr(min + minMark.size()));
    text.resize(std::min({deg, min, text.size()}));
    int d = IntOf(text);
    return d + m * (1.0 / 60) + s * (1.0 / 3600);
}

SpherePoint OnSphere(float lat, float lon) {
    float la = lat * kPi * (1.0 / 180);
    float lo = lon * kPi * (1.0 / 180);
    return {float(std::cos(double(la)) * std::cos(double(lo))), float(std::cos(double(la)) * std::sin(double(lo))),
            float(std::sin(double(la)))};
}

float GreatCircleKm(const SpherePoint& a, const SpherePoint& b) {
    float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    float c = std::sqrt(double(dx * dx + dy * dy + dz * dz));
    // Rounding can put antipodes a hair beyond the diameter.
    float angle = 2 * std::asin(std::min(c * 0.5, 1.0));
    return 6371 * angle;
}

float GreatCircleKm(float lat1, float lon1, float lat2, float lon2) {
    return GreatCircleKm(OnSphere(lat1, lon1), OnSphere(lat2, lon2));
}

float DegreeLengthRatio(int32_t y) {
    float lat = LatOf(y);
    float d = GreatCircleKm(lat, 0, lat, 1);
    return 111.2 / d;
}

void TellDdmmssError() {
    if (Application)
        Application->MessageBox("経緯度の指定が違っています\n\nddd.mmss 形式で指定してください", "経緯度指定エラー", MB_OK);
}

std::optional<float> ParseDdmmss(std::string& text) {
    auto refuse = [] { return std::optional<float>(); };
    size_t dot = text.find('.');
    if (dot == std::string::npos || text.size() - dot != 5) return refuse();
    // The four places must be digits: "35.３０００" or "35.3a00" would
    // otherwise read as whole degrees.
    for (size_t i = dot + 1; i < text.size(); i++)
        if (text[i] < '0' || text[i] > '9') return refuse();
    std::string places = text.substr(dot + 1);
    text.resize(dot);
    int degrees = IntOf(text);
    if (degrees < 20 || degrees > 160) return refuse();
    int v = IntOf(places);
    int minutes = v / 100, seconds = v % 100;
    if (minutes >= 60 || seconds >= 60) return refuse();
    return degrees + minutes * (1.0 / 60) + seconds * (1.0 / 3600);
}

bool HasDot(const std::string& text) { return text.find('.') != std::string::npos; }
