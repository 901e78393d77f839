// Choosing areas as the user does, and the folder pictures for people are left in.
#pragma once
#include "engine/Uken.h"
#include <filesystem>
#include <vector>

namespace testsupport {

inline std::filesystem::path BuildFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

// Ticks exactly these areas in the area choice and confirms it.
inline void ChooseAreas(const std::vector<int>& codes) {
    for (int code = 1; code <= 52; ++code) Ken->AreaBox(code)->SetChecked(false);
    for (int code : codes) Ken->AreaBox(code)->SetChecked(true);
    Ken->Button1Click(Ken);
}

} // namespace testsupport
