// TOpen: saving and restoring the project file.
#include "output/Uproject.h"
#include "engine/Uopen.h"
#include "gui/Files.h"

std::string ExtractFileNameExt(const std::string& path) { return gui::ExtractFileName(gui::NativePath(path)); }
