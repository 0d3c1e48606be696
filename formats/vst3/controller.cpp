#include "formats/vst3/controller.h"

#include <cstring>
#include <new>

#include "editor/editor.h"
#include "formats/vst3/params.h"
#include "formats/vst3/state.h"
#include "formats/vst3/text16.h"
#include "formats/vst3/view.h"
#include "plugin/program.h"

namespace vst3 {

namespace {
// How soon a restart the host is owed goes out.
constexpr uint32_t kTickMs = 50;
void TickController(void* c) { static_cast<TController*>(c)->Tick(); }
}  // namespace

TController::TController() : link(this), editor(new Editor(&link)), tick(TickController, this) {
  for (int i = 0; i < kNumParams; ++i) values[i].store(DefaultNormalized(i), std::memory_order_relaxed);
}

TController::~TController() { terminate(); }

tresult TController::queryInterface(const char* iid, void** obj) {
  if (!iid || !obj) return NoInterface(obj);
  if (Answer<FUnknown, IEditController>(iid, obj) || Answer<IPluginBase, IEditController>(iid, obj) ||
      Answer<IEditController>(iid, obj) || Answer<IUnitInfo>(iid, obj) ||
      Answer<IConnectionPoint>(iid, obj))
    return kResultOk;
  return NoInterface(obj);
}

tresult TController::initialize(FUnknown* context) {
  // Linux: the host context's run loop, if it offers one (else the editor's frame's,
  // while it is open); Windows: the thread timer.
  tick.Start(context, kTickMs);
  return kResultOk;
}

tresult TController::terminate() {
  tick.Stop();
  editor->close();
  handler.Reset(nullptr);
  meters.Reset(nullptr);
  return kResultOk;
}

void TController::Show(int index, ParamValue x) {
  values[index].store(x, std::memory_order_relaxed);
  editor->setParameter(index, static_cast<float>(x));
}

void TController::SelectProgram(int k) {
  program.store(k, std::memory_order_relaxed);
  for (int i = 0; i < kNumParams; ++i) Show(i, ProgramNormalized(k, i));
  restartOwed.store(true, std::memory_order_release);
}

void TController::Tick() {
  if (!restartOwed.exchange(false, std::memory_order_acq_rel)) return;
  if (handler) handler->restartComponent(kParamValuesChanged);
}

tresult TController::setComponentState(IBStream* stream) {
  TStateRecord record;
  if (!ReadState(stream, record)) return kResultFalse;
  program.store(static_cast<int32>(record.program), std::memory_order_relaxed);
  for (int i = 0; i < kNumParams; ++i) Show(i, Kept(i, record.values[i]));
  return kResultOk;
}

// The controller keeps nothing of its own: its whole state is the component's.
tresult TController::setState(IBStream*) { return kResultOk; }
tresult TController::getState(IBStream*) { return kResultOk; }

int32 TController::getParameterCount() { return kNumParamIds; }

tresult TController::getParameterInfo(int32 index, ParameterInfo& info) {
  return FillParameterInfo(index, info) ? kResultOk : kInvalidArgument;
}

tresult TController::getParamStringByValue(ParamID id, ParamValue x, String128 string) {
  if (!string) return kInvalidArgument;
  return DisplayText(id, x, string) ? kResultOk : kInvalidArgument;
}

tresult TController::getParamValueByString(ParamID id, char16* string, ParamValue& x) {
  if (!string) return kInvalidArgument;
  return ParseText(id, string, x) ? kResultOk : kInvalidArgument;
}

ParamValue TController::normalizedParamToPlain(ParamID id, ParamValue x) { return ToPlain(id, x); }

ParamValue TController::plainParamToNormalized(ParamID id, ParamValue plain) {
  return FromPlain(id, plain);
}

ParamValue TController::getParamNormalized(ParamID id) {
  if (id == kProgramChangeId) return ProgramToNormalized(program.load(std::memory_order_relaxed));
  return IsParameter(id) ? values[id].load(std::memory_order_relaxed) : 0.0;
}

tresult TController::setParamNormalized(ParamID id, ParamValue x) {
  if (!ValidNormalized(x)) return kResultFalse;  // out of range and NaN: ignored
  if (id == kProgramChangeId) {
    SelectProgram(NormalizedToProgram(x));  // nothing reaches the host from here
    return kResultOk;
  }
  if (!IsParameter(id)) return kResultFalse;
  Show(static_cast<int>(id), Kept(static_cast<int>(id), x));
  return kResultOk;
}

tresult TController::setComponentHandler(IComponentHandler* h) {
  handler.Reset(h);
  return kResultOk;
}

IPlugView* TController::createView(FIDString name) {
  if (!name || std::strcmp(name, kViewTypeEditor) != 0) return nullptr;
  return new (std::nothrow) TView(this);
}

tresult TController::getUnitInfo(int32 index, UnitInfo& info) {
  if (index != 0) return kInvalidArgument;
  std::memset(&info, 0, sizeof info);
  info.id = kRootUnitId;
  info.parentUnitId = kNoParentUnitId;
  ToUtf16("Root", info.name, 128);
  info.programListId = kFactoryListId;
  return kResultOk;
}

tresult TController::getProgramListInfo(int32 index, ProgramListInfo& info) {
  if (index != 0) return kInvalidArgument;
  std::memset(&info, 0, sizeof info);
  info.id = kFactoryListId;
  ToUtf16("Factory Programs", info.name, 128);
  info.programCount = kNumPrograms;
  return kResultOk;
}

tresult TController::getProgramName(ProgramListID listId, int32 k, String128 name) {
  if (listId != kFactoryListId || k < 0 || k >= kNumPrograms || !name) return kInvalidArgument;
  ToUtf16(kFactoryProgramNames[k], name, 128);
  return kResultOk;
}

tresult TController::getProgramInfo(ProgramListID, int32, const char*, String128) { return kResultFalse; }
tresult TController::hasProgramPitchNames(ProgramListID, int32) { return kResultFalse; }
tresult TController::getProgramPitchName(ProgramListID, int32, int16, String128) { return kResultFalse; }

tresult TController::selectUnit(UnitID unitId) {
  return unitId == kRootUnitId ? kResultOk : kInvalidArgument;
}

tresult TController::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID& unitId) {
  unitId = kRootUnitId;
  return kResultOk;
}

tresult TController::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

tresult TController::connect(IConnectionPoint* other) {
  if (!other) return kInvalidArgument;
  meters.Query(other);  // our own processor's meters, when the host connects us directly
  return kResultOk;
}

tresult TController::disconnect(IConnectionPoint*) {
  meters.Reset(nullptr);
  return kResultOk;
}

tresult TController::notify(IMessage*) { return kResultFalse; }

float TController::Value(int index) const {
  return index >= 0 && index < kNumParams
             ? static_cast<float>(values[index].load(std::memory_order_relaxed))
             : 0.0f;
}

void TController::BeginEdit(int index) {
  if (handler && index >= 0 && index < kNumParams) handler->beginEdit(static_cast<ParamID>(index));
}

void TController::PerformEdit(int index, ParamValue x) {
  if (index < 0 || index >= kNumParams || !ValidNormalized(x)) return;
  const ParamValue kept = Kept(index, x);
  Show(index, kept);  // hosts need not echo an edit back
  if (handler) handler->performEdit(static_cast<ParamID>(index), kept);
}

void TController::EndEdit(int index) {
  if (handler && index >= 0 && index < kNumParams) handler->endEdit(static_cast<ParamID>(index));
}

float TController::Meter(int i) { return meters && i >= 0 && i < 4 ? meters->meterLevel(i) : 0.0f; }

}  // namespace vst3
