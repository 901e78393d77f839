// The edition switch on the whole country, there and back (52 map files each
// way), against its floor: the same files copied plainly over the data
// folder's own, read and written in one pass each, with nothing staged.
// Both lie under TMPDIR. A user switches minutes apart, not milliseconds: the
// writeback of one switch is waited for, untimed, before the next, or removing
// the contents written just before would wait for the disk, not for the program.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "engine/Uopen.h"
#include "names/MainFormNames.h"
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string DataFolder() { return Open->doc.AppDir + "/MAPDATA"; }

void Settle(benchmark::State& state) {
    state.PauseTiming();
    sync();
    state.ResumeTiming();
}

void EditionSwitch(benchmark::State& state) {
    const std::string dst = DataFolder();
    for (auto _ : state) {
        for (const char* edition : {"/2002mapdata", "/2010mapdata"}) {
            Settle(state);
            bool listed = false;
            if (!CopyChangedFiles(*Open, dst, dst + edition, listed).empty() || !listed) {
                state.SkipWithError("a switch failed");
                return;
            }
        }
    }
}

// The floor.
void PlainCopy(benchmark::State& state) {
    const std::string dst = DataFolder();
    static std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        for (const char* edition : {"/2002mapdata", "/2010mapdata"}) {
            Settle(state);
            for (int code = 1; code <= 52; ++code) {
                char name[16];
                std::snprintf(name, sizeof name, "/%02d.MAP", code);
                FILE* in = std::fopen((dst + edition + name).c_str(), "rb");
                FILE* out = std::fopen((dst + name).c_str(), "wb");
                if (!in || !out) {
                    state.SkipWithError("a map file cannot be copied");
                    return;
                }
                size_t n;
                while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) std::fwrite(buf.data(), 1, n, out);
                std::fclose(in);
                std::fclose(out);
            }
        }
    }
}

BENCHMARK(EditionSwitch)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench-editions", true);
    return benchutil::Main(argc, argv, {{"EditionSwitch", "PlainCopy"}});
}
