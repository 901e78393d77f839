// A statistics table read straight from an .xlsx workbook: the sheet's cells
// as the CSV its spreadsheet would save (numbers, strings, the results of
// formulas, dates as text), with the same limits and refusals as a CSV.
#pragma once
#include "paint/StatTable.h"
#include <string>
#include <vector>

// The names of the workbook's sheets in its order, or false with `error`.
bool ListXlsxSheets(const std::string& path, std::vector<std::string>& sheets, std::string& error);
// The sheet (from 0) as a table; a refused sheet leaves `table` empty.
bool ReadXlsxSheet(const std::string& path, int sheet, StatTable& table, std::string& error);
