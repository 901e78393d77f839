// Reading a table as it comes. StatXlsxRead: the sample table of the data set
// saved as an .xlsx workbook (text as shared strings, numbers as numbers, as a
// spreadsheet saves it) read into cells, against StatCsvRead, the same table
// read from its CSV.
#include "bench/BenchMain.h"
#include "paint/StatTable.h"
#include <QByteArray>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>
#include <filesystem>
#include <unistd.h>
#include <unordered_map>

namespace {

const std::string kSample = std::string(ROVANA_JAPAN_DATA) + "/サンプル/住民基本台帳人口_2021.csv";
std::string bookPath;

QByteArray Escaped(const std::string& s) { return QString::fromStdString(s).toHtmlEscaped().toUtf8(); }

// The table as a workbook of one sheet.
bool WriteBook(const StatTable& t, const std::string& path) {
    std::unordered_map<std::string, int> index;
    QByteArray strings, sheet;
    for (size_t r = 0; r < t.rows.size(); ++r) {
        sheet += "<row r=\"" + QByteArray::number(qulonglong(r + 1)) + "\">";
        for (size_t c = 0; c < t.rows[r].size() && c < 26; ++c) {
            const std::string& cell = t.rows[r][c];
            if (cell.empty()) continue;   // a spreadsheet writes no empty cells
            const QByteArray ref = QByteArray(1, char('A' + c)) + QByteArray::number(qulonglong(r + 1));
            bool noValue = false;
            if (ParseStatNumber(cell, noValue) && cell.find_first_not_of("-.0123456789") == std::string::npos) {
                sheet += "<c r=\"" + ref + "\" s=\"1\"><v>" + QByteArray::fromStdString(cell) + "</v></c>";
                continue;
            }
            auto [it, fresh] = index.emplace(cell, int(index.size()));
            if (fresh) strings += "<si><t>" + Escaped(cell) + "</t></si>";
            sheet += "<c r=\"" + ref + "\" s=\"2\" t=\"s\"><v>" + QByteArray::number(it->second) + "</v></c>";
        }
        sheet += "</row>";
    }
    const QByteArray ns = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const QByteArray rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::vector<std::pair<QString, QByteArray>> parts = {
        {"xl/workbook.xml", "<workbook " + ns + " xmlns:r=\"" + rels + "\"><sheets><sheet name=\"人口\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml", "<sst " + ns + ">" + strings + "</sst>"},
        {"xl/worksheets/sheet1.xml", "<worksheet " + ns + "><sheetData>" + sheet + "</sheetData></worksheet>"}};
    QuaZip zip(QString::fromStdString(path));
    if (!zip.open(QuaZip::mdCreate)) return false;
    for (const auto& [name, bytes] : parts) {
        QuaZipFile f(&zip);
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || f.write(bytes) != bytes.size()) return false;
    }
    return true;
}

void Read(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        StatTable t;
        std::string error;
        if (!ReadStatTable(path, t, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(t.rows.size());
    }
}

void StatXlsxRead(benchmark::State& state) { Read(state, bookPath); }
void StatCsvRead(benchmark::State& state) { Read(state, kSample); }

BENCHMARK(StatXlsxRead)->Unit(benchmark::kMillisecond);
BENCHMARK(StatCsvRead)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    StatTable t;
    std::string error;
    if (!ReadStatTable(kSample, t, error)) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
    const auto dir = std::filesystem::temp_directory_path() / ("rovana-bench-xlsx-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    bookPath = (dir / "sample.xlsx").string();
    if (!WriteBook(t, bookPath)) return std::fprintf(stderr, "cannot write %s\n", bookPath.c_str()), 1;
    // The workbook reads back as the table it was made from.
    StatTable back;
    if (!ReadStatTable(bookPath, back, error) || back.rows.size() != t.rows.size())
        return std::fprintf(stderr, "workbook read back wrong: %s\n", error.c_str()), 1;
    const int status = benchutil::Main(argc, argv, {{"StatXlsxRead", "StatCsvRead"}});
    std::filesystem::remove_all(dir);
    return status;
}
