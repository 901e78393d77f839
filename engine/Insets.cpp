#include "engine/Insets.h"
#include "engine/MapLayer.h"
#include "gui/TextFile.h"
#include "gui/Types.h"
#include "gui/VectorRecorder.h"
#include <algorithm>
#include <cmath>
#include <memory>

InsetSet MapInsets;
std::function<std::vector<InsetUnit>(int area)> InsetUnitsOf;

namespace {

constexpr int kAreaOkinawa = 46, kAreaOgasawara = 51, kAreaHoppo = 52;
// Six degrees each way: 与那国 to 沖縄本島 is under five.
constexpr int64_t kGroupReachX = 60000, kGroupReachY = 90000;
// The two villages of 大東諸島 (their codes with the check digit).
constexpr int32_t kDaitoCodes[] = {473570, 473588};

const InsetGroupInfo kGroups[kInsetGroups] = {
    {"沖縄", "OKINAWA", kAreaOkinawa, InsetCorner::UpperLeft},
    {"小笠原", "OGASAWARA", kAreaOgasawara, InsetCorner::LowerRight},
    {"北方四島", "HOPPO", kAreaHoppo, InsetCorner::UpperRight},
    {"大東諸島", "DAITO", kAreaOkinawa, InsetCorner::LowerRight},
};

// 1, 2 or 5 times a power of ten, at most v.
double RoundDown125(double v) {
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= v) return m * p;
    return p;
}

void DrawInsetScaleBar(TCanvas& cv, const InsetFrame& f, float k) {
    const double kmPerPixel = f.view.RowKm(f.view.size / 2) / f.view.size;
    if (!(kmPerPixel > 0) || !std::isfinite(kmPerPixel)) return;
    const double km = RoundDown125(f.frame.Width() * 0.3 * kmPerPixel);
    const int len = int(km / kmPerPixel), pad = std::max(3, int(6 * k));
    const int x0 = f.frame.Left + pad, y = f.frame.Bottom - pad, tick = std::max(2, int(3 * k));
    cv.Pen->Mode = pmCopy;
    cv.Pen->Style = psSolid;
    cv.Pen->Color = clBlack;
    cv.Pen->Width = std::max(1, int(k));
    cv.MoveTo(x0, y - tick);
    cv.LineTo(x0, y);
    cv.LineTo(x0 + len, y);
    cv.LineTo(x0 + len, y - tick - 1);
    cv.Pen->Width = 1;
    cv.Brush->Style = bsClear;
    cv.Font->Size = std::max(5, int(7 * k));
    cv.Font->Color = clBlack;
    const std::string text = km >= 1 ? gui::Format("%g km", km) : gui::Format("%g m", km * 1000);
    cv.TextOut(x0 + len + tick, y - cv.TextHeight(text) + tick, text);
    cv.Brush->Style = bsSolid;
}

} // namespace

bool PageFurniture(LayerPlace p) {
    return p == LayerPlace::CentreCross || p == LayerPlace::Notice || p == LayerPlace::ScaleBar ||
           p == LayerPlace::Legend || p == LayerPlace::Frame;
}

void MapBox::Add(const MapBox& b) {
    if (b.Empty()) return;
    if (Empty()) {
        *this = b;
        return;
    }
    x0 = std::min(x0, b.x0), y0 = std::min(y0, b.y0), x1 = std::max(x1, b.x1), y1 = std::max(y1, b.y1);
}

MapBox WithMargin(const MapBox& b) {
    // In the float arithmetic of the data, as the loader has always done it.
    const float w = float(double(int64_t(b.x1) - b.x0) * 0.0001);
    const float h = float(double(int64_t(b.y1) - b.y0) * 0.0001);
    const float m = std::max(w, h);
    return {TruncToInt(float(b.x0) - 300 * m), TruncToInt(float(b.y0) - 300 * m), TruncToInt(float(b.x1) + 300 * m),
            TruncToInt(float(b.y1) + 300 * m)};
}

const char* InsetCornerCaption(InsetCorner c) {
    static const char* const captions[kInsetCorners] = {"右下", "左下", "左上", "右上"};
    return captions[std::clamp(int(c), 0, kInsetCorners - 1)];
}

const InsetGroupInfo& InsetGroupOf(int g) { return kGroups[std::clamp(g, 0, kInsetGroups - 1)]; }

int InsetGroupOfUnit(int area, int32_t code) {
    if (area == kAreaOgasawara) return kInsetOgasawara;
    if (area == kAreaHoppo) return kInsetHoppo;
    if (area != kAreaOkinawa) return -1;
    return std::find(std::begin(kDaitoCodes), std::end(kDaitoCodes), code) != std::end(kDaitoCodes) ? kInsetDaito
                                                                                                    : kInsetOkinawa;
}

InsetSet::InsetSet() {
    for (int g = 0; g < kInsetGroups; ++g) choice[size_t(g)].corner = kGroups[g].corner;
}

void InsetSet::SetMap(const std::vector<int>& drawn, const MapBox& box,
                      const std::function<std::vector<InsetUnit>(int area)>& unitsOf) {
    areas = drawn;
    data = box;
    read = unitsOf;
    units.clear();
    unitsRead = false;
    boxes = {};
    wholes = {};
    // Only the groups' own areas now; the others when an inset asks for what remains.
    std::array<std::vector<MapBox>, kInsetGroups> parts;
    for (int area : areas)
        if (read && InsetGroupOfUnit(area, 0) >= 0)
            for (const InsetUnit& u : read(area)) parts[size_t(InsetGroupOfUnit(area, u.code))].push_back(u.box);
    for (int g = 0; g < kInsetGroups; ++g) {
        const auto& p = parts[size_t(g)];
        if (p.empty()) continue;
        for (const MapBox& b : p) wholes[size_t(g)].Add(b);
        // The inset frames the islands round the largest part; a lone far
        // island (南鳥島, 12 degrees east of 父島) would leave the rest specks.
        const MapBox& big = *std::max_element(p.begin(), p.end(), [](const MapBox& a, const MapBox& b) {
            return (double(a.x1) - a.x0) * (double(a.y1) - a.y0) < (double(b.x1) - b.x0) * (double(b.y1) - b.y0);
        });
        const int64_t cx = MidOf(big.x0, big.x1), cy = MidOf(big.y0, big.y1);
        for (const MapBox& b : p)
            if (MapGap(MidOf(b.x0, b.x1), cx) <= kGroupReachX && MapGap(MidOf(b.y0, b.y1), cy) <= kGroupReachY)
                boxes[size_t(g)].Add(b);
    }
}

bool InsetSet::AnyActive() const {
    for (int g = 0; g < kInsetGroups; ++g)
        if (Active(g)) return true;
    return false;
}

MapBox InsetSet::StandardBox() const {
    if (!AnyActive() || !read) return data;
    if (!unitsRead) {
        unitsRead = true;
        unitsWhole = !areas.empty();
        for (int area : areas) {
            std::vector<InsetUnit> got = read(area);
            unitsWhole = unitsWhole && !got.empty();
            for (const InsetUnit& u : got) units.push_back({area, u});
        }
    }
    // An area without polygons would be left out of the view.
    if (!unitsWhole) return data;
    MapBox rest;
    for (const auto& [area, u] : units) {
        const int g = InsetGroupOfUnit(area, u.code);
        if (g < 0 || !Active(g)) rest.Add(u.box);
    }
    return rest.Empty() ? data : WithMargin(rest);
}

int32_t InsetSet::FittedSpan(int g, float aspect) const {
    const MapBox& b = Box(g);
    if (b.Empty()) return kInsetMinSpan;
    const double longer = std::max(double(b.x1) - b.x0, (double(b.y1) - b.y0) * aspect);
    return int32_t(std::clamp(longer * 1.08 * 3, double(kInsetMinSpan), double(kInsetMaxSpan)));
}

int32_t InsetSet::SpanOf(int g, float aspect) const {
    const int32_t s = choice[size_t(g)].span;
    return s > 0 ? s : FittedSpan(g, aspect);
}

std::vector<InsetFrame> InsetSet::Frames(const MapView& main, const TRect* shown) const {
    std::vector<InsetFrame> frames;
    if (!AnyActive() || main.size <= 0) return frames;
    const TRect area = shown ? *shown : TRect(0, 0, main.size, main.size);
    const float k = main.size / 600.0f;
    const int margin = std::max(2, int(8 * k));
    const int limit = std::max(8, int(std::min(area.Right - area.Left, area.Bottom - area.Top) * 0.6f));
    int used[kInsetCorners] = {};   // how far along its edge each corner is taken
    for (int g = 0; g < kInsetGroups; ++g) {
        if (!Active(g)) continue;
        const MapBox& b = Box(g);
        InsetFrame f;
        f.group = g;
        f.view.cx = MidOf(b.x0, b.x1);
        f.view.cy = MidOf(b.y0, b.y1);
        const float aspect = float(DegreeLengthRatio(f.view.cy) * 2 * (1.0 / 3));
        f.view.scaleX = float(600.0 / SpanOf(g, aspect) * k);
        f.view.scaleY = f.view.scaleX * aspect;
        f.view.wgs = main.wgs;
        // The group with a little sea round it, never wider than most of the picture.
        const int pad = std::max(2, int(6 * k));
        const int w = std::clamp(int(std::ceil((double(b.x1) - b.x0) * f.view.scaleX)) + 2 * pad, 16, limit);
        const int h = std::clamp(int(std::ceil((double(b.y1) - b.y0) * f.view.scaleY)) + 2 * pad, 16, limit);
        f.view.size = std::max(w, h);
        f.cropX = (f.view.size - w) / 2;
        f.cropY = (f.view.size - h) / 2;
        const int c = int(choice[size_t(g)].corner);
        const bool right = c == 0 || c == 3, bottom = c == 0 || c == 1;
        const int along = margin + used[c];
        used[c] += w + margin;
        const int left = right ? area.Right - along - w : area.Left + along;
        const int top = bottom ? area.Bottom - margin - h : area.Top + margin;
        f.frame = TRect(left, top, left + w, top + h);
        f.press = f.view;
        f.press.left = left - f.cropX;
        f.press.top = top - f.cropY;
        frames.push_back(f);
    }
    return frames;
}

std::vector<TRect> InsetSet::HiddenOn(const MapView& main) const {
    std::vector<TRect> rects;
    for (int g = 0; g < kInsetGroups; ++g) {
        if (!Active(g)) continue;
        const MapBox& b = wholes[size_t(g)];
        int l, t, r, bt;
        main.ToScreen(b.x0, b.y1, l, t);
        main.ToScreen(b.x1, b.y0, r, bt);
        // A pixel more all round: the datum shift moves points by a unit or so.
        rects.push_back(TRect(l - 1, t - 1, r + 2, bt + 2));
    }
    return rects;
}

void DrawInsets(TCanvas& cv, const std::vector<InsetFrame>& frames, LayerStack& layers, const DrawSettings& s) {
    DrawSettings inset = s;
    inset.KeepsPlaces = false;
    inset.Menseki = false;
    inset.Inset = true;
    for (const InsetFrame& f : frames) {
        const float k = cv.Width() / 600.0f;
        TBitmap bmp(f.view.size, f.view.size);
        TCanvas& ic = *bmp.Canvas();
        std::shared_ptr<gui::VectorRecorder> kept;
        if (cv.Vector) {
            kept = std::make_shared<gui::VectorRecorder>();
            kept->SetArea(f.view.size, f.view.size);
            ic.Vector = kept.get();
        }
        for (int p = int(LayerPlace::Background); p < int(LayerPlace::End); ++p)
            if (!PageFurniture(LayerPlace(p))) layers.Draw(ic, f.view, inset, LayerPlace(p), LayerPlace(p + 1));
        ic.Vector = nullptr;
        // The pixels go over as they are; a vector device keeps the drawing itself, clipped to the frame.
        gui::VectorRecorder* device = std::exchange(cv.Vector, nullptr);
        cv.CopyRect(f.frame, &ic, TRect(f.cropX, f.cropY, f.cropX + f.frame.Width(), f.cropY + f.frame.Height()));
        cv.Vector = device;
        if (device)
            device->Inset(std::move(kept), QPointF(f.frame.Left - f.cropX, f.frame.Top - f.cropY),
                          QRectF(f.frame.Left, f.frame.Top, f.frame.Width(), f.frame.Height()));
        cv.Brush->Style = bsSolid;
        cv.Brush->Color = clBlack;
        cv.FrameRect(f.frame);
        DrawInsetScaleBar(cv, f, k);
    }
}
