// A plain Windows host for measuring what an open editor costs: loads Soravel.dll,
// makes a top-level window of the editor's size, opens the editor into it (or leaves it
// closed), processes 512-frame blocks of a moving test signal at real-time pace on an
// audio thread and idles the editor every 20 ms from its message loop.
//
//   editor_cpu_host.exe PATH\Soravel.dll open|closed [SECONDS [WARMUP_SECONDS]]
//
// Prints "start" once the warm-up is over and "end" when SECONDS have passed, each on
// its own flushed line, so that whoever runs it can sample the machine's counters at
// those moments; then a summary line.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/vst2.h"
#include "tests/support/module.h"

namespace {

constexpr int kBlock = 512;
constexpr double kRate = 44100.0;
constexpr UINT_PTR kIdleTimer = 1;

using EntryProc = AEffect* (*)(audioMasterCallback);

VstIntPtr HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

// The audio thread's state: everything allocated before it starts.
struct Audio {
  AEffect* effect = nullptr;
  std::atomic<bool> stop{false};
  std::atomic<long> blocks{0};
  std::atomic<long> late{0};  // blocks started more than a block period behind
  std::vector<float> inL, inR, outL, outR;
  unsigned noise = 12345u;
  long frame = 0;

  // Decaying noise bursts four times a second over a quiet sine: the bars and the
  // peak markers keep moving up and down.
  void fill() {
    for (int i = 0; i < kBlock; ++i, ++frame) {
      const long t = frame % 11025;
      const float env = t < 4000 ? std::exp(-static_cast<float>(t) / 600.0f) : 0.0f;
      noise = noise * 1664525u + 1013904223u;
      const float n = static_cast<float>(static_cast<int>(noise >> 8) - (1 << 23)) /
                      static_cast<float>(1 << 23);
      const float tone = 0.05f * std::sin(0.0313f * static_cast<float>(frame));
      inL[i] = 0.9f * env * n + tone;
      inR[i] = 0.7f * env * n - tone;
    }
  }
};

DWORD WINAPI AudioThread(void* arg) {
  auto* a = static_cast<Audio*>(arg);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  LARGE_INTEGER freq, start, now;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  const double period = kBlock / kRate * static_cast<double>(freq.QuadPart);
  for (long k = 0; !a->stop.load(std::memory_order_relaxed); ++k) {
    // Deadlines are absolute, so a late wake-up does not slow the pace down.
    const LONGLONG due = start.QuadPart + static_cast<LONGLONG>(period * static_cast<double>(k));
    for (;;) {
      QueryPerformanceCounter(&now);
      const LONGLONG left = due - now.QuadPart;
      if (left <= 0) break;
      const DWORD ms = static_cast<DWORD>(left * 1000 / freq.QuadPart);
      Sleep(ms > 0 ? ms : 1);
    }
    if (now.QuadPart - due > static_cast<LONGLONG>(period)) a->late.fetch_add(1);
    a->fill();
    float* in[2] = {a->inL.data(), a->inR.data()};
    float* out[2] = {a->outL.data(), a->outR.data()};
    a->effect->processReplacing(a->effect, in, out, kBlock);
    a->blocks.fetch_add(1, std::memory_order_relaxed);
  }
  return 0;
}

struct Host {
  AEffect* effect = nullptr;
  bool editorOpen = false;
  long idles = 0;
  DWORD startTicks = 0;
  DWORD warmupMs = 0, runMs = 0;
  bool started = false;
};
Host gHost;

LRESULT CALLBACK HostProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_TIMER && w == kIdleTimer) {
    if (gHost.editorOpen) {
      gHost.effect->dispatcher(gHost.effect, effEditIdle, 0, 0, nullptr, 0.0f);
      ++gHost.idles;
    }
    const DWORD elapsed = GetTickCount() - gHost.startTicks;
    if (!gHost.started && elapsed >= gHost.warmupMs) {
      gHost.started = true;
      std::printf("start\n");
      std::fflush(stdout);
    }
    if (elapsed >= gHost.warmupMs + gHost.runMs) {
      std::printf("end\n");
      std::fflush(stdout);
      PostQuitMessage(0);
    }
    return 0;
  }
  if (m == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(h, m, w, l);
}

int Usage() {
  std::fprintf(stderr, "usage: editor_cpu_host PATH\\Soravel.dll open|closed [SECONDS [WARMUP]]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string mode = argv[2];
  if (mode != "open" && mode != "closed") return Usage();
  const double seconds = argc > 3 ? std::atof(argv[3]) : 10.0;
  const double warmup = argc > 4 ? std::atof(argv[4]) : 2.0;
  if (seconds <= 0 || warmup < 0) return Usage();

  TModule lib(argv[1]);
  if (!lib.Loaded()) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  auto entry = lib.Symbol<EntryProc>("VSTPluginMain");
  AEffect* e = entry ? entry(HostCallback) : nullptr;
  if (!e || !(e->flags & effFlagsHasEditor)) {
    std::fprintf(stderr, "no effect with an editor in %s\n", argv[1]);
    return 1;
  }
  e->dispatcher(e, effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  e->dispatcher(e, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);
  // SORAVEL_BENCH_ZOOM=2: the editor at 200 %, announced as the host's content scale.
  if (const char* zoom = std::getenv("SORAVEL_BENCH_ZOOM"))
    e->dispatcher(e, effVendorSpecific, 0x50726553, 0x41654373, nullptr,
                  static_cast<float>(std::atof(zoom)));

  ERect* rect = nullptr;
  e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f);
  const int width = rect ? rect->right - rect->left : 400;
  const int height = rect ? rect->bottom - rect->top : 300;

  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "SoravelBenchHost";
  RegisterClassA(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, style, FALSE);
  HWND window = CreateWindowExA(0, "SoravelBenchHost", "Soravel", style, 0, 0, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
  if (!window) {
    std::fprintf(stderr, "no host window\n");
    return 1;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  gHost.effect = e;
  if (mode == "open") {
    if (e->dispatcher(e, effEditOpen, 0, 0, window, 0.0f) != 1) {
      std::fprintf(stderr, "the editor did not open\n");
      return 1;
    }
    gHost.editorOpen = true;
  }

  Audio audio;
  audio.effect = e;
  audio.inL.assign(kBlock, 0.0f);
  audio.inR.assign(kBlock, 0.0f);
  audio.outL.assign(kBlock, 0.0f);
  audio.outR.assign(kBlock, 0.0f);
  HANDLE thread = CreateThread(nullptr, 0, AudioThread, &audio, 0, nullptr);
  if (!thread) {
    std::fprintf(stderr, "no audio thread\n");
    return 1;
  }

  gHost.warmupMs = static_cast<DWORD>(warmup * 1000.0);
  gHost.runMs = static_cast<DWORD>(seconds * 1000.0);
  gHost.startTicks = GetTickCount();
  SetTimer(window, kIdleTimer, 20, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  KillTimer(window, kIdleTimer);

  audio.stop = true;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  if (gHost.editorOpen) e->dispatcher(e, effEditClose, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
  DestroyWindow(window);
  std::printf("blocks %ld late %ld idles %ld\n", audio.blocks.load(), audio.late.load(), gHost.idles);
  std::fflush(stdout);
  lib.Unload();
  return 0;
}
