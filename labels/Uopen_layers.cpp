// Prefecture names and capitals, mountain names and island names on the map.
#include "components/Mystr.h"
#include "engine/Convert.h"
#include "engine/Coords.h"
#include "engine/FeatureHooks.h"
#include "gui/TextFile.h"
#include "labels/MainFormLabels.h"
#include "labels/Uletter.h"
#include "labels/Upagesdlg.h"
#include "labels/Uprefnames.h"
#include "labels/Uprefset.h"
#include "names/Usearch.h"
#include "engine/MapDocument.h"
#include "engine/MapStyle.h"

namespace {
constexpr int HIGHLIGHT_MAX = 20;
} // namespace

std::string DropLastChars(const std::string& s, int n) {
    size_t end = s.size();
    for (int k = 0; k < n && end > 0; ++k) {
        --end;
        while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    }
    return s.substr(0, end);
}

std::vector<int> PrefRecordIndexes(const int32_t* codes, int count, bool seats, bool subPrefectures) {
    std::vector<int> out;
    for (int i = 0; i < count; ++i) {
        const int c = codes[i];
        if (c < 1 || c >= 50) continue;
        if (c <= 46) {
            out.push_back(c - 1);
        } else if (!subPrefectures) {
            out.push_back(46);
        } else {
            // Names: 47-52, 53-55, 56-60; seats: 46-51, 52-54, 55-59.
            static const int first[3] = {47, 53, 56}, number[3] = {6, 3, 5};
            const int k = c - 47, base = seats ? first[k] - 1 : first[k];
            for (int j = 0; j < number[k]; ++j) out.push_back(base + j);
        }
    }
    return out;
}

void DrawPrefLayer(TOpen& o, TCanvas& canvas, const MapView& view, const DrawSettings& s, bool seats) {
    TCanvas* cv = &canvas;
    const bool suffix = seats ? s.PrefSeatSuffix : s.PrefNameSuffix;
    const std::vector<LabelRecord>& table = seats ? Letter->PrefSeatTable : Letter->PrefNameTable;
    const int count = seats ? Letter->PrefSeatCount : Letter->PrefNameCount;
    for (int r : PrefRecordIndexes(DocOf(o).SelectCode, DocOf(o).SELECT, seats, s.Hokkaido)) {
        if (r >= count) continue;
        const LabelRecord& rec = table[r];
        // Sub-prefecture names lose two characters, the others one.
        const int cut = !seats && r >= 47 ? 2 : 1;
        const std::string text = suffix ? rec.text : DropLastChars(rec.text, cut);
        int size = rec.size;
        if (!s.FixedSize && view.size >= 600) size = size * view.size / 600;
        cv->Font->Size = size;
        cv->Font->Color = seats ? StyleOf(o).DefPrefSeatColor : StyleOf(o).DefPrefColor;
        int sx, sy;
        view.ToScreen(rec.x, rec.y, sx, sy);
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = PickTextBackground(StyleOf(o), canvas, sx, sy);
        if (seats) {
            cv->TextOut(sx, sy, rec.mark);
            cv->TextOut(sx + TruncToInt(size * 1.4), sy, text);
        } else {
            cv->TextOut(sx, sy, text);
        }
    }
}

void DrawMountains(TOpen& o, TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    TCanvas* cv = &canvas;
    struct Found { int sx, sy; std::string text, yomi, height; };
    std::vector<Found> found;
    const bool yomiOn = s.MtYomi, heightOn = s.MtHeight;
    auto draw = [&](const Found& m) {
        const int h = cv->TextHeight(m.text);
        cv->TextOut(m.sx, m.sy, m.text);
        if (yomiOn) cv->TextOut(m.sx, m.sy - h, m.yomi);
        if (heightOn) cv->TextOut(m.sx + h, m.sy + h, m.height);
    };
    std::vector<std::string> f;
    std::string line;
    for (int i = 0; i < DocOf(o).SELECT; ++i) {
        const int c = DocOf(o).SelectCode[i];
        if (c < 0 || c >= 60) continue;
        gui::TextReader in;
        if (!in.Open(DocOf(o).AppDir + gui::Format("/Mapdata/Mountain/%02d", c) + DocOf(o).AreaName[c] + "山.txt")) continue;
        cv->Font->Size = StyleOf(o).NameFontSize;
        cv->Font->Color = StyleOf(o).MountainColor;
        cv->Brush->Style = bsSolid;
        cv->Brush->Color = StyleOf(o).BackColor;
        for (int k = 0; k < 4; ++k) in.ReadLine(line);
        while (in.ReadLine(line) && !line.empty()) {
            Found m;
            TMyStr::SplitFields(line, f);
            m.yomi = f.empty() ? "" : f[0];
            if (!in.ReadLine(line)) break;
            int n = TMyStr::SplitFields(line, f);
            if (n < 4) continue;
            const std::string name = f[0];
            m.text = "▲" + name;
            m.height = f[2];
            std::string lat = f[3];
            if (!in.ReadLine(line)) break;
            if (TMyStr::SplitFields(line, f) < 1) continue;
            std::string lon = f[0];
            int32_t x, y;
            MountainToMap(ParseDms(lat), ParseDms(lon), x, y);
            view.ToScreen(x, y, m.sx, m.sy);
            m.sx -= StyleOf(o).NameFontSize / 2;
            m.sy -= StyleOf(o).NameFontSize / 2;
            if (Search->SearchHighlight && name == Search->SearchFoundName && found.size() < HIGHLIGHT_MAX)
                found.push_back(m);
            draw(m);
        }
    }
    cv->Font->Color = StyleOf(o).SelectColor;
    for (const Found& m : found) draw(m);
}

void DrawIslands(TOpen& o, TCanvas& canvas, const MapView& view, const DrawSettings& s) {
    TCanvas* cv = &canvas;
    struct Found { int sx, sy; std::string text; };
    std::vector<Found> found;
    std::vector<std::string> f;
    std::string line;
    const bool white = s.WhiteNameBoxes;
    for (int i = 0; i < DocOf(o).SELECT; ++i) {
        const int c = DocOf(o).SelectCode[i];
        if (c < 0 || c >= 60) continue;
        gui::TextReader in;
        if (!in.Open(DocOf(o).AppDir + gui::Format("/Mapdata/Islands/%02d", c) + DocOf(o).AreaName[c] + "島.lbl")) continue;
        cv->Font->Size = StyleOf(o).NameFontSize;
        while (in.ReadLine(line)) {
            if (TMyStr::SplitFields(line, f) < 4) continue;
            int sx, sy;
            view.ToScreen(LenientInt(f[1]), LenientInt(f[2]), sx, sy);
            cv->Brush->Style = bsSolid;
            cv->Brush->Color = white ? 0xFFFFFF : PickTextBackground(StyleOf(o), canvas, sx, sy);
            if (Search->SearchHighlight && f[3] == Search->SearchFoundName) {
                cv->Font->Color = StyleOf(o).SelectColor;
                if (found.size() < HIGHLIGHT_MAX) found.push_back({sx, sy, f[3]});
            } else {
                cv->Font->Color = StyleOf(o).IslandsColor;
            }
            cv->TextOut(sx, sy, f[3]);
        }
    }
    cv->Font->Color = StyleOf(o).SelectColor;
    for (const Found& m : found) cv->TextOut(m.sx, m.sy, m.text);
}

void AddLabelsLayers(TOpen& o) {
    HooksOf(o).SettingsReaders.push_back([&o](DrawSettings& s) {
        s.Symbols = PagesDlg->SymbolsShown;
        s.PrefNameSuffix = PrefSet->CheckBox1->Checked();
        s.PrefSeatSuffix = PrefSet->CheckBox2->Checked();
        ReadLabelSettings(o, s);
    });
    HooksOf(o).Layers.Add(
        LayerPlace::Islands, [](const DrawSettings& s) { return !s.Painting && s.Islands; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawIslands(o, cv, v, s); });
    HooksOf(o).Layers.Add(
        LayerPlace::Mountains, [](const DrawSettings& s) { return s.Mountains; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawMountains(o, cv, v, s); });
    HooksOf(o).Layers.Add(
        LayerPlace::Symbols, [](const DrawSettings& s) { return s.Symbols; },
        [](TCanvas& cv, const MapView& v, const DrawSettings&) { PagesDlg->DrawPlacedSymbols(cv, v); });
    HooksOf(o).AfterRedrawHooks.push_back([](const DrawSettings& s) {
        if (s.Symbols) PagesDlg->TakeDrawn();
    });
    HooksOf(o).Layers.Add(
        LayerPlace::Labels, [](const DrawSettings& s) { return s.Labels; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawLabels(o, cv, v, s); });
    HooksOf(o).AfterRedrawHooks.push_back([&o](const DrawSettings& s) {
        if (s.Labels) ShowLastStation(s);
    });
    HooksOf(o).Layers.Add(
        LayerPlace::PrefNames, [](const DrawSettings& s) { return s.PrefBorder && s.KenName; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawPrefLayer(o, cv, v, s, false); });
    HooksOf(o).Layers.Add(
        LayerPlace::PrefSeats, [](const DrawSettings& s) { return s.PrefBorder && s.KenOffice; },
        [&o](TCanvas& cv, const MapView& v, const DrawSettings& s) { DrawPrefLayer(o, cv, v, s, true); });
    HooksOf(o).ToolWindowClosers.push_back([] { Letter->Close(); });
    HooksOf(o).ToolWindowClosers.push_back([] { PagesDlg->Close(); });
}
