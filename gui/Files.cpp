#include "gui/Files.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <atomic>
#include <mutex>
#include <signal.h>
#include <unordered_map>
#include <sys/stat.h>
#include <unistd.h>

namespace gui {

namespace {

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; a++, b++) {
        unsigned char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return *a == *b;
}

unsigned char Lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool Exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The names of recently searched folders. A name found here is checked with
// lstat before use and a miss reads the folder again, so a stale list can only
// cost a second look, never give a wrong answer.
class FolderNames {
public:
    std::string Find(const std::string& folder, const std::string& name) {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = folders.find(folder);
        if (it != folders.end()) {
            std::string found = Match(it->second, name);
            if (!found.empty() && Exists(Join(folder, found))) return found;
        }
        if (folders.size() >= 64) folders.clear();
        std::vector<std::string>& names = folders[folder];
        names = Read(folder);
        return Match(names, name);
    }
private:
    static std::vector<std::string> Read(const std::string& folder) {
        std::vector<std::string> names;
        if (DIR* d = opendir(folder.empty() ? "." : folder.c_str())) {
            while (dirent* e = readdir(d)) names.push_back(e->d_name);
            closedir(d);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The first in byte order when several names match.
    static std::string Match(const std::vector<std::string>& names, const std::string& name) {
        for (const std::string& n : names)
            if (SameIgnoringCase(n.c_str(), name.c_str())) return n;
        return "";
    }
    std::mutex mutex;
    std::unordered_map<std::string, std::vector<std::string>> folders;
};

// The entry of 'folder' whose name matches 'name' without regard to case;
// "" when none does.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    static FolderNames cache;
    return cache.Find(folder, name);
}

} // namespace

std::string ResolvePath(const std::string& path) {
    if (path.empty() || Exists(path)) return path;
    std::string cur = path[0] == '/' ? "/" : "";
    size_t i = 0;
    while (i < path.size()) {
        size_t slash = path.find('/', i);
        size_t end = slash == std::string::npos ? path.size() : slash;
        std::string comp = path.substr(i, end - i);
        i = end + 1;
        if (comp.empty()) continue;
        std::string next = Join(cur, comp);
        if (comp != "." && comp != ".." && !Exists(next)) {
            std::string found = FindIgnoringCase(cur, comp);
            if (found.empty()) {
                // Nothing further exists: keep the rest as it was asked for.
                std::string rest = end < path.size() ? path.substr(end) : "";
                return next + rest;
            }
            next = Join(cur, found);
        }
        cur = next;
    }
    if (path.back() == '/' && cur.back() != '/') cur += '/';
    return cur;
}

std::string NativePath(const std::string& path) {
    // A '\' is part of a name on this system: a path that exists as written
    // (one the program wrote itself) is that file.
    if (path.find('\\') != std::string::npos) {
        const std::string asWritten = ResolvePath(path);
        if (Exists(asWritten)) return asWritten;
    }
    std::string p = path;
    std::replace(p.begin(), p.end(), '\\', '/');
    return ResolvePath(p);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(ResolvePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int OpenRegularFile(const std::string& path, int flags, unsigned mode) {
    const bool truncate = flags & O_TRUNC;
    int fd = open(path.c_str(), (flags & ~O_TRUNC) | O_NONBLOCK | O_CLOEXEC, mode_t(mode));
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    if ((truncate && ftruncate(fd, 0) != 0) || fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int e = errno;
        close(fd);
        errno = e;
        return -1;
    }
    return fd;
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return stat(ResolvePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) { return unlink(ResolvePath(path).c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    return rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) == 0;
}

namespace {

// A temporary name of a fixed short pattern, whatever the target's name is
// (a name of 255 bytes still has its temporary): ".rvtmp-<pid>-<n>".
std::string NextTempName(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return folder + kTempPrefix + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

} // namespace

bool ExchangeFiles(const std::string& a, const std::string& b) {
    return renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

std::string CreateTempFileBeside(const std::string& target, bool sweep) {
    const std::string folder = ExtractFilePath(target);
    // What a run killed during a save left in this folder goes now: a user's
    // own folder is cleaned by nothing else.
    if (sweep) RemoveStaleTempFiles(folder);
    struct stat st;
    mode_t mode;
    if (stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = NextTempName(folder);
        int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fchmod(fd, mode);
            close(fd);
            return temp;
        }
        if (errno != EEXIST) break;
    }
    return "";
}

std::string KeepBeside(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = NextTempName(folder);
        if (link(target.c_str(), name.c_str()) == 0) return name;
        if (errno == EEXIST) continue;
        if (errno == ENOENT) return "";
        break;
    }
    // A file system without hard links: a copy does the same, slower.
    const std::string temp = CreateTempFileBeside(target, false);
    if (temp.empty()) return "";
    if (CopyFileInto(target, temp)) return temp;
    unlink(temp.c_str());
    return "";
}

int RemoveStaleTempFiles(const std::string& folder) {
    const std::string dir = ResolvePath(folder);
    const size_t prefix = strlen(kTempPrefix);
    int removed = 0;
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return 0;
    while (dirent* e = readdir(d)) {
        const char* name = e->d_name;
        if (strncmp(name, kTempPrefix, prefix) != 0) continue;
        char* end = nullptr;
        const long pid = strtol(name + prefix, &end, 10);
        if (end == name + prefix || *end != '-' || pid <= 0) continue;
        // A save under way, ours or in another running copy of the program, is left alone.
        if (pid == getpid() || kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        removed += unlink(Join(dir, name).c_str()) == 0;
    }
    closedir(d);
    return removed;
}

bool AtomicWriteFile(const std::string& path, const std::function<bool(FILE*, std::string&)>& write,
                     std::string* error) {
    std::string reason;
    auto sysReason = [&](const char* what, const std::string& p) {
        reason = std::string(what) + " " + p + ": " + std::strerror(errno);
    };
    auto fail = [&](const std::string& temp) {
        if (!temp.empty()) unlink(temp.c_str());
        if (error) *error = reason.empty() ? "cannot write " + path : reason;
        return false;
    };
    if (path.empty() || path.back() == '/') {
        reason = "no file name given";
        return fail("");
    }
    const std::string target = ResolvePath(path);
    struct stat st;
    // A read-only file stays as it is, also for a user whom the system would let write.
    if (stat(target.c_str(), &st) == 0 && (!(st.st_mode & 0222) || access(target.c_str(), W_OK) != 0)) {
        reason = target + " is read-only";
        return fail("");
    }
    // A named pipe, a device or a folder is never replaced by a file.
    if (stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        reason = target + " is not an ordinary file";
        return fail("");
    }
    const std::string temp = CreateTempFileBeside(target);
    if (temp.empty()) {
        sysReason("cannot create a temporary file for", target);
        return fail("");
    }
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f) {
        sysReason("cannot open", temp);
        return fail(temp);
    }
    setvbuf(f, nullptr, _IOFBF, 1 << 16);
    bool ok;
    try {
        ok = write(f, reason);
    } catch (...) {
        fclose(f);
        unlink(temp.c_str());
        throw;
    }
    if (ok && (fflush(f) != 0 || ferror(f))) {
        sysReason("cannot write", target);
        ok = false;
    }
    // The data must be on disk before the name points at it.
    if (ok && fsync(fileno(f)) != 0) {
        sysReason("cannot write", target);
        ok = false;
    }
    if (fclose(f) != 0 && ok) {
        sysReason("cannot close", target);
        ok = false;
    }
    if (!ok) return fail(temp);
    if (rename(temp.c_str(), target.c_str()) != 0) {
        sysReason("cannot replace", target);
        return fail(temp);
    }
    return true;
}

bool FileTimeNs(const std::string& path, long long& ns) {
    struct stat st;
    if (stat(ResolvePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    ns = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    return true;
}

bool CopyFileInto(const std::string& from, const std::string& to) {
    const int fd = OpenRegularFile(ResolvePath(from), O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    const int out = fstat(fd, &st) == 0 ? open(to.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC) : -1;
    bool ok = out >= 0;
    if (ok) {
        static thread_local std::vector<char> buf(1 << 20);
        for (;;) {
            const ssize_t n = read(fd, buf.data(), buf.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            for (ssize_t put = 0; put < n;) {
                const ssize_t w = write(out, buf.data() + put, size_t(n - put));
                if (w < 0 && errno == EINTR) continue;
                if (w <= 0) {
                    ok = false;
                    break;
                }
                put += w;
            }
            if (!ok) break;
        }
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        ok = ok && futimens(out, times) == 0;
        if (close(out) != 0) ok = false;
    }
    close(fd);
    return ok;
}

bool CopyFileKeepTime(const std::string& from, const std::string& to) {
    const std::string dst = ResolvePath(to);
    const std::string temp = CreateTempFileBeside(dst);
    if (temp.empty()) return false;
    const bool ok = CopyFileInto(from, temp) && rename(temp.c_str(), dst.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

std::time_t FileTime(const std::string& path) {
    struct stat st;
    if (stat(ResolvePath(path).c_str(), &st) != 0) return 0;
    return st.st_mtime;
}

bool FileDate(const std::string& path, FileDateParts& d) {
    std::time_t t = FileTime(path);
    if (t == 0) return false;
    std::tm tm;
    if (!localtime_r(&t, &tm)) return false;
    d.year = tm.tm_year + 1900;
    d.month = tm.tm_mon + 1;
    d.day = tm.tm_mday;
    return true;
}

bool MatchesWildcard(const std::string& name, const std::string& wildcard) {
    // "*.*" is every name on the desktop, a name without a dot too.
    const std::string& pat = wildcard == "*.*" ? std::string("*") : wildcard;
    size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    auto charLen = [&](size_t at) {
        unsigned char c = name[at];
        size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return std::min(len, name.size() - at);
    };
    while (n < name.size()) {
        if (p < pat.size() && pat[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pat.size() && pat[p] == '?') {
            p++;
            n += charLen(n);   // one character, not one byte
        } else if (p < pat.size() && Lower(pat[p]) == Lower(name[n])) {
            p++;
            n++;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            starN += charLen(starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == '*') p++;
    return p == pat.size();
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& wildcard) {
    std::vector<std::string> names;
    std::string dir = ResolvePath(folder);
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return names;
    while (dirent* e = readdir(d)) {
        if (!MatchesWildcard(e->d_name, wildcard)) continue;
        struct stat st;
        if (stat(Join(dir, e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(e->d_name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

std::string CurrentDirectory() {
    std::string s(4096, '\0');
    while (!getcwd(s.data(), s.size())) {
        if (errno != ERANGE) return ".";
        s.resize(s.size() * 2);
    }
    s.resize(strlen(s.c_str()));
    return s;
}

namespace {
size_t NameStart(const std::string& path) {
    size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}
} // namespace

std::string ExtractFileName(const std::string& path) { return path.substr(NameStart(path)); }

std::string ExtractFileExt(const std::string& path) {
    size_t start = NameStart(path);
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start) return "";
    return path.substr(dot);
}

std::string ExtractFilePath(const std::string& path) { return path.substr(0, NameStart(path)); }

} // namespace gui
