// Soravel.vst3's module: its entry points and the factory of its two classes, the
// audio effect and its edit controller.
#include <atomic>
#include <cstring>
#include <iterator>
#include <new>

#include "formats/vst3/class_ids.h"
#include "formats/vst3/controller.h"
#include "formats/vst3/processor.h"
#include "formats/vst3/text16.h"
#include "plugin/text.h"
#include "soravel_product.h"

namespace vst3 {

namespace {

struct TClass {
  const TUID* cid;
  const char* category;
  const char* name;
  const char* subCategories;
};

const TClass kClasses[] = {
    {&kProcessorUid, kVstAudioEffectClass, SORAVEL_PRODUCT, "Fx|Reverb"},
    {&kControllerUid, kVstComponentControllerClass, SORAVEL_PRODUCT " Controller", ""},
};
constexpr int32 kNumClasses = static_cast<int32>(std::size(kClasses));

// The interface version these declarations follow.
constexpr const char* kSdkVersion = "VST 3.7.14";

// One factory for the life of the module: counted, never deleted.
class TFactory final : public IPluginFactory3 {
 public:
  tresult queryInterface(const char* iid, void** obj) override {
    if (!iid || !obj) return kInvalidArgument;
    if (SameUid(iid, FUnknown::iid) || SameUid(iid, IPluginFactory::iid) ||
        SameUid(iid, IPluginFactory2::iid) || SameUid(iid, IPluginFactory3::iid)) {
      *obj = static_cast<IPluginFactory3*>(this);
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 addRef() override { return refs.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 release() override { return refs.fetch_sub(1, std::memory_order_relaxed) - 1; }

  tresult getFactoryInfo(PFactoryInfo* info) override {
    if (!info) return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    CopyText(info->vendor, SORAVEL_VENDOR, sizeof info->vendor);
    CopyText(info->url, "https://" SORAVEL_VENDOR_HOST, sizeof info->url);
    info->flags = PFactoryInfo::kUnicode;
    return kResultOk;
  }
  int32 countClasses() override { return kNumClasses; }
  tresult getClassInfo(int32 index, PClassInfo* info) override {
    const TClass* c = Begin(index, info);
    if (!c) return kInvalidArgument;
    CopyText(info->name, c->name, sizeof info->name);
    return kResultOk;
  }
  tresult getClassInfo2(int32 index, PClassInfo2* info) override {
    const TClass* c = Begin(index, info);
    if (!c) return kInvalidArgument;
    CopyText(info->name, c->name, sizeof info->name);
    CopyText(info->subCategories, c->subCategories, sizeof info->subCategories);
    CopyText(info->vendor, SORAVEL_VENDOR, sizeof info->vendor);
    CopyText(info->version, SORAVEL_VERSION_TEXT, sizeof info->version);
    CopyText(info->sdkVersion, kSdkVersion, sizeof info->sdkVersion);
    return kResultOk;
  }
  tresult getClassInfoUnicode(int32 index, PClassInfoW* info) override {
    const TClass* c = Begin(index, info);
    if (!c) return kInvalidArgument;
    ToUtf16(c->name, info->name, 64);
    CopyText(info->subCategories, c->subCategories, sizeof info->subCategories);
    ToUtf16(SORAVEL_VENDOR, info->vendor, 64);
    ToUtf16(SORAVEL_VERSION_TEXT, info->version, 64);
    ToUtf16(kSdkVersion, info->sdkVersion, 64);
    return kResultOk;
  }
  // The host's context serves nothing here: each controller gets it in initialize.
  tresult setHostContext(FUnknown*) override { return kResultOk; }

  tresult createInstance(FIDString cid, FIDString iid, void** obj) override {
    if (!cid || !iid || !obj) return kInvalidArgument;
    *obj = nullptr;
    FUnknown* made = nullptr;
    if (SameUid(cid, kProcessorUid))
      made = static_cast<IComponent*>(new (std::nothrow) TProcessor);
    else if (SameUid(cid, kControllerUid))
      made = static_cast<IEditController*>(new (std::nothrow) TController);
    else
      return kNoInterface;
    if (!made) return kOutOfMemory;
    // The host's reference comes from queryInterface; ours goes (and with it an
    // object whose interface the host did not ask for).
    const tresult r = made->queryInterface(iid, obj);
    made->release();
    return r;
  }

 private:
  // The fields the three forms of a class's description share; null for an index
  // or a record the host got wrong.
  template <typename Info>
  static const TClass* Begin(int32 index, Info* info) {
    if (!info || index < 0 || index >= kNumClasses) return nullptr;
    const TClass& c = kClasses[index];
    std::memset(info, 0, sizeof *info);
    std::memcpy(info->cid, c.cid->bytes, 16);
    info->cardinality = PClassInfo::kManyInstances;
    CopyText(info->category, c.category, sizeof info->category);
    return &c;
  }

  std::atomic<uint32> refs{0};
};

TFactory gFactory;

}  // namespace

}  // namespace vst3

#ifdef _WIN32
#define SORAVEL_VST3_EXPORT
#else
#define SORAVEL_VST3_EXPORT __attribute__((visibility("default")))
#endif

// The factory, with one reference for the caller.
extern "C" SORAVEL_VST3_EXPORT vst3::IPluginFactory* GetPluginFactory() {
  vst3::gFactory.addRef();
  return &vst3::gFactory;
}

// Called by hosts after loading and before unloading the module. There is nothing
// to set up or take down: every object is made by the factory and goes with its
// last reference.
#ifdef _WIN32
extern "C" bool InitDll() { return true; }
extern "C" bool ExitDll() { return true; }
#else
extern "C" SORAVEL_VST3_EXPORT bool ModuleEntry(void*) { return true; }
extern "C" SORAVEL_VST3_EXPORT bool ModuleExit() { return true; }
#endif
