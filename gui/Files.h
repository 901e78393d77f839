// File functions of the desktop, on the local file system. Paths use '/';
// each component is matched without regard to case where the exact name is missing.
#pragma once
#include <ctime>
#include <string>
#include <vector>

namespace gui {

// The existing path that matches case-insensitively (ASCII letters), component
// by component; for a file still to be made, the folder part is resolved and
// the name kept. An exact match always wins over one in another case.
std::string ResolvePath(const std::string& path);
// Accepts '\' as a separator too, then resolves.
std::string NativePath(const std::string& path);

bool FileExists(const std::string& path);        // an ordinary file
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);   // replaces 'to'
// Copies and keeps the source's last-write time. The copy goes through a
// temporary file, so a failed copy leaves 'to' as it was.
bool CopyFileKeepTime(const std::string& from, const std::string& to);
// Last-write time; 0 when the file is missing.
std::time_t FileTime(const std::string& path);
// Last-write time in nanoseconds, at the file system's full resolution; false when missing.
bool FileTimeNs(const std::string& path, long long& ns);
struct FileDateParts { int year = 0, month = 0, day = 0; };
bool FileDate(const std::string& path, FileDateParts& d);   // local time
// Ordinary files of a folder matching a wildcard (* and ?, case-insensitive),
// names only, in byte order. "*.*" matches every name, with or without a dot.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& wildcard);
bool MatchesWildcard(const std::string& name, const std::string& wildcard);
std::string CurrentDirectory();
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);      // with the dot
std::string ExtractFilePath(const std::string& path);     // with the trailing '/'

// A new empty file in the folder of 'target' (so that a rename can replace
// target), with target's permission bits when target exists. "" on failure.
std::string CreateTempFileBeside(const std::string& target);

} // namespace gui
