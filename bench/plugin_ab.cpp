// VST 2.x plug-ins side by side: a host of our own loads each library, makes
// one instance of each (its default program, sustained noise) and times them
// in alternating rounds, the order rotated every round, so that all meet the
// same machine state. Prints each round's CPU time per stereo frame (the
// processing thread's CPU clock), the medians and the median of the rounds'
// ratios for every pair.
//   plugin_ab [--block N] [--rate HZ] [--win-host plugin_ab.exe] PLUGIN... [ROUNDS [SECONDS]]
// A PLUGIN ending in .dll is run under Wine by the Windows form of this host
// (--win-host), which answers the rounds over a pipe:
//   plugin_ab.exe --serve PLUGIN.dll [--block N] [--rate HZ]
// Under Wine the code inside processReplacing runs at native speed; only the
// host's calls into Windows cost more, and the rounds make none.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plugin/vst2.h"
#include "tests/support/module.h"

namespace {

int gBlock = 512;
float gRate = 44100.0f;
constexpr int kNoiseFrames = 8192;

VstIntPtr Host(AEffect*, VstInt32 op, VstInt32, VstIntPtr, void*, float) {
  switch (op) {
    case audioMasterVersion: return 2400;
    case audioMasterGetSampleRate: return static_cast<VstIntPtr>(gRate);
    case audioMasterGetBlockSize: return gBlock;
    default: return 0;
  }
}

double ThreadSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return 1e-7 * double(ticks(kernel) + ticks(user));
#else
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
#endif
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

bool EndsWith(const std::string& s, const char* tail) {
  const size_t n = std::strlen(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Noise, the same for every plug-in, fed block after block.
struct Input {
  std::vector<float> l = std::vector<float>(kNoiseFrames), r = std::vector<float>(kNoiseFrames);
  Input() {
    uint32_t s = 1;
    for (int i = 0; i < kNoiseFrames; ++i) {
      s = s * 1664525u + 1013904223u;
      l[i] = float(int(s >> 9) - (1 << 22)) / float(1 << 23);
      r[i] = -l[i];
    }
  }
};

// One plug-in: loaded in this process, or served by the Windows host under Wine.
class Timed {
 public:
  virtual ~Timed() = default;
  virtual bool Load(const std::string& path) = 0;
  // Blocks for about `seconds` of CPU time; answers seconds per stereo frame.
  virtual double Run(double seconds) = 0;
};

class Loaded : public Timed {
 public:
  bool Load(const std::string& path) override {
    using Entry = AEffect* (*)(audioMasterCallback);
    if (!library.Load(path)) {
      std::fprintf(stderr, "%s\n", library.Error().c_str());
      return false;
    }
    // Older plug-ins export only the entry's first name, "main", as hosts know.
    Entry entry = library.Symbol<Entry>("VSTPluginMain");
    if (!entry) entry = library.Symbol<Entry>("main");
    effect = entry ? entry(Host) : nullptr;
    if (!effect) {
      std::fprintf(stderr, "%s: no effect\n", path.c_str());
      return false;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, gRate);
    effect->dispatcher(effect, effSetBlockSize, 0, gBlock, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    effect->dispatcher(effect, effStartProcess, 0, 0, nullptr, 0.0f);
    outL.resize(gBlock);
    outR.resize(gBlock);
    Run(0.5);  // warm-up: the tails build up
    return true;
  }

  double Run(double seconds) override {
    float* out[2] = {outL.data(), outR.data()};
    const double start = ThreadSeconds();
    long frames = 0;
    double now = start;
    while (now - start < seconds) {
      for (long b = 0; b < blocksPerLook; ++b) {
        if (at + gBlock > kNoiseFrames) at = 0;
        float* in[2] = {input.l.data() + at, input.r.data() + at};
        effect->processReplacing(effect, in, out, gBlock);
        at += gBlock;
        frames += gBlock;
      }
      now = ThreadSeconds();
    }
    // The clock read about twenty times a round, from this round's speed:
    // under Wine a reading costs tens of microseconds of the thread's own
    // time, which read every few hundred would be charged to the plug-in.
    if (now > start)
      blocksPerLook = std::max(1L, long(seconds / 20 * double(frames) / (now - start)) / gBlock);
    return (now - start) / double(frames);
  }

 private:
  TModule library;  // first: it goes last, after the instance
  AEffect* effect = nullptr;
  Input input;
  int at = 0;
  long blocksPerLook = 32768 / gBlock + 1;  // until the warm-up has timed some
  std::vector<float> outL, outR;
};

#ifndef _WIN32
// The Windows form of this host under Wine, one line per request and answer.
class Served : public Timed {
 public:
  explicit Served(std::string host) : winHost(std::move(host)) {}
  ~Served() override {
    if (!to) return;
    std::fputs("quit\n", to);
    std::fclose(to);
    std::fclose(from);
    waitpid(child, nullptr, 0);
  }

  bool Load(const std::string& path) override {
    if (winHost.empty()) {
      std::fprintf(stderr, "%s: a .dll needs --win-host plugin_ab.exe\n", path.c_str());
      return false;
    }
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) return false;
    const std::string block = std::to_string(gBlock), rate = std::to_string(gRate);
    child = fork();
    if (child == 0) {
      dup2(down[0], 0);
      dup2(up[1], 1);
      close(down[1]);
      close(up[0]);
      execlp("wine", "wine", winHost.c_str(), "--serve", path.c_str(), "--block", block.c_str(),
             "--rate", rate.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(down[0]);
    close(up[1]);
    to = fdopen(down[1], "w");
    from = fdopen(up[0], "r");
    char line[64];
    return child > 0 && std::fgets(line, sizeof line, from) && std::strncmp(line, "ready", 5) == 0;
  }

  double Run(double seconds) override {
    std::fprintf(to, "run %.3f\n", seconds);
    std::fflush(to);
    char line[64];
    return std::fgets(line, sizeof line, from) ? std::atof(line) : 0.0;
  }

 private:
  std::string winHost;
  pid_t child = -1;
  FILE* to = nullptr;
  FILE* from = nullptr;
};
#endif

int Serve(const std::string& path) {
  Loaded plugin;
  if (!plugin.Load(path)) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  char line[64];
  while (std::fgets(line, sizeof line, stdin) && std::strncmp(line, "run ", 4) == 0) {
    std::printf("%.6e\n", plugin.Run(std::atof(line + 4)));
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths, numbers;
  std::string winHost, serve;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--block" && hasValue) gBlock = std::clamp(std::atoi(argv[++i]), 1, kNoiseFrames);
    else if (a == "--rate" && hasValue) gRate = float(std::atof(argv[++i]));
    else if (a == "--win-host" && hasValue) winHost = argv[++i];
    else if (a == "--serve" && hasValue) serve = argv[++i];
    else if (EndsWith(a, ".so") || EndsWith(a, ".dll")) paths.push_back(a);
    else numbers.push_back(a);
  }
  if (!serve.empty()) return Serve(serve);
  if (paths.size() < 2) {
    std::fprintf(stderr,
                 "usage: %s [--block N] [--rate HZ] [--win-host plugin_ab.exe] PLUGIN... "
                 "[ROUNDS [SECONDS]]\n",
                 argv[0]);
    return 2;
  }
  const int rounds = numbers.size() > 0 ? std::max(1, std::atoi(numbers[0].c_str())) : 7;
  const double seconds = numbers.size() > 1 ? std::atof(numbers[1].c_str()) : 3.0;

  const size_t n = paths.size();
  std::vector<std::unique_ptr<Timed>> plugins;
  for (size_t k = 0; k < n; ++k) {
#ifdef _WIN32
    plugins.push_back(std::make_unique<Loaded>());
#else
    if (EndsWith(paths[k], ".dll"))
      plugins.push_back(std::make_unique<Served>(winHost));
    else
      plugins.push_back(std::make_unique<Loaded>());
#endif
    if (!plugins[k]->Load(paths[k])) return 1;
    std::printf("%c: %s\n", char('A' + k), paths[k].c_str());
  }
  std::printf("%d-frame blocks at %g Hz, %d rounds of %g s\n", gBlock, gRate, rounds, seconds);

  std::vector<std::vector<double>> time(n);
  for (int round = 0; round < rounds; ++round) {
    std::vector<double> t(n);
    for (size_t k = 0; k < n; ++k) {
      const size_t which = (k + size_t(round)) % n;  // each takes each place in turn
      t[which] = plugins[which]->Run(seconds);
    }
    std::printf("round %d:", round + 1);
    for (size_t k = 0; k < n; ++k) {
      time[k].push_back(t[k]);
      std::printf(" %c %.2f", char('A' + k), t[k] * 1e9);
    }
    std::printf(" ns/frame\n");
    std::fflush(stdout);
  }
  std::printf("median of %d rounds:", rounds);
  for (size_t k = 0; k < n; ++k) std::printf(" %c %.2f", char('A' + k), Median(time[k]) * 1e9);
  std::printf(" ns/frame\n");
  for (size_t b = 1; b < n; ++b)
    for (size_t a = 0; a < b; ++a) {
      std::vector<double> ratio;
      for (int round = 0; round < rounds; ++round) ratio.push_back(time[b][round] / time[a][round]);
      std::printf("median ratio %c/%c %.3f\n", char('A' + b), char('A' + a), Median(ratio));
    }
  return 0;
}
