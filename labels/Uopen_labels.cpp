// The label layer and the main window's label commands.
#include "engine/Coords.h"
#include <charconv>
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "labels/MainFormLabels.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "labels/Upagesdlg.h"

namespace {

// Whether the label is on the map: a station label may be held back by the railway boxes.
bool LabelDrawn(const LabelRecord& r, const DrawSettings& s) {
    if (!r.shown) return false;
    if (!r.railway) return true;
    if (s.MainStationsOnly && !r.main) return false;
    return !(s.StationKindShown && ((s.StationKind == 1 && !r.jr) || (s.StationKind == 2 && r.jr)));
}

} // namespace

void ReadLabelSettings(const TOpen& o, DrawSettings& s) {
    const TLetter* L = Letter;
    static const float factors[6] = {0.8f, 0.9f, 1.0f, 1.2f, 1.5f, 2.0f};
    const int item = L->RadioGroup2->ItemIndex();
    s.LabelScale = item >= 0 && item < 6 ? factors[item] : 1.0f;
    s.LabelSizeFixed = L->CBFontSizeFixed->Checked();
    s.LabelWhiteBack = L->CBWhiteBack->Checked();
    s.LabelMarks = L->CBMark->Checked();
    s.LabelTexts = L->CBLabel->Checked();
    s.MainStationsOnly = RailControlsOf(o).CBMain && RailControlsOf(o).CBMain->Checked();
    s.StationKindShown = UiOf(o).CBEki->Checked();
    s.StationKind = LineSet && LineSet->RadioGroup2 ? LineSet->RailKindFilter() : 0;
    s.StationCaption = RailControlsOf(o).RailInfo && RailControlsOf(o).RailInfo->Checked() && Rail && Rail->Label6;
}

void TOpen::label_write(int only) {
    DrawSettings s;
    ReadLabelSettings(*this, s);
    DrawLabels(*this, *ui.Image1->Canvas(), DrawnView, s, only);
    if (only < 0) ShowLastStation(s);
}

void ShowLastStation(const DrawSettings& s) {
    if (!s.StationCaption) return;
    const TLetter* L = Letter;
    for (int i = L->LabelCount - 1; i >= 0; --i)
        if (LabelDrawn(L->LabelTable[i], s)) {
            Rail->Label6->SetCaption("駅名　" + std::to_string(i) + "　最終　" + L->LabelTable[i].text);
            return;
        }
}

void DrawLabels(TOpen& o, TCanvas& canvas, const MapView& view, const DrawSettings& s, int only) {
    const TLetter* L = Letter;
    if (only >= L->LabelCount) return;
    if (only < 0) {
        o.LabelLayerCount++;
        o.WriteLog("label_writeの実行\n");
        o.WriteLog(gui::Format("　ラベルリスト行数：%d\n", L->LabelCount));
    }
    const float f = s.LabelScale;
    TCanvas* cv = &canvas;
    cv->Brush->Style = bsSolid;
    std::string log, text;
    char num[16];
    const int first = only < 0 ? 0 : only, end = only < 0 ? L->LabelCount : only + 1;
    for (int i = first; i < end; ++i) {
        const LabelRecord& r = L->LabelTable[i];
        if (!LabelDrawn(r, s)) continue;
        int sx, sy;
        view.ToScreen(r.x, r.y, sx, sy);
        const int fs = s.LabelSizeFixed ? TruncToInt(r.size * f) : TruncToInt(r.size * f * view.size / 600);
        cv->Font->Size = fs;
        cv->Brush->Color = s.LabelWhiteBack ? 0xFFFFFF : StyleOf(o).BackColor;
        const bool red = (L->FoundLabelMark && L->FoundLabelIndex == i) || (L->CenterLabelMark && L->CenterLabelIndex == i);
        cv->Font->Color = red ? 255 : r.color;
        if (size_t(i) >= o.LabelSlots.size()) o.LabelSlots.resize(size_t(i) + 1);
        gui::TextSlot& slot = o.LabelSlots[size_t(i)];
        if (s.LabelMarks) {
            text = r.mark;
            if (s.LabelTexts) text += r.text;
            const int h = fs / 2;
            cv->TextOut(sx - h, sy - h, text, slot);
        } else {
            static const std::string none;
            cv->TextOut(sx, sy, s.LabelTexts ? r.text : none, slot);
        }
        log += "ラベル ";
        log.append(num, std::to_chars(num, num + sizeof num, i).ptr);
        log += " :　";
        log += r.text;
        log += '\n';
    }
    // One write for the whole table keeps the log from slowing the redraw.
    if (only < 0) o.WriteLog(log);
}

void BtnLetterClick(TOpen& o, TObject* Sender) {
    o.LetterShown = true;
    Letter->Button8->SetEnabled(true);
    Letter->Show();
}

void CBLabelClick(TOpen& o, TObject* Sender) {
    if (!UiOf(o).CBLabel->Checked()) {
        Letter->CBShow->SetChecked(false);
        return;
    }
    if (Letter->LabelCount != 0) {
        const int redraws = o.RedrawCount;
        Letter->CBShow->SetChecked(true);
        // A redraw made or due draws the labels itself; inside a held action
        // the labels wait for its one redraw.
        if (o.RedrawCount != redraws || GateOf(o).RedrawWanted) return;
        if (GateOf(o).RedrawHeld > 0) RedrawMap(o);
        else if (o.MapDrawable()) o.label_write();
    } else {
        Letter->Show();
    }
}

void MakeLabelClick(TOpen& o, TObject* Sender) {
    if (MessageBox("現在表示されている市区町村名をラベルファイルとして保存しますか？", "ラベルファイル作成",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    TownNameClick(o, Sender);
}

void N15Click(TOpen& o, TObject* Sender) { OldTownNameClick(o, Sender); }
void TownNameClick(TOpen& o, TObject* Sender) { WriteNameLabels(o, false); }
void OldTownNameClick(TOpen& o, TObject* Sender) { WriteNameLabels(o, true); }

void WriteNameLabels(TOpen& o, bool oldNames) {
    if (!LabelControlsOf(o).SaveDialog2->Execute()) return;
    const std::string path = LabelControlsOf(o).SaveDialog2->FileName;
    bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        auto put = [&](int32_t x, int32_t y, const std::string& name) {
            int sx, sy;
            o.MapToScreen(x, y, sx, sy);
            if (sx < 0 || sx > o.ImageSize || sy < 0 || sy > o.ImageSize) return true;
            return w.Write(gui::Format("○,%d,%d,", x, y) + name + ",8\n");
        };
        if (oldNames) {
            for (int i = 0; i < DocOf(o).OldTownCount; ++i)
                if (DocOf(o).OldTownDup[i] == 's' && !put(DocOf(o).OldTownX[i], DocOf(o).OldTownY[i], DocOf(o).OldTownName[i])) return false;
            return true;
        }
        for (int i = 0; i < DocOf(o).TownCount; ++i)
            if (DocOf(o).TownDup[i] == 's' && !put(DocOf(o).TownX[i], DocOf(o).TownY[i], DocOf(o).TownName[i])) return false;
        for (int i = 0; i < DocOf(o).NewTownCount; ++i)
            if (DocOf(o).NewTownDup[i] == 's' && !put(DocOf(o).NewTownX[i], DocOf(o).NewTownY[i], DocOf(o).NewTownName[i])) return false;
        for (int i = 0; i < DocOf(o).ExtraCount; ++i)
            if (!put(DocOf(o).ExtraX[i], DocOf(o).ExtraY[i], DocOf(o).ExtraTownName[i])) return false;
        return true;
    });
    if (!ok)
        MessageBox(gui::Format("ラベルファイル %s を保存できませんでした", path.c_str()), "ファイル保存エラー",
                   MB_OK | MB_ICONEXCLAMATION);
}
