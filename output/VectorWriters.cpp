#include "output/VectorWriters.h"
#include "gui/Files.h"
#include "gui/VectorRecorder.h"
#include "output/PageDraw.h"
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <algorithm>
#include <charconv>
#include <unordered_map>
#include <cerrno>
#include <cmath>
#include <cstring>
#include "gui/Graphics_impl.h"

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
constexpr int kPdfSteps = 20;   // per pixel

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

// The number after key in text (a reference's object number), or -1.
qint64 NumberAfter(const QByteArray& text, const char* key) {
    const qsizetype at = text.lastIndexOf(key);
    if (at < 0) return -1;
    qsizetype i = at + qsizetype(std::strlen(key));
    while (i < text.size() && (text[i] == ' ' || text[i] == '\r' || text[i] == '\n')) ++i;
    qint64 v = 0;
    const qsizetype from = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && v < (qint64(1) << 40); ++i) v = v * 10 + (text[i] - '0');
    return i > from ? v : -1;
}

// The document's subject, which the PDF writer does not take: its
// information dictionary again with the subject added, appended as an update
// of the finished file, the way a PDF is changed. False when the file is not
// laid out as the writer lays it out.
bool AddSubject(QByteArray& pdf, const QString& subject) {
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (trailer < 0 || start < trailer) return false;
    const QByteArray dict = pdf.mid(trailer, start - trailer);
    const qint64 info = NumberAfter(dict, "/Info"), root = NumberAfter(dict, "/Root"), size = NumberAfter(dict, "/Size");
    const qint64 prev = NumberAfter(pdf.mid(start), "startxref");
    if (info <= 0 || root <= 0 || size <= info || prev < 0) return false;
    const QByteArray head = QByteArray::number(info) + " 0 obj";
    qsizetype at = pdf.indexOf("\n" + head);
    if (at < 0) return false;
    at += 1 + head.size();
    const qsizetype end = pdf.indexOf("endobj", at);
    const qsizetype close = end < 0 ? -1 : pdf.lastIndexOf(">>", end);
    if (close < at) return false;
    // A text string in UTF-16 with its byte order mark, as hex.
    QByteArray hex = "<FEFF";
    for (QChar c : subject) hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    hex += ">";
    if (!pdf.endsWith('\n')) pdf += '\n';
    const qint64 object = pdf.size();
    pdf += head + pdf.mid(at, close - at) + "/Subject " + hex + "\n>>\nendobj\n";
    const qint64 xref = pdf.size();
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(object));
    pdf += "xref\n" + QByteArray::number(info) + " 1\n" + entry;
    pdf += "trailer\n<< /Size " + QByteArray::number(size) + " /Root " + QByteArray::number(root) + " 0 R /Info " +
           QByteArray::number(info) + " 0 R /Prev " + QByteArray::number(prev) + " >>\nstartxref\n" +
           QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

// The document made in memory, its subject added, written to the file.
bool FinishPdf(QByteArray& bytes, QBuffer& buffer, QFile& file, const QString& subject, std::string& reason) {
    buffer.close();
    if (!subject.isEmpty() && !AddSubject(bytes, subject)) {
        reason = "PDFの文書情報を書けません";
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        reason = file.errorString().toStdString();
        return false;
    }
    return true;
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

bool IsMapPaper(int paper) { return paper < 0 || paper >= kMapSized; }

PageSheet PaperSheet(int paper, bool landscape) {
    PageSheet s;
    if (IsMapPaper(paper)) return s;
    QSizeF mm = QPageSize(kPapers[paper].id).size(QPageSize::Millimeter);
    if (landscape) mm.transpose();
    s.paper = mm;
    s.printable = QRectF(QPointF(0, 0), mm).adjusted(PDF_MARGIN_MM, PDF_MARGIN_MM, -PDF_MARGIN_MM, -PDF_MARGIN_MM);
    s.paperIndex = paper;
    s.landscape = landscape;
    return s;
}

namespace {

// A PDF of one page of the given size at dpi, made in memory (the subject goes
// in once the writer is done), draw painting it; the file written through the
// temporary-file rule.
bool WritePdfWith(const std::string& path, const std::string& title, const QPageSize& size, bool landscape, int dpi,
                  std::string* error, const std::function<bool(QPdfWriter&, QPainter&)>& draw) {
    const QString name = gui::WithoutControls(QString::fromStdString(title));
    return WriteThrough(path, error, [&](QFile& file, std::string& reason) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setCreator(kCreator);
        pdf.setTitle(name);
        pdf.setResolution(dpi);
        pdf.setPageLayout(QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
        QPainter p;
        if (!p.begin(&pdf)) {
            reason = "PDFを書き始められません";
            return false;
        }
        const bool ok = draw(pdf, p);
        p.end();
        if (!ok) reason = "中止しました";
        return ok && FinishPdf(bytes, buffer, file, name, reason);
    });
}

} // namespace

bool WritePdfPage(const PagePicture& page, const std::string& path, const std::string& title, std::string* error,
                  const std::function<bool()>& keepGoing) {
    constexpr int dpi = 1200;   // the finest step of a line on the page: 1/1200 inch
    const PageSheet& sheet = page.sheet;
    const QPageSize size = IsMapPaper(sheet.paperIndex)
                               ? QPageSize(sheet.paper, QPageSize::Millimeter, QString(), QPageSize::ExactMatch)
                               : QPageSize(kPapers[sheet.paperIndex].id);
    return WritePdfWith(path, title, size, sheet.landscape, dpi, error,
                        [&](QPdfWriter&, QPainter& p) { return DrawPage(p, page, dpi / 25.4, keepGoing); });
}

bool WritePdf(const gui::VectorRecorder& map, int side, const std::string& path, const PdfPage& page,
              const std::string& title, std::string* error, const std::function<bool()>& keepGoing) {
    const int dpi = std::clamp(page.dpi, 10, 2400);
    const bool mapSized = page.paper < 0 || page.paper >= kMapSized;
    const QPageSize size = mapSized ? QPageSize(QSizeF(double(side) / dpi, double(side) / dpi), QPageSize::Inch,
                                                QString(), QPageSize::ExactMatch)
                                    : QPageSize(kPapers[page.paper].id);
    return WritePdfWith(path, title, size, page.landscape && !mapSized, dpi, error, [&](QPdfWriter& pdf, QPainter& p) {
        const double margin = mapSized ? 0.0 : PDF_MARGIN_MM / 25.4 * dpi;
        const double w = pdf.width(), h = pdf.height();
        const double scale = std::min({1.0, (w - 2 * margin) / side, (h - 2 * margin) / side});
        p.translate((w - side * scale) / 2, (h - side * scale) / 2);
        p.scale(scale, scale);
        p.setClipRect(QRectF(0, 0, side, side));   // lines run on past the map's edge
        // Lines and the areas' outlines in twentieths of a pixel: whole
        // numbers, which the writer puts short, finer than any print shows.
        return map.Replay(p, keepGoing, kPdfSteps);
    });
}

namespace {

// The SVG written straight from the shapes: numbers in hundredths of a pixel
// (the finest step any page size offered needs), coordinates of a path
// relative to the one before, and only the attributes each shape needs.
class SvgText {
public:
    explicit SvgText(std::string& out) : out(out) {}
    SvgText& operator<<(const char* s) { return out += s, *this; }
    SvgText& operator<<(const std::string& s) { return out += s, *this; }
    // Hundredths as a decimal number, trailing zeros left out.
    void Hundredths(int64_t v) {
        if (v < 0) out += '-', v = -v;
        char buf[24];
        int n = 0;
        int64_t whole = v / 100;
        const int frac = int(v % 100);
        do buf[n++] = char('0' + whole % 10), whole /= 10;
        while (whole);
        while (n) out += buf[--n];
        if (frac) {
            out += '.';
            out += char('0' + frac / 10);
            if (frac % 10) out += char('0' + frac % 10);
        }
    }
    void Number(double v) { Hundredths(Round(v)); }
    static int64_t Round(double v) { return std::isfinite(v) ? int64_t(std::llround(std::clamp(v, -1e9, 1e9) * 100)) : 0; }
    void Colour(const QColor& c) {
        static const char* hex = "0123456789abcdef";
        out += '#';
        for (int v : {c.red(), c.green(), c.blue()}) out += hex[v >> 4], out += hex[v & 15];
    }
    void Escaped(const QString& text) {
        for (const char c : text.toStdString()) {
            switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
            }
        }
    }
    // A line through the points, each after the first relative to the one before.
    void Points(const std::vector<QPointF>& pts, bool closed) {
        int64_t px = 0, py = 0;
        for (size_t i = 0; i < pts.size(); ++i) {
            const int64_t x = Round(pts[i].x()), y = Round(pts[i].y());
            out += i == 0 ? "M" : i == 1 ? "l" : " ";
            Hundredths(i ? x - px : x);
            out += ',';
            Hundredths(i ? y - py : y);
            px = x, py = y;
        }
        if (closed) out += 'z';
    }
    // The x, y, width and height attributes of a box, the first quote left open.
    void Box(const QRectF& r) {
        Number(r.x());
        out += "\" y=\"";
        Number(r.y());
        out += "\" width=\"";
        Number(r.width());
        out += "\" height=\"";
        Number(r.height());
    }
    void Path(const QPainterPath& path) {
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element& e = path.elementAt(i);
            out += e.isMoveTo() ? "M" : e.isLineTo() ? "L" : e.isCurveTo() ? "C" : " ";
            Number(e.x);
            out += ',';
            Number(e.y);
        }
    }

private:
    std::string& out;
};

// The face drawn with, then those a reader without it has for the same
// script and style, then the generic family: a reader picks the first it has.
std::string SvgFontFamily(const QFont& font) {
    const QString face = font.family();
    const bool mincho = face.contains("Mincho", Qt::CaseInsensitive) || face.contains("明朝");
    std::string list;
    auto add = [&](const QString& name) {
        if (!list.empty()) list += ", ";
        bool plain = !name.isEmpty();
        for (QChar c : name) plain = plain && c.unicode() < 0x80 && (c.isLetterOrNumber() || c == '-');
        if (plain) list += name.toStdString();
        else list += "'" + QString(name).remove('\'').toStdString() + "'";
    };
    add(face);
    static const char* const serif[] = {"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"};
    static const char* const sans[] = {"IPAGothic", "IPAexGothic", "Noto Sans CJK JP"};
    for (const char* other : mincho ? serif : sans)
        if (face.compare(QLatin1String(other), Qt::CaseInsensitive) != 0) add(QString::fromLatin1(other));
    return list + (mincho ? ", serif" : ", sans-serif");
}

// Pictures already written, by image, with the place they were written at.
using WrittenPictures = std::unordered_map<qint64, std::pair<int, QRectF>>;

void SvgItem(SvgText& w, const gui::VectorRecorder::Item& it, WrittenPictures& pictures) {
    using Kind = gui::VectorRecorder::Kind;
    switch (it.kind) {
    case Kind::Stroke:
        w << "<path fill=\"none\" stroke=\"";
        w.Colour(it.color);
        if (it.width != 1) w << "\" stroke-width=\"" << std::to_string(it.width);
        w << (it.width > 1 ? "\" stroke-linecap=\"round" : "") << "\" stroke-linejoin=\"round";
        if (const gui::raster::DashRuns* runs = gui::raster::DashRunsOf(it.style)) {
            w << "\" stroke-dasharray=\"";
            for (int k = 0; k < runs->count; ++k) {
                if (k) w << ",";
                w.Number(runs->runs[k] * it.width);
            }
            w << "\" stroke-dashoffset=\"";
            w.Number(it.dashStart * it.width);
        }
        w << "\" d=\"";
        w.Points(it.points, it.closed);
        w << "\"/>\n";
        break;
    case Kind::Fill:
        w << "<path fill=\"";
        w.Colour(it.color);
        w << ((it.rings.empty() ? it.path.fillRule() == Qt::OddEvenFill : !it.winding) ? "\" fill-rule=\"evenodd" : "")
          << "\" d=\"";
        if (it.rings.empty()) w.Path(it.path);
        for (const auto& r : it.rings)
            if (r.size() >= 3) w.Points(r, true);
        w << "\"/>\n";
        break;
    case Kind::Text: {
        const QPointF at = it.clipped ? it.points.front() : it.box.topLeft();
        w << "<text fill=\"";
        w.Colour(it.color);
        w << "\" x=\"";
        w.Number(at.x());
        w << "\" y=\"";
        w.Number(at.y());
        w << "\" font-family=\"";
        w.Escaped(QString::fromStdString(SvgFontFamily(it.font)));
        w << "\" font-size=\"";
        w.Number(it.font.pixelSize() > 0 ? it.font.pixelSize() : it.font.pointSizeF() * 96 / 72);
        if (it.font.bold()) w << "\" font-weight=\"bold";
        if (it.font.italic()) w << "\" font-style=\"italic";
        w << "\" xml:space=\"preserve\">";
        w.Escaped(it.text);
        w << "</text>\n";
        break;
    }
    case Kind::Picture: {
        if (it.image.isNull()) break;
        // The same picture again refers to the first, moved to its place.
        auto [known, added] = pictures.emplace(it.image.cacheKey(), std::pair{int(pictures.size()), it.box});
        if (!added && known->second.second.size() == it.box.size()) {
            w << "<use xlink:href=\"#p" << std::to_string(known->second.first) << "\" x=\"";
            w.Number(it.box.x() - known->second.second.x());
            w << "\" y=\"";
            w.Number(it.box.y() - known->second.second.y());
            w << "\"/>\n";
            break;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        it.image.save(&buffer, "PNG");
        w << "<image" << (added ? " id=\"p" + std::to_string(known->second.first) + "\"" : std::string()) << " x=\"";
        w.Box(it.box);
        w << "\" preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\" xlink:href=\"data:image/png;base64,"
          << png.toBase64().toStdString() << "\"/>\n";
        break;
    }
    case Kind::Inset: {
        // The inset's drawing moved to its frame and clipped to it.
        static int insets = 0;
        const std::string id = "inset" + std::to_string(++insets);
        w << "<clipPath id=\"" << id << "\"><rect x=\"";
        w.Box(it.box);
        w << "\"/></clipPath>\n<g clip-path=\"url(#" << id << ")\"><g transform=\"translate(";
        w.Number(it.points.front().x());
        w << ",";
        w.Number(it.points.front().y());
        w << ")\">\n";
        it.inset->Visit([&](const gui::VectorRecorder::Item& inner) {
            SvgItem(w, inner, pictures);
            return true;
        });
        w << "</g></g>\n";
        break;
    }
    }
}

} // namespace

namespace {

// A number in full, whatever the locale: a transform's factors need more than hundredths.
std::string Decimal(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::isfinite(v) ? v : 0.0, std::chars_format::general, 9);
    return std::string(buf, r.ptr);
}

// Maps pixels p to at + (p - from) * k.
std::string Matrix(double k, QPointF at, QPointF from = {}) {
    return "matrix(" + Decimal(k) + " 0 0 " + Decimal(k) + " " + Decimal(at.x() - from.x() * k) + " " +
           Decimal(at.y() - from.y() * k) + ")";
}

// The shell of an SVG file, width x height millimetres over the view box; body
// writes the shapes and calls step after each, which writes out a large text
// in pieces and asks keepGoing now and then.
using SvgBody = std::function<bool(SvgText& w, const std::function<bool()>& step)>;
bool SvgDocument(const std::string& path, double widthMm, double heightMm, double boxWidth, double boxHeight,
                 const std::string& title, std::string* error, const std::function<bool()>& keepGoing,
                 const SvgBody& body) {
    return gui::AtomicWriteFile(
        path,
        [&](FILE* f, std::string& reason) {
            std::string out;
            SvgText w(out);
            w << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"";
            w.Number(widthMm);
            w << "mm\" height=\"";
            w.Number(heightMm);
            w << "mm\" viewBox=\"0 0 " << Decimal(boxWidth) << " " << Decimal(boxHeight)
              << "\" xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.2\" "
                 "baseProfile=\"tiny\">\n<title>";
            w.Escaped(gui::WithoutControls(QString::fromStdString(title)));
            w << "</title>\n<desc>" << kCreator << "</desc>\n";
            size_t n = 0;
            // Written out in pieces: the text of a large map is never held whole.
            auto flush = [&] {
                if (out.empty()) return true;
                const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
                out.clear();
                return ok;
            };
            bool written = true;
            const bool whole = body(w, [&] {
                if (out.size() > (1 << 20)) written = written && flush();
                return written && (!keepGoing || (++n & 1023) != 0 || keepGoing());
            });
            w << "</svg>\n";
            written = written && flush();
            if (!written) reason = std::strerror(errno);
            else if (!whole) reason = "中止しました";
            return written && whole;
        },
        error);
}

void SvgRect(SvgText& w, const QRectF& r, const char* fill, const char* stroke = nullptr, double strokeMm = 0) {
    w << "<rect x=\"";
    w.Number(r.x());
    w << "\" y=\"";
    w.Number(r.y());
    w << "\" width=\"";
    w.Number(r.width());
    w << "\" height=\"";
    w.Number(r.height());
    w << "\" fill=\"" << fill;
    if (stroke) w << "\" stroke=\"" << stroke << "\" stroke-width=\"" << Decimal(strokeMm);
    w << "\"/>\n";
}

void SvgMark(SvgText& w, const PageMark& m) {
    switch (m.kind) {
    case PageMark::Box: {
        std::string fill;
        SvgText(fill).Colour(m.colour);
        SvgRect(w, m.rect, fill.c_str());
        break;
    }
    case PageMark::Outline: {
        std::string stroke;
        SvgText(stroke).Colour(m.colour);
        SvgRect(w, m.rect, "none", stroke.c_str(), m.penMm);
        break;
    }
    case PageMark::Polygon:
        w << "<path fill=\"";
        w.Colour(m.colour);
        w << "\" d=\"";
        w.Points(m.points, true);
        w << "\"/>\n";
        break;
    case PageMark::Text:
        w << "<text fill=\"";
        w.Colour(m.colour);
        w << "\" x=\"";
        w.Number(m.rect.left());
        w << "\" y=\"";
        w.Number(m.baseline);
        w << "\" font-family=\"IPAGothic, sans-serif\" font-size=\"" << Decimal(m.pointSize * 25.4 / 72);
        if (m.bold) w << "\" font-weight=\"bold";
        w << "\" xml:space=\"preserve\">";
        w.Escaped(QString::fromStdString(m.text));
        w << "</text>\n";
        break;
    }
}

} // namespace

bool WriteSvg(const gui::VectorRecorder& map, int side, const std::string& path, int dpi, const std::string& title,
              std::string* error, const std::function<bool()>& keepGoing) {
    const double mm = side * 25.4 / std::clamp(dpi, 10, 2400);
    return SvgDocument(path, mm, mm, side, side, title, error, keepGoing, [&](SvgText& w, const auto& step) {
        WrittenPictures pictures;
        return map.Visit([&](const gui::VectorRecorder::Item& it) {
            SvgItem(w, it, pictures);
            return step();
        });
    });
}

// In millimetres: the map in its pixels scaled into place, the paper around
// the frame laid over what the map draws beyond it, then the page's items.
bool WriteSvgPage(const PagePicture& page, const std::string& path, const std::string& title, std::string* error,
                  const std::function<bool()>& keepGoing) {
    const PageComposition& c = page.page;
    const QSizeF paper = page.sheet.paper;
    return SvgDocument(path, paper.width(), paper.height(), paper.width(), paper.height(), title, error, keepGoing,
                       [&](SvgText& w, const auto& step) {
        WrittenPictures pictures;
        auto items = [&](const gui::VectorRecorder& rec) {
            return rec.Visit([&](const gui::VectorRecorder::Item& it) {
                SvgItem(w, it, pictures);
                return step();
            });
        };
        w << "<g transform=\"" << Matrix(c.mmPerPixel, c.mapOrigin) << "\">\n";
        if (!items(page.map)) return false;
        w << "</g>\n";
        const QRectF f = c.frame;
        for (const QRectF& band : {QRectF(0, 0, paper.width(), f.top()), QRectF(0, f.bottom(), paper.width(), paper.height() - f.bottom()),
                                   QRectF(0, f.top(), f.left(), f.height()), QRectF(f.right(), f.top(), paper.width() - f.right(), f.height())})
            if (!band.isEmpty()) SvgRect(w, band, "#ffffff");
        for (const PageMark& m : page.Marks()) SvgMark(w, m);
        if (c.drawn[PAGE_LEGEND] && !page.legendBox.isEmpty()) {
            w << "<g transform=\"" << Matrix(1 / kPageDotsPerMm, c.boxes[PAGE_LEGEND].topLeft(), page.legendBox.topLeft()) << "\">\n";
            if (!items(page.legend)) return false;
            w << "</g>\n";
        }
        return true;
    });
}

} // namespace output
