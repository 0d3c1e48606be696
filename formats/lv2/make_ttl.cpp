// Writes Soravel.lv2's description at build time, from the product's tables,
// which every format reads, so that nothing in it is written twice:
// manifest.ttl (plug-in, UI, presets), soravel.ttl (ports) and presets.ttl
// (the factory programs, as every format holds them).
//
// Usage: soravel_lv2_ttl OUTDIR DSP-BINARY UI-BINARY
#include <charconv>
#include <cstdio>
#include <string>

#include "formats/lv2/ports.h"
#include "plugin/program.h"
#include "soravel_product.h"

namespace {

// Every file's prefixes; the manifest's UI also names the options and URID
// extensions.
struct TPrefix {
  const char* line;
  bool manifestOnly;
};
constexpr TPrefix kPrefixes[] = {
    {"@prefix doap: <http://usefulinc.com/ns/doap#> .\n", false},
    {"@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n", false},
    {"@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n", false},
    {"@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n", true},
    {"@prefix pprop: <http://lv2plug.in/ns/ext/port-props#> .\n", false},
    {"@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n", false},
    {"@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n", false},
    {"@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n", false},
    {"@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n", false},
    {"@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n", false},
    {"@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n", true},
};

std::string Prefixes(bool manifest) {
  std::string s;
  for (const TPrefix& p : kPrefixes)
    if (manifest || !p.manifestOnly) s += p.line;
  return s + "\n";
}

const char* const kUiUri = SORAVEL_LV2_URI "#ui";

// The unit of a parameter's port, from the label the plug-in shows.
struct TUnit {
  const char* label;
  const char* unit;
};
constexpr TUnit kUnits[] = {{"dB", "units:db"}, {"ms", "units:ms"}, {"sec", "units:s"},
                            {"%", "units:pc"},  {"x", "units:coef"}, {"Hz", "units:hz"}};

const char* UnitOf(int index) {
  for (const TUnit& u : kUnits)
    if (std::string(u.label) == kParamTable[index].label) return u.unit;
  return nullptr;
}

// The shortest text that reads back as the same float.
std::string Number(float v) {
  char text[32];
  const auto r = std::to_chars(text, text + sizeof text, v);
  std::string s(text, r.ptr);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";  // a decimal, not an integer literal
  return s;
}

std::string Symbol(int index) {
  char text[64];
  PortSymbol(index, text, sizeof text);
  return text;
}

// "Large Hall" -> "large-hall"
std::string Slug(const char* name) {
  std::string s;
  for (const char* c = name; *c; ++c) {
    if (*c >= 'A' && *c <= 'Z') s += static_cast<char>(*c - 'A' + 'a');
    else if ((*c >= 'a' && *c <= 'z') || (*c >= '0' && *c <= '9')) s += *c;
    else if (!s.empty() && s.back() != '-') s += '-';
  }
  return s;
}

std::string PresetUri(const char* name) { return std::string(SORAVEL_LV2_URI) + "/preset/" + Slug(name); }

struct TFile {
  explicit TFile(const std::string& path) : f(std::fopen(path.c_str(), "w")) {
    if (!f) std::fprintf(stderr, "soravel_lv2_ttl: cannot write %s\n", path.c_str());
  }
  ~TFile() {
    if (f) std::fclose(f);
  }
  void operator()(const std::string& s) {
    if (f) std::fputs(s.c_str(), f);
  }
  bool Close() {
    const bool ok = f && !std::ferror(f) && std::fclose(f) == 0;
    f = nullptr;
    return ok;
  }
  FILE* f;
};

std::string Uri(const std::string& u) { return "<" + u + ">"; }
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The 16 programs' names and physical values.
struct TBank {
  std::string name[kNumPrograms];
  float value[kNumPrograms][kNumParams];
};

void ReadBank(TBank& bank) {
  static TProgram program;
  for (int k = 0; k < kNumPrograms; ++k) {
    LoadFactoryProgram(k, program);
    bank.name[k] = program.Name();
    for (int i = 0; i < kNumParams; ++i) bank.value[k][i] = program.params[i].Value();
  }
}

void WriteManifest(TFile& out, const TBank& bank, const std::string& dsp, const std::string& uiBinary) {
  out(Prefixes(true));
  out(Uri(SORAVEL_LV2_URI) + "\n    a lv2:Plugin ;\n    lv2:binary " + Uri(dsp) +
      " ;\n    rdfs:seeAlso <soravel.ttl> .\n\n");
  out(Uri(kUiUri) + "\n    a ui:X11UI ;\n    ui:binary " + Uri(uiBinary) +
      " ;\n    lv2:requiredFeature ui:parent , ui:idleInterface ;\n"
      "    lv2:optionalFeature ui:resize , ui:touch , opts:options , urid:map ;\n"
      "    lv2:extensionData ui:idleInterface , opts:interface ;\n"
      "    opts:supportedOption ui:scaleFactor .\n\n");
  for (int k = 0; k < kNumPrograms; ++k)
    out(Uri(PresetUri(bank.name[k].c_str())) + "\n    a pset:Preset ;\n    lv2:appliesTo " +
        Uri(SORAVEL_LV2_URI) + " ;\n    rdfs:seeAlso <presets.ttl> .\n\n");
}

void WriteControlPort(TFile& out, int i, float def) {
  const TParamDescriptor& d = kParamTable[i];
  out("    a lv2:InputPort , lv2:ControlPort ;\n");
  out("    lv2:index " + std::to_string(kPortControl + i) + " ;\n");
  out("    lv2:symbol " + Quoted(Symbol(i)) + " ;\n");
  out("    lv2:name " + Quoted(d.name) + " ;\n");
  out("    lv2:default " + Number(PortValue(i, def)) + " ;\n");
  out("    lv2:minimum " + Number(PortValue(i, d.min)) + " ;\n");
  out("    lv2:maximum " + Number(PortValue(i, d.max)) + " ;\n");
  if (d.kind == EParamKind::kSwitch) out("    lv2:portProperty lv2:toggled ;\n");
  if (d.logarithmic) out("    lv2:portProperty pprop:logarithmic ;\n");
  if (d.kind == EParamKind::kLevel)  // the bottom of a level's range is silence
    out("    lv2:scalePoint [ rdfs:label \"-inf\" ; rdf:value " + Number(d.min) + " ] ;\n");
  if (const char* unit = UnitOf(i)) out("    units:unit " + std::string(unit) + " ;\n");
}

void WritePlugin(TFile& out, const TBank& bank) {
  out(Prefixes(false));
  out(Uri(SORAVEL_LV2_URI) + "\n    a lv2:Plugin , lv2:ReverbPlugin , doap:Project ;\n");
  out("    doap:name " + Quoted(SORAVEL_PRODUCT) + " ;\n");
  out("    doap:maintainer [ foaf:name " + Quoted(SORAVEL_VENDOR) + " ; foaf:homepage <https://" +
      SORAVEL_VENDOR_HOST + "/> ] ;\n");
  out("    rdfs:comment \"A stereo algorithmic reverb, version " SORAVEL_VERSION_TEXT "\" ;\n");
  out("    lv2:minorVersion " + std::to_string(SORAVEL_LV2_MINOR_VERSION) + " ;\n");
  out("    lv2:microVersion " + std::to_string(SORAVEL_LV2_MICRO_VERSION) + " ;\n");
  out("    lv2:optionalFeature lv2:hardRTCapable ;\n");
  out("    ui:ui " + Uri(kUiUri) + " ;\n");
  out("    lv2:port ");
  for (int i = 0; i < kNumParams; ++i) {
    out("[\n");
    WriteControlPort(out, i, bank.value[0][i]);
    out("] , ");
  }
  const char* audio[4][3] = {{"lv2:InputPort", "in_left", "Input Left"},
                             {"lv2:InputPort", "in_right", "Input Right"},
                             {"lv2:OutputPort", "out_left", "Output Left"},
                             {"lv2:OutputPort", "out_right", "Output Right"}};
  for (int i = 0; i < 4; ++i)
    out(std::string("[\n    a ") + audio[i][0] + " , lv2:AudioPort ;\n    lv2:index " +
        std::to_string(kPortAudioIn + i) + " ;\n    lv2:symbol " + Quoted(audio[i][1]) +
        " ;\n    lv2:name " + Quoted(audio[i][2]) + " ;\n] , ");
  const char* meters[4][2] = {{"meter_in_left", "Input Peak Left"},
                              {"meter_in_right", "Input Peak Right"},
                              {"meter_out_left", "Output Peak Left"},
                              {"meter_out_right", "Output Peak Right"}};
  for (int i = 0; i < 4; ++i)
    out(std::string("[\n    a lv2:OutputPort , lv2:ControlPort ;\n    lv2:index ") +
        std::to_string(kPortMeter + i) + " ;\n    lv2:symbol " + Quoted(meters[i][0]) +
        " ;\n    lv2:name " + Quoted(meters[i][1]) +
        " ;\n    lv2:default 0.0 ;\n    lv2:minimum 0.0 ;\n    lv2:maximum 1.0 ;\n"
        "    units:unit units:coef ;\n]" + (i < 3 ? " , " : " .\n\n"));
  // The meters reach the UI as port events.
  out(Uri(kUiUri) + "\n    ui:portNotification ");
  for (int i = 0; i < 4; ++i)
    out(std::string("[ ui:plugin ") + Uri(SORAVEL_LV2_URI) + " ; lv2:symbol " +
        Quoted(meters[i][0]) + " ; ui:protocol ui:floatProtocol ]" + (i < 3 ? " ,\n        " : " .\n"));
}

void WritePresets(TFile& out, const TBank& bank) {
  out(Prefixes(false));
  for (int k = 0; k < kNumPrograms; ++k) {
    out(Uri(PresetUri(bank.name[k].c_str())) + "\n    a pset:Preset ;\n    lv2:appliesTo " +
        Uri(SORAVEL_LV2_URI) + " ;\n    rdfs:label " + Quoted(bank.name[k]) + " ;\n    lv2:port ");
    for (int i = 0; i < kNumParams; ++i)
      out("[ lv2:symbol " + Quoted(Symbol(i)) + " ; pset:value " +
          Number(PortValue(i, bank.value[k][i])) + " ]" + (i + 1 < kNumParams ? " ,\n        " : " .\n\n"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: soravel_lv2_ttl OUTDIR DSP-BINARY UI-BINARY\n");
    return 2;
  }
  const std::string dir = argv[1];
  static TBank bank;
  ReadBank(bank);
  TFile manifest(dir + "/manifest.ttl"), plugin(dir + "/soravel.ttl"), presets(dir + "/presets.ttl");
  WriteManifest(manifest, bank, argv[2], argv[3]);
  WritePlugin(plugin, bank);
  WritePresets(presets, bank);
  return manifest.Close() && plugin.Close() && presets.Close() ? 0 : 1;
}
