#pragma once
// The points of a block's parameter change queues, taken in the order of their
// sample offsets, so that the processor can split the block at each one.
//
// Only Soravel's ids are read (the parameters and the program change), and only
// points with a value in 0..1; at most kMaxQueues queues, the host's first ones.
// An offset before the block counts as 0, one beyond it as the block's end (it
// holds from the next block on). Points of one queue are taken in its order,
// queues at the same offset in theirs.
#include "formats/vst3/vst3_processing.h"

namespace vst3 {

class TQueueWalk {
 public:
  static constexpr int kMaxQueues = 64;

  TQueueWalk(IParameterChanges* changes, int32 frames);

  // The offset of the next point not yet taken; the block's length when none is left.
  int32 NextOffset() const;
  // Hands every point not yet taken whose offset is at most `offset` to take(id, value).
  template <class F>
  void Take(int32 offset, F&& take) {
    for (int q = 0; q < count; ++q) {
      Queue& s = queues[q];
      while (s.next < s.points && s.offset <= offset) {
        take(s.id, s.value);
        ++s.next;
        Read(s);
      }
    }
  }

 private:
  struct Queue {
    IParamValueQueue* queue;
    ParamID id;
    int32 points, next;
    int32 offset;  // of point `next`
    ParamValue value;
  };
  void Read(Queue& s) const;

  Queue queues[kMaxQueues];
  int count = 0;
  int32 frames;
};

}  // namespace vst3
