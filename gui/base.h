#pragma once
// Reference-counted base of every framework object.
// An object starts with count 1; retain adds one, release removes one and deletes the
// object when the count was 1. notify answers kMessageUnknown (0) or kMessageNotified (1).
#include <cstdint>

enum CMessageResult : int32_t { kMessageUnknown = 0, kMessageNotified = 1 };

// Message constants are compared by pointer identity.
extern const char* const kMsgCheckIfViewContainer;
extern const char* const kMsgLooseFocus;
extern const char* const kMsgTimerFired;

class CBaseObject {
 public:
  CBaseObject() = default;
  CBaseObject(const CBaseObject&) : refCount_(1) {}
  CBaseObject& operator=(const CBaseObject&) = delete;
  virtual ~CBaseObject() = default;
  virtual void release() {
    if (refCount_-- == 1) delete this;
  }
  virtual void retain() { ++refCount_; }
  virtual CMessageResult notify(CBaseObject* /*sender*/, const char* /*message*/) {
    return kMessageUnknown;
  }
  int32_t refCount() const { return refCount_; }

 private:
  int32_t refCount_ = 1;
};
