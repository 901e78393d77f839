#include "names/Uextra.h"
#include "gui/TextFile.h"
#include "engine/Convert.h"
#include "engine/MapDocument.h"
#include "names/NameFiles.h"

TExtra* Extra = nullptr;

TExtra::TExtra()
    : TPositionTable({"　重複する区名，町村名表示位置編集",
                      {"編集", "県名", "郡市名", "区町村名", "経度座標", "緯度座標", "県番号"}, 4, "★",
                      "区名・町村名をクリックしてください",
                      "重複した町村の表示位置を修正しましたが，\n保存せずに閉じてもよろしいですか？",
                      "重複町村表示位置編集の終了"}) {}

void TExtra::Fill() {
    const int n = std::min<int>(MainDoc().ExtraCount, int(MainDoc().ExtraTownName.size()));
    StringGrid1->SetRowCount(n + 1);
    for (int i = 0; i < n; ++i) {
        const int32_t pref = MainDoc().ExtraPref[i];
        StringGrid1->SetCells(0, i + 1, "");
        StringGrid1->SetCells(1, i + 1, pref >= 0 && pref < 60 ? MainDoc().AreaName[pref] : std::string());
        StringGrid1->SetCells(2, i + 1, MainDoc().ExtraGroupName[i]);
        StringGrid1->SetCells(3, i + 1, MainDoc().ExtraTownName[i]);
        StringGrid1->SetCells(4, i + 1, std::to_string(MainDoc().ExtraX[i]));
        StringGrid1->SetCells(5, i + 1, std::to_string(MainDoc().ExtraY[i]));
        StringGrid1->SetCells(6, i + 1, std::to_string(pref));
    }
}

bool TExtra::Save() {
    const std::string path = MainDoc().AppDir + "/MAPDATA/EXTRA.TXT";
    if (!MainDoc().ExtraListWhole) return names::RefusePartialList(path, "重複する区名，町村名の編集");
    const int n = std::min<int>(MainDoc().ExtraCount, StringGrid1->RowCount() - 1);
    const bool ok = gui::AtomicRewrite(path, [&](gui::TextWriter& w) {
        for (int i = 0; i < n; ++i) {
            // A kind that was never read stays an empty field.
            const char kind = MainDoc().ExtraKind[i];
            const std::string k = kind ? std::string(1, kind) : std::string();
            if (!w.Printf("%d,%s,%s,%d,%d,%s\n", MainDoc().ExtraPref[i], MainDoc().ExtraTownName[i].c_str(),
                          MainDoc().ExtraGroupName[i].c_str(), LenientInt(StringGrid1->Cells(4, i + 1)),
                          LenientInt(StringGrid1->Cells(5, i + 1)), k.c_str()))
                return false;
        }
        return true;
    });
    if (!ok) names::ReportWriteFailure(path, "重複する区名，町村名の編集");
    return ok;
}

void TExtra::TakeAt(int32_t x, int32_t y) { TakePosition(MainDoc().ExtraX, MainDoc().ExtraY, MainDoc().ExtraCount, x, y); }
