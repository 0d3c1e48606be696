#pragma once
// A path as the build tree names it, in the form this process's file functions take:
// under Wine a Unix path is on drive Z:, with backslashes; elsewhere it is unchanged.
#include <string>

inline std::string NativePath(std::string path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
#endif
  return path;
}
