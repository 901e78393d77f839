// TOpen: switching the boundary data to an earlier edition and back.
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Files.h"

namespace {

const char* const kYears[6] = {"2002", "2003", "2005", "2008", "2009", "2010"};

std::string FolderOf(int i) { return std::string("/") + kYears[i] + "mapdata"; }

std::string JoinNames(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& n : v) s += n + "\n";
    return s;
}

} // namespace

int TOpen::CompareFileTimes(const std::string& src, const std::string& dst) {
    long long a = 0, b = 0;
    if (!gui::FileTimeNs(src, a)) return 101;
    if (!gui::FileTimeNs(dst, b)) return 102;
    return a == b ? 10 : a > b ? 11 : 12;
}

// Copies each source file whose time differs from its namesake's; returns the names that failed.
std::vector<std::string> TOpen::CopyChangedFiles(const std::string& dst, const std::string& src, bool& listed) {
    std::vector<std::string> failed;
    listed = gui::DirectoryExists(src);
    if (!listed) return failed;
    for (const std::string& n : gui::ListFiles(src, "*.*")) {
        const std::string from = src + "/" + n, to = dst + "/" + n;
        const int code = CompareFileTimes(from, to);
        if (code >= 100 || code == 10) continue;
        if (!gui::CopyFileKeepTime(from, to)) failed.push_back(n);
    }
    return failed;
}

bool TOpen::ReplaceBoundaryData(const std::string& folder) {
    const char* caption = "行政区界データ置き換え";
    const std::string dst = AppDir + "/mapdata", src = dst + folder;
    if (!gui::DirectoryExists(src)) {
        Application->MessageBox(gui::Format("%s が見つかりません　　　　", src.c_str()), caption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // An earlier edition overwrites only files the 2010 edition can put back.
    if (folder != FolderOf(5)) {
        std::vector<std::string> missing;
        const std::string back = dst + FolderOf(5);
        for (const std::string& n : gui::ListFiles(src, "*.*")) {
            const int code = CompareFileTimes(src + "/" + n, dst + "/" + n);
            if (code < 100 && code != 10 && !gui::FileExists(back + "/" + n)) missing.push_back(n);
        }
        if (!missing.empty()) {
            Application->MessageBox(gui::Format("%s に次のファイルがないため，置き換えることはできません\n%s", back.c_str(),
                                                JoinNames(missing).c_str()),
                                    caption, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    bool listed = false;
    const std::vector<std::string> failed = CopyChangedFiles(dst, src, listed);
    if (!failed.empty()) {
        Application->MessageBox(gui::Format("次のファイルを置き換えることができませんでした\n%s", JoinNames(failed).c_str()),
                                caption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    Application->MessageBox(gui::Format("行政区界データを%s年版に置き換えました　　　　", folder.substr(1, 4).c_str()), caption,
                            MB_OK);
    return true;
}

void TOpen::EditionClick(int index) {
    if (Application->MessageBox(gui::Format("行政区界を%s年版のデータで置き換えますか?　　　　　", kYears[index]),
                                "行政区界データの置き換え", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (!ReplaceBoundaryData(FolderOf(index))) return;
    // The ticks follow only a completed switch.
    TMenuItem* items[6] = {N20021, N20031, N20051, N20081, N20091, N20101};
    for (int i = 0; i < 6; ++i) items[i]->SetChecked(i == index);
    AltYear = index != 5;
    Ken->Label5->SetCaption(gui::Format("行政区界：%s年版", kYears[index]));
    Ken->Label4->SetVisible(index == 5);
}

// At exit: the data folder gets its own edition back.
bool TOpen::RestoreStandardEdition() {
    const std::string dst = AppDir + "/mapdata";
    bool listed = false;
    const std::vector<std::string> failed = CopyChangedFiles(dst, dst + FolderOf(5), listed);
    if (listed && failed.empty()) return true;
    Application->MessageBox(gui::Format("2010年版の行政区界データに戻すことができませんでした\n%s", JoinNames(failed).c_str()),
                            "行政区界データ置き換え", MB_OK | MB_ICONEXCLAMATION);
    return false;
}
