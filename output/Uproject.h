// The project file: the whole editing state in one positional text file.
#pragma once
#include <string>

// The name and extension of a path, for captions and dialogs.
std::string ExtractFileNameExt(const std::string& path);
