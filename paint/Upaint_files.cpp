// Paint files (.pnt) and the paint-data import (.csv) of the paint window.
#include "components/Mystr.h"
#include "components/Tkbtn.h"
#include "engine/Convert.h"
#include "engine/MapStyle.h"
#include "engine/Redraw.h"
#include "engine/MainForm.h"
#include "engine/PaintRecord.h"
#include "gui/TextFile.h"
#include "gui/Files.h"
#include "navigation/Usettei.h"
#include "output/Uproject.h"
#include "paint/SlotPicture.h"
#include "paint/Upaint.h"
#include <fstream>
#include <optional>
#include <vector>

namespace {

const char* const kFileError = "ファイル読み込みエラー";

// A paint file checked whole before anything changes.
struct PaintFileData {
    PaintPalette palette;
    std::vector<PaintRecord> records;
    int badLine = 0;     // first line that is missing or does not convert
    bool full = false;   // badLine is a record beyond the room left
};

// Every line this program writes ends in a line end: a last line without one was cut short.
bool EndsInLineEnd(const std::string& path) {
    std::ifstream in(gui::ResolvePath(path), std::ios::binary | std::ios::ate);
    if (!in || in.tellg() <= 0) return true;
    in.seekg(-1, std::ios::end);
    return in.get() == '\n';
}

// cut: the last line lacks its line end and is refused, whatever it reads as.
PaintFileData ReadPaintFile(const std::vector<std::string>& lines, bool cut, bool coloursOnly, int room) {
    PaintFileData d;
    const size_t usable = lines.size() - (cut && !lines.empty() ? 1 : 0);
    d.badLine = d.palette.Parse(std::span(lines).first(std::min(usable, PaintPalette::LINES)));
    if (d.badLine || coloursOnly) return d;
    std::vector<std::string> f;
    for (size_t k = PaintPalette::LINES; k < lines.size(); ++k) {
        const int n = int(k) + 1;
        if (k == usable) {
            d.badLine = n;
            return d;
        }
        TMyStr::SplitFields(lines[k], f);
        PaintRecord r;
        const PaintRow row = ParsePaintRow(f, 2, 3, false, r);
        if (row == PaintRow::Skip) continue;
        d.full = row == PaintRow::Record && int(d.records.size()) >= room;
        if (row == PaintRow::Bad || d.full) {
            d.badLine = n;
            return d;
        }
        d.records.push_back(r);
    }
    return d;
}

void ShowFileFault(const char* kind, const std::string& path, int line, bool full) {
    const std::string text =
        full ? gui::Format("%s %s の %d 行目：ペイントの回数が上限（%d回）を超えます", kind, path.c_str(), line,
                           PaintStore::PAINT_MAX)
             : gui::Format("%s %s の %d 行目が正しくありません", kind, path.c_str(), line);
    MessageBox(text, kFileError, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void PaintPalette::Write(gui::TextWriter& w) const {
    w.Printf("0x%08x\n", unsigned(back));
    for (TColor c : colours) w.Printf("0x%08x\n", unsigned(c));
    for (uint8_t p : patterns) w.Printf("0x%08x\n", unsigned(p));
}

int PaintPalette::Parse(std::span<const std::string> lines) {
    std::vector<std::string> f;
    for (size_t k = 0; k < LINES; ++k) {
        std::optional<int> v;
        if (k < lines.size() && TMyStr::SplitFields(lines[k], f) > 0) v = TryStrToInt(f[0]);
        if (!v) return int(k) + 1;
        if (k == 0) back = TColor(*v);
        else if (k <= 8) colours[k - 1] = TColor(*v);
        else patterns[k - 9] = uint8_t(*v);
    }
    return 0;
}

PaintRow ParsePaintRow(const std::vector<std::string>& f, size_t colourCol, size_t patternCol, bool patternNeeded,
                       PaintRecord& r) {
    auto given = [&f](size_t k) { return k < f.size() && !f[k].empty(); };
    if (!given(colourCol) || (patternNeeded && !given(patternCol))) return PaintRow::Skip;
    const auto colour = TryStrToInt(f[colourCol]);
    const auto pattern = given(patternCol) ? TryStrToInt(f[patternCol]) : std::optional<int>(0);
    if (!colour || !pattern) return PaintRow::Bad;
    r = {f.size() > 0 ? LenientInt(f[0]) : 0, f.size() > 1 ? LenientInt(f[1]) : 0, TColor(*colour), uint8_t(*pattern)};
    // A point past any map is refused here, so the replay needs no guard.
    return InMapRange(r.x, r.y) ? PaintRow::Record : PaintRow::Bad;
}

PaintPalette TMapPaint::FilePalette() const {
    PaintPalette p;
    p.back = CBBackWhite->Checked() ? TColor(0xFFFFFF) : MainStyle().BackColor;
    std::copy(MainStyle().PaintColor, MainStyle().PaintColor + 8, p.colours);
    std::copy(MainStyle().PaintPattern, MainStyle().PaintPattern + 8, p.patterns);
    return p;
}

void TMapPaint::WireFileHandlers() {
    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->DefaultExt = "pnt";
    SaveDialog1->Filter = "ペイントファイル (*.pnt)|*.pnt|すべて (*.*)|*.*";
    SaveDialog1->OverwritePrompt = true;
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->Filter = "ペイントファイル (*.pnt)|*.pnt|すべて (*.*)|*.*";
    OpenDialog2 = new TOpenDialog(this);
    OpenDialog2->Filter = "ﾍﾟｲﾝﾄﾃﾞｰﾀﾌｧｲﾙ (*.csv)|*.csv|その他 (*.*)|*.*";
    Button2->SetHint("ペイントファイルの読み込み");
    Button3->SetHint("ペイント作業を保存");
    Button24->SetHint("データファイルによるペイント");
    CBAllPaint->SetHint("市区町村名による一括ペイント");
    ComboBox1->SetHint("一括ペイントする市町村名");
    ComboBox1->Sorted = true;
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button24->OnClick = [this](TObject* s) { Button24Click(s); };
    CBAllPaint->OnClick = [this](TObject* s) { CBAllPaintClick(s); };
    BtnAllPaint->OnClick = [this](TObject* s) { BtnAllPaintClick(s); };
}

void TMapPaint::ShowSlot(int slot) {
    TTkBtn* b = SlotButton(slot);
    b->Set_Picture(static_cast<const TBitmap*>(nullptr));
    b->SetColor(MainStyle().PaintColor[slot]);
    if (MainStyle().PaintPattern[slot] != 0) ShowSlotPicture(b, MainStyle().PaintColor[slot], MainStyle().PaintPattern[slot]);
}

void TMapPaint::Button3Click(TObject*) {
    const bool coloursOnly = CBColor->Checked();
    if (coloursOnly && MessageBox("背景色と塗り色のみ保存しますがよろしいですか　　", "ペイントファイル読込",
                                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    TOpen& o = *Open;
    const int n = std::min<int>(PaintStoreOf(o).paint_rep, PaintStore::PAINT_MAX);
    if (!SaveDialog1->Execute()) return;
    const std::string path = SaveDialog1->FileName;
    Label1->SetCaption(path);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        FilePalette().Write(w);
        if (!coloursOnly)
            for (int i = 0; i < n; ++i) {
                const PaintRecord& r = PaintStoreOf(o).PaintRecords[i];
                w.Printf("%8d,%8d,0x%08x,0x%08x\n", r.x, r.y, unsigned(r.colour), unsigned(r.pattern));
            }
        return !w.Failed();
    });
    if (!ok)
        MessageBox(gui::Format("ペイントファイル %s を保存できませんでした", path.c_str()), "ファイル書き込みエラー",
                   MB_OK | MB_ICONEXCLAMATION);
}

void TMapPaint::Button2Click(TObject*) {
    const bool coloursOnly = CBColor->Checked();
    if (coloursOnly && MessageBox("背景色と塗り色のみ読み込みますがよろしいですか　　", "ペイントファイル読込",
                                  MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (!OpenDialog1->Execute()) return;
    const std::string path = OpenDialog1->FileName;
    TOpen& o = *Open;
    const int first = CBAddRead->Checked() ? std::clamp<int>(PaintStoreOf(o).paint_rep, 0, PaintStore::PAINT_MAX) : 0;
    gui::TextReader r;
    if (!r.Open(path)) {
        MessageBox(gui::Format("ペイントファイル %s を読み込むことができません", path.c_str()), "ファイルオープンエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::string> lines;
    for (std::string line; r.ReadLine(line);) lines.push_back(std::move(line));
    r.Close();
    const PaintFileData d = ReadPaintFile(lines, !EndsInLineEnd(path), coloursOnly, PaintStore::PAINT_MAX - first);
    if (d.badLine) {
        ShowFileFault("ペイントファイル", path, d.badLine, d.full);
        return;
    }

    RedrawOnce once;   // the settings' "決　定" and the end of painting both redraw
    Label1->SetCaption(path);
    SaveDialog1->FileName = ExtractFileNameExt(path);
    ApplyFilePalette(d.palette);
    if (coloursOnly) {
        Settei->Button8Click(Settei);
        Button19Click(this);
        return;
    }
    std::copy(d.records.begin(), d.records.end(), PaintStoreOf(o).PaintRecords + first);
    Settei->Button8Click(Settei);
    PaintStoreOf(o).paint_rep = first + int(d.records.size());
    ShowCount();
    // Ending paint mode redraws with the records replayed.
    Button19Click(this);
    Button3->SetEnabled(true);
}

// The white box's handler gives back the chosen colour: the file's colour becomes that one.
void TMapPaint::ApplyFilePalette(const PaintPalette& p) {
    TOpen& o = *Open;
    StyleOf(o).BackColor = StyleOf(o).ChosenBackColor = p.back;
    PaintSwatch(Settei->Image5->Canvas(), p.back, 0);
    const bool white = p.back == 0xFFFFFF;
    CBBackWhite->SetChecked(white);
    Settei->SetWhiteBackground(white);
    for (int i = 0; i < 8; ++i) {
        StyleOf(o).PaintColor[i] = p.colours[i];
        StyleOf(o).PaintPattern[i] = p.patterns[i];
        ShowSlot(i);
    }
}

void TMapPaint::RestorePaint(const std::vector<PaintRecord>& records, const PaintPalette& p) {
    TOpen& o = *Open;
    PaintStoreOf(o).paint_rep = int(std::min<size_t>(records.size(), PaintStore::PAINT_MAX));
    std::copy(records.begin(), records.begin() + PaintStoreOf(o).paint_rep, PaintStoreOf(o).PaintRecords);
    if (PaintStoreOf(o).paint_rep > 0) {
        PaintStoreOf(o).PaintDisplay = true;
        SetCheckedQuietly(CBPaintDisplay, true);
        ShowCount();
        Show();
        // The window as the end of a painting leaves it.
        Button19Click(this);
    } else {
        Close();
    }
    ApplyFilePalette(p);
}

void TMapPaint::AddPaletteEntry(TColor colour, uint8_t pattern) {
    if (DataSlots >= 8) return;
    for (int k = 0; k < DataSlots; ++k)
        if (MainStyle().PaintColor[k] == colour && MainStyle().PaintPattern[k] == pattern) return;
    const int k = DataSlots;
    MainStyle().PaintColor[k] = colour;
    MainStyle().PaintPattern[k] = pattern;
    EditSlot = k;
    ShowSlot(k);
    DataSlots++;
}

void TMapPaint::Button24Click(TObject*) {
    if (!OpenDialog2->Execute()) return;
    const std::string path = OpenDialog2->FileName;
    gui::TextReader r;
    if (!r.Open(path)) {
        MessageBox(gui::Format("ペイントデータファイル %s を読み込むことができません", path.c_str()),
                   "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    constexpr int FIELD_MAX = 100;
    std::string line;
    std::vector<std::string> f;
    int nameCol = -1, colourCol = -1, patternCol = -1;
    if (r.ReadLine(line)) {
        const int n = std::min(TMyStr::SplitCsv(line, f), FIELD_MAX);
        for (int k = 0; k < n; ++k) {
            if (f[k] == "市区町村名") nameCol = k;
            if (f[k] == "カラー") colourCol = k;
            if (f[k] == "パターン") patternCol = k;
        }
    }
    const char* missing = nameCol < 0     ? "データ１行目に「市区町村名」の見出しがありません"
                          : colourCol < 0 ? "データ１行目に「カラー」の見出しがありません"
                          : patternCol < 0 ? "データ１行目に「パターン」の見出しがありません"
                                           : nullptr;
    if (missing) {
        MessageBox(missing, "データエラー", MB_OK);
        return;
    }
    // Every row is checked before the first fill.
    std::vector<PaintRecord> rows;
    for (int n = 2; r.ReadLine(line); ++n) {
        TMyStr::SplitCsv(line, f);
        if (f.size() > size_t(FIELD_MAX)) f.resize(FIELD_MAX);
        PaintRecord row;
        const PaintRow kind = ParsePaintRow(f, colourCol, patternCol, true, row);
        if (kind == PaintRow::Skip) continue;
        const bool full = kind == PaintRow::Record && rows.size() >= size_t(PaintStore::PAINT_MAX);
        if (kind == PaintRow::Bad || full) {
            ShowFileFault("ペイントデータファイル", path, n, full);
            return;
        }
        rows.push_back(row);
    }
    r.Close();

    Label1->SetCaption(path);
    TOpen& o = *Open;
    std::copy(rows.begin(), rows.end(), PaintStoreOf(o).PaintRecords);
    PaintStoreOf(o).paint_rep = int(rows.size());
    // No fills here: ending paint mode below redraws, which floods every record anyway.
    DataSlots = 0;
    for (const PaintRecord& row : rows) AddPaletteEntry(row.colour, row.pattern);
    ShowCount();
    Button19Click(this);
    Button3->SetEnabled(true);
}
