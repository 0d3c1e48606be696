#include "formats/lv2/ports.h"

#include <cmath>

#include "plugin/param.h"

float PortValue(int index, float physical) {
  if (index >= 0 && index < kNumParams && kParamTable[index].kind == EParamKind::kDecade)
    return static_cast<float>(std::pow(10.0, double(physical)));
  return physical;
}

float PhysicalValue(int index, float port) {
  if (index >= 0 && index < kNumParams && kParamTable[index].kind == EParamKind::kDecade)
    return port > 0.0f ? static_cast<float>(std::log10(double(port))) : kParamTable[index].min;
  return port;
}

void PortSymbol(int index, char* text, int size) {
  if (size <= 0) return;
  const char* name = index >= 0 && index < kNumParams ? kParamTable[index].name : "";
  int n = 0;
  for (const char* c = name; *c && n + 1 < size; ++c) {
    if (*c >= 'A' && *c <= 'Z') text[n++] = static_cast<char>(*c - 'A' + 'a');
    else if ((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9')) text[n++] = *c;
    else text[n++] = '_';
  }
  text[n] = '\0';
}
