#include "engine/RenderJob.h"
#include "gui/VectorRecorder.h"
#include <utility>

namespace {

// What a draw wholly inside the given boxes draws is left out while it lives.
struct HiddenWhile {
    TCanvas& cv;
    HiddenWhile(TCanvas& c, std::vector<TRect> boxes) : cv(c) { cv.Hidden = std::move(boxes); }
    ~HiddenWhile() { cv.Hidden.clear(); }
};

} // namespace

std::vector<InsetFrame> RenderMap(TCanvas& cv, const MapSnapshot& job, const std::function<void(TCanvas&)>& between) {
    if (!job.layers) return {};
    // Lines wholly off the picture are not kept as shapes.
    if (cv.Vector) cv.Vector->SetArea(job.view.size, job.view.size);
    job.layers->Prepare(job.settings);
    std::vector<InsetFrame> frames;
    const bool part = job.shown.Right > job.shown.Left && job.shown.Bottom > job.shown.Top;
    if (job.insets) frames = job.insets->Frames(job.view, part ? &job.shown : nullptr);
    if (frames.empty()) {
        job.layers->Draw(cv, job.view, job.settings, LayerPlace::Background, LayerPlace::Thumbnail);
        if (between) between(cv);
        job.layers->Draw(cv, job.view, job.settings, LayerPlace::Thumbnail);
        return frames;
    }
    // The groups in insets are not drawn on the main frame: neither their
    // shapes nor their names; the page's furniture is drawn whole.
    const std::vector<TRect> hidden = job.insets->HiddenOn(job.view);
    auto draw = [&](LayerPlace from, LayerPlace to) {
        for (int p = int(from); p < int(to); ++p) {
            const LayerPlace place = LayerPlace(p);
            const bool page = place == LayerPlace::Background || PageFurniture(place);
            HiddenWhile off(cv, page ? std::vector<TRect>{} : hidden);
            job.layers->Draw(cv, job.view, job.settings, place, LayerPlace(p + 1));
        }
    };
    draw(LayerPlace::Background, LayerPlace::Thumbnail);
    if (between) between(cv);
    draw(LayerPlace::Thumbnail, LayerPlace::End);
    DrawInsets(cv, frames, *job.layers, job.settings);
    return frames;
}
