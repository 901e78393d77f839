// Loading all 52 areas of the country against reading the same files' bytes.
#include "bench/BenchMain.h"
#include "bench/BenchProgram.h"
#include "forms/AllForms.h"
#include "engine/Uopen.h"
#include "gui/Forms.h"
#include "gui/Testing.h"
#include "gui/TextFile.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int32_t gCodes[52];

// The map files and office files ReadMapData opens for all areas.
const std::vector<std::string>& DataFiles() {
    static std::vector<std::string> files = [] {
        std::vector<std::string> f;
        const std::string dir = fs::current_path().string() + "/MAPDATA/";
        for (int code = 1; code <= 52; code++) f.push_back(dir + gui::Format("%02d.MAP", code));
        for (int code = 1; code <= 51; code++) f.push_back(dir + gui::Format("OfficeLoc/%02d市町村役場.lbl", code));
        return f;
    }();
    return files;
}

void ReadMapData52(benchmark::State& state) {
    for (auto _ : state) {
        bool ok = Open->ReadMapData(52, gCodes);
        benchmark::DoNotOptimize(ok);
        if (!ok || Open->doc.CoastLine.Fill == 0) state.SkipWithError("the data set did not load");
    }
}

// The floor: every byte of the same files, read the plainest fast way.
void ReadBytes52(benchmark::State& state) {
    static std::vector<char> buf(1 << 20);
    for (auto _ : state) {
        size_t total = 0;
        for (const std::string& path : DataFiles()) {
            FILE* f = std::fopen(path.c_str(), "rb");
            if (!f) {
                state.SkipWithError("a data file is missing");
                break;
            }
            size_t n;
            while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) total += n;
            std::fclose(f);
        }
        benchmark::DoNotOptimize(total);
    }
}

// The same files' lines through the text reader, nothing parsed: for people,
// the share of the line reading in the load.
void TextLines52(benchmark::State& state) {
    for (auto _ : state) {
        size_t total = 0;
        for (const std::string& path : DataFiles()) {
            gui::TextReader in(path);
            std::string_view bytes;
            while (in.ReadLineBytes(bytes)) total += bytes.size();
        }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(ReadMapData52)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBytes52)->Unit(benchmark::kMillisecond);
BENCHMARK(TextLines52)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchutil::ProgramFolder folder(argc, argv, "rovana-bench", true);
    for (int i = 0; i < 52; i++) gCodes[i] = i + 1;

    return benchutil::Main(argc, argv, {{"ReadMapData52", "ReadBytes52"}});
}
