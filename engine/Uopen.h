// The main form: the map image, its data stores and view state.
// Its member functions are defined in the folder of the feature they belong to.
#pragma once
#include "gui/Forms.h"
#include <cstdint>
#include <string>

class TOpen : public TForm {
public:
    TOpen();
    ~TOpen() override;
    void FormCreate(TObject* Sender) override;

    // View state.
    int32_t CX = 0, CY = 0;        // view centre, map units
    float ScaleX = 0, ScaleY = 0;  // pixels per map unit
    float Aspect = 0;
    int32_t ImageSize = 600;
    bool WgsDisplay = true;

    // Map units <-> image pixels through the view.
    void MapToScreen(int32_t x, int32_t y, int& sx, int& sy) const;
    void ScreenToMap(int sx, int sy, int32_t& x, int32_t& y) const;
};

extern TOpen* Open;
