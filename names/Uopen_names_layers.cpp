// The readings window's part of the redraw: its "かなのみ" box and the area name it shows.
#include "engine/Uopen.h"
#include "names/Uyomi.h"

void AddNamesHooks(TOpen& o) {
    o.SettingsReaders.push_back([](DrawSettings& s) { s.KanaOnly = Yomi->CBKana->Checked(); });
    o.AfterRedrawHooks.push_back([&o](const DrawSettings&) {
        const bool one = o.doc.SELECT == 1 && o.doc.SelectCode[0] >= 0 && o.doc.SelectCode[0] < 60;
        Yomi->Label3->SetCaption(one ? o.doc.AreaName[o.doc.SelectCode[0]] : std::string());
    });
}
