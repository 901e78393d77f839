// The project file: the whole editing state in one positional text file.
#pragma once
#include "gui/Types.h"
#include "labels/LabelRecord.h"
#include "labels/Upagesdlg.h"
#include "lines/Ukyori.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <cstdint>
#include <string>
#include <vector>

// The name and extension of a path, for captions and dialogs.
std::string ExtractFileNameExt(const std::string& path);

// A project file read and checked whole, before anything is applied.
struct ProjectData {
    int32_t select = 0;
    int32_t codes[52] = {};
    int32_t cx = 0, cy = 0, sizex = 600, ssize = 1, copyscale = 1, magstep = 1;
    float magunit = 1, scale = 1;
    bool boxes[13] = {};        // CBPrefBorder .. CBExp
    bool setteiBoxes[4] = {};   // CBKu, CBKuDot, CBCityName, CBKuName
    std::vector<TOpen::PaintRecord> paint;
    PaintPalette palette;
    using Label = LabelRecord;
    std::vector<Label> labels;
    bool legend = false;
    ProjectLegend legendBlock;
    bool scaleBar = false;
    int32_t scaleX = 0, scaleY = 0;
    std::vector<PlacedSymbol> symbols;
    int32_t paintLine = 0;
    std::vector<std::string> lineFiles;
    std::vector<kyorien> circles;
    TColor baseColours[8] = {};   // coast, pref, town, back, frame, ward, degree, minute
    bool rail[3] = {};            // CBRailLine, CBEki, CBMain
};

// Capacities of the line files and circles the reader refuses beyond.
constexpr int PROJECT_LINEFILE_MAX = 1800, PROJECT_CIRCLE_MAX = 250;

// 0 when the lines make a sound project, else the number of the first line at fault.
int ParseProject(const std::vector<std::string>& lines, ProjectData& d);
