#include "paint/StatJoin.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "paint/StatTable.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const char* const kPrefs[48] = {"",       "北海道", "青森県", "岩手県", "宮城県",   "秋田県", "山形県", "福島県",
                                "茨城県", "栃木県", "群馬県", "埼玉県", "千葉県",   "東京都", "神奈川県", "新潟県",
                                "富山県", "石川県", "福井県", "山梨県", "長野県",   "岐阜県", "静岡県", "愛知県",
                                "三重県", "滋賀県", "京都府", "大阪府", "兵庫県",   "奈良県", "和歌山県", "鳥取県",
                                "島根県", "岡山県", "広島県", "山口県", "徳島県",   "香川県", "愛媛県", "高知県",
                                "福岡県", "佐賀県", "長崎県", "熊本県", "大分県",   "宮崎県", "鹿児島県", "沖縄県"};

// Old and new forms of the characters of municipality names, taken as one.
const std::pair<const char*, const char*> kVariants[] = {
    {"ヶ", "ケ"}, {"ヵ", "カ"}, {"檮", "梼"}, {"惠", "恵"}, {"髙", "高"}, {"﨑", "崎"}, {"嵜", "崎"},
    {"邊", "辺"}, {"邉", "辺"}, {"澤", "沢"}, {"嶋", "島"}, {"濱", "浜"}, {"冨", "富"}, {"德", "徳"},
    {"櫻", "桜"}, {"廣", "広"}, {"國", "国"}, {"齋", "斎"}, {"齊", "斉"}, {"眞", "真"}, {"壽", "寿"},
    {"藏", "蔵"}, {"淺", "浅"}, {"瀨", "瀬"}, {"曾", "曽"}, {"槇", "槙"}, {"舩", "船"}, {"萬", "万"}};

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> f;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        f.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return f;
        start = comma + 1;
    }
}

// A code as the table writes it, as the six digits it stands for; several
// when a dropped zero leaves it open. Empty when it is no code.
std::vector<std::string> CodeCandidates(std::string_view cell) {
    std::string s = FoldWidth(cell);
    if (!s.empty() && s[0] == '\'') s.erase(0, 1);   // a spreadsheet's mark of text
    if (!AllDigits(s)) return {};
    std::vector<std::string> out;
    const auto withCheck = [](const std::string& five) { return five + CodeCheckDigit(five); };
    if (s.size() == 6) {
        out.push_back(s);
    } else if (s.size() == 5) {
        // "11002" is 011002 with its zero dropped, or the five digits of 11002x.
        const std::string six = "0" + s;
        if (CodeCheckDigit(six.substr(0, 5)) == six[5]) out.push_back(six);
        out.push_back(withCheck(s));
    } else if (s.size() == 4) {
        out.push_back(withCheck("0" + s));
    }
    return out;
}

bool IsSummaryName(std::string_view name) {
    const std::string n = FoldWidth(name);
    return n.empty() || n == "-" || EndsWith(n, "郡") || n == "島しょ" || n == "合計" || n == "全国" ||
           n == "特別区部" || PrefNumber(n) > 0;
}

} // namespace

char CodeCheckDigit(std::string_view five) {
    int sum = 0;
    for (int i = 0; i < 5 && i < int(five.size()); ++i) sum += (five[i] - '0') * (6 - i);
    const int r = sum % 11;
    return char('0' + (11 - r) % 10);
}

int PrefNumber(std::string_view name) {
    const std::string n = FoldWidth(name);
    for (int p = 1; p <= 47; ++p) {
        std::string_view full = kPrefs[p];
        if (n == full) return p;
        // Without 都, 府 or 県 (北海道 keeps its 道).
        if (p != 1 && full.size() > 3 && n == full.substr(0, full.size() - 3)) return p;
    }
    return 0;
}

const char* PrefName(int number) { return number >= 1 && number <= 47 ? kPrefs[number] : ""; }

std::string FoldName(std::string_view s) {
    std::string n = FoldWidth(s);
    for (const auto& [from, to] : kVariants) {
        const std::string_view f = from;
        for (size_t p = n.find(f); p != std::string::npos; p = n.find(f, p)) {
            n.replace(p, f.size(), to);
            p += std::string_view(to).size();
        }
    }
    return n;
}

void StatUnits::Index() {
    byCode.clear();
    byName.clear();
    byWard.clear();
    for (int i = 0; i < int(units.size()); ++i) {
        const StatUnit& u = units[i];
        byCode.emplace(u.code, i);
        if (u.city.empty()) {
            byName[FoldName(u.name)].push_back(i);
        } else {
            byName[FoldName(u.city + u.name)].push_back(i);
            byWard[FoldName(u.name)].push_back(i);
        }
    }
    for (int c = 0; c < int(cities.size()); ++c) {
        if (!cities[c].code.empty()) byCode.emplace(cities[c].code, -(c + 1));
        byName[FoldName(cities[c].name)].push_back(-(c + 1));
    }
}

StatUnits LoadStatUnits(const std::string& appDir, const std::vector<int>& areas, int year) {
    StatUnits s;
    const std::string folder = appDir + "/MAPDATA/Codes" + (year ? "/" + std::to_string(year) : "");
    std::unordered_map<std::string, int> unitOf;   // code -> index; a unit of two areas is one unit
    std::string line;
    for (int area : areas) {
        gui::TextReader r(folder + gui::Format("/%02d.csv", area));
        if (!r.IsOpen()) {
            s.missingAreas.push_back(area);
            continue;
        }
        while (r.ReadLine(line)) {
            const auto f = Fields(line);
            if (f.size() < 5 || f[0].size() != 6 || !AllDigits(f[0])) continue;
            char* end = nullptr;
            const long x = std::strtol(f[3].c_str(), &end, 10);
            if (*end) continue;
            const long y = std::strtol(f[4].c_str(), &end, 10);
            // Points past any map are not taken (the map units of Japan lie well inside).
            if (*end || x < -100000 || x > 400000 || y < -100000 || y > 400000) continue;
            auto [it, fresh] = unitOf.emplace(f[0], int(s.units.size()));
            if (fresh) {
                StatUnit u;
                u.code = f[0];
                u.name = f[1];
                u.city = f[2];
                u.pref = (f[0][0] - '0') * 10 + (f[0][1] - '0');
                u.area = area;
                s.units.push_back(std::move(u));
            }
            s.units[it->second].points.push_back({int32_t(x), int32_t(y)});
        }
    }
    // Designated cities, with the codes the office files give them.
    for (int i = 0; i < int(s.units.size()); ++i) {
        const StatUnit& u = s.units[i];
        if (u.city.empty()) continue;
        auto c = std::find_if(s.cities.begin(), s.cities.end(),
                              [&](const StatCity& k) { return k.name == u.city && k.pref == u.pref; });
        if (c == s.cities.end()) {
            s.cities.push_back(StatCity{"", u.city, u.pref, {}});
            c = s.cities.end() - 1;
        }
        c->wards.push_back(i);
    }
    if (!s.cities.empty()) {
        // Only the office files of the areas that hold a city's wards.
        std::vector<std::string> prefixes;
        for (const StatCity& c : s.cities) prefixes.push_back(gui::Format("%02d", s.units[c.wards[0]].area));
        const std::string office = appDir + "/MAPDATA/Office";
        for (const std::string& file : gui::ListFiles(office, "*.csv")) {
            if (std::none_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return file.rfind(p, 0) == 0; }))
                continue;
            gui::TextReader r(office + "/" + file);
            while (r.ReadLine(line)) {
                const auto f = Fields(line);
                if (f.size() < 2 || f[0].size() != 6 || !AllDigits(f[0])) continue;
                const int pref = (f[0][0] - '0') * 10 + (f[0][1] - '0');
                for (StatCity& c : s.cities)
                    if (c.code.empty() && c.name == f[1] && c.pref == pref) c.code = f[0];
            }
        }
    }
    s.Index();
    return s;
}

namespace {

const char* const kSummary = "合計・都道府県・郡などの集計行";
const char* const kNotOnMap = "読み込んだ地図にない市区町村";
const char* const kMany = "候補が複数あります";

// The targets of a name, narrowed to the prefecture when one is given.
std::vector<int> NameTargets(const StatUnits& u, const std::unordered_map<std::string, std::vector<int>>& index,
                             const std::string& key, int pref) {
    std::vector<int> out;
    const auto it = index.find(key);
    if (it == index.end()) return out;
    for (int t : it->second) {
        const int p = t >= 0 ? u.units[t].pref : u.cities[-t - 1].pref;
        if (!pref || p == pref) out.push_back(t);
    }
    return out;
}

std::vector<int> ByName(const StatUnits& u, const std::string& cell, int pref, std::string& county) {
    const std::string name = FoldName(cell);
    county.clear();
    std::vector<int> t = NameTargets(u, u.byName, name, pref);
    if (!t.empty()) return t;
    // A county in front of a town or village: "雨竜郡秩父別町". 蒲郡市, 大和郡山市 stay whole.
    const std::string_view gun = "郡";
    for (size_t p = name.find(gun); p != std::string::npos; p = name.find(gun, p + gun.size())) {
        const std::string rest = name.substr(p + gun.size());
        if (rest.empty() || !(EndsWith(rest, "町") || EndsWith(rest, "村"))) continue;
        t = NameTargets(u, u.byName, rest, pref);
        if (!t.empty()) {
            county = name.substr(0, p + gun.size());
            return t;
        }
    }
    // A ward named alone, when only one ward of the prefecture bears it.
    return NameTargets(u, u.byWard, name, pref);
}

int CodeNumber(const StatUnits& u, int target) {
    return std::atoi((target >= 0 ? u.units[target].code : u.cities[-target - 1].code).c_str());
}

} // namespace

StatJoin JoinStatTable(const StatTable& t, const StatJoinSpec& spec, const StatUnits& u) {
    StatJoin j;
    j.unitValue.assign(u.units.size(), std::nan(""));
    j.valueHeading = t.Cell(spec.headingRow, spec.valueCol);
    const int first = spec.headingRow + 1;
    const int n = std::max(0, int(t.rows.size()) - first);
    std::vector<std::vector<int>> targets(static_cast<size_t>(n));
    std::vector<std::string> countyOf(static_cast<size_t>(n));
    j.rows.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int r = first + i;
        StatJoinRow& row = j.rows[size_t(i)];
        row.row = r;
        row.line = t.lines[r];
        const std::string& nameCell = spec.nameCol >= 0 ? t.Cell(r, spec.nameCol) : t.Cell(r, 9999);
        int pref = 0;
        if (spec.prefCol >= 0 && !FoldWidth(t.Cell(r, spec.prefCol)).empty()) {
            pref = PrefNumber(t.Cell(r, spec.prefCol));
            if (!pref) {   // "合計" or anything else that is no prefecture
                row.reason = kSummary;
                continue;
            }
        }
        auto& tg = targets[size_t(i)];
        if (spec.codeCol >= 0) {
            const auto codes = CodeCandidates(t.Cell(r, spec.codeCol));
            for (const std::string& code : codes) {
                const auto it = u.byCode.find(code);
                if (it == u.byCode.end()) continue;
                const int p = it->second >= 0 ? u.units[it->second].pref : u.cities[-it->second - 1].pref;
                if (!pref || p == pref) tg.push_back(it->second);
            }
            const bool prefRow = !codes.empty() && codes.back().substr(2, 3) == "000";
            if (tg.empty())
                row.reason = codes.empty() || prefRow || (spec.nameCol >= 0 && IsSummaryName(nameCell)) ? kSummary
                                                                                                          : kNotOnMap;
        } else if (spec.nameCol >= 0) {
            std::string county;
            tg = ByName(u, nameCell, pref, county);
            if (tg.empty()) row.reason = IsSummaryName(nameCell) ? kSummary : kNotOnMap;
            if (!county.empty()) countyOf[size_t(i)] = county + "/" + std::to_string(pref);
        } else {
            row.reason = kNotOnMap;
        }
    }
    // A town whose name a county shares with another of the prefecture (泊村 of
    // 古宇郡 and of 国後郡): the county's towns are numbered together, so the
    // candidate nearest in code to the county's other towns is the one.
    std::unordered_map<std::string, std::vector<int>> members;
    for (int i = 0; i < n; ++i)
        if (!countyOf[size_t(i)].empty() && targets[size_t(i)].size() == 1)
            members[countyOf[size_t(i)]].push_back(CodeNumber(u, targets[size_t(i)][0]));
    for (int i = 0; i < n; ++i) {
        auto& tg = targets[size_t(i)];
        const auto m = members.find(countyOf[size_t(i)]);
        if (tg.size() < 2 || countyOf[size_t(i)].empty() || m == members.end()) continue;
        const auto distance = [&](int target) {
            int d = 0x7fffffff;
            for (int c : m->second) d = std::min(d, std::abs(c - CodeNumber(u, target)));
            return d;
        };
        std::sort(tg.begin(), tg.end(), [&](int a, int b) { return distance(a) < distance(b); });
        if (distance(tg[0]) < distance(tg[1])) tg.resize(1);
    }

    std::vector<double> cityValue(u.cities.size(), std::nan(""));
    std::vector<char> taken(u.units.size() + u.cities.size(), 0);
    bool anyNumber = false;
    for (int i = 0; i < n; ++i) {
        StatJoinRow& row = j.rows[size_t(i)];
        const auto& tg = targets[size_t(i)];
        bool noValue = false;
        const auto v = ParseStatNumber(t.Cell(row.row, spec.valueCol), noValue);
        if (v) anyNumber = true;
        if (tg.size() > 1) row.reason = kMany;
        if (row.reason.empty()) {
            row.target = tg[0];
            const size_t slot = row.target >= 0 ? size_t(row.target) : u.units.size() + size_t(-row.target - 1);
            if (!v) {
                row.reason = noValue ? "値がありません" : "値が数値ではありません";
            } else if (taken[slot]) {
                row.reason = "同じ市区町村の行が前にあります";
            } else {
                taken[slot] = 1;
                row.value = *v;
                if (row.target >= 0) j.unitValue[size_t(row.target)] = *v;
                else cityValue[size_t(-row.target - 1)] = *v;
                j.joined++;
            }
        }
        if (!row.Joined()) row.target = StatJoin::kNone;
    }
    j.textColumn = !anyNumber;
    // A city's own row stands for the wards that have none.
    for (size_t c = 0; c < u.cities.size(); ++c)
        if (!std::isnan(cityValue[c]))
            for (int w : u.cities[c].wards)
                if (std::isnan(j.unitValue[size_t(w)])) j.unitValue[size_t(w)] = cityValue[c];
    for (double v : j.unitValue)
        if (!std::isnan(v)) j.values.push_back(v);
    return j;
}

std::vector<std::string> StatReportLines(const StatTable& t, const StatJoinSpec& spec, const StatJoin& j) {
    std::vector<std::string> out{"行,コード,名称,理由"};
    const auto quote = [](const std::string& s) {
        if (s.find_first_of(",\"") == std::string::npos) return s;
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    for (const StatJoinRow& r : j.rows) {
        if (r.Joined()) continue;
        std::string name = spec.nameCol >= 0 ? t.Cell(r.row, spec.nameCol) : "";
        if (spec.prefCol >= 0) name = t.Cell(r.row, spec.prefCol) + (name.empty() ? "" : " " + name);
        out.push_back(gui::Format("%d,", r.line) + quote(spec.codeCol >= 0 ? t.Cell(r.row, spec.codeCol) : "") + "," +
                      quote(name) + "," + r.reason);
    }
    return out;
}

StatJoinSpec ProposeStatColumns(const StatTable& t, int headingRow) {
    StatJoinSpec s;
    s.headingRow = headingRow;
    if (headingRow < 0 || headingRow >= int(t.rows.size())) return s;
    const auto& head = t.rows[headingRow];
    for (int c = 0; c < int(head.size()); ++c) {
        const std::string h = FoldWidth(head[c]);
        if (s.codeCol < 0 && h.find("コード") != std::string::npos) s.codeCol = c;
        else if (s.nameCol < 0 && (h.find("市区町村") != std::string::npos || h.find("市町村") != std::string::npos ||
                                   h.find("名称") != std::string::npos))
            s.nameCol = c;
        else if (s.prefCol < 0 && h.find("都道府県") != std::string::npos) s.prefCol = c;
    }
    const int after = std::max({s.codeCol, s.nameCol, s.prefCol});
    for (int c = after + 1; c < int(head.size()) && s.valueCol < 0; ++c) {
        for (int r = headingRow + 1; r < int(t.rows.size()) && r <= headingRow + 20; ++r) {
            bool noValue = false;
            if (ParseStatNumber(t.Cell(r, c), noValue)) {
                s.valueCol = c;
                break;
            }
        }
    }
    return s;
}
