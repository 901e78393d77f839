// Runs the program's start-up in the folder given and, with "switch", the
// user's choice of the 2002 edition (its question answered OK), counting the
// file system calls from the moment given by the preloaded kill shim; prints
// their number and ends at once, as a kill would after the last of them.
#include "forms/AllForms.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3 || chdir(argv[1]) != 0) return 2;
    const bool atStart = std::strcmp(argv[2], "start") == 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    gui::testing::Enable();
    auto arm = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "killshim_arm"));
    auto count = reinterpret_cast<long (*)()>(dlsym(RTLD_DEFAULT, "killshim_count"));
    if (!arm || !count) return 3;
    if (atStart) arm();
    CreateAllForms(Application);
    if (!atStart) {
        arm();
        NameWidgetsOf(*Open).N20021->Click();
    }
    std::printf("%ld\n", count());
    std::fflush(stdout);
    _exit(0);
}
