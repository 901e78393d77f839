// What a change of the map's areas does to each feature's own state. Each
// feature folder registers its steps when it wires its handlers, so that the
// area choice runs them without knowing the folders.
#pragma once
#include <functional>
#include <vector>

enum class AreaStep {
    Loading,       // before every load of the selection: what belongs to the old map ends
    Discard,       // other areas chosen: the old map's work goes (after the user agreed)
    Reset,         // every area choice, before the load: view settings back to their start
    Loaded,        // after every load of the selection (standard range, search, project too)
    Chosen,        // an area choice, after the load: the display boxes for the new areas
    Rails,         // an area choice: the railway load
    RailsLoaded,   // an area choice, after the railway load
    Done,          // an area choice, before its one redraw
    Drawn,         // an area choice, after that redraw
    Changing,      // an area choice or an old/new border switch, before its redraw:
                   // what must not be drawn on the new map (not while a load or restore runs)
    Redrawn,       // an area choice or an old/new border switch, after its redraw:
                   // what follows the map shown (not while a load or restore runs)
    Count
};

class AreaSteps {
public:
    void On(AreaStep step, std::function<void()> run) { steps[int(step)].push_back(std::move(run)); }
    // Work of the user's that Discard would drop.
    void Work(std::function<bool()> held) { work.push_back(std::move(held)); }
    void Run(AreaStep step) const {
        for (const auto& run : steps[int(step)]) run();
    }
    bool AnyWork() const {
        for (const auto& held : work)
            if (held()) return true;
        return false;
    }

private:
    std::vector<std::function<void()>> steps[int(AreaStep::Count)];
    std::vector<std::function<bool()>> work;
};
