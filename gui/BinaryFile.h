// Binary files written anew through a temporary file in the same folder.
#pragma once
#include "gui/Files.h"
#include <cstdio>
#include <functional>
#include <string>

namespace output {

// The one atomic writer of the program (gui::AtomicWriteFile): write runs on
// a temporary file beside path, which replaces path only after a complete,
// checked write; otherwise path is left as it was and error receives the reason.
inline bool AtomicWriteBinary(const std::string& path, const std::function<bool(FILE* f, std::string& reason)>& write,
                              std::string* error = nullptr) {
    return gui::AtomicWriteFile(path, write, error);
}

} // namespace output
