// Binary files written anew through a temporary file in the same folder.
#pragma once
#include <cstdio>
#include <functional>
#include <string>

namespace output {

// Runs write on a temporary file beside path; only when write returns true and
// every write, flush and close succeeded is the temporary renamed over path.
// Otherwise the temporary is removed, path is left as it was, and error (when
// given) receives the reason: write's own reason if it set one.
bool AtomicWriteBinary(const std::string& path, const std::function<bool(FILE* f, std::string& reason)>& write,
                       std::string* error = nullptr);

} // namespace output
