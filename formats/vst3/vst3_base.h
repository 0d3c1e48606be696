#pragma once
// The VST 3 binary interface, part one: the COM-style object model every VST 3
// interface rests on, the module's factory and the byte stream hosts save state
// through. Our own declarations of the published interface, for 64-bit Linux and
// Windows: vtable order (declaration order, bases first), identifiers and record
// layouts are the binary contract and are checked by static_asserts.
//
// Interfaces have no virtual destructor (it would add vtable slots): an object
// goes when release() drops its last reference.
#include <cstddef>
#include <cstdint>

static_assert(sizeof(void*) == 8, "the VST 3 declarations are written for 64-bit targets");

namespace vst3 {

using int8 = char;
using int16 = int16_t;
using int32 = int32_t;
using int64 = int64_t;
using uint32 = uint32_t;
using uint64 = uint64_t;
using TBool = uint8_t;
using char16 = char16_t;
using tresult = int32_t;
using FIDString = const char*;  // an identifier or category as a C string

// Result codes. Windows hosts speak COM's numbers; Linux hosts small integers.
#ifdef _WIN32
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// A 16-byte class or interface identifier, passed as a pointer to its bytes.
// It is written as four 32-bit words; Windows lays the first eight bytes out as a
// COM GUID does (a little-endian 32-bit word, then two 16-bit ones), other
// systems keep the bytes in the order the words are written.
struct TUID {
  char bytes[16];
};

constexpr TUID MakeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  TUID u{};
  const auto byte = [](uint32 w, int shift) { return static_cast<char>((w >> shift) & 0xff); };
#ifdef _WIN32
  const int first[8][2] = {{0, 0}, {0, 8}, {0, 16}, {0, 24}, {1, 16}, {1, 24}, {1, 0}, {1, 8}};
#else
  const int first[8][2] = {{0, 24}, {0, 16}, {0, 8}, {0, 0}, {1, 24}, {1, 16}, {1, 8}, {1, 0}};
#endif
  const uint32 words[2] = {l1, l2};
  for (int i = 0; i < 8; ++i) u.bytes[i] = byte(words[first[i][0]], first[i][1]);
  for (int i = 0; i < 4; ++i) {
    u.bytes[8 + i] = byte(l3, 24 - 8 * i);
    u.bytes[12 + i] = byte(l4, 24 - 8 * i);
  }
  return u;
}

inline bool SameUid(const char* a, const TUID& b) {
  if (!a) return false;
  for (int i = 0; i < 16; ++i)
    if (a[i] != b.bytes[i]) return false;
  return true;
}

class FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
  // `iid` points to 16 identifier bytes. On success *obj is the interface, with one
  // more reference; otherwise *obj is null and the answer kNoInterface.
  virtual tresult queryInterface(const char* iid, void** obj) = 0;
  virtual uint32 addRef() = 0;   // answers the new count
  virtual uint32 release() = 0;  // answers the new count; at 0 the object is gone

 protected:
  ~FUnknown() = default;
};

// What a component and a controller have in common: a host context in, and out.
class IPluginBase : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
  virtual tresult initialize(FUnknown* context) = 0;
  virtual tresult terminate() = 0;

 protected:
  ~IPluginBase() = default;
};

// The module's factory and what it tells about itself and its classes.
struct PFactoryInfo {
  enum : int32 { kUnicode = 1 << 4 };  // the classes' texts are UTF-16
  char vendor[64];
  char url[256];
  char email[128];
  int32 flags;
};

struct PClassInfo {
  enum : int32 { kManyInstances = 0x7FFFFFFF };
  char cid[16];
  int32 cardinality;
  char category[32];
  char name[64];
};

struct PClassInfo2 {
  char cid[16];
  int32 cardinality;
  char category[32];
  char name[64];
  uint32 classFlags;
  char subCategories[128];
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};

struct PClassInfoW {
  char cid[16];
  int32 cardinality;
  char category[32];
  char16 name[64];
  uint32 classFlags;
  char subCategories[128];
  char16 vendor[64];
  char16 version[64];
  char16 sdkVersion[64];
};

class IPluginFactory : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
  virtual tresult getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32 countClasses() = 0;
  virtual tresult getClassInfo(int32 index, PClassInfo* info) = 0;
  // cid and iid point to 16 identifier bytes each.
  virtual tresult createInstance(FIDString cid, FIDString iid, void** obj) = 0;

 protected:
  ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
 public:
  static constexpr TUID iid = MakeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
  virtual tresult getClassInfo2(int32 index, PClassInfo2* info) = 0;

 protected:
  ~IPluginFactory2() = default;
};

class IPluginFactory3 : public IPluginFactory2 {
 public:
  static constexpr TUID iid = MakeUid(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
  virtual tresult getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
  virtual tresult setHostContext(FUnknown* context) = 0;

 protected:
  ~IPluginFactory3() = default;
};

// A host's byte stream (state is read and written through it).
class IBStream : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
  enum : int32 { kIBSeekSet = 0, kIBSeekCur, kIBSeekEnd };
  virtual tresult read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult tell(int64* pos) = 0;

 protected:
  ~IBStream() = default;
};

class IMessage;  // never read here

// Two objects of a plug-in that the host introduces to each other.
class IConnectionPoint : public FUnknown {
 public:
  static constexpr TUID iid = MakeUid(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
  virtual tresult connect(IConnectionPoint* other) = 0;
  virtual tresult disconnect(IConnectionPoint* other) = 0;
  virtual tresult notify(IMessage* message) = 0;

 protected:
  ~IConnectionPoint() = default;
};

static_assert(sizeof(TUID) == 16);
static_assert(sizeof(PFactoryInfo) == 452 && offsetof(PFactoryInfo, flags) == 448);
static_assert(sizeof(PClassInfo) == 116 && offsetof(PClassInfo, name) == 52);
static_assert(sizeof(PClassInfo2) == 440);
static_assert(offsetof(PClassInfo2, classFlags) == 116 && offsetof(PClassInfo2, subCategories) == 120);
static_assert(offsetof(PClassInfo2, vendor) == 248 && offsetof(PClassInfo2, sdkVersion) == 376);
static_assert(sizeof(PClassInfoW) == 696);
static_assert(offsetof(PClassInfoW, name) == 52 && offsetof(PClassInfoW, classFlags) == 180);
static_assert(offsetof(PClassInfoW, subCategories) == 184 && offsetof(PClassInfoW, vendor) == 312);
static_assert(offsetof(PClassInfoW, sdkVersion) == 568);

}  // namespace vst3
