#include "plugin/audioeffect.h"

#include <cstring>

#include "plugin/aeffeditor.h"
#include "soravel_product.h"

namespace {
AudioEffect* Instance(AEffect* e) { return e ? static_cast<AudioEffect*>(e->object) : nullptr; }
}  // namespace

AudioEffect::AudioEffect(audioMasterCallback master, VstInt32 programs, VstInt32 params)
    : audioMaster(master), numPrograms(programs), numParams(params) {
  std::memset(&cEffect, 0, sizeof cEffect);
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffect;
  cEffect.process = processEffect;
  cEffect.setParameter = setParameterEffect;
  cEffect.getParameter = getParameterEffect;
  cEffect.numPrograms = programs;
  cEffect.numParams = params;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.version = SORAVEL_VST_EFFECT_VERSION;
  cEffect.processReplacing = processReplacingEffect;
  cEffect.processDoubleReplacing = processDoubleReplacingEffect;
  cEffect.flags = effFlagsCanReplacing;
}

AudioEffect::~AudioEffect() { setEditor(nullptr); }

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 1;
    case effSetProgram:
      if (value >= 0 && value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName:
      if (ptr) setProgramName(static_cast<const char*>(ptr));
      return 0;
    case effGetProgramName:
      if (ptr) getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      if (ptr) getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize:
      // A value that does not fit the record's 32-bit frame counts is refused here.
      if (value >= 1 && value <= 0x7fffffff) setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value) resume(); else suspend();
      return 0;
    case effEditGetRect:
      return editor && ptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify: return 0x4E764566;  // 'NvEf'
    case effGetChunk: return 0;           // no chunks; the host's pointer stays untouched
    case effSetChunk: return 0;
    default: return 0;
  }
}

void AudioEffect::processReplacing(float**, float** outputs, VstInt32 frames) {
  // Without an engine the honest replacing answer is silence.
  if (!outputs || frames <= 0) return;
  for (int c = 0; c < cEffect.numOutputs; ++c)
    if (outputs[c]) std::memset(outputs[c], 0, sizeof(float) * static_cast<size_t>(frames));
}

void AudioEffect::processDoubleReplacing(double**, double** outputs, VstInt32 frames) {
  // Double precision is not offered; a host that calls anyway gets silence
  // instead of whatever its buffers held.
  if (!outputs || frames <= 0) return;
  for (int c = 0; c < cEffect.numOutputs; ++c)
    if (outputs[c]) std::memset(outputs[c], 0, sizeof(double) * static_cast<size_t>(frames));
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  // Only a value the plug-in accepts is reported: a host must not record
  // automation the plug-in ignored.
  if (index < 0 || index >= numParams || !(value >= 0.0f && value <= 1.0f)) return;
  setParameter(index, value);
  callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::getProgramName(char* text) {
  if (text) text[0] = '\0';
}
void AudioEffect::getParameterLabel(VstInt32, char* label) {
  if (label) label[0] = '\0';
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) {
  if (text) text[0] = '\0';
}
void AudioEffect::getParameterName(VstInt32, char* text) {
  if (text) text[0] = '\0';
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  // The old editor is unhooked before it is deleted: its destructor may call
  // back (close its window, even setEditor(nullptr)) and must find no editor.
  AEffEditor* old = editor;
  editor = newEditor;
  if (editor) cEffect.flags |= effFlagsHasEditor;
  else cEffect.flags &= ~effFlagsHasEditor;
  if (old != newEditor) delete old;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
  return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

VstInt32 AudioEffect::getMasterVersion() {
  if (!audioMaster) return 1;
  return static_cast<VstInt32>(callHost(audioMasterVersion));
}
void AudioEffect::masterIdle() { callHost(audioMasterIdle); }
bool AudioEffect::sizeWindow(VstInt32 width, VstInt32 height) {
  return callHost(audioMasterSizeWindow, width, height) != 0;
}
bool AudioEffect::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffect::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }

VstIntPtr AudioEffect::dispatchEffect(AEffect* e, VstInt32 opcode, VstInt32 index,
                                      VstIntPtr value, void* ptr, float opt) {
  AudioEffect* self = Instance(e);
  if (!self) return 0;
  const VstIntPtr result = self->dispatcher(opcode, index, value, ptr, opt);
  if (opcode == effClose) {
    delete self;
    return 1;
  }
  return result;
}

void AudioEffect::setParameterEffect(AEffect* e, VstInt32 index, float value) {
  if (AudioEffect* self = Instance(e)) self->setParameter(index, value);
}
float AudioEffect::getParameterEffect(AEffect* e, VstInt32 index) {
  AudioEffect* self = Instance(e);
  return self ? self->getParameter(index) : 0.0f;
}
void AudioEffect::processEffect(AEffect*, float**, float**, VstInt32) {
  // The accumulating process is deprecated; adding nothing is its correct no-op.
}
void AudioEffect::processReplacingEffect(AEffect* e, float** inputs, float** outputs,
                                         VstInt32 frames) {
  if (AudioEffect* self = Instance(e)) self->processReplacing(inputs, outputs, frames);
}
void AudioEffect::processDoubleReplacingEffect(AEffect* e, double** inputs, double** outputs,
                                               VstInt32 frames) {
  if (AudioEffect* self = Instance(e)) self->processDoubleReplacing(inputs, outputs, frames);
}
