// Map presses handed over to the label, prefecture-name, island and symbol windows,
// the island edit list, and the main window's controls of this folder.
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "labels/MainFormLabels.h"
#include "labels/LabelTools.h"
#include "labels/Uischange.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefset.h"
#include "gui/Files.h"
#include "names/MainFormNames.h"

// ---- symbols ----

TForm* StampTool::Owner() const { return PagesDlg; }

bool StampTool::Press(const MapEvent& e) {
    TPagesDlg* P = PagesDlg;
    if (P->StampDisabled) {
        MessageBox("スタンプ機能は現在無効になっています．　　　　\n有効ボタンをクリックしてスタンプ機能を有効にしてください．　　　　",
                   "スタンプ機能", MB_OK | MB_ICONEXCLAMATION);
        P->DropStamp();
        return false;
    }
    int32_t x, y;
    if (Typed) {
        x = P->TypedX, y = P->TypedY;
        Typed = false;
    } else {
        // The cursor's point lies 16 pixels right of and below the pointer.
        e.view.ToData(e.X + 16, e.Y + 16, x, y);
    }
    P->FullReported = false;
    if (P->AddPlacedSymbol(x, y)) {
        P->MissingReported = false;
        P->DrawSymbol(P->PlacedSymbols[P->PlacedSymbolCount - 1]);
    }
    P->Button6->SetEnabled(true);
    return false;
}

bool StampTool::Move(const MapEvent& e) {
    o.PointerMoved(e.X, e.Y, 16);
    return true;
}

void StampTool::End() { PagesDlg->EndStamp(); }

// ---- prefecture names ----

TForm* PrefNameTool::Owner() const { return PrefSet; }

bool PrefNameTool::Press(const MapEvent& e) {
    TLetter* L = Letter;
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    if (!Picked) {
        const int32_t r = TruncToInt(20 / o.ScaleX);
        for (int i = 0; i < L->PrefNameCount; ++i) {
            const LabelRecord& rec = L->PrefNameTable[i];
            if (MapGap(rec.x, x) < r && MapGap(rec.y, y) < r) {
                PrefSet->PrefNameIndex = i;
                PrefSet->Label6->SetCaption(rec.text + " の移動する位置をクリックしてください");
                Picked = true;
                return false;
            }
        }
        PrefSet->Label6->SetCaption("県名はありません");
        return false;
    }
    const int i = PrefSet->PrefNameIndex;
    if (i >= 0 && i < L->PrefNameCount) {
        L->PrefNameTable[i].x = x;
        L->PrefNameTable[i].y = y;
    }
    Finished = true;
    ToolsOf(o).EndActiveTool();
    RedrawMap(o);
    PrefSet->Label6->SetCaption("移動しました");
    PrefSet->Button6->SetEnabled(true);
    PrefSet->Button7->SetEnabled(false);
    return true;
}

void PrefNameTool::End() {
    if (!Finished) PrefSet->Button7Click(PrefSet);
}

// ---- island names ----

TForm* IslandTool::Owner() const { return IsChange; }

bool IslandTool::Press(const MapEvent& e) {
    // A pick and a place armed together both take the press, the pick first.
    if (Pick) PickAt(e);
    if (Place) PlaceAt(e);
    if (!Pick && !Place) {
        Finished = true;
        ToolsOf(o).EndActiveTool();
    }
    return true;
}

void IslandTool::PickAt(const MapEvent& e) {
    TIsChange* I = IsChange;
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    const int row = EditRowOf(o).EditIndex;
    I->StringGrid1->SetRowCount(row + 1);
    I->StringGrid1->SetCells(0, row, std::to_string(x));
    I->StringGrid1->SetCells(1, row, std::to_string(y));
    for (int i = 0; i < IslandsOf(o).IslandCount; ++i) {
        int sx, sy;
        e.view.ToScreen(IslandsOf(o).IslandRecords[i].x, IslandsOf(o).IslandRecords[i].y, sx, sy);
        if (std::abs(e.X - sx) <= 5 && std::abs(e.Y - sy) <= 5) {
            I->StringGrid1->SetCells(2, row, IslandsOf(o).IslandRecords[i].text);
            I->Button1->SetEnabled(false);
            I->Button2->SetEnabled(true);
            I->Label15->Hide();
            I->Label14->Show();
            I->Label16->SetCaption("クリック");
            IslandsOf(o).IslandIndex = i;
            Pick = false;
            return;
        }
    }
    I->StringGrid1->SetCells(2, row, "該当なし");
}

void IslandTool::PlaceAt(const MapEvent& e) {
    TIsChange* I = IsChange;
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    Place = false;
    if (IslandsOf(o).IslandIndex < 0 || IslandsOf(o).IslandIndex >= IslandsOf(o).IslandCount) return;
    I->StringGrid1->SetCells(3, EditRowOf(o).EditIndex, std::to_string(x));
    I->StringGrid1->SetCells(4, EditRowOf(o).EditIndex, std::to_string(y));
    IslandEdit::IslandRecord& rec = IslandsOf(o).IslandRecords[IslandsOf(o).IslandIndex];
    const int32_t oldX = rec.x, oldY = rec.y;
    rec.x = x, rec.y = y;
    if (!WriteIslandFile(o)) {
        // The file keeps the old position, so the list does too.
        rec.x = oldX, rec.y = oldY;
        MessageBox(gui::Format("島名ファイル %s を書き込むことができません", IslandsOf(o).IslandFilePath.c_str()),
                   "ファイル保存エラー", MB_OK | MB_ICONEXCLAMATION);
    } else {
        RedrawMap(o);
        EditRowOf(o).EditIndex++;
        I->Label13->SetCaption(std::to_string(EditRowOf(o).EditIndex));
    }
    I->Label15->Show();
    I->Label14->Hide();
    I->Button1->SetEnabled(true);
    I->Button2->SetEnabled(false);
    I->Label16->SetCaption("クリック");
}

void IslandTool::End() {
    if (!Finished) IsChange->Button3Click(IsChange);
}

// ---- labels ----

TForm* LabelTool::Owner() const { return Letter; }

bool LabelTool::Press(const MapEvent& e) {
    TLetter* L = Letter;
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    // A label being moved while a new one is placed waits for the press after.
    if (NewLabel) {
        NewLabel = false;
        Settle();
        if (!L->AddNewLabel(x, y)) return false;
        L->ShowCount();
        RedrawMap(o);
        return false;
    }
    const int i = L->RowOfLabel(L->LabelMoveId, L->LabelMoveIndex);
    if (i >= 0) {
        L->LabelTable[i].x = x;
        L->LabelTable[i].y = y;
        L->ShowTable();
    }
    L->LabelPlaced = true;
    MoveLabel = false;
    L->Button4Click(L);
    Settle();
    return true;
}

bool LabelTool::Move(const MapEvent& e) {
    if (!NewLabel) return false;
    const TOpen::MapPoint p = o.PointAt(e.X, e.Y);
    o.ShowPointerReadout(p.x, p.y);
    UiOf(o).Label15->SetCaption(TOpen::DistanceText(0));
    o.DistStartX = e.X;
    o.DistStartY = e.Y;
    return true;
}

void LabelTool::Settle() {
    if (NewLabel || MoveLabel || ToolsOf(o).ToolAs<LabelTool>() != this) return;
    Finished = true;
    ToolsOf(o).EndActiveTool();
}

void LabelTool::End() {
    if (!Finished) Letter->EndPlacing();
}

bool WriteIslandFile(TOpen& o) {
    if (IslandsOf(o).IslandFilePath.empty()) return false;
    return gui::AtomicRewrite(IslandsOf(o).IslandFilePath, [&](gui::TextWriter& w) {
        for (int i = 0; i < IslandsOf(o).IslandCount; ++i) {
            const IslandEdit::IslandRecord& r = IslandsOf(o).IslandRecords[i];
            if (!w.Write(r.mark + gui::Format(",%d,%d,", r.x, r.y) + r.text + gui::Format(",%d,%d\n", r.a, r.b)))
                return false;
        }
        return true;
    });
}

std::string IslandEditPath(const TOpen& o) {
    if (DocOf(o).SELECT != 1) return "";
    const int c = DocOf(o).SelectCode[0];
    const std::string name = c >= 0 && c < 60 ? DocOf(o).AreaName[c] : std::string();
    return gui::NativePath(DocOf(o).AppDir + gui::Format("/Mapdata/Islands/%02d", c) + name + "島.lbl");
}

void EndIslandEdit(TOpen& o) {
    ToolsOf(o).EndTool<IslandTool>();
    IslandsOf(o).IslandIndex = -1;
    IslandsOf(o).IslandRecords.clear();
    IslandsOf(o).IslandCount = 0;
    IslandsOf(o).IslandFilePath.clear();
}

void IslandAreaLoaded(TOpen& o) {
    const bool editing = IsChange->Visible() || !IslandsOf(o).IslandFilePath.empty();
    if (editing && IslandsOf(o).IslandFilePath != IslandEditPath(o)) IsChange->Button5Click(IsChange);
}

void LoadIslandEditList(TOpen& o) {
    // Whatever was armed belongs to the list before: it ends here, loaded or not.
    EndIslandEdit(o);
    if (DocOf(o).SELECT >= 2) {
        MessageBox("複数の都府県にまたがっていますので，表示位置の変更はできますが，\n変更位置を保存することはできません",
                   "市区町村名表示位置編集", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const std::string path = IslandEditPath(o);
    const int c = DocOf(o).SelectCode[0];
    const std::string name = c >= 0 && c < 60 ? DocOf(o).AreaName[c] : std::string();
    IsChange->Show();
    IsChange->Label1->SetCaption(path);
    IsChange->Label4->SetCaption(name);
    gui::TextReader in;
    if (!in.Open(path)) {
        MessageBox("島名ファイルがありません　　　　", "ファイル指定エラー", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Read whole before anything changes: a file that cannot be written back as read is not edited.
    std::vector<IslandEdit::IslandRecord> recs;
    std::vector<std::string> f;
    std::string line;
    int lineNo = 0;
    while (in.ReadLine(line)) {
        ++lineNo;
        int n = TMyStr::SplitFields(line, f);
        IslandEdit::IslandRecord r;
        bool ok = n >= 6 && int(recs.size()) < IslandEdit::ISLAND_MAX;
        try {
            if (ok) r.x = StrToInt(f[1]), r.y = StrToInt(f[2]), r.a = StrToInt(f[4]), r.b = StrToInt(f[5]);
        } catch (const EConvertError&) {
            ok = false;
        }
        if (!ok) {
            MessageBox(gui::Format("島名ファイルの %d 行目を読めないため，表示位置を編集できません", lineNo),
                       "ファイル指定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        r.mark = f[0];
        r.text = f[3];
        recs.push_back(r);
    }
    IslandsOf(o).IslandRecords = std::move(recs);
    IslandsOf(o).IslandCount = int32_t(IslandsOf(o).IslandRecords.size());
    IslandsOf(o).IslandFilePath = path;
    EditRowOf(o).EditIndex = 0;
    IsChange->Label13->SetCaption("0");
    IsChange->StringGrid1->SetRowCount(1);
    for (int k = 0; k < 5; ++k) IsChange->StringGrid1->SetCells(k, 0, "");
    IsChange->Label15->Show();
    IsChange->Label14->Hide();
    IsChange->Label16->SetCaption("クリック");
}

void WireLabelsHandlers(TOpen& o) {
    AddLabelsLayers(o);
    UiOf(o).BtnLetter->SetHint("任意の文字を表示");
    UiOf(o).BtnLetter->OnClick = [&o](TObject* s) { BtnLetterClick(o, s); };
    UiOf(o).CBLabel->SetHint("ラベル(駅名)表示/非表示");
    UiOf(o).CBLabel->OnClick = [&o](TObject* s) { CBLabelClick(o, s); };
    UiOf(o).MakeLabel->OnClick = [&o](TObject* s) { MakeLabelClick(o, s); };
    UiOf(o).N15->OnClick = [&o](TObject* s) { N15Click(o, s); };
    UiOf(o).BtnMark->SetHint("地図に記号を描く");
    UiOf(o).BtnMark->OnClick = [&o](TObject* s) { BtnMarkClick(o, s); };
    UiOf(o).N18->OnClick = [&o](TObject* s) { BtnMarkClick(o, s); };
    LabelControlsOf(o).SaveDialog2 = new TSaveDialog(&o);
    LabelControlsOf(o).SaveDialog2->DefaultExt = "lbl";
    LabelControlsOf(o).SaveDialog2->Filter = "ラベルファイル (*.lbl)|*.lbl|すべて (*.*)|*.*";

    auto item = [](TMenuItem* parent, const std::string& caption) {
        auto* m = new TMenuItem(caption);
        parent->Add(m);
        return m;
    };
    auto* menu = new TMenuItem("記号(&M)");
    UiOf(o).MainMenu1->Add(menu);
    LabelControlsOf(o).N23 = item(menu, "記号パレットを開く");
    auto* sizes = item(menu, "地図記号サイズ");
    LabelControlsOf(o).N161 = item(sizes, "標準　16");
    LabelControlsOf(o).N161->SetChecked(true);
    LabelControlsOf(o).N141 = item(sizes, "小　　 14");
    LabelControlsOf(o).N181 = item(sizes, "大 　　18");
    LabelControlsOf(o).N19 = item(menu, "カスタム記号を削除する");
    LabelControlsOf(o).N20 = item(menu, "カスタム記号を呼び出す");
    LabelControlsOf(o).N21 = item(menu, "カスタム記号を保存する");
    LabelControlsOf(o).N23->OnClick = [&o](TObject* s) { N23Click(o, s); };
    LabelControlsOf(o).N161->OnClick = [&o](TObject* s) { N161Click(o, s); };
    LabelControlsOf(o).N141->OnClick = [&o](TObject* s) { N141Click(o, s); };
    LabelControlsOf(o).N181->OnClick = [&o](TObject* s) { N181Click(o, s); };
    LabelControlsOf(o).N19->OnClick = [&o](TObject* s) { N19Click(o, s); };
    LabelControlsOf(o).N20->OnClick = [&o](TObject* s) { N20Click(o, s); };
    LabelControlsOf(o).N21->OnClick = [&o](TObject* s) { N21Click(o, s); };

    // The user's labels and symbols belong to the old map; station labels come
    // again from the railway data of the new areas.
    HooksOf(o).AreaChange.Work([] {
        for (int i = 0; i < Letter->LabelCount; i++)
            if (!Letter->LabelTable[i].railway) return true;
        return PagesDlg->PlacedSymbolCount > 0;
    });
    HooksOf(o).AreaChange.On(AreaStep::Discard, [] {
        Letter->Close();
        Letter->ClearLabels();
        PagesDlg->PlacedSymbolCount = 0;
    });
    HooksOf(o).AreaChange.On(AreaStep::Loaded, [&o] {
        PrefSet->Button6->SetEnabled(false);
        Letter->FormCreate(Letter);
        IslandAreaLoaded(o);
        PrefSet->Label6->SetCaption("");
    });
}

void BtnMarkClick(TOpen& o, TObject* Sender) {
    TPagesDlg* P = PagesDlg;
    P->Show();
    if (P->PlacedSymbolCount == 0) return;
    if (MessageBox("地図記号はすでに描かれています．新規に描きますか？　　　　　　\n追加する場合は「キャンセル」を選んでください",
                   "地図記号を描く", MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        P->PlacedSymbolCount = 0;
        RedrawMap(o);
        P->EnableListButtons(false);
    } else {
        for (TButton* b : {P->Button1, P->Button2, P->Button10}) b->SetEnabled(true);
    }
}

void N23Click(TOpen& o, TObject* Sender) { BtnMarkClick(o, Sender); }

void N161Click(TOpen& o, TObject* Sender) {
    PagesDlg->CheckBox1->SetChecked(true);
    LabelControlsOf(o).N161->SetChecked(true);
    LabelControlsOf(o).N141->SetChecked(false);
    LabelControlsOf(o).N181->SetChecked(false);
    PagesDlg->SymbolSize = 16;
    PagesDlg->LabelSize->SetCaption("標準");
}

void N141Click(TOpen& o, TObject* Sender) {
    PagesDlg->CheckBox1->SetChecked(false);
    LabelControlsOf(o).N161->SetChecked(false);
    LabelControlsOf(o).N141->SetChecked(true);
    LabelControlsOf(o).N181->SetChecked(false);
    PagesDlg->SymbolSize = 14;
    PagesDlg->LabelSize->SetCaption("小");
}

void N181Click(TOpen& o, TObject* Sender) {
    LabelControlsOf(o).N161->SetChecked(false);
    LabelControlsOf(o).N141->SetChecked(false);
    LabelControlsOf(o).N181->SetChecked(true);
    PagesDlg->SymbolSize = 18;
    PagesDlg->LabelSize->SetCaption("大");
}

void N19Click(TOpen& o, TObject* Sender) { PagesDlg->DeleteCustomSymbols(); }
void N20Click(TOpen& o, TObject* Sender) { PagesDlg->ImportCustomSymbols(); }
void N21Click(TOpen& o, TObject* Sender) { PagesDlg->ExportCustomSymbols(); }

IslandEdit& IslandsOf(TOpen& o) { return PartsOf(o).Get<IslandEdit>(); }
const IslandEdit& IslandsOf(const TOpen& o) { return PartsOf(o).Get<IslandEdit>(); }

LabelControls& LabelControlsOf(TOpen& o) { return PartsOf(o).Get<LabelControls>(); }
const LabelControls& LabelControlsOf(const TOpen& o) { return PartsOf(o).Get<LabelControls>(); }
