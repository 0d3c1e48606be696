#pragma once
// The one seam between the view framework and a window system.
//
// Contract:
// - Coordinates are integer pixels, y downward. Surface and window coordinates
//   start at the top-left of the surface or window.
// - Pixels are 32-bit premultiplied BGRA words (blue in the low byte), rows top-down.
// - A Window belongs to its creator (delete destroys the native window); a Surface
//   handed to WindowListener::paint is valid only during that call.
// - Everything runs on the thread that created the window. Exactly one Platform is
//   current at a time (setCurrent); the default is the one linked into the program.
// - Button words, keys and cursors are encoded as input.h says.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gui/platform/input.h"
#include "gui/platform/pixels.h"
#include "gui/platform/rect.h"

namespace platform {

// A rectangle (arithmetic in rect.h).
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
};
struct Point { int32_t x = 0, y = 0; };
struct Color { uint8_t r = 0, g = 0, b = 0, a = 255; };

// A platform's own form of an image or a font (a bitmap section, a font handle),
// prepared once by Platform::prepareImage / prepareFont and kept by the framework
// object it belongs to (CBitmap, CFontDesc) until that object goes or changes, so
// that painting makes none. A surface uses the forms its own platform made and
// ignores any other.
class NativeImage {
 public:
  virtual ~NativeImage() = default;
};
class NativeFont {
 public:
  virtual ~NativeFont() = default;
};

// A decoded image: premultiplied BGRA words, top-down rows, width * height words.
struct Pixmap {
  int32_t width = 0, height = 0;
  const uint32_t* pixels = nullptr;  // not owned
  const NativeImage* native = nullptr;  // the same pixels in the platform's form, if any
};

// Font by family name, pixel height and style bits (1 bold, 2 italic, 4 underline).
struct FontSpec {
  const char* name = "Arial";
  int32_t pixelHeight = 12;
  int32_t style = 0;
  const NativeFont* native = nullptr;  // the platform's font made from the above, if any
};

enum TextAlign { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

// A drawing target. All operations respect the clip rectangle (surface coordinates).
class Surface {
 public:
  virtual ~Surface() = default;
  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;
  virtual void setClip(const Rect& r) = 0;
  virtual Rect clip() const = 0;
  // Fills [left,right) x [top,bottom).
  virtual void fillRect(const Rect& r, Color c) = 0;
  // A line from (x0,y0) to (x1,y1) without its end point, as a pen of the given width.
  virtual void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Color c, int32_t width) = 0;
  // Single-line text, vertically centred in r, clipped to r; left alignment starts at
  // r.left + 1. A background colour with alpha 0 leaves the background untouched.
  virtual void text(const char* s, const Rect& r, const FontSpec& f, Color fg, Color bg,
                    TextAlign align) = 0;
  // Opaque copy of src's area at (sx,sy) into dst (dst gives place and size).
  virtual void copyFrom(Surface& src, const Rect& dst, int32_t sx, int32_t sy) = 0;
  // Image operations, source area at (sx,sy) of the image into dst. Only the part of
  // dst inside the clip is read from the image.
  virtual void copyImage(const Pixmap& img, const Rect& dst, int32_t sx, int32_t sy) = 0;
  virtual void blendImage(const Pixmap& img, const Rect& dst, int32_t sx, int32_t sy,
                          uint8_t alpha) = 0;
  virtual void keyImage(const Pixmap& img, const Rect& dst, int32_t sx, int32_t sy,
                        Color key) = 0;
  // Direct pixel access when the surface has a memory buffer, else nullptr.
  virtual uint32_t* pixels() { return nullptr; }
  virtual int32_t stride() const { return 0; }  // in words
  virtual void flush() {}
};

// Events of a window, delivered to the framework.
class WindowListener {
 public:
  virtual ~WindowListener() = default;
  virtual void onPaint(Surface& s, const Rect& update) = 0;
  // Answers the framework's mouse result; 1 makes the window capture the mouse.
  virtual int32_t onMouseDown(Point where, uint32_t buttons) = 0;
  virtual void onMouseUp(Point where, uint32_t buttons) = 0;
  virtual void onMouseMoved(Point where, uint32_t buttons) = 0;
  // The window lost the mouse capture it held (another window took it, the window was
  // deactivated): the gesture under way ends as if its button had been released.
  virtual void onCaptureLost() {}
  // distance in notches, fractions included (a precision touchpad's 30 is 0.25).
  virtual void onWheel(Point where, float distance, uint32_t buttons) = 0;
  // The horizontal wheel or tilt, positive to the right, in notches like onWheel.
  virtual void onHorizontalWheel(Point /*where*/, float /*distance*/, uint32_t /*buttons*/) {}
  // character = platform key code, virt = a VirtualKey, modifiers KeyModifier bits.
  // -1 means the editor has no use for the key: the platform passes it on to the
  // host's window, so that the host's shortcuts (Space to play) keep working.
  virtual int32_t onKeyDown(int32_t character, uint8_t virt, uint8_t modifiers) = 0;
  virtual int32_t onKeyUp(int32_t character, uint8_t virt, uint8_t modifiers) = 0;
  virtual void onDestroyed() = 0;
};

// Drag and drop notifications of a window's drop target.
class DropListener {
 public:
  virtual ~DropListener() = default;
  virtual void onDragEnter(int32_t itemCount, Point where) = 0;
  virtual void onDragMove(Point where) = 0;
  virtual void onDragLeave() = 0;
  virtual void onDrop(Point where) = 0;
};

class TextEntryListener {
 public:
  virtual ~TextEntryListener() = default;
  virtual void textEntryFocusLost() = 0;  // may delete the entry
  virtual void textEntryReturn() = 0;     // may delete the entry
  virtual void textEntryCancel() = 0;     // Escape; may delete the entry
};

struct TextEntryParams {
  Rect rect;             // window coordinates, final size
  const char* text = "";
  TextAlign align = kAlignLeft;
  FontSpec font;
  Color textColor{255, 255, 255, 255};
  Color backColor{0, 0, 0, 255};
};

// A single-line text entry widget: created with its text all selected, limited to
// 255 characters and holding the keyboard focus. Deleting it destroys the widget
// without notifying its listener.
class TextEntry {
 public:
  static constexpr size_t kMaxChars = 255;
  virtual ~TextEntry() = default;
  // Copies at most cap-1 characters and a terminator; answers the length copied.
  virtual size_t text(char* out, size_t cap) const = 0;
};

class Window {
 public:
  virtual ~Window() = default;
  virtual void* nativeHandle() const = 0;
  virtual void invalidate(const Rect& r) = 0;
  virtual void setCapture(bool on) = 0;
  virtual Point screenOrigin() const = 0;  // window's top-left on screen
  virtual void setCursor(int32_t type) = 0;  // a CCursorType
  virtual void takeKeyboardFocus() = 0;
  virtual void resize(int32_t width, int32_t height) = 0;
  // A surface drawing straight onto the window outside painting.
  virtual std::unique_ptr<Surface> drawSurface() = 0;
  virtual std::unique_ptr<TextEntry> createTextEntry(const TextEntryParams& p,
                                                     TextEntryListener* l) = 0;
  virtual bool setDropTarget(DropListener* l) = 0;  // null revokes
  // Where the editor sits: the top-left of the outermost enclosing window that has no
  // caption and is within 60 pixels of its child's size, in its parent's client space.
  virtual Point position() const { return {0, 0}; }
  // The host window's outer rectangle, its top-left in its own parent's client space.
  virtual bool hostRect(Rect& out) const {
    out = {};
    return false;
  }
};

using TimerCallback = void (*)(uint32_t id);

class Platform {
 public:
  virtual ~Platform() = default;
  // A child window of `parent` (a native parent handle); null when it cannot be made.
  virtual std::unique_ptr<Window> createWindow(void* parent, int32_t width, int32_t height,
                                               WindowListener* l) = 0;
  virtual std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height) = 0;
  virtual uint32_t ticks() = 0;  // milliseconds
  virtual void sleep(uint32_t ms) = 0;
  virtual uint32_t doubleClickTime() = 0;
  virtual uint32_t buttonState() = 0;  // asynchronous button word incl. Shift/Control/Alt
  virtual Point cursorPosition() = 0;  // screen coordinates
  // A thread timer without window; answers its identifier, 0 when refused.
  virtual uint32_t startTimer(uint32_t periodMs, TimerCallback cb) = 0;
  virtual void stopTimer(uint32_t id) = 0;
  // Takes one pending paint request of this thread and carries it out.
  virtual void dispatchOnePaint() = 0;
  // For window systems without a message loop of their own in the host (X11): reads
  // and dispatches the pending window events and fires the timers that are due.
  // Called from the host's editor idle on the GUI thread; never blocks.
  virtual void processEvents() {}
  // The file descriptor that becomes readable when processEvents has window events to
  // read (the X connection's), for hosts whose run loop watches descriptors; -1 when
  // there is none (no window open, or a window system that delivers events itself).
  virtual int eventFileDescriptor() { return -1; }
  // The platform's form of an image or font; null where the platform needs none.
  virtual std::unique_ptr<NativeImage> prepareImage(const Pixmap&) { return nullptr; }
  // How much larger than at 96 dpi the screen shows a child of `parent` (a native
  // parent handle, null for the screen as a whole): 1.5 at 144 dpi. 1 when unknown
  // (scaleOfDpi answers 0).
  virtual double screenScale(void* /*parent*/) { return 1.0; }
  virtual std::unique_ptr<NativeFont> prepareFont(const FontSpec&) { return nullptr; }
};

// The scale of a screen of `dpi` dots per inch (dpi / 96), 0 for a dpi no screen has
// (outside 24..960): every window system's screenScale reads its dpi through this.
inline double scaleOfDpi(double dpi) { return dpi >= 24.0 && dpi <= 960.0 ? dpi / 96.0 : 0.0; }

Platform& current();
void setCurrent(Platform* p);  // null restores the default
Platform& defaultPlatform();   // provided by the implementation linked in

}  // namespace platform
