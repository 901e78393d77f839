#include "labels/Uinlabel.h"
#include "gui/FormParts.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "engine/Redraw.h"
#include <algorithm>
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
    StringGrid1->SetSource(
        [this](int c, int r) {
            const int i = LabelOf(r);
            return i >= 0 ? TLetter::LabelCell(Letter->LabelTable[i], c) : std::string();
        },
        [this](int c, int r, const std::string& s) {
            const int i = LabelOf(r);
            return i >= 0 && Letter->TakeCell(i, c, s);
        });
    StringGrid1->SetBounds(8, 22, 404, 300);
    StringGrid1->SetRowHeights(18);
    for (int c = 0; c < 6; ++c) StringGrid1->SetColWidth(c, widths[c]);
    StringGrid1->SetColumnNames({"マーク", "経度座標", "緯度座標", "ラベル", "文字サイズ", "表示"});
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
    // With none inside the view the rows of the last list stay on view.
    if (n > 0) {
        RowIds.resize(size_t(n));
        RowAt = rows;
        for (int k = 0; k < n; ++k) RowIds[k] = Letter->LabelTable[rows[k]].id;
        StringGrid1->SetRowCount(n);
    }
    InLabelCount = n;
    Label7->SetCaption(std::to_string(n));
    StringGrid1->Refresh();
}

int TInLabel::LabelOf(int r) {
    if (r < 0 || r >= int(RowIds.size()) || !RowIds[r]) return -1;
    const TLetter* L = Letter;
    auto here = [&](int k) { return RowAt[k] >= 0 && RowAt[k] < L->LabelCount && L->LabelTable[RowAt[k]].id == RowIds[k]; };
    if (here(r)) return RowAt[r];
    // The table moved under the list: every row is looked up again at once.
    std::unordered_map<uint32_t, int> at;
    for (int i = 0; i < L->LabelCount; ++i) at.emplace(L->LabelTable[i].id, i);
    for (size_t k = 0; k < RowIds.size(); ++k) {
        auto it = at.find(RowIds[k]);
        RowAt[k] = it == at.end() ? -1 : it->second;
        // Ids are never given again: a label gone stays gone.
        if (it == at.end()) RowIds[k] = 0;
    }
    return RowAt[r];
}

void TInLabel::RedrawLabels() {
    // Hiding and showing again is one redraw, not two.
    RedrawOnce once;
    TCheckBox* show = Letter->CBShow;
    if (!show->Checked()) show->SetChecked(true);
    show->SetChecked(false);
    show->SetChecked(true);
}

void TInLabel::StringGrid1DblClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= InLabelCount) return;
    const int i = LabelOf(r);
    if (i >= 0) {
        Letter->LabelTable[i].shown = !Letter->LabelTable[i].shown;
        Letter->ShowTable();
    }
    RedrawLabels();
}

void TInLabel::Button2Click(TObject* Sender) {
    const int n = InLabelCount;
    std::vector<std::string> keys(n);
    for (int r = 0; r < n; ++r) {
        const int i = LabelOf(r);
        keys[r] = i >= 0 ? gui::Utf8ToCp932(Letter->LabelTable[i].text) : std::string();
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    const std::vector<uint32_t> ids = RowIds;
    const std::vector<int> at = RowAt;
    for (int r = 0; r < n; ++r) RowIds[r] = ids[order[r]], RowAt[r] = at[order[r]];
    StringGrid1->Refresh();
}

// The labels already hold what the list shows: they are drawn as they stand.
void TInLabel::Apply() {
    Letter->ShowCount();
    RedrawLabels();
}

void TInLabel::Button3Click(TObject* Sender) { Apply(); }

void TInLabel::Button4Click(TObject* Sender) {
    for (int r = 0; r < InLabelCount; ++r) {
        const int i = LabelOf(r);
        if (i >= 0) Letter->LabelTable[i].shown = !InLabelAllShown;
    }
    Letter->ShowTable();
    if (InLabelAllShown) {
        Button4->SetCaption("表示設定");
        Button4->SetHint("全ラベルを表示に設定");
    } else {
        Button4->SetCaption("非表示設定");
        Button4->SetHint("全ラベルを非表示に設定");
    }
    Apply();
    InLabelAllShown = !InLabelAllShown;
}
