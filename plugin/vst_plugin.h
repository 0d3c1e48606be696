#pragma once

#include "engine/reverb.h"
#include "plugin/audioeffectx.h"
#include "plugin/program.h"
#include "soravel_product.h"

// Soravel as the host sees it: the program bank, its parameters and the engine.
class VstPlugin : public AudioEffectX {
 public:
  static constexpr VstInt32 kUniqueId = SORAVEL_VST_UNIQUE_ID;  // 'QMNL'
  static constexpr VstInt32 kVendorVersion = SORAVEL_VST_VENDOR_VERSION;

  explicit VstPlugin(audioMasterCallback audioMaster);
  ~VstPlugin() override;

  void suspend() override;
  void resume() override;
  void setSampleRate(float rate) override;
  void setBlockSize(VstInt32 frames) override;
  void processReplacing(float** inputs, float** outputs, VstInt32 frames) override;

  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void setProgram(VstInt32 program) override;
  void setProgramName(const char* name) override;
  void getProgramName(char* text) override;                          // 24 bytes
  void getParameterLabel(VstInt32 index, char* label) override;      // kParamLabelBytes
  void getParameterDisplay(VstInt32 index, char* text) override;     // kParamDisplayBytes
  void getParameterName(VstInt32 index, char* text) override;        // kParamNameBytes
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  bool endSetProgram() override;
  bool getInputProperties(VstInt32 index, VstPinProperties* pin) override;
  bool getOutputProperties(VstInt32 index, VstPinProperties* pin) override;
  VstInt32 processEvents(void* events) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override { return kVendorVersion; }
  VstInt32 canDo(const char* text) override;
  VstPlugCategory getPlugCategory() override { return kPlugCategRoomFx; }

  // The current program's record for the editor; null outside 0..17.
  TParam* CurrentParam(int index);
  // Peak levels for the editor's meter (0, 1 input; 2, 3 output).
  float Meter(int i) const { return reverb.Meter(i); }

 private:
  TProgram& Current() { return programs[curProgram.load(std::memory_order_relaxed)]; }
  // Hands the record's value to the engine and the editor.
  void Apply(int index, const TParam& param);

  TProgram programs[kNumPrograms];
  const char* effectName = SORAVEL_PRODUCT;
  const char* vendorName = SORAVEL_VENDOR;
  TReverb reverb;
};
