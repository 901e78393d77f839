#include "output/BinaryFile.h"
#include "gui/Files.h"
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace output {

namespace {

std::string SysReason(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

// Creates a fresh temporary file next to target; the umask applies as for any new file.
int CreateTemporary(const std::string& target, std::string& tmpPath, std::string& reason) {
    static unsigned counter = 0;
    std::string folder = gui::ExtractFilePath(target);
    std::string name = gui::ExtractFileName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmpPath = folder + "." + name + "." + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
        int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) {
            reason = SysReason("cannot create a temporary file for", target, errno);
            return -1;
        }
    }
    reason = "cannot create a temporary file for " + target;
    return -1;
}

} // namespace

bool AtomicWriteBinary(const std::string& path, const std::function<bool(FILE*, std::string&)>& write,
                       std::string* error) {
    std::string reason;
    auto fail = [&](const std::string& tmpPath) {
        if (!tmpPath.empty()) ::unlink(tmpPath.c_str());
        if (error) *error = reason.empty() ? "cannot write " + path : reason;
        return false;
    };
    if (path.empty() || path.back() == '/') {
        reason = "no file name given";
        return fail("");
    }
    std::string target = gui::ResolvePath(path);
    std::string tmpPath;
    int fd = CreateTemporary(target, tmpPath, reason);
    if (fd < 0) return fail("");
    FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        reason = SysReason("cannot open", tmpPath, errno);
        ::close(fd);
        return fail(tmpPath);
    }
    std::setvbuf(f, nullptr, _IOFBF, 1 << 16);

    bool ok = write(f, reason);
    if (ok && (std::fflush(f) != 0 || std::ferror(f))) {
        reason = SysReason("cannot write", target, errno);
        ok = false;
    }
    // The data must be on disk before the name points at it.
    if (ok && ::fsync(::fileno(f)) != 0) {
        reason = SysReason("cannot write", target, errno);
        ok = false;
    }
    if (std::fclose(f) != 0 && ok) {
        reason = SysReason("cannot close", target, errno);
        ok = false;
    }
    if (!ok) return fail(tmpPath);
    if (::rename(tmpPath.c_str(), target.c_str()) != 0) {
        reason = SysReason("cannot replace", target, errno);
        return fail(tmpPath);
    }
    return true;
}

} // namespace output
