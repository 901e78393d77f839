#include "navigation/Usclist.h"
#include "gui/TextFile.h"
#include "engine/MainControls.h"
#include "engine/MainForm.h"
#include <algorithm>
#include <iterator>

TSCList* SCList = nullptr;

TSCList::TSCList() : TForm("　地図基本設定値") {
    QWidget* c = Client();
    QFont f = font();
    f.setPixelSize(13);
    f.setBold(true);
    setFont(f);
    SetColor(0xF8F0BC);

    // Two columns of caption and value.
    const int rowH = 22, capW = 96, valW = 110;
    auto row = [&](int col, int r, const char* caption) {
        int x = 12 + col * (capW + valW + 16), y = 10 + r * rowH;
        auto* cap = new TLabel(c, caption);
        cap->SetBounds(x, y, capW, 18);
        auto* val = new TLabel(c, "");
        val->AutoSize = false;
        val->SetBounds(x + capW, y, valW, 18);
        val->SetAlignment(taRightJustify);
        values.push_back(val);
        return val;
    };
    Label11 = row(0, 0, "画像サイズ");
    Label35 = row(0, 1, "拡大位置");
    Label13 = row(0, 2, "拡大係数");
    Label48 = row(0, 3, "地図倍率");
    Label46 = row(0, 4, "基準サイズ");
    Label32 = row(0, 5, "係数Ｘ");
    Label33 = row(0, 6, "係数Ｙ");
    Label34 = row(0, 7, "係数比");
    Label38 = row(0, 8, "水平位置");
    Label39 = row(0, 9, "上下位置");
    Label40 = row(0, 10, "中心経度");
    Label14 = row(0, 11, "中心緯度");
    Label15 = row(1, 0, "中心座標Ｘ");
    Label16 = row(1, 1, "中心座標Ｙ");
    Label17 = row(1, 2, "左下隅座標Ｘ");
    Label18 = row(1, 3, "左下隅座標Ｙ");
    Label19 = row(1, 4, "右上隅座標Ｘ");
    Label20 = row(1, 5, "右上隅座標Ｙ");
    Label43 = row(1, 6, "座標差Ｘ");
    Label44 = row(1, 7, "座標差Ｙ");
    Label31 = row(1, 8, "上辺長");
    Label36 = row(1, 9, "中央長");
    Label12 = row(1, 10, "下辺長");
    Label37 = row(1, 11, "辺高Ｙ");

    const int w = 12 + 2 * (capW + valW) + 16 + 12;
    const int yb = 10 + 12 * rowH + 8;
    Button1 = new TButton(c, "閉じる");
    Button1->SetBounds(w - 12 - 90, yb, 90, 26);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    SetClientSize(w, yb + 26 + 10);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetFixedSize(true);
}

void TSCList::FormCreate(TObject* Sender) {
    for (TLabel* l : values) l->SetCaption("");
    ViewHistoryCount = 0;
}

void TSCList::PushView(int32_t magstep, int32_t cx, int32_t cy, int32_t maxX, int32_t maxY, int32_t minX,
                       int32_t minY, float magunit) {
    auto& h = ViewHistory;
    if (ViewHistoryCount >= VIEW_HISTORY_MAX) {
        auto drop = [](auto& a) { std::move(std::begin(a) + 1, std::end(a), std::begin(a)); };
        drop(h.MAGSTEP), drop(h.CX), drop(h.CY), drop(h.MaxX), drop(h.MaxY), drop(h.MinX), drop(h.MinY),
            drop(h.MAGUNIT);
        ViewHistoryCount = VIEW_HISTORY_MAX - 1;
    }
    const int i = ViewHistoryCount++;
    h.MAGSTEP[i] = magstep;
    h.CX[i] = cx;
    h.CY[i] = cy;
    h.MaxX[i] = maxX;
    h.MaxY[i] = maxY;
    h.MinX[i] = minX;
    h.MinY[i] = minY;
    h.MAGUNIT[i] = magunit;
}

// The main window's box always tells whether this window is shown.
// Shown with its box unticked, the window still goes.
void TSCList::Button1Click(TObject* Sender) {
    MainUi().CBInfo->SetChecked(false);
    Close();
}

void TSCList::FormClose(TObject* Sender, TCloseAction& Action) {
    if (Open) MainUi().CBInfo->SetChecked(false);
}

void TSCList::ShowCentre(int32_t x, int32_t y) {
    Label15->SetCaption(std::to_string(x));
    Label16->SetCaption(std::to_string(y));
}

void TSCList::ShowCorners(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY) {
    Label17->SetCaption(std::to_string(minX));
    Label18->SetCaption(std::to_string(minY));
    Label19->SetCaption(std::to_string(maxX));
    Label20->SetCaption(std::to_string(maxY));
    Label43->SetCaption(std::to_string(int64_t(maxX) - minX));
    Label44->SetCaption(std::to_string(int64_t(maxY) - minY));
}

void TSCList::ShowMagnification(float m) { Label48->SetCaption(gui::Format("%.4f", m)); }
