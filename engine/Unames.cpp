// Municipality names on the map: current, old or new names, the duplicate-name
// list and the designated cities; the boxes that switch borders and names.
#include "engine/Coords.h"
#include "engine/Uopen.h"
#include <algorithm>

// A text that starts on a line or on another text gets the background colour;
// one on a painted area keeps the paint behind it.
TColor TOpen::PickTextBackground(int x, int y) { return PickTextBackground(*ui.Image1->Canvas(), x, y); }

TColor TOpen::PickTextBackground(TCanvas& cv, int x, int y) const { return ::PickTextBackground(style, cv, x, y); }

TColor PickTextBackground(const MapStyle& style, TCanvas& cv, int x, int y) {
    const TColor c = cv.Pixels(x, y);
    if (c < 0) return style.BackColor;
    for (TColor line : {style.CoastColor, style.TownColor, style.TownFontColor, style.KuColor, style.PrefColor, style.DoColor, style.FunColor, style.LabelColor,
                        style.KanaFontColor, style.IslandsColor})
        if (c == line) return style.BackColor;
    return c;
}

bool ContainsWard(const std::string& name) { return name.find("区") != std::string::npos; }

bool TOpen::IsDuplicateName(const std::string& name) const {
    const int n = std::min<int>(doc.ExtraCount, int(doc.ExtraTownName.size()));
    for (int i = 0; i < n; ++i)
        if (doc.ExtraTownName[i] == name) return true;
    return false;
}

namespace {

// The duplicate-name list and the city list write in the size of this redraw's names.
void ListNameFont(TOpen& o, TCanvas* cv, const DrawSettings& s) {
    cv->Pen->Color = o.style.TownFontColor;
    cv->Font->Color = s.SameColour ? o.style.CoastColor : o.style.TownFontColor;
    cv->Font->Size = o.style.NameFontSize;
}

// Slot i of a layer's slots, made when the table has grown.
gui::TextSlot& SlotOf(std::vector<gui::TextSlot>& kept, int i) {
    if (size_t(i) >= kept.size()) kept.resize(size_t(i) + 1);
    return kept[size_t(i)];
}

} // namespace

// A name with its top-left corner at its point, on an opaque box.
void TOpen::DrawNameText(TCanvas& canvas, const MapView& view, int32_t x, int32_t y, const std::string& name,
                         bool white, gui::TextSlot& slot) const {
    int sx, sy;
    view.ToScreen(x, y, sx, sy);
    TCanvas* cv = &canvas;
    cv->Brush->Color = white ? 0xFFFFFF : PickTextBackground(canvas, sx, sy);
    cv->Brush->Style = bsSolid;
    cv->TextOut(sx, sy, name, slot);
}

void TOpen::DrawTownNames(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    TCanvas* cv = &canvas;
    cv->Pen->Color = style.TownFontColor;
    cv->Font->Color = style.TownFontColor;
    cv->Brush->Style = bsSolid;
    const int size = s.NameSize;
    style.NameFontSize = s.FixedSize ? size : TruncToInt(size * (1.0 / 600) * view.size);
    cv->Font->Size = style.NameFontSize;

    const bool doubles = s.DoubleNames;
    const bool wards = s.KuNames;
    const bool mainDoubles = s.MainDoubleName;
    const int towns = std::min<int>(doc.TownCount, int(doc.TownName.size()));
    for (int i = 0; i < towns; ++i) {
        const std::string& name = doc.TownName[i];
        if (!doubles && doc.TownDup[i] == 'd') continue;
        const bool ward = ContainsWard(name);
        // A ward that also stands in the duplicate list is left to that list.
        if (ward && !mainDoubles && IsDuplicateName(name)) continue;
        if (!wards && ward) continue;
        DrawNameText(canvas, view, doc.TownX[i], doc.TownY[i], name, s.WhiteNameBoxes, SlotOf(TownSlots, i));
    }

    const bool oldNames = s.OldTownNames;
    const std::vector<int32_t>& xs = oldNames ? doc.OldTownX : doc.NewTownX;
    const std::vector<int32_t>& ys = oldNames ? doc.OldTownY : doc.NewTownY;
    const std::vector<std::string>& names = oldNames ? doc.OldTownName : doc.NewTownName;
    const std::vector<char>& dups = oldNames ? doc.OldTownDup : doc.NewTownDup;
    const int count = std::min<int>(oldNames ? doc.OldTownCount : doc.NewTownCount, int(names.size()));
    for (int i = 0; i < count; ++i) {
        if (!doubles && dups[i] == 'd') continue;
        if (!wards && ContainsWard(names[i])) continue;
        DrawNameText(canvas, view, xs[i], ys[i], names[i], s.WhiteNameBoxes, SlotOf(OtherTownSlots, i));
    }
}

void TOpen::DrawDuplicateNames(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    if (!s.TownName) return;
    ListNameFont(*this, &canvas, s);

    const bool oldBorders = s.NTownBorder;
    const bool oldNames = s.OldTownNames;
    const bool wards = s.KuNames;
    const int extras = std::min<int>(doc.ExtraCount, int(doc.ExtraTownName.size()));
    for (int a = 0; a < doc.SELECT && a < 100; ++a) {
        for (int i = 0; i < extras; ++i) {
            const std::string& name = doc.ExtraTownName[i];
            // These two names exist only in the old municipality data.
            if (!oldBorders && (name == "三和町" || name == "一宮町")) continue;
            if (!oldNames && doc.ExtraKind[i] == 'X') continue;
            if (doc.ExtraPref[i] != doc.SelectCode[a]) continue;
            if (ContainsWard(name) && !wards) continue;
            DrawNameText(canvas, view, doc.ExtraX[i], doc.ExtraY[i], name, s.WhiteNameBoxes, SlotOf(ExtraSlots, i));
        }
    }
}

void TOpen::DrawCityNames(TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    if (!s.TownName) return;
    if (!s.CityNames) return;
    ListNameFont(*this, &canvas, s);

    const bool mainDoubles = s.MainDoubleName;
    const bool oldNames = s.OldTownNames;
    const int cities = std::min<int>(doc.CityCount, int(doc.CityName.size()));
    for (int i = 0; i < cities; ++i) {
        for (int a = 0; a < doc.SELECT && a < 100; ++a) {
            if (doc.CityPref[i] != doc.SelectCode[a]) continue;
            if (!mainDoubles && doc.CityFlag[i] == 1) continue;
            // The merged city did not exist in the old data.
            if (oldNames && doc.CityName[i] == "さいたま市") continue;
            DrawNameText(canvas, view, doc.CityX[i], doc.CityY[i], doc.CityName[i], s.WhiteNameBoxes, SlotOf(CitySlots, i));
        }
    }
}

void TOpen::DrawTownNames() { DrawTownNames(*ui.Image1->Canvas(), DrawnView, ReadDrawSettings()); }
void TOpen::DrawDuplicateNames() { DrawDuplicateNames(*ui.Image1->Canvas(), DrawnView, ReadDrawSettings()); }
void TOpen::DrawCityNames() { DrawCityNames(*ui.Image1->Canvas(), DrawnView, ReadDrawSettings()); }
