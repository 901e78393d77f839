// The records of the loaded line files: reading each file, and numbering
// their colours over the lines shown.
#include "engine/Convert.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include <algorithm>
#include <sys/stat.h>
#include <unordered_set>

namespace {

LineFileStamp StampOf(const std::string& path) {
    struct stat st;
    LineFileStamp s;
    // The path as given first: a railway load looks at some 600 files.
    if ((stat(path.c_str(), &st) != 0 && stat(gui::ResolvePath(path).c_str(), &st) != 0) || !S_ISREG(st.st_mode))
        return s;
    s.Size = st.st_size;
    s.Time = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    s.Inode = st.st_ino;
    return s;
}

// Up to ten comma-separated values of a point line; false for a blank line.
bool PointFields(std::string_view line, int& n, int32_t* v) {
    n = 0;
    size_t from = 0;
    while (n < 10) {
        const size_t comma = line.find(',', from);
        v[n++] = LenientInt(line.substr(from, comma == std::string_view::npos ? comma : comma - from));
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    return !(n == 1 && line.find_first_not_of(" \t") == std::string_view::npos);
}

// The display reader: a line of one or two values is a point, (0, 0) a break;
// a longer one holds up to five pairs, taken while the header's count allows,
// and there (0, 0) is a point like any other.
void ReadRecord(const std::string& path, LineFileRecord& f) {
    f.Readable = false;
    f.OnScreen = false;
    f.Points.clear();
    f.Breaks.clear();
    f.EndHead = false;
    gui::TextReader in;
    std::string_view line;
    if (!in.Open(path) || !in.ReadLineBytes(line) || !ParseLineHeader(line, f.Head)) return;
    f.Readable = true;
    int n;
    int32_t v[10];
    size_t inPiece = 0, lastPiece = 0;
    while (in.ReadLineBytes(line)) {
        if (!PointFields(line, n, v)) continue;
        if (n <= 2) {
            if (v[0] == 0 && (n < 2 || v[1] == 0)) {
                f.Breaks.push_back(uint32_t(f.Points.size()));
                inPiece = 0;
                continue;
            }
            f.Points.push_back({v[0], n < 2 ? 0 : v[1]});
            inPiece++;
        } else {
            for (int k = 0; k + 1 < n && f.Points.size() < size_t(f.Head.Points); k += 2, inPiece++)
                f.Points.push_back({v[k], v[k + 1]});
        }
        lastPiece = inPiece;
    }
    f.EndHead = f.Head.Points >= 2 && lastPiece >= 2;
}

} // namespace

int TLineAdd::UserFileCount() const { return std::clamp(LineFileCount, 0, int(LineFiles.size())); }

// A file new to the lists is read; a listed one again only when asked to look
// at the disk and it changed there.
LineFileRecord& TLineAdd::Record(const std::string& path, bool checkDisk) {
    auto [it, fresh] = LineRecords.try_emplace(path);
    LineFileRecord& f = it->second;
    if (!fresh && !checkDisk) return f;
    const LineFileStamp now = StampOf(path);
    if (fresh || now != f.Stamp) {
        f.Stamp = now;
        ReadRecord(path, f);
        if (fresh) {
            f.Size = std::to_string(f.Head.Size);
            f.Mark = "●";
        }
    }
    return f;
}

LineFileRecord* TLineAdd::RecordOf(const std::string& path) {
    auto it = LineRecords.find(path);
    return it == LineRecords.end() ? nullptr : &it->second;
}

LineFileRecord* TLineAdd::RecordOfRow(int row) {
    return row >= 0 && row < int(LineRows.size()) ? RecordOf(LineRows[row].Path) : nullptr;
}

void TLineAdd::DropUnlistedRecords() {
    std::unordered_set<std::string> listed(RailFiles.begin(), RailFiles.end());
    listed.insert(LineFiles.begin(), LineFiles.begin() + UserFileCount());
    std::erase_if(LineRecords, [&](const auto& kv) { return !listed.count(kv.first); });
}

// The railway files are supplied data: each load looks at the disk once.
void TLineAdd::SetRailFiles(std::vector<std::string> paths) {
    RailFiles = std::move(paths);
    RailFileCount = int(RailFiles.size());
    for (const std::string& p : RailFiles) Record(p, true);
    DropUnlistedRecords();
}

void TLineAdd::SetUserFiles(std::vector<std::string> paths) {
    LineFiles = std::move(paths);
    LineFileCount = int(LineFiles.size());
    for (const std::string& p : LineFiles) Record(p, true);
    DropUnlistedRecords();
}

// The editor may save a shown file anew at any time.
void TLineAdd::ReadChangedUserFiles() {
    for (int j = 0; j < UserFileCount(); j++) Record(LineFiles[j], true);
}

// Every shown file readable as a line file gets a row; while the table follows
// the files, sizes come from their headers and colour numbers by first appearance.
void TLineAdd::NumberLineFiles() {
    const bool fromFiles = !LineSet->UserColors;
    if (fromFiles) {
        std::copy(std::begin(DefaultColorTable), std::end(DefaultColorTable), ColorTable);
        for (int k = 0; k < LINE_COLOR_MAX; k++) LineSet->FillSwatch(k + 1, DefaultColorTable[k]);
    }
    if (AttrTableDirty)
        for (auto& [path, f] : LineRecords) {
            f.Size = std::to_string(f.Head.Size);
            f.Mark = "●";
        }
    AttrTableDirty = 0;
    LineRows.clear();
    int used = 0;
    auto row = [&](const std::string& path, bool rail, int index) {
        LineFileRecord& f = Record(path, false);
        if (!f.Readable) return;
        if (fromFiles) {
            int number = 0;
            used = ColourNumber(used, TColor(f.Head.Color), number);
            f.Colour = std::to_string(number);
            f.Size = std::to_string(f.Head.Size);
        }
        LineRows.push_back({path, rail, index});
    };
    const int filter = LineSet->RailKindFilter();
    for (int i = 0; i < RailFileCount && i < int(RailFiles.size()); i++) {
        const bool jr = FileDisplayName(RailFiles[i]).find("JR") != std::string::npos;
        if ((filter == 1 && !jr) || (filter == 2 && jr)) continue;
        row(RailFiles[i], true, i);
    }
    for (int j = 0; j < UserFileCount(); j++) row(LineFiles[j], false, j);
}
