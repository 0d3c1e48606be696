#include "tools/render/output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

// The unfinished file the signal handler removes. Set and cleared with the
// signals blocked, so the handler never sees half a path.
char gTemporary[PATH_MAX];
volatile sig_atomic_t gHaveTemporary = 0;

const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

void OnInterrupt(int sig) {
  if (gHaveTemporary) unlink(gTemporary);
  // Die of the signal itself, so the caller sees how the render ended.
  signal(sig, SIG_DFL);
  raise(sig);
}

class SignalsBlocked {
 public:
  SignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : kInterrupts) sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &old);
  }
  ~SignalsBlocked() { sigprocmask(SIG_SETMASK, &old, nullptr); }

 private:
  sigset_t old;
};

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool ValidBits(int bits) { return bits == 16 || bits == 24 || bits == 32; }

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

void InstallInterruptCleanup() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (int sig : kInterrupts) sigaction(sig, &action, nullptr);
  signal(SIGXFSZ, SIG_IGN);
}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open(const std::string& path, int rate, int sampleBits, std::string& error) {
  destination = path;
  // A link is followed: the file it names gets the render, the link stays.
  struct stat st;
  bool exists = stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    error = "cannot write " + path + ": it is a folder";
    return false;
  }
  if (exists) {
    char real[PATH_MAX];
    if (realpath(path.c_str(), real)) destination = real;
  }
  // Only a regular file can be replaced by renaming; a device or a pipe is
  // written as it is.
  const bool direct = exists && !S_ISREG(st.st_mode);

  bits = sampleBits;
  {
    SignalsBlocked blocked;
    if (direct) {
      fd = open(destination.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    } else {
      std::string pattern = Folder(destination) + "/." + BaseName(destination) + ".XXXXXX";
      if (pattern.size() < sizeof gTemporary) {
        fd = mkostemp(&pattern[0], O_CLOEXEC);
        if (fd >= 0) {
          temporary = pattern;
          std::memcpy(gTemporary, pattern.c_str(), pattern.size() + 1);
          gHaveTemporary = 1;
        }
      } else {
        errno = ENAMETOOLONG;
      }
    }
  }
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  // The finished file gets the mode the destination had, else the usual one.
  if (!direct) {
    mode_t mode = exists ? (st.st_mode & 07777) : 0;
    if (!exists) {
      const mode_t mask = umask(0);
      umask(mask);
      mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
  }

  SF_INFO info = {};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | (bits == 16   ? SF_FORMAT_PCM_16
                                 : bits == 24 ? SF_FORMAT_PCM_24
                                              : SF_FORMAT_FLOAT);
  file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
  if (!file) {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    Discard();
    return false;
  }
  return true;
}

template <class T>
bool OutputFile::WriteInteger(const float* frames, int count, double scale, int shift) {
  const double top = scale - 1.0, bottom = -scale;
  std::vector<T>* scratch;
  if constexpr (sizeof(T) == 2) scratch = &scratch16;
  else scratch = &scratch32;
  std::vector<T>& out = *scratch;
  out.resize(static_cast<size_t>(count) * 2);
  for (size_t i = 0; i < out.size(); ++i) {
    double v = static_cast<double>(frames[i]) * scale;
    if constexpr (sizeof(T) == 2) {
      // Triangular dither of one step either way: two uniform draws, subtracted.
      const auto uniform = [this] {
        ditherState = ditherState * 1664525u + 1013904223u;
        return static_cast<double>(ditherState >> 8) * (1.0 / 16777216.0);
      };
      const double a = uniform();
      v += a - uniform();
    }
    v = std::floor(v + 0.5);
    if (v > top || v < bottom) {
      ++clipped;
      v = v > top ? top : bottom;
    }
    out[i] = static_cast<T>(static_cast<int32_t>(v) * (1 << shift));
  }
  if constexpr (sizeof(T) == 2)
    return sf_writef_short(file, out.data(), count) == count;
  else
    return sf_writef_int(file, out.data(), count) == count;
}

bool OutputFile::Write(const float* frames, int count) {
  if (!file || count <= 0) return file != nullptr;
  for (int i = 0; i < 2 * count; ++i) peak = std::fmax(peak, std::fabs(frames[i]));
  switch (bits) {
    case 16: return WriteInteger<int16_t>(frames, count, 32768.0, 0);
    case 24: return WriteInteger<int32_t>(frames, count, 8388608.0, 8);
    default: return sf_writef_float(file, frames, count) == count;
  }
}

bool OutputFile::Commit(std::string& error) {
  const std::string shown = destination;
  bool ok = file && sf_close(file) == 0;
  file = nullptr;
  // The data must be on disk before the name points at it.
  ok = ok && fsync(fd) == 0;
  const int closed = close(fd);
  fd = -1;
  ok = ok && closed == 0;
  if (ok && !temporary.empty()) {
    SignalsBlocked blocked;
    ok = rename(temporary.c_str(), destination.c_str()) == 0;
    if (ok) {
      gHaveTemporary = 0;
      temporary.clear();
    }
  }
  if (!ok) {
    error = "writing " + shown + " failed: " + std::strerror(errno);
    Discard();
  }
  return ok;
}

void OutputFile::Discard() {
  if (file) sf_close(file);
  file = nullptr;
  if (fd >= 0) close(fd);
  fd = -1;
  if (!temporary.empty()) {
    SignalsBlocked blocked;
    unlink(temporary.c_str());
    gHaveTemporary = 0;
    temporary.clear();
  }
}
