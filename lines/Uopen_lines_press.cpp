// Map presses for line points, the line editor's openers and the main-form
// controls of this folder's windows.
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "labels/MainFormLabels.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "lines/LineTools.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "navigation/Usettei.h"

TForm* LinePointTool::Owner() const { return LineAdd; }

bool LinePointTool::Press(const MapEvent& e) {
    TLineAdd* la = LineAdd;
    int32_t x, y;
    e.view.ToData(e.X, e.Y, x, y);
    if (kind == Append) {
        const int n = la->PointCount();
        la->SetPoint(n, {x, y});
        la->DrawEditLine();
        la->StringGrid1->SetRow(n);
        la->UpDown1->Max = n + 1;
        la->UpDown1->SetPosition(n);
        la->Label7->SetCaption(std::to_string(n + 1) + " 番目の点を指定してください");
        la->LineSaved = 0;
        return false;
    }
    const int i = la->SelectedPoint;
    const Kind done = kind;
    la->SetPoint(i, {x, y});
    ToolsOf(o).FinishTool<LinePointTool>();
    RedrawMap(o);
    if (done == Insert) {
        la->DrawEditLine();
        la->StringGrid1->SetRow(i);
        la->EnablePointControls();
        la->Label7->SetCaption("挿入しました");
    } else {
        la->StringGrid1->SetRow(i < la->PointCount() - 1 ? i + 1 : i);
        la->StringGrid1Click(la->StringGrid1);
        la->EnablePointControls();
        la->Label7->SetCaption("移動しました");
    }
    return false;
}

void LinePointTool::End() {
    if (!Finished) LineAdd->EndPointMode(kind);
}

void N16Click(TOpen& o, TObject*) {
    UiOf(o).CBYomi->SetChecked(false);
    LineAdd->OpenEditor();
}

// The station files replace the station labels; labels the user placed or
// read from own files are kept after them, with their files after the station files.
void TOpen::LoadStationFiles(const std::vector<std::string>& paths) {
    TLetter* L = Letter;
    std::vector<LabelRecord> kept;
    for (int i = 0; i < L->LabelCount; i++)
        if (!L->LabelTable[i].railway) kept.push_back(std::move(L->LabelTable[i]));
    std::vector<std::string> keptFiles;
    for (int i = 0; i < L->LabelFileCount && i < int(L->LabelFiles.size()); i++)
        if (L->LabelFiles[i].find("鉄道路線") == std::string::npos) keptFiles.push_back(L->LabelFiles[i]);

    const size_t room = LABEL_FILE_MAX - std::min<size_t>(keptFiles.size(), LABEL_FILE_MAX);
    const size_t count = std::min(paths.size(), room);
    if (count < paths.size())
        MessageBox(gui::Format("ラベルファイルは %d 個までです", LABEL_FILE_MAX), "ラベルデータエラー",
                   MB_OK | MB_ICONEXCLAMATION);
    L->LabelFiles.assign(paths.begin(), paths.begin() + count);
    L->LabelFileCount = int32_t(count);
    L->LabelCount = 0;
    L->FullReported = false;
    RailOf(*this).RailLabelCount = 0;
    L->StringGrid2->SetRowCount(std::max<int>(1, int(count + keptFiles.size())));
    // All the files read first, then taken into the table at once: the label
    // grid grows once, not once per file.
    std::vector<LabelRecord> rows, all;
    for (size_t i = 0; i < count; i++) {
        if (L->ParseLabelFile(paths[i], rows)) all.insert(all.end(), rows.begin(), rows.end());
        L->StringGrid2->SetCells(0, int(i), paths[i]);
        L->StringGrid2->SetCells(1, int(i), std::to_string(i));
        RailOf(*this).RailLabelCount++;
    }
    L->AppendLabels(all);
    // The labels kept are the same labels: each goes on with its id.
    for (const LabelRecord& r : kept)
        if (!L->AppendRow(r)) break;
    for (const std::string& f : keptFiles) {
        L->StringGrid2->SetCells(0, L->LabelFileCount, f);
        L->LabelFiles.push_back(f);
        L->LabelFileCount++;
    }
    L->ShowTable();

    if (L->Label25) L->Label25->SetCaption(std::to_string(RailOf(*this).RailLabelCount));
    L->UpDown2->Max = std::max(0, RailOf(*this).RailLabelCount - 1);
    L->Label16->SetCaption(std::to_string(L->LabelCount));
    // The user's labels stay shown or hidden as they were.
    L->LabelPlaced = true;
    ui.CBRailLine->SetEnabled(true);
    Rail->Label2->SetCaption(gui::Format(MainStations ? "%d 主要駅名ファイル" : "%d 駅名ファイル", RailOf(*this).RailLabelCount));
    Rail->Label3->SetCaption(gui::Format(MainStations ? "%d 主要駅名" : "%d 駅名", L->LabelCount));
    Rail->Label4->SetCaption(paths.empty() ? "" : paths[count ? count - 1 : 0]);
}

void TOpen::ShowStationLabels(bool on) {
    if (on) Letter->CBMark->SetChecked(true);
    Letter->CBShow->SetChecked(on);
}

void TOpen::OpenLabelWindow() { BtnLetterClick(*this, this); }

void WireLinesHandlers(TOpen& o) {
    AddLinesLayers(o);
    HooksOf(o).AreaChange.On(AreaStep::Rails, [&o] { o.RailRoadSet(); });
    QWidget* c = FormOf(o).Client();
    // The railway row: "鉄道路線図", "駅名", "主要駅".
    UiOf(o).CBRailLine->SetBounds(8 + 8, 377, 96, 20);
    UiOf(o).CBEki->SetBounds(8 + 104, 377, 54, 20);
    UiOf(o).CBEki->SetEnabled(false);
    RailControlsOf(o).CBMain = new TCheckBox(c, "主要駅");
    RailControlsOf(o).CBMain->SetBounds(8 + 158, 377, 66, 20);
    RailControlsOf(o).CBMain->SetHint("主要駅名のみ表示");
    RailControlsOf(o).CBMain->SetEnabled(false);

    // A row more in the tools box for the line editor, the circles and the railway details.
    QWidget* tools = UiOf(o).BtnPaint->parentWidget();
    tools->resize(tools->width(), tools->height() + 30);
    QWidget* output = UiOf(o).RadioGroup1->parentWidget();
    output->move(output->x(), output->y() + 30);
    UiOf(o).BtnLine = new TButton(tools, "地 図 線");
    UiOf(o).BtnLine->SetBounds(8, 140, 100, 26);
    UiOf(o).BtnLine->SetHint("地図線編集/表示");
    UiOf(o).BtnLine->SetEnabled(false);
    UiOf(o).Button13 = new TButton(tools, "円");
    UiOf(o).Button13->SetBounds(116, 140, 44, 26);
    UiOf(o).Button13->SetHint("距離円（同心円）を描く");
    UiOf(o).Button13->SetEnabled(false);
    RailControlsOf(o).CBRailSet = new TCheckBox(tools, "詳細");
    RailControlsOf(o).CBRailSet->SetBounds(164, 143, 56, 20);
    RailControlsOf(o).CBRailSet->SetHint("地図線の属性変更");
    RailControlsOf(o).CBRailSet->SetEnabled(false);

    UiOf(o).N16 = new TMenuItem("任意地図線編集・表示");
    UiOf(o).Window1->Add(UiOf(o).N16);
    UiOf(o).N16->SetEnabled(false);
    UiOf(o).NCircle = new TMenuItem("距離円を描く");
    UiOf(o).Window1->Add(UiOf(o).NCircle);
    RailControlsOf(o).RailInfo = new TMenuItem("鉄道路線情報");
    UiOf(o).Window1->Add(RailControlsOf(o).RailInfo);

    UiOf(o).BtnLine->OnClick = [&o](TObject* s) { N16Click(o, s); };
    UiOf(o).N16->OnClick = [&o](TObject* s) { N16Click(o, s); };
    UiOf(o).Button13->OnClick = [&o](TObject* s) { Button13Click(o, s); };
    UiOf(o).NCircle->OnClick = [&o](TObject* s) { NCircleClick(o, s); };
    RailControlsOf(o).RailInfo->OnClick = [&o](TObject* s) { o.RailInfoClick(s); };
    UiOf(o).CBRailLine->OnClick = [&o](TObject* s) { o.CBRailLineClick(s); };
    UiOf(o).CBEki->OnClick = [&o](TObject* s) { o.CBEkiClick(s); };
    RailControlsOf(o).CBMain->OnClick = [&o](TObject* s) { o.CBMainClick(s); };
    RailControlsOf(o).CBRailSet->OnClick = [&o](TObject* s) { o.CBRailSetClick(s); };

    // The user's line files belong to the old map; the circles stay (map units).
    HooksOf(o).AreaChange.Work([] { return LineAdd->UserFileCount() > 0; });
    HooksOf(o).AreaChange.On(AreaStep::Discard, [] {
        LineAdd->LineFileCount = 0;
        LineAdd->Label18->SetCaption("ファイル　なし");
    });
    HooksOf(o).AreaChange.On(AreaStep::RailsLoaded, [&o] {
        LineAdd->AttrTableDirty = 1;
        if (UiOf(o).CBRailLine->Checked()) LineAdd->CheckBox2->SetChecked(true);
    });
    HooksOf(o).AreaChange.On(AreaStep::Drawn, [] {
        LineAdd->AttrTableDirty = 1;
        LineSet->UserColors = 0;
    });
}

RailLoad& RailOf(TOpen& o) { return PartsOf(o).Get<RailLoad>(); }
const RailLoad& RailOf(const TOpen& o) { return PartsOf(o).Get<RailLoad>(); }

RailControls& RailControlsOf(TOpen& o) { return PartsOf(o).Get<RailControls>(); }
const RailControls& RailControlsOf(const TOpen& o) { return PartsOf(o).Get<RailControls>(); }
