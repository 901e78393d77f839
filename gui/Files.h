// File functions of the desktop, on the local file system. Paths use '/';
// each component is matched without regard to case where the exact name is missing.
#pragma once
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace gui {

// The existing path that matches case-insensitively (ASCII letters), component
// by component; for a file still to be made, the folder part is resolved and
// the name kept. An exact match always wins over one in another case.
std::string ResolvePath(const std::string& path);
// Accepts '\' as a separator too, then resolves; a path that exists as
// written keeps its '\' (a name may hold one).
std::string NativePath(const std::string& path);

bool FileExists(const std::string& path);        // an ordinary file
// open(2) of an ordinary file only, never waiting: a named pipe, a device or a
// folder is refused (-1, errno EINVAL) before it could block a read or a
// write. flags as for open; O_TRUNC truncates only once the file is known to
// be ordinary. The path is used as given.
int OpenRegularFile(const std::string& path, int flags, unsigned mode = 0666);
bool DirectoryExists(const std::string& path);
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);   // replaces 'to'
// Swaps the contents of two existing files under their names in one step (the
// paths used as given); false where the file system cannot.
bool ExchangeFiles(const std::string& a, const std::string& b);
// Copies and keeps the source's last-write time. The copy goes through a
// temporary file, so a failed copy leaves 'to' as it was.
bool CopyFileKeepTime(const std::string& from, const std::string& to);
// The same written straight into the existing file 'to' (a temporary of ours).
bool CopyFileInto(const std::string& from, const std::string& to);
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
// Its name is short and fixed whatever target's name: ".rvtmp-<pid>-<n>". With
// sweep, the temporary files that ended runs left in that folder are removed
// first; a writer of many files in one folder sweeps it once itself.
std::string CreateTempFileBeside(const std::string& target, bool sweep = true);
// A second name for the existing file target, a temporary beside it (a hard
// link, or a copy where the file system has none), so that target can be
// replaced in one rename while its old content stays at hand. "" on failure.
// It does not sweep.
std::string KeepBeside(const std::string& target);
inline constexpr const char* kTempPrefix = ".rvtmp-";
// Removes the temporary files of our own in folder that a run ended during a
// save left behind (those of a process still running stay). Returns how many.
int RemoveStaleTempFiles(const std::string& folder);

// Writes a file anew through a temporary file beside it. write gets the open
// temporary; only when it returns true and every write, the flush to disk and
// the close succeeded does the temporary take the file's name, keeping the
// replaced file's permission bits. A read-only file is never replaced. On any
// failure the file stays as it was, the temporary is removed and error (when
// given) receives the reason: write's own reason if it set one.
bool AtomicWriteFile(const std::string& path, const std::function<bool(FILE* f, std::string& reason)>& write,
                     std::string* error = nullptr);

} // namespace gui
