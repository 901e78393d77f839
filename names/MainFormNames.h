// The main form's search, readings, name correction and boundary editions: the names folder's steps over the form.
#pragma once
#include "engine/MainForm.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

struct DrawSettings;
struct MapView;

void BtnCorrectClick(TOpen& o, TObject* Sender);
void N9Click(TOpen& o, TObject* Sender);
void N10Click(TOpen& o, TObject* Sender);
void N11Click(TOpen& o, TObject* Sender);
void N17Click(TOpen& o, TObject* Sender);
bool SelectionHasDuplicateNames(const TOpen& o);
std::string MapFilePath(const TOpen& o, int code);
void EditionClick(TOpen& o, int index);
bool ReplaceBoundaryData(TOpen& o, const std::string& folder);
std::vector<std::string> CopyChangedFiles(TOpen& o, const std::string& dst, const std::string& src, bool& listed,
    bool* mixed = nullptr, bool fillMissing = false);
int CompareFileTimes(const std::string& src, const std::string& dst);
bool RestoreStandardEdition(TOpen& o);
// At start: an earlier edition left on disk by a run that never reached its exit goes.
void RestoreLeftEdition(TOpen& o);
void AddNamesHooks(TOpen& o);
void ShowIslandSearch(TOpen& o);   // "山島検索"
void ShowNameList(TOpen& o);       // the readings list of the one area chosen
void WireNamesHandlers(TOpen& o);
void Button9Click(TOpen& o, TObject* Sender);      // "検　索"
void ComboBox1Change(TOpen& o, TObject* Sender);
bool IsLargeKeName(const std::string& name);
bool IsSmallKeForm(const std::string& name);
std::string ApplyKeRule(const std::string& name);
bool FindCityListEntry(const TOpen& o, const std::string& name, int32_t& pref, int32_t& x, int32_t& y);
int FindNameInMapFile(TOpen& o, int file, const std::string& name, int32_t& x, int32_t& y);
int CollectCandidates(TOpen& o, const std::string& name);
void UpdateSearchHistory(TOpen& o, const std::string& typed);
void ListClearClick(TOpen& o, TObject* Sender);
void N7Click(TOpen& o, TObject* Sender);
void N8Click(TOpen& o, TObject* Sender);
void NJikanClick(TOpen& o, TObject* Sender);
void NKanjiClick(TOpen& o, TObject* Sender);
bool SaveSortedHistory(TOpen& o, int skip = -1);   // the drop-down's entries but row skip, sorted, to the file and back

// What the last search found, read by the search paint, and the name picked from the lists.
struct NameSearch {
    bool SearchFound = false;
    std::string SearchName;
    int32_t SearchX = 0, SearchY = 0;
    static constexpr int CANDIDATE_MAX = 100;
    int32_t CandidatePref[CANDIDATE_MAX] = {}, CandidateX[CANDIDATE_MAX] = {}, CandidateY[CANDIDATE_MAX] = {};
    std::string CandidateLabel[CANDIDATE_MAX];
    int32_t CandidateCount = 0;
    bool FoundAsCurrent = false, FoundAsNew = false, FoundAsOld = false;
    int32_t NameIndex = 0; // picked municipality name
    int32_t MatchedListKind = -1; // -1 none, 0 A names, 1 X names, 2 B names, 3 duplicate names
};
NameSearch& SearchOf(TOpen& o);
// The next row of the correction grid, which the island grid (labels/) shares.
struct EditRow {
    int32_t EditIndex = 0;
};
EditRow& EditRowOf(TOpen& o);
const NameSearch& SearchOf(const TOpen& o);

// The names folder's own controls of the main form: the history's menu, the found name's mark, the correction and edition menus.
struct NameWidgets {
    TPopupMenu* PopupMenu1 = nullptr; // of ComboBox1
    TMenuItem *N7 = nullptr, *N8 = nullptr, *ListClear = nullptr;
    TLabel* Label24 = nullptr; // new/old mark of the found name
    TButton* BtnCorrect = nullptr; // "位置修正（削除不可）"
    TMenuItem *N10 = nullptr, *N11 = nullptr;
    TMenuItem *N25 = nullptr, *N20021 = nullptr, *N20031 = nullptr, *N20051 = nullptr, *N20081 = nullptr,
    *N20091 = nullptr, *N20101 = nullptr;
};
NameWidgets& NameWidgetsOf(TOpen& o);
const NameWidgets& NameWidgetsOf(const TOpen& o);

bool IsAreaSelected(const TOpen& o, int code);
void CBYomiClick(TOpen& o, TObject* Sender);
