// The main form's display toggles, view control and measurement: the navigation folder's steps over the form.
#pragma once
#include "engine/MainForm.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include <cstdint>
#include <string>
#include <vector>

struct DrawSettings;
struct MapView;

// A reading split before its municipality ending (し, く, まち ...).
std::string SplitReadingSuffix(const std::string& reading);

void Button7Click(TOpen& o, TObject* Sender);   // "表示設定"
void N1Click(TOpen& o, TObject* Sender);
void CBTownBorderClick(TOpen& o, TObject* Sender);
void CBTownNameClick(TOpen& o, TObject* Sender);
void CBLonLatClick(TOpen& o, TObject* Sender);
void CBFunClick(TOpen& o, TObject* Sender);
void CBDoClick(TOpen& o, TObject* Sender);
void CB1doClick(TOpen& o, TObject* Sender);
void CBCenterClick(TOpen& o, TObject* Sender);
void CBScaleClick(TOpen& o, TObject* Sender);
void CBPrefBorderClick(TOpen& o, TObject* Sender);
void CBNTownBorderClick(TOpen& o, TObject* Sender);
void CBOldTownClick(TOpen& o, TObject* Sender);
void CBMainDoubleNameClick(TOpen& o, TObject* Sender);
void CBLakeClick(TOpen& o, TObject* Sender);
void CBKuClick(TOpen& o, TObject* Sender);
void CBKenName1Click(TOpen& o, TObject* Sender);
void CBInfoClick(TOpen& o, TObject* Sender);
void kokudoClick(TOpen& o, TObject* Sender);
void ken_nameClick(TOpen& o, TObject* Sender);
void WaitClick(TOpen& o, TObject* Sender);
void HokkaidoClick(TOpen& o, TObject* Sender);
void KeidoClick(TOpen& o, TObject* Sender);
void N24Click(TOpen& o, TObject* Sender);
void N28Click(TOpen& o, TObject* Sender);
void readmehtm1Click(TOpen& o, TObject* Sender);
void HomePage1Click(TOpen& o, TObject* Sender);
void SokuchiClick(TOpen& o, TObject* Sender);
void TkBtn1Click(TOpen& o, TObject* Sender);
void FormClick(TOpen& o, TObject* Sender);
void OpenManual(TOpen& o, const std::string& section);
void WireDisplayHandlers(TOpen& o);   // layer toggles and small menu items (navigation/Uopen_display.cpp)
void FinishRoute(TOpen& o);
void FinishTimedRoute(TOpen& o);
void BtnMultiClick(TOpen& o, TObject* Sender);     // starts a route
void Timer2Timer(TOpen& o, TObject* Sender);       // samples a route taken by mouse movement
float RouteLengthKm(TOpen& o);
float RouteAreaKm2(TOpen& o);
void Button14Click(TOpen& o, TObject* Sender);     // area mode on and off
void MeasureDisplayedArea(TOpen& o);
void WireNavigationHandlers(TOpen& o);
void PushViewHistory(TOpen& o);   // the end of a range drag keeps the view it leaves
void UDHorClick(TOpen& o, TObject* Sender, TUDBtnType Button);
void UDVerClick(TOpen& o, TObject* Sender, TUDBtnType Button);
void UpDown1Click(TOpen& o, TObject* Sender, TUDBtnType Button);
void FormMouseWheel(TOpen& o, TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled);
void N101Click(TOpen& o, TObject* Sender);
void N051Click(TOpen& o, TObject* Sender);
void N021Click(TOpen& o, TObject* Sender);
void N011Click(TOpen& o, TObject* Sender);
void N202Click(TOpen& o, TObject* Sender);
void N102Click(TOpen& o, TObject* Sender);
void N052Click(TOpen& o, TObject* Sender);
void MAG1Click(TOpen& o, TObject* Sender);
void MAG2Click(TOpen& o, TObject* Sender);
void MAG3Click(TOpen& o, TObject* Sender);
void MAG4Click(TOpen& o, TObject* Sender);
void MAG5Click(TOpen& o, TObject* Sender);
void Button6Click(TOpen& o, TObject* Sender);    // "標準範囲"
void TkBtn2Click(TOpen& o, TObject* Sender);     // "範囲指定"
void Button12Click(TOpen& o, TObject* Sender);   // "戻す"
void Timer1Timer(TOpen& o, TObject* Sender);
void Image1DblClick(TOpen& o, TObject* Sender);
void Image1KeyDown(TOpen& o, TObject* Sender, int& Key, TShiftState Shift);
void PanBy(TOpen& o, bool horizontal, TUDBtnType Button);
void SetZoomUnit(TOpen& o, TMenuItem* item, float unit, int index);
void SetMoveFactor(TOpen& o, TMenuItem* item, float factor, int index);
void SetReduction(TOpen& o, int k);
// The image size group's texts for reduction k: 600 x 1, 2, 3 / k.
std::vector<std::string> ImageSizeItems(const TOpen& o, int k);
void WireViewHandlers(TOpen& o);

// The route being measured: its points in map units and the last one sampled.
struct RouteState {
    static constexpr int ROUTE_MAX = 1500; // route points, the closing copy of point 0 included
    int32_t RouteX[ROUTE_MAX] = {}, RouteY[ROUTE_MAX] = {};
    int32_t RouteLastX = 0, RouteLastY = 0;
};
RouteState& RouteOf(TOpen& o);
const RouteState& RouteOf(const TOpen& o);
