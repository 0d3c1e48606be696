// soravel-render: renders audio files through the built Soravel plug-in,
// loaded like any host loads it.
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "tools/render/demo_signal.h"
#include "tools/render/output_file.h"
#include "tools/render/param_value.h"
#include "tools/render/plugin_host.h"
#include "tools/render/usage.h"
#include "soravel_product.h"

namespace {

constexpr int kBlock = 512;
constexpr float kSilence = 3.16227766e-5f;  // -90 dBFS
constexpr double kMaxAutoTail = 180.0;      // seconds; a frozen decay never falls silent
// Blocks of silence processed and dropped before the file's audio. A fresh
// engine fades its paths in over the first block and ramps settings over the
// next; a live host passes that unheard, a render must not start inside it.
constexpr int kSettleBlocks = 4;

// The command line's forms, wrapped before a bracket at 80 columns, and with
// `full` every option.
void PrintUsage(std::FILE* to, bool full) {
  for (int i = 0; i < kSynopsisCount; ++i) {
    std::string line = i == 0 ? "usage: soravel-render " : "       soravel-render ";
    for (const char* w = kSynopsis[i]; *w;) {
      const char* next = std::strstr(w + 1, " [");
      const std::string part(w, next ? next - w : std::strlen(w));
      w += part.size();
      if (line.size() + part.size() > 79) {
        std::fprintf(to, "%s\n", line.c_str());
        line = std::string(28, ' ');
        line += part.substr(1);
      } else {
        line += part;
      }
    }
    std::fprintf(to, "%s\n", line.c_str());
  }
  if (!full) {
    std::fputs("soravel-render --help lists the options.\n", to);
    return;
  }
  std::fputs("\noptions:\n", to);
  for (int i = 0; i < kOptionHelpCount; ++i)
    std::fprintf(to, "  %-22s %s\n", kOptionHelp[i].form, kOptionHelp[i].help);
}

struct Options {
  std::string in, out, program, plugin;
  std::vector<std::string> params;
  double tail = -1.0;  // automatic
  int bits = 32;
  bool list = false, demo = false, programGiven = false;
};

int Usage(const std::string& why) {
  std::fprintf(stderr, "soravel-render: %s\n", why.c_str());
  PrintUsage(stderr, false);
  return 2;
}

int Fail(const std::string& why, int code = 1) {
  std::fprintf(stderr, "soravel-render: %s\n", why.c_str());
  return code;
}

// 0 when parsed, else the exit code.
int ParseArgs(int argc, char** argv, Options& o) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      PrintUsage(stdout, true);
      std::exit(0);
    } else if (a == "--version") {
      std::printf("soravel-render %s\n", SORAVEL_VERSION_TEXT);
      std::exit(0);
    } else if (a == "--list") {
      o.list = true;
    } else if (a == "--demo") {
      o.demo = true;
    } else if (a == "--program") {
      if (!value(o.program)) return Usage("--program needs a name or number");
      o.programGiven = true;
    } else if (a == "--param") {
      if (!value(v)) return Usage("--param needs \"NAME=VALUE\"");
      if (v.find('=') == std::string::npos) return Usage("--param \"" + v + "\" has no '='");
      o.params.push_back(v);
    } else if (a == "--tail") {
      if (!value(v)) return Usage("--tail needs a number of seconds");
      char* end = nullptr;
      o.tail = std::strtod(v.c_str(), &end);
      if (end == v.c_str() || *end != '\0' || !(o.tail >= 0.0 && o.tail <= 3600.0))
        return Usage("--tail takes seconds from 0 to 3600, not \"" + v + "\"");
    } else if (a == "--bits") {
      if (!value(v)) return Usage("--bits needs 16, 24 or 32");
      o.bits = v == "16" ? 16 : v == "24" ? 24 : v == "32" ? 32 : 0;
      if (!ValidBits(o.bits)) return Usage("--bits takes 16, 24 or 32, not \"" + v + "\"");
    } else if (a == "--plugin") {
      if (!value(o.plugin)) return Usage("--plugin needs a path");
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      return Usage("unknown option " + a);
    } else {
      files.push_back(a);
    }
  }
  const size_t wanted = o.list ? 0 : o.demo ? 1 : 2;
  if (o.list && o.demo) return Usage("--list and --demo do not go together");
  if (files.size() != wanted)
    return Usage(o.list ? "--list takes no file" : o.demo ? "--demo takes one output file"
                                                         : "give an input and an output file");
  if (o.demo) o.out = files[0];
  if (!o.list && !o.demo) {
    o.in = files[0];
    o.out = files[1];
  }
  return 0;
}

std::string PluginPath(const Options& o) {
  if (!o.plugin.empty()) return o.plugin;
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    self[n] = '\0';
    const std::string folder = std::string(self).substr(0, std::string(self).rfind('/') + 1);
    // Beside the tool (the tarball), else where the packages put it seen from bin/.
    for (const char* place : {"Soravel.so", SORAVEL_PACKAGED_PLUGIN}) {
      const std::string path = folder + place;
      if (access(path.c_str(), R_OK) == 0) return path;
    }
  }
  return SORAVEL_PLUGIN_PATH;
}

// Program and parameters, as a host restores a saved state.
int Configure(PluginHost& host, const Options& o) {
  if (o.programGiven) {
    const int k = FindProgram(host, o.program);
    if (k < 0) {
      std::string names;
      for (int i = 0; i < host.NumPrograms(); ++i)
        names += "\n  " + std::to_string(i) + "  " + host.ProgramName(i);
      return Fail("unknown program \"" + o.program + "\"; the programs are:" + names, 2);
    }
    host.SetProgram(k);
  }
  for (const std::string& p : o.params) {
    const size_t eq = p.find('=');
    const std::string name = p.substr(0, eq), text = p.substr(eq + 1);
    const int index = FindParam(host, name);
    if (index < 0) {
      std::string names;
      for (int i = 0; i < host.NumParams(); ++i) names += "\n  " + host.ParamName(i);
      return Fail("unknown parameter \"" + name + "\"; the parameters are:" + names, 2);
    }
    std::string error;
    if (!SetParamFromText(host, index, text, error)) return Fail(error, 2);
  }
  return 0;
}

void List(PluginHost& host) {
  std::printf("Programs:\n");
  for (int k = 0; k < host.NumPrograms(); ++k)
    std::printf("  %2d  %s\n", k, host.ProgramName(k).c_str());
  std::printf("Parameters:\n");
  for (int i = 0; i < host.NumParams(); ++i) {
    const std::string label = host.ParamLabel(i);
    std::printf("  %-18s %s%s%s\n", host.ParamName(i).c_str(), host.ParamDisplay(i).c_str(),
                label.empty() ? "" : " ", label.c_str());
  }
}

class Progress {
 public:
  Progress(long long total, int rate)
      : total(total), shown(total > 5LL * rate && isatty(STDERR_FILENO)) {}
  void Update(long long done) {
    if (!shown) return;
    const int percent = static_cast<int>(100 * done / total);
    if (percent == last) return;
    last = percent;
    const int bar = percent * 40 / 100;
    std::fprintf(stderr, "\r[%.*s%*s] %3d%%", bar, "########################################",
                 40 - bar, "", percent);
    std::fflush(stderr);
  }
  void Done() {
    if (shown) std::fprintf(stderr, "\r%*s\r", 48, "");
  }

 private:
  long long total;
  bool shown;
  int last = -1;
};

// Reads interleaved frames into `left`/`right`; returns frames read.
using Reader = int (*)(void* source, int channels, float* left, float* right, int frames);

int ReadFile(void* source, int channels, float* left, float* right, int frames) {
  float buf[kBlock * 2];
  const sf_count_t n = sf_readf_float(static_cast<SNDFILE*>(source), buf, frames);
  for (sf_count_t i = 0; i < n; ++i) {
    left[i] = buf[i * channels];
    right[i] = buf[i * channels + channels - 1];  // mono feeds both inputs
  }
  return static_cast<int>(n);
}

struct Memory {
  const std::vector<float>* samples;
  size_t pos;
};
int ReadMemory(void* source, int, float* left, float* right, int frames) {
  auto* m = static_cast<Memory*>(source);
  int n = 0;
  for (; n < frames && m->pos + 1 < m->samples->size(); ++n, m->pos += 2) {
    left[n] = (*m->samples)[m->pos];
    right[n] = (*m->samples)[m->pos + 1];
  }
  return n;
}

int Render(PluginHost& host, Reader read, void* source, int channels, int rate, long long total,
           const Options& o) {
  OutputFile out;
  std::string error;
  if (!out.Open(o.out, rate, o.bits, error)) return Fail(error);

  host.Start(static_cast<float>(rate), kBlock);
  float inL[kBlock] = {}, inR[kBlock] = {}, outL[kBlock], outR[kBlock], frame[kBlock * 2];
  float* in[2] = {inL, inR};
  float* outs[2] = {outL, outR};
  for (int k = 0; k < kSettleBlocks; ++k) {
    std::fill_n(inL, kBlock, 0.0f);  // the engine may level its inputs in place
    std::fill_n(inR, kBlock, 0.0f);
    host.Process(in, outs, kBlock);
  }
  const auto run = [&](int n) {
    host.Process(in, outs, n);
    for (int i = 0; i < n; ++i) {
      frame[2 * i] = outL[i];
      frame[2 * i + 1] = outR[i];
    }
    return out.Write(frame, n);
  };

  Progress progress(total, rate);
  long long done = 0;
  bool ok = true;
  for (int n; ok && (n = read(source, channels, inL, inR, kBlock)) > 0;) {
    ok = run(n);
    done += n;
    progress.Update(done);
  }
  progress.Done();

  // The tail: silence in until the output has stayed quiet for 100 ms, or
  // for exactly the seconds asked for.
  std::fill_n(inL, kBlock, 0.0f);
  std::fill_n(inR, kBlock, 0.0f);
  const bool automatic = o.tail < 0.0;
  const long long limit = static_cast<long long>((automatic ? kMaxAutoTail : o.tail) * rate + 0.5);
  long long tail = 0, quiet = 0;
  while (ok && tail < limit && (!automatic || quiet < rate / 10)) {
    const int n = static_cast<int>(std::min<long long>(kBlock, limit - tail));
    std::fill_n(inL, n, 0.0f);  // the engine may level its inputs in place
    std::fill_n(inR, n, 0.0f);
    ok = run(n);
    for (int i = 0; i < n; ++i)
      quiet = std::fabs(outL[i]) < kSilence && std::fabs(outR[i]) < kSilence ? quiet + 1 : 0;
    tail += n;
  }
  if (ok && automatic && quiet < rate / 10)
    std::fprintf(stderr, "soravel-render: the tail was cut at %.0f s (use --tail)\n", kMaxAutoTail);
  if (!ok) return Fail("writing " + o.out + " failed: " + std::strerror(errno));
  if (!out.Commit(error)) return Fail(error);
  if (out.Clipped() > 0)
    std::fprintf(stderr,
                 "soravel-render: warning: %lld samples clipped at %d bits (peak %+.1f dBFS); "
                 "lower the Output Level or use --bits 32\n",
                 out.Clipped(), o.bits, 20.0 * std::log10(static_cast<double>(out.Peak())));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (const int code = ParseArgs(argc, argv, o)) return code;
  if (!o.in.empty() && SameFile(o.in, o.out))
    return Fail(o.out + " is the input file " + o.in + "; give another output file");
  InstallInterruptCleanup();

  // Check the input before anything else, so its errors come first.
  SNDFILE* in = nullptr;
  SF_INFO info = {};
  if (!o.in.empty()) {
    in = sf_open(o.in.c_str(), SFM_READ, &info);
    if (!in) return Fail("cannot read " + o.in + ": " + sf_strerror(nullptr));
    if (info.channels < 1 || info.channels > 2) {
      sf_close(in);
      return Fail(o.in + " has " + std::to_string(info.channels) +
                  " channels; only mono and stereo can be rendered");
    }
  }

  PluginHost host;
  if (!host.Load(PluginPath(o))) {
    if (in) sf_close(in);
    return Fail(host.Error());
  }
  if (const int code = Configure(host, o)) {
    if (in) sf_close(in);
    return code;
  }
  if (o.list) {
    List(host);
    return 0;
  }
  if (o.demo) {
    const int rate = 44100;
    const std::vector<float> signal = DemoSignal(rate);
    Memory m{&signal, 0};
    return Render(host, ReadMemory, &m, 2, rate, static_cast<long long>(signal.size() / 2), o);
  }
  const int code = Render(host, ReadFile, in, info.channels, info.samplerate, info.frames, o);
  sf_close(in);
  return code;
}
