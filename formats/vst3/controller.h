#pragma once
// Soravel.vst3's edit controller: the 18 parameters and the program change as
// hosts see them, their texts through the product model, the unit with its
// program list of the 16 factory programs, the controller's copy of the
// component's state, and the editor.
//
// A program change tells the host nothing from inside the call that changed it:
// a host may hold a lock while it sets the program change parameter, and a
// restartComponent from inside that call deadlocks such a host (Ardour 7). The
// controller takes the program's values at once, the processor reports them to
// the host from its next process call (output parameter changes), and a tick on
// the host's GUI thread (its run loop, or Windows' thread timer) sends
// restartComponent(kParamValuesChanged) afterwards, so that a host without an
// open editor shows them too.
//
// Threads: the host calls the controller on its GUI thread; values are atomics, so
// that a host that sets them from elsewhere reads and writes whole values.
#include <atomic>
#include <memory>

#include "engine/param_ids.h"
#include "formats/vst3/com_object.h"
#include "formats/vst3/editor_link.h"
#include "formats/vst3/gui_tick.h"
#include "formats/vst3/meter_source.h"
#include "formats/vst3/vst3_editing.h"

class Editor;

namespace vst3 {

class TView;

class TController final : public TObject<TController, IEditController, IUnitInfo, IConnectionPoint> {
 public:
  TController();
  ~TController();

  tresult queryInterface(const char* iid, void** obj) override;

  tresult initialize(FUnknown* context) override;
  tresult terminate() override;

  tresult setComponentState(IBStream* state) override;
  tresult setState(IBStream* state) override;
  tresult getState(IBStream* state) override;
  int32 getParameterCount() override;
  tresult getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
  tresult getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) override;
  tresult getParamValueByString(ParamID id, char16* string, ParamValue& valueNormalized) override;
  ParamValue normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
  ParamValue plainParamToNormalized(ParamID id, ParamValue plainValue) override;
  ParamValue getParamNormalized(ParamID id) override;
  tresult setParamNormalized(ParamID id, ParamValue value) override;
  tresult setComponentHandler(IComponentHandler* handler) override;
  IPlugView* createView(FIDString name) override;

  int32 getUnitCount() override { return 1; }
  tresult getUnitInfo(int32 unitIndex, UnitInfo& info) override;
  int32 getProgramListCount() override { return 1; }
  tresult getProgramListInfo(int32 listIndex, ProgramListInfo& info) override;
  tresult getProgramName(ProgramListID listId, int32 programIndex, String128 name) override;
  tresult getProgramInfo(ProgramListID listId, int32 programIndex, const char* attributeId,
                         String128 attributeValue) override;
  tresult hasProgramPitchNames(ProgramListID listId, int32 programIndex) override;
  tresult getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                              String128 name) override;
  UnitID getSelectedUnit() override { return kRootUnitId; }
  tresult selectUnit(UnitID unitId) override;
  tresult getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                       UnitID& unitId) override;
  tresult setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) override;

  tresult connect(IConnectionPoint* other) override;
  tresult disconnect(IConnectionPoint* other) override;
  tresult notify(IMessage* message) override;

  // What the editor and its view use (GUI thread).
  Editor& EditorObject() { return *editor; }
  float Value(int index) const;  // normalised, 0 outside 0..17
  void BeginEdit(int index);
  void PerformEdit(int index, ParamValue x);  // the editor's gesture: kept, shown, told
  void EndEdit(int index);
  float Meter(int i);
  // The view that shows the editor, while it does (null: none), for its size requests.
  void SetOpenView(TView* view) { openView = view; }
  TView* OpenView() const { return openView; }
  // Sends a restart the host is owed (see above); from a GUI tick.
  void Tick();

 private:
  void Show(int index, ParamValue x);  // stores the value and moves the editor's control
  void SelectProgram(int k);

  std::atomic<ParamValue> values[kNumParams];
  std::atomic<int32> program{0};
  std::atomic<bool> restartOwed{false};
  TRef<IComponentHandler> handler;
  TRef<IMeterSource> meters;
  TEditorLink link;
  std::unique_ptr<Editor> editor;  // after the link it reads through
  TView* openView = nullptr;
  TGuiTick tick;
};

}  // namespace vst3
