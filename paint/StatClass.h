// Classes of a statistics map: breaks, labels, and the colours and patterns
// of the palette slots that show them.
#pragma once
#include "gui/Types.h"
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class StatMethod { Equal, Quantile, Jenks, StdDev, Manual };

// How class labels write numbers: thousands separators and decimals.
struct StatNumberFormat {
    int decimals = 0;
    bool thousands = true;
    std::string Text(double v) const;
    double Step() const;   // the smallest difference the format shows
};

// The lower bounds of classes 2..count (count − 1 of them, ascending), rounded
// up to the format's step so that the labels say what the classes hold. A value
// belongs to the class of the last bound it reaches.
std::vector<double> StatBreaks(std::vector<double> values, StatMethod method, int count,
                               const std::vector<double>& manual, const StatNumberFormat& fmt);
// Natural breaks: the first index (in sorted values) of each class after the first,
// for the least sum of squared deviations within the classes.
std::vector<size_t> JenksStarts(const std::vector<double>& sorted, int count);
int StatClassOf(double v, const std::vector<double>& breaks);
// The fewest decimals (0..4) at which the breaks differ and no value lies
// between a class's written end and the next break.
int StatDecimalsNeeded(const std::vector<double>& values, StatMethod method, int count,
                       const std::vector<double>& manual);
// Breaks typed as the legend writes them: "5,000, 10,000, 50,000"; false with
// the reason when a part is no number.
bool StatParseBreaks(std::string_view text, std::vector<double>& out, std::string& error);
// "1,000 ～ 4,999"; with open ends "1,000 未満" and "50,000 以上".
std::vector<std::string> StatClassLabels(const std::vector<double>& breaks, double min, double max,
                                         const StatNumberFormat& fmt, bool openEnds);
// The same from the values themselves: a class with a value past its written
// end reads "15 以上 22 未満", so that no label hides a value.
std::vector<std::string> StatClassLabels(const std::vector<double>& breaks, const std::vector<double>& values,
                                         const StatNumberFormat& fmt, bool openEnds);

enum class StatStyle { Colour, Pattern, ColourAndPattern };

struct StatScheme {
    const char* name;
    bool diverging;
    std::vector<uint32_t> rgb;   // 0xRRGGBB, light to dark (or one end to the other)
};
const std::vector<StatScheme>& StatSchemes();

// The colour and pattern of each class, then of the no-data class.
struct StatSlot {
    TColor colour;
    uint8_t pattern;
};
std::vector<StatSlot> StatClassSlots(int scheme, int count, bool reversed, StatStyle style);
// A diverging scheme centred on the class `centre` (a class number, or halfway
// between two where the midpoint is a break); NaN spreads the ramp as above.
std::vector<StatSlot> StatClassSlots(int scheme, int count, bool reversed, StatStyle style, double centre);
constexpr StatSlot kNoDataSlot{0xC0C0C0, 5};   // white ground with light grey hatching
