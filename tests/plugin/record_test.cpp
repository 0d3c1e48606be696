// The effect record and the constant answers of the dispatcher, as a host sees them.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/native_path.h"
#include "tests/support/vst2/host_log.h"
#include "tests/support/vst2/library.h"
#include "tests/support/vst2/plugin.h"

#ifdef _WIN32
#include <windows.h>
#endif

TEST(Entry, BothExportNamesAreTheSameFunction) {
  const PluginLibrary& lib = PluginLibrary::Get();
  ASSERT_TRUE(lib.error.empty()) << lib.error;
  ASSERT_NE(lib.main, nullptr);
  EXPECT_EQ(lib.main, lib.vstPluginMain);
}

TEST(Entry, HostAnsweringZeroToVersionGetsNothing) {
  Log().Clear();
  Log().versionAnswer = 0;
  EXPECT_EQ(PluginLibrary::Get().vstPluginMain(HostCallback), nullptr);
  EXPECT_EQ(Log().versionCalls, 1);
  EXPECT_EQ(PluginLibrary::Get().vstPluginMain(nullptr), nullptr);
  Log().Clear();
}

TEST(Record, FieldsAfterCreation) {
  Plugin p;
  const AEffect& e = *p.effect();
  EXPECT_EQ(e.magic, 0x56737450);
  EXPECT_EQ(e.numPrograms, 16);
  EXPECT_EQ(e.numParams, 18);
  EXPECT_EQ(e.numInputs, 2);
  EXPECT_EQ(e.numOutputs, 2);
  EXPECT_EQ(e.flags, effFlagsCanReplacing | effFlagsHasEditor);
  EXPECT_EQ(e.initialDelay, 0);
  EXPECT_EQ(e.ioRatio, 1.0f);
  EXPECT_EQ(e.uniqueID, 0x514D4E4C);
  EXPECT_EQ(e.version, 1);
  EXPECT_EQ(e.resvd1, 0);
  EXPECT_EQ(e.resvd2, 0);
  EXPECT_EQ(e.user, nullptr);
  EXPECT_NE(e.object, nullptr);
  EXPECT_NE(e.dispatcher, nullptr);
  EXPECT_NE(e.process, nullptr);
  EXPECT_NE(e.processReplacing, nullptr);
  EXPECT_NE(e.processDoubleReplacing, nullptr);
  for (char c : e.future) EXPECT_EQ(c, 0);
  EXPECT_EQ(p.Dispatch(effGetProgram), 0);
  EXPECT_EQ(p.ProgramName(), "Default");
}

TEST(Record, TwoInstancesAreIndependent) {
  Plugin a, b;
  a.Set(9, 0.1f);
  EXPECT_FLOAT_EQ(a.Get(9), 0.1f);
  EXPECT_FLOAT_EQ(b.Get(9), 0.5f);
}

TEST(Dispatcher, ConstantAnswers) {
  Plugin p;
  EXPECT_EQ(p.Dispatch(effOpen), 0);
  EXPECT_EQ(p.Dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(p.Dispatch(effGetVendorVersion), 420);
  EXPECT_EQ(p.Dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(p.Dispatch(effGetPlugCategory), kPlugCategRoomFx);
  EXPECT_EQ(p.Dispatch(effGetTailSize), 0);
  EXPECT_EQ(p.Dispatch(effGetCurrentMidiProgram), -1);
  EXPECT_EQ(p.Dispatch(effSetTotalSampleToProcess, 0, 123456), 123456);
  EXPECT_EQ(p.Dispatch(effProcessEvents), 1);
  EXPECT_EQ(p.Dispatch(effString2Parameter, 0, 0, const_cast<char*>("1")), 0);
  for (int i = -1; i < 20; ++i) EXPECT_EQ(p.Dispatch(effCanBeAutomated, i), 1);
  const VstInt32 zero[] = {effOfflineNotify, effOfflinePrepare, effOfflineRun, effProcessVarIo,
                           effSetSpeakerArrangement, effSetBypass, effVendorSpecific,
                           effGetParameterProperties, effGetMidiProgramName,
                           effGetMidiProgramCategory, effHasMidiProgramsChanged,
                           effGetMidiKeyName, effBeginSetProgram, effEndSetProgram,
                           effShellGetNextPlugin, effStartProcess, effStopProcess, effSetPanLaw,
                           effBeginLoadBank, effBeginLoadProgram, effSetProcessPrecision,
                           effGetNumMidiInputChannels, effGetNumMidiOutputChannels,
                           // deprecated and unknown opcodes
                           effGetVu, effEditDraw, effEditMouse, effEditKey, effEditTop,
                           effEditSleep, effGetNumProgramCategories, effCopyProgram,
                           effGetIcon, effKeysRequired, 80, 1000, -1};
  for (VstInt32 op : zero) EXPECT_EQ(p.Dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
}

TEST(Dispatcher, NamesOfTheEffect) {
  Plugin p;
  char buf[64];
  EXPECT_EQ(p.Dispatch(effGetEffectName, 0, 0, buf), 1);
  EXPECT_STREQ(buf, "Soravel");
  EXPECT_EQ(p.Dispatch(effGetProductString, 0, 0, buf), 1);
  EXPECT_STREQ(buf, "Soravel");
  EXPECT_EQ(p.Dispatch(effGetVendorString, 0, 0, buf), 1);
  EXPECT_STREQ(buf, "Quellmark");
}

TEST(Dispatcher, CanDo) {
  Plugin p;
  for (const char* yes : {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents",
                          "receiveVstMidiEvent", "receiveVstTimeInfo"})
    EXPECT_EQ(p.Dispatch(effCanDo, 0, 0, const_cast<char*>(yes)), 1) << yes;
  for (const char* no :
       {"sendVstTimeInfo", "offline", "plugAsChannelInsert", "plugAsSend", "mixDryWet",
        "noRealTime", "multipass", "metapass", "1in1out", "1in2out", "2in1out", "2in2out",
        "2in4out", "4in2out", "4in4out", "4in8out", "8in4out", "8in8out", "midiProgramNames",
        "conformsToWindowRules", "", "receiveVstTimeInf", "receiveVstTimeInfo ", "bypass"})
    EXPECT_EQ(p.Dispatch(effCanDo, 0, 0, const_cast<char*>(no)), -1) << no;
  EXPECT_EQ(p.Dispatch(effCanDo, 0, 0, nullptr), -1);
}

TEST(Dispatcher, Pins) {
  Plugin p;
  const struct {
    VstInt32 op;
    int index;
    const char* label;
    const char* shortLabel;
  } pins[] = {{effGetInputProperties, 0, "Left input", "L in"},
              {effGetInputProperties, 1, "Right input", "R in"},
              {effGetOutputProperties, 0, "Left output", "L out"},
              {effGetOutputProperties, 1, "Right output", "R out"}};
  for (const auto& pin : pins) {
    VstPinProperties props;
    std::memset(&props, 0x5A, sizeof props);
    EXPECT_EQ(p.Dispatch(pin.op, pin.index, 0, &props), 1);
    EXPECT_STREQ(props.label, pin.label);
    EXPECT_STREQ(props.shortLabel, pin.shortLabel);
    EXPECT_EQ(props.flags, kVstPinIsActive | kVstPinIsStereo);
    EXPECT_EQ(props.arrangementType, 0x5A5A5A5A);  // left as the host passed it
    for (char c : props.future) EXPECT_EQ(c, 0x5A);
  }
  for (VstInt32 op : {effGetInputProperties, effGetOutputProperties}) {
    VstPinProperties props;
    std::memset(&props, 0x5A, sizeof props);
    EXPECT_EQ(p.Dispatch(op, 2, 0, &props), 0);
    EXPECT_EQ(p.Dispatch(op, -1, 0, &props), 0);
    EXPECT_EQ(props.label[0], 0x5A);
    EXPECT_EQ(p.Dispatch(op, 0, 0, nullptr), 0);
  }
}

TEST(Dispatcher, ChunksAndArrangements) {
  Plugin p;
  void* chunk = &p;
  EXPECT_EQ(p.Dispatch(effGetChunk, 0, 0, &chunk), 0);
  EXPECT_EQ(chunk, &p);
  char junk[16] = "junk";
  EXPECT_EQ(p.Dispatch(effSetChunk, 0, sizeof junk, junk), 0);
  EXPECT_EQ(p.Get(3), 0.955f);

  void* in = &p;
  void* out = &p;
  EXPECT_EQ(p.Dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
  EXPECT_EQ(in, nullptr);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(p.Dispatch(effGetSpeakerArrangement, 0, 0, nullptr), 0);  // no pointers: no crash
}

// Both binaries' editors answer their rectangle before any window exists.
TEST(Dispatcher, EditorRectangleBeforeOpening) {
  Plugin p;
  ERect* rect = nullptr;
  EXPECT_EQ(p.Dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, 773);
  EXPECT_EQ(rect->bottom - rect->top, 491);
  EXPECT_EQ(p.Dispatch(effEditGetRect, 0, 0, nullptr), 0);
  EXPECT_EQ(p.Dispatch(effEditIdle), 0);  // closed: nothing to do
  EXPECT_EQ(p.Dispatch(effEndSetProgram), 0);
  EXPECT_EQ(p.Dispatch(effSetEditKnobMode, 0, 2), 1);
}

TEST(Dispatcher, NullTextPointersAreRefused) {
  Plugin p;
  const VstInt32 ops[] = {effSetProgramName, effGetProgramName, effGetParamLabel,
                          effGetParamDisplay, effGetParamName, effGetProgramNameIndexed,
                          effGetEffectName, effGetVendorString, effGetProductString};
  for (VstInt32 op : ops)
    EXPECT_EQ(p.Dispatch(op, 0, 0, nullptr), 0) << "opcode " << op;
  EXPECT_EQ(p.ProgramName(), "Default");
}

TEST(Dispatcher, ResumeAsksForEventsAndSuspendDoesNot) {
  Plugin p;
  Log().Clear();
  p.Dispatch(effMainsChanged, 0, 1);
  EXPECT_EQ(Log().wantMidi, 1);
  p.Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(Log().wantMidi, 1);
  p.Dispatch(effMainsChanged, 0, 7);  // any nonzero value switches on
  EXPECT_EQ(Log().wantMidi, 2);
}

TEST(Dispatcher, DoubleProcessingWritesSilence) {
  Plugin p;
  double l[4] = {1, 2, 3, 4}, r[4] = {1, 2, 3, 4};
  double* in[2] = {l, r};
  double* out[2] = {l, r};
  p.effect()->processDoubleReplacing(p.effect(), in, out, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(l[i] + r[i], 0.0);
}

#ifdef _WIN32
TEST(Binary, VersionResource) {
  const std::string path = NativePath(SORAVEL_PLUGIN_PATH);
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &len));
  EXPECT_EQ(info->dwFileVersionMS, (4u << 16) | 3u);
  EXPECT_EQ(info->dwFileVersionLS, (0u << 16) | 8u);
  EXPECT_EQ(info->dwProductVersionMS, (4u << 16) | 3u);
  EXPECT_EQ(info->dwProductVersionLS, (0u << 16) | 8u);
  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&text), &len));
  EXPECT_STREQ(text, "Soravel");
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904B0\\CompanyName",
                             reinterpret_cast<void**>(&text), &len));
  EXPECT_STREQ(text, "Quellmark");
}
#endif
