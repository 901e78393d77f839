// Paint by name (the paint window's name list) and the search paint of the redraw.
#include "engine/Uopen.h"
#include "paint/MainFormPaint.h"
#include "names/MainFormNames.h"
#include "gui/Files.h"
#include "names/Uyomi.h"
#include "names/Uyomilist.h"
#include "navigation/AreaCount.h"
#include "navigation/Ukeisoku.h"
#include "navigation/Usettei.h"
#include "paint/HourGlass.h"
#include "paint/SearchPaint.h"
#include "paint/SlotPicture.h"
#include "paint/Uhanrei.h"
#include "paint/Upaint.h"
#include <algorithm>

namespace {

constexpr size_t LIST_NAME_BYTES = 99;   // CP932 bytes of a name of the list
constexpr int64_t REGION_MAX = 200000;   // pixels of one measured region before the view is enlarged
constexpr int MAGSTEP_MAX = 20;

} // namespace

// ---- paint by name ----

void TMapPaint::CBAllPaintClick(TObject*) {
    const bool on = CBAllPaint->Checked();
    // No list, no choice from it: the unticked run disables both.
    if (on && !WritePaintList(*Open)) {
        CBAllPaint->SetChecked(false);
        return;
    }
    ComboBox1->SetEnabled(on);
    BtnAllPaint->SetEnabled(on);
    ComboBox1->SetText("ボタンを押す");
}

// The shown names, a duplicated name with its group the first time it is on
// the image; entries passed over are used up.
bool WritePaintList(TOpen& o) {
    std::vector<bool> used(std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraTownName.size())), false);
    Yomi->Edit1->SetText("0");
    const bool listed = YomiList->BuildDisplayedNameList();
    YomiList->Label8->SetVisible(true);
    YomiList->Label9->SetVisible(false);
    YomiList->Label10->SetVisible(false);
    const std::string path = DocOf(o).AppDir + "/mapdata/paintlist.lst";
    if (!listed) {
        // The rows of an earlier list are no choice for this map.
        MapPaint->ComboBox1->Items()->Clear();
        gui::DeleteFile(path);
        MessageBox("表示されている市区町村名が多すぎます　　　\n地図を拡大してから指定してください", "市町村指定エラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    TStringGrid* g = YomiList->StringGrid1;
    const bool old = UiOf(o).CBNTownBorder->Checked();
    std::vector<std::string> names;
    for (int r = 0; r < g->RowCount(); ++r) {
        std::string name = g->Cells(3, r);
        const std::string kind = g->Cells(2, r);
        if (kind == (old ? "新" : "旧")) continue;
        const std::string plain = name;
        for (size_t j = 0; j < used.size(); ++j) {
            if (used[j] || DocOf(o).ExtraTownName[j] != plain || name != plain) continue;
            used[j] = true;
            int sx, sy;
            o.MapToScreen(DocOf(o).ExtraX[j], DocOf(o).ExtraY[j], sx, sy);
            if (sx > 0 && sx < o.ImageSize && sy > 0 && sy < o.ImageSize && IsAreaSelected(o, DocOf(o).ExtraPref[j]))
                name += "(" + DocOf(o).ExtraGroupName[j] + ")";
        }
        names.push_back(name);
    }
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (const std::string& n : names) w.Printf("%s\n", n.c_str());
        return !w.Failed();
    });
    if (!ok) {
        MessageBox(gui::Format("%s を書き込めません", path.c_str()), "ファイル書き込みエラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    TStrings* items = MapPaint->ComboBox1->Items();
    items->Clear();
    for (const std::string& n : names) items->Add(n);
    return true;
}

bool SplitParenName(const std::string& text, std::string& name, std::string& group) {
    name.clear();
    group.clear();
    const size_t open = text.find('(');
    if (open == std::string::npos) return false;
    name = text.substr(0, open);
    const size_t close = text.find(')', open + 1);
    group = text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    return true;
}

void TMapPaint::BtnAllPaintClick(TObject*) {
    const bool names = CBNamePaint->Checked();
    BtnRepaint->SetEnabled(true);
    const std::string name = CutCp932(ComboBox1->Text(), LIST_NAME_BYTES);
    CBNamePaint->SetChecked(false);
    // A ward is filled within solid ward borders, drawn before the fill so that the
    // screen shows what the records will replay; "区ペイント" shows it and undoes it.
    if (Settei->CBKuDot->Checked() && ContainsWard(name)) {
        if (CBKuPaint->Checked())
            CBKuPaintClick(CBKuPaint);
        else
            CBKuPaint->SetChecked(true);
    }
    PaintByName(*Open, name);
    CBNamePaint->SetChecked(names);
}

void PaintByName(TOpen& o, const std::string& text) {
    if (PaintOf(o).PaintSlot < 0 || PaintOf(o).PaintSlot > 7) {
        MessageBox("ペイントカラーもしくはペイントパターンが選択されておりません", "ペイントエラー",
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HourGlass wait;
    std::string name = text, plain, group;
    if (SplitParenName(text, plain, group)) {
        const int n = std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraTownName.size()));
        for (int j = 0; j < n; ++j)
            if (DocOf(o).ExtraTownName[j] == plain && DocOf(o).ExtraGroupName[j] == group) {
                if (!PaintAtPoint(o, DocOf(o).ExtraX[j], DocOf(o).ExtraY[j])) return;
                name = DocOf(o).ExtraTownName[j];
            }
    }
    auto table = [&](int count, const std::vector<std::string>& names, const std::vector<int32_t>& xs,
                     const std::vector<int32_t>& ys) {
        const int n = std::min<int>(count, int(names.size()));
        for (int i = 0; i < n; ++i)
            if (names[i] == name && !PaintAtPoint(o, xs[i], ys[i])) return false;
        return true;
    };
    if (!table(DocOf(o).TownCount, DocOf(o).TownName, DocOf(o).TownX, DocOf(o).TownY)) return;
    if (!table(DocOf(o).CityCount, DocOf(o).CityName, DocOf(o).CityX, DocOf(o).CityY)) return;
    if (UiOf(o).CBNTownBorder->Checked() ? !table(DocOf(o).OldTownCount, DocOf(o).OldTownName, DocOf(o).OldTownX, DocOf(o).OldTownY)
                                 : !table(DocOf(o).NewTownCount, DocOf(o).NewTownName, DocOf(o).NewTownX, DocOf(o).NewTownY))
        return;
    int32_t pref, x, y;
    if (FindCityListEntry(o, name, pref, x, y)) PaintAtPoint(o, x, y);
}

// A point on the coast line fills nothing and makes no record. The fill goes
// over the surface the replay will find there, so a point on a border or a
// name fills what the replay fills.
bool PaintAtPoint(TOpen& o, int32_t x, int32_t y) {
    if (PaintStoreOf(o).paint_rep >= PaintStoreOf(o).PAINT_MAX) {
        MessageBox(gui::Format("ペイントの回数が上限（%d回）に達しました", PaintStoreOf(o).PAINT_MAX), "ペイントエラー", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const TColor colour = StyleOf(o).PaintColor[PaintOf(o).PaintSlot];
    const uint8_t pattern = StyleOf(o).PaintPattern[PaintOf(o).PaintSlot];
    int sx, sy;
    o.MapToScreen(x, y, sx, sy);
    if (UiOf(o).Image1->Canvas()->Pixels(sx, sy) == StyleOf(o).CoastColor) return true;
    FillAt(o, sx, sy, colour, pattern);
    AddPaintRecord(o, x, y, colour, pattern);
    MapPaint->ShowCount();
    return true;
}

// ---- search paint ----

namespace {

// A point beside the coast is left out: its fill would run into the sea.
bool NearCoast(const TOpen& o, const TCanvas& cv, int sx, int sy) {
    const int dx[5] = {0, 0, 0, 1, -1}, dy[5] = {0, -1, 1, 0, 0};
    for (int k = 0; k < 5; ++k)
        if (cv.Pixels(sx + dx[k], sy + dy[k]) == StyleOf(o).CoastColor) return true;
    return false;
}

// The points of the searched name in the order both search paints take them:
// the found duplicate first, then A, then B or X names, then designated cities.
// 'point' gets the source (0 found, 1 A, 2 B or X, 3 city) and the pixel.
template <class F>
void ForSearchPoints(TOpen& o, const MapView& view, const DrawSettings& s, F point) {
    const std::string name = UiOf(o).EdName->Text();
    int sx, sy;
    if (o.IsDuplicateName(name)) {
        view.ToScreen(SearchOf(o).SearchX, SearchOf(o).SearchY, sx, sy);
        point(0, sx, sy);
    }
    for (int i = 0; i < std::min<int>(DocOf(o).TownCount, int(DocOf(o).TownName.size())); ++i) {
        if (DocOf(o).TownName[i] != name) continue;
        const bool ward = ContainsWard(DocOf(o).TownName[i]);
        if (o.IsDuplicateName(DocOf(o).TownName[i]) && !ward) continue;
        view.ToScreen(DocOf(o).TownX[i], DocOf(o).TownY[i], sx, sy);
        point(1, sx, sy);
    }
    const bool old = s.NTownBorder;
    const auto& names = old ? DocOf(o).OldTownName : DocOf(o).NewTownName;
    const auto& xs = old ? DocOf(o).OldTownX : DocOf(o).NewTownX;
    const auto& ys = old ? DocOf(o).OldTownY : DocOf(o).NewTownY;
    for (int i = 0; i < std::min<int>(old ? DocOf(o).OldTownCount : DocOf(o).NewTownCount, int(names.size())); ++i) {
        if (names[i] != name) continue;
        view.ToScreen(xs[i], ys[i], sx, sy);
        point(2, sx, sy);
    }
    if (SearchOf(o).SearchFound)
        for (int i = 0; i < std::min<int>(DocOf(o).CityCount, int(DocOf(o).CityName.size())); ++i) {
            if (DocOf(o).CityName[i] != SearchOf(o).SearchName) continue;
            view.ToScreen(DocOf(o).CityX[i], DocOf(o).CityY[i], sx, sy);
            point(3, sx, sy);
        }
}

} // namespace

bool SearchesWard(const TOpen& o) {
    const std::string name = UiOf(o).EdName->Text();
    if (!ContainsWard(name)) return false;
    for (int i = 0; i < std::min<int>(DocOf(o).TownCount, int(DocOf(o).TownName.size())); ++i)
        if (DocOf(o).TownName[i] == name) return true;
    return false;
}

void SearchPaint(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s) {
    cv.Brush->Color = StyleOf(o).TownPaintColor;
    ForSearchPoints(o, view, s, [&](int source, int sx, int sy) {
        const TColor c = o.PickTextBackground(cv, sx, sy);
        if (source == 0 || !NearCoast(o, cv, sx, sy)) cv.FloodFill(sx, sy, c, fsSurface);
    });
}

SearchArea MeasureSearchArea(TOpen& o, TCanvas& cv, const MapView& view, const DrawSettings& s) {
    SearchArea found;
    AreaCount& a = AreaCountOf(o);
    a.OpenRegion = false;
    StyleOf(o).AreaFillColor = StyleOf(o).TownPaintColor;
    cv.Brush->Color = StyleOf(o).TownPaintColor;
    a.Clear();
    int64_t previous = 0;
    int lastSource = 0;
    auto step = [&] {
        found.largest = std::max<int64_t>(found.largest, a.FillCount - previous);
        previous = a.FillCount;
    };
    // The designated cities are measured like the other points; only the
    // largest-step bookkeeping, which ends with the B or X points, leaves them out.
    ForSearchPoints(o, view, s, [&](int source, int sx, int sy) {
        for (; lastSource < source; ++lastSource) step();
        const TColor c = o.PickTextBackground(cv, sx, sy);
        const bool inside = sx >= 0 && sx < view.size && sy >= 0 && sy < view.size;
        if (source == 0) {
            if (inside && c != StyleOf(o).CoastColor) CountAreaPixels(o, cv, c, sx, sy);
            return;
        }
        if (!inside) {
            if (source != 3) a.OpenRegion = true;
        } else if (NearCoast(o, cv, sx, sy)) {
            found.coastSkips++;
        } else {
            CountAreaPixels(o, cv, c, sx, sy);
        }
    });
    for (; lastSource < 3; ++lastSource) step();
    return found;
}

void ShowSearchArea(TOpen& o, const SearchArea& found) {
    const AreaCount& a = AreaCountOf(o);
    UiOf(o).Label31->SetCaption(gui::Format("%8.0f km", 0.0));
    UiOf(o).Label15->SetCaption(TOpen::DistanceText(0));
    UiOf(o).Label17->SetCaption("周長");
    if (found.largest > REGION_MAX) {
        // The view drawn is the one the magnification box shows: the step that
        // would reach the limit is not taken.
        if (o.MAGSTEP + 1 >= MAGSTEP_MAX) {
            UiOf(o).Label15->SetCaption("測定不能");
            UiOf(o).Label31->SetCaption(" 測定不能");
            UiOf(o).Label33->SetVisible(false);
            return;
        }
        o.MAGSTEP++;
        UiOf(o).UpDown1->SetPosition(o.MAGSTEP);
        UiOf(o).Label6->SetCaption(TOpen::MagnificationText(o.MAGSTEP * o.MAGUNIT));
        RedrawMap(o);
        return;
    }
    const TColor font = a.OpenRegion ? TColor(0x00FFFF) : TColor(0x0000FF);
    for (TLabel* l : {UiOf(o).Label15, UiOf(o).Label31, UiOf(o).Label33}) l->SetFontColor(font);
    const int e = a.EdgeCount / 2;
    const double all = double(o.ImageSize) * o.ImageSize;
    const float area = float((a.FillCount + e) / all * o.ViewWidthKm * o.ViewHeightKm);
    const float perimeter = float(double(a.EdgeCount) / o.ImageSize * o.ViewWidthKm * 1.11);
    UiOf(o).Label31->SetCaption(TOpen::AreaText(area));
    UiOf(o).Label15->SetCaption(TOpen::LengthText(perimeter));
    UiOf(o).Label33->SetVisible(true);
    if (found.coastSkips == 0) {
        UiOf(o).Label35->SetVisible(false);
    } else {
        UiOf(o).Label35->SetCaption(gui::Format("%2d", found.coastSkips));
        UiOf(o).Label35->SetVisible(true);
    }
}
