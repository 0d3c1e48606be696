#include "editor/tz_controls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "editor/editor.h"
#include "editor/layout.h"
#include "gui/frame.h"
#include "plugin/param.h"

namespace {
void AddToFrame(Editor* editor, CView* view) {
  if (editor && editor->getFrame()) editor->getFrame()->addView(view);
}

TKnobMapping MappingFor(int32_t tag, float curve, bool log) {
  const bool known = tag >= 0 && tag < kNumParams;
  return TKnobMapping(curve, log, known ? kParamTable[tag].min : 0.0f,
                      known ? kParamTable[tag].max : 1.0f);
}

// Value text and unit joined by one space ("10.0 kHz", "Off "), into the
// 256 bytes a display's string procedure gets.
void ParameterText(const Editor* editor, int index, char* text) {
  text[0] = 0;
  if (editor) editor->DisplayText(index, text, 256);
}

void ApplyDisplayStyle(CParamDisplay* d) {
  d->setFontColor(kWhiteCRGBA);
  d->setBackColor(kBlackCRGBA);
  d->setFrameColor(kWhiteCRGBA);
  d->setTransparency(true);  // the text lies directly on the editor background
}
}  // namespace

// ---- TZKnob ----

TZKnob::TZKnob(Editor* editor, int32_t left, int32_t top, int32_t width, int32_t height,
               CControlListener* listener, int32_t tag, CBitmap* image, float curve, bool log)
    : CAnimKnob(CBounds(left, top, left + width, top + height), listener, tag,
                image && height > 0 ? image->getHeight() / height : 0, height, image),
      mapping(MappingFor(tag, curve, log)) {
  setInsetValue(0);
  AddToFrame(editor, this);
  setValue(editor ? editor->ParameterValue(tag) : 0.0f);
}

void TZKnob::setValue(float value) { value_ = mapping.ToPosition(value); }

bool TZKnob::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZKnob") == 0 || CAnimKnob::isTypeOf(name);
}

// ---- TZDisplay ----

void ComposeDisplayText(float, char* text, void* userData) {
  auto* d = static_cast<TZDisplay*>(userData);
  ParameterText(d->editor, d->index, text);
}

TZDisplay::TZDisplay(Editor* e, int32_t left, int32_t top, CControlListener* listener, int32_t tag)
    : CTextEdit(CBounds(left, top, left + layout::kDisplayWidth, top + layout::kDisplayHeight),
                listener, tag),
      editor(e),
      index(tag) {
  setWantsFocus(true);
  ApplyDisplayStyle(this);
  setValueToStringProcedure(ComposeDisplayText, this);
  setDirty(true);
  AddToFrame(editor, this);
}

bool TZDisplay::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZDisplay") == 0 || CTextEdit::isTypeOf(name);
}

// ---- TZTablo ----

namespace {
void ComposeFreezeText(float, char* text, void* userData) {
  auto* editor = static_cast<Editor*>(userData);
  ParameterText(editor, kDecayFreeze, text);
}
}  // namespace

TZTablo::TZTablo(Editor* e) : CParamDisplay(layout::kFreezeText), editor(e) {
  ApplyDisplayStyle(this);
  setValueToStringProcedure(ComposeFreezeText, editor);
  if (editor) value_ = editor->ParameterValue(kDecayFreeze);  // 0 or 1, as its value
  setDirty(true);
  AddToFrame(editor, this);
}

void TZTablo::setValue(float value) {
  value_ = value;
  invalidate();
}

bool TZTablo::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZTablo") == 0 || CParamDisplay::isTypeOf(name);
}

// ---- TZSwitch ----

namespace {
constexpr int32_t kFrameHeight = layout::kFreezeSwitch.bottom - layout::kFreezeSwitch.top;
}

TZSwitch::TZSwitch(Editor* editor, CControlListener* listener, CBitmap* image)
    : CVerticalSwitch(layout::kFreezeSwitch, listener, kDecayFreeze,
                      image ? image->getHeight() / kFrameHeight : 0, kFrameHeight, 2, image) {
  setDefaultValue(0.0f);
  if (editor) value_ = editor->ParameterValue(kDecayFreeze);
  AddToFrame(editor, this);
}

CMouseEventResult TZSwitch::mouseDown(CPosition&, const uint32_t& buttons) {
  if (!(buttons & kLButton)) return kMouseEventNotHandled;
  beginEdit();
  value_ = value_ < 0.5f ? 1.0f : 0.0f;  // wherever the click lands, it toggles
  if (isDirty()) {
    if (listener_) listener_->valueChanged(this);
    if (isDirty()) invalidate();
  }
  return kMouseEventHandled;  // the release ends the edit
}

CMouseEventResult TZSwitch::mouseMoved(CPosition&, const uint32_t&) { return kMouseEventHandled; }

bool TZSwitch::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZSwitch") == 0 || CVerticalSwitch::isTypeOf(name);
}

// ---- TZMeter ----

namespace {
constexpr int32_t kTickMs = 20;  // the editor's timer
}

TZMeter::TZMeter(Editor* e, CBitmap* image)
    : CControl(layout::kMeter), editor(e), scale(image), timer(new CGuiTimer(this, kTickMs)) {
  AddToFrame(editor, this);
}

TZMeter::TZMeter(const TZMeter& m)
    : CControl(m), editor(m.editor), scale(m.scale), timer(new CGuiTimer(this, kTickMs)) {}

TZMeter::~TZMeter() {
  timer->stop();
  timer->release();
}

CMessageResult TZMeter::notify(CBaseObject*, const char* message) {
  if (message != kMsgTimerFired) return kMessageUnknown;
  // The editor's tick: parameter changes reach the controls even in hosts that
  // stop idling an inactive window.
  if (editor) editor->ApplyParameterChanges();
  Tick();
  return kMessageNotified;
}

bool TZMeter::attached(CView* parent) {
  for (int i = 0; i < kBars; ++i) {
    const int32_t left = size_.left + layout::kMeterBarOffsets[i];
    bars[i] = CBounds(left, size_.top, left + layout::kMeterBarWidth, size_.top + meter::kBarHeight);
  }
  return CControl::attached(parent);
}

void TZMeter::Tick() {
  if (!scale || !editor) return;
  // Each bar's own rows, never the scale between the bars: at 200 % an area spanning
  // all four would draw three times their pixels (X11 puts each area on its own).
  CBounds changed[kBars];
  int count = 0;
  for (int i = 0; i < kBars; ++i) {
    const int d = meter::Position(editor->Meter(i));
    TBar next;
    next.unlit = std::clamp(-d, 0, meter::kBarHeight);
    next.marker = peaks[i].Tick(d);
    const TBar before = shown[i];
    if (next == before) continue;
    shown[i] = next;
    // Repaint the rows that change: between the old and new top of the lit part,
    // and the old and new marker rows.
    int top = std::min(before.unlit, next.unlit), bottom = std::max(before.unlit, next.unlit);
    for (int row : {before.marker, next.marker})
      if (row >= 0) {
        top = std::min(top, row);
        bottom = std::max(bottom, row + 1);
      }
    if (top >= bottom) continue;
    changed[count++] = CBounds(bars[i].left, bars[i].top + top, bars[i].right, bars[i].top + bottom);
  }
  if (count > 0) DrawNow(changed, count);
}

// The tick draws what changed at once, on one context of the window: a repaint request
// would cost the window system a round of messages per tick, 50 times a second.
void TZMeter::DrawNow(const CBounds* areas, int count) {
  CFrame* frame = getFrame();
  if (!frame || !frame->platformWindow()) {
    for (int i = 0; i < count; ++i) invalidateRect(areas[i]);
    return;
  }
  CDrawContext* context = new CDrawContext(frame, nullptr);
  for (int i = 0; i < count; ++i) {
    context->setClipRect(areas[i]);  // the window system is handed this area only
    frame->drawInRect(context, areas[i]);
    // Put on screen area by area (X11 puts the clip's); releasing puts the last.
    if (platform::Surface* s = context->surface(); s && i + 1 < count) s->flush();
  }
  context->release();
}

void TZMeter::draw(CDrawContext* context) {
  if (scale) {
    const CBounds clip = context->getClipRect();
    for (int i = 0; i < kBars; ++i) {
      const CBounds& bar = bars[i];
      CBounds seen = bar;
      if (seen.bound(clip).isEmpty()) continue;  // a tick draws one bar at a time
      const TBar& b = shown[i];
      // The lit half of the scale image over the unlit bar of the background.
      if (b.unlit < meter::kBarHeight)
        scale->draw(context,
                    CBounds(bar.left, bar.top + b.unlit, bar.right, bar.top + meter::kBarHeight),
                    CPosition(layout::kMeterBarWidth, b.unlit));
      if (b.marker >= 0) {
        const meter::TRgb c = meter::kPeakColour[b.marker];
        context->setFrameColor(CRGBA{c.r, c.g, c.b, c.a});
        context->moveTo(CPosition(bar.left, bar.top + b.marker));
        context->lineTo(CPosition(bar.right, bar.top + b.marker));
      }
    }
  }
  dirty_ = false;
}

bool TZMeter::isTypeOf(const char* name) const {
  return std::strcmp(name, "TZMeter") == 0 || CControl::isTypeOf(name);
}
