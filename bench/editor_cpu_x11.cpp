// What an open editor costs natively: a host of our own loads Soravel.so, processes
// audio at real-time pace on an audio thread (the meters move) and idles the editor
// every 20 ms on its GUI thread, with the editor open in an X window or closed. Prints
// the whole machine's busy time over the measured span (from /proc/stat) in cores, and
// the CPU time of this process plus the X server's (its pid in SORAVEL_XSERVER_PID),
// which other work on a shared machine does not disturb.
//   editor_cpu_x11 PLUGIN open|closed [SECONDS]
#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "plugin/vst2.h"
#include "tests/support/module.h"

namespace {

VstIntPtr Host(AEffect*, VstInt32 op, VstInt32, VstIntPtr, void*, float) {
  return op == audioMasterVersion ? 2400 : 0;
}

// Busy and total jiffies of all processors.
void Stat(unsigned long long& busy, unsigned long long& total) {
  std::ifstream in("/proc/stat");
  std::string line;
  std::getline(in, line);
  std::istringstream s(line);
  std::string cpu;
  unsigned long long v[8] = {};
  s >> cpu;
  for (auto& x : v) s >> x;
  total = 0;
  for (auto x : v) total += x;
  busy = total - v[3] - v[4];  // all but idle and iowait
}

// CPU seconds (user and system) of a process so far; 0 when it cannot be read.
double ProcessSeconds(const std::string& pid) {
  std::ifstream in("/proc/" + pid + "/stat");
  std::string all;
  std::getline(in, all);
  const size_t close = all.rfind(')');
  if (close == std::string::npos) return 0.0;
  std::istringstream s(all.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && s >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double OursAndServer() {
  const char* server = std::getenv("SORAVEL_XSERVER_PID");
  return ProcessSeconds("self") + (server && *server ? ProcessSeconds(server) : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PLUGIN open|closed [SECONDS]\n", argv[0]);
    return 2;
  }
  const bool open = std::strcmp(argv[2], "open") == 0;
  const double seconds = argc > 3 ? std::atof(argv[3]) : 10.0;
  TModule lib(argv[1]);
  if (!lib.Loaded()) {
    std::fprintf(stderr, "%s\n", lib.Error().c_str());
    return 1;
  }
  auto entry = lib.Symbol<AEffect* (*)(audioMasterCallback)>("VSTPluginMain");
  AEffect* e = entry ? entry(Host) : nullptr;
  Display* d = XOpenDisplay(nullptr);
  if (!e || !d) {
    std::fprintf(stderr, "no plug-in or no display\n");
    return 1;
  }
  const int block = 512;
  const double rate = 44100.0;
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  e->dispatcher(e, effSetBlockSize, 0, block, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  // SORAVEL_BENCH_ZOOM=2: the editor at 200 %, announced as the host's content scale.
  if (const char* zoom = std::getenv("SORAVEL_BENCH_ZOOM"))
    e->dispatcher(e, effVendorSpecific, 0x50726553, 0x41654373, nullptr,
                  static_cast<float>(std::atof(zoom)));
  ERect* rect = nullptr;
  e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f);
  const unsigned width = rect ? rect->right - rect->left : 773;
  const unsigned height = rect ? rect->bottom - rect->top : 491;
  const Window host = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, width, height, 0, 0, 0);
  XMapWindow(d, host);
  XSync(d, False);
  if (open && e->dispatcher(e, effEditOpen, 0, 0, reinterpret_cast<void*>(host), 0.0f) != 1) {
    std::fprintf(stderr, "effEditOpen refused\n");
    return 1;
  }

  // Audio at real-time pace: bursts every half second, so that the meters rise and fall.
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    auto next = std::chrono::steady_clock::now();
    const auto period = std::chrono::microseconds(static_cast<long>(1e6 * block / rate));
    long pos = 0;
    while (!stop) {
      for (int i = 0; i < block; ++i, ++pos) {
        const float env = (pos % 22050) < 4000 ? 0.8f : 0.0f;
        inL[i] = inR[i] = env * std::sin(0.03f * static_cast<float>(pos));
      }
      e->processReplacing(e, in, out, block);
      next += period;
      std::this_thread::sleep_until(next);
    }
  });

  // The host's GUI thread: editor idle every 20 ms.
  auto idleFor = [&](double s) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(s);
    auto next = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end) {
      e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f);
      next += std::chrono::milliseconds(20);
      std::this_thread::sleep_until(next);
    }
  };
  idleFor(1.0);  // warm-up: first paint, fonts, images
  unsigned long long b0, t0, b1, t1;
  const double c0 = OursAndServer();
  const auto w0 = std::chrono::steady_clock::now();
  Stat(b0, t0);
  idleFor(seconds);
  Stat(b1, t1);
  const double c1 = OursAndServer();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
  stop = true;
  audio.join();
  if (open) e->dispatcher(e, effEditClose, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  XDestroyWindow(d, host);
  XCloseDisplay(d);
  const double cores = static_cast<double>(std::thread::hardware_concurrency());
  std::printf("%.4f %.4f\n", cores * static_cast<double>(b1 - b0) / static_cast<double>(t1 - t0),
              (c1 - c0) / wall);
  return 0;
}
