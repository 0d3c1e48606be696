#pragma once
// An effect instance with the logging host (host_log.h), and the texts and audio runs
// the plug-in's own tests ask of it.
#include <string>
#include <vector>

#include "tests/support/vst2/effect.h"

class Plugin : public TEffect {
 public:
  Plugin();  // asserts through gtest that creation worked

  std::string Display(int index);
  std::string Label(int index);
  std::string Name(int index);
  std::string ProgramName();
  // Processes `in` (two channels, equal length) in blocks of `block` frames; answers the
  // output frames interleaved.
  std::vector<float> Run(const std::vector<float>& inL, const std::vector<float>& inR, int block);
};
