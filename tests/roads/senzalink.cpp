// Loaded with LD_PRELOAD into a program of the suite: the folder of its PDF files behaves as a file system that has
// neither a rename that never replaces nor hard links (some FUSE and network mounts). A rename with flags to a name
// ending in ".pdf" fails with EINVAL, a link to one with EPERM. When FRATTIX_TEST_RENAME_GATE names a file, a plain
// rename to such a name first makes "<gate>.ready" and then waits until the gate exists (at most a minute), so that
// a test lets another print job run in between.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

bool Pdf(const char* path) {
  const std::size_t n = path ? std::strlen(path) : 0;
  return n >= 4 && std::strcmp(path + n - 4, ".pdf") == 0;
}

template <typename F>
F Next(const char* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

void WaitAtTheGate() {
  const char* gate = std::getenv("FRATTIX_TEST_RENAME_GATE");
  if (!gate || !*gate) return;
  const std::string ready = std::string(gate) + ".ready";
  const int fd = ::open(ready.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd >= 0) ::close(fd);
  const timespec pause{0, 10 * 1000 * 1000};
  for (int i = 0; i < 6000 && ::access(gate, F_OK) != 0; ++i) ::nanosleep(&pause, nullptr);
}

}  // namespace

extern "C" {

int renameat2(int olddir, const char* from, int newdir, const char* to, unsigned int flags) noexcept {
  if (flags != 0 && Pdf(to)) {
    errno = EINVAL;
    return -1;
  }
  static const auto next = Next<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
  return next(olddir, from, newdir, to, flags);
}

int link(const char* from, const char* to) noexcept {
  if (Pdf(to)) {
    errno = EPERM;
    return -1;
  }
  static const auto next = Next<int (*)(const char*, const char*)>("link");
  return next(from, to);
}

int linkat(int olddir, const char* from, int newdir, const char* to, int flags) noexcept {
  if (Pdf(to)) {
    errno = EPERM;
    return -1;
  }
  static const auto next = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
  return next(olddir, from, newdir, to, flags);
}

int rename(const char* from, const char* to) noexcept {
  if (Pdf(to)) WaitAtTheGate();
  static const auto next = Next<int (*)(const char*, const char*)>("rename");
  return next(from, to);
}

}  // extern "C"
