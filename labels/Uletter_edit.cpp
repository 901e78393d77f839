// Editing the label table: adding, deleting, moving, colours, sizes, sorting, finding.
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include "labels/Uinlabel.h"
#include "labels/LabelTools.h"
#include "labels/Uletter.h"
#include <algorithm>
#include <numeric>

void TLetter::Button2Click(TObject* Sender) {
    // A press on the map places the label: any other tool ends first.
    if (RadioGroup1->ItemIndex() <= 0 && !MainTools().ToolAs<LabelTool>()) MainTools().EndActiveTool();
    Button3->SetEnabled(true);
    Button4->SetEnabled(true);
    Button8->SetEnabled(true);
    MainUi().CBLabel->SetChecked(true);
    const int method = RadioGroup1->ItemIndex();
    int32_t x = 0, y = 0;
    if (method <= 0) {
        Label8->SetCaption("ラベル表示位置をクリック");
        MainTools().ArmTool<LabelTool>(*Open).NewLabel = true;
        LabelPlaced = true;
        ShowCount();
        return;
    }
    if (method == 1) {
        if (Edit2->Text().empty() || Edit3->Text().empty()) {
            MessageBox("経緯度が設定されておりません　　　", "経緯度設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        std::string lonText = Edit2->Text(), latText = Edit3->Text();
        const std::optional<float> lon = ParseDdmmss(lonText);
        if (!lon) return TellDdmmssError();
        if (*lon < 120 || *lon > 160) {
            MessageBox("設定された経度は正しくありません　　　", "経緯度設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        x = TruncToInt((*lon - 122) * 10000);
        const std::optional<float> lat = ParseDdmmss(latText);
        if (!lat) return TellDdmmssError();
        if (*lat < 20 || *lat > 60) {
            MessageBox("設定された緯度は正しくありません　　　", "経緯度設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        y = TruncToInt((*lat - 24) * 15000);
        // Typed as the pointer read-out shows it: in the datum the map is drawn in.
        DrawnMapView().TypedToData(x, y);
    } else {
        // An empty text is no number either.
        if (!CellInt(Edit2->Text(), x) || !CellInt(Edit3->Text(), y)) {
            MessageBox("XまたはY座標が設定されておりません　　　", "X,Y座標設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    if (AddNewLabel(x, y)) {
        LabelPlaced = true;
        RedrawMap();
    }
    ShowCount();
}

void TLetter::Button8Click(TObject* Sender) {
    if (MessageBox("全てのラベルを削除してもいいですか？", "全ラベル削除", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    LabelCount = 0;
    ShowTable();
    ShowCount();
    RedrawMap();
    Button3->SetEnabled(false);
    Button8->SetEnabled(false);
    Button14->SetEnabled(true);
}

void TLetter::RemoveLabelClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r >= 0 && r < LabelCount) {
        if (MessageBox(gui::Format("ラベル '%s' を削除しますか？", LabelTable[r].text.c_str()), "ラベル削除",
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
            std::move(LabelTable.begin() + r + 1, LabelTable.begin() + LabelCount, LabelTable.begin() + r);
            LabelCount--;
            ShowTable();
            Button3->SetEnabled(true);
        }
    }
    Button4Click(Sender);
}

void TLetter::EndPlacing() {
    // The tool's end comes back here once it is no longer armed.
    if (MainTools().ToolAs<LabelTool>()) return MainTools().EndActiveTool();
    Label8->SetCaption("位置指定ボタンをクリック");
}

void TLetter::N1Click(TObject* Sender) {
    if (LabelCount < 1) return;
    LabelMoveIndex = StringGrid1->Row();
    LabelMoveId = LabelMoveIndex >= 0 && LabelMoveIndex < LabelCount ? LabelTable[LabelMoveIndex].id : 0;
    MainTools().ArmTool<LabelTool>(*Open).MoveLabel = true;
    Button3->SetEnabled(true);
}

void TLetter::Button6Click(TObject* Sender) {
    ColorDialog1->Color = MainStyle().LabelColor;
    if (!ColorDialog1->Execute()) return;
    MainStyle().LabelColor = ColorDialog1->Color;
    FillSwatch();
    RedrawMap();
}

namespace {
// The colour and size changes ask under one caption, the size's too.
bool AskChange(const char* question) {
    return MessageBox(question, "ラベル文字色変更", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}
} // namespace

void TLetter::Button11Click(TObject* Sender) {
    if (!AskChange("すべてのラベルの文字色を現在設定されている文字色に変更しますか？　　　　")) return;
    for (int i = 0; i < LabelCount; ++i) LabelTable[i].color = MainStyle().LabelColor;
    RedrawMap();
}

void TLetter::N2Click(TObject* Sender) {
    if (!AskChange("このラベルの文字色を現在設定されている文字色に変更しますか？　　　　")) return;
    const int r = StringGrid1->Row();
    if (r >= 0 && r < LabelCount) LabelTable[r].color = MainStyle().LabelColor;
    RedrawMap();
}

void TLetter::Button12Click(TObject* Sender) {
    if (!AskChange("すべてのラベルの文字サイズを現在設定されているサイズに変更しますか？　　　　")) return;
    const int32_t size = UpDown1->Position();
    for (int i = 0; i < LabelCount; ++i) LabelTable[i].size = size;
    ShowTable();
    RedrawMap();
}

// Stable: labels of equal keys keep their order.
void TLetter::SortRows(bool byFileNo) {
    const int n = LabelCount;
    if (n <= 1) return;
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (byFileNo) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return LabelTable[a].fileNo < LabelTable[b].fileNo; });
    } else {
        // Code order: the texts' CP932 bytes.
        std::vector<std::string> keys(n);
        for (int i = 0; i < n; ++i) keys[i] = gui::Utf8ToCp932(LabelTable[i].text);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    }
    std::vector<LabelRecord> sorted(n);
    for (int i = 0; i < n; ++i) {
        sorted[i] = std::move(LabelTable[order[i]]);
        // Sorted, every row shows the file number it was sorted by.
        sorted[i].numbered = true;
    }
    std::move(sorted.begin(), sorted.end(), LabelTable.begin());
    ShowTable();
}

void TLetter::Button10Click(TObject* Sender) { SortRows(false); }
void TLetter::Button17Click(TObject* Sender) { SortRows(true); }

void TLetter::Button15Click(TObject* Sender) {
    TOpen* o = Open;
    std::vector<int> rows;
    for (int i = 0; i < LabelCount; ++i) {
        const LabelRecord& r = LabelTable[i];
        if (o->MinX <= r.x && r.x <= o->MaxX && o->MinY <= r.y && r.y <= o->MaxY) rows.push_back(i);
    }
    InLabel->List(rows);
    InLabel->Show();
}

void TLetter::Button16Click(TObject* Sender) {
    AllLabelsShown = !AllLabelsShown;
    const char* q = AllLabelsShown ? "全てのラベル/駅名を表示しますがよろしいですか？    "
                                   : "全てのラベル/駅名を非表示にしますがよろしいですか？    ";
    if (MessageBox(q, "ラベル/駅名表示の変更", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
        AllLabelsShown = !AllLabelsShown;
        return;
    }
    for (int i = 0; i < LabelCount; ++i) LabelTable[i].shown = AllLabelsShown;
    ShowTable();
    Button16->SetCaption(AllLabelsShown ? "非表示" : "表　示");
    RedrawMap();
}

void TLetter::StringGrid1DblClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= LabelCount) return;
    LabelTable[r].shown = !LabelTable[r].shown;
    ShowTable();
    RedrawMap();
}

void TLetter::StringGrid1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r >= 0) Edit4->SetText(r < LabelCount ? LabelTable[r].text : std::string());
}

void TLetter::Button13Click(TObject* Sender) {
    const std::string key = Edit4->Text();
    FoundLabelMark = false;
    int shown = -1;
    for (int i = 0; i < LabelCount; ++i) {
        if (LabelTable[i].text != key) continue;
        StringGrid1->SetRow(i);
        FoundLabelMark = true;
        FoundLabelIndex = i;
        // Only what changes: the last hit back in its colour, this one in red.
        if (shown >= 0) Open->label_write(shown);
        Open->label_write(i);
        shown = i;
        if (MessageBox("一個みつかりました．次の検索をしますか", "ラベル検索", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) break;
    }
    FoundLabelMark = false;
}

void TLetter::k1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= LabelCount) return;
    CenterLabelMark = true;
    CenterLabelIndex = r;
    Open->CX = LabelTable[r].x;
    Open->CY = LabelTable[r].y;
    RedrawMap();
    CenterLabelMark = false;
}

void TLetter::LabelSearchClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= LabelCount) return;
    const std::string text = LabelTable[r].text;
    MainUi().ComboBox1->SetText(text);
    MainUi().EdName->SetText(text);
    if (MainUi().Button9->OnClick) MainUi().Button9->OnClick(MainUi().Button9);
}

void TLetter::UpDown2Click(TObject* Sender, TUDBtnType Button) {
    const int want = UpDown2->Position();
    for (int i = 0; i < LabelCount; ++i) {
        // A label of no file counts as 0 for the sorts, but is never a file's first row.
        if (LabelTable[i].numbered && LabelTable[i].fileNo == want) {
            StringGrid1->SetRow(i);
            return;
        }
    }
}
