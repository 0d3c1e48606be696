#pragma once
// Periodic "timer fired" notifications on the GUI thread.
// A timer is created stopped; start asks the platform for a thread timer, stop kills it.
// The listener is not owned and must outlive the running timer. Destruction stops it.
#include "gui/base.h"

class CGuiTimer : public CBaseObject {
 public:
  CGuiTimer(CBaseObject* listener, int32_t periodMs);
  ~CGuiTimer() override;
  virtual bool start();
  virtual bool stop();
  virtual bool setPeriod(int32_t ms);
  bool isRunning() const { return id_ != 0; }
  int32_t getPeriod() const { return period_; }
  uint32_t platformId() const { return id_; }

 private:
  static void fired(uint32_t id);
  int32_t period_;
  CBaseObject* listener_;
  uint32_t id_ = 0;
};
