#include "gui/idle_pacer.h"

#include "gui/platform/platform.h"

IdlePacer::IdlePacer() : next_(platform::current().ticks()) {}
uint32_t IdlePacer::ticks() { return platform::current().ticks(); }
void IdlePacer::sleep4() { platform::current().sleep(4); }
void IdlePacer::dispatchPaint() { platform::current().dispatchOnePaint(); }
