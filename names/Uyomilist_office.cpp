// The office-data commands of the name list.
#include "components/Mystr.h"
#include "gui/TextFile.h"
#include "engine/MapDocument.h"
#include "names/Uoffice.h"
#include "names/Uyomilist.h"

void TYomiList::TownsClick(TObject* Sender) {
    const int r = StringGrid1->Row();
    if (r < 0 || r >= StringGrid1->RowCount()) return;
    if (StringGrid1->Cells(2, r) == "旧") {
        Application->MessageBox("旧市町村の情報を表示することはできません　　　　", "旧市町村情報", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::string> files;
    for (int a = 0; a < MainDoc().SELECT && a < 100; ++a) files.push_back(TOffice::OfficeFilePath(MainDoc().SelectCode[a]));
    Office->ShowRows(files, StringGrid1->Cells(3, r));
}

void TYomiList::StringGrid1DblClick(TObject* Sender) { TownsClick(Sender); }

void TYomiList::kenchoClick(TObject* Sender) {
    if (MainDoc().SELECT != 1) {
        Application->MessageBox("複数の都道府県が選択されているので，検索できません", "複数都道府県", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const int code = MainDoc().SelectCode[0];
    const std::string key = code >= 47 && code <= 49 ? "北海道" : MainDoc().AreaName[code];
    Office->ShowRows({MainDoc().AppDir + "/Mapdata/Office/都道府県庁.csv"}, key);
}

void TYomiList::Button8Click(TObject* Sender) {
    if (MainDoc().SELECT != 1) {
        Application->MessageBox("複数の都道府県が選択されているので，チェックできません", "複数都道府県",
                                MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::vector<std::vector<std::string>> rows;
    {
        gui::TextReader in;
        std::vector<std::string> f;
        std::string line;
        if (in.Open(TOffice::OfficeFilePath(MainDoc().SelectCode[0])))
            while (in.ReadLine(line)) {
                TMyStr::SplitCsv(line, f);
                f.resize(std::max<size_t>(f.size(), 8));
                rows.push_back(f);
            }
    }
    auto ask = [](const std::string& text, const char* caption) {
        return Application->MessageBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    for (int r = 0; r < StringGrid1->RowCount(); ++r) {
        const std::string kind = StringGrid1->Cells(2, r), name = StringGrid1->Cells(3, r);
        if (kind == "旧") continue;
        auto it = std::find_if(rows.begin(), rows.end(), [&](const auto& f) { return f[1] == name; });
        if (it == rows.end()) {
            if (!ask(gui::Format("%s %s がみつかりません　　　　　         \n 次を検索しますか", kind.c_str(), name.c_str()),
                     "市町村情報"))
                return;
            continue;
        }
        const auto& f = *it;
        std::vector<const char*> missing;
        if (f[2].empty()) missing.push_back("よみがな");
        if (f[3].find("000-") != std::string::npos) missing.push_back("郵便番号");
        if (f[5].find("000-") != std::string::npos) missing.push_back("電話番号");
        if (gui::Cp932Length(f[6]) < 12) missing.push_back("ホームページURL");
        if (f[7].empty()) missing.push_back("メールアドレス");
        for (const char* word : missing)
            if (!ask(gui::Format("%s の %s が記入されていません　　     \nチェックを続けますか？", name.c_str(), word),
                     "市町村情報エラー"))
                return;
    }
    Application->MessageBox("市町村情報の有無チェックは終了しました　　　　", "市町村情報", MB_OK);
}
