// A program folder for benchmarks that run the real start-up: a temporary
// folder holding the program's own file and the data set's MAPDATA, made the
// current directory, with all thirty forms built; removed again on exit.
#pragma once
#include "forms/AllForms.h"
#include "engine/Uken.h"
#include "engine/Uopen.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

namespace benchutil {

class ProgramFolder {
public:
    // copyData: a writable copy of MAPDATA; otherwise a link to the read-only data set.
    // links: further folders of the data set linked into the program folder ("mark", ...).
    ProgramFolder(int& argc, char** argv, const std::string& name, bool copyData,
                  const std::vector<std::string>& links = {})
        : app(argc, argv) {
        namespace fs = std::filesystem;
        gui::testing::Enable();
        dir = fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        std::ofstream(dir / QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString()) << "x";
        const fs::path data = fs::path(ROVANA_JAPAN_DATA) / "MAPDATA";
        if (copyData) {
            fs::copy(data, dir / "MAPDATA", fs::copy_options::recursive);
            // The data set is read-only; its copy must be removable.
            for (const auto& e : fs::recursive_directory_iterator(dir))
                fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add);
        } else {
            fs::create_directory_symlink(data, dir / "MAPDATA");
        }
        for (const auto& l : links) fs::create_directory_symlink(fs::path(ROVANA_JAPAN_DATA) / l, dir / l);
        fs::current_path(dir);
        CreateAllForms(Application);
    }
    ~ProgramFolder() {
        namespace fs = std::filesystem;
        DestroyAllForms();
        fs::current_path(fs::temp_directory_path());
        fs::remove_all(dir);
    }

private:
    struct Offscreen {
        Offscreen() { setenv("QT_QPA_PLATFORM", "offscreen", 1); }
    } offscreen;
    TApplication app;
    std::filesystem::path dir;
};

// All areas chosen the way the user does it, with the railway map when asked.
// The image save as the user runs it, to a file of this name in the program
// folder; its extension picks the format.
inline void SaveAs(benchmark::State& state, const char* name) {
    const std::string path = (std::filesystem::current_path() / name).string();
    for (auto _ : state) {
        gui::testing::QueueFileName(path);
        Open->PNG1Click(Open);
    }
    if (!std::filesystem::exists(path)) state.SkipWithError("nothing was saved");
}

inline void LoadAllAreas(bool railways = false) {
    for (int code = 1; code <= 52; code++) Ken->AreaBox(code)->SetChecked(true);
    if (railways) Ken->CBRailShow->SetChecked(true);
    Ken->Button1Click(Ken);
    // The wait window is for people; it has no place in a timing.
    Open->ui.Wait->SetChecked(false);
}

} // namespace benchutil
