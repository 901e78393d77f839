// TOpen: the per-area map files, the office marks and the two lists read at start-up.
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/FieldScanner.h"
#include "engine/Uopen.h"
#include "gui/Forms.h"
#include "gui/TextFile.h"
#include <algorithm>
#include <cstring>
#include <functional>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(gui::TextReader::kSlack >= FieldScanner::kSlack, "the reader's margins let the scanner load whole words");

namespace {

size_t Utf8CharLength(unsigned char c) { return c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1; }

// Copies text into a fixed field, cut at a character boundary so that it holds
// at most maxCp932 bytes in CP932 (and fits the array).
void CopyCut(char* dst, size_t size, std::string_view text, size_t maxCp932) {
    // CP932 never takes more bytes than UTF-8, so a short text needs no measuring.
    size_t take = text.size();
    if (take > maxCp932 && (take >= size || gui::Cp932Length(text) > maxCp932)) {
        size_t cp932 = 0;
        take = 0;
        while (take < text.size()) {
            size_t len = std::min(Utf8CharLength(static_cast<unsigned char>(text[take])), text.size() - take);
            size_t w = gui::Cp932Length(text.substr(take, len));
            if (cp932 + w > maxCp932 || take + len >= size) break;
            cp932 += w;
            take += len;
        }
    }
    // A missing field is an empty view without any storage behind it.
    if (take) memcpy(dst, text.data(), take);
    dst[take] = '\0';
}

// Widens the extent by count points stored as x, y pairs.
void WidenExtent(const int32_t* pts, int32_t count, int32_t& minX, int32_t& minY, int32_t& maxX, int32_t& maxY) {
    int32_t x0 = minX, y0 = minY, x1 = maxX, y1 = maxY;
    int32_t j = 0;
#if defined(__SSE2__)
    // Four points a step in two halves, x and y side by side in the lanes.
    if (count >= 2) {
        auto min = [](__m128i a, __m128i b) {
            const __m128i lt = _mm_cmplt_epi32(a, b);
            return _mm_or_si128(_mm_and_si128(lt, a), _mm_andnot_si128(lt, b));
        };
        auto max = [](__m128i a, __m128i b) {
            const __m128i gt = _mm_cmpgt_epi32(a, b);
            return _mm_or_si128(_mm_and_si128(gt, a), _mm_andnot_si128(gt, b));
        };
        __m128i lo0 = _mm_set_epi32(y0, x0, y0, x0), hi0 = _mm_set_epi32(y1, x1, y1, x1), lo1 = lo0, hi1 = hi0;
        const __m128i* v = reinterpret_cast<const __m128i*>(pts);
        for (; j + 3 < count; j += 4, v += 2) {
            const __m128i a = _mm_loadu_si128(v), b = _mm_loadu_si128(v + 1);
            lo0 = min(a, lo0);
            hi0 = max(a, hi0);
            lo1 = min(b, lo1);
            hi1 = max(b, hi1);
        }
        if (j + 1 < count) {
            const __m128i a = _mm_loadu_si128(v);
            lo0 = min(a, lo0);
            hi0 = max(a, hi0);
            j += 2;
        }
        alignas(16) int32_t l[4], h[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(l), min(lo0, lo1));
        _mm_store_si128(reinterpret_cast<__m128i*>(h), max(hi0, hi1));
        x0 = std::min(l[0], l[2]), y0 = std::min(l[1], l[3]);
        x1 = std::max(h[0], h[2]), y1 = std::max(h[1], h[3]);
    }
#endif
    for (; j < count; j++) {
        x0 = std::min(x0, pts[2 * j]);
        x1 = std::max(x1, pts[2 * j]);
        y0 = std::min(y0, pts[2 * j + 1]);
        y1 = std::max(y1, pts[2 * j + 1]);
    }
    minX = x0, minY = y0, maxX = x1, maxY = y1;
}

// The names read so far from one file, so that a repeated name is found
// without comparing it with every name before it.
class NameSet {
public:
    // A new file begins.
    void Clear() {
        for (uint32_t s : used) table[s].index = -1;
        used.clear();
    }
    // True when a name equal to names[i] was added since the last Clear;
    // otherwise names[i] is added.
    bool SeenOrAdd(const std::vector<std::string>& names, int32_t i) {
        if (2 * (used.size() + 1) > table.size()) grow();
        const size_t h = std::hash<std::string>{}(names[i]);
        const size_t mask = table.size() - 1;
        for (size_t s = h & mask;; s = (s + 1) & mask) {
            Slot& slot = table[s];
            if (slot.index < 0) {
                slot = {h, i};
                used.push_back(uint32_t(s));
                return false;
            }
            if (slot.hash == h && names[slot.index] == names[i]) return true;
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        int32_t index = -1;
    };
    std::vector<Slot> table = std::vector<Slot>(256);
    std::vector<uint32_t> used;   // the table in use, to clear only those
    void grow() {
        std::vector<Slot> old(table.size() * 2);
        old.swap(table);
        const size_t mask = table.size() - 1;
        for (uint32_t& s : used) {
            size_t t = old[s].hash & mask;
            while (table[t].index >= 0) t = (t + 1) & mask;
            table[t] = old[s];
            s = uint32_t(t);
        }
    }
};

// Appends one polyline; a polyline that does not fit is refused with the
// store's message, so the store is never written past its capacity.
void Append(PolylineStore& s, int32_t n, const int32_t* points) {
    int64_t words = 2 * int64_t(n) + 1;
    if (s.Fill + words > s.Capacity) {
        s.Overflowed = true;
        Application->MessageBox(s.Message, "データエラー", MB_OK);
        return;
    }
    int32_t* w = s.Words.data() + s.Fill;
    w[0] = n;
    if (n > 0) memcpy(w + 1, points, sizeof(int32_t) * 2 * size_t(n));
    s.Fill += int32_t(words);
}

} // namespace

bool TOpen::IsPrefLayerLoadable(int code) const {
    return !((code == 47 || code == 48 || code == 49) && !ui.Hokkaido->Checked());
}

bool TOpen::ReadMapData(int count, const int32_t* codes) {
    PolylineStore* stores[] = {&doc.CoastLine, &doc.PrefLine,  &doc.NewPrefLine,      &doc.OldPrefLine,    &doc.TownLine,     &doc.NTownLine,
                               &doc.OTownLine, &doc.LakeLine, &doc.HokkaidoLakeLine, &doc.LakeBorderLine, &doc.LakePrefLine, &doc.KuLine};
    for (PolylineStore* s : stores) {
        s->Fill = 0;
        s->Overflowed = false;
    }
    int32_t towns = 0, oldTowns = 0, newTowns = 0;
    doc.OfficeCount = 0;
    // The extent is kept in locals while reading: the point buffer could alias the members.
    // It starts empty, so that points beyond the usual range are inside it too.
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;

    // Whatever happens, every store ends at its fill and the counts are kept,
    // so that nothing reads the rest of an earlier load.
    auto close = [&] {
        for (PolylineStore* s : stores) {
            s->Words[s->Fill] = -999;
            s->Changed();
        }
        // Without any point the box keeps its customary start values.
        if (minX > maxX) minX = 10000000, maxX = 0;
        if (minY > maxY) minY = 10000000, maxY = 0;
        MinX = minX;
        MinY = minY;
        MaxX = maxX;
        MaxY = maxY;
        doc.TownCount = towns;
        doc.OldTownCount = oldTowns;
        doc.NewTownCount = newTowns;
    };

    gui::TextReader in;
    std::string line;
    // Map-file lines are scanned as their CP932 bytes: all but the names are
    // ASCII, and no separator occurs inside a double-byte character, so only
    // the names need decoding.
    std::string_view bytes;
    std::vector<int32_t> pointBuffer(2 * POLYLINE_POINTS_MAX);   // one polyline
    // The names of this file so far, per table.
    NameSet fileNames[3];
    int32_t* const points = pointBuffer.data();

    for (int a = 0; a < count; a++) {
        const int code = codes[a];
        if (!in.Open(gui::Format("%s/MAPDATA/%02d.MAP", doc.AppDir.c_str(), code))) {
            close();
            return false;
        }
        const bool prefFlag = code >= 0 && code < 60 && doc.PrefFlag[code];
        const bool loadable = IsPrefLayerLoadable(code);
        const bool kuLoadable = loadable && !(code == 18 && ui.CBNTownBorder->Checked());
        // Duplicates are looked for only among the names of this file.
        for (NameSet& names : fileNames) names.Clear();
        // A name at a position no map has is dropped, and the file's first named.
        // (Far polylines are drawn as they are: the view copes with them.)
        int lineNo = 0, badLine = 0;

        while (in.ReadLineBytes(bytes)) {
            ++lineNo;
            FieldScanner f(bytes);
            std::string_view first;
            if (!f.Next(first)) continue;   // an empty line
            const char letter = first.empty() ? '\0' : first[0];

            if (letter == 'A' || letter == 'X' || letter == 'B') {
                auto& xs = letter == 'A' ? doc.TownX : letter == 'X' ? doc.OldTownX : doc.NewTownX;
                auto& ys = letter == 'A' ? doc.TownY : letter == 'X' ? doc.OldTownY : doc.NewTownY;
                auto& names = letter == 'A' ? doc.TownName : letter == 'X' ? doc.OldTownName : doc.NewTownName;
                auto& dups = letter == 'A' ? doc.TownDup : letter == 'X' ? doc.OldTownDup : doc.NewTownDup;
                NameSet& seen = fileNames[letter == 'A' ? 0 : letter == 'X' ? 1 : 2];
                int32_t& n = letter == 'A' ? towns : letter == 'X' ? oldTowns : newTowns;
                const int32_t x = f.IntOr0(), y = f.IntOr0();
                const std::string_view name = f.FieldOrEmpty();
                if (!InMapRange(x, y)) {
                    if (!badLine) badLine = lineNo;
                    continue;
                }
                if (n >= int32_t(xs.size())) continue;   // the table is full
                xs[n] = x;
                ys[n] = y;
                gui::Cp932ToUtf8(name, names[n]);
                dups[n] = 's';
                if (seen.SeenOrAdd(names, n)) dups[n] = 'd';
                n++;
                continue;
            }
            if (letter == 'Z') continue;

            // A polyline header: letter, an identifier, the number of points,
            // then the points five pairs a line.
            f.FieldOrEmpty();
            const int32_t n = f.IntOr0();
            const int32_t lines = n > 0 ? int32_t((int64_t(n) + 4) / 5) : 0;
            int32_t got = 0, direct = 0;
            bool whole = n >= 0 && n <= POLYLINE_POINTS_MAX;

            PolylineStore* target = nullptr;
            switch (letter) {
            case 'C': target = &doc.CoastLine; break;
            case 'P': target = &doc.PrefLine; break;
            case 'U': target = &doc.NewPrefLine; break;
            case 'R': target = &doc.OldPrefLine; break;
            case 'S': target = &doc.HokkaidoLakeLine; break;
            case 'T': target = loadable ? &doc.TownLine : nullptr; break;
            case 'N': target = loadable ? &doc.NTownLine : nullptr; break;
            case 'O': target = loadable ? &doc.OTownLine : nullptr; break;
            case 'L': target = loadable ? &doc.LakeBorderLine : nullptr; break;
            case 'Q': target = loadable ? &doc.LakePrefLine : nullptr; break;
            case 'K': target = kuLoadable ? &doc.KuLine : nullptr; break;
            // In Hokkaido and the northern islands the W lines are the
            // sub-prefecture borders, not lake shores.
            case 'W': target = prefFlag ? (doc.WLinesAsBorder ? &doc.PrefLine : nullptr) : &doc.LakeLine; break;
            default: break;
            }
            // The points go straight into their store when it has room for
            // the whole polyline; the buffer takes all others.
            const bool fits = target && whole && target->Fill + 2 * int64_t(n) + 1 <= target->Capacity;
            int32_t* const dest = fits ? target->Words.data() + target->Fill + 1 : points;
            for (int32_t k = 0; k < lines; k++) {
                const int want = int(std::min<int32_t>(5, n - got));
                // Read straight into the polyline while it has room for a
                // whole line; only a polyline longer than any kept one needs
                // the copy.
                int32_t values[10];
                const bool room = got <= POLYLINE_POINTS_MAX - 5;
                int32_t* const read = room ? dest + 2 * got : values;
                // A short point line: the points it has still count, the
                // polyline is not kept.
                // The line is cut and read in one pass where it lies whole
                // in the buffer and is plain; otherwise the usual way.
                size_t used;
                int values2 = FieldScanner::ReadLineInts(in.Buffered(), read, 2 * want, used);
                ++lineNo;
                if (values2 >= 0) {
                    in.Advance(used);
                } else if (in.ReadLineBytes(bytes)) {
                    values2 = FieldScanner::ReadInts(bytes, read, 2 * want);
                } else {
                    whole = false;
                    break;
                }
                const int have = values2 / 2;
                if (have < want) whole = false;
                if (room) {
                    direct = got + have;
                } else {
                    // Every point read widens the extent, kept or not.
                    WidenExtent(read, have, minX, minY, maxX, maxY);
                    for (int j = 0; j < have && got + j < POLYLINE_POINTS_MAX; j++) {
                        dest[2 * (got + j)] = read[2 * j];
                        dest[2 * (got + j) + 1] = read[2 * j + 1];
                    }
                }
                got += have;
            }
            // The points that went straight into the polyline widen the extent in one pass.
            WidenExtent(dest, direct, minX, minY, maxX, maxY);
            // A polyline without points draws nothing, and its count 0 would end the store for the redraw.
            if (!whole || !target || n <= 0) continue;
            if (fits) {
                target->Words[target->Fill] = n;
                target->Fill += 2 * n + 1;
            } else {
                Append(*target, n, points);   // refused with the store's message
            }
        }
        in.Close();
        if (badLine)
            Application->MessageBox(gui::Format("地図データファイル %02d.MAP の %d 行目の座標値が正しくありません", code, badLine),
                                    "データエラー", MB_OK);
    }

    // Office marks of the chosen areas; the northern islands have none.
    int32_t offices = 0;
    for (int a = 0; a < count; a++) {
        const int code = codes[a];
        if (code == 52) continue;
        if (!in.Open(gui::Format("%s/MAPDATA/OfficeLoc/%02d市町村役場.lbl", doc.AppDir.c_str(), code))) {
            doc.OfficeCount = offices;
            close();
            return false;
        }
        while (in.ReadLine(line)) {
            FieldScanner f(line);
            std::string_view mark;
            if (!f.Next(mark)) continue;
            if (offices >= int32_t(doc.OfficeRecords.size())) break;
            OfficeRecord& r = doc.OfficeRecords[offices];
            CopyCut(r.mark, sizeof r.mark, mark, 7);
            r.x = f.IntOr0();
            r.y = f.IntOr0();
            CopyCut(r.name, sizeof r.name, f.FieldOrEmpty(), 31);
            r.size = f.IntOr0();
            offices++;
        }
        in.Close();
    }
    doc.OfficeCount = offices;

    for (PolylineStore* s : stores) {
        if (s->TestedAgain && s->Overflowed) {
            Application->MessageBox(std::string(s->CapacityName) + "を超過しました　　　　", "データ個数オーバー",
                                    MB_OK | MB_ICONEXCLAMATION);
            Application->Terminate();
        }
    }
    close();

    // A margin of 3 % of the larger side all round.
    const MapBox box = WithMargin({MinX, MinY, MaxX, MaxY});
    MinX = box.x0, MinY = box.y0, MaxX = box.x1, MaxY = box.y1;

    ui.TkBtn1->Hide();
    return true;
}

void TOpen::LoadCityList() {
    doc.CityCount = 0;
    gui::TextReader in;
    if (!in.Open(doc.AppDir + "/MAPDATA/CITYLIST.TXT")) return;
    std::string line;
    doc.CityListWhole = true;
    int badLine = 0;
    for (int lineNo = 1; in.ReadLine(line); ++lineNo) {
        FieldScanner f(line);
        std::string_view name;
        if (!f.Next(name)) continue;
        const int32_t x = f.IntOr0(), y = f.IntOr0();
        if (!InMapRange(x, y)) {
            if (!badLine) badLine = lineNo;
            continue;
        }
        if (doc.CityCount >= int32_t(doc.CityName.size())) {
            doc.CityListWhole = false;
            break;
        }
        const int i = doc.CityCount++;
        doc.CityName[i].assign(name.data(), name.size());
        doc.CityX[i] = x;
        doc.CityY[i] = y;
        doc.CityPref[i] = f.IntOr0();
        doc.CityFlag[i] = f.IntOr0() != 0 ? 1 : 0;
    }
    if (badLine) ReportBadListLine("CITYLIST.TXT", badLine);
}

// Lines of a start-up list at positions no map have are left out, the first
// named once, and the list is not written back: its next save would lose them.
void TOpen::ReportBadListLine(const char* file, int lineNo) {
    (std::string_view(file) == "EXTRA.TXT" ? doc.ExtraListWhole : doc.CityListWhole) = false;
    Application->MessageBox(gui::Format("%s の %d 行目の座標値が正しくありません", file, lineNo), "データエラー",
                            MB_OK | MB_ICONEXCLAMATION);
}

void TOpen::LoadExtraList() {
    doc.ExtraCount = 0;
    gui::TextReader in;
    if (!in.Open(doc.AppDir + "/MAPDATA/EXTRA.TXT")) {
        Application->MessageBox("重複市町村名データファイル 'Extra.txt' が 'MapData'フォルダの中にありません",
                                "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string line;
    doc.ExtraListWhole = true;
    int badLine = 0;
    for (int lineNo = 1; in.ReadLine(line); ++lineNo) {
        FieldScanner f(line);
        int32_t pref;
        if (!f.NextInt(pref)) continue;
        const std::string_view town = f.FieldOrEmpty(), group = f.FieldOrEmpty();
        const int32_t x = f.IntOr0(), y = f.IntOr0();
        if (!InMapRange(x, y)) {
            if (!badLine) badLine = lineNo;
            continue;
        }
        if (doc.ExtraCount >= int32_t(doc.ExtraPref.size())) {
            doc.ExtraListWhole = false;
            break;
        }
        const int i = doc.ExtraCount++;
        doc.ExtraPref[i] = pref;
        doc.ExtraTownName[i].assign(town.data(), town.size());
        doc.ExtraGroupName[i].assign(group.data(), group.size());
        doc.ExtraX[i] = x;
        doc.ExtraY[i] = y;
        const std::string_view kind = f.FieldOrEmpty();
        doc.ExtraKind[i] = kind.empty() ? '\0' : kind[0];
    }
    if (badLine) ReportBadListLine("EXTRA.TXT", badLine);
}
