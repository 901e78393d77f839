// Map units, the Tokyo datum / WGS conversion and distances on the sphere.
// Map units: x = (lon - 122) * 10000, y = (lat - 24) * 15000, Tokyo datum.
#pragma once
#include <cstdint>
#include <string>

void TokyoToWgs(int32_t x, int32_t y, int32_t& xo, int32_t& yo);
void WgsToTokyo(int32_t x, int32_t y, int32_t& xo, int32_t& yo);
float LatShiftSeconds(float lat);   // degrees
float LonShiftSeconds(float lon);   // degrees
// "35゜12′30" style text; the marks are the CP932 characters 0x818B and 0x818C.
float ParseDms(std::string& text);
float GreatCircleKm(float lat1, float lon1, float lat2, float lon2);
float DegreeLengthRatio(int32_t y);
// "ddd.mmss" to degrees, or -1 after the message box.
float ParseDdmmss(std::string& text);
bool HasDot(const std::string& text);
inline float LonOf(int32_t x) { return float(x) * 0.0001f + 122.0f; }
inline float LatOf(int32_t y) { return float(y) * (1.0f / 15000.0f) + 24.0f; }
