#include "labels/Uinlabel.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>

TInLabel* InLabel = nullptr;

TInLabel::TInLabel() : TForm("表示範囲内ラベルリスト") {
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientSize(420, 420);
    const char* heads[6] = {"ﾏｰｸ", "経度座標", "緯度座標", "ラ　　ベ　　ル", "ｻｲｽﾞ", "表示"};
    const int widths[6] = {24, 64, 64, 150, 30, 30};
    int x = 8;
    for (int c = 0; c < 6; ++c) {
        auto* l = new TLabel(this, heads[c]);
        l->SetBounds(x, 4, widths[c], 18);
        x += widths[c] + 1;
    }
    StringGrid1 = new TCellGrid(this, 6, 1);
    StringGrid1->SetEditable(true);
    StringGrid1->SetBounds(8, 22, 404, 300);
    StringGrid1->SetRowHeights(18);
    for (int c = 0; c < 6; ++c) StringGrid1->SetColWidth(c, widths[c]);
    auto* note = new TLabel(this, "ﾗﾍﾞﾙ選択→ﾀﾞﾌﾞﾙｸﾘｯｸ→表示/非表示");
    note->SetBounds(8, 326, 260, 18);
    auto* note2 = new TLabel(this, "ラベル変更可");
    note2->SetBounds(270, 326, 100, 18);
    auto* cnt = new TLabel(this, "ﾗﾍﾞﾙ数");
    cnt->SetBounds(8, 350, 50, 18);
    Label7 = new TLabel(this, "0");
    Label7->SetBounds(60, 350, 60, 18);
    auto btn = [this](const std::string& c, int x, int y, const std::string& hint) {
        return gui::Btn(this, c, x, y, 90, hint, 24);
    };
    Button2 = btn("コード順", 8, 384, "並べかえ");
    Button3 = btn("表　示", 104, 384, "設定された状態で表示");
    Button4 = btn("非表示設定", 200, 384, "全ラベルを非表示に設定");
    Button1 = btn("閉じる", 322, 384, "");
    StringGrid1->OnDblClick = [this](TObject* s) { StringGrid1DblClick(s); };
    Button1->OnClick = [this](TObject*) { Close(); };
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };
    Button3->OnClick = [this](TObject* s) { Button3Click(s); };
    Button4->OnClick = [this](TObject* s) { Button4Click(s); };
}

void TInLabel::List(const std::vector<int>& rows) {
    const int n = int(rows.size());
    if (n > 0) StringGrid1->SetRowCount(n);
    RowTags.assign(size_t(n), 0);
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < 6; ++c) StringGrid1->SetCells(c, k, Letter->StringGrid1->Cells(c, rows[k]));
        RowTags[k] = ++LastTag;
        Letter->LabelTable[rows[k]].listTag = RowTags[k];
    }
    InLabelCount = n;
    Label7->SetCaption(std::to_string(n));
}

int TInLabel::MatchingLabel(int r) const {
    for (int i = 0; i < Letter->LabelCount; ++i)
        if (Letter->LabelTable[i].listTag == RowTags[r]) return i;
    return -1;
}

void TInLabel::RedrawLabels() {
    TCheckBox* show = Letter->CBShow;
    if (!show->Checked()) show->SetChecked(true);
    show->SetChecked(false);
    show->SetChecked(true);
}

std::unordered_map<uint32_t, int> TInLabel::LabelsByTag() const {
    std::unordered_map<uint32_t, int> at;
    for (int i = 0; i < Letter->LabelCount; ++i)
        if (Letter->LabelTable[i].listTag) at.emplace(Letter->LabelTable[i].listTag, i);
    return at;
}

void TInLabel::StringGrid1DblClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= InLabelCount) return;
    StringGrid1->SetCells(5, r, StringGrid1->Cells(5, r).empty() ? "●" : "");
    const int i = MatchingLabel(r);
    if (i >= 0)
        for (int c : {0, 4, 5}) Letter->StringGrid1->SetCells(c, i, StringGrid1->Cells(c, r));
    RedrawLabels();
}

void TInLabel::Button2Click(TObject* Sender) {
    const int n = InLabelCount;
    std::vector<std::array<std::string, 6>> rows(n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < 6; ++c) rows[r][c] = StringGrid1->Cells(c, r);
    std::vector<std::string> keys(n);
    for (int r = 0; r < n; ++r) keys[r] = gui::Utf8ToCp932(rows[r][3]);
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    const std::vector<uint32_t> tags = RowTags;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < 6; ++c) StringGrid1->SetCells(c, r, rows[order[r]][c]);
        RowTags[r] = tags[order[r]];
    }
}

// Each listed label takes its row's cells in place; labels not listed stay as they are.
void TInLabel::Apply() {
    const auto at = LabelsByTag();
    for (int r = 0; r < InLabelCount; ++r) {
        auto it = at.find(RowTags[r]);
        if (it == at.end()) continue;
        const int i = it->second;
        for (int c = 0; c < 6; ++c) Letter->StringGrid1->SetCells(c, i, StringGrid1->Cells(c, r));
    }
    Letter->ShowCount();
    RedrawLabels();
}

void TInLabel::Button3Click(TObject* Sender) { Apply(); }

void TInLabel::Button4Click(TObject* Sender) {
    if (InLabelAllShown) {
        for (int r = 0; r < InLabelCount; ++r) StringGrid1->SetCells(5, r, "");
        Button4->SetCaption("表示設定");
        Button4->SetHint("全ラベルを表示に設定");
    } else {
        for (int r = 0; r < InLabelCount; ++r) StringGrid1->SetCells(5, r, "●");
        Button4->SetCaption("非表示設定");
        Button4->SetHint("全ラベルを非表示に設定");
    }
    Apply();
    InLabelAllShown = !InLabelAllShown;
}
