// Map presses for line points, the line editor's openers and the main-form
// controls of this folder's windows.
#include "engine/Uopen.h"
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
    o.FinishTool<LinePointTool>();
    o.DrawMap();
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

void TOpen::N16Click(TObject*) {
    CBYomi->SetChecked(false);
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
    RailLabelCount = 0;
    L->StringGrid2->SetRowCount(std::max<int>(1, int(count + keptFiles.size())));
    // All the files read first, then taken into the table at once: the label
    // grid grows once, not once per file.
    std::vector<LabelRecord> rows, all;
    for (size_t i = 0; i < count; i++) {
        if (L->ParseLabelFile(paths[i], rows)) all.insert(all.end(), rows.begin(), rows.end());
        L->StringGrid2->SetCells(0, int(i), paths[i]);
        L->StringGrid2->SetCells(1, int(i), std::to_string(i));
        RailLabelCount++;
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

    if (L->Label25) L->Label25->SetCaption(std::to_string(RailLabelCount));
    L->UpDown2->Max = std::max(0, RailLabelCount - 1);
    L->Label16->SetCaption(std::to_string(L->LabelCount));
    // The user's labels stay shown or hidden as they were.
    L->LabelPlaced = true;
    CBRailLine->SetEnabled(true);
    Rail->Label2->SetCaption(gui::Format(MainStations ? "%d 主要駅名ファイル" : "%d 駅名ファイル", RailLabelCount));
    Rail->Label3->SetCaption(gui::Format(MainStations ? "%d 主要駅名" : "%d 駅名", L->LabelCount));
    Rail->Label4->SetCaption(paths.empty() ? "" : paths[count ? count - 1 : 0]);
}

void TOpen::ShowStationLabels(bool on) {
    if (on) Letter->CBMark->SetChecked(true);
    Letter->CBShow->SetChecked(on);
}

void TOpen::OpenLabelWindow() { BtnLetterClick(this); }

void TOpen::WireLinesHandlers() {
    AddLinesLayers();
    AreaChange.On(AreaStep::Rails, [this] { RailRoadSet(); });
    QWidget* c = Client();
    // The railway row: "鉄道路線図", "駅名", "主要駅".
    CBRailLine->SetBounds(8 + 8, 377, 96, 20);
    CBEki->SetBounds(8 + 104, 377, 54, 20);
    CBEki->SetEnabled(false);
    CBMain = new TCheckBox(c, "主要駅");
    CBMain->SetBounds(8 + 158, 377, 66, 20);
    CBMain->SetHint("主要駅名のみ表示");
    CBMain->SetEnabled(false);

    // A row more in the tools box for the line editor, the circles and the railway details.
    QWidget* tools = BtnPaint->parentWidget();
    tools->resize(tools->width(), tools->height() + 30);
    QWidget* output = RadioGroup1->parentWidget();
    output->move(output->x(), output->y() + 30);
    BtnLine = new TButton(tools, "地 図 線");
    BtnLine->SetBounds(8, 140, 100, 26);
    BtnLine->SetHint("地図線編集/表示");
    BtnLine->SetEnabled(false);
    Button13 = new TButton(tools, "円");
    Button13->SetBounds(116, 140, 44, 26);
    Button13->SetHint("距離円（同心円）を描く");
    Button13->SetEnabled(false);
    CBRailSet = new TCheckBox(tools, "詳細");
    CBRailSet->SetBounds(164, 143, 56, 20);
    CBRailSet->SetHint("地図線の属性変更");
    CBRailSet->SetEnabled(false);

    N16 = new TMenuItem("任意地図線編集・表示");
    Window1->Add(N16);
    N16->SetEnabled(false);
    NCircle = new TMenuItem("距離円を描く");
    Window1->Add(NCircle);
    RailInfo = new TMenuItem("鉄道路線情報");
    Window1->Add(RailInfo);

    BtnLine->OnClick = [this](TObject* s) { N16Click(s); };
    N16->OnClick = [this](TObject* s) { N16Click(s); };
    Button13->OnClick = [this](TObject* s) { Button13Click(s); };
    NCircle->OnClick = [this](TObject* s) { NCircleClick(s); };
    RailInfo->OnClick = [this](TObject* s) { RailInfoClick(s); };
    CBRailLine->OnClick = [this](TObject* s) { CBRailLineClick(s); };
    CBEki->OnClick = [this](TObject* s) { CBEkiClick(s); };
    CBMain->OnClick = [this](TObject* s) { CBMainClick(s); };
    CBRailSet->OnClick = [this](TObject* s) { CBRailSetClick(s); };

    // The user's line files belong to the old map; the circles stay (map units).
    AreaChange.Work([] { return LineAdd->UserFileCount() > 0; });
    AreaChange.On(AreaStep::Discard, [] {
        LineAdd->LineFileCount = 0;
        LineAdd->Label18->SetCaption("ファイル　なし");
    });
    AreaChange.On(AreaStep::RailsLoaded, [this] {
        LineAdd->AttrTableDirty = 1;
        if (CBRailLine->Checked()) LineAdd->CheckBox2->SetChecked(true);
    });
    AreaChange.On(AreaStep::Drawn, [] {
        LineAdd->AttrTableDirty = 1;
        LineSet->UserColors = 0;
    });
}
