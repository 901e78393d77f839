// Editing the label table: adding, deleting, moving, colours, sizes, sorting, finding.
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include "gui/TextFile.h"
#include "labels/Uinlabel.h"
#include "labels/Uletter.h"
#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

void TLetter::Button2Click(TObject* Sender) {
    Button3->SetEnabled(true);
    Button4->SetEnabled(true);
    Button8->SetEnabled(true);
    Open->CBLabel->SetChecked(true);
    const int method = RadioGroup1->ItemIndex();
    int32_t x = 0, y = 0;
    if (method <= 0) {
        Label8->SetCaption("ラベル表示位置をクリック");
        Open->LabelMode = true;
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
        const float lon = ParseDdmmss(lonText);
        if (lon < 120 || lon > 160) {
            if (lon >= 0) MessageBox("設定された経度は正しくありません　　　", "経緯度設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        x = TruncToInt((lon - 122) * 10000);
        const float lat = ParseDdmmss(latText);
        if (lat < 20 || lat > 60) {
            if (lat >= 0) MessageBox("設定された緯度は正しくありません　　　", "経緯度設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        y = TruncToInt((lat - 24) * 15000);
    } else {
        // An empty text is no number either.
        if (!CellInt(Edit2->Text(), x) || !CellInt(Edit3->Text(), y)) {
            MessageBox("XまたはY座標が設定されておりません　　　", "X,Y座標設定エラー", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    if (AddNewLabel(x, y)) {
        LabelPlaced = true;
        Open->DrawMap();
    }
    ShowCount();
}

void TLetter::Button8Click(TObject* Sender) {
    if (MessageBox("全てのラベルを削除してもいいですか？", "全ラベル削除", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
    LabelCount = 0;
    SetGridRows(0);
    ShowCount();
    Open->DrawMap();
    Button3->SetEnabled(false);
    Button8->SetEnabled(false);
    Button14->SetEnabled(true);
}

void TLetter::RemoveLabelClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r >= 0 && r < LabelCount) {
        if (MessageBox(gui::Format("ラベル '%s' を削除しますか？", StringGrid1->Cells(3, r).c_str()), "ラベル削除",
                       MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
            for (int i = r; i < LabelCount - 1; ++i) {
                for (int c = 0; c < 10; ++c) StringGrid1->SetCells(c, i, StringGrid1->Cells(c, i + 1));
                LabelTable[i] = LabelTable[i + 1];
            }
            LabelCount--;
            SetGridRows(LabelCount);
            Button3->SetEnabled(true);
        }
    }
    Button4Click(Sender);
}

void TLetter::N1Click(TObject* Sender) {
    if (LabelCount < 1) return;
    LabelMoveIndex = StringGrid1->Row();
    LabelMoveMode = true;
    Button3->SetEnabled(true);
}

void TLetter::Button6Click(TObject* Sender) {
    ColorDialog1->Color = Open->LabelColor;
    if (!ColorDialog1->Execute()) return;
    Open->LabelColor = ColorDialog1->Color;
    FillSwatch();
    Open->DrawMap();
}

void TLetter::Button11Click(TObject* Sender) {
    if (MessageBox("すべてのラベルの文字色を現在設定されている文字色に変更しますか？　　　　", "ラベル文字色変更",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    for (int i = 0; i < LabelCount; ++i) LabelTable[i].color = Open->LabelColor;
    Open->DrawMap();
}

void TLetter::N2Click(TObject* Sender) {
    if (MessageBox("このラベルの文字色を現在設定されている文字色に変更しますか？　　　　", "ラベル文字色変更",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    const int r = StringGrid1->Row();
    if (r >= 0 && r < LabelCount) LabelTable[r].color = Open->LabelColor;
    Open->DrawMap();
}

void TLetter::Button12Click(TObject* Sender) {
    if (MessageBox("すべてのラベルの文字サイズを現在設定されているサイズに変更しますか？　　　　", "ラベル文字色変更",
                   MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    const std::string size = Edit1->Text();
    for (int i = 0; i < LabelCount; ++i) StringGrid1->SetCells(4, i, size);
    Open->DrawMap();
}

namespace {
// The decimal text a number is written back as, when the cell does not hold it so already.
bool Canonical(const std::string& cell) {
    if (cell.empty() || cell.size() > 10) return false;
    size_t i = cell[0] == '-' ? 1 : 0;
    if (i == cell.size() || (cell[i] == '0' && cell.size() > i + 1) || (i == 1 && cell == "-0")) return false;
    for (; i < cell.size(); ++i)
        if (cell[i] < '0' || cell[i] > '9') return false;
    return true;
}
} // namespace

// Stable: labels of equal keys keep their order.
void TLetter::SortRows(bool byFileNo) {
    const int n = LabelCount;
    if (n <= 1) return;
    const std::string dot = "●";
    TCellGrid* g = StringGrid1;
    // Every number is checked before anything moves.
    static const int numberCols[4] = {1, 2, 4, 9};
    std::vector<int32_t> nums(size_t(n) * 4);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 4; ++k)
            if (!CellNumber(numberCols[k], i, nums[size_t(i) * 4 + k], k == 3)) return;
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    if (byFileNo) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return nums[size_t(a) * 4 + 3] < nums[size_t(b) * 4 + 3]; });
    } else {
        // Code order: the texts' CP932 bytes.
        std::vector<std::string> keys(n);
        for (int i = 0; i < n; ++i) keys[i] = gui::Utf8ToCp932(g->CellRef(3, i));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    }
    // The colour and the list tag live only in the record: they go with its row. The rest
    // of each record is then written from its row, and the row from the record.
    std::vector<std::pair<TColor, uint32_t>> kept(n);
    for (int i = 0; i < n; ++i) kept[i] = {LabelTable[order[i]].color, LabelTable[order[i]].listTag};
    g->ReorderRows(order);
    const std::string none;
    for (int i = 0; i < n; ++i) {
        LabelRecord& r = LabelTable[i];
        const int32_t* v = &nums[size_t(order[i]) * 4];
        std::tie(r.color, r.listTag) = kept[i];
        r.x = v[0], r.y = v[1], r.size = v[2], r.fileNo = v[3];
        r.mark = g->CellRef(0, i);
        r.text = g->CellRef(3, i);
        r.shown = g->CellRef(5, i);
        r.jr = g->CellRef(6, i) == dot;
        r.main = g->CellRef(7, i) == dot;
        r.railway = g->CellRef(8, i) == dot;
        for (int k = 0; k < 4; ++k)
            if (!Canonical(g->CellRef(numberCols[k], i))) g->SetCells(numberCols[k], i, std::to_string(v[k]));
        const uint8_t flags[3] = {r.jr, r.main, r.railway};
        for (int c = 6; c < 9; ++c)
            if (!flags[c - 6] && !g->CellRef(c, i).empty()) g->SetCells(c, i, none);
    }
}

void TLetter::Button10Click(TObject* Sender) { SortRows(false); }
void TLetter::Button17Click(TObject* Sender) { SortRows(true); }

void TLetter::Button15Click(TObject* Sender) {
    TOpen* o = Open;
    std::vector<int> rows;
    for (int i = 0; i < LabelCount; ++i) {
        int32_t x, y;
        if (!CellNumber(1, i, x) || !CellNumber(2, i, y)) return;
        if (o->MinX <= x && x <= o->MaxX && o->MinY <= y && y <= o->MaxY) rows.push_back(i);
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
    const std::string cell = AllLabelsShown ? "●" : "";
    for (int i = 0; i < LabelCount; ++i) StringGrid1->SetCells(5, i, cell);
    Button16->SetCaption(AllLabelsShown ? "非表示" : "表　示");
    Open->DrawMap();
}

void TLetter::StringGrid1DblClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= StringGrid1->RowCount()) return;
    StringGrid1->SetCells(5, r, StringGrid1->Cells(5, r).empty() ? "●" : "");
    Open->DrawMap();
}

void TLetter::StringGrid1Click(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r >= 0) Edit4->SetText(StringGrid1->Cells(3, r));
}

void TLetter::Button13Click(TObject* Sender) {
    const std::string key = Edit4->Text();
    FoundLabelMark = false;
    int shown = -1;
    for (int i = 0; i < LabelCount; ++i) {
        if (StringGrid1->Cells(3, i) != key) continue;
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
    int32_t x, y;
    if (!CellNumber(1, r, x) || !CellNumber(2, r, y)) return;
    CenterLabelMark = true;
    CenterLabelIndex = r;
    Open->CX = x;
    Open->CY = y;
    Open->DrawMap();
    CenterLabelMark = false;
}

void TLetter::LabelSearchClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0) return;
    const std::string text = StringGrid1->Cells(3, r);
    Open->ComboBox1->SetText(text);
    Open->EdName->SetText(text);
    if (Open->Button9->OnClick) Open->Button9->OnClick(Open->Button9);
}

void TLetter::UpDown2Click(TObject* Sender, TUDBtnType Button) {
    const int want = UpDown2->Position();
    // Checked whole first, so that a bad cell stops the jump before it moves.
    std::vector<int32_t> nums(LabelCount);
    for (int i = 0; i < LabelCount; ++i)
        if (!CellNumber(9, i, nums[i], true)) return;
    for (int i = 0; i < LabelCount; ++i) {
        // An empty cell counts as 0 for the sorts, but is never a file's first row.
        if (nums[i] == want && !StringGrid1->Cells(9, i).empty()) {
            StringGrid1->SetRow(i);
            return;
        }
    }
}
