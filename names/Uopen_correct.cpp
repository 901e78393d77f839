// TOpen: the openers of the name-data correction windows.
#include "gui/TextFile.h"
#include "names/MainFormNames.h"
#include "names/NameTools.h"
#include "names/Ucorrect.h"
#include "names/Uextra.h"
#include "names/Unamedel.h"
#include "names/Utoshi.h"
#include "engine/MainControls.h"
#include "engine/MainForm.h"
#include "engine/MapDocument.h"
#include "engine/ToolSlot.h"
#include "engine/Redraw.h"

std::string MapFilePath(const TOpen& o, int code) { return gui::Format("%s/MAPDATA/%02d.MAP", DocOf(o).AppDir.c_str(), code); }

bool SelectionHasDuplicateNames(const TOpen& o) {
    const int n = std::min<int>(DocOf(o).ExtraCount, int(DocOf(o).ExtraPref.size()));
    for (int a = 0; a < DocOf(o).SELECT && a < 100; ++a)
        for (int i = 0; i < n; ++i)
            if (DocOf(o).ExtraPref[i] == DocOf(o).SelectCode[a]) return true;
    return false;
}

void BtnCorrectClick(TOpen& o, TObject* Sender) {
    const char* caption = "市区町村名表示位置編集";
    if (!UiOf(o).CBTownName->Checked()) {
        Application->MessageBox("市区町村名が表示されていませんので，表示位置を変更できません　　　", caption,
                                MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (DocOf(o).SELECT > 1) {
        Application->MessageBox("複数の都府県にまたがっていますので，表示位置の変更はできますが，\n変更位置を保存することはできません",
                                caption, MB_OK | MB_ICONEXCLAMATION);
        Correct->Label2->SetCaption("変更データを保存することはできません");
        std::string names;
        for (int a = 0; a < DocOf(o).SELECT && a < 4; ++a) names += DocOf(o).AreaName[DocOf(o).SelectCode[a]] + " ";
        if (DocOf(o).SELECT > 4) names += "ほか";
        Correct->Label4->SetCaption(names);
    } else {
        Correct->Label2->SetCaption(MapFilePath(o, DocOf(o).SelectCode[0]));
        Correct->Label4->SetCaption(DocOf(o).AreaName[DocOf(o).SelectCode[0]]);
    }
    EditRowOf(o).EditIndex = 0;
    Correct->StringGrid1->SetRowCount(0);
    Correct->PickedRow = -1;
    ToolsOf(o).FinishTool<NameCorrectTool>();
    Correct->N1->SetEnabled(false);
    Correct->Button1->SetEnabled(true);
    Correct->Button2->SetEnabled(false);
    Correct->Button3->SetEnabled(false);
    Correct->Label13->SetCaption("0");
    Correct->Label14->Show();
    Correct->Label15->Hide();
    Correct->Label16->SetCaption("クリック");
    Correct->Show();
}

void N9Click(TOpen& o, TObject* Sender) {
    BtnCorrectClick(o, Sender);
    if (SelectionHasDuplicateNames(o)) {
        Application->MessageBox("重複した区名および町村名が含まれています　　　", "重複区名・町村名表示位置編集",
                                MB_OK | MB_ICONEXCLAMATION);
        N11Click(o, Sender);
    }
}

void N10Click(TOpen& o, TObject* Sender) {
    if (GateOf(o).MapShown && UiOf(o).CBTownName->Checked()) Toshi->Show();
    else
        Application->MessageBox("該当する地域の地図を描き，市区町村名を表示してください　　　　", "政令指定都市名表示位置編集",
                                MB_OK | MB_ICONEXCLAMATION);
}

void N11Click(TOpen& o, TObject* Sender) {
    if (GateOf(o).MapShown && UiOf(o).CBTownName->Checked()) Extra->Show();
    else
        Application->MessageBox("該当する地域の地図を描き，市区町村名を表示してください　　　　", "重複する区名，町村名の編集",
                                MB_OK | MB_ICONEXCLAMATION);
}

void N17Click(TOpen& o, TObject* Sender) {
    if (DocOf(o).SELECT < 2) {
        NameDel->Label1->SetCaption(DocOf(o).AreaName[DocOf(o).SelectCode[0]]);
        NameDel->Label2->SetCaption(MapFilePath(o, DocOf(o).SelectCode[0]));
        // A name picked in another area is not deleted from this one.
        NameDel->Button6Click(&FormOf(o));
        NameDel->Show();
    } else {
        Application->MessageBox("複数の都府県にまたがっていますので，市町村名を削除することはできません", "市区町村名削除",
                                MB_OK | MB_ICONEXCLAMATION);
    }
}
