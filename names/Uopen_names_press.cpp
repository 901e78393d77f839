// The map tools of the name-data windows, and this folder's controls of
// the main form with their handlers.
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/FeatureHooks.h"
#include "engine/MapTool.h"
#include "names/MainFormNames.h"
#include "names/NameTables.h"
#include "names/NameTools.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Usearch.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "names/Utoshi.h"
#include <cstdlib>
#include "engine/MainControls.h"
#include "engine/MapDocument.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"
#include "engine/FeatureParts.h"
#include "engine/MainForm.h"

namespace {

// The current names first, then the new or the old ones as the old-name box says.
int PickName(TOpen& o, int32_t x, int32_t y, int radius, int& kind) {
    auto near = [&](int32_t px, int32_t py) { return MapGap(px, x) < radius && MapGap(py, y) < radius; };
    kind = 0;
    int i = names::FindNear(DocOf(o), 0, near);
    if (i >= 0) return i;
    kind = UiOf(o).CBOldTown->Checked() ? 1 : 2;
    i = names::FindNear(DocOf(o), kind, near);
    if (i < 0) kind = -1;
    return i;
}

void PickForCorrection(TOpen& o, int32_t x, int32_t y) {
    TStringGrid* g = Correct->StringGrid1;
    const int row = EditRowOf(o).EditIndex;
    g->SetRowCount(row + 1);
    g->SetCells(0, row, std::to_string(x));
    g->SetCells(1, row, std::to_string(y));
    int kind;
    const int i = PickName(o, x, y, 100, kind);
    if (i < 0) {
        g->SetCells(2, row, "該当なし");
        g->SetCells(3, row, "");
        g->SetCells(4, row, "");
        return;
    }
    names::NameTable t = names::TableOf(DocOf(o), kind);
    SearchOf(o).MatchedListKind = kind;
    SearchOf(o).NameIndex = i;
    g->SetCells(0, row, std::to_string(t.x[i]));
    g->SetCells(1, row, std::to_string(t.y[i]));
    g->SetCells(2, row, t.name[i]);
    g->SetCells(3, row, "");
    g->SetCells(4, row, "");
    g->SetRow(row);
    Correct->PickedRow = row;
    EditRowOf(o).EditIndex++;
    Correct->Button1->SetEnabled(false);
    Correct->Button2->SetEnabled(true);
    if (auto* t = ToolsOf(o).ToolAs<NameCorrectTool>()) t->Pick = false;
    Correct->Label14->Hide();
    Correct->Label15->Show();
    Correct->Label16->SetCaption("　　　　　　クリック");
}

void PickForDeletion(TOpen& o, int32_t x, int32_t y) {
    SearchOf(o).MatchedListKind = -1;
    int kind;
    int i = PickName(o, x, y, 50, kind);
    int32_t px = 0, py = 0;
    std::string name;
    if (i >= 0) {
        names::NameTable t = names::TableOf(DocOf(o), kind);
        px = t.x[i], py = t.y[i], name = t.name[i];
    } else {
        const int n = std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraX.size()));
        for (int k = 0; k < n; ++k) {
            if (MapGap(DocOf(o).ExtraX[k], x) < 50 && MapGap(DocOf(o).ExtraY[k], y) < 50) {
                i = k, kind = 3;
                px = DocOf(o).ExtraX[k], py = DocOf(o).ExtraY[k], name = DocOf(o).ExtraTownName[k];
                break;
            }
        }
    }
    if (i < 0) {
        NameDel->Label4->SetCaption("該当なし");
        NameDel->Label5->SetCaption("");
        NameDel->Label6->SetCaption("");
        NameDel->Label3->Hide();
        return;
    }
    SearchOf(o).MatchedListKind = kind;
    SearchOf(o).NameIndex = i;
    NameDel->Label4->SetCaption(std::to_string(px));
    NameDel->Label5->SetCaption(std::to_string(py));
    NameDel->Label6->SetCaption(name);
    if (kind == 3) {
        NameDel->Label7->SetCaption("重複名のため削除できません");
        return;
    }
    NameDel->Label7->SetCaption("削除ボタンをクリック");
    NameDel->Button2->SetEnabled(false);
    NameDel->Button3->SetEnabled(true);
    ToolsOf(o).FinishTool<NameDeleteTool>();
}

void PlaceCorrectedName(TOpen& o, int32_t x, int32_t y) {
    TStringGrid* g = Correct->StringGrid1;
    // Only the row picked for this step takes the position; once it is gone, nothing does.
    const int row = Correct->PickedRow;
    if (row >= 0 && row < g->RowCount() && SearchOf(o).MatchedListKind >= 0 && SearchOf(o).MatchedListKind <= 2) {
        g->SetCells(3, row, std::to_string(x));
        g->SetCells(4, row, std::to_string(y));
        names::NameTable t = names::TableOf(DocOf(o), SearchOf(o).MatchedListKind);
        if (SearchOf(o).NameIndex >= 0 && SearchOf(o).NameIndex < t.Count()) {
            t.x[SearchOf(o).NameIndex] = x;
            t.y[SearchOf(o).NameIndex] = y;
        }
    }
    Correct->EndPick();
    Correct->UpdateFileButton();
    Correct->N1->SetEnabled(true);
    RedrawMap(o);
    Correct->Label13->SetCaption(std::to_string(EditRowOf(o).EditIndex));
    Correct->Label16->SetCaption("クリック");
}

} // namespace

// ---- name correction ----

TForm* NameCorrectTool::Owner() const { return Correct; }

bool NameCorrectTool::Press(const MapEvent& e) {
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    // A name picked waits for "位置指定": the press after it places the name.
    if (Pick) PickForCorrection(o, x, y);
    else if (Place) PlaceCorrectedName(o, x, y);
    // Picked: nothing waits until "位置指定" arms the place.
    if (!Pick && !Place) ToolsOf(o).FinishTool<NameCorrectTool>();
    return false;
}

void NameCorrectTool::End() {
    if (!Finished) Correct->EndPick();
}

// ---- names added and deleted ----

TForm* NameAddTool::Owner() const { return NameDel; }

bool NameAddTool::Press(const MapEvent& e) {
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    NameDel->Label10->SetCaption(std::to_string(x));
    NameDel->Label11->SetCaption(std::to_string(y));
    NameDel->Button5->SetEnabled(true);
    ToolsOf(o).FinishTool<NameAddTool>();
    NameDel->Label12->SetCaption("追加ボタンをクリック");
    return false;
}

void NameAddTool::End() {
    if (!Finished) NameDel->Button7Click(NameDel);
}

TForm* NameDeleteTool::Owner() const { return NameDel; }

bool NameDeleteTool::Press(const MapEvent& e) {
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    PickForDeletion(o, x, y);
    return false;
}

void NameDeleteTool::End() {
    if (!Finished) NameDel->Button6Click(NameDel);
}

void WireNamesHandlers(TOpen& o) {
    AddNamesHooks(o);
    // The program starts on the standard edition's files and leaves them so.
    HooksOf(o).StartHooks.push_back([&o] { RestoreLeftEdition(o); });
    HooksOf(o).ExitHooks.push_back([&o] {
        if (DocOf(o).AltYear) RestoreStandardEdition(o);
    });
    QWidget* c = FormOf(o).Client();
    // Search and history.
    NameWidgetsOf(o).PopupMenu1 = new TPopupMenu();
    NameWidgetsOf(o).N7 = new TMenuItem("この市区町村名を削除する");
    NameWidgetsOf(o).N8 = new TMenuItem("すべての市区町村名を削除する");
    NameWidgetsOf(o).PopupMenu1->Add(NameWidgetsOf(o).N7);
    NameWidgetsOf(o).PopupMenu1->Add(NameWidgetsOf(o).N8);
    AttachPopupMenu(UiOf(o).ComboBox1, NameWidgetsOf(o).PopupMenu1);
    UiOf(o).ComboBox1->SetText("市区町村名");
    UiOf(o).ComboBox1->SetHint("右クリックで削除できます");
    UiOf(o).ComboBox1->setMaxVisibleItems(12);
    NameWidgetsOf(o).ListClear = new TMenuItem("検索した市町村名を空にする");
    UiOf(o).Option1->Add(NameWidgetsOf(o).ListClear);
    NameWidgetsOf(o).Label24 = new TLabel(c, "");
    NameWidgetsOf(o).Label24->SetBounds(168, 498, 64, 18);
    NameWidgetsOf(o).Label24->SetFontBold(true);

    UiOf(o).ComboBox1->OnChange = [&o](TObject* s) { ComboBox1Change(o, s); };
    UiOf(o).Button9->OnClick = [&o](TObject* s) { Button9Click(o, s); };
    NameWidgetsOf(o).N7->OnClick = [&o](TObject* s) { N7Click(o, s); };
    NameWidgetsOf(o).N8->OnClick = [&o](TObject* s) { N8Click(o, s); };
    NameWidgetsOf(o).ListClear->OnClick = [&o](TObject* s) { ListClearClick(o, s); };
    UiOf(o).NJikan->OnClick = [&o](TObject* s) { NJikanClick(o, s); };
    UiOf(o).NKanji->OnClick = [&o](TObject* s) { NKanjiClick(o, s); };
    UiOf(o).CBYomi->OnClick = [&o](TObject* s) { CBYomiClick(o, s); };

    // Name-data correction.
    NameWidgetsOf(o).BtnCorrect = new TButton(c, "位置修正（削除不可）");
    NameWidgetsOf(o).BtnCorrect->SetBounds(8, 592, 140, 26);
    NameWidgetsOf(o).N10 = new TMenuItem("政令指定都市名表示位置編集");
    NameWidgetsOf(o).N11 = new TMenuItem("重複区名・町村名表示位置編集");
    UiOf(o).Edit1->Add(NameWidgetsOf(o).N10);
    UiOf(o).Edit1->Add(NameWidgetsOf(o).N11);
    UiOf(o).N17->SetCaption("市区町村名削除/追加");
    NameWidgetsOf(o).BtnCorrect->OnClick = [&o](TObject* s) { BtnCorrectClick(o, s); };
    UiOf(o).N9->OnClick = [&o](TObject* s) { N9Click(o, s); };
    NameWidgetsOf(o).N10->OnClick = [&o](TObject* s) { N10Click(o, s); };
    NameWidgetsOf(o).N11->OnClick = [&o](TObject* s) { N11Click(o, s); };
    UiOf(o).N17->OnClick = [&o](TObject* s) { N17Click(o, s); };

    // Boundary-data editions.
    NameWidgetsOf(o).N25 = new TMenuItem("行政区界");
    UiOf(o).Option1->Add(NameWidgetsOf(o).N25);
    TMenuItem** items[6] = {&NameWidgetsOf(o).N20021, &NameWidgetsOf(o).N20031, &NameWidgetsOf(o).N20051, &NameWidgetsOf(o).N20081, &NameWidgetsOf(o).N20091, &NameWidgetsOf(o).N20101};
    const char* captions[6] = {"2002年版(&A)", "2003年版(&B)", "2005年版(&C)",
                               "2008年版(&D)", "2009年版(&E)", "2010年版(&F)"};
    for (int i = 0; i < 6; ++i) {
        *items[i] = new TMenuItem(captions[i]);
        NameWidgetsOf(o).N25->Add(*items[i]);
        (*items[i])->OnClick = [&o, i](TObject*) { EditionClick(o, i); };
    }
    NameWidgetsOf(o).N20101->SetChecked(true);

    // The name windows of the old areas go with them; a new choice starts with kana off.
    HooksOf(o).AreaChange.On(AreaStep::Discard, [] {
        YomiList->Close();
        Search->SearchHighlight = false;
    });
    HooksOf(o).AreaChange.On(AreaStep::Done, [] {
        Correct->Close();
        Yomi->CBKana->SetChecked(false);
    });
}

void ShowIslandSearch(TOpen& o) { Search->Show(); }

void ShowNameList(TOpen& o) { Yomi->Button3Click(Ken); }

EditRow& EditRowOf(TOpen& o) { return PartsOf(o).Get<EditRow>(); }
