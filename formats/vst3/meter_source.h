#pragma once
// The processor's level meters, read by its controller's editor. Not part of VST 3:
// an interface of our own, which the controller finds on the processor when the
// host connects the two directly (both live in this module, in one process). A host
// that connects them through proxies of its own gets an editor without meters.
#include "formats/vst3/vst3_base.h"

namespace vst3 {

class IMeterSource : public FUnknown {
 public:
  // 'QMNL' and "MeterSource" in ASCII.
  static constexpr TUID iid = MakeUid(0x514D4E4C, 0x4D657465, 0x72536F75, 0x72636500);
  // Linear peak level: 0 input left, 1 input right, 2 output left, 3 output right.
  virtual float meterLevel(int32 i) = 0;

 protected:
  ~IMeterSource() = default;
};

}  // namespace vst3
