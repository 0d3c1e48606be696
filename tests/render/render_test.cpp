// soravel-render as a user runs it: real files in, real files out.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "soravel_product.h"

namespace {
struct Result {
  int status;
  std::string output;  // stdout and stderr
};

// Runs a shell command line; `before` goes ahead of the tool (a ulimit, say).
Result Tool(const std::string& args, const std::string& before = "") {
  const std::string command = before + std::string(SORAVEL_RENDER) + " " + args + " 2>&1";
  Result r{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.output.append(buf, n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// A private folder for the files of this run, removed at exit.
struct TempDir {
  TempDir() {
    char tmpl[] = "/tmp/soravel-render-test-XXXXXX";
    const char* made = mkdtemp(tmpl);
    path = made ? made : "/tmp";
  }
  ~TempDir() {
    if (path != "/tmp") std::filesystem::remove_all(path);
  }
  std::string path;
};

std::string Dir() {
  static const TempDir dir;
  return dir.path;
}

// Writes `frames` of a decaying click train, 16-bit.
std::string WriteWav(const std::string& name, int channels, int rate, int frames) {
  const std::string path = Dir() + "/" + name;
  SF_INFO info = {};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> data(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      data[static_cast<size_t>(i) * channels + c] =
          0.5f * std::exp(-static_cast<float>(i % 4000) / 200.0f) * std::sin(0.05f * i);
  sf_writef_float(f, data.data(), frames);
  sf_close(f);
  return path;
}

// Writes `frames` of one value per channel given by `sample`(frame), 32-bit float.
template <class Sample>
std::string WriteFloatWav(const std::string& name, int rate, int frames, Sample sample) {
  const std::string path = Dir() + "/" + name;
  SF_INFO info = {};
  info.samplerate = rate;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  std::vector<float> data(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) data[2 * i] = data[2 * i + 1] = sample(i);
  sf_writef_float(f, data.data(), frames);
  sf_close(f);
  return path;
}

std::string Bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Files of the folder whose names begin with `prefix` (unfinished renders).
int Count(const std::string& folder, const std::string& prefix) {
  int n = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    n += e.path().filename().string().rfind(prefix, 0) == 0;
  return n;
}

struct Audio {
  SF_INFO info{};
  std::vector<float> data;
};
Audio Read(const std::string& path) {
  Audio a;
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &a.info);
  if (!f) return a;
  a.data.resize(static_cast<size_t>(a.info.frames) * a.info.channels);
  sf_readf_float(f, a.data.data(), a.info.frames);
  sf_close(f);
  return a;
}
}  // namespace

TEST(Render, MonoFileWithFixedTail) {
  const std::string in = WriteWav("mono.wav", 1, 48000, 48000);
  const std::string out = Dir() + "/mono-out.wav";
  const Result r = Tool(in + " " + out + " --program 'small hall' --tail 0.5");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "");  // no progress bar when stderr is not a terminal
  const Audio a = Read(out);
  EXPECT_EQ(a.info.samplerate, 48000);
  EXPECT_EQ(a.info.channels, 2);
  EXPECT_EQ(a.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
  EXPECT_EQ(a.info.frames, 48000 + 24000);
  float peak = 0, tail = 0;
  for (size_t i = 0; i < a.data.size(); ++i) {
    ASSERT_TRUE(std::isfinite(a.data[i]));
    peak = std::max(peak, std::fabs(a.data[i]));
    if (i >= 2 * 48000) tail = std::max(tail, std::fabs(a.data[i]));
  }
  EXPECT_GT(peak, 0.1f);
  EXPECT_GT(tail, 1e-3f);  // the reverb rings on after the input ends
}

TEST(Render, AutomaticTailEndsInSilence) {
  const std::string in = WriteWav("stereo.wav", 2, 44100, 22050);
  const std::string out = Dir() + "/stereo-out.wav";
  const Result r = Tool(in + " " + out + " --param 'Decay Time=0.5 sec'");
  ASSERT_EQ(r.status, 0) << r.output;
  const Audio a = Read(out);
  ASSERT_GT(a.info.frames, 22050 + 4410);
  EXPECT_LT(a.info.frames, 22050 + 5 * 44100);
  for (size_t i = a.data.size() - 2 * 4410; i < a.data.size(); ++i)
    ASSERT_LT(std::fabs(a.data[i]), 3.17e-5f);
}

TEST(Render, ValuesAreFoundFromTheDisplayTexts) {
  const Result r =
      Tool("--list --program 3 --param 'Decay Time=3.2 sec' --param 'crossover=2 kHz' "
          "--param 'Decay Freeze=On' --param 'ER Level=-oo' --param 'Size=0.42' "
          "--param 'Input Level=-6 dB' --param 'High Damping=999 Hz' --param 'Wide=42 %'");
  ASSERT_EQ(r.status, 0) << r.output;
  for (const char* line : {"Decay Time         3.20 sec", "Crossover          2.00 kHz",
                           "Decay Freeze       On", "ER Level           -oo dB",
                           "Size               42.0 %", "Input Level        -6.00 dB",
                           "High Damping       999 Hz", "Wide               42.0 %",
                           "Predelay Left      42.0 ms", "15  Deep Underground"})
    EXPECT_NE(r.output.find(line), std::string::npos) << line << "\n" << r.output;
}

TEST(Render, DemoHasSound) {
  const std::string out = Dir() + "/demo.wav";
  const Result r = Tool("--demo " + out);
  ASSERT_EQ(r.status, 0) << r.output;
  const Audio a = Read(out);
  EXPECT_EQ(a.info.channels, 2);
  EXPECT_GT(a.info.frames, 5 * 44100);
  float peak = 0;
  for (float v : a.data) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.1f);
}

// The version is the product's, as CMake sets it.
TEST(Render, VersionIsTheProducts) {
  const Result r = Tool("--version");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output, "soravel-render " SORAVEL_VERSION_TEXT "\n");
  EXPECT_EQ(r.output, "soravel-render 4.3.0.8\n");
}

TEST(Render, ErrorsAreClearAndFail) {
  const std::string in = WriteWav("err.wav", 2, 44100, 1000);
  const std::string three = WriteWav("three.wav", 3, 44100, 1000);
  const std::string out = Dir() + "/err-out.wav";
  const struct {
    std::string args;
    const char* message;
  } cases[] = {
      {Dir() + "/missing.wav " + out, "cannot read"},
      {three + " " + out, "3 channels"},
      {in + " " + out + " --program Nowhere", "Deep Underground"},
      {in + " " + out + " --program 16", "unknown program"},
      {in + " " + out + " --param 'Colour=1'", "EQ Hi Band Freq"},
      {in + " " + out + " --param 'Size=lots'", "cannot read the value"},
      {in + " " + out + " --param 'Size=150 %'", "outside"},
      {in + " " + out + " --param 'Size=1.5'", "0..1"},
      {in + " " + out + " --param 'Decay Time=3 dB'", "does not fit"},
      {in + " " + out + " --param Size", "no '='"},
      {in + " " + out + " --tail x", "--tail"},
      {in + " " + Dir() + "/no/such/dir/out.wav", "cannot write"},
      {in, "give an input and an output file"},
      {"--frobnicate", "unknown option"},
  };
  for (const auto& c : cases) {
    const Result r = Tool(c.args);
    EXPECT_NE(r.status, 0) << c.args;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << c.args << "\n" << r.output;
  }
  EXPECT_NE(access((Dir() + "/err-out.wav").c_str(), F_OK), 0);  // nothing written on error
}

TEST(Render, RefusesToOverwriteItsInput) {
  const std::string in = WriteWav("take.wav", 2, 44100, 4410);
  const std::string before = Bytes(in);
  const std::string folder = Dir().substr(Dir().rfind('/') + 1);
  ASSERT_EQ(symlink(in.c_str(), (Dir() + "/take-link.wav").c_str()), 0);
  ASSERT_EQ(link(in.c_str(), (Dir() + "/take-hard.wav").c_str()), 0);
  for (const std::string& out : {in, Dir() + "/./take.wav", Dir() + "/../" + folder + "/take.wav",
                                 Dir() + "//take.wav", Dir() + "/take-link.wav",
                                 Dir() + "/take-hard.wav"}) {
    const Result r = Tool(in + " " + out);
    EXPECT_EQ(r.status, 1) << out;
    EXPECT_NE(r.output.find("is the input file"), std::string::npos) << r.output;
  }
  // Also when the input is the one given by another spelling.
  const Result r = Tool(Dir() + "/take-link.wav " + in + " --bits 16");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(Bytes(in), before);
}

// A failed write (here the process's file size limit, as a full disk would)
// leaves the previous render as it was and no unfinished file behind.
TEST(Render, FailedRenderKeepsThePreviousOutput) {
  const std::string in = WriteWav("long.wav", 2, 44100, 44100);
  const std::string out = Dir() + "/kept.wav";
  Put(out, "the previous render");
  const Result r = Tool(in + " " + out + " --tail 0", "ulimit -f 64; ");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("writing " + out + " failed"), std::string::npos) << r.output;
  EXPECT_EQ(Bytes(out), "the previous render");
  EXPECT_EQ(Count(Dir(), ".kept.wav."), 0);

  // A complete render replaces it and keeps its mode.
  ASSERT_EQ(chmod(out.c_str(), 0640), 0);
  ASSERT_EQ(Tool(in + " " + out + " --tail 0").status, 0);
  struct stat st;
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Read(out).info.frames, 44100);
}

// The test holds the input open on a pipe, so the render waits for audio
// that never comes: interrupted there, it must leave the old output intact.
TEST(Render, InterruptedRenderKeepsThePreviousOutput) {
  const std::string whole = Bytes(WriteFloatWav("source.wav", 44100, 441000, [](int i) {
    return 0.25f * std::sin(0.01f * static_cast<float>(i));
  }));
  const std::string out = Dir() + "/interrupted.wav";
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
    Put(out, "the previous render");
    const std::string fifo = Dir() + "/pipe.wav";
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);
      execl(SORAVEL_RENDER, SORAVEL_RENDER, fifo.c_str(), out.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    // Opened for reading too, so neither side waits for the other to open
    // it; what is written fits the pipe's buffer, so nothing waits at all.
    const int pipe = open(fifo.c_str(), O_RDWR);
    ASSERT_GE(pipe, 0);
    EXPECT_EQ(write(pipe, whole.data(), 32768), 32768);  // the header and some audio
    // Wait (bounded) until the tool is writing its unfinished file.
    for (int i = 0; i < 3000 && Count(Dir(), ".interrupted.wav.") == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Count(Dir(), ".interrupted.wav."), 1);
    kill(pid, sig);
    int status = 0;
    waitpid(pid, &status, 0);
    close(pipe);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
    EXPECT_EQ(Bytes(out), "the previous render") << sig;
    EXPECT_EQ(Count(Dir(), ".interrupted.wav."), 0) << sig;
  }
}

TEST(Render, IntegerFormats) {
  const std::string in = WriteWav("formats.wav", 2, 44100, 8820);
  const std::string reference = Dir() + "/formats-32.wav";
  ASSERT_EQ(Tool(in + " " + reference + " --tail 0.1").status, 0);
  const Audio exact = Read(reference);
  for (int bits : {16, 24}) {
    const std::string out = Dir() + "/formats-" + std::to_string(bits) + ".wav";
    const Result r = Tool(in + " " + out + " --tail 0.1 --bits " + std::to_string(bits));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");  // nothing clipped
    const Audio a = Read(out);
    EXPECT_EQ(a.info.format, SF_FORMAT_WAV | (bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24));
    ASSERT_EQ(a.data.size(), exact.data.size());
    // Rounded to the step (24 bits) or dithered by at most a step either way (16).
    const double step = std::ldexp(1.0, 1 - bits), limit = bits == 16 ? 1.5 * step : 0.5 * step;
    double worst = 0.0, sum = 0.0;
    for (size_t i = 0; i < a.data.size(); ++i) {
      const double e = static_cast<double>(a.data[i]) - exact.data[i];
      worst = std::max(worst, std::fabs(e));
      sum += e;
    }
    EXPECT_LE(worst, limit * 1.0001) << bits;
    EXPECT_LT(std::fabs(sum / static_cast<double>(a.data.size())), 0.05 * step) << bits;
  }
  EXPECT_EQ(Tool(in + " x.wav --bits 20").status, 2);

  // Too loud for an integer file: limited, and the tool says so.
  const std::string loud = WriteFloatWav("loud.wav", 44100, 4410, [](int i) {
    return i % 100 < 50 ? 0.99f : -0.99f;
  });
  const Result r = Tool(loud + " " + Dir() + "/loud-24.wav --tail 0 --bits 24");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("samples clipped at 24 bits (peak +"), std::string::npos) << r.output;
  const Audio a = Read(Dir() + "/loud-24.wav");
  float peak = 0.0f;
  for (float v : a.data) peak = std::max(peak, std::fabs(v));
  EXPECT_LE(peak, 1.0f);
  EXPECT_EQ(Tool(loud + " " + Dir() + "/loud-32.wav --tail 0").output, "");  // float never clips
}

// The file's first sample is rendered at the settings' full level: the
// engine's fade-in after a start is over before the file begins.
TEST(Render, FirstFrameAtFullLevel) {
  const std::string in = WriteFloatWav("click.wav", 44100, 2048, [](int i) {
    return i == 0 ? 0.5f : 0.0f;
  });
  const std::string out = Dir() + "/click-out.wav";
  const Result r =
      Tool(in + " " + out + " --tail 0 --param 'ER Level=-oo' --param 'Late Level=-oo'");
  ASSERT_EQ(r.status, 0) << r.output;
  const Audio a = Read(out);
  ASSERT_EQ(a.info.frames, 2048);
  EXPECT_FLOAT_EQ(a.data[0], 0.5f);
  EXPECT_FLOAT_EQ(a.data[1], 0.5f);
  for (size_t i = 2; i < a.data.size(); ++i) ASSERT_LT(std::fabs(a.data[i]), 1e-6f) << i;
}

// The demo's dry signal fades out instead of stopping while strings ring.
TEST(Render, DemoDrySignalEndsQuietly) {
  const std::string out = Dir() + "/demo-dry.wav";
  const Result r =
      Tool("--demo " + out + " --tail 0 --param 'ER Level=-oo' --param 'Late Level=-oo'");
  ASSERT_EQ(r.status, 0) << r.output;
  const Audio a = Read(out);
  ASSERT_EQ(a.info.frames, 5 * 44100);
  float end = 0.0f, before = 0.0f;
  for (size_t i = a.data.size() - 2 * 441; i < a.data.size(); ++i) end = std::max(end, std::fabs(a.data[i]));
  for (size_t i = 2 * 4 * 44100; i < 2 * 4 * 44100 + 2 * 4410; ++i)
    before = std::max(before, std::fabs(a.data[i]));
  EXPECT_LT(end, 0.001f);     // the last 10 ms below -60 dBFS
  EXPECT_GT(before, 0.03f);   // while the chord still sounds a second earlier
}

TEST(Render, EmptyProgramNameIsUnknown) {
  for (const char* name : {"''", "'  '"}) {
    const Result r = Tool(std::string("--list --program ") + name);
    EXPECT_EQ(r.status, 2) << name;
    EXPECT_NE(r.output.find("unknown program"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("15  Deep Underground"), std::string::npos) << r.output;
  }
}

TEST(Render, NumbersBeyondTheFloatRange) {
  for (const char* p : {"Predelay Left=1e999 ms", "Crossover=-1e999 Hz", "Size=1e999"}) {
    const Result r = Tool(std::string("--list --param '") + p + "'");
    EXPECT_EQ(r.status, 2) << p;
    EXPECT_NE(r.output.find(p[0] == 'S' ? "0..1" : "outside"), std::string::npos) << r.output;
  }
  // A level's lowest value is -oo, so any lower number means it.
  const Result r = Tool("--list --param 'Dry Level=-1e999 dB'");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("Dry Level          -oo dB"), std::string::npos) << r.output;
}
