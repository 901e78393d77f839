// TOpen: the municipality search, its choice among places of one name, and
// the search history of the drop-down.
#include "engine/Coords.h"
#include "engine/FieldScanner.h"
#include "engine/Uopen.h"
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

bool TOpen::IsLargeKeName(const std::string& name) {
    return std::any_of(std::begin(kLargeKe), std::end(kLargeKe), [&](const char* k) { return name == k; });
}

bool TOpen::IsSmallKeForm(const std::string& name) {
    return std::any_of(std::begin(kSmallKe), std::end(kSmallKe), [&](const char* k) { return name == k; });
}

// Five names are spelled with the large ケ in the data, every other with ヶ.
std::string TOpen::ApplyKeRule(const std::string& name) {
    const size_t large = name.find(kLarge), small = name.find(kSmall);
    std::string s = name;
    if (small != std::string::npos) {
        if (IsSmallKeForm(name)) s.replace(small, kSmall.size(), kLarge);
    } else if (large != std::string::npos && !IsLargeKeName(name)) {
        s.replace(large, kLarge.size(), kSmall);
    }
    return s;
}

void TOpen::ComboBox1Change(TObject* Sender) { EdName->SetText(ComboBox1->Text()); }

bool TOpen::FindCityListEntry(const std::string& name, int32_t& pref, int32_t& x, int32_t& y) const {
    const int n = std::min<int>(CityCount, int(CityName.size()));
    for (int i = 0; i < n; ++i) {
        if (CityName[i] != name) continue;
        pref = CityPref[i];
        x = CityX[i];
        y = CityY[i];
        return true;
    }
    return false;
}

int TOpen::FindNameInMapFile(int file, const std::string& name, int32_t& x, int32_t& y) {
    // A duplicated ward is found only through the duplicate list.
    if (IsDuplicateName(name) && ContainsWard(name)) return 0;
    gui::TextReader in;
    if (!in.Open(MapFilePath(file))) return 0;
    FoundAsCurrent = FoundAsNew = FoundAsOld = false;
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
        (kind[0] == 'A' ? FoundAsCurrent : kind[0] == 'B' ? FoundAsNew : FoundAsOld) = true;
        return file;
    }
    return 0;
}

// Where the city list has no such name: the duplicate list, then every map file. Returns the count.
int TOpen::CollectCandidates(const std::string& name) {
    CandidateCount = 0;
    auto add = [this](int32_t pref, int32_t x, int32_t y, const std::string& label) {
        if (CandidateCount >= CANDIDATE_MAX) return;
        CandidatePref[CandidateCount] = pref;
        CandidateX[CandidateCount] = x;
        CandidateY[CandidateCount] = y;
        CandidateLabel[CandidateCount] = label;
        CandidateCount++;
    };
    int skipped = -1;
    const bool ward = ContainsWard(name);
    const int extras = std::min<int>(ExtraCount, int(ExtraTownName.size()));
    for (int i = 0; i < extras; ++i) {
        if (ExtraTownName[i] != name) continue;
        const int32_t pref = ExtraPref[i];
        const std::string area = pref >= 0 && pref < 60 ? AreaName[pref] : std::string();
        add(pref, ExtraX[i], ExtraY[i], ward ? ExtraGroupName[i] : area + "(" + ExtraGroupName[i] + ")");
        if (!ward) skipped = pref;
    }
    for (int f = 1; f <= 52; ++f) {
        int32_t x = 0, y = 0;
        const int r = FindNameInMapFile(f, name, x, y);
        if (r != 0 && r != skipped) add(f, x, y, AreaName[f]);
    }
    return CandidateCount;
}

void TOpen::Button9Click(TObject* Sender) {
    Label31->SetCaption(gui::Format("%8.0f km", 0.0));
    Label15->SetCaption(gui::Format("%7.2f km", 0.0));
    Label17->SetCaption("周長");
    const bool wasReady = DataReady;
    DataReady = false;
    // A search that stops leaves the map as it was, redraw gate included.
    auto stop = [&] { DataReady = wasReady; };
    // The marks describe this search's record only.
    FoundAsCurrent = FoundAsNew = FoundAsOld = false;

    const std::string typed = ComboBox1->Text();
    if (EdName->Text() == kPlaceholder || EdName->Text().empty()) {
        Application->MessageBox("検索する市区町村名を入れてください　　　", "検索データエラー", MB_OK | MB_ICONEXCLAMATION);
        stop();
        return;
    }
    std::string name = ApplyKeRule(EdName->Text());
    EdName->SetText(name);

    int32_t area = 0, px = 0, py = 0;
    SearchFound = FindCityListEntry(name, area, px, py);
    if (!SearchFound) {
        int n = CollectCandidates(name);
        // The data may spell a name the other way (関ケ原町): try once more.
        if (n == 0) {
            const std::string other = SwapFirstKe(name);
            if (other != name) {
                SearchFound = FindCityListEntry(other, area, px, py);
                if (!SearchFound) n = CollectCandidates(other);
                if (SearchFound || n > 0) {
                    name = other;
                    EdName->SetText(name);
                }
            }
        }
        if (!SearchFound && n == 0) {
            Application->MessageBox(gui::Format("'%s' を見つけることはできませんでした　　　　\n'市' '区' '町' '村'をつけてください",
                                                EdName->Text().c_str()),
                                    "検索エラー", MB_OK | MB_ICONQUESTION);
            stop();
            return;
        }
    }

    if (SearchFound) {
        SearchName = name;
        SearchX = px;
        SearchY = py;
        Settei->CBCityName->SetChecked(true);
        Settei->CBKuName->SetChecked(false);
        Settei->CBKu->SetChecked(false);
    } else {
        if (CBMenseki->Checked() && CBTownPaint->Checked()) {
            Keisoku->Label1->SetCaption(gui::Format("%s の面積を計算しています", name.c_str()));
            Keisoku->Show();
            Keisoku->Label1->repaint();
        }
        if (CandidateCount == 1 && !IsDuplicateName(name)) {
            area = CandidatePref[0];
            SearchX = CandidateX[0];
            SearchY = CandidateY[0];
        } else {
            DataCheck->Prepare(name);
            DataCheck->ShowModal();
            if (DataCheck->Chosen < 0) {
                // Closed without a choice: the search ends here.
                Keisoku->Close();
                stop();
                return;
            }
            area = CandidatePref[DataCheck->Chosen];
        }
        // Only a search that goes on changes the name boxes.
        Settei->CBCityName->SetChecked(false);
        Settei->CBKuName->SetChecked(true);
        Settei->CBKu->SetChecked(true);
        // The new/old marks must describe the chosen area's record.
        int32_t x = 0, y = 0;
        FoundAsCurrent = FoundAsNew = FoundAsOld = false;
        FindNameInMapFile(area, name, x, y);
    }

    // Load the chosen area.
    SELECT = 1;
    SelectCode[0] = area;
    Button3Click(this);
    MAGSTEP = 2;
    CBNTownBorder->SetChecked(false);
    // What was found is shown with its borders: without them the redraw drops the names.
    CBPrefBorder->SetChecked(true);
    CBTownBorder->SetChecked(true);
    CBTownName->SetChecked(true);
    if (CBTownPaint->Checked()) {
        Settei->CheckBox13->SetChecked(true);
        CBCenter->SetChecked(false);
    } else {
        Settei->CheckBox13->SetChecked(false);
        CBCenter->SetChecked(true);
    }
    N101->SetChecked(true);
    N051->SetChecked(false);
    N021->SetChecked(false);
    N011->SetChecked(false);
    MAGUNIT = 1.0f;
    CX = SearchX;
    CY = SearchY;
    UpDown1->SetPosition(2);

    const float s = area >= 1 && area <= 52 ? AreaSpanKm[area] : 0.0f;
    if (CBMenseki->Checked()) {
        MAGUNIT = s > 400 ? 1.0f : s > 200 ? 0.5f : 0.2f;
        MAGSTEP = TruncToInt(0.02 * s / MAGUNIT);
        if (MAGSTEP * MAGUNIT < 3.0f) MAGSTEP = TruncToInt(3.01 / MAGUNIT);
    } else {
        MAGSTEP = TruncToInt((area == 46 ? 0.1 : 0.05) / scale);
        if (MAGSTEP < 2) MAGSTEP = 2;
    }
    UpDown1->SetPosition(MAGSTEP);
    Label6->SetCaption(gui::Format("%4.2f", MAGSTEP * MAGUNIT));

    Label24->SetCaption("");
    if (FoundAsNew) {
        CBNTownBorder->SetChecked(false);
        CBOldTown->SetChecked(false);
        Label24->SetFontColor(255);
        Label24->SetCaption("新名称");
    } else if (FoundAsOld) {
        CBNTownBorder->SetChecked(true);
        CBOldTown->SetChecked(true);
        Label24->SetFontColor(65535);
        Label24->SetCaption("旧名称");
    }
    CBOldTown->SetEnabled(true);
    Settei->CBKuDot->SetChecked(!(ContainsWard(name) && CBTownPaint->Checked()));

    DataReady = true;
    DrawMap();
    CBRailLine->SetEnabled(true);
    CBEki->SetEnabled(true);

    UpdateSearchHistory(typed);

    BtnLetter->SetEnabled(true);
    menuPaint->SetEnabled(true);
    Button1->SetEnabled(true);
    MapShown = true;
    MapPaint->CBAllPaint->SetChecked(false);
    MapPaint->ComboBox1->SetText(kPlaceholder);
    Label19->SetCaption("");
    CBYomi->SetEnabled(true);
    CBExp->SetChecked(false);
    Hanrei->Close();
    MapPaint->Close();
}

void TOpen::UpdateSearchHistory(const std::string& typed) {
    TStrings* items = ComboBox1->Items();
    std::vector<std::string> list;
    for (int i = 0; i < items->Count(); ++i) list.push_back(items->Strings(i));
    const int n = int(list.size());
    const int k = std::min(n, 49);
    const int compared = TimeOrder == 1 ? std::min(k, 12) : k;
    if (std::find(list.begin(), list.begin() + compared, typed) != list.begin() + compared) return;

    const std::string text = ComboBox1->Text();
    if (TimeOrder == 1) {
        std::vector<std::string> fresh{typed};
        fresh.insert(fresh.end(), list.begin(), list.begin() + k);
        list = fresh;
        ComboBox1->Sorted = false;
    } else {
        if (k < n) list[k] = typed;
        else list.push_back(typed);
        ComboBox1->Sorted = true;
    }
    items->Clear();
    for (const std::string& s : list) items->Add(s);
    ComboBox1->SetText(text);
}

void TOpen::ListClearClick(TObject* Sender) { ComboBox1->Items()->Clear(); }

void TOpen::N8Click(TObject* Sender) {
    if (Application->MessageBox("検索履歴をすべて削除しますか    ", "検索履歴の削除", MB_OKCANCEL | MB_ICONQUESTION) ==
        IDOK)
        ListClearClick(Sender);
}

void TOpen::N7Click(TObject* Sender) {
    // The name in the box is the one meant: typing leaves the last chosen item current.
    const int sel = ComboBox1->Items()->IndexOf(ComboBox1->Text());
    if (sel < 0) return;
    const std::string name = ComboBox1->Items()->Strings(sel);
    if (Application->MessageBox(gui::Format("%s を検索履歴から削除しますか？     ", name.c_str()), "検索履歴の編集",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    SaveSortedHistory(sel);
}

void TOpen::NJikanClick(TObject* Sender) {
    if (NJikan->Checked()) return;
    NJikan->SetChecked(true);
    NKanji->SetChecked(false);
    TimeOrder = 1;
}

// The list sorted without repeats goes to the history file and back into the drop-down.
bool TOpen::SaveSortedHistory(int skip) {
    TStringList list;
    list.Sorted = true;
    list.IgnoreDuplicates = true;
    for (int i = 0; i < ComboBox1->Items()->Count(); ++i)
        if (i != skip) list.Add(ComboBox1->Items()->Strings(i));
    const std::string path = AppDir + "/mapdata/townlist.lst";
    if (!list.SaveToFile(path)) {
        Application->MessageBox(gui::Format("%s に書き込めません", path.c_str()), "検索履歴の編集",
                                MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const std::string text = ComboBox1->Text();
    ComboBox1->Items()->LoadFromFile(path, HISTORY_NAME_MAX);
    ComboBox1->SetText(text);
    return true;
}

void TOpen::NKanjiClick(TObject* Sender) {
    if (NKanji->Checked()) return;
    NJikan->SetChecked(false);
    NKanji->SetChecked(true);
    TimeOrder = 0;
    SaveSortedHistory();
}
