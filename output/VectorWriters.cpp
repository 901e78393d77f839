#include "output/VectorWriters.h"
#include "gui/Files.h"
#include "gui/VectorRecorder.h"
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>

namespace output {

namespace {

struct Paper {
    const char* name;
    QPageSize::PageSizeId id;
};
const Paper kPapers[] = {{"A4", QPageSize::A4},         {"A3", QPageSize::A3}, {"A5", QPageSize::A5},
                         {"B4", QPageSize::JisB4},      {"B5", QPageSize::JisB5}, {"Letter", QPageSize::Letter},
                         {"地図の大きさ", QPageSize::Custom}};
constexpr int kMapSized = int(std::size(kPapers)) - 1;

const char* const kCreator = "Rovana9.3";

// A paint device on the temporary file: done is called with the painter
// begun on it, and the file counts as written only when it returns true.
template <class MakeDevice>
bool WriteThrough(const std::string& path, std::string* error, MakeDevice&& make) {
    return gui::AtomicWriteFile(
        path,
        [&](FILE* f, std::string& reason) {
            QFile file;
            if (!file.open(f, QIODevice::WriteOnly)) {
                reason = file.errorString().toStdString();
                return false;
            }
            const bool ok = make(file, reason);
            file.flush();
            if (ok && file.error() != QFileDevice::NoError) {
                reason = file.errorString().toStdString();
                return false;
            }
            return ok;
        },
        error);
}

} // namespace

const std::vector<std::string>& PaperNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const Paper& p : kPapers) v.push_back(p.name);
        return v;
    }();
    return names;
}

int PaperIndex(const std::string& name) {
    const auto& names = PaperNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (QString::fromStdString(names[i]).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0)
            return int(i);
    if (name == "map") return kMapSized;
    return -1;
}

bool WritePdf(const gui::VectorRecorder& map, int side, const std::string& path, const PdfPage& page,
              const std::string& title, std::string* error, const std::function<bool()>& keepGoing) {
    const int dpi = std::clamp(page.dpi, 10, 2400);
    const bool mapSized = page.paper < 0 || page.paper >= kMapSized;
    return WriteThrough(path, error, [&](QFile& file, std::string& reason) {
        QPdfWriter pdf(&file);
        pdf.setCreator(kCreator);
        pdf.setTitle(gui::WithoutControls(QString::fromStdString(title)));
        pdf.setResolution(dpi);
        const QPageSize size = mapSized ? QPageSize(QSizeF(double(side) / dpi, double(side) / dpi), QPageSize::Inch,
                                                    QString(), QPageSize::ExactMatch)
                                        : QPageSize(kPapers[page.paper].id);
        const bool landscape = page.landscape && !mapSized;
        pdf.setPageLayout(QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        QPainter p;
        if (!p.begin(&pdf)) {
            reason = "PDFを書き始められません";
            return false;
        }
        const double margin = mapSized ? 0.0 : PDF_MARGIN_MM / 25.4 * dpi;
        const double w = pdf.width(), h = pdf.height();
        const double scale = std::min({1.0, (w - 2 * margin) / side, (h - 2 * margin) / side});
        p.translate((w - side * scale) / 2, (h - side * scale) / 2);
        p.scale(scale, scale);
        p.setClipRect(QRectF(0, 0, side, side));   // lines run on past the map's edge
        const bool ok = map.Replay(p, keepGoing);
        p.end();
        if (!ok) reason = "中止しました";
        return ok;
    });
}

bool WriteSvg(const gui::VectorRecorder& map, int side, const std::string& path, int dpi, const std::string& title,
              std::string* error, const std::function<bool()>& keepGoing) {
    return WriteThrough(path, error, [&](QFile& file, std::string& reason) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(QSize(side, side));
        svg.setViewBox(QRect(0, 0, side, side));
        svg.setResolution(std::clamp(dpi, 10, 2400));
        // The generator writes the title as it is given, inside the XML.
        svg.setTitle(gui::WithoutControls(QString::fromStdString(title)).toHtmlEscaped());
        svg.setDescription(kCreator);
        QPainter p;
        if (!p.begin(&svg)) {
            reason = "SVGを書き始められません";
            return false;
        }
        const bool ok = map.Replay(p, keepGoing);
        p.end();
        if (!ok) reason = "中止しました";
        return ok;
    });
}

} // namespace output
