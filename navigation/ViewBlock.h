// The project's blocks of the main form: the areas and the view, the layer
// boxes, the scale bar's place, the base colours and the railway boxes.
#pragma once
#include "gui/Types.h"
#include <cstdint>

class ProjectLines;
namespace gui { class TextWriter; }

// The areas and the view; applying it loads the areas in that view.
struct ViewBlock {
    int32_t select = 0;
    int32_t codes[52] = {};
    int32_t cx = 0, cy = 0, sizex = 600, ssize = 1, copyscale = 1, magstep = 1;
    int32_t sizeChoice = 0, upDown = 1;   // written for older readers; the restore takes both from the above
    float magunit = 1, scale = 1;
    bool operator==(const ViewBlock&) const = default;
    static ViewBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};

// The main form's layer boxes and the settings window's four, in the file's order.
struct LayerBoxBlock {
    static constexpr int LABEL = 5;   // "ラベル" among the layers
    bool layers[13] = {};
    bool settei[4] = {};
    bool operator==(const LayerBoxBlock&) const = default;
    static LayerBoxBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    // After the area load, which ticks the name boxes by the number of areas.
    void Apply() const;
};

// The scale bar's box and its place in units of the 600-pixel image.
struct ScaleBarBlock {
    bool shown = false;
    int32_t cy = 0;   // written beside it, not read back
    int32_t x = 0, y = 0;
    bool operator==(const ScaleBarBlock&) const = default;
    static ScaleBarBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};

// Coast, prefecture, town, background, frame, ward, degree and minute colours.
struct BaseColourBlock {
    TColor colours[8] = {};
    bool operator==(const BaseColourBlock&) const = default;
    static BaseColourBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    void Apply() const;
};

// "鉄道路線図", "駅名", "主要駅".
struct RailBoxBlock {
    bool boxes[3] = {};
    bool operator==(const RailBoxBlock&) const = default;
    static RailBoxBlock Take();
    void Write(gui::TextWriter& w) const;
    bool Parse(ProjectLines& in);
    // The railway load: the boxes ticked from unticked as the user ticks them.
    void Apply() const;
};
