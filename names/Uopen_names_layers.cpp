// The readings window's part of the redraw: its "かなのみ" box and the area name it shows.
#include "engine/Uopen.h"
#include "names/Uyomi.h"

void TOpen::AddNamesHooks() {
    SettingsReaders.push_back([](DrawSettings& s) { s.KanaOnly = Yomi->CBKana->Checked(); });
    AfterRedrawHooks.push_back([this](const DrawSettings&) {
        const bool one = SELECT == 1 && SelectCode[0] >= 0 && SelectCode[0] < 60;
        Yomi->Label3->SetCaption(one ? AreaName[SelectCode[0]] : std::string());
    });
}
