#include "engine/Uinset.h"
#include "engine/MainForm.h"
#include "gui/FormParts.h"
#include <algorithm>
#include <cmath>

TInset* Inset = nullptr;

TInset* InsetWindow() {
    if (!Inset) Application->CreateForm(Inset);
    return Inset;
}

namespace {

float AspectAt(const MapBox& b) { return float(DegreeLengthRatio(MidOf(b.y0, b.y1)) * 2 * (1.0 / 3)); }

// The size shown for a span: the fitted span is 100 %.
int SizeOf(const InsetSet& set, int g) {
    const int32_t span = set.choice[size_t(g)].span;
    if (span <= 0) return 100;
    const double fitted = set.FittedSpan(g, AspectAt(set.Box(g)));
    return std::clamp(int(std::lround(fitted * 100 / span)), kInsetMinSize, kInsetMaxSize);
}

} // namespace

TInset::TInset() : TForm("　挿入図") {
    QWidget* c = Client();
    gui::Lbl(c, "島の群", 12, 10, 90);
    gui::Lbl(c, "位置", 110, 10, 80);
    gui::Lbl(c, "大きさ (%)", 200, 10, 90);
    for (int g = 0; g < kInsetGroups; ++g) {
        const int y = 34 + g * 32;
        CBShow[size_t(g)] = gui::Check(c, InsetGroupOf(g).caption, 12, y + 2, 95);
        CBShow[size_t(g)]->setAccessibleName(QString::fromUtf8(InsetGroupOf(g).caption));
        auto* corner = new TComboBox(c, false);
        corner->SetBounds(110, y, 80, 24);
        for (int k = 0; k < kInsetCorners; ++k) corner->Items()->Add(InsetCornerCaption(InsetCorner(k)));
        corner->setAccessibleName(QString::fromUtf8(std::string(InsetGroupOf(g).caption) + "の位置"));
        CBCorner[size_t(g)] = corner;
        UDSize[size_t(g)] = gui::Spin(c, EdSize[size_t(g)], 200, y, kInsetMinSize, kInsetMaxSize, 100);
        UDSize[size_t(g)]->Increment = 10;
        EdSize[size_t(g)]->setAccessibleName(QString::fromUtf8(std::string(InsetGroupOf(g).caption) + "の大きさ"));
    }
    const int bottom = 34 + kInsetGroups * 32;
    LblNone = gui::Lbl(c, "この地図には挿入図にできる島がありません", 12, bottom, 300);
    BtnOk = gui::Btn(c, "決　定", 110, bottom + 26, 90);
    BtnOk->SetDefault(true);
    BtnOk->OnClick = [this](TObject*) {
        Apply();
        Close();
    };
    BtnCancel = gui::Btn(c, "キャンセル", 206, bottom + 26, 90);
    BtnCancel->OnClick = [this](TObject*) { Close(); };
    SetCloseButton(BtnCancel);
    SetClientSize(310, bottom + 64);
}

void TInset::FormShow(TObject*) {
    bool any = false;
    for (int g = 0; g < kInsetGroups; ++g) {
        const size_t i = size_t(g);
        const bool offered = MapInsets.Offered(g);
        any = any || offered;
        CBShow[i]->SetChecked(MapInsets.choice[i].shown);
        CBCorner[i]->SetItemIndex(int(MapInsets.choice[i].corner));
        shownSize[i] = SizeOf(MapInsets, g);
        UDSize[i]->SetPosition(shownSize[i]);
        EdSize[i]->SetText(std::to_string(shownSize[i]));
        for (QWidget* w : std::initializer_list<QWidget*>{CBShow[i], CBCorner[i], EdSize[i], UDSize[i]})
            w->setEnabled(offered);
    }
    LblNone->setVisible(!any);
}

void TInset::Apply() {
    std::array<InsetChoice, kInsetGroups> next = MapInsets.choice;
    for (int g = 0; g < kInsetGroups; ++g) {
        const size_t i = size_t(g);
        // The up-down holds the size within its range (a typed one out of it goes back).
        const int size = UDSize[i]->Position();
        next[i].shown = CBShow[i]->Checked();
        next[i].corner = InsetCorner(std::clamp(CBCorner[i]->ItemIndex(), 0, kInsetCorners - 1));
        if (size != shownSize[i]) {
            const double fitted = MapInsets.FittedSpan(g, AspectAt(MapInsets.Box(g)));
            next[i].span = size == 100 ? 0
                                       : int32_t(std::clamp(fitted * 100 / size, double(kInsetMinSpan),
                                                            double(kInsetMaxSpan)));
            shownSize[i] = size;
        }
    }
    bool groupsChanged = false;
    for (int g = 0; g < kInsetGroups; ++g)
        groupsChanged = groupsChanged || (MapInsets.Offered(g) && next[size_t(g)].shown != MapInsets.Active(g));
    MapInsets.choice = next;
    MainInsetsChanged(groupsChanged);
}
