#include "names/Utoshi.h"
#include "gui/TextFile.h"
#include "engine/Convert.h"
#include "engine/MapDocument.h"
#include "names/NameFiles.h"

TToshi* Toshi = nullptr;

TToshi::TToshi()
    : TPositionTable({"　政令指定都市表示位置編集", {"編集", "都市名", "経度座標", "緯度座標", "県番号"}, 2, " ★",
                      "都市名をクリックしてください",
                      "政令指定都市の表示位置を修正しましたが，\n保存せずに閉じてもよろしいですか？",
                      "政令指定都市表示位置編集の終了"}) {}

// One row per city after the heading row.
void TToshi::Fill() {
    const int n = std::min<int>(MainDoc().CityCount, int(MainDoc().CityName.size()));
    StringGrid1->SetRowCount(n + 1);
    for (int i = 0; i < n; ++i) {
        StringGrid1->SetCells(0, i + 1, "");
        StringGrid1->SetCells(1, i + 1, MainDoc().CityName[i]);
        StringGrid1->SetCells(2, i + 1, std::to_string(MainDoc().CityX[i]));
        StringGrid1->SetCells(3, i + 1, std::to_string(MainDoc().CityY[i]));
        StringGrid1->SetCells(4, i + 1, std::to_string(MainDoc().CityPref[i]));
    }
}

bool TToshi::Save() {
    const std::string path = MainDoc().AppDir + "/MAPDATA/CITYLIST.TXT";
    if (!MainDoc().CityListWhole) return names::RefusePartialList(path, "政令指定都市表示位置編集");
    const int n = std::min<int>(MainDoc().CityCount, StringGrid1->RowCount() - 1);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (int i = 0; i < n; ++i)
            if (!w.Printf("%s,%d,%d,%d,%d\n", MainDoc().CityName[i].c_str(), LenientInt(StringGrid1->Cells(2, i + 1)),
                          LenientInt(StringGrid1->Cells(3, i + 1)), MainDoc().CityPref[i], int(MainDoc().CityFlag[i])))
                return false;
        return true;
    });
    if (!ok) names::ReportWriteFailure(path, "政令指定都市表示位置編集");
    return ok;
}

void TToshi::TakeAt(int32_t x, int32_t y) { TakePosition(MainDoc().CityX, MainDoc().CityY, MainDoc().CityCount, x, y); }
