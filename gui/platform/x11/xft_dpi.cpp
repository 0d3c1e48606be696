#include "gui/platform/x11/xft_dpi.h"

#include <cstdlib>
#include <cstring>

#include "gui/platform/platform.h"

namespace x11 {

double xftDpiScale(const char* resources) {
  if (!resources) return 0.0;
  static const char kName[] = "Xft.dpi";
  double found = 0.0;
  for (const char* line = resources; *line;) {
    const char* end = std::strchr(line, '\n');
    const size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
    const char* p = line;
    while (p < line + length && (*p == ' ' || *p == '\t')) ++p;
    if (static_cast<size_t>(line + length - p) > sizeof kName - 1 &&
        std::strncmp(p, kName, sizeof kName - 1) == 0) {
      p += sizeof kName - 1;
      while (p < line + length && (*p == ' ' || *p == '\t')) ++p;
      if (p < line + length && *p == ':') {
        ++p;
        char value[32] = {};
        size_t n = 0;
        while (p < line + length && n + 1 < sizeof value) value[n++] = *p++;
        char* stop = nullptr;
        const double dpi = std::strtod(value, &stop);
        bool clean = stop != value;
        for (const char* q = stop; clean && *q; ++q) clean = *q == ' ' || *q == '\t' || *q == '\r';
        // The last entry wins, as in the resource database.
        found = clean ? platform::scaleOfDpi(dpi) : 0.0;
      }
    }
    if (!end) break;
    line = end + 1;
  }
  return found;
}

}  // namespace x11
