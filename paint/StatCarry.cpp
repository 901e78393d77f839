#include "paint/StatCarry.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace {

const int kYears[6] = {0, 2002, 2003, 2005, 2008, 2009};
// A share this small of both units is a strip where two dates' lines run apart, not a piece of land.
constexpr double kPiece = 0.05;
// The old units with values must cover this much of a new unit's land for it to get one.
constexpr double kCovered = 0.99;

int FileYear(int year) { return year ? year : 2021; }

std::string Folder(const std::string& appDir, int year) {
    return appDir + "/MAPDATA/Codes" + (year ? "/" + std::to_string(year) : "");
}

std::string Quote(const std::string& s) {
    if (s.find_first_of(",\"") == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}

bool Share(const std::string& s, double& v) {
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return !s.empty() && *end == '\0' && v >= 0 && v <= 1.0001;
}

} // namespace

std::string StatYearText(int year) { return gui::Format("%d年", FileYear(year)); }

std::vector<CrosswalkRow> ReadCrosswalk(const std::string& appDir, int fromYear, int toYear, std::string& error) {
    std::vector<CrosswalkRow> rows;
    const std::string path = appDir + "/MAPDATA/Codes/Crosswalk.csv";
    gui::TextReader r(path);
    if (!r.IsOpen()) {
        error = "市区町村の対応表（MAPDATA/Codes/Crosswalk.csv）がありません";
        return rows;
    }
    const std::string head = std::to_string(FileYear(fromYear)) + ",", to = std::to_string(FileYear(toYear));
    std::string line;
    for (int n = 1; r.ReadLine(line); ++n) {
        if (line.compare(0, head.size(), head) != 0) {
            if (!rows.empty()) break;   // sorted by the date of the old units
            continue;
        }
        // from_year,from_code,from_name,to_year,to_code,to_name,share_of_from,share_of_to
        std::vector<std::string> f;
        for (size_t start = 0;;) {
            const size_t comma = line.find(',', start);
            f.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        CrosswalkRow row;
        const bool ok = f.size() == 8 && f[1].size() == 6 && f[4].size() == 6 &&
                        std::all_of(f[1].begin(), f[1].end(), ::isdigit) && std::all_of(f[4].begin(), f[4].end(), ::isdigit) &&
                        Share(f[6], row.shareFrom) && Share(f[7], row.shareTo);
        if (!ok) {
            error = gui::Format("市区町村の対応表の %d 行目が読めません", n);
            return {};
        }
        if (f[3] != to) continue;
        row.from = f[1];
        row.to = f[4];
        rows.push_back(std::move(row));
    }
    if (rows.empty()) error = gui::Format("市区町村の対応表に%sから%sへの行がありません", StatYearText(fromYear).c_str(),
                                          StatYearText(toYear).c_str());
    return rows;
}

int GuessStatTableYear(const std::string& appDir, const StatTable& t, const StatJoinSpec& spec, int preferred) {
    if (spec.codeCol < 0) return preferred;
    std::vector<std::vector<std::string>> codes;
    for (size_t r = size_t(std::max(0, spec.headingRow + 1)); r < t.rows.size(); ++r) {
        auto c = CodeCandidates(t.Cell(r, size_t(spec.codeCol)));
        if (!c.empty()) codes.push_back(std::move(c));
    }
    int best = preferred;
    long most = -1;
    for (int year : kYears) {
        std::unordered_set<std::string> there;
        gui::TextReader r(Folder(appDir, year) + "/Area.csv");
        for (std::string line; r.ReadLine(line);)
            if (line.size() > 6) there.insert(line.substr(0, 6));
        const long n = std::count_if(codes.begin(), codes.end(), [&](const std::vector<std::string>& c) {
            return std::any_of(c.begin(), c.end(), [&](const std::string& x) { return there.count(x) > 0; });
        });
        if (n > most || (n == most && year == preferred)) best = year, most = n;
    }
    return best;
}

void CarryStatJoin(StatJoin& j, const StatUnits& from, const StatUnits& to, const std::vector<CrosswalkRow>& rows,
                   int fromYear, int toYear, int level, bool rate, std::vector<std::string>& report) {
    const bool byCity = level == kLevelCity;
    // The values at the old date, by code: a ward's own, or its city's where the table has none for any ward.
    std::unordered_map<std::string, double> old;
    std::unordered_set<std::string> cityRow;
    std::vector<double> cityValue(from.cities.size(), std::nan(""));
    for (const StatJoinRow& r : j.rows) {
        if (!r.Joined() || r.target == StatJoin::kNone || r.target <= StatJoin::PrefTarget(0)) continue;
        if (r.target >= 0) old[from.units[size_t(r.target)].code] = r.value;
        else cityValue[size_t(-r.target - 1)] = r.value;
    }
    for (size_t c = 0; c < from.cities.size(); ++c) {
        const StatCity& city = from.cities[c];
        if (std::isnan(cityValue[c]) || city.code.empty()) continue;
        const bool wards = std::any_of(city.wards.begin(), city.wards.end(),
                                       [&](int k) { return old.count(from.units[size_t(k)].code) > 0; });
        if (byCity || !wards) {
            for (int k : city.wards) old.erase(from.units[size_t(k)].code);
            old[city.code] = cityValue[c];
            cityRow.insert(city.code);
        }
    }
    // What a value of the map colours: a unit, or at the city level a designated city whole.
    std::unordered_map<std::string, int> target;
    for (int k = 0; k < int(to.units.size()); ++k)
        if (!byCity || to.units[size_t(k)].city.empty()) target[to.units[size_t(k)].code] = k;
    if (byCity)
        for (int c = 0; c < int(to.cities.size()); ++c)
            if (!to.cities[size_t(c)].code.empty()) target[to.cities[size_t(c)].code] = -(c + 1);
    const auto fromName = [&](const std::string& code) {
        const auto it = from.byCode.find(code);
        return it == from.byCode.end() ? code : StatTargetName(from, it->second);
    };

    std::unordered_map<int, double> sum, cover;
    std::unordered_map<int, std::vector<const CrosswalkRow*>> pieces;      // per target, its old pieces
    std::unordered_map<std::string, std::vector<const CrosswalkRow*>> parts;   // per old unit, its new pieces on the map
    for (const CrosswalkRow& r : rows) {
        const auto t = target.find(r.to);
        if (t == target.end()) continue;
        const bool piece = std::max(r.shareFrom, r.shareTo) >= kPiece;
        // Each piece of land once: an old city or its wards, as the values came.
        const auto v = old.find(r.from);
        if (v != old.end()) {
            sum[t->second] += v->second * (rate ? r.shareTo : r.shareFrom);
            cover[t->second] += r.shareTo;
            if (piece) pieces[t->second].push_back(&r);
            if (piece) parts[r.from].push_back(&r);
        }
    }

    std::vector<double> value(to.units.size(), std::nan(""));
    std::vector<double> cityOut(to.cities.size(), std::nan(""));
    std::vector<std::string> merged, split, fromCity, missing;
    // A unit of the later date made of several of the earlier one was merged; an
    // earlier one spread over several later ones was split (上九一色村).
    const bool forward = FileYear(fromYear) < FileYear(toYear);
    const auto toName = [&](const std::string& code) { return StatTargetName(to, target.at(code)); };
    const auto line = [&](const char* what, const std::string& code, const std::string& name,
                          const std::vector<const CrosswalkRow*>& p, bool ofTo, bool shares) {
        std::string list;
        for (const CrosswalkRow* r : p) {
            list += (list.empty() ? "" : "・") + (ofTo ? toName(r->to) : fromName(r->from));
            if (shares) list += gui::Format("（%.1f%%）", (forward ? r->shareFrom : r->shareTo) * 100);
        }
        return std::string(what) + "," + code + "," + Quote(name) + "," + Quote(list);
    };
    std::vector<std::pair<std::string, int>> order(target.begin(), target.end());
    std::sort(order.begin(), order.end());
    for (const auto& [code, t] : order) {
        const std::string name = StatTargetName(to, t);
        const double c = cover.count(t) ? cover[t] : 0;
        if (c < kCovered) {
            missing.push_back("データなし," + code + "," + Quote(name) + ",前の市区町村に値がありません");
            continue;
        }
        const double v = rate ? sum[t] / c : sum[t];
        if (t >= 0) value[size_t(t)] = v;
        else cityOut[size_t(-t - 1)] = v;
        const auto& p = pieces[t];
        if (p.size() >= 2) (forward ? merged : split).push_back(line(forward ? "合併" : "分割", code, name, p, false, !forward));
        for (const CrosswalkRow* r : p)
            if (cityRow.count(r->from)) {
                fromCity.push_back("政令市の行から," + code + "," + Quote(name) + "," + Quote(fromName(r->from)));
                break;
            }
    }
    std::vector<std::pair<std::string, std::vector<const CrosswalkRow*>>> olds(parts.begin(), parts.end());
    std::sort(olds.begin(), olds.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [code, p] : olds)
        if (p.size() >= 2)
            (forward ? split : merged).push_back(line(forward ? "分割" : "合併", code, fromName(code), p, true, forward));
    report.push_back(gui::Format("%sとして換算：合併 %zu、分割 %zu、政令市の行から %zu、データなし %zu",
                                 rate ? "率・密度" : "数", merged.size(), split.size(), fromCity.size(), missing.size()));
    report.push_back("換算,コード,名称,もとの市区町村");
    for (auto* part : {&merged, &split, &fromCity, &missing}) report.insert(report.end(), part->begin(), part->end());

    // The map's values, as a join on its own units leaves them.
    j.unitValue = value;
    j.values.clear();
    std::fill(j.drawnPrefs.begin(), j.drawnPrefs.end(), 0);
    for (const StatUnit& x : to.units)
        if (x.pref >= 1 && x.pref <= 47) j.drawnPrefs[size_t(x.pref)] = 1;
    for (size_t c = 0; c < to.cities.size(); ++c) {
        if (std::isnan(cityOut[c])) continue;
        j.values.push_back(cityOut[c]);
        for (int k : to.cities[c].wards) j.unitValue[size_t(k)] = cityOut[c];
    }
    for (size_t k = 0; k < to.units.size(); ++k)
        if (!std::isnan(value[k])) j.values.push_back(value[k]);
}
