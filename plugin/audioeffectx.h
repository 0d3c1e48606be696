#pragma once

#include "plugin/audioeffect.h"

// Second interface level: answers opcodes 25..79 and passes the rest down.
class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;

  virtual VstInt32 processEvents(void*) { return 0; }
  virtual bool canParameterBeAutomated(VstInt32) { return true; }
  virtual bool string2parameter(VstInt32, char*) { return false; }
  // `text` holds kVstMaxProgNameLen bytes.
  virtual bool getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
  virtual bool getInputProperties(VstInt32, VstPinProperties*) { return false; }
  virtual bool getOutputProperties(VstInt32, VstPinProperties*) { return false; }
  virtual VstPlugCategory getPlugCategory() { return kPlugCategUnknown; }
  virtual bool getEffectName(char*) { return false; }
  virtual bool getVendorString(char*) { return false; }
  virtual bool getProductString(char*) { return false; }
  virtual VstInt32 getVendorVersion() { return 0; }
  // 1 yes, -1 no, 0 undecided.
  virtual VstInt32 canDo(const char*) { return 0; }
  virtual VstInt32 getTailSize() { return 0; }
  virtual VstInt32 getVstVersion() { return kVstVersion; }
  virtual bool beginSetProgram() { return false; }
  virtual bool endSetProgram() { return false; }

  // Host call: asks for events before processing.
  virtual bool wantEvents(VstInt32 filter = 1);
};
