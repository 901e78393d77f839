// A statistics table as a spreadsheet saves it: CSV or tab-separated text,
// Shift-JIS or UTF-8, read whole into cells; its numbers as people write them.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct StatTable {
    static constexpr size_t ROW_MAX = 100000;       // data rows besides the headings
    static constexpr size_t COL_MAX = 200;          // columns of a row
    static constexpr size_t LINE_BYTES = 64 * 1024;   // bytes of one line
    static constexpr size_t FILE_MAX = 64u << 20;   // bytes of the whole file

    std::vector<std::vector<std::string>> rows;     // UTF-8 cells, in file order
    std::vector<int> lines;                         // the file line (from 1) of each row
    bool utf8 = false;                              // how the file was decoded
    char separator = ',';

    size_t Width() const;   // the most cells of any row
    const std::string& Cell(size_t row, size_t col) const;
};

// Reads the file, or says why not in `error` (with the line number where one
// line is at fault). A refused table leaves `table` empty. An .xlsx workbook
// gives the sheet `sheet` (from 0); an .xls is refused.
bool ReadStatTable(const std::string& path, StatTable& table, std::string& error, int sheet = 0);
// Whether the file is a workbook (by its first bytes or its name).
bool IsStatWorkbook(const std::string& path);
// The same on bytes already in memory.
bool ParseStatTable(std::string_view bytes, StatTable& table, std::string& error);

// A cell as a number: "1,234", "１２３４", "△12", "-3.5"; nullopt with
// `noValue` set for the marks of a missing value ("-", "…", "x", "***", empty),
// nullopt with `noValue` clear for text that is not a number.
// Thousands separators count only in groups of three; values beyond
// ±kStatValueMax are refused. `why` gets the reason a cell gives no value.
std::optional<double> ParseStatNumber(std::string_view cell, bool& noValue);
std::optional<double> ParseStatNumber(std::string_view cell, bool& noValue, std::string* why);
constexpr double kStatValueMax = 1e15;

// Full-width ASCII to ASCII and blanks (also the full-width one) removed.
std::string FoldWidth(std::string_view s);
