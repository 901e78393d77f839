// The railway map: the railway line and station files of the selected regions.
#include "engine/Uopen.h"
#include "lines/MainFormLines.h"
#include "gui/Files.h"
#include "gui/TextFile.h"
#include "labels/Uletter.h"
#include "lines/Ulineadd.h"
#include "lines/Ulineset.h"
#include "lines/Urail.h"
#include "navigation/Usettei.h"
#include <algorithm>

namespace {

// Region 0 to 9 of an area code, or -1 for the islands without railways.
int RegionOfArea(int code) {
    if (code >= 1 && code <= 6) return 1;
    if (code >= 7 && code <= 13) return 2;
    if (code >= 14 && code <= 16) return 4;
    if ((code >= 17 && code <= 19) || code == 23) return 3;
    if (code >= 20 && code <= 22) return 5;
    if (code >= 24 && code <= 29) return 6;
    if (code >= 30 && code <= 34) return 7;
    if (code >= 35 && code <= 38) return 8;
    if (code >= 39 && code <= 46) return 9;
    if (code >= 47 && code <= 49) return 0;
    return -1;
}

} // namespace

int TOpen::ListFilesSorted(const std::string& folder, const std::string& ext, std::vector<std::string>& names) {
    names = gui::ListFiles(folder, "*." + ext);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return gui::Cp932CompareText(a, b) < 0; });
    if (names.size() > size_t(RAIL_LIST_MAX)) names.resize(RAIL_LIST_MAX);
    return int(names.size());
}

void TOpen::RailRoadSet() {
    if (!ui.CBRailLine->Checked()) return;
    RedrawOnce once;
    bool flag[10] = {};
    RailSetCount++;
    Rail->Label12->SetCaption("RailRoadSet routine " + std::to_string(RailSetCount));
    for (int i = 0; i < doc.SELECT && i < 100; i++)
        if (int r = RegionOfArea(doc.SelectCode[i]); r >= 0) flag[r] = true;

    const std::string root = doc.AppDir + "/鉄道路線/";
    std::vector<std::string> names, lines;
    bool full = false;
    for (int r = 0; r < 10; r++) {
        if (!flag[r]) continue;
        ListFilesSorted(root + doc.RegionName[r], "adl", names);
        for (const std::string& n : names) {
            if (lines.size() >= size_t(LINE_FILE_MAX)) {
                full = true;
                break;
            }
            lines.push_back(root + doc.RegionName[r] + "/" + n);
        }
    }
    if (full)
        MessageBox(gui::Format("鉄道路線ファイルは %d 個までです", LINE_FILE_MAX), "鉄道路線", MB_OK | MB_ICONEXCLAMATION);
    LineAdd->SetRailFiles(std::move(lines));
    LineAdd->AttrTableDirty = 1;
    LineAdd->CheckBox2->SetChecked(false);
    LineAdd->CheckBox2->SetEnabled(true);
    const std::string count = gui::Format("%d 鉄道路線", LineAdd->RailFileCount);
    LineAdd->Label18->SetCaption(count);
    Rail->Label1->SetCaption(count);
    Rail->Label5->SetCaption(LineAdd->RailFiles.empty() ? "" : LineAdd->RailFiles.back());

    // Station files: the main stations only, or every station file of the regions.
    std::vector<std::string> stations;
    if (MainStations) {
        std::vector<std::string> missing;
        for (int r = 0; r < 10; r++) {
            if (!flag[r]) continue;
            for (const char* kind : {"主要駅名.lbl", "JR主要駅名.lbl"}) {
                if (r == 0 && kind[0] != 'J') continue;   // Hokkaido has its JR file only
                const std::string path = root + "主要駅名/" + doc.RegionName[r] + kind;
                // A missing file is reported once and left out, not the end of the program.
                if (gui::FileExists(path)) stations.push_back(path);
                else missing.push_back(path);
            }
        }
        if (!missing.empty())
            MessageBox("主要駅名ファイルが見つかりません\n" + missing.front() +
                           (missing.size() > 1 ? gui::Format(" ほか %d 個", int(missing.size()) - 1) : ""),
                       "ファイルオープンエラー", MB_OK | MB_ICONEXCLAMATION);
        RailOf(*this).MainStationsLoaded = true;
    } else {
        size_t listed = 0;
        for (int r = 0; r < 10; r++) {
            if (!flag[r]) continue;
            ListFilesSorted(root + doc.RegionName[r], "lbl", names);
            listed += names.size();
            for (const std::string& n : names) stations.push_back(root + doc.RegionName[r] + "/" + n);
            if (listed > size_t(RAIL_LIST_MAX)) MessageBox("too many files!", "too many files", MB_OK);
        }
        RailOf(*this).MainStationsLoaded = false;
    }
    LoadStationFiles(stations);

    LineSet->UserColors = 0;
    if (RailControlsOf(*this).RailInfo->Checked()) Rail->Show();
}

void TOpen::CBRailLineClick(TObject*) {
    RedrawOnce once;
    if (ui.CBRailLine->Checked()) {
        RailRoadSet();
        Settei->CBRail->SetChecked(true);
        ui.CBEki->SetEnabled(true);
        RailControlsOf(*this).CBRailSet->SetEnabled(true);
    } else {
        Settei->CBRail->SetChecked(false);
        RailControlsOf(*this).CBRailSet->SetEnabled(false);
        ui.CBEki->SetChecked(false);
        ui.CBEki->SetEnabled(false);
        RailControlsOf(*this).CBMain->SetEnabled(false);
    }
}

void TOpen::CBEkiClick(TObject*) {
    RedrawOnce once;
    if (ui.CBEki->Checked()) {
        Letter->Show();
        Settei->CBStation->SetChecked(true);
        RailControlsOf(*this).CBMain->SetEnabled(true);
        RailControlsOf(*this).CBMain->SetChecked(true);
    } else {
        Settei->CBStation->SetChecked(false);
        RailControlsOf(*this).CBMain->SetEnabled(false);
    }
}

void TOpen::CBMainClick(TObject*) {
    RedrawOnce once;
    MainStations = RailControlsOf(*this).CBMain->Checked();
    if (MainStations != RailOf(*this).MainStationsLoaded) RailRoadSet();
    LineAdd->CheckBox2->SetChecked(true);
    if (ui.CBEki->Checked()) Letter->CBShow->SetChecked(true);
}

void TOpen::CBRailSetClick(TObject*) {
    if (RailControlsOf(*this).CBRailSet->Checked()) {
        LineSet->Show();
        if (ui.CBEki->Checked()) OpenLabelWindow();
        else Letter->Close();
    } else {
        LineSet->Close();
        Letter->Close();
    }
}

void TOpen::RailInfoClick(TObject*) { RailControlsOf(*this).RailInfo->SetChecked(!RailControlsOf(*this).RailInfo->Checked()); }
