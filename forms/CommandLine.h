// Drawing a project's map from the command line, for scripts and other
// programs: no window is shown and every message becomes a line on stderr.
#pragma once
#include <string>
#include <vector>

namespace output {

struct RenderRequest {
    std::string project, out, programFolder;
    int size = 0;   // a choice of the image size group (600, 1200, ...); 0 keeps the project's
    // A PDF's or SVG's paper (a name of PaperNames(), "" for the project's
    // layout), way up and dots per inch of the map alone (0: 100 per 600
    // pixels, the map's size on the screen's scale).
    std::string paper;
    bool landscape = false, portrait = false;   // neither: as the project's layout has it
    int dpi = 0;
    // Value columns of the statistics map, by heading: one image each, named by ColumnOutName.
    std::vector<std::string> columns;
};

// The image of one column: its heading put before the extension ("map.png",
// "人口" → "map_人口.png"), what a file name may not hold as "_".
std::string ColumnOutName(const std::string& out, const std::string& column);

struct CommandLine {
    enum Kind { Start, Render, Help, Version, Error } kind = Start;
    RenderRequest render;
    std::string error;   // for Error: one line saying what is wrong
};

// The arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();
std::string VersionText();
// Before the application exists: the toolkit's warnings stay off stderr.
void QuietToolkitMessages();

// Runs with the application made and no form yet: makes the forms in the
// program folder, restores the project and writes the image. The exit status:
// 0 when the image was written, 1 when anything was refused.
int RunRender(const RenderRequest& request);

} // namespace output
