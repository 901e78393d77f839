#include "output/PageDraw.h"
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace output {

namespace {

constexpr double kPadMm = 1.0;          // paper around a text or a bar, under its white box
constexpr double kMmPerPoint = 25.4 / 72;
constexpr double kBarHeightMm = 1.6;
constexpr double kNorthWidthMm = 8, kNorthHeightMm = 14;
constexpr int kMeasurePixelsPerPoint = 10;

QFont PageFont(int pixels, bool bold) {
    QFont f("IPAGothic");
    f.setPixelSize(std::max(1, pixels));
    f.setBold(bold);
    return f;
}

struct Text {
    QSizeF size;   // mm, without the pad
    double ascent = 0;
};

Text Measure(const std::string& text, double points, bool bold) {
    const QFontMetricsF m(PageFont(int(std::lround(points * kMeasurePixelsPerPoint)), bold));
    const double mm = kMmPerPoint / kMeasurePixelsPerPoint;
    return {QSizeF(m.horizontalAdvance(QString::fromStdString(text)) * mm, (m.ascent() + m.descent()) * mm),
            m.ascent() * mm};
}

// A text with its white box, the box as the page placed it.
void TextItem(std::vector<PageMark>& out, const QRectF& box, const std::string& text, double points, bool bold) {
    out.push_back({PageMark::Box, box, {}, Qt::white});
    const Text t = Measure(text, points, bold);
    PageMark m{PageMark::Text, box};
    m.text = text;
    m.pointSize = points;
    m.bold = bold;
    m.rect = QRectF(box.left() + kPadMm, box.top() + kPadMm, t.size.width(), t.size.height());
    m.baseline = box.top() + kPadMm + t.ascent;
    out.push_back(m);
}

QSizeF Padded(QSizeF s) { return s.isEmpty() ? QSizeF() : s + QSizeF(2 * kPadMm, 2 * kPadMm); }

// The scale bar's labels lie centred over its ticks; the first and the last
// stick out by half their widths.
struct BarShape {
    ScaleBarPlan plan;
    double firstHalf = 0, lastHalf = 0, labelHeight = 0, ascent = 0;
    Text note;
    QSizeF size;
};

BarShape ShapeOfBar(double scale, const std::string& note) {
    BarShape b;
    b.plan = PlanScaleBar(scale);
    if (b.plan.segments <= 0) return b;
    const Text first = Measure(b.plan.labels.front(), kScaleBarPoints, false);
    const Text last = Measure(b.plan.labels.back(), kScaleBarPoints, false);
    b.firstHalf = first.size.width() / 2;
    b.lastHalf = last.size.width() / 2;
    b.labelHeight = first.size.height();
    b.ascent = first.ascent;
    b.size = QSizeF(b.firstHalf + b.plan.segments * b.plan.segmentMm + b.lastHalf, b.labelHeight + 0.6 + kBarHeightMm);
    if (!note.empty()) {
        b.note = Measure(note, kScaleBarPoints, false);
        b.size = QSizeF(std::max(b.size.width(), b.note.size.width()), b.size.height() + 0.6 + b.note.size.height());
    }
    return b;
}

} // namespace

QSizeF TextSizeMm(const std::string& text, double points, bool bold, double* ascentMm) {
    const Text t = Measure(text, points, bold);
    if (ascentMm) *ascentMm = t.ascent;
    return t.size;
}

QRectF RecordedBounds(const gui::VectorRecorder& rec) {
    QRectF box;
    auto add = [&](const QRectF& r) { box = box.isNull() ? r : box.united(r); };
    rec.Visit([&](const gui::VectorRecorder::Item& it) {
        using Kind = gui::VectorRecorder::Kind;
        switch (it.kind) {
        case Kind::Stroke:
            for (const QPointF& q : it.points) add(QRectF(q, QSizeF(1, 1)));
            break;
        case Kind::Fill:
            if (it.rings.empty()) add(it.path.boundingRect());
            for (const auto& r : it.rings)
                for (const QPointF& q : r) add(QRectF(q, QSizeF(0, 0)));
            break;
        case Kind::Text: {
            const QFontMetricsF m(it.font);
            const QPointF at = it.clipped ? it.points.front() : it.box.topLeft();
            add(QRectF(at.x(), at.y() - m.ascent(), m.horizontalAdvance(it.text), m.height()));
            break;
        }
        case Kind::Picture: add(it.box); break;
        }
        return true;
    });
    return box;
}

void MeasurePageItems(const PagePicture& pic, double scale, QSizeF (&sizes)[PAGE_ITEMS]) {
    for (QSizeF& s : sizes) s = QSizeF();
    if (!pic.title.empty()) sizes[PAGE_TITLE] = Padded(Measure(pic.title, kTitlePoints, true).size);
    if (!pic.subtitle.empty()) sizes[PAGE_SUBTITLE] = Padded(Measure(pic.subtitle, kSubtitlePoints, false).size);
    if (!pic.legendBox.isEmpty()) sizes[PAGE_LEGEND] = pic.legendBox.size() / kPageDotsPerMm;
    sizes[PAGE_SCALEBAR] = Padded(ShapeOfBar(scale, pic.scaleNote).size);
    sizes[PAGE_CREDIT] = Padded(Measure(pic.credit, kCreditPoints, false).size);
    sizes[PAGE_NORTH] = QSizeF(kNorthWidthMm, kNorthHeightMm);
}

std::vector<PageMark> PagePicture::Marks() const {
    std::vector<PageMark> out;
    const PageComposition& c = page;
    // The frame's edge: the map ends on a line, not on the lines it cut.
    out.push_back({PageMark::Outline, c.frame, {}, Qt::black, 0.25});
    if (c.drawn[PAGE_TITLE]) TextItem(out, c.boxes[PAGE_TITLE], title, kTitlePoints, true);
    if (c.drawn[PAGE_SUBTITLE]) TextItem(out, c.boxes[PAGE_SUBTITLE], subtitle, kSubtitlePoints, false);
    if (c.drawn[PAGE_CREDIT]) TextItem(out, c.boxes[PAGE_CREDIT], credit, kCreditPoints, false);
    if (c.drawn[PAGE_SCALEBAR]) {
        const BarShape b = ShapeOfBar(c.scale, scaleNote);
        const QRectF box = c.boxes[PAGE_SCALEBAR];
        out.push_back({PageMark::Box, box, {}, Qt::white});
        const double x0 = box.left() + kPadMm + b.firstHalf, top = box.top() + kPadMm;
        const double barTop = top + b.labelHeight + 0.6;
        for (int i = 0; i <= b.plan.segments; ++i) {
            const double x = x0 + i * b.plan.segmentMm;
            const std::string& label = b.plan.labels[size_t(i)];
            PageMark m{PageMark::Text};
            m.text = label;
            m.pointSize = kScaleBarPoints;
            const double w = Measure(label, kScaleBarPoints, false).size.width();
            m.rect = QRectF(x - w / 2, top, w, b.labelHeight);
            m.baseline = top + b.ascent;
            out.push_back(m);
            if (i == b.plan.segments) break;
            const QRectF seg(x, barTop, b.plan.segmentMm, kBarHeightMm);
            out.push_back({PageMark::Box, seg, {}, i % 2 == 0 ? QColor(Qt::black) : QColor(Qt::white)});
        }
        out.push_back({PageMark::Outline, QRectF(x0, barTop, b.plan.segments * b.plan.segmentMm, kBarHeightMm), {},
                       Qt::black, 0.2});
        if (!scaleNote.empty()) {
            PageMark m{PageMark::Text};
            m.text = scaleNote;
            m.pointSize = kScaleBarPoints;
            const double top = barTop + kBarHeightMm + 0.6;
            m.rect = QRectF(box.left() + kPadMm, top, b.note.size.width(), b.note.size.height());
            m.baseline = top + b.note.ascent;
            out.push_back(m);
        }
    }
    if (c.drawn[PAGE_NORTH]) {
        const QRectF box = c.boxes[PAGE_NORTH];
        out.push_back({PageMark::Box, box, {}, Qt::white});
        const double w = Measure("N", kNorthPoints, true).size.width();
        double ascent = 0;
        TextSizeMm("N", kNorthPoints, true, &ascent);
        PageMark n{PageMark::Text, QRectF(box.center().x() - w / 2, box.top() + kPadMm, w, ascent)};
        n.text = "N";
        n.pointSize = kNorthPoints;
        n.bold = true;
        n.baseline = box.top() + kPadMm + ascent;
        out.push_back(n);
        const double cx = box.center().x(), tip = n.baseline + 1, foot = box.bottom() - kPadMm;
        PageMark arrow{PageMark::Polygon};
        arrow.points = {{cx, tip}, {cx + 2.6, foot}, {cx, foot - 2.4}, {cx - 2.6, foot}};
        out.push_back(arrow);
    }
    return out;
}

bool DrawPageMap(QPainter& p, const PagePicture& pic, double dotsPerMm, const std::function<bool()>& keepGoing) {
    const PageComposition& c = pic.page;
    p.save();
    const QTransform outer = p.worldTransform();
    p.scale(dotsPerMm, dotsPerMm);
    p.setClipRect(c.frame, Qt::IntersectClip);
    // The square's corner on a whole dot and every point in whole dots of the
    // device (1/1200 inch in a PDF): the writer then puts each number short,
    // and a coast keeps its own points, finer than any print shows.
    double dotsPerPixel = dotsPerMm * c.mmPerPixel;
    const int units = int(std::lround(dotsPerPixel));
    if (units >= 2 && std::abs(dotsPerPixel - units) < 1e-9) dotsPerPixel = units;
    p.setWorldTransform(QTransform::fromScale(dotsPerPixel, dotsPerPixel) *
                        QTransform::fromTranslate(std::round(c.mapOrigin.x() * dotsPerMm),
                                                  std::round(c.mapOrigin.y() * dotsPerMm)) *
                        outer);
    const bool whole = pic.map.Replay(p, keepGoing, std::max(units, 1));
    p.restore();
    return whole;
}

void DrawPageItems(QPainter& p, const PagePicture& pic, double dotsPerMm) {
    const PageComposition& c = pic.page;
    const QTransform base = p.worldTransform(), mm = QTransform::fromScale(dotsPerMm, dotsPerMm) * base;
    for (const PageMark& m : pic.Marks()) {
        p.save();
        p.setWorldTransform(mm);
        switch (m.kind) {
        case PageMark::Box: p.fillRect(m.rect, m.colour); break;
        case PageMark::Outline: {
            QPen pen(m.colour);
            pen.setWidthF(m.penMm);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(m.rect);
            break;
        }
        case PageMark::Polygon: {
            QPainterPath path;
            path.addPolygon(QPolygonF(QList<QPointF>(m.points.begin(), m.points.end())));
            path.closeSubpath();
            p.fillPath(path, m.colour);
            break;
        }
        case PageMark::Text:
            // Set in the device's own dots: the font is not scaled by the transform.
            p.setWorldTransform(base);
            p.setFont(PageFont(int(std::lround(m.pointSize * kMmPerPoint * dotsPerMm)), m.bold));
            p.setPen(m.colour);
            p.drawText(QPointF(m.rect.left() * dotsPerMm, m.baseline * dotsPerMm), QString::fromStdString(m.text));
            break;
        }
        p.restore();
    }
    // The legend as its layer drew it, over the frame's edge.
    if (c.drawn[PAGE_LEGEND] && !pic.legendBox.isEmpty()) {
        p.save();
        p.setWorldTransform(mm);
        p.translate(c.boxes[PAGE_LEGEND].topLeft());
        p.scale(1 / kPageDotsPerMm, 1 / kPageDotsPerMm);
        p.translate(-pic.legendBox.topLeft());
        pic.legend.Replay(p, {}, 2);
        p.restore();
    }
}

bool DrawPage(QPainter& p, const PagePicture& pic, double dotsPerMm, const std::function<bool()>& keepGoing) {
    if (!DrawPageMap(p, pic, dotsPerMm, keepGoing)) return false;
    DrawPageItems(p, pic, dotsPerMm);
    return true;
}

} // namespace output
