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

} // namespace

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

namespace {

bool IsSummaryName(std::string_view name) {
    const std::string n = FoldWidth(name);
    return n.empty() || n == "-" || EndsWith(n, "郡") || n == "島しょ" || n == "合計" || n == "全国" ||
           n == "特別区部" || n == "総数" || n == "計" || n == "総計" || n == "小計" || n == "全国計" ||
           n == "市部" || n == "郡部" || n == "区部" || n == "町村部" || PrefNumber(n) > 0;
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

// Half-width katakana (ﾆｾｺ町) as the map writes them, the voicing marks joined.
static std::string FoldKana(std::string_view s) {
    static const char* const kFull[] = {
        "ヲ", "ァ", "ィ", "ゥ", "ェ", "ォ", "ャ", "ュ", "ョ", "ッ", "ー", "ア", "イ", "ウ", "エ", "オ", "カ", "キ", "ク",
        "ケ", "コ", "サ", "シ", "ス", "セ", "ソ", "タ", "チ", "ツ", "テ", "ト", "ナ", "ニ", "ヌ", "ネ", "ノ", "ハ", "ヒ",
        "フ", "ヘ", "ホ", "マ", "ミ", "ム", "メ", "モ", "ヤ", "ユ", "ヨ", "ラ", "リ", "ル", "レ", "ロ", "ワ", "ン"};
    static const char* const kPunct[] = {"。", "「", "」", "、", "・"};
    std::string out;
    for (size_t i = 0; i < s.size();) {
        // U+FF61..U+FF9F are EF BD A1..EF BE 9F.
        const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
        if (i + 2 < s.size() && b(i) == 0xEF && (b(i + 1) == 0xBD || b(i + 1) == 0xBE)) {
            const unsigned cp = 0xFF00 + ((b(i + 1) & 0x03) << 6) + (b(i + 2) & 0x3F);
            if (cp >= 0xFF61 && cp <= 0xFF9F) {
                i += 3;
                if (cp <= 0xFF65) {
                    out += kPunct[cp - 0xFF61];
                } else if (cp >= 0xFF9E) {
                    // A mark after its kana: the kana takes it (カ+1 = ガ, ハ+2 = パ, ウ = ヴ).
                    const size_t n = out.size();
                    const bool hasKana = n >= 3 && static_cast<unsigned char>(out[n - 3]) == 0xE3;
                    if (hasKana) {
                        const unsigned c = ((static_cast<unsigned char>(out[n - 3]) & 0x0F) << 12) |
                                           ((static_cast<unsigned char>(out[n - 2]) & 0x3F) << 6) |
                                           (static_cast<unsigned char>(out[n - 1]) & 0x3F);
                        const bool ka = c >= 0x30AB && c <= 0x30C1 && (c - 0x30AB) % 2 == 0;
                        const bool ta = c == 0x30C4 || c == 0x30C6 || c == 0x30C8;
                        const bool ha = c >= 0x30CF && c <= 0x30DB && (c - 0x30CF) % 3 == 0;
                        unsigned v = 0;
                        if (cp == 0xFF9E) v = c == 0x30A6 ? 0x30F4 : ka || ta || ha ? c + 1 : 0;
                        else v = ha ? c + 2 : 0;
                        if (v) {
                            out.resize(n - 3);
                            out += char(0xE0 | (v >> 12));
                            out += char(0x80 | ((v >> 6) & 0x3F));
                            out += char(0x80 | (v & 0x3F));
                            continue;
                        }
                    }
                    out += cp == 0xFF9E ? "゛" : "゜";
                } else {
                    out += kFull[cp - 0xFF66];
                }
                continue;
            }
        }
        out += s[i++];
    }
    return out;
}

std::string FoldName(std::string_view s) {
    std::string n = FoldKana(FoldWidth(s));
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
    // Land areas: every unit and city of the date, and each prefecture whole
    // (its units without the designated cities, whose rows repeat their wards).
    std::unordered_map<std::string, double> km2;
    {
        gui::TextReader r(folder + "/Area.csv");
        while (r.IsOpen() && r.ReadLine(line)) {
            const auto f = Fields(line);
            if (f.size() < 3 || f[0].size() != 6 || !AllDigits(f[0])) continue;
            char* end = nullptr;
            const double a = std::strtod(f[2].c_str(), &end);
            // Japan's largest unit is under 2,000 km²: anything past its land is no area.
            if (*end || !(a > 0 && a < 400000)) continue;
            km2[f[0]] = a;
            for (StatCity& c : s.cities)
                if (c.code.empty() && c.name == f[1] && c.pref == (f[0][0] - '0') * 10 + (f[0][1] - '0')) c.code = f[0];
        }
    }
    if (!km2.empty()) {
        std::unordered_map<std::string, char> cityCodes;   // names of designated cities per prefecture
        for (int area = 1; area <= 52; ++area) {
            gui::TextReader r(folder + gui::Format("/%02d.csv", area));
            while (r.IsOpen() && r.ReadLine(line)) {
                const auto f = Fields(line);
                if (f.size() >= 3 && !f[2].empty() && f[0].size() == 6) cityCodes[f[0].substr(0, 2) + f[2]] = 1;
            }
        }
        gui::TextReader r(folder + "/Area.csv");
        while (r.ReadLine(line)) {
            const auto f = Fields(line);
            if (f.size() < 3 || !km2.count(f[0])) continue;
            if (cityCodes.count(f[0].substr(0, 2) + f[1])) continue;
            const int pref = (f[0][0] - '0') * 10 + (f[0][1] - '0');
            if (pref >= 1 && pref <= 47) s.prefKm2[pref] += km2[f[0]];
        }
        for (StatUnit& u : s.units)
            if (const auto it = km2.find(u.code); it != km2.end()) u.km2 = it->second;
        for (StatCity& c : s.cities)
            if (const auto it = km2.find(c.code); it != km2.end()) c.km2 = it->second;
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

std::string StatTargetName(const StatUnits& u, int target) {
    if (target >= 0 && target < int(u.units.size())) {
        const StatUnit& x = u.units[size_t(target)];
        return x.city + x.name + " " + x.code;
    }
    if (target < 0 && -target - 1 < int(u.cities.size())) {
        const StatCity& c = u.cities[size_t(-target - 1)];
        return c.name + " " + c.code;
    }
    return PrefName(StatJoin::PrefOfTarget(target));
}

namespace {

const char* const kWardRow = "政令市の区の行（政令市ごとに塗る設定です）";
const char* const kUnitRow = "市区町村の行（都道府県ごとに塗る設定です）";
const char* const kOtherPref = "地図にない都道府県の行";

int PrefOf(const StatUnits& u, int target) {
    if (target >= 0) return u.units[size_t(target)].pref;
    if (target <= StatJoin::PrefTarget(0)) return StatJoin::PrefOfTarget(target);
    return u.cities[size_t(-target - 1)].pref;
}

double AreaOf(const StatUnits& u, int target) {
    if (target >= 0) return u.units[size_t(target)].km2;
    if (target <= StatJoin::PrefTarget(0)) {
        const int p = StatJoin::PrefOfTarget(target);
        return p >= 1 && p <= 47 && u.prefKm2[p] > 0 ? u.prefKm2[p] : NAN;
    }
    return u.cities[size_t(-target - 1)].km2;
}

} // namespace

StatJoin JoinStatTable(const StatTable& t, const StatJoinSpec& spec, const StatUnits& u) {
    StatJoin j;
    j.unitValue.assign(u.units.size(), std::nan(""));
    for (const StatUnit& x : u.units)
        if (x.pref >= 1 && x.pref <= 47) j.drawnPrefs[size_t(x.pref)] = 1;
    j.valueHeading = t.Cell(spec.headingRow, spec.valueCol);
    const int first = spec.headingRow + 1;
    const int n = std::max(0, int(t.rows.size()) - first);
    const bool byPref = spec.level == kLevelPref;
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
        row.pref = pref;
        auto& tg = targets[size_t(i)];
        if (spec.codeCol >= 0) {
            const auto codes = CodeCandidates(t.Cell(r, spec.codeCol));
            const bool prefRow = !codes.empty() && codes.back().substr(2, 3) == "000";
            if (!row.pref && !codes.empty()) {
                // The prefecture the code names, when every reading of it agrees.
                const int p = std::stoi(codes[0].substr(0, 2));
                if (std::all_of(codes.begin(), codes.end(), [&](const std::string& c) { return std::stoi(c.substr(0, 2)) == p; }))
                    row.pref = p >= 1 && p <= 47 ? p : 0;
            }
            if (byPref) {
                const int p = prefRow ? std::stoi(codes.back().substr(0, 2)) : 0;
                if (p >= 1 && p <= 47 && (!pref || p == pref) && j.drawnPrefs[size_t(p)]) tg.push_back(StatJoin::PrefTarget(p));
                if (tg.empty())
                    row.reason = prefRow && p >= 1 && p <= 47 ? kNotOnMap : codes.empty() || prefRow ? kSummary : kUnitRow;
                if (prefRow && p >= 1 && p <= 47) row.pref = p;
                continue;
            }
            for (const std::string& code : codes) {
                const auto it = u.byCode.find(code);
                if (it == u.byCode.end()) continue;
                if (!pref || PrefOf(u, it->second) == pref) tg.push_back(it->second);
            }
            if (tg.empty())
                row.reason = prefRow || codes.empty() || (spec.nameCol >= 0 && IsSummaryName(nameCell)) ? kSummary
                                                                                                         : kNotOnMap;
        } else if (spec.nameCol >= 0 || byPref) {
            if (byPref) {
                // The prefecture's own row: its name alone, or the prefecture column with no municipality.
                const std::string name = FoldWidth(nameCell);
                const int p = PrefNumber(name) ? PrefNumber(name) : name.empty() || name == "-" ? pref : 0;
                if (p && (!pref || p == pref) && j.drawnPrefs[size_t(p)]) tg.push_back(StatJoin::PrefTarget(p));
                if (p) row.pref = p;
                if (tg.empty()) row.reason = p ? kNotOnMap : IsSummaryName(nameCell) ? kSummary : kUnitRow;
                continue;
            }
            std::string county;
            tg = ByName(u, nameCell, pref, county);
            if (tg.empty()) row.reason = IsSummaryName(nameCell) ? kSummary : kNotOnMap;
            if (!county.empty()) countyOf[size_t(i)] = county + "/" + std::to_string(pref);
            if (!row.pref && PrefNumber(nameCell)) row.pref = PrefNumber(nameCell);
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
    // The user's choice among the candidates of a row.
    for (const auto& [row, target] : spec.picks) {
        const int i = row - first;
        if (i < 0 || i >= n) continue;
        auto& tg = targets[size_t(i)];
        if (tg.size() > 1 && std::find(tg.begin(), tg.end(), target) != tg.end()) tg = {target};
    }

    std::vector<double> cityValue(u.cities.size(), std::nan(""));
    std::vector<double> prefValue(48, std::nan(""));
    std::vector<char> taken(u.units.size() + u.cities.size() + 48, 0);
    std::vector<char> unitRow(u.units.size(), 0);   // the table has a row for the unit, with a value or not
    bool anyNumber = false;
    std::string why;
    for (int i = 0; i < n; ++i) {
        StatJoinRow& row = j.rows[size_t(i)];
        const auto& tg = targets[size_t(i)];
        bool noValue = false;
        std::optional<double> v = ParseStatNumber(t.Cell(row.row, spec.valueCol), noValue, &why);
        if (v) anyNumber = true;
        if (tg.size() > 1) {
            row.reason = kMany;
            row.candidates = tg;
        }
        if (!row.reason.empty()) {
            row.target = StatJoin::kNone;
            continue;
        }
        row.target = tg[0];
        if (row.target >= 0 && spec.level == kLevelCity && !u.units[size_t(row.target)].city.empty()) {
            row.reason = kWardRow;
            row.target = StatJoin::kNone;
            continue;
        }
        if (row.target >= 0) unitRow[size_t(row.target)] = 1;
        const size_t slot = row.target >= 0                         ? size_t(row.target)
                            : row.target <= StatJoin::PrefTarget(0) ? u.units.size() + u.cities.size() +
                                                                          size_t(StatJoin::PrefOfTarget(row.target))
                                                                    : u.units.size() + size_t(-row.target - 1);
        if (v && spec.divisorCol >= 0) {
            bool none = false;
            const auto d = ParseStatNumber(t.Cell(row.row, spec.divisorCol), none);
            if (!d) v.reset(), why = "割る値がありません";
            else if (*d == 0) v.reset(), why = "割る値が 0 です";
            else v = *v / *d;
        }
        if (v && spec.perArea) {
            const double a = AreaOf(u, row.target);
            if (!(a > 0)) v.reset(), why = "面積がわかりません";
            else v = *v / a;
        }
        if (v && !(std::fabs(*v) <= kStatValueMax)) v.reset(), why = "割った値が大きすぎます（±1,000兆まで）";
        if (!v) {
            row.reason = why;
        } else if (taken[slot]) {
            row.reason = "同じ市区町村の行が前にあります";
        } else {
            taken[slot] = 1;
            row.value = *v;
            if (row.target >= 0) j.unitValue[size_t(row.target)] = *v;
            else if (row.target <= StatJoin::PrefTarget(0)) prefValue[size_t(StatJoin::PrefOfTarget(row.target))] = *v;
            else cityValue[size_t(-row.target - 1)] = *v;
            j.joined++;
        }
        if (!row.Joined()) row.target = StatJoin::kNone;
    }
    j.textColumn = !anyNumber;
    if (byPref) {
        for (size_t k = 0; k < u.units.size(); ++k) j.unitValue[k] = prefValue[size_t(u.units[k].pref)];
        for (double v : prefValue)
            if (!std::isnan(v)) j.values.push_back(v);
        return j;
    }
    // A city's own row: at the city level it is the city's value; otherwise it
    // stands for its wards only when the table has no row for any of them (a
    // ward whose row holds no value has no data, never the city's total).
    std::vector<char> whole(u.cities.size(), 0);
    for (size_t c = 0; c < u.cities.size(); ++c) {
        if (std::isnan(cityValue[c])) continue;
        const auto& w = u.cities[c].wards;
        whole[c] = spec.level == kLevelCity || std::none_of(w.begin(), w.end(), [&](int k) { return unitRow[size_t(k)]; });
        if (whole[c])
            for (int k : w) j.unitValue[size_t(k)] = cityValue[c];
    }
    std::vector<char> inWholeCity(u.units.size(), 0);
    if (spec.level == kLevelCity)
        for (size_t c = 0; c < u.cities.size(); ++c) {
            if (!std::isnan(cityValue[c])) j.values.push_back(cityValue[c]);
            for (int k : u.cities[c].wards) inWholeCity[size_t(k)] = 1;
        }
    for (size_t k = 0; k < u.units.size(); ++k)
        if (!inWholeCity[k] && !std::isnan(j.unitValue[k])) j.values.push_back(j.unitValue[k]);
    return j;
}

std::vector<std::string> StatReportLines(const StatTable& t, const StatJoinSpec& spec, const StatJoin& j,
                                         const StatUnits* units) {
    std::vector<std::string> out{"行,コード,名称,理由"};
    const auto quote = [](const std::string& s) {
        if (s.find_first_of(",\"") == std::string::npos) return s;
        std::string q = "\"";
        for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
        return q + "\"";
    };
    // Rows of prefectures the map does not show: one line for each prefecture.
    std::vector<int> otherFirst(48, 0), otherLast(48, 0), otherRows(48, 0);
    const auto elsewhere = [&](const StatJoinRow& r) {
        return r.reason == kNotOnMap && r.pref >= 1 && r.pref <= 47 && !j.drawnPrefs[size_t(r.pref)];
    };
    for (const StatJoinRow& r : j.rows)
        if (elsewhere(r)) {
            if (!otherRows[size_t(r.pref)]) otherFirst[size_t(r.pref)] = r.line;
            otherLast[size_t(r.pref)] = r.line;
            otherRows[size_t(r.pref)]++;
        }
    for (const StatJoinRow& r : j.rows) {
        if (r.Joined()) continue;
        if (elsewhere(r)) {
            if (r.line != otherFirst[size_t(r.pref)]) continue;
            out.push_back(gui::Format("%d-%d,,", r.line, otherLast[size_t(r.pref)]) +
                          quote(gui::Format("%s（%d 行）", PrefName(r.pref), otherRows[size_t(r.pref)])) + "," +
                          kOtherPref);
            continue;
        }
        std::string name = spec.nameCol >= 0 ? t.Cell(r.row, spec.nameCol) : "";
        if (spec.prefCol >= 0) name = t.Cell(r.row, spec.prefCol) + (name.empty() ? "" : " " + name);
        std::string reason = r.reason;
        if (units && !r.candidates.empty()) {
            reason += "：";
            for (size_t k = 0; k < r.candidates.size(); ++k)
                reason += (k ? "／" : "") + StatTargetName(*units, r.candidates[k]);
        }
        out.push_back(gui::Format("%d,", r.line) + quote(spec.codeCol >= 0 ? t.Cell(r.row, spec.codeCol) : "") + "," +
                      quote(name) + "," + quote(reason));
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

int FindStatHeading(const StatTable& t) {
    // Title rows above the headings (as statistics offices write them) have a
    // cell or two; the heading row names a code or name column with numbers below.
    for (int r = 0; r < int(t.rows.size()) && r < 20; ++r) {
        const auto& row = t.rows[size_t(r)];
        if (std::count_if(row.begin(), row.end(), [](const std::string& c) { return !FoldWidth(c).empty(); }) < 2) continue;
        const StatJoinSpec s = ProposeStatColumns(t, r);
        if ((s.codeCol >= 0 || s.nameCol >= 0) && s.valueCol >= 0 && !FoldWidth(t.Cell(size_t(r), size_t(s.valueCol))).empty())
            return r;
    }
    return 0;
}
