// Read-only numbers of the current view; also keeps the view history.
#pragma once
#include "gui/Forms.h"
#include <cstdint>
#include <vector>

class TSCList : public TForm {
public:
    TSCList();
    void FormCreate(TObject* Sender) override;
    void FormClose(TObject* Sender, TCloseAction& Action) override;
    void Button1Click(TObject* Sender);

    // Value labels, each beside its caption; the redraw writes them.
    TLabel *Label11, *Label35, *Label13, *Label46, *Label15, *Label16, *Label17, *Label18, *Label19, *Label20,
        *Label43, *Label44, *Label48, *Label32, *Label33, *Label34, *Label38, *Label39, *Label31, *Label36,
        *Label12, *Label37, *Label40, *Label14;
    // The values by name: centre ("中心座標"), corners with their differences, the map magnification.
    void ShowCentre(int32_t x, int32_t y);
    void ShowCorners(int32_t minX, int32_t minY, int32_t maxX, int32_t maxY);
    void ShowMagnification(float m);
    TButton* Button1;   // "閉じる"

    // Saved views, one array per field: a range drag pushes, "戻す" pops.
    static constexpr int VIEW_HISTORY_MAX = 100;
    struct {
        int32_t MAGSTEP[VIEW_HISTORY_MAX], CX[VIEW_HISTORY_MAX], CY[VIEW_HISTORY_MAX];
        int32_t MaxX[VIEW_HISTORY_MAX], MaxY[VIEW_HISTORY_MAX], MinX[VIEW_HISTORY_MAX], MinY[VIEW_HISTORY_MAX];
        float MAGUNIT[VIEW_HISTORY_MAX];
    } ViewHistory{};
    int32_t ViewHistoryCount = 0;
    // A full history drops its oldest view to make room.
    void PushView(int32_t magstep, int32_t cx, int32_t cy, int32_t maxX, int32_t maxY, int32_t minX, int32_t minY,
                  float magunit);

private:
    std::vector<TLabel*> values;
};

extern TSCList* SCList;
