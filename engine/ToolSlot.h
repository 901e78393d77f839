// The main form's one active map tool: at most one tool is armed, and the map
// image hands it every event. A window asks the slot, never a flag, what is
// armed; it reaches the main form's slot through MainTools().
#pragma once
#include "engine/MapTool.h"
#include <memory>
#include <utility>
#include <vector>

class MapToolSlot {
public:
    MapTool* ActiveTool() const { return Tool.get(); }
    // The armed T, also when it waits behind a one-press tool.
    template <class T> T* ToolAs() const {
        for (MapTool* t = Tool.get(); t; t = t->Suspended())
            if (T* found = dynamic_cast<T*>(t)) return found;
        return nullptr;
    }
    // Ends the armed tool (its End gives back what it switched on), then arms t.
    void SetTool(std::unique_ptr<MapTool> t);
    // Esc, a window's close box, an area change and a tool's own finish end it this way.
    void EndActiveTool() { SetTool(nullptr); }
    // The armed tool handed over without its end, to be armed again later.
    std::unique_ptr<MapTool> SuspendTool() { return std::move(Tool); }
    template <class T> void EndTool() {
        if (ToolAs<T>()) EndActiveTool();
    }
    // A T that did its work ends without calling anything off.
    template <class T> void FinishTool() {
        if (T* t = ToolAs<T>()) {
            t->Finished = true;
            EndActiveTool();
        }
    }
    // Arms a T unless one is armed already, which then goes on as it is.
    template <class T, class... Args> T& ArmTool(Args&&... args) {
        if (T* t = ToolAs<T>()) return *t;
        SetTool(std::make_unique<T>(std::forward<Args>(args)...));
        return *ToolAs<T>();
    }
    // The user closed f: the tool it armed ends with it.
    void EndToolOf(TForm* f);
    // The tools ended by the event before are no longer running.
    void FreeEnded() { EndedTools.clear(); }

private:
    std::unique_ptr<MapTool> Tool;
    // Tools ended while one of their own handlers runs; freed at the next event.
    std::vector<std::unique_ptr<MapTool>> EndedTools;
};

// The main form's tool slot.
MapToolSlot& MainTools();
// The tool slot of the main form o.
MapToolSlot& ToolsOf(TOpen& o);
const MapToolSlot& ToolsOf(const TOpen& o);
