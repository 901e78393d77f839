// The map of the main window on a page, as the layout composes it: the map
// and the legend drawn through the render job at the page's density.
#pragma once
#include "output/PageDraw.h"

struct MapSnapshot;
class TCanvas;

namespace output {

// The map of the job onto a canvas, with the readings while they are asked
// for; false when the readings were refused (the map is then drawn alone).
bool RenderOutputJob(TCanvas& cv, const MapSnapshot& job);
// The page of the map shown now; false (with page.message) when the layout
// cannot be drawn. readings is false when the readings were refused. Without
// withMap the page is composed again around the map drawn last.
bool BuildOutputPage(const PageLayout& layout, const PageSheet& sheet, PagePicture& pic, bool& readings,
                     bool withMap = true);

} // namespace output
