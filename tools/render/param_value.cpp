#include "tools/render/param_value.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The value a display text stands for, in the parameter's base unit (Hz for
// frequencies); -infinity for "-oo".
double Shown(PluginHost& host, int index, float x) {
  host.SetParam(index, x);
  const std::string text = host.ParamDisplay(index);
  if (text == "-oo") return -std::numeric_limits<double>::infinity();
  if (text == "On") return 1.0;
  if (text == "Off") return 0.0;
  const double v = std::strtod(text.c_str(), nullptr);
  return host.ParamLabel(index) == "kHz" ? v * 1000.0 : v;
}

// The smallest x in 0..1 for which pred holds, pred rising with x; 2 when none.
template <class Pred>
float FirstTrue(Pred pred) {
  if (pred(0.0f)) return 0.0f;
  if (!pred(1.0f)) return 2.0f;
  float lo = 0.0f, hi = 1.0f;  // pred(lo) false, pred(hi) true
  for (int i = 0; i < 40 && std::nextafter(lo, 1.0f) < hi; ++i) {
    const float mid = 0.5f * (lo + hi);
    (pred(mid) ? hi : lo) = mid;
  }
  return hi;
}

std::string Describe(double v, const std::string& unit) {
  char buf[64];
  if (std::isinf(v)) return (v < 0 ? "-oo " : "oo ") + unit;
  std::snprintf(buf, sizeof buf, "%g %s", v, unit.c_str());
  return buf;
}

}  // namespace

int FindParam(PluginHost& host, const std::string& name) {
  const std::string wanted = Trim(name);
  for (int i = 0; i < host.NumParams(); ++i)
    if (SameText(host.ParamName(i), wanted)) return i;
  return -1;
}

int FindProgram(PluginHost& host, const std::string& nameOrNumber) {
  const std::string wanted = Trim(nameOrNumber);
  if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos) {
    const long n = wanted.size() < 4 ? std::strtol(wanted.c_str(), nullptr, 10) : -1;
    return n >= 0 && n < host.NumPrograms() ? static_cast<int>(n) : -1;
  }
  for (int k = 0; k < host.NumPrograms(); ++k)
    if (SameText(host.ProgramName(k), wanted)) return k;
  return -1;
}

bool SetParamFromText(PluginHost& host, int index, const std::string& raw, std::string& error) {
  const std::string text = Trim(raw);
  const std::string name = host.ParamName(index);
  const float before = host.GetParam(index);
  const auto fail = [&](const std::string& why) {
    host.SetParam(index, before);
    error = name + ": " + why;
    return false;
  };

  host.SetParam(index, 0.0f);
  const std::string lowText = host.ParamDisplay(index), lowLabel = host.ParamLabel(index);
  host.SetParam(index, 1.0f);
  const std::string highText = host.ParamDisplay(index), highLabel = host.ParamLabel(index);
  const bool isSwitch = lowText == "Off" && highText == "On";

  if (SameText(text, "On") || SameText(text, "Off")) {
    if (!isSwitch) return fail("\"" + text + "\" is only for an on/off parameter");
    host.SetParam(index, SameText(text, "On") ? 1.0f : 0.0f);
    return true;
  }
  if (text.rfind("-oo", 0) == 0) {
    if (lowText != "-oo") return fail("\"-oo\" is only for a level");
    host.SetParam(index, 0.0f);
    return true;
  }

  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  // A number beyond the double range reads as infinity and fails the range check.
  if (end == text.c_str() || std::isnan(number))
    return fail("cannot read the value \"" + text + "\"");
  const std::string unit = Trim(end);

  if (unit.empty()) {  // a normalised value
    if (number < 0.0 || number > 1.0)
      return fail("a value without a unit is normalised and must lie in 0..1 (or give it as \"" +
                  Describe(number, highLabel.empty() ? lowLabel : highLabel) +
                  "\")");
    host.SetParam(index, static_cast<float>(number));
    return true;
  }

  // The units this parameter shows; frequencies switch between Hz and kHz.
  const bool frequency = lowLabel == "Hz" || lowLabel == "kHz" || highLabel == "kHz";
  double target = number;
  if (frequency && SameText(unit, "kHz")) target = number * 1000.0;
  else if (!(frequency && SameText(unit, "Hz")) && !SameText(unit, lowLabel) &&
           !SameText(unit, highLabel))
    return fail("unit \"" + unit + "\" does not fit; the parameter is shown in " +
                (frequency ? std::string("Hz or kHz") : "\"" + highLabel + "\""));

  double low = Shown(host, index, 0.0f);
  const double high = Shown(host, index, 1.0f);
  if (std::isinf(low)) low = Shown(host, index, std::numeric_limits<float>::min());
  const std::string baseUnit = frequency ? "Hz" : highLabel;
  const double slack = 0.005 * std::fabs(high - low) + 1e-9;
  if (target < low - slack || target > high + slack)
    return fail(Describe(number, unit) + " is outside " + Describe(low, baseUnit) + " .. " +
                Describe(high, baseUnit));

  // The span of x whose display reads at least / more than the target.
  const float first = FirstTrue([&](float x) { return Shown(host, index, x) >= target; });
  const float past = FirstTrue([&](float x) { return Shown(host, index, x) > target; });
  float x;
  if (first <= 1.0f && Shown(host, index, first) == target) {
    // Shown exactly: the ends of the range are exact, elsewhere take the
    // middle of the span that reads the target.
    x = past > 1.0f ? 1.0f : first == 0.0f ? 0.0f : 0.5f * (first + past);
  } else if (first > 1.0f) {
    x = 1.0f;
  } else {
    // Between two displayed steps: take the nearer one.
    const float below = std::nextafter(first, 0.0f);
    x = std::fabs(Shown(host, index, first) - target) <= std::fabs(Shown(host, index, below) - target)
            ? first
            : below;
  }
  host.SetParam(index, x);
  return true;
}
