#include "names/Uyomilist.h"
#include "gui/FormParts.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "names/NameFiles.h"
#include "names/NameTables.h"
#include "names/Uyomi.h"
#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

TYomiList* YomiList = nullptr;

TYomiList::TYomiList() : TForm("　読みがな編集") {
    SetFormStyle(fsStayOnTop);
    StringGrid1 = new TStringGrid(this, 5, 0);
    StringGrid1->FixedRows = 0;
    StringGrid1->FixedCols = 0;
    StringGrid1->SetBounds(8, 8, 380, 360);
    const int widths[5] = {56, 54, 18, 85, 139};
    for (int c = 0; c < 5; ++c) StringGrid1->SetColWidth(c, widths[c]);
    StringGrid1->SetEditable(true);
    PopupMenu1 = new TPopupMenu();
    Towns = new TMenuItem("市役所/町村役場情報");
    kencho = new TMenuItem("都道府県庁情報");
    PopupMenu1->Add(Towns);
    PopupMenu1->Add(kencho);
    AttachPopupMenu(StringGrid1, PopupMenu1);

    auto btn = [this](const std::string& s, int x, int y) { return gui::Btn(this, s, x, y, 100); };
    auto lbl = [this](const std::string& s, int x, int y, int w) { return gui::Lbl(this, s, x, y, w); };
    Button3 = btn("五十音順", 396, 8);
    Label8 = lbl("●", 500, 12, 16);
    Button4 = btn("漢字コード順", 396, 38);
    Label9 = lbl("●", 500, 42, 16);
    Button2 = btn("種　別", 396, 68);
    Label10 = lbl("●", 500, 72, 16);
    Label9->SetVisible(false);
    Label10->SetVisible(false);
    CBGyaku = new TCheckBox(this, "逆順");
    CBGyaku->SetBounds(396, 98, 100, 20);
    CBOldNeg = new TCheckBox(this, "旧市町村名を除く");
    CBOldNeg->SetBounds(396, 120, 130, 20);
    CBKanaHi = new TCheckBox(this, "読みがな（ハイライト）");
    CBKanaHi->SetBounds(396, 142, 160, 20);
    CBKanaHi->SetChecked(true);
    Label7 = lbl("五十音順", 396, 166, 100);
    Label11 = lbl("", 396, 186, 150);
    Label12 = lbl("", 396, 206, 150);
    Button7 = btn("位置修正", 396, 230);
    Button7->SetEnabled(false);
    Button1 = btn("読みがな保存", 396, 260);
    Button8 = btn("情報チェック", 396, 290);
    Button6 = btn("リスト保存", 396, 320);
    Button5 = btn("閉じる", 396, 350);
    SaveDialog1 = new TSaveDialog(this);

    StringGrid1->OnClick = [this](TObject* s) { StringGrid1Click(s); };
    StringGrid1->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { StringGrid1SelectCell(s, c, r, can); };
    StringGrid1->OnSetEditText = [this](TObject* s, int c, int r, const std::string& v) {
        StringGrid1SetEditText(s, c, r, v);
    };
    StringGrid1->OnDblClick = [this](TObject* s) { StringGrid1DblClick(s); };
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
    Button5->OnClick = [this](TObject* s) { Button5Click(s); };
    Button6->OnClick = [this](TObject* s) { Button6Click(s); };
    Button7->OnClick = [this](TObject* s) { Button7Click(s); };
    Button8->OnClick = [this](TObject* s) { Button8Click(s); };
    CBOldNeg->OnClick = [this](TObject* s) { CBOldNegClick(s); };
    Towns->OnClick = [this](TObject* s) { TownsClick(s); };
    kencho->OnClick = [this](TObject* s) { kenchoClick(s); };
    SetClientSize(560, 384);
}

namespace {

struct ListEntry {
    int32_t x, y;
    const char* kind;
    const std::string* name;            // in the name tables
    const std::string* yomi = nullptr;  // in the readings table
    int record = -1;                    // its index there
    int next = -1;                      // next entry of the same name
    std::string key;                    // CP932 bytes of the sort key
    uint64_t head = 0;                  // its first eight bytes, for a quick comparison
};

} // namespace

bool TYomiList::BuildDisplayedNameList() { return BuildDisplayedNameList(DrawnMapView()); }

bool TYomiList::BuildDisplayedNameList(const MapView& view) {
    // Always the names of the view as it is: a list kept from another view
    // would paint, read out and export names no longer on the map.
    TOpen& o = *Open;

    std::vector<ListEntry> list;
    list.reserve(LIST_MAX);
    bool full = false;
    auto add = [&](int32_t x, int32_t y, const char* kind, const std::string& name) {
        if (full) return;
        int sx, sy;
        view.ToScreen(x, y, sx, sy);
        if (sx < 0 || sx > view.size || sy < 0 || sy > view.size) return;
        if (int(list.size()) >= LIST_MAX) {
            full = true;
            return;
        }
        list.push_back({x, y, kind, &name, nullptr, -1, -1, {}, 0});
    };
    const bool ownArea = Ken->NameListMode == 1;
    for (int i = 0; i < std::min<int>(DocOf(o).CityCount, int(DocOf(o).CityName.size())); ++i)
        if (DocOf(o).CityFlag[i] == 0 && (!ownArea || IsAreaSelected(o, DocOf(o).CityPref[i])))
            add(DocOf(o).CityX[i], DocOf(o).CityY[i], "政", DocOf(o).CityName[i]);
    for (int i = 0; i < std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraTownName.size())); ++i)
        if (!ownArea || IsAreaSelected(o, DocOf(o).ExtraPref[i])) add(DocOf(o).ExtraX[i], DocOf(o).ExtraY[i], "重", DocOf(o).ExtraTownName[i]);
    // Only a name of the duplicate list can be left to that list.
    std::unordered_set<std::string> duplicated(DocOf(o).ExtraTownName.begin(),
                                               DocOf(o).ExtraTownName.begin() + std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraTownName.size())));
    auto addTable = [&](int kind, const char* mark, bool skipListed) {
        names::NameTable t = names::TableOf(DocOf(o), kind);
        for (int i = 0; i < t.Count(); ++i) {
            if (t.dup[i] != 's') continue;
            if (skipListed && duplicated.count(t.name[i]) && o.IsListedDuplicateName(i)) continue;
            add(t.x[i], t.y[i], mark, t.name[i]);
        }
    };
    addTable(0, "", true);
    addTable(2, "新", false);
    if (!CBOldNeg->Checked()) addTable(1, "旧", false);
    if (full) return false;

    // The first reading of the same name within 1000 map units: the readings
    // are scanned in table order, each giving itself to the entries it fits.
    std::unordered_map<std::string_view, int> firstOf;
    firstOf.reserve(list.size());
    for (int i = int(list.size()) - 1; i >= 0; --i) {
        auto [it, fresh] = firstOf.try_emplace(*list[i].name, i);
        if (!fresh) {
            list[i].next = it->second;
            it->second = i;
        }
    }
    // A reading away from every listed name fits none: skip it before hashing
    // its name (the whole country's readings against a zoomed view's names).
    int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
    for (const ListEntry& e : list) {
        left = std::min<int64_t>(left, e.x), right = std::max<int64_t>(right, e.x);
        top = std::min<int64_t>(top, e.y), bottom = std::max<int64_t>(bottom, e.y);
    }
    const int yomis = std::min<int>(DocOf(o).YomiCount, int(DocOf(o).YomiRecords.size()));
    for (int k = 0; k < yomis; ++k) {
        const auto& r = DocOf(o).YomiRecords[k];
        if (r.x < left - 1000 || r.x > right + 1000 || r.y < top - 1000 || r.y > bottom + 1000) continue;
        auto it = firstOf.find(r.name);
        if (it == firstOf.end()) continue;
        for (int i = it->second; i >= 0; i = list[i].next)
            if (!list[i].yomi && MapGap(r.x, list[i].x) <= 1000 && MapGap(r.y, list[i].y) <= 1000) {
                list[i].yomi = &r.yomi;
                list[i].record = k;
            }
    }
    static const std::string none;
    const int mode = Yomi->SortMode();
    for (ListEntry& e : list) {
        if (!e.yomi) e.yomi = &none;
        e.key = mode == 2 ? gui::Utf8ToCp932(e.kind) : gui::Utf8ToCp932(mode == 0 ? *e.yomi : *e.name);
        for (size_t k = 0; k < 8; ++k) e.head = e.head << 8 | (k < e.key.size() ? uint8_t(e.key[k]) : 0);
    }
    // Sorted as small (head, index) pairs: most comparisons end at the heads,
    // without a visit to the entries.
    const bool descending = (mode == 2) != CBGyaku->Checked();
    struct Ranked {
        uint64_t head;
        int index;
    };
    std::vector<Ranked> ranked(list.size());
    for (int i = 0; i < int(ranked.size()); ++i) ranked[i] = {list[i].head, i};
    std::sort(ranked.begin(), ranked.end(), [&](const Ranked& x, const Ranked& y) {
        // Unsigned bytes, a shorter prefix first (a zero byte never occurs in the texts).
        const int c = x.head != y.head ? (x.head < y.head ? -1 : 1) : std::string_view(list[x.index].key).compare(list[y.index].key);
        return descending ? c > 0 : c < 0;
    });

    StringGrid1->SetRowCount(int(list.size()));
    RowRecord.assign(list.size(), -1);
    RowEdited.assign(list.size(), 0);
    for (int r = 0; r < int(ranked.size()); ++r) {
        const ListEntry& e = list[ranked[r].index];
        RowRecord[r] = e.record;
        StringGrid1->SetCells(0, r, std::to_string(e.x));
        StringGrid1->SetCells(1, r, std::to_string(e.y));
        StringGrid1->SetCells(2, r, e.kind);
        StringGrid1->SetCells(3, r, *e.name);
        StringGrid1->SetCells(4, r, *e.yomi);
    }
    Label11->SetCaption(std::to_string(list.size()) + " 個の市区町村名");
    StringGrid1->SetRow(0);
    return true;
}

void TYomiList::StringGrid1SelectCell(TObject*, int, int, bool&) { RedrawMap(); }

void TYomiList::StringGrid1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= StringGrid1->RowCount()) return;
    TOpen& o = *Open;
    const int32_t x = LenientInt(StringGrid1->Cells(0, r)), y = LenientInt(StringGrid1->Cells(1, r));
    const std::string kind = StringGrid1->Cells(2, r), name = StringGrid1->Cells(3, r), yomi = StringGrid1->Cells(4, r);
    TCanvas* cv = UiOf(o).Image1->Canvas();
    cv->Brush->Style = bsSolid;
    cv->Brush->Color = 65535;
    cv->Font->Size = StyleOf(o).NameFontSize;
    int sx, sy;
    o.MapToScreen(x, y, sx, sy);
    if (Yomi->CBKana->Checked()) {
        cv->TextOut(sx, sy, yomi);
    } else {
        cv->TextOut(sx, sy, name);
        if (CBKanaHi->Checked()) {
            const int32_t lift = TruncToInt(14.0 * StyleOf(o).NameFontSize / StyleOf(o).NameFontBase / o.ScaleX);
            o.MapToScreen(x, y + lift, sx, sy);
            cv->TextOut(sx, sy, yomi);
        }
    }
    Yomi->ShowNameReading(name, &yomi, kind);
    Label12->SetCaption(name);
    Button7->SetEnabled(true);
}

void TYomiList::StringGrid1SetEditText(TObject*, int, int row, const std::string&) {
    if (row >= 0) {
        if (row >= int(RowEdited.size())) RowEdited.resize(row + 1, 0);
        RowEdited[row] = 1;
    }
    Button1->SetEnabled(true);
}

namespace {

bool StrictInt(const std::string& s, int32_t& v) {
    if (s.empty()) return false;
    size_t i = s[0] == '-' ? 1 : 0;
    if (i == s.size() || s.size() - i > 9) return false;
    for (size_t k = i; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9') return false;
    v = std::stoi(s);
    return true;
}

} // namespace

bool TYomiList::WriteYomiList() {
    TOpen& o = *Open;
    const char* caption = "読みがな保存エラー";
    std::vector<MapDocument::YomiRecord> records(DocOf(o).YomiRecords.begin(),
                                           DocOf(o).YomiRecords.begin() + std::min<int>(DocOf(o).YomiCount, int(DocOf(o).YomiRecords.size())));
    RowRecord.resize(StringGrid1->RowCount(), -1);
    RowEdited.resize(StringGrid1->RowCount(), 0);
    std::vector<int> linked = RowRecord;
    // Only the rows the user edited change their records: a name listed twice
    // (a new and an old one at one point) must not pull its record to the other.
    for (int r = 0; r < StringGrid1->RowCount(); ++r) {
        if (!RowEdited[r]) continue;
        const std::string name = StringGrid1->Cells(3, r), yomi = StringGrid1->Cells(4, r);
        int32_t x, y;
        if (!StrictInt(StringGrid1->Cells(0, r), x) || !StrictInt(StringGrid1->Cells(1, r), y)) {
            Application->MessageBox(gui::Format("%s の座標が整数ではありません　　　", name.c_str()), caption,
                                    MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        // The readings file is split at commas, blanks and tabs.
        if (yomi.find_first_of(", \t") != std::string::npos || name.find_first_of(", \t") != std::string::npos) {
            Application->MessageBox(gui::Format("%s の読みがなに空白，カンマ，タブは使用できません　　　", name.c_str()),
                                    caption, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        // The record the row shows; else the first of its name within 1000 units.
        int k = linked[r];
        if (k < 0 || k >= int(records.size()) || records[k].name != name) {
            auto it = std::find_if(records.begin(), records.end(), [&](const MapDocument::YomiRecord& rec) {
                return rec.name == name && MapGap(rec.x, x) <= 1000 && MapGap(rec.y, y) <= 1000;
            });
            k = it == records.end() ? -1 : int(it - records.begin());
        }
        if (k >= 0) {
            records[k].yomi = yomi;
            records[k].x = x;
            records[k].y = y;
        } else if (int(records.size()) >= TOpen::YOMI_MAX) {
            Application->MessageBox("読みがなデータが多すぎて保存できません　　　", caption, MB_OK | MB_ICONEXCLAMATION);
            return false;
        } else {
            k = int(records.size());
            records.push_back({x, y, name, yomi});
        }
        linked[r] = k;
    }
    const std::string path = DocOf(o).AppDir + "/MApdata/yomi.lst";
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const auto& rec : records)
            if (!w.Printf("%d,%d,%s,%s\n", rec.x, rec.y, rec.name.c_str(), rec.yomi.c_str())) return false;
        return true;
    });
    if (!ok) {
        names::ReportWriteFailure(path, caption);
        return false;
    }
    DocOf(o).YomiRecords = std::move(records);
    DocOf(o).YomiCount = int(DocOf(o).YomiRecords.size());
    RowRecord = std::move(linked);
    RowEdited.assign(RowRecord.size(), 0);
    return true;
}

void TYomiList::Button1Click(TObject* Sender) {
    if (!WriteYomiList()) return;
    Button1->SetEnabled(false);
    Open->LoadYomiList(MainDoc().AppDir + "/mapdata/yomi.lst");
}

void TYomiList::Button7Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= StringGrid1->RowCount()) return;
    const int32_t x = LenientInt(StringGrid1->Cells(0, r)), y = LenientInt(StringGrid1->Cells(1, r));
    const std::string key = gui::Utf8ToCp932(StringGrid1->Cells(3, r));
    const std::string path = MainDoc().AppDir + "/MAPDATA/yomi.lst";
    std::vector<std::string> lines, f;
    bool ok = names::ReadRawLines(path, lines);
    if (ok) {
        for (std::string& l : lines) {
            if (TMyStr::SplitFields(l, f) < 3 || f[2] != key) continue;
            if (MapGap(LenientInt(f[0]), x) >= 2000 || MapGap(LenientInt(f[1]), y) >= 2000) continue;
            l = std::to_string(x) + "," + std::to_string(y) + "," + f[2] + "," + (f.size() > 3 ? f[3] : std::string());
        }
        ok = names::WriteRawLines(path, lines);
    }
    if (!ok) {
        names::ReportWriteFailure(path, "読みがな位置修正");
        return;
    }
    Open->LoadYomiList(path);
    Button7->SetEnabled(false);
}

void TYomiList::SortBy(const char* mode, const char* caption, TLabel* mark) {
    Yomi->Edit1->SetText(mode);
    Label7->SetCaption(caption);
    for (TLabel* l : {Label8, Label9, Label10}) l->SetVisible(l == mark);
    BuildDisplayedNameList();
    StringGrid1->SetRow(0);
}

void TYomiList::Button3Click(TObject*) { SortBy("0", "五十音順", Label8); }
void TYomiList::Button4Click(TObject*) { SortBy("1", "コード順", Label9); }
void TYomiList::Button2Click(TObject*) { SortBy("2", "種別", Label10); }

void TYomiList::CBOldNegClick(TObject* Sender) {
    MainUi().CBNTownBorder->SetChecked(!CBOldNeg->Checked());
    BuildDisplayedNameList();
    StringGrid1->SetRow(0);
}

void TYomiList::Button5Click(TObject*) { Close(); }

void TYomiList::Button6Click(TObject* Sender) {
    SaveDialog1->DefaultExt = "csv";
    SaveDialog1->Filter = "テキストファイル(*.csv)|*.csv|テキストファイル(*.txt)|*.txt|すべて(*.*)|*.*";
    SaveDialog1->InitialDir = MainDoc().AppDir + "/rvxfile";
    SaveDialog1->OverwritePrompt = true;
    if (!SaveDialog1->Execute()) return;
    const std::string path = SaveDialog1->FileName;
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        if (!w.Write("x座標,y座標,種別,市区町村名,読みがな\n")) return false;
        for (int r = 0; r < StringGrid1->RowCount(); ++r)
            if (!w.Printf("%s,%s,%s,%s,%s\n", StringGrid1->Cells(0, r).c_str(), StringGrid1->Cells(1, r).c_str(),
                          StringGrid1->Cells(2, r).c_str(), StringGrid1->Cells(3, r).c_str(),
                          StringGrid1->Cells(4, r).c_str()))
                return false;
        return true;
    });
    if (!ok) names::ReportWriteFailure(path, "リスト保存");
}
