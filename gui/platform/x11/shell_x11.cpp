// Web addresses open with xdg-open, started without a shell. A short-lived middle
// process starts it and exits at once, so that we reap our only child right away and
// no zombie stays whatever the browser does; init adopts xdg-open.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gui/platform/shell.h"

extern char** environ;

namespace {
// Everything the child needs is prepared before fork: after it only
// async-signal-safe calls are allowed (the host has other threads).
std::string findProgram(const char* name) {
  const char* path = std::getenv("PATH");
  if (!path || !*path) path = "/usr/local/bin:/usr/bin:/bin";
  for (const char* p = path;;) {
    const char* colon = std::strchr(p, ':');
    const size_t n = colon ? static_cast<size_t>(colon - p) : std::strlen(p);
    std::string candidate = n ? std::string(p, n) : std::string(".");
    candidate.append("/").append(name);
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (!colon) return {};
    p = colon + 1;
  }
}
}  // namespace

namespace platform {
void OpenUrl(const char* url) {
  if (!url || !*url) return;
  const std::string program = findProgram("xdg-open");
  if (program.empty()) return;
  std::string arg = url;
  char* argv[] = {const_cast<char*>("xdg-open"), arg.data(), nullptr};
  const pid_t middle = fork();
  if (middle < 0) return;
  if (middle == 0) {
    if (fork() == 0) {
      execve(program.c_str(), argv, environ);
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
}
}  // namespace platform
