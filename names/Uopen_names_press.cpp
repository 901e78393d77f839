// The map tools of the name-data windows, and this folder's controls of
// the main form with their handlers.
#include "engine/Coords.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
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

namespace {

// The current names first, then the new or the old ones as the old-name box says.
int PickName(TOpen& o, int32_t x, int32_t y, int radius, int& kind) {
    auto near = [&](int32_t px, int32_t py) { return MapGap(px, x) < radius && MapGap(py, y) < radius; };
    kind = 0;
    int i = names::FindNear(o, 0, near);
    if (i >= 0) return i;
    kind = o.CBOldTown->Checked() ? 1 : 2;
    i = names::FindNear(o, kind, near);
    if (i < 0) kind = -1;
    return i;
}

void PickForCorrection(TOpen& o, int32_t x, int32_t y) {
    TStringGrid* g = Correct->StringGrid1;
    const int row = o.EditIndex;
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
    names::NameTable t = names::TableOf(o, kind);
    o.MatchedListKind = kind;
    o.NameIndex = i;
    g->SetCells(0, row, std::to_string(t.x[i]));
    g->SetCells(1, row, std::to_string(t.y[i]));
    g->SetCells(2, row, t.name[i]);
    g->SetCells(3, row, "");
    g->SetCells(4, row, "");
    g->SetRow(row);
    Correct->PickedRow = row;
    o.EditIndex++;
    Correct->Button1->SetEnabled(false);
    Correct->Button2->SetEnabled(true);
    if (auto* t = o.ToolAs<NameCorrectTool>()) t->Pick = false;
    Correct->Label14->Hide();
    Correct->Label15->Show();
    Correct->Label16->SetCaption("　　　　　　クリック");
}

void PickForDeletion(TOpen& o, int32_t x, int32_t y) {
    o.MatchedListKind = -1;
    int kind;
    int i = PickName(o, x, y, 50, kind);
    int32_t px = 0, py = 0;
    std::string name;
    if (i >= 0) {
        names::NameTable t = names::TableOf(o, kind);
        px = t.x[i], py = t.y[i], name = t.name[i];
    } else {
        const int n = std::min<int>(o.ExtraCount, int(o.ExtraX.size()));
        for (int k = 0; k < n; ++k) {
            if (MapGap(o.ExtraX[k], x) < 50 && MapGap(o.ExtraY[k], y) < 50) {
                i = k, kind = 3;
                px = o.ExtraX[k], py = o.ExtraY[k], name = o.ExtraTownName[k];
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
    o.MatchedListKind = kind;
    o.NameIndex = i;
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
    o.FinishTool<NameDeleteTool>();
}

void PlaceCorrectedName(TOpen& o, int32_t x, int32_t y) {
    TStringGrid* g = Correct->StringGrid1;
    // Only the row picked for this step takes the position; once it is gone, nothing does.
    const int row = Correct->PickedRow;
    if (row >= 0 && row < g->RowCount() && o.MatchedListKind >= 0 && o.MatchedListKind <= 2) {
        g->SetCells(3, row, std::to_string(x));
        g->SetCells(4, row, std::to_string(y));
        names::NameTable t = names::TableOf(o, o.MatchedListKind);
        if (o.NameIndex >= 0 && o.NameIndex < t.Count()) {
            t.x[o.NameIndex] = x;
            t.y[o.NameIndex] = y;
        }
    }
    Correct->EndPick();
    Correct->UpdateFileButton();
    Correct->N1->SetEnabled(true);
    o.DrawMap();
    Correct->Label13->SetCaption(std::to_string(o.EditIndex));
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
    if (!Pick && !Place) o.FinishTool<NameCorrectTool>();
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
    o.FinishTool<NameAddTool>();
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

void TOpen::WireNamesHandlers() {
    AddNamesHooks();
    // The program starts on the standard edition's files and leaves them so.
    StartHooks.push_back([this] { RestoreLeftEdition(); });
    ExitHooks.push_back([this] {
        if (AltYear) RestoreStandardEdition();
    });
    QWidget* c = Client();
    // Search and history.
    PopupMenu1 = new TPopupMenu();
    N7 = new TMenuItem("この市区町村名を削除する");
    N8 = new TMenuItem("すべての市区町村名を削除する");
    PopupMenu1->Add(N7);
    PopupMenu1->Add(N8);
    AttachPopupMenu(ComboBox1, PopupMenu1);
    ComboBox1->SetText("市区町村名");
    ComboBox1->SetHint("右クリックで削除できます");
    ComboBox1->setMaxVisibleItems(12);
    ListClear = new TMenuItem("検索した市町村名を空にする");
    Option1->Add(ListClear);
    Label24 = new TLabel(c, "");
    Label24->SetBounds(168, 498, 64, 18);
    Label24->SetFontBold(true);

    ComboBox1->OnChange = [this](TObject* s) { ComboBox1Change(s); };
    Button9->OnClick = [this](TObject* s) { Button9Click(s); };
    N7->OnClick = [this](TObject* s) { N7Click(s); };
    N8->OnClick = [this](TObject* s) { N8Click(s); };
    ListClear->OnClick = [this](TObject* s) { ListClearClick(s); };
    NJikan->OnClick = [this](TObject* s) { NJikanClick(s); };
    NKanji->OnClick = [this](TObject* s) { NKanjiClick(s); };
    CBYomi->OnClick = [this](TObject* s) { CBYomiClick(s); };

    // Name-data correction.
    BtnCorrect = new TButton(c, "位置修正（削除不可）");
    BtnCorrect->SetBounds(8, 592, 140, 26);
    N10 = new TMenuItem("政令指定都市名表示位置編集");
    N11 = new TMenuItem("重複区名・町村名表示位置編集");
    Edit1->Add(N10);
    Edit1->Add(N11);
    N17->SetCaption("市区町村名削除/追加");
    BtnCorrect->OnClick = [this](TObject* s) { BtnCorrectClick(s); };
    N9->OnClick = [this](TObject* s) { N9Click(s); };
    N10->OnClick = [this](TObject* s) { N10Click(s); };
    N11->OnClick = [this](TObject* s) { N11Click(s); };
    N17->OnClick = [this](TObject* s) { N17Click(s); };

    // Boundary-data editions.
    N25 = new TMenuItem("行政区界");
    Option1->Add(N25);
    TMenuItem** items[6] = {&N20021, &N20031, &N20051, &N20081, &N20091, &N20101};
    const char* captions[6] = {"2002年版(&A)", "2003年版(&B)", "2005年版(&C)",
                               "2008年版(&D)", "2009年版(&E)", "2010年版(&F)"};
    for (int i = 0; i < 6; ++i) {
        *items[i] = new TMenuItem(captions[i]);
        N25->Add(*items[i]);
        (*items[i])->OnClick = [this, i](TObject*) { EditionClick(i); };
    }
    N20101->SetChecked(true);

    // The name windows of the old areas go with them; a new choice starts with kana off.
    AreaChange.On(AreaStep::Discard, [] {
        YomiList->Close();
        Search->SearchHighlight = false;
    });
    AreaChange.On(AreaStep::Done, [] {
        Correct->Close();
        Yomi->CBKana->SetChecked(false);
    });
}

void TOpen::ShowIslandSearch() { Search->Show(); }

void TOpen::ShowNameList() { Yomi->Button3Click(Ken); }
