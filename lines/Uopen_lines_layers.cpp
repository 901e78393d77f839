// The lines folder's layers: the line files under and over the paint, the
// distance circles and the edited line; and the line windows' part of the redraw.
#include "engine/FeatureHooks.h"
#include "lines/MainFormLines.h"
#include "lines/Ukyori.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"

namespace {

// The user's files changed on disk are read again and the colours numbered,
// once per redraw, before either line layer draws.
void RefreshLineFiles() {
    LineAdd->ReadChangedUserFiles();
    LineAdd->NumberLineFiles();
}

void PaintLineFiles(TCanvas& cv, const MapView& view, const DrawSettings& s) {
    LineAdd->PaintLineFiles(cv, view, s.RailLines, s.RailColourRule);
}

} // namespace

void AddLinesLayers(TOpen& o) {
    HooksOf(o).SettingsReaders.push_back([](DrawSettings& s) {
        s.LineFilesShown = LineAdd->CheckBox2->Checked();
        s.LinesUnderPaint = LineAdd->PaintLine && LineAdd->LineFileCount > 0;
        s.EditLineOnce = LineAdd->EditLineRedraw;
        s.EditLineShown = LineAdd->CheckBox3->Checked() && LineAdd->EditLineShown;
        s.Circles = Kyori->CheckBox4->Checked();
        s.RailColourRule = LineSet->RailColourRule();
        LineAdd->ReadLook(s);
    });
    HooksOf(o).Layers.Add(
        LayerPlace::LinesUnder, [](const DrawSettings& s) { return s.LineFilesShown && s.LinesUnderPaint; },
        PaintLineFiles, [](const DrawSettings&) { RefreshLineFiles(); });
    HooksOf(o).Layers.Add(
        LayerPlace::LinesOver, [](const DrawSettings& s) { return s.LineFilesShown && !s.Painting; },
        PaintLineFiles,
        [](const DrawSettings& s) {
            if (!(s.MapWrite && s.LinesUnderPaint)) RefreshLineFiles();
        });
    HooksOf(o).Layers.Add(
        LayerPlace::Circles, [](const DrawSettings& s) { return s.Circles; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings&) { DrawDistanceCircles(o, cv, v); });
    HooksOf(o).Layers.Add(
        LayerPlace::EditLineOnce, [](const DrawSettings& s) { return s.EditLineOnce; },
        [](TCanvas& cv, const MapView& v, const DrawSettings& s) { LineAdd->DrawEditLine(cv, v, s); },
        [](const DrawSettings&) { LineAdd->EditLineRedraw = false; });
    HooksOf(o).Layers.Add(
        LayerPlace::EditLineShown, [](const DrawSettings& s) { return s.EditLineShown; },
        [](TCanvas& cv, const MapView& v, const DrawSettings& s) { LineAdd->DrawEditLine(cv, v, s); });

    HooksOf(o).AfterRedrawHooks.push_back([](const DrawSettings& s) {
        if (!s.Circles) Kyori->Label6->SetCaption("距離円は非表示です");
        else Kyori->Label6->SetCaption(Kyori->CheckBox6->Checked() ? "距離円を追加しました" : "距離円を描きました");
        // The two tables show the files as this redraw numbered them.
        if (s.LineFilesShown && (!s.Painting || (s.MapWrite && s.LinesUnderPaint))) {
            LineSet->ShowLines();
            Rail->ShowLines();
        }
    });
    HooksOf(o).ExitChecks.push_back([] {
        return !(LineAdd->PointCount() > 1 && !LineAdd->LineSaved) ||
               Application->MessageBox(
                   "編集された線データが保存されていませんが，Rovanaを終了してもよろしいですか？　　　　",
                   "線データ新規作成", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
    });
    HooksOf(o).EditLineColour = [] { return TColor(LineAdd->LineColor); };
    HooksOf(o).ToolWindowClosers.push_back([] { LineAdd->Close(); });
}
