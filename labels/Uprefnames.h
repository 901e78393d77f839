// Which prefecture-name or capital records the layers draw, and how their texts are cut.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Records for the selected areas: one per prefecture, Hokkaido as a whole or by sub-prefecture.
std::vector<int> PrefRecordIndexes(const int32_t* codes, int count, bool seats, bool subPrefectures);
// The text less its last n characters, never past its start.
std::string DropLastChars(const std::string& s, int n);
