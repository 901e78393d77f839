// TOpen: switching the boundary data to an earlier edition and back.
#include "engine/Uken.h"
#include "gui/TextFile.h"
#include "names/MainFormNames.h"
#include "gui/Files.h"
#include <cstring>
#include <fstream>
#include <unistd.h>
#include "engine/MapDocument.h"

namespace {

const char* const kYears[6] = {"2002", "2003", "2005", "2008", "2009", "2010"};

std::string FolderOf(int i) { return std::string("/") + kYears[i] + "mapdata"; }

std::string JoinNames(const std::vector<std::string>& v) {
    std::string s;
    for (const std::string& n : v) s += n + "\n";
    return s;
}

} // namespace

int CompareFileTimes(const std::string& src, const std::string& dst) {
    long long a = 0, b = 0;
    if (!gui::FileTimeNs(src, a)) return 101;
    if (!gui::FileTimeNs(dst, b)) return 102;
    return a == b ? 10 : a > b ? 11 : 12;
}

namespace {

bool SameBytes(const std::string& a, const std::string& b) {
    std::ifstream fa(gui::ResolvePath(a), std::ios::binary), fb(gui::ResolvePath(b), std::ios::binary);
    if (!fa || !fb) return false;
    char ba[65536], bb[65536];
    for (;;) {
        fa.read(ba, sizeof ba);
        fb.read(bb, sizeof bb);
        if (fa.gcount() != fb.gcount() || std::memcmp(ba, bb, size_t(fa.gcount())) != 0) return false;
        if (!fa || !fb) return !fa && !fb;
    }
}

// Both files exist and differ: in their times, or, where the times are equal
// (a copy that kept them, a file system with coarse times), in their bytes.
// With fillMissing a target that is not there differs too (missing tells).
bool NeedsCopy(const std::string& from, const std::string& to, bool fillMissing = false, bool* missing = nullptr) {
    const int code = CompareFileTimes(from, to);
    if (missing) *missing = code == 102;
    if (code == 102) return fillMissing;
    if (code >= 100) return false;
    return code != 10 || !SameBytes(from, to);
}

void RemoveAll(const std::vector<std::string>& paths) {
    for (const std::string& p : paths)
        if (!p.empty()) unlink(p.c_str());
}

} // namespace

// Copies each source file that differs from its namesake, all or none: every
// copy is made beside its target first, and only when all are made do they
// take the targets' places; a failed swap puts the replaced files back.
// Each target is replaced in one rename and its old content kept under a
// second name until the last is in: whenever the run is killed, every target
// is a whole file of one edition or the other, which the next start's
// comparison finds. Returns the names that failed; mixed tells that putting
// back failed too.
std::vector<std::string> CopyChangedFiles(TOpen& o, const std::string& dst, const std::string& src, bool& listed,
                                                 bool* mixed, bool fillMissing) {
    std::vector<std::string> failed;
    if (mixed) *mixed = false;
    listed = gui::DirectoryExists(src);
    if (!listed) return failed;
    std::vector<std::string> names, targets, staged;
    std::vector<bool> wasMissing;
    const std::string srcDir = gui::ResolvePath(src), dstDir = gui::ResolvePath(dst);
    // Once for the folder, not for each of its files.
    gui::RemoveStaleTempFiles(dstDir);
    for (const std::string& n : gui::ListFiles(srcDir, "*.*")) {
        const std::string from = srcDir + "/" + n, to = gui::ResolvePath(dstDir + "/" + n);
        bool missing = false;
        if (!NeedsCopy(from, to, fillMissing, &missing)) continue;
        names.push_back(n);
        targets.push_back(to);
        wasMissing.push_back(missing);
        std::string stage = gui::CreateTempFileBeside(targets.back(), false);
        if (stage.empty() || !gui::CopyFileInto(from, stage)) failed.push_back(n);
        staged.push_back(stage);
    }
    if (!failed.empty()) {
        RemoveAll(staged);
        return failed;
    }
    // An empty backup stands for a target that was not there.
    std::vector<std::string> backups(names.size());
    size_t done = 0;
    for (; done < names.size(); ++done) {
        std::string& backup = backups[done];
        // Swapped in one step, the staged name keeps the old content.
        if (!wasMissing[done] && gui::ExchangeFiles(staged[done], targets[done])) {
            backup = staged[done];
            staged[done].clear();
            continue;
        }
        if (!wasMissing[done]) {
            backup = gui::KeepBeside(targets[done]);
            if (backup.empty()) {
                failed.push_back(names[done]);
                break;
            }
        }
        if (rename(staged[done].c_str(), targets[done].c_str()) != 0) {
            failed.push_back(names[done]);
            break;
        }
        staged[done].clear();
    }
    if (failed.empty()) {
        RemoveAll(backups);
        return failed;
    }
    for (size_t i = 0; i < done; ++i) {
        const bool back = backups[i].empty() ? unlink(targets[i].c_str()) == 0
                                             : rename(backups[i].c_str(), targets[i].c_str()) == 0;
        if (back) backups[i].clear();
        else if (mixed) *mixed = true;
    }
    RemoveAll(staged);
    RemoveAll(backups);
    return failed;
}

bool ReplaceBoundaryData(TOpen& o, const std::string& folder) {
    const char* caption = "行政区界データ置き換え";
    const std::string dst = DocOf(o).AppDir + "/mapdata", src = dst + folder;
    if (!gui::DirectoryExists(src)) {
        Application->MessageBox(gui::Format("%s が見つかりません　　　　", src.c_str()), caption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // An earlier edition overwrites only files the 2010 edition can put back.
    if (folder != FolderOf(5)) {
        std::vector<std::string> missing;
        const std::string back = dst + FolderOf(5);
        for (const std::string& n : gui::ListFiles(src, "*.*"))
            if (NeedsCopy(src + "/" + n, dst + "/" + n) && !gui::FileExists(back + "/" + n)) missing.push_back(n);
        if (!missing.empty()) {
            Application->MessageBox(gui::Format("%s に次のファイルがないため，置き換えることはできません\n%s", back.c_str(),
                                                JoinNames(missing).c_str()),
                                    caption, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    bool listed = false, mixed = false;
    // The standard edition comes back whole, a file lost on the way included.
    const std::vector<std::string> failed = CopyChangedFiles(o, dst, src, listed, &mixed, folder == FolderOf(5));
    if (mixed) {
        // Neither edition is whole on disk: the exit puts the 2010 edition back.
        DocOf(o).AltYear = true;
        Application->MessageBox(gui::Format("次のファイルを置き換えることができず，元に戻すこともできませんでした\n"
                                            "終了時に2010年版に戻します\n%s",
                                            JoinNames(failed).c_str()),
                                caption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!failed.empty()) {
        Application->MessageBox(gui::Format("次のファイルを置き換えることができませんでした\n行政区界データは変更していません\n%s",
                                            JoinNames(failed).c_str()),
                                caption, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    Application->MessageBox(gui::Format("行政区界データを%s年版に置き換えました　　　　", folder.substr(1, 4).c_str()), caption,
                            MB_OK);
    return true;
}

void EditionClick(TOpen& o, int index) {
    if (Application->MessageBox(gui::Format("行政区界を%s年版のデータで置き換えますか?　　　　　", kYears[index]),
                                "行政区界データの置き換え", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    if (!ReplaceBoundaryData(o, FolderOf(index))) return;
    // The ticks follow only a completed switch.
    TMenuItem* items[6] = {NameWidgetsOf(o).N20021, NameWidgetsOf(o).N20031, NameWidgetsOf(o).N20051, NameWidgetsOf(o).N20081, NameWidgetsOf(o).N20091, NameWidgetsOf(o).N20101};
    for (int i = 0; i < 6; ++i) items[i]->SetChecked(i == index);
    DocOf(o).AltYear = index != 5;
    Ken->Label5->SetCaption(gui::Format("行政区界：%s年版", kYears[index]));
    Ken->Label4->SetVisible(index == 5);
}

// At exit: the data folder gets its own edition back.
bool RestoreStandardEdition(TOpen& o) {
    const std::string dst = DocOf(o).AppDir + "/mapdata";
    bool listed = false;
    const std::vector<std::string> failed = CopyChangedFiles(o, dst, dst + FolderOf(5), listed, nullptr, true);
    if (listed && failed.empty()) {
        DocOf(o).AltYear = false;
        return true;
    }
    Application->MessageBox(gui::Format("2010年版の行政区界データに戻すことができませんでした\n%s", JoinNames(failed).c_str()),
                            "行政区界データ置き換え", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void RestoreLeftEdition(TOpen& o) {
    const std::string dst = DocOf(o).AppDir + "/mapdata", src = dst + FolderOf(5);
    if (!gui::DirectoryExists(src)) return;
    bool left = false;
    // Bytes, not times: a copy of the program folder need not keep the times.
    // A missing file is left over too (a switch of an earlier version killed
    // between its two renames).
    for (const std::string& n : gui::ListFiles(src, "*.*"))
        if (!gui::FileExists(dst + "/" + n) || !SameBytes(src + "/" + n, dst + "/" + n)) left = true;
    // The menus start at 2010: so must the files; if they cannot, the exit tries again.
    if (left && !RestoreStandardEdition(o)) DocOf(o).AltYear = true;
}
