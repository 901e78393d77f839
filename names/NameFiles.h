// File steps shared by the name-data windows: whole files read as their CP932
// lines, rewritten atomically, and the failure message of a rewrite.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace names {

// The lines of a file as CP932 bytes without CR/LF; false when it cannot be read.
bool ReadRawLines(const std::string& path, std::vector<std::string>& lines);
// The file anew from CP932 lines with CR LF, through a temporary file.
bool WriteRawLines(const std::string& path, const std::vector<std::string>& lines);
// A name record "A|B|X,x,y,name..." at (x, y) named name (CP932); fields are left in f.
bool IsNameRecord(const std::string& line, int32_t x, int32_t y, const std::string& name, std::vector<std::string>& f);
void ReportWriteFailure(const std::string& path, const std::string& caption);
// A list whose reading left lines out is not written back, which would lose
// them: the message, then false.
bool RefusePartialList(const std::string& path, const std::string& caption);
// The row to change is no longer in the file: nothing was written.
void ReportRowGone(const std::string& path, const std::string& caption);
// A name fit for the comma-and-blank separated files: not empty, no comma, blank or tab.
bool IsPlainField(const std::string& s);

} // namespace names
