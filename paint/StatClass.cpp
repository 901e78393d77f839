#include "paint/StatClass.h"
#include "gui/TextFile.h"
#include "paint/StatTable.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

std::string StatNumberFormat::Text(double v) const {
    std::string s = gui::Format("%.*f", decimals, v);
    if (s == "-0" || s.find_first_not_of("-0.") == std::string::npos) s = gui::Format("%.*f", decimals, 0.0);
    if (!thousands) return s;
    const bool neg = s[0] == '-';
    const size_t start = neg ? 1 : 0;
    size_t dot = s.find('.');
    if (dot == std::string::npos) dot = s.size();
    for (size_t p = dot; p > start + 3; p -= 3) s.insert(p - 3, ",");
    return s;
}

double StatNumberFormat::Step() const { return std::pow(10.0, -decimals); }

std::vector<size_t> JenksStarts(const std::vector<double>& x, int k) {
    const size_t n = x.size();
    if (k < 2 || n < size_t(k)) return {};
    // Prefix sums give the squared deviation of any run x[i..j] in constant time.
    std::vector<double> s1(n + 1, 0), s2(n + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        s1[i + 1] = s1[i] + x[i];
        s2[i + 1] = s2[i] + x[i] * x[i];
    }
    const auto ssd = [&](size_t i, size_t j) {   // x[i..j-1]
        const double m = double(j - i), s = s1[j] - s1[i];
        return s2[j] - s2[i] - s * s / m;
    };
    // cost[c][j]: best cost of the first j values in c + 1 classes; from[c][j]: start of the last class.
    // The best start never moves left as j grows (the squared deviations obey the
    // quadrangle inequality), so each row is solved by halving: O(k n log n).
    std::vector<std::vector<double>> cost(k, std::vector<double>(n + 1, INFINITY));
    std::vector<std::vector<size_t>> from(k, std::vector<size_t>(n + 1, 0));
    for (size_t j = 1; j <= n; ++j) cost[0][j] = ssd(0, j);
    for (int c = 1; c < k; ++c) {
        struct Range { size_t jlo, jhi, ilo, ihi; };
        std::vector<Range> todo{{size_t(c) + 1, n, size_t(c), n - 1}};
        while (!todo.empty()) {
            const Range r = todo.back();
            todo.pop_back();
            if (r.jlo > r.jhi) continue;
            const size_t j = (r.jlo + r.jhi) / 2;
            size_t best = r.ilo;
            for (size_t i = r.ilo; i <= std::min(r.ihi, j - 1); ++i) {
                const double v = cost[c - 1][i] + ssd(i, j);
                if (v < cost[c][j]) {
                    cost[c][j] = v;
                    best = i;
                }
            }
            from[c][j] = best;
            if (j > r.jlo) todo.push_back({r.jlo, j - 1, r.ilo, best});
            todo.push_back({j + 1, r.jhi, best, r.ihi});
        }
    }
    std::vector<size_t> starts(k - 1);
    size_t j = n;
    for (int c = k - 1; c >= 1; --c) {
        starts[c - 1] = from[c][j];
        j = from[c][j];
    }
    return starts;
}

namespace {

// Breaks one standard deviation apart, placed as symmetrically round the mean as
// the data allow but all inside them (no class below the smallest value or above
// the largest); where the data span too few deviations, half a deviation apart.
std::vector<double> StdDevBreaks(const std::vector<double>& v, int count) {
    const double n = double(v.size());
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / n;
    double var = 0;
    for (double x : v) var += (x - mean) * (x - mean);
    const double min = v.front(), max = v.back();
    std::vector<double> b;
    for (double s = std::sqrt(var / n); s > 0 && std::isfinite(s) && b.empty(); s /= 2) {
        if (s < (max - min) * 1e-9) break;
        // Offsets of the breaks in deviations: k − count/2 for k = 1 .. count−1, shifted by m.
        const double lo = 1 - count / 2.0, hi = count - 1 - count / 2.0;
        const double mlo = std::floor((min - mean) / s - lo) + 1, mhi = std::floor((max - mean) / s - hi);
        if (mlo > mhi) continue;
        const double m = std::clamp(0.0, mlo, mhi);
        for (int k = 1; k < count; ++k) b.push_back(mean + (k - count / 2.0 + m) * s);
    }
    if (b.empty())   // every value the same, or nearly
        for (int k = 1; k < count; ++k) b.push_back(min + (max - min) * k / count);
    return b;
}

} // namespace

std::vector<double> StatBreaks(std::vector<double> v, StatMethod method, int count,
                               const std::vector<double>& manual, const StatNumberFormat& fmt) {
    std::vector<double> b;
    if (count < 2) return b;
    std::sort(v.begin(), v.end());
    if (method == StatMethod::Manual) {
        b = manual;
        std::sort(b.begin(), b.end());
        b.resize(size_t(count - 1), b.empty() ? 0.0 : b.back());
    } else if (v.empty()) {
        return std::vector<double>(size_t(count - 1), 0.0);
    } else if (method == StatMethod::Equal) {
        const double lo = v.front(), hi = v.back();
        for (int k = 1; k < count; ++k) b.push_back(lo + (hi - lo) * k / count);
    } else if (method == StatMethod::Quantile) {
        for (int k = 1; k < count; ++k) b.push_back(v[std::min(v.size() - 1, v.size() * size_t(k) / size_t(count))]);
    } else if (method == StatMethod::Jenks) {
        const auto starts = JenksStarts(v, count);
        for (size_t s : starts) b.push_back(v[s]);
        while (int(b.size()) < count - 1) b.push_back(v.back());
    } else {
        b = StdDevBreaks(v, count);
    }
    const double step = fmt.Step();
    // Rounded up to the format's step, as the double its decimal text reads as, so
    // that a value of the table equal to a break is that break.
    const auto exact = [&](double x) { return std::strtod(gui::Format("%.*f", fmt.decimals, x).c_str(), nullptr); };
    for (double& x : b) x = exact(std::ceil(x / step - 1e-9) * step);
    // Rounding may bring two breaks together: a class never ends below where it starts.
    for (size_t i = 1; i < b.size(); ++i)
        if (b[i] <= b[i - 1]) b[i] = exact(b[i - 1] + step);
    return b;
}

int StatDecimalsNeeded(const std::vector<double>& values, StatMethod method, int count,
                       const std::vector<double>& manual) {
    for (int d = 0; d < 4; ++d) {
        const StatNumberFormat f{d, true};
        const double step = f.Step();
        bool ok = true;
        // Typed breaks are kept as typed.
        for (double m : manual) ok = ok && std::fabs(std::round(m / step) * step - m) <= step * 1e-6;
        const auto b = StatBreaks(values, method, count, manual, f);
        for (size_t i = 1; ok && i < b.size(); ++i) ok = f.Text(b[i]) != f.Text(b[i - 1]);
        // No value between a class's written end and the next break.
        for (size_t i = 0; ok && i < values.size(); ++i) {
            const int c = StatClassOf(values[i], b);
            ok = c >= int(b.size()) || values[i] <= b[size_t(c)] - step * (1 - 1e-6);
        }
        if (ok) return d;
    }
    return 4;
}

bool StatParseBreaks(std::string_view text, std::vector<double>& out, std::string& error) {
    out.clear();
    error.clear();
    // Blanks, 、 and ; part the values; a comma parts them too, unless it stands
    // before three digits that end a number ("5,000, 10,000" as the legend writes it).
    std::string s;
    for (size_t i = 0; i < text.size();) {
        std::string_view rest = text.substr(i);
        bool blank = false;
        for (std::string_view sep : {"　", "、", "，", " ", "\t", "\r", "\n", ";", "；"})
            if (rest.substr(0, sep.size()) == sep) {
                s += sep == "，" ? ',' : ' ';
                i += sep.size();
                blank = true;
                break;
            }
        if (blank) continue;
        s += text[i++];
    }
    std::vector<std::string> parts;
    std::string cur;
    const auto digit = [&](size_t k) { return k < s.size() && isdigit(static_cast<unsigned char>(s[k])); };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == ' ') {
            parts.push_back(cur), cur.clear();
        } else if (s[i] == ',' && !(digit(i - 1) && i > 0 && digit(i + 1) && digit(i + 2) && digit(i + 3) && !digit(i + 4) &&
                                     cur.find('.') == std::string::npos)) {
            parts.push_back(cur), cur.clear();
        } else {
            cur += s[i];
        }
    }
    parts.push_back(cur);
    for (const std::string& p : parts) {
        if (p.empty()) continue;
        bool noValue = false;
        std::string why;
        const auto v = ParseStatNumber(p, noValue, &why);
        if (!v) {
            error = "区切りの値「" + p + "」を読めません（" + why + "）";
            return false;
        }
        out.push_back(*v);
    }
    return true;
}

int StatClassOf(double v, const std::vector<double>& breaks) {
    return int(std::upper_bound(breaks.begin(), breaks.end(), v) - breaks.begin());
}

std::vector<std::string> StatClassLabels(const std::vector<double>& b, double min, double max,
                                         const StatNumberFormat& fmt, bool openEnds) {
    return StatClassLabels(b, std::vector<double>{min, max}, fmt, openEnds);
}

std::vector<std::string> StatClassLabels(const std::vector<double>& b, const std::vector<double>& values,
                                         const StatNumberFormat& fmt, bool openEnds) {
    std::vector<std::string> out;
    const int n = int(b.size()) + 1;
    const double step = fmt.Step();
    double min = INFINITY, max = -INFINITY;
    for (double v : values) min = std::min(min, v), max = std::max(max, v);
    if (values.empty()) min = max = 0;
    // A class holding a value past its written end ("21.6" in "15 ～ 21") says "未満" instead.
    std::vector<char> past(size_t(n), 0);
    for (double v : values) {
        const int c = StatClassOf(v, b);
        if (c < n - 1 && v > b[size_t(c)] - step * (1 - 1e-6)) past[size_t(c)] = 1;
    }
    for (int i = 0; i < n; ++i) {
        if (openEnds && i == 0 && n > 1) {
            out.push_back(fmt.Text(b[0]) + " 未満");
        } else if (openEnds && i == n - 1 && n > 1) {
            out.push_back(fmt.Text(b.back()) + " 以上");
        } else if (past[size_t(i)]) {
            const double lo = i == 0 ? std::floor(min / step + 1e-9) * step : b[size_t(i) - 1];
            out.push_back(fmt.Text(lo) + " 以上 " + fmt.Text(b[size_t(i)]) + " 未満");
        } else {
            // The ends of the data rounded outwards, so that they hold the smallest and largest values.
            const double lo = i == 0 ? std::floor(min / step + 1e-9) * step : b[size_t(i) - 1];
            const double hi = i == n - 1 ? std::ceil(max / step - 1e-9) * step : b[size_t(i)] - step;
            out.push_back(fmt.Text(lo) + " ～ " + fmt.Text(hi));
        }
    }
    return out;
}

// The colour ramps of ColorBrewer 2.0 (Cynthia Brewer, Mark Harrower and The
// Pennsylvania State University; Apache License 2.0): the nine-class sequential
// and eleven-class diverging schemes, chosen among those it marks safe for the
// common colour-vision deficiencies; the classes take evenly spaced steps of them.
const std::vector<StatScheme>& StatSchemes() {
    static const std::vector<StatScheme> s = {
        {"青（単色）", false, {0xf7fbff, 0xdeebf7, 0xc6dbef, 0x9ecae1, 0x6baed6, 0x4292c6, 0x2171b5, 0x08519c, 0x08306b}},
        {"緑（単色）", false, {0xf7fcf5, 0xe5f5e0, 0xc7e9c0, 0xa1d99b, 0x74c476, 0x41ab5d, 0x238b45, 0x006d2c, 0x00441b}},
        {"橙（単色）", false, {0xfff5eb, 0xfee6ce, 0xfdd0a2, 0xfdae6b, 0xfd8d3c, 0xf16913, 0xd94801, 0xa63603, 0x7f2704}},
        {"紫（単色）", false, {0xfcfbfd, 0xefedf5, 0xdadaeb, 0xbcbddc, 0x9e9ac8, 0x807dba, 0x6a51a3, 0x54278f, 0x3f007d}},
        {"赤（単色）", false, {0xfff5f0, 0xfee0d2, 0xfcbba1, 0xfc9272, 0xfb6a4a, 0xef3b2c, 0xcb181d, 0xa50f15, 0x67000d}},
        {"灰（単色）", false, {0xffffff, 0xf0f0f0, 0xd9d9d9, 0xbdbdbd, 0x969696, 0x737373, 0x525252, 0x252525, 0x000000}},
        {"黄－橙－赤", false, {0xffffcc, 0xffeda0, 0xfed976, 0xfeb24c, 0xfd8d3c, 0xfc4e2a, 0xe31a1c, 0xbd0026, 0x800026}},
        {"黄－緑－青", false, {0xffffd9, 0xedf8b1, 0xc7e9b4, 0x7fcdbb, 0x41b6c4, 0x1d91c0, 0x225ea8, 0x253494, 0x081d58}},
        {"赤－青（二極）", true,
         {0x67001f, 0xb2182b, 0xd6604d, 0xf4a582, 0xfddbc7, 0xf7f7f7, 0xd1e5f0, 0x92c5de, 0x4393c3, 0x2166ac, 0x053061}},
        {"橙－紫（二極）", true,
         {0x7f3b08, 0xb35806, 0xe08214, 0xfdb863, 0xfee0b6, 0xf7f7f7, 0xd8daeb, 0xb2abd2, 0x8073ac, 0x542788, 0x2d004b}},
        {"茶－青緑（二極）", true,
         {0x543005, 0x8c510a, 0xbf812d, 0xdfc27d, 0xf6e8c3, 0xf5f5f5, 0xc7eae5, 0x80cdc1, 0x35978f, 0x01665e, 0x003c30}},
    };
    return s;
}

namespace {

TColor FromRgb(uint32_t rgb) { return TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)); }

// Black-and-white fills from light to dark: sparse hatches, then denser ones, then solids.
constexpr StatSlot kDensity[7] = {{0x808080, 4}, {0x000000, 2}, {0x000000, 5}, {0x000000, 6},
                                  {0x000000, 7}, {0x808080, 0}, {0x000000, 0}};
// Hatches laid over colours, one per class, the darkest class solid.
constexpr uint8_t kHatches[7] = {2, 4, 3, 5, 6, 7, 0};

} // namespace

std::vector<StatSlot> StatClassSlots(int scheme, int count, bool reversed, StatStyle style) {
    return StatClassSlots(scheme, count, reversed, style, NAN);
}

std::vector<StatSlot> StatClassSlots(int scheme, int count, bool reversed, StatStyle style, double centre) {
    const auto& all = StatSchemes();
    const StatScheme& s = all[std::clamp(scheme, 0, int(all.size()) - 1)];
    count = std::clamp(count, 2, 7);
    std::vector<StatSlot> out;
    const int n = int(s.rgb.size());
    // Sequential ramps leave out their palest step, which would look like no data.
    const int first = s.diverging ? 0 : 1, last = n - 1;
    const bool centred = s.diverging && std::isfinite(centre);
    centre = std::clamp(centre, -0.5, count - 0.5);
    for (int i = 0; i < count; ++i) {
        int k = first + int(std::lround(double(i) * (last - first) / (count - 1)));
        if (centred) {
            // The neutral middle of the ramp at the class of the midpoint, each side
            // darkening with its distance from it on one common scale.
            const int mid = (n - 1) / 2;
            const double d = i - centre, reach = std::max(centre, count - 1 - centre);
            long step = std::lround(d * mid / std::max(reach, 0.5));
            if (d != 0 && step == 0) step = d < 0 ? -1 : 1;
            k = std::clamp(mid + int(step), 0, n - 1);
            if (reversed) k = n - 1 - k;
        }
        StatSlot slot{FromRgb(s.rgb[size_t(k)]), 0};
        if (style == StatStyle::Pattern) slot = kDensity[std::lround(double(i) * 6 / (count - 1))];
        else if (style == StatStyle::ColourAndPattern) slot.pattern = i == count - 1 ? 0 : kHatches[i];
        out.push_back(slot);
    }
    if (reversed && !centred) std::reverse(out.begin(), out.end());
    return out;
}
