// One label of the label table; the prefecture-name and capital tables use the same record.
#pragma once
#include "gui/Types.h"
#include <cstdint>
#include <string>

struct LabelRecord {
    std::string mark;     // drawn before the text when marks are shown
    int32_t x = 0, y = 0; // map units
    std::string text;
    int32_t size = 0;     // points before the size factor
    bool shown = true;
    TColor color = 0;
    uint8_t jr = 0, railway = 0, main = 0;
    int32_t fileNo = 0;   // station file it came from
    bool numbered = false;   // read from a file, so its number is shown
    uint32_t id = 0;      // given by the table, so that a view whose rows move finds its label
    bool operator==(const LabelRecord&) const = default;
};
