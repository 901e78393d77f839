#include "engine/RenderJob.h"
#include "gui/VectorRecorder.h"

void RenderMap(TCanvas& cv, const MapSnapshot& job, const std::function<void(TCanvas&)>& between) {
    if (!job.layers) return;
    // Lines wholly off the picture are not kept as shapes.
    if (cv.Vector) cv.Vector->SetArea(job.view.size, job.view.size);
    job.layers->Prepare(job.settings);
    job.layers->Draw(cv, job.view, job.settings, LayerPlace::Background, LayerPlace::Thumbnail);
    if (between) between(cv);
    job.layers->Draw(cv, job.view, job.settings, LayerPlace::Thumbnail);
}
