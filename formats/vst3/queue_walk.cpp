#include "formats/vst3/queue_walk.h"

#include "formats/vst3/params.h"

namespace vst3 {

TQueueWalk::TQueueWalk(IParameterChanges* changes, int32 n) : frames(n > 0 ? n : 0) {
  const int32 available = changes ? changes->getParameterCount() : 0;
  for (int32 i = 0; i < available && count < kMaxQueues; ++i) {
    IParamValueQueue* q = changes->getParameterData(i);
    if (!q) continue;
    const ParamID id = q->getParameterId();
    if (!IsParameter(id) && id != kProgramChangeId) continue;
    Queue& s = queues[count];
    s = {q, id, q->getPointCount(), 0, 0, 0.0};
    if (s.points <= 0) continue;
    Read(s);
    ++count;
  }
}

void TQueueWalk::Read(Queue& s) const {
  // A point with a value no format takes (NaN, outside 0..1) is passed over: it
  // must not split the block either, since each piece ramps the engine anew.
  for (; s.next < s.points; ++s.next) {
    int32 offset = 0;
    ParamValue value = 0.0;
    if (s.queue->getPoint(s.next, offset, value) != kResultOk) {
      s.next = s.points;  // an unreadable point ends its queue
      return;
    }
    if (!ValidNormalized(value)) continue;
    s.offset = offset < 0 ? 0 : offset > frames ? frames : offset;
    s.value = value;
    return;
  }
}

int32 TQueueWalk::NextOffset() const {
  int32 next = frames;
  for (int q = 0; q < count; ++q)
    if (queues[q].next < queues[q].points && queues[q].offset < next) next = queues[q].offset;
  return next;
}

}  // namespace vst3
