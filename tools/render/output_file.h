#pragma once

// The rendered file. It is written under a hidden temporary name in the
// destination's folder and renamed over the destination only once it is
// complete, closed and on disk, so a render that fails or is interrupted
// leaves whatever the destination held before.

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

// Sample formats the tool writes: 16- and 24-bit integer or 32-bit float.
bool ValidBits(int bits);

// True when both paths name one existing file: the same path, another
// spelling of it, a symbolic or a hard link.
bool SameFile(const std::string& a, const std::string& b);

// SIGINT, SIGTERM and SIGHUP remove an unfinished file before the process
// ends with the signal; a file too large for the process's limit becomes a
// write error instead of a kill.
void InstallInterruptCleanup();

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // an uncommitted file is removed

  // Creates the temporary file for a stereo WAV; false with `error` set.
  bool Open(const std::string& destination, int rate, int bits, std::string& error);
  // Interleaved stereo frames; false on a write error (disk full, ...).
  bool Write(const float* frames, int count);
  // Closes, syncs and renames over the destination.
  bool Commit(std::string& error);

  // Integer formats only: samples beyond full scale, limited to it.
  long long Clipped() const { return clipped; }
  float Peak() const { return peak; }  // largest magnitude written, before limiting

 private:
  void Discard();
  template <class T>
  bool WriteInteger(const float* frames, int count, double scale, int shift);

  std::string destination, temporary;
  int fd = -1, bits = 32;
  SNDFILE* file = nullptr;
  long long clipped = 0;
  float peak = 0.0f;
  uint32_t ditherState = 0x9E3779B9u;
  std::vector<int32_t> scratch32;
  std::vector<int16_t> scratch16;
};
