#include "engine/MapLayer.h"
#include <algorithm>

void LayerStack::Add(LayerPlace place, std::unique_ptr<MapLayer> layer) {
    auto at = std::upper_bound(layers.begin(), layers.end(), place,
                               [](LayerPlace p, const Entry& e) { return p < e.place; });
    layers.insert(at, Entry{place, std::move(layer)});
}

void LayerStack::Add(LayerPlace place, FunctionLayer::Test wanted, FunctionLayer::Paint draw,
                     FunctionLayer::Step prepare) {
    Add(place, std::make_unique<FunctionLayer>(std::move(wanted), std::move(draw), std::move(prepare)));
}

bool LayerStack::Drawn(const Entry& e, const DrawSettings& s) const {
    if (e.place > LayerPlace::Background && e.place < LayerPlace::Legend && !s.MapWrite) return false;
    return e.layer->Wanted(s);
}

void LayerStack::Prepare(const DrawSettings& s, LayerPlace from, LayerPlace to) {
    for (Entry& e : layers)
        if (e.place >= from && e.place < to && Drawn(e, s)) e.layer->Prepare(s);
}

void LayerStack::Draw(TCanvas& cv, const MapView& view, const DrawSettings& s, LayerPlace from, LayerPlace to) const {
    for (const Entry& e : layers)
        if (e.place >= from && e.place < to && Drawn(e, s)) e.layer->Draw(cv, view, s);
}
