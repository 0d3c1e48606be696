#pragma once

#include <atomic>

#include "plugin/vst2.h"

class AEffEditor;

// First interface level: owns the effect record, answers opcodes 0..24 and
// wraps the host callback. The record's entry functions find the instance
// through its `object` field.
class AudioEffect {
 public:
  AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  AEffect* getAeffect() { return &cEffect; }

  virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt);

  // Switching on and off, rate and block size.
  virtual void open() {}
  virtual void close() {}
  virtual void suspend() {}
  virtual void resume() {}
  virtual void setSampleRate(float rate) { sampleRate = rate; }
  virtual void setBlockSize(VstInt32 frames) { blockSize = frames; }

  virtual void processReplacing(float** inputs, float** outputs, VstInt32 frames);
  virtual void processDoubleReplacing(double** inputs, double** outputs, VstInt32 frames);

  virtual void setParameter(VstInt32, float) {}
  virtual float getParameter(VstInt32) { return 0.0f; }
  // setParameter, then tell the host that the user changed the parameter.
  virtual void setParameterAutomated(VstInt32 index, float value);

  virtual void setProgram(VstInt32 program) { curProgram = program; }
  virtual VstInt32 getProgram() { return curProgram; }
  virtual void setProgramName(const char*) {}
  // Writers of host buffers: `text` holds at least the size each override documents.
  virtual void getProgramName(char* text);
  virtual void getParameterLabel(VstInt32 index, char* label);
  virtual void getParameterDisplay(VstInt32 index, char* text);
  virtual void getParameterName(VstInt32 index, char* text);
  virtual VstInt32 getChunk(void**, bool) { return 0; }
  virtual VstInt32 setChunk(void*, VstInt32, bool) { return 0; }

  // Editor seam: the editor is owned here and destroyed with the instance.
  virtual void setEditor(AEffEditor* newEditor);
  AEffEditor* getEditor() const { return editor; }

  // Host calls. Each answers 0 (1 for the version) when there is no callback.
  virtual VstInt32 getMasterVersion();
  virtual void masterIdle();
  // Asks the host to make the editor's window width x height pixels; its answer.
  virtual bool sizeWindow(VstInt32 width, VstInt32 height);
  virtual bool beginEdit(VstInt32 index);
  virtual bool endEdit(VstInt32 index);

 protected:
  VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);

  // The effect record's entry functions.
  static VstIntPtr dispatchEffect(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
  static void setParameterEffect(AEffect* e, VstInt32 index, float value);
  static float getParameterEffect(AEffect* e, VstInt32 index);
  static void processEffect(AEffect* e, float** inputs, float** outputs, VstInt32 frames);
  static void processReplacingEffect(AEffect* e, float** inputs, float** outputs,
                                     VstInt32 frames);
  static void processDoubleReplacingEffect(AEffect* e, double** inputs, double** outputs,
                                           VstInt32 frames);

  audioMasterCallback audioMaster;
  AEffEditor* editor = nullptr;
  float sampleRate = 44100.0f;
  VstInt32 blockSize = 1024;
  VstInt32 numPrograms;
  VstInt32 numParams;
  // Read by setParameter, which a host may call from its automation thread.
  std::atomic<VstInt32> curProgram{0};
  AEffect cEffect;
};
