// Reading a project file into a plain record, line by line in the order it
// was written; the first line at fault stops the reading and nothing is applied.
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "lines/Ukyori.h"
#include "paint/Uhanrei.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "output/Uproject.h"
#include "paint/Upaint.h"
#include "engine/Uopen.h"
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>

namespace {

// Lines in order; a check that fails keeps the number of the line it read.
class Lines {
public:
    explicit Lines(const std::vector<std::string>& l) : lines(l) {}
    int bad = 0;
    // The next whole line; false (and at fault) when there is none.
    bool Next(std::string& s) {
        if (bad) return false;
        if (at >= lines.size()) return Fail(int(at) + 1);
        s = lines[at++];
        // A NUL would cut the text at the next save.
        return Check(s.find('\0') == std::string::npos);
    }
    // The next line split at commas and blanks.
    bool Fields(std::vector<std::string>& f) {
        std::string s;
        if (!Next(s)) return false;
        TMyStr::SplitFields(s, f);
        return true;
    }
    int Int(const std::vector<std::string>& f, size_t k) const { return k < f.size() ? LenientInt(f[k]) : 0; }
    // The first field of the next line, leniently.
    bool Lenient(int& v) {
        std::vector<std::string> f;
        if (!Fields(f)) return false;
        v = Int(f, 0);
        return true;
    }
    bool Ranged(int& v, int lo, int hi) { return Lenient(v) && Check(v >= lo && v <= hi); }
    // A map position read from fields k and k + 1 of the current line.
    bool Position(const std::vector<std::string>& f, size_t k, int32_t& x, int32_t& y) {
        x = Int(f, k), y = Int(f, k + 1);
        return Check(InMapRange(x, y));
    }
    bool Box(bool& b) {
        int v = 0;
        if (!Lenient(v)) return false;
        b = v != 0;
        return true;
    }
    // The first field of the next line, strictly ("0x" hexadecimal or decimal).
    bool StrictFirst(int& v) {
        std::vector<std::string> f;
        if (!Fields(f)) return false;
        auto s = f.empty() ? std::nullopt : TryStrToInt(f[0]);
        if (!Check(s.has_value())) return false;
        v = *s;
        return true;
    }
    bool Float(float& v, bool positive) {
        std::vector<std::string> f;
        if (!Fields(f)) return false;
        v = f.empty() ? 0.0f : float(std::atof(f[0].c_str()));
        return Check(!positive || (std::isfinite(v) && v > 0));
    }
    bool Check(bool ok) {
        if (!ok && !bad) bad = int(at);
        return ok;
    }
    int At() const { return int(at); }
    bool Fail(int line) {
        if (!bad) bad = line;
        return false;
    }
    // The lines still to read, for a block whose reader is shared with another file.
    std::span<const std::string> Rest() const { return std::span(lines).subspan(std::min(at, lines.size())); }
    // After such a block: its reader's first line at fault (from 1), or none and the lines it used.
    bool Took(int badInBlock, size_t used) {
        if (badInBlock) return Fail(int(at) + badInBlock);
        at += used;
        return true;
    }

private:
    const std::vector<std::string>& lines;
    size_t at = 0;
};

// The legend block as the legend file has it, the texts whole, then its three boxes.
bool ParseLegend(Lines& in, ProjectLegend& g) {
    const int bad = g.Parse(in.Rest(), true);
    if (!in.Took(bad, g.LineCount())) return false;
    return in.Box(g.frameBox) && in.Box(g.bold) && in.Box(g.titleBox);
}

} // namespace

int ParseProject(const std::vector<std::string>& lines, ProjectData& d) {
    Lines in(lines);
    std::vector<std::string> f;
    auto run = [&]() -> bool {
        if (!in.Ranged(d.select, 1, 52) || !in.Fields(f)) return false;
        for (int i = 0; i < d.select; ++i) {
            d.codes[i] = in.Int(f, i);
            if (!in.Check(d.codes[i] >= 1 && d.codes[i] <= 52)) return false;
        }
        if (!in.Fields(f)) return false;
        if (!in.Position(f, 0, d.cx, d.cy)) return false;
        if (!in.Ranged(d.sizex, 600, 600) || !in.Ranged(d.ssize, 1, 5) || !in.Fields(f)) return false;
        d.copyscale = in.Int(f, 0);   // the size choice beside it is the same fact
        if (!in.Check(d.copyscale >= 1 && d.copyscale <= TOpen::COPYSCALE_MAX)) return false;
        float updown = 0;   // the up-down shows the magnification step: its own line is not taken
        if (!in.Ranged(d.magstep, 1, 10000) || !in.Float(d.magunit, true) || !in.Float(updown, false) ||
            !in.Float(d.scale, true))
            return false;
        for (bool& b : d.boxes)
            if (!in.Box(b)) return false;
        for (bool& b : d.setteiBoxes)
            if (!in.Box(b)) return false;

        int n;
        if (!in.Ranged(n, 0, TOpen::PAINT_MAX)) return false;
        d.paint.resize(n);
        for (auto& p : d.paint)
            if (!in.Fields(f) || !in.Check(ParsePaintRow(f, 2, 3, true, p) == PaintRow::Record)) return false;
        if (!in.Took(d.palette.Parse(in.Rest()), PaintPalette::LINES)) return false;
        if (!in.StrictFirst(n) || !in.Check(n >= 0 && n <= LABEL_MAX)) return false;
        d.labels.resize(n);
        for (auto& row : d.labels) {
            std::string s;
            if (!in.Next(s) || !in.Check(ParseProjectLabelRow(s, row))) return false;
        }

        std::string s;
        if (!in.Next(s)) return false;
        d.legend = s.find_first_not_of(' ') != std::string::npos && s[s.find_first_not_of(' ')] == '-';
        if (d.legend && !ParseLegend(in, d.legendBlock)) return false;

        if (!in.Fields(f)) return false;
        d.scaleBar = in.Int(f, 0) != 0;
        // The scale bar's place in units of the 600-pixel image.
        d.scaleX = in.Int(f, 2), d.scaleY = in.Int(f, 3);
        if (!in.Check(std::abs(d.scaleX) <= 600 && std::abs(d.scaleY) <= 600)) return false;
        if (!in.Ranged(n, 0, SYMBOL_MAX)) return false;
        d.symbols.resize(n);
        for (auto& m : d.symbols) {
            std::string s;
            if (!in.Next(s) || !in.Check(TPagesDlg::ParseSymbolLine(s, m) && InMapRange(m.x, m.y))) return false;
        }
        if (!in.Ranged(n, 0, PROJECT_LINEFILE_MAX) || !in.Lenient(d.paintLine)) return false;
        d.lineFiles.resize(n);
        for (std::string& path : d.lineFiles)
            if (!in.Next(path)) return false;
        if (!in.Ranged(n, 0, PROJECT_CIRCLE_MAX)) return false;
        d.circles.resize(n);
        for (auto& c : d.circles) {
            if (!in.Fields(f)) return false;
            c = {in.Int(f, 0), in.Int(f, 1), in.Int(f, 2), in.Int(f, 3), in.Int(f, 4), in.Int(f, 5),
                 uint8_t(in.Int(f, 6)), uint8_t(in.Int(f, 7)), uint8_t(in.Int(f, 8)), uint8_t(in.Int(f, 9))};
            // Radius, text size and pen width as the circle window allows them.
            if (!in.Position(f, 0, c.cx, c.cy) || !in.Check(c.radius >= 1 && c.radius <= kMaxRadiusKm) ||
                !in.Check(c.textSize >= 6 && c.textSize <= 50) || !in.Check(c.width >= 1 && c.width <= 5))
                return false;
        }
        for (TColor& c : d.baseColours) {
            int v;
            if (!in.Lenient(v)) return false;
            c = TColor(v);
        }
        for (bool& b : d.rail)
            if (!in.Box(b)) return false;
        return true;
    };
    run();
    return in.bad;
}
