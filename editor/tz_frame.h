#pragma once
// The editor's frame, which shows a hand over whatever can be clicked there: the
// logo, or the about view's close mark, links and zoom choice while it is shown.
#include "gui/frame.h"

class TZFrame : public CFrame {
 public:
  TZFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor, double zoom = 1.0);
  CMouseEventResult mouseMoved(CPosition& where, const uint32_t& buttons) override;
};
