#include "tests/support/vst2/plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tests/support/vst2/host_log.h"
#include "tests/support/vst2/library.h"

Plugin::Plugin() : TEffect(HostCallback) {
  const PluginLibrary& lib = PluginLibrary::Get();
  EXPECT_TRUE(lib.error.empty()) << lib.error;
  if (!e) {
    ADD_FAILURE() << "no effect record";
    std::abort();  // every later line would dereference it
  }
}

namespace {
std::string Text(Plugin& p, VstInt32 op, int index) {
  char buf[256];
  std::memset(buf, 'X', sizeof buf);
  buf[sizeof buf - 1] = '\0';
  p.Dispatch(op, index, 0, buf);
  return buf;
}
}  // namespace

std::string Plugin::Display(int index) { return Text(*this, effGetParamDisplay, index); }
std::string Plugin::Label(int index) { return Text(*this, effGetParamLabel, index); }
std::string Plugin::Name(int index) { return Text(*this, effGetParamName, index); }
std::string Plugin::ProgramName() { return Text(*this, effGetProgramName, 0); }

std::vector<float> Plugin::Run(const std::vector<float>& inL, const std::vector<float>& inR,
                               int block) {
  const int frames = static_cast<int>(inL.size());
  std::vector<float> out(2 * static_cast<size_t>(frames));
  std::vector<float> bl(block), br(block), ol(block), orr(block);
  for (int pos = 0; pos < frames; pos += block) {
    const int n = std::min(block, frames - pos);
    std::copy_n(inL.begin() + pos, n, bl.begin());
    std::copy_n(inR.begin() + pos, n, br.begin());
    float* in[2] = {bl.data(), br.data()};
    float* outp[2] = {ol.data(), orr.data()};
    e->processReplacing(e, in, outp, n);
    for (int i = 0; i < n; ++i) {
      out[2 * (pos + i)] = ol[i];
      out[2 * (pos + i) + 1] = orr[i];
    }
  }
  return out;
}
