// Preloaded into a program to end it at the Nth call that changes the file
// system (an open for writing, a rename or exchange, a link or an unlink), counted from
// killshim_arm(). KILLSHIM_AT=N sets N; 0 or unset never kills, and
// killshim_count() then tells how many such calls there were.
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool armed = false;
long calls = 0;

void Step() {
    if (!armed) return;
    ++calls;
    static const long at = [] {
        const char* s = getenv("KILLSHIM_AT");
        return s ? atol(s) : 0L;
    }();
    if (at > 0 && calls == at) _exit(86);
}

template <class F> F Next(const char* name) { return reinterpret_cast<F>(dlsym(RTLD_NEXT, name)); }

bool Writes(int flags) { return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0; }

} // namespace

extern "C" {

void killshim_arm() { armed = true; }
long killshim_count() { return calls; }

// The mode is there only with O_CREAT; reading it otherwise is harmless on this ABI.
#define KILLSHIM_OPEN(name, ...)                                                           \
    va_list ap;                                                                            \
    va_start(ap, flags);                                                                   \
    const mode_t mode = va_arg(ap, mode_t);                                                \
    va_end(ap);                                                                            \
    if (Writes(flags)) Step();                                                             \
    static auto real = Next<int (*)(...)>(name);                                           \
    return real(__VA_ARGS__, flags, mode);

int open(const char* path, int flags, ...) { KILLSHIM_OPEN("open", path) }
int open64(const char* path, int flags, ...) { KILLSHIM_OPEN("open64", path) }
int openat(int dir, const char* path, int flags, ...) { KILLSHIM_OPEN("openat", dir, path) }
int rename(const char* from, const char* to) {
    Step();
    static auto real = Next<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}
int renameat(int fd1, const char* from, int fd2, const char* to) {
    Step();
    static auto real = Next<int (*)(int, const char*, int, const char*)>("renameat");
    return real(fd1, from, fd2, to);
}
int renameat2(int fd1, const char* from, int fd2, const char* to, unsigned flags) {
    Step();
    static auto real = Next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return real(fd1, from, fd2, to, flags);
}
int link(const char* from, const char* to) {
    Step();
    static auto real = Next<int (*)(const char*, const char*)>("link");
    return real(from, to);
}
int unlink(const char* path) {
    Step();
    static auto real = Next<int (*)(const char*)>("unlink");
    return real(path);
}
int unlinkat(int dir, const char* path, int flags) {
    Step();
    static auto real = Next<int (*)(int, const char*, int)>("unlinkat");
    return real(dir, path, flags);
}

} // extern "C"
