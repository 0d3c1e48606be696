#include "plugin/vst_plugin.h"

#include <cstring>

#include "plugin/aeffeditor.h"
#include "plugin/editor_factory.h"
#include "plugin/text.h"

static_assert(kProgramNameBytes == kVstMaxProgNameLen, "program names fit the host's buffers");

namespace {
bool ValidIndex(VstInt32 index) { return index >= 0 && index < kNumParams; }
}  // namespace

VstPlugin::VstPlugin(audioMasterCallback master)
    : AudioEffectX(master, kNumPrograms, kNumParams) {
  for (int k = 0; k < kNumPrograms; ++k) LoadFactoryProgram(k, programs[k]);
  cEffect.numInputs = 2;
  cEffect.numOutputs = 2;
  cEffect.flags &= ~effFlagsIsSynth;
  cEffect.flags |= effFlagsCanReplacing;
  cEffect.uniqueID = kUniqueId;
  CreateEditor(this);  // installs itself as this effect's editor; no window yet
  for (int i = 0; i < kNumParams; ++i) reverb.SetParameter(i, programs[0].params[i].Value());
}

// The editor goes first, while the programs and the engine it reads still
// exist: hosts often close an instance with its window still open.
VstPlugin::~VstPlugin() { setEditor(nullptr); }

void VstPlugin::suspend() { reverb.Reset(); }

void VstPlugin::resume() { wantEvents(1); }

void VstPlugin::setSampleRate(float rate) {
  // A rate the engine refuses leaves everything as it was.
  if (!reverb.SetSampleRate(rate)) return;
  sampleRate = rate;
  const TProgram& p = Current();
  for (int i = 0; i < kNumParams; ++i) reverb.SetParameter(i, p.params[i].Value());
}

void VstPlugin::setBlockSize(VstInt32 frames) {
  if (reverb.SetBlockSize(frames)) blockSize = frames;
}

void VstPlugin::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
  // The engine takes any block length (longer ones in pieces) and answers
  // missing buffers with nothing, so every host call is safe here.
  reverb.Process(inputs, outputs, frames);
}

void VstPlugin::Apply(int index, const TParam& param) {
  reverb.SetParameter(index, param.Value());
  if (editor) editor->setParameter(index, param.Normalized());
}

void VstPlugin::setParameter(VstInt32 index, float value) {
  if (!ValidIndex(index) || !(value >= 0.0f && value <= 1.0f)) return;  // NaN fails too
  TParam& param = Current().params[index];
  param.SetNormalized(value);
  reverb.SetParameter(index, param.Value());
  if (editor) editor->setParameter(index, value);
}

float VstPlugin::getParameter(VstInt32 index) {
  return ValidIndex(index) ? Current().params[index].Normalized() : 0.0f;
}

void VstPlugin::setProgram(VstInt32 program) {
  if (program < 0 || program >= kNumPrograms) return;
  curProgram.store(program, std::memory_order_relaxed);
  // The stored physical values are applied as they are: going through the
  // normalised value again would move them by rounding on every switch.
  const TProgram& p = programs[program];
  for (int i = 0; i < kNumParams; ++i) Apply(i, p.params[i]);
}

void VstPlugin::setProgramName(const char* name) { Current().SetName(name); }

void VstPlugin::getProgramName(char* text) {
  CopyText(text, Current().Name(), kProgramNameBytes);
}

void VstPlugin::getParameterLabel(VstInt32 index, char* label) {
  CopyText(label, ValidIndex(index) ? Current().params[index].Label() : "", kParamLabelBytes);
}

void VstPlugin::getParameterDisplay(VstInt32 index, char* text) {
  if (!ValidIndex(index)) {
    CopyText(text, "0.", kParamDisplayBytes);
    return;
  }
  Current().params[index].Display(text, kParamDisplayBytes);
}

void VstPlugin::getParameterName(VstInt32 index, char* text) {
  CopyText(text, ValidIndex(index) ? kParamTable[index].name : "", kParamNameBytes);
}

bool VstPlugin::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  if (index < 0 || index >= kNumPrograms) return false;
  CopyText(text, programs[index].Name(), kProgramNameBytes);
  return true;
}

bool VstPlugin::endSetProgram() {
  if (editor && editor->isOpen()) editor->redraw();
  return false;
}

namespace {
bool FillPin(VstInt32 index, VstPinProperties* pin, const char* const (&labels)[2][2]) {
  if (!pin || index < 0 || index > 1) return false;
  CopyText(pin->label, labels[index][0], sizeof pin->label);
  CopyText(pin->shortLabel, labels[index][1], sizeof pin->shortLabel);
  pin->flags = kVstPinIsActive | kVstPinIsStereo;
  return true;
}
const char* const kInputPins[2][2] = {{"Left input", "L in"}, {"Right input", "R in"}};
const char* const kOutputPins[2][2] = {{"Left output", "L out"}, {"Right output", "R out"}};
}  // namespace

bool VstPlugin::getInputProperties(VstInt32 index, VstPinProperties* pin) {
  return FillPin(index, pin, kInputPins);
}
bool VstPlugin::getOutputProperties(VstInt32 index, VstPinProperties* pin) {
  return FillPin(index, pin, kOutputPins);
}

VstInt32 VstPlugin::processEvents(void*) { return 1; }  // MIDI is accepted and ignored

bool VstPlugin::getEffectName(char* name) {
  CopyText(name, effectName, kVstMaxEffectNameLen);
  return true;
}
bool VstPlugin::getVendorString(char* text) {
  CopyText(text, vendorName, kVstMaxVendorStrLen);
  return true;
}
bool VstPlugin::getProductString(char* text) {
  CopyText(text, effectName, kVstMaxProductStrLen);
  return true;
}

VstInt32 VstPlugin::canDo(const char* text) {
  static const char* const kYes[] = {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                                     "receiveVstMidiEvent", "receiveVstTimeInfo"};
  if (!text) return -1;
  for (const char* yes : kYes)
    if (std::strcmp(text, yes) == 0) return 1;
  // Never "undecided": whatever is not a yes is a no.
  return -1;
}

TParam* VstPlugin::CurrentParam(int index) {
  return ValidIndex(index) ? &Current().params[index] : nullptr;
}
