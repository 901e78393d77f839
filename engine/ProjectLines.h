// The project file's lines as its blocks read them: in order, and the first
// check that fails keeps the number of the line it read.
#pragma once
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

class ProjectLines {
public:
    explicit ProjectLines(const std::vector<std::string>& l) : lines(l) {}
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
    static int Int(const std::vector<std::string>& f, size_t k) { return k < f.size() ? LenientInt(f[k]) : 0; }
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
