// The readings window's part of the redraw: its "かなのみ" box and the area name it shows.
#include "engine/MapDocument.h"
#include "engine/FeatureHooks.h"
#include "names/Uyomi.h"

void AddNamesHooks(TOpen& o) {
    HooksOf(o).SettingsReaders.push_back([](DrawSettings& s) { s.KanaOnly = Yomi->CBKana->Checked(); });
    HooksOf(o).AfterRedrawHooks.push_back([](const DrawSettings&) {
        const MapDocument& doc = MainDoc();
        const bool one = doc.SELECT == 1 && doc.SelectCode[0] >= 0 && doc.SelectCode[0] < 60;
        Yomi->Label3->SetCaption(one ? doc.AreaName[doc.SelectCode[0]] : std::string());
    });
}
