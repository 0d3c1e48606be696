#include "editor/tz_frame.h"

#include "editor/about_areas.h"
#include "editor/editor.h"

TZFrame::TZFrame(const CBounds& size, void* parentWindow, GuiEditorInterface* editor,
                 double zoom)
    : CFrame(size, parentWindow, editor, zoom) {}

CMouseEventResult TZFrame::mouseMoved(CPosition& where, const uint32_t& buttons) {
  const CMouseEventResult result = CFrame::mouseMoved(where, buttons);
  const Editor* editor = dynamic_cast<Editor*>(getEditor());
  const TZAbout* a = editor ? editor->About() : nullptr;
  int32_t cursor = kCursorDefault;
  if (a && a->aboutShown()) {
    if (about::Clickable(where)) cursor = kCursorHand;
  } else if (about::Inside(about::kLogo, where)) {
    cursor = kCursorHand;
  }
  setCursor(cursor);
  return result;
}
