#include "names/Utoshi.h"
#include "engine/Convert.h"
#include "engine/Uopen.h"
#include "names/NameFiles.h"

TToshi* Toshi = nullptr;

TToshi::TToshi()
    : TPositionTable({"　政令指定都市表示位置編集", {"編集", "都市名", "経度座標", "緯度座標", "県番号"}, 2, " ★",
                      "都市名をクリックしてください",
                      "政令指定都市の表示位置を修正しましたが，\n保存せずに閉じてもよろしいですか？",
                      "政令指定都市表示位置編集の終了"}) {}

// One row per city after the heading row.
void TToshi::Fill() {
    const int n = std::min<int>(Open->doc.CityCount, int(Open->doc.CityName.size()));
    StringGrid1->SetRowCount(n + 1);
    for (int i = 0; i < n; ++i) {
        StringGrid1->SetCells(0, i + 1, "");
        StringGrid1->SetCells(1, i + 1, Open->doc.CityName[i]);
        StringGrid1->SetCells(2, i + 1, std::to_string(Open->doc.CityX[i]));
        StringGrid1->SetCells(3, i + 1, std::to_string(Open->doc.CityY[i]));
        StringGrid1->SetCells(4, i + 1, std::to_string(Open->doc.CityPref[i]));
    }
}

bool TToshi::Save() {
    const std::string path = Open->doc.AppDir + "/MAPDATA/CITYLIST.TXT";
    if (!Open->doc.CityListWhole) return names::RefusePartialList(path, "政令指定都市表示位置編集");
    const int n = std::min<int>(Open->doc.CityCount, StringGrid1->RowCount() - 1);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (int i = 0; i < n; ++i)
            if (!w.Printf("%s,%d,%d,%d,%d\n", Open->doc.CityName[i].c_str(), LenientInt(StringGrid1->Cells(2, i + 1)),
                          LenientInt(StringGrid1->Cells(3, i + 1)), Open->doc.CityPref[i], int(Open->doc.CityFlag[i])))
                return false;
        return true;
    });
    if (!ok) names::ReportWriteFailure(path, "政令指定都市表示位置編集");
    return ok;
}

void TToshi::TakeAt(int32_t x, int32_t y) { TakePosition(Open->doc.CityX, Open->doc.CityY, Open->doc.CityCount, x, y); }
