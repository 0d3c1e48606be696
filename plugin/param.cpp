#include "plugin/param.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/text.h"

namespace {

// Writes (neg ? "-" : "") n / 10^decimals with exactly `decimals` decimals.
void WriteFixed(bool neg, unsigned long long n, int decimals, char* text, size_t size) {
  char digits[32];
  int len = 0;
  for (int i = 0; i < decimals || n > 0 || len <= decimals; ++i) {
    if (i == decimals && decimals > 0) digits[len++] = '.';
    digits[len++] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  char buf[34];
  int k = 0;
  if (neg) buf[k++] = '-';
  while (len > 0) buf[k++] = digits[--len];
  buf[k] = '\0';
  CopyText(text, buf, size);
}

// Rounds to `decimals` places, halves to even, as C's %f does for a value
// held exactly; for float inputs and up to two decimals the scaling is exact.
void WriteRounded(double v, int decimals, char* text, size_t size) {
  double s = std::fabs(v) * (decimals == 2 ? 100.0 : decimals == 1 ? 10.0 : 1.0);
  double whole = std::floor(s);
  const double rest = s - whole;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  WriteFixed(std::signbit(v), static_cast<unsigned long long>(whole), decimals, text, size);
}

void FormatValue(double v, char* text, size_t size) {
  if (!std::isfinite(v)) {
    CopyText(text, "0.00", size);
    return;
  }
  const double a = std::fabs(v);
  if (a < 10.0) {
    // Rounded to hundredths first, so 9.996 reads 10.0 rather than 10.00.
    const double n = std::floor(v * 100.0 + 0.5);
    const unsigned long long m = static_cast<unsigned long long>(std::fabs(n));
    if (m < 1000) WriteFixed(n < 0.0, m, 2, text, size);
    else WriteFixed(n < 0.0, m / 10, 1, text, size);
  } else if (a < 100.0) {
    WriteRounded(v, 1, text, size);
  } else {
    WriteRounded(v, 0, text, size);
  }
}

// The value of a number text [p, end) too large or too small for a double:
// infinity of its sign when its magnitude is beyond the range, zero when below,
// so that the range limits treat it like any other number outside them.
double OutOfRange(const char* p, const char* end) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long order = 0;  // decimal exponent of the first significant digit, plus one
  bool seen = false;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    seen = seen || *p != '0';
    if (seen && order < 100000) ++order;
  }
  if (p < end && *p == '.') {
    for (++p; p < end && *p >= '0' && *p <= '9'; ++p) {
      if (seen) continue;
      if (*p != '0') seen = true;
      else if (order > -100000) --order;
    }
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool down = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    long long e = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
      if (e < 1000000) e = e * 10 + (*p - '0');
    order += down ? -e : e;
  }
  const double magnitude = seen && order > 0 ? HUGE_VAL : 0.0;
  return negative ? -magnitude : magnitude;
}

}  // namespace

void FormatNumber(float v, char* text, size_t size) { FormatValue(v, text, size); }

double ReadNumber(const char* text) {
  if (!text) return 0.0;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool plus = false;
  if (*p == '+') {
    plus = true;
    ++p;
  }
  // A number must begin here: a digit, or a full stop followed by a digit.
  const bool starts = (*p >= '0' && *p <= '9') ||
                      (*p == '.' && p[1] >= '0' && p[1] <= '9') ||
                      (!plus && *p == '-' &&
                       ((p[1] >= '0' && p[1] <= '9') || (p[1] == '.' && p[2] >= '0' && p[2] <= '9')));
  if (!starts) return 0.0;
  double v = 0.0;
  const auto r = std::from_chars(p, p + std::strlen(p), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) return OutOfRange(p, r.ptr);
  if (r.ec != std::errc()) return 0.0;
  return v;
}

void TParam::Init(const TParamDescriptor& d) {
  kind = d.kind;
  name = d.name;
  label = d.label;
  def = d.def;
  min = d.min;
  max = d.max;
  step = d.step;
  range = max - min;
  invRange = 1.0f / range;
  stepped = step > 0.0f;
  count = stepped ? static_cast<int>(std::floor(range / step + 0.5f)) + 1 : 1;
  value.store(def, std::memory_order_relaxed);
}

void TParam::SetValue(float v) {
  if (std::isnan(v)) return;
  if (v > max) v = max;
  if (v < min) v = min;
  value.store(v, std::memory_order_relaxed);
}

void TParam::SetNormalized(float x) {
  if (std::isnan(x)) return;
  if (x < 0.0f) x = 0.0f;
  if (x > 1.0f) x = 1.0f;
  if (!stepped) {
    SetValue(min + x * range);
    return;
  }
  // The multiplier is the number of values, so the switch turns on at 0.25.
  float k = std::floor(static_cast<float>(count) * x + 0.5f);
  if (k > static_cast<float>(count)) k = static_cast<float>(count);
  SetValue(min + k * step);
}

float TParam::Normalized() const {
  float x = (Value() - min) * invRange;
  if (x < 0.0f) x = 0.0f;
  if (x > 1.0f) x = 1.0f;
  return x;
}

const char* TParam::Label() const {
  if (kind == EParamKind::kFrequency) return Value() < 1000.0f ? "Hz" : "kHz";
  return label;
}

void TParam::Display(char* text, size_t size) const {
  const float v = Value();
  switch (kind) {
    case EParamKind::kSwitch: CopyText(text, v >= 0.5f ? "On" : "Off", size); return;
    case EParamKind::kLevel:
      if (v <= min) CopyText(text, "-oo", size);
      else FormatValue(v, text, size);
      return;
    case EParamKind::kDecade: FormatValue(std::pow(10.0, static_cast<double>(v)), text, size); return;
    case EParamKind::kFrequency: {
      if (v < 1000.0f) {
        FormatValue(v, text, size);
        return;
      }
      // Kilohertz rounded to hundredths; a tenth more is dropped from 10 kHz on.
      const unsigned long long n =
          static_cast<unsigned long long>(std::floor(static_cast<double>(v) * 0.1 + 0.5));
      if (n < 1000) WriteFixed(false, n, 2, text, size);
      else WriteFixed(false, n / 10 + (n % 10 >= 5 ? 1 : 0), 1, text, size);
      return;
    }
    case EParamKind::kPlain: FormatValue(v, text, size); return;
  }
}

void TParam::DisplayWithLabel(char* text, size_t size) const {
  if (!text || size == 0) return;
  char value[kParamDisplayBytes];
  Display(value, sizeof value);
  std::snprintf(text, size, "%s %s", value, Label());
}

void TParam::Parse(const char* text) {
  if (!text) text = "";
  const double number = ReadNumber(text);
  double v = number;
  switch (kind) {
    case EParamKind::kLevel:
      if (std::strstr(text, "-oo")) v = min;
      break;
    case EParamKind::kDecade: {
      double d = std::fabs(number);
      if (d < 0.1) d = 0.1;
      if (d > 100.0) d = 100.0;
      v = std::log10(d);
      break;
    }
    case EParamKind::kFrequency:
      if (std::strstr(text, "kHz")) v = number * 1000.0;
      break;
    case EParamKind::kPlain:
    case EParamKind::kSwitch: break;
  }
  if (v > max) v = max;
  if (v < min) v = min;
  SetValue(static_cast<float>(v));
}
