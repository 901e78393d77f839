// A press on the map handed straight to the armed tool, as the map image hands it.
#pragma once
#include "engine/Uopen.h"
#include <gtest/gtest.h>

// True when the press goes on to what the map does without a tool.
inline bool ToolPress(int x, int y) {
    MapTool* t = Open->tools.ActiveTool();
    EXPECT_NE(t, nullptr) << "no tool armed for the press";
    return t && t->Press(Open->EventAt(mbLeft, x, y));
}
