// TOpen: saving and restoring the project file. The blocks are the windows'
// own (their folders write, read and apply them); here are their order and the
// restore's phases.
#include "output/Uproject.h"
#include "engine/Uopen.h"
#include "labels/MainFormLabels.h"
#include "gui/Files.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "lines/Ulineadd.h"
#include "navigation/Usettei.h"
#include "paint/PaintTools.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"

std::string ExtractFileNameExt(const std::string& path) { return gui::ExtractFileName(gui::NativePath(path)); }

void SetCheckedQuietly(TCheckBox* box, bool on) {
    TNotifyEvent click = std::move(box->OnClick);
    box->SetChecked(on);
    box->OnClick = std::move(click);
}

bool TOpen::SaveProjectFile(const std::string& path) {
    ProjectData d = ProjectData::Take();
    d.statmap.RelativeTo(path);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        WriteProject(w, d);
        return !w.Failed();
    });
    if (!ok) {
        MessageBox("RVXファイルを書き込めません　　　", "ファイル書き込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ui.Label19->SetCaption(ExtractFileNameExt(path));
    return true;
}

void TOpen::Button1Click(TObject*) {
    if (ui.SaveDialog3->Execute()) SaveProjectFile(ui.SaveDialog3->FileName);
}

namespace {

// Before the area load: a painting under way ends, putting back the user's
// ticks, so that the file's come after. The settings twin of "重複可" follows
// the main box, but the file holds only the main one: its tick is kept.
bool BeforeAreaLoad(TOpen& o) {
    ToolsOf(o).EndTool<PaintTool>();
    return Settei->CBDoubleName->Checked();
}

// After the area load, which ticks the name boxes by the number of areas:
// every block that the railway load does not touch.
void AfterAreaLoad(const ProjectData& d, bool doubleNames, const std::string& path) {
    d.boxes.Apply();
    // Its handler would tick the main box back: the twin alone goes back.
    SetCheckedQuietly(Settei->CBDoubleName, doubleNames);
    d.paint.Apply();
    d.labels.ApplyBeforeRailways();
    d.legend.Apply();
    d.statmap.Apply(path);
    d.insets.Apply();
    d.scaleBar.Apply();
    d.symbols.Apply();
    d.lines.Apply();
    d.circles.Apply();
    d.colours.Apply();
    d.layout.Apply();
}

// After the railway load: the project's labels go back over the station
// labels it read, and the windows show what was restored.
void AfterRailwayLoad(TOpen& o, const ProjectData& d) {
    Settei->FormCreate(Settei);
    o.WriteLog(GateOf(o).ProjectLoading ? "FROMFILE：true\n" : "FROMFILE：false\n");
    d.labels.ApplyAfterRailways(d.boxes.layers[LayerBoxBlock::LABEL]);
    UiOf(o).Button1->SetEnabled(true);
    N161Click(o, &o);
    LineAdd->ShowRestoredFiles();
    UiOf(o).CBRailLine->SetEnabled(true);
    GateOf(o).MapShown = true;
    GateOf(o).DataReady = true;
    UiOf(o).BtnLetter->SetEnabled(true);
    UiOf(o).DUMMY->SetCaption(std::to_string(PagesDlg->PlacedSymbolCount));
    Hanrei->Close();
}

} // namespace

void TOpen::Button10Click(TObject*) {
    if (ui.OpenDialog1->Execute()) RestoreProjectFile(ui.OpenDialog1->FileName);
}

bool TOpen::RestoreProjectFile(const std::string& path) {
    // The whole file is read and checked before anything changes.
    std::vector<std::string> lines;
    {
        gui::TextReader r;
        if (!r.Open(path)) {
            MessageBox("RVXファイルを読み込めません　　　", "ファイル読み込みエラー　", MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        std::string line;
        while (r.ReadLine(line)) lines.push_back(line);
    }
    ProjectData d;
    if (const int bad = ParseProject(lines, d)) {
        MessageBox(gui::Format("RVXファイル %s の %d 行目が正しくありません", path.c_str(), bad),
                   "ファイル読み込みエラー　", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    // The map is drawn once, when everything is back; until then the area load
    // keeps the restored view and nothing is drawn on the map shown now.
    RedrawOnce once;
    struct Loading {
        bool& flag;
        explicit Loading(bool& f) : flag(f) { flag = true; }
        ~Loading() { flag = false; }
    } loading(gate.ProjectLoading);
    const bool doubleNames = BeforeAreaLoad(*this);
    ui.Label19->SetCaption(ExtractFileNameExt(path));
    ui.SaveDialog3->FileName = path;
    WriteLog("\nファイル読み込み\n");
    WriteLog(gui::Format("RVXファイル名：%s\n", path.c_str()));

    d.view.Apply();   // the area load
    AfterAreaLoad(d, doubleNames, path);
    d.rail.Apply();   // the railway load, with the station labels it reads
    AfterRailwayLoad(*this, d);
    // The redraw draws the circles in their own layer, under the lines, symbols and labels.
    DrawMap();
    return true;
}
