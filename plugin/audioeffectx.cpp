#include "plugin/audioeffectx.h"

#include "plugin/aeffeditor.h"

namespace {
constexpr VstInt32 kContentScaleIndex = 0x50726553;       // 'PreS'
constexpr VstIntPtr kContentScaleValue = 0x41654373;  // 'AeCs'
}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  switch (opcode) {
    case effProcessEvents: processEvents(ptr); return 1;
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
      return ptr && string2parameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProgramNameIndexed:
      return ptr && getProgramNameIndexed(static_cast<VstInt32>(value), index,
                                          static_cast<char*>(ptr))
                 ? 1
                 : 0;
    case effGetInputProperties:
      return ptr && getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
      return ptr && getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory: return getPlugCategory();
    case effGetEffectName: return ptr && getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString: return ptr && getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString: return ptr && getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effCanDo: return ptr ? canDo(static_cast<const char*>(ptr)) : -1;
    case effGetTailSize: return getTailSize();
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
      if (!editor) return 0;
      VstKeyCode key{index, static_cast<unsigned char>(value), static_cast<unsigned char>(opt)};
      const int handled = opcode == effEditKeyDown ? editor->keyDown(key) : editor->keyUp(key);
      return handled ? 1 : 0;
    }
    case effVendorSpecific:
      // A host's content scale: index 'PreS', value 'AeCs', the factor in opt.
      if (index == kContentScaleIndex && value == kContentScaleValue)
        return editor && editor->setContentScale(opt) ? 1 : 0;
      return 0;
    case effSetEditKnobMode:
      return editor && editor->setKnobMode(static_cast<int>(value)) ? 1 : 0;
    case effGetCurrentMidiProgram: return -1;
    case effBeginSetProgram: beginSetProgram(); return 0;
    case effEndSetProgram: endSetProgram(); return 0;
    case effGetSpeakerArrangement:
      // Both are the host's pointer variables; either may be missing.
      if (value) *reinterpret_cast<void**>(value) = nullptr;
      if (ptr) *static_cast<void**>(ptr) = nullptr;
      return 0;
    case effSetTotalSampleToProcess: return value;
    case effOfflineNotify:
    case effOfflinePrepare:
    case effOfflineRun:
    case effProcessVarIo:
    case effSetSpeakerArrangement:
    case effSetBypass:
    case effGetParameterProperties:
    case effGetMidiProgramName:
    case effGetMidiProgramCategory:
    case effHasMidiProgramsChanged:
    case effGetMidiKeyName:
    case effShellGetNextPlugin:
    case effStartProcess:
    case effStopProcess:
    case effSetPanLaw:
    case effBeginLoadBank:
    case effBeginLoadProgram:
    case effSetProcessPrecision:
    case effGetNumMidiInputChannels:
    case effGetNumMidiOutputChannels: return 0;
    default:
      if (opcode >= effProcessEvents) return 0;  // the other extended opcodes
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}

bool AudioEffectX::wantEvents(VstInt32 filter) {
  return callHost(audioMasterWantMidi, 0, filter) != 0;
}
