// The line splitters every file reader uses to cut a line into fields.
#pragma once
#include "gui/Types.h"
#include <string>
#include <string_view>
#include <vector>

class TMyStr : public TObject {
public:
    explicit TMyStr(TObject* Owner = nullptr) {}

    // Fields end at a comma, blank, tab, newline or the end of the text;
    // blanks, tabs and newlines before a field are skipped and a comma with
    // no field before it gives an empty field. 'fields' is refilled (its
    // strings are reused) and holds exactly the fields; returns their count.
    // Static, so usable as MyStr1->SplitFields(...) and TMyStr::SplitFields(...).
    static int SplitFields(std::string_view line, std::vector<std::string>& fields);
    // The same for comma-separated lines: only a comma, a newline or the end
    // ends a field, so blanks inside and after a field stay in it.
    static int SplitCsv(std::string_view line, std::vector<std::string>& fields);
};
