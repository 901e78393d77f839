#include "engine/ToolSlot.h"
#include "engine/Redraw.h"

void MapToolSlot::SetTool(std::unique_ptr<MapTool> t) {
    // Each end may redraw; the map is drawn once, after the last.
    RedrawOnce once;
    if (Tool) {
        // The tool stops being active before its end runs: what the end calls
        // sees no tool, and a tool ending itself is not freed under its own feet.
        EndedTools.push_back(std::move(Tool));
        EndedTools.back()->End();
    }
    Tool = std::move(t);
}

void MapToolSlot::EndToolOf(TForm* f) {
    for (MapTool* t = Tool.get(); t; t = t->Suspended())
        if (t->Owner() == f) return EndActiveTool();
}
