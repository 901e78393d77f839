// The map as PDF and SVG: the canvas's drawing kept as shapes and texts,
// written through a temporary file beside the target like the image writers.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace gui {
class VectorRecorder;
}

namespace output {

struct PagePicture;
struct PageSheet;

// Papers offered for a PDF, by the names shown and taken on the command line.
// The last one is a page of the map's own size, without margins.
const std::vector<std::string>& PaperNames();
int PaperIndex(const std::string& name);   // -1 for a name not offered
constexpr int PDF_MARGIN_MM = 10;

// The paper and its printable area, less the margins, in millimetres; the
// map-sized paper has none (the map goes alone on a page of its own size).
bool IsMapPaper(int paper);
PageSheet PaperSheet(int paper, bool landscape);

struct PdfPage {
    int paper = 0;            // index into PaperNames()
    bool landscape = false;
    int dpi = 100;            // the map's pixels per inch: its size on paper
};

// The recorded map of side x side pixels, centred on the page at its size
// (made smaller where the page, less its margins, is too small for it).
bool WritePdf(const gui::VectorRecorder& map, int side, const std::string& path, const PdfPage& page,
              const std::string& title, std::string* error = nullptr, const std::function<bool()>& keepGoing = {});
// A composed page: the paper, the map in its frame and the page's items.
bool WritePdfPage(const PagePicture& page, const std::string& path, const std::string& title,
                  std::string* error = nullptr, const std::function<bool()>& keepGoing = {});
bool WriteSvgPage(const PagePicture& page, const std::string& path, const std::string& title,
                  std::string* error = nullptr, const std::function<bool()>& keepGoing = {});
// The recorded map; its size on paper is side pixels at dpi.
bool WriteSvg(const gui::VectorRecorder& map, int side, const std::string& path, int dpi, const std::string& title,
              std::string* error = nullptr, const std::function<bool()>& keepGoing = {});

} // namespace output
