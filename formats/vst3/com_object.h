#pragma once
// What every VST 3 object of ours shares: its reference count and the way it
// answers queryInterface. An object is made with one reference, which goes to the
// host or the maker; release() deletes it when the last one goes.
#include <atomic>

#include "formats/vst3/vst3_base.h"

namespace vst3 {

// Self: the final class; Interfaces: what it implements, in its base order.
template <class Self, class... Interfaces>
class TObject : public Interfaces... {
 public:
  uint32 addRef() override { return refs.fetch_add(1, std::memory_order_relaxed) + 1; }
  uint32 release() override {
    const uint32 left = refs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Self*>(this);
    return left;
  }

 protected:
  TObject() = default;
  ~TObject() = default;

  // Answers queryInterface for interface I when `iid` names it: I reached through
  // Via, the base that leads to it (an interface several bases share, FUnknown).
  template <class I, class Via = I>
  bool Answer(const char* iid, void** obj) {
    if (!SameUid(iid, I::iid)) return false;
    *obj = static_cast<I*>(static_cast<Via*>(static_cast<Self*>(this)));
    addRef();
    return true;
  }
  // The end of a queryInterface: nothing else is implemented.
  static tresult NoInterface(void** obj) {
    if (obj) *obj = nullptr;
    return kNoInterface;
  }

 private:
  std::atomic<uint32> refs{1};
};

// Holds one reference to a host's object for as long as it is kept.
template <class I>
class TRef {
 public:
  TRef() = default;
  explicit TRef(I* p) { Reset(p); }
  ~TRef() { Reset(nullptr); }
  TRef(const TRef&) = delete;
  TRef& operator=(const TRef&) = delete;

  void Reset(I* p) {
    if (p) p->addRef();
    I* old = ptr;
    ptr = p;
    if (old) old->release();
  }
  // The interface I of `object`, when it has one (queryInterface's reference is kept).
  void Query(FUnknown* object) {
    Reset(nullptr);
    void* found = nullptr;
    if (object && object->queryInterface(I::iid.bytes, &found) == kResultOk && found)
      ptr = static_cast<I*>(found);
  }
  I* get() const { return ptr; }
  I* operator->() const { return ptr; }
  explicit operator bool() const { return ptr != nullptr; }

 private:
  I* ptr = nullptr;
};

}  // namespace vst3
