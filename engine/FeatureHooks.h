// What the feature folders register with the main form as they wire their
// handlers: layers, settings readers, area steps and the hooks of the redraw,
// start and exit. engine/ reaches the features only through these.
#pragma once
#include "engine/AreaSteps.h"
#include "engine/MapLayer.h"
#include <functional>
#include <vector>

class QImage;
class TOpen;

struct FeatureHooks {
    LayerStack Layers;
    // Each fills the part of the record that its windows own.
    std::vector<std::function<void(DrawSettings&)>> SettingsReaders;
    // The read-outs of the view just computed (also of a refused range).
    std::vector<std::function<void()>> ReadoutHooks;
    // Control states and read-outs once the stack is drawn.
    std::vector<std::function<void(const DrawSettings&)>> AfterRedrawHooks;
    // Put the tool windows away on a click beside the map (the forms come after the main one).
    std::vector<std::function<void()>> ToolWindowClosers;
    // False stops the exit (unsaved work the user keeps).
    std::vector<std::function<bool()>> ExitChecks;
    // Run as the program starts (before the lists load) and as it ends.
    std::vector<std::function<void()>> StartHooks;
    std::vector<std::function<void()>> ExitHooks;
    // The line editor's colour, written to config.ini.
    std::function<TColor()> EditLineColour;
    // Run once by the next redraw just before the replay, with the map as the replay finds it.
    std::function<void(const QImage&)> BeforePaintReplay;
    // What each feature does with its own state when the areas change.
    AreaSteps AreaChange;
};

// The hooks of the main form o.
FeatureHooks& HooksOf(TOpen& o);
const FeatureHooks& HooksOf(const TOpen& o);
