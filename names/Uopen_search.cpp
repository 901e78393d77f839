// TOpen: the municipality search, its choice among places of one name, and
// the search history of the drop-down.
#include "engine/Coords.h"
#include "engine/FieldScanner.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "names/Ucheck.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <algorithm>

namespace {

const char* const kLargeKe[5] = {"金ケ崎町", "龍ケ崎市", "鎌ケ谷市", "袖ケ浦市", "保土ケ谷区"};
const char* const kSmallKe[5] = {"金ヶ崎町", "龍ヶ崎市", "鎌ヶ谷市", "袖ヶ浦市", "保土ヶ谷区"};
const std::string kLarge = "ケ", kSmall = "ヶ";
const char* const kPlaceholder = "市区町村名";

// The name with its first ケ or ヶ (whichever comes first) written the other way.
std::string SwapFirstKe(const std::string& name) {
    const size_t a = name.find(kLarge), b = name.find(kSmall);
    if (a == std::string::npos && b == std::string::npos) return name;
    std::string s = name;
    if (b == std::string::npos || (a != std::string::npos && a < b)) s.replace(a, kLarge.size(), kSmall);
    else s.replace(b, kSmall.size(), kLarge);
    return s;
}

} // namespace

bool IsLargeKeName(const std::string& name) {
    return std::any_of(std::begin(kLargeKe), std::end(kLargeKe), [&](const char* k) { return name == k; });
}

bool IsSmallKeForm(const std::string& name) {
    return std::any_of(std::begin(kSmallKe), std::end(kSmallKe), [&](const char* k) { return name == k; });
}

// Five names are spelled with the large ケ in the data, every other with ヶ.
std::string ApplyKeRule(const std::string& name) {
    const size_t large = name.find(kLarge), small = name.find(kSmall);
    std::string s = name;
    if (small != std::string::npos) {
        if (IsSmallKeForm(name)) s.replace(small, kSmall.size(), kLarge);
    } else if (large != std::string::npos && !IsLargeKeName(name)) {
        s.replace(large, kLarge.size(), kSmall);
    }
    return s;
}

void ComboBox1Change(TOpen& o, TObject* Sender) { UiOf(o).EdName->SetText(UiOf(o).ComboBox1->Text()); }

bool FindCityListEntry(const TOpen& o, const std::string& name, int32_t& pref, int32_t& x, int32_t& y) {
    const int n = std::min<int>(DocOf(o).CityCount, int(DocOf(o).CityName.size()));
    for (int i = 0; i < n; ++i) {
        if (DocOf(o).CityName[i] != name) continue;
        pref = DocOf(o).CityPref[i];
        x = DocOf(o).CityX[i];
        y = DocOf(o).CityY[i];
        return true;
    }
    return false;
}

int FindNameInMapFile(TOpen& o, int file, const std::string& name, int32_t& x, int32_t& y) {
    // A duplicated ward is found only through the duplicate list.
    if (o.IsDuplicateName(name) && ContainsWard(name)) return 0;
    gui::TextReader in;
    if (!in.Open(MapFilePath(o, file))) return 0;
    SearchOf(o).FoundAsCurrent = SearchOf(o).FoundAsNew = SearchOf(o).FoundAsOld = false;
    const std::string key = gui::Utf8ToCp932(name);
    std::string_view line, kind, fx, fy, fname;
    while (in.ReadLineBytes(line)) {
        // Most lines are points; only name records start with a letter.
        size_t i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size() || (line[i] != 'A' && line[i] != 'B' && line[i] != 'X')) continue;
        FieldScanner f(line);
        if (!f.Next(kind) || !f.Next(fx) || !f.Next(fy) || !f.Next(fname) || fname != key) continue;
        x = LenientInt(fx);
        y = LenientInt(fy);
        (kind[0] == 'A' ? SearchOf(o).FoundAsCurrent : kind[0] == 'B' ? SearchOf(o).FoundAsNew : SearchOf(o).FoundAsOld) = true;
        return file;
    }
    return 0;
}

// Where the city list has no such name: the duplicate list, then every map file. Returns the count.
int CollectCandidates(TOpen& o, const std::string& name) {
    SearchOf(o).CandidateCount = 0;
    auto add = [&o](int32_t pref, int32_t x, int32_t y, const std::string& label) {
        if (SearchOf(o).CandidateCount >= NameSearch::CANDIDATE_MAX) return;
        SearchOf(o).CandidatePref[SearchOf(o).CandidateCount] = pref;
        SearchOf(o).CandidateX[SearchOf(o).CandidateCount] = x;
        SearchOf(o).CandidateY[SearchOf(o).CandidateCount] = y;
        SearchOf(o).CandidateLabel[SearchOf(o).CandidateCount] = label;
        SearchOf(o).CandidateCount++;
    };
    int skipped = -1;
    const bool ward = ContainsWard(name);
    const int extras = std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraTownName.size()));
    for (int i = 0; i < extras; ++i) {
        if (DocOf(o).ExtraTownName[i] != name) continue;
        const int32_t pref = DocOf(o).ExtraPref[i];
        const std::string area = pref >= 0 && pref < 60 ? DocOf(o).AreaName[pref] : std::string();
        add(pref, DocOf(o).ExtraX[i], DocOf(o).ExtraY[i], ward ? DocOf(o).ExtraGroupName[i] : area + "(" + DocOf(o).ExtraGroupName[i] + ")");
        if (!ward) skipped = pref;
    }
    for (int f = 1; f <= 52; ++f) {
        int32_t x = 0, y = 0;
        const int r = FindNameInMapFile(o, f, name, x, y);
        if (r != 0 && r != skipped) add(f, x, y, DocOf(o).AreaName[f]);
    }
    return SearchOf(o).CandidateCount;
}

void Button9Click(TOpen& o, TObject* Sender) {
    UiOf(o).Label31->SetCaption(gui::Format("%8.0f km", 0.0));
    UiOf(o).Label15->SetCaption(o.DistanceText(0));
    UiOf(o).Label17->SetCaption("周長");
    const bool wasReady = GateOf(o).DataReady;
    GateOf(o).DataReady = false;
    // A search that stops leaves the map as it was, redraw gate included.
    auto stop = [&] { GateOf(o).DataReady = wasReady; };
    // The marks describe this search's record only.
    SearchOf(o).FoundAsCurrent = SearchOf(o).FoundAsNew = SearchOf(o).FoundAsOld = false;

    const std::string typed = UiOf(o).ComboBox1->Text();
    if (UiOf(o).EdName->Text() == kPlaceholder || UiOf(o).EdName->Text().empty()) {
        Application->MessageBox("検索する市区町村名を入れてください　　　", "検索データエラー", MB_OK | MB_ICONEXCLAMATION);
        stop();
        return;
    }
    std::string name = ApplyKeRule(UiOf(o).EdName->Text());
    UiOf(o).EdName->SetText(name);

    int32_t area = 0, px = 0, py = 0;
    SearchOf(o).SearchFound = FindCityListEntry(o, name, area, px, py);
    if (!SearchOf(o).SearchFound) {
        int n = CollectCandidates(o, name);
        // The data may spell a name the other way (関ケ原町): try once more.
        if (n == 0) {
            const std::string other = SwapFirstKe(name);
            if (other != name) {
                SearchOf(o).SearchFound = FindCityListEntry(o, other, area, px, py);
                if (!SearchOf(o).SearchFound) n = CollectCandidates(o, other);
                if (SearchOf(o).SearchFound || n > 0) {
                    name = other;
                    UiOf(o).EdName->SetText(name);
                }
            }
        }
        if (!SearchOf(o).SearchFound && n == 0) {
            Application->MessageBox(gui::Format("'%s' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください",
                                                UiOf(o).EdName->Text().c_str()),
                                    "検索エラー", MB_OK | MB_ICONQUESTION);
            stop();
            return;
        }
    }

    if (SearchOf(o).SearchFound) {
        SearchOf(o).SearchName = name;
        SearchOf(o).SearchX = px;
        SearchOf(o).SearchY = py;
        Settei->CBCityName->SetChecked(true);
        Settei->CBKuName->SetChecked(false);
        Settei->CBKu->SetChecked(false);
    } else {
        if (UiOf(o).CBMenseki->Checked() && UiOf(o).CBTownPaint->Checked()) {
            Keisoku->Label1->SetCaption(gui::Format("%s の面積を計算しています", name.c_str()));
            Keisoku->Show();
            Keisoku->Label1->repaint();
        }
        if (SearchOf(o).CandidateCount == 1 && !o.IsDuplicateName(name)) {
            area = SearchOf(o).CandidatePref[0];
            SearchOf(o).SearchX = SearchOf(o).CandidateX[0];
            SearchOf(o).SearchY = SearchOf(o).CandidateY[0];
        } else {
            DataCheck->Prepare(name);
            DataCheck->ShowModal();
            if (DataCheck->Chosen < 0) {
                // Closed without a choice: the search ends here.
                Keisoku->Close();
                stop();
                return;
            }
            area = SearchOf(o).CandidatePref[DataCheck->Chosen];
        }
        // Only a search that goes on changes the name boxes.
        Settei->CBCityName->SetChecked(false);
        Settei->CBKuName->SetChecked(true);
        Settei->CBKu->SetChecked(true);
        // The new/old marks must describe the chosen area's record.
        int32_t x = 0, y = 0;
        SearchOf(o).FoundAsCurrent = SearchOf(o).FoundAsNew = SearchOf(o).FoundAsOld = false;
        FindNameInMapFile(o, area, name, x, y);
    }

    // Load the chosen area.
    DocOf(o).SELECT = 1;
    DocOf(o).SelectCode[0] = area;
    o.Button3Click(&o);
    o.MAGSTEP = 2;
    UiOf(o).CBNTownBorder->SetChecked(false);
    // What was found is shown with its borders: without them the redraw drops the names.
    UiOf(o).CBPrefBorder->SetChecked(true);
    UiOf(o).CBTownBorder->SetChecked(true);
    UiOf(o).CBTownName->SetChecked(true);
    if (UiOf(o).CBTownPaint->Checked()) {
        Settei->SetWhiteBackground(true);
        UiOf(o).CBCenter->SetChecked(false);
    } else {
        Settei->SetWhiteBackground(false);
        UiOf(o).CBCenter->SetChecked(true);
    }
    UiOf(o).N101->SetChecked(true);
    UiOf(o).N051->SetChecked(false);
    UiOf(o).N021->SetChecked(false);
    UiOf(o).N011->SetChecked(false);
    o.MAGUNIT = 1.0f;
    o.CX = SearchOf(o).SearchX;
    o.CY = SearchOf(o).SearchY;
    UiOf(o).UpDown1->SetPosition(2);

    const float s = area >= 1 && area <= 52 ? DocOf(o).AreaSpanKm[area] : 0.0f;
    if (UiOf(o).CBMenseki->Checked()) {
        o.MAGUNIT = s > 400 ? 1.0f : s > 200 ? 0.5f : 0.2f;
        o.MAGSTEP = TruncToInt(0.02 * s / o.MAGUNIT);
        if (o.MAGSTEP * o.MAGUNIT < 3.0f) o.MAGSTEP = TruncToInt(3.01 / o.MAGUNIT);
    } else {
        o.MAGSTEP = TruncToInt((area == 46 ? 0.1 : 0.05) / o.scale);
        if (o.MAGSTEP < 2) o.MAGSTEP = 2;
    }
    UiOf(o).UpDown1->SetPosition(o.MAGSTEP);
    UiOf(o).Label6->SetCaption(o.MagnificationText(o.MAGSTEP * o.MAGUNIT));

    NameWidgetsOf(o).Label24->SetCaption("");
    if (SearchOf(o).FoundAsNew) {
        UiOf(o).CBNTownBorder->SetChecked(false);
        UiOf(o).CBOldTown->SetChecked(false);
        NameWidgetsOf(o).Label24->SetFontColor(255);
        NameWidgetsOf(o).Label24->SetCaption("新名称");
    } else if (SearchOf(o).FoundAsOld) {
        UiOf(o).CBNTownBorder->SetChecked(true);
        UiOf(o).CBOldTown->SetChecked(true);
        NameWidgetsOf(o).Label24->SetFontColor(65535);
        NameWidgetsOf(o).Label24->SetCaption("旧名称");
    }
    UiOf(o).CBOldTown->SetEnabled(true);
    Settei->CBKuDot->SetChecked(!(ContainsWard(name) && UiOf(o).CBTownPaint->Checked()));

    GateOf(o).DataReady = true;
    RedrawMap(o);
    UiOf(o).CBRailLine->SetEnabled(true);
    UiOf(o).CBEki->SetEnabled(true);

    UpdateSearchHistory(o, typed);

    UiOf(o).BtnLetter->SetEnabled(true);
    UiOf(o).menuPaint->SetEnabled(true);
    UiOf(o).Button1->SetEnabled(true);
    GateOf(o).MapShown = true;
    MapPaint->CBAllPaint->SetChecked(false);
    MapPaint->ComboBox1->SetText(kPlaceholder);
    UiOf(o).Label19->SetCaption("");
    UiOf(o).CBYomi->SetEnabled(true);
    UiOf(o).CBExp->SetChecked(false);
    Hanrei->Close();
    MapPaint->Close();
}

void UpdateSearchHistory(TOpen& o, const std::string& typed) {
    TStrings* items = UiOf(o).ComboBox1->Items();
    std::vector<std::string> list;
    for (int i = 0; i < items->Count(); ++i) list.push_back(items->Strings(i));
    const int n = int(list.size());
    const int k = std::min(n, 49);
    const int compared = o.TimeOrder == 1 ? std::min(k, 12) : k;
    if (std::find(list.begin(), list.begin() + compared, typed) != list.begin() + compared) return;

    const std::string text = UiOf(o).ComboBox1->Text();
    if (o.TimeOrder == 1) {
        std::vector<std::string> fresh{typed};
        fresh.insert(fresh.end(), list.begin(), list.begin() + k);
        list = fresh;
        UiOf(o).ComboBox1->Sorted = false;
    } else {
        if (k < n) list[k] = typed;
        else list.push_back(typed);
        UiOf(o).ComboBox1->Sorted = true;
    }
    items->Clear();
    for (const std::string& s : list) items->Add(s);
    UiOf(o).ComboBox1->SetText(text);
}

void ListClearClick(TOpen& o, TObject* Sender) { UiOf(o).ComboBox1->Items()->Clear(); }

void N8Click(TOpen& o, TObject* Sender) {
    if (Application->MessageBox("検索履歴をすべて削除しますか    ", "検索履歴の削除", MB_OKCANCEL | MB_ICONQUESTION) ==
        IDOK)
        ListClearClick(o, Sender);
}

void N7Click(TOpen& o, TObject* Sender) {
    // The name in the box is the one meant: typing leaves the last chosen item current.
    const int sel = UiOf(o).ComboBox1->Items()->IndexOf(UiOf(o).ComboBox1->Text());
    if (sel < 0) return;
    const std::string name = UiOf(o).ComboBox1->Items()->Strings(sel);
    if (Application->MessageBox(gui::Format("%s を検索履歴から削除しますか？     ", name.c_str()), "検索履歴の編集",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    SaveSortedHistory(o, sel);
}

void NJikanClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).NJikan->Checked()) return;
    UiOf(o).NJikan->SetChecked(true);
    UiOf(o).NKanji->SetChecked(false);
    o.TimeOrder = 1;
}

// The list sorted without repeats goes to the history file and back into the drop-down.
bool SaveSortedHistory(TOpen& o, int skip) {
    TStringList list;
    list.Sorted = true;
    list.IgnoreDuplicates = true;
    for (int i = 0; i < UiOf(o).ComboBox1->Items()->Count(); ++i)
        if (i != skip) list.Add(UiOf(o).ComboBox1->Items()->Strings(i));
    const std::string path = DocOf(o).AppDir + "/mapdata/townlist.lst";
    if (!list.SaveToFile(path)) {
        Application->MessageBox(gui::Format("%s に書き込めません", path.c_str()), "検索履歴の編集",
                                MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const std::string text = UiOf(o).ComboBox1->Text();
    UiOf(o).ComboBox1->Items()->LoadFromFile(path, HISTORY_NAME_MAX);
    UiOf(o).ComboBox1->SetText(text);
    return true;
}

void NKanjiClick(TOpen& o, TObject* Sender) {
    if (UiOf(o).NKanji->Checked()) return;
    UiOf(o).NJikan->SetChecked(false);
    UiOf(o).NKanji->SetChecked(true);
    o.TimeOrder = 0;
    SaveSortedHistory(o);
}

NameSearch& SearchOf(TOpen& o) { return PartsOf(o).Get<NameSearch>(); }
const NameSearch& SearchOf(const TOpen& o) { return PartsOf(o).Get<NameSearch>(); }

NameWidgets& NameWidgetsOf(TOpen& o) { return PartsOf(o).Get<NameWidgets>(); }
const NameWidgets& NameWidgetsOf(const TOpen& o) { return PartsOf(o).Get<NameWidgets>(); }
