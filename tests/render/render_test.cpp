// soravel-render as a user runs it: real files in, real files out.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

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

Result Tool(const std::string& args) {
  const std::string command = std::string(SORAVEL_RENDER) + " " + args + " 2>&1";
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
