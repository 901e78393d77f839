// The inset window (挿入図): per island group a tick, the corner and the size.
#pragma once
#include "engine/Insets.h"
#include "gui/Forms.h"
#include <array>

class TInset : public TForm {
public:
    TInset();
    std::array<TCheckBox*, kInsetGroups> CBShow{};
    std::array<TComboBox*, kInsetGroups> CBCorner{};
    std::array<TEdit*, kInsetGroups> EdSize{};     // "大きさ (%)": 100 fits the group in a third of the map
    std::array<TUpDown*, kInsetGroups> UDSize{};
    TLabel* LblNone;                                // the map holds no group
    TButton *BtnOk, *BtnCancel;                     // "決　定", "キャンセル"

    void FormShow(TObject* Sender) override;
    // Takes the window's choices into the map's insets and redraws.
    void Apply();

private:
    std::array<int, kInsetGroups> shownSize{};   // the sizes as shown: an untouched one keeps its span
};

extern TInset* Inset;
TInset* InsetWindow();   // made on first use

constexpr int kInsetMinSize = 25, kInsetMaxSize = 400;
