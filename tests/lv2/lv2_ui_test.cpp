// Soravel.lv2's UI library in a real X window (under Xvfb), driven by a host of
// our own: the library loaded with dlopen, the UI made in our window with
// ui:parent, ui:resize, ui:touch, urid:map and, where a test gives them,
// opts:options, idled about every 20 ms, port events sent
// and port writes recorded, real input through XTest. The picture is compared
// with the VST 2.x editor drawn by the raster platform in this process.
#include <dirent.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "editor/editor.h"
#include "editor/tz_about.h"
#include "gui/platform/raster/raster_platform.h"
#include "formats/lv2/lv2.h"
#include "formats/lv2/ports.h"
#include "plugin/vst_plugin.h"
#include "soravel_product.h"
#include "tests/editor_x11/raster_reference.h"
#include "tests/support/module.h"

// Last: Xlib's macros clash with names in the headers above.
#include "tests/editor_x11/x11_capture.h"
#include "tests/editor_x11/x11_resources.h"
#include "tests/editor_x11/x11_test_window.h"
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr int kSizeKnobX = 476, kSizeKnobY = 224;
constexpr int kMeter[4] = {648, 178, 711, 435};

// Loaded once, kept for the whole process as a host keeps it.
const TModule& UiLibrary() {
  static const TModule& lib = *new TModule(SORAVEL_LV2_BUNDLE "/soravel_ui.so");
  return lib;
}
const LV2UI_Descriptor* UiDescriptor() {
  auto entry = UiLibrary().Symbol<const LV2UI_Descriptor* (*)(uint32_t)>("lv2ui_descriptor");
  return entry ? entry(0) : nullptr;
}

// What the UI asked of the host.
struct HostRecord {
  std::vector<std::pair<uint32_t, float>> writes;
  std::vector<std::string> touches;
  int width = 0, height = 0;  // the size asked for last
  bool refuse = false;         // answer ui:resize with a failure
};

void WritePort(LV2UI_Controller c, uint32_t port, uint32_t size, uint32_t protocol, const void* buffer) {
  auto* r = static_cast<HostRecord*>(c);
  if (size == sizeof(float) && protocol == 0)
    r->writes.emplace_back(port, *static_cast<const float*>(buffer));
}
int Resize(LV2UI_Feature_Handle h, int width, int height) {
  static_cast<HostRecord*>(h)->width = width;
  static_cast<HostRecord*>(h)->height = height;
  return static_cast<HostRecord*>(h)->refuse ? 1 : 0;
}
void Touch(LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
  static_cast<HostRecord*>(h)->touches.push_back((grabbed ? "begin " : "end ") + std::to_string(port));
}

// urid:map: numbers from 1, in the order the URIs are first asked for.
LV2_URID MapUri(void*, const char* uri) {
  static std::vector<std::string> uris;
  for (size_t i = 0; i < uris.size(); ++i)
    if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  uris.emplace_back(uri);
  return static_cast<LV2_URID>(uris.size());
}
LV2_URID_Map gUridMap{nullptr, MapUri};

// An options array holding one ui:scaleFactor about the instance; `value` is
// the caller's.
std::vector<LV2_Options_Option> ScaleOption(const void* value, uint32_t size = sizeof(float),
                                            const char* type = lv2uri::kAtomFloat) {
  return {{lv2options::kContextInstance, 0, MapUri(nullptr, lv2uri::kScaleFactor), size,
           MapUri(nullptr, type), value},
          {}};
}

int WindowWidth(::Window w) {
  XWindowAttributes a{};
  XGetWindowAttributes(Dpy(), w, &a);
  return a.width;
}

// One UI in the host window; the host first sends every control port's value,
// here those of a VST 2.x program.
struct Ui {
  explicit Ui(HostRecord& r, int program = 0, bool withParent = true,
              const LV2_Options_Option* options = nullptr)
      : record(r) {
    d = UiDescriptor();
    if (!d) return;
    resize = {&record, Resize};
    touch = {&record, Touch};
    parent = {lv2uri::kParent, reinterpret_cast<void*>(HostWindow())};
    resizeFeature = {lv2uri::kResize, &resize};
    touchFeature = {lv2uri::kTouch, &touch};
    mapFeature = {lv2uri::kUridMap, &gUridMap};
    optionsFeature = {lv2uri::kOptions, const_cast<LV2_Options_Option*>(options)};
    const LV2_Feature* features[] = {withParent ? &parent : &touchFeature, &resizeFeature,
                                     &touchFeature, &mapFeature, options ? &optionsFeature : nullptr,
                                     nullptr};
    handle = d->instantiate(d, SORAVEL_LV2_URI, SORAVEL_LV2_BUNDLE, WritePort, &record, &widget,
                            features);
    if (!handle) return;
    idle = static_cast<const LV2UI_Idle_Interface*>(d->extension_data(lv2uri::kIdleInterface));
    VstPlugin v(nullptr);
    v.setProgram(program);
    for (int i = 0; i < kNumParams; ++i) Port(kPortControl + i, PortValue(i, v.CurrentParam(i)->Value()));
  }
  ~Ui() {
    if (handle) d->cleanup(handle);
  }
  void Port(uint32_t port, float v) { d->port_event(handle, port, sizeof v, 0, &v); }
  const LV2_Options_Interface& Options() const {
    return *static_cast<const LV2_Options_Interface*>(d->extension_data(lv2uri::kOptionsInterface));
  }
  ::Window Window() const { return static_cast<::Window>(reinterpret_cast<uintptr_t>(widget)); }
  // Idles about every 20 ms until `done` holds or a generous time has passed.
  bool IdleUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      EXPECT_EQ(idle->idle(handle), 0);
      if (done()) return true;
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  void IdleFor(int ms) { IdleUntil([] { return false; }, ms); }
  // Idles until the window shows `expected`; answers the pixels that differ.
  int ShowsAfterIdle(const Shot& expected) {
    Shot shown;
    IdleUntil([&] { return Differing(shown = Capture(Window()), expected) == 0; });
    return Differing(shown, expected);
  }

  HostRecord& record;
  const LV2UI_Descriptor* d = nullptr;
  LV2UI_Handle handle = nullptr;
  LV2UI_Widget widget = nullptr;
  const LV2UI_Idle_Interface* idle = nullptr;
  LV2UI_Resize resize{};
  LV2UI_Touch touch{};
  LV2_Feature parent{}, resizeFeature{}, touchFeature{}, mapFeature{}, optionsFeature{};
};

class Lv2Ui : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Dpy(), nullptr) << "no X display: run under xvfb-run";
    ASSERT_NE(UiDescriptor(), nullptr) << UiLibrary().Error();
    MoveTo(700, 470);  // clear of every control
  }
  void TearDown() override {
    for (unsigned b = 1; b <= 3; ++b) Button(b, false);
  }
};

}  // namespace

TEST_F(Lv2Ui, RefusedWithoutAParentOrForAnotherPlugin) {
  const LV2UI_Descriptor* d = UiDescriptor();
  EXPECT_STREQ(d->URI, SORAVEL_LV2_URI "#ui");
  HostRecord r;
  {
    Ui ui(r, 0, false);
    EXPECT_EQ(ui.handle, nullptr);
  }
  LV2_Feature parent{lv2uri::kParent, reinterpret_cast<void*>(HostWindow())};
  const LV2_Feature* features[] = {&parent, nullptr};
  LV2UI_Widget widget = nullptr;
  EXPECT_EQ(d->instantiate(d, "urn:another", SORAVEL_LV2_BUNDLE, WritePort, &r, &widget, features),
            nullptr);
  EXPECT_EQ(d->instantiate(d, SORAVEL_LV2_URI, SORAVEL_LV2_BUNDLE, nullptr, &r, &widget, features),
            nullptr);
  EXPECT_TRUE(Children(HostWindow()).empty());
  EXPECT_EQ(d->extension_data("urn:nothing"), nullptr);
}

// The editor as the VST 2.x plug-in shows it, sized for the host; a port event
// moves its knob and display, and a port event in another form is ignored.
TEST_F(Lv2Ui, ShowsTheEditorAndFollowsPortEvents) {
  HostRecord r;
  Ui ui(r, 5);
  ASSERT_NE(ui.handle, nullptr);
  EXPECT_EQ(r.width, kWidth);
  EXPECT_EQ(r.height, kHeight);
  ASSERT_EQ(Children(HostWindow()), std::vector<::Window>{ui.Window()});
  EXPECT_EQ(ui.ShowsAfterIdle(RasterReference([](VstPlugin& v) { v.setProgram(5); })), 0);

  ui.Port(kPortControl + kSize, 80.0f);
  ui.Port(kPortControl + kDecayTime, 10.0f);  // seconds
  const uint64_t garbage = 0;
  ui.d->port_event(ui.handle, kPortControl + kWide, sizeof garbage, 0, &garbage);
  ui.d->port_event(ui.handle, kPortControl + kWide, sizeof(float), 7, &garbage);
  ui.d->port_event(ui.handle, 1000, sizeof(float), 0, &garbage);
  const Shot moved = RasterReference([](VstPlugin& v) {
    v.setProgram(5);
    v.setParameter(kSize, 0.8f);
    v.setParameter(kDecayTime, 2.0f / 3.0f);
  });
  EXPECT_EQ(ui.ShowsAfterIdle(moved), 0);
  EXPECT_TRUE(r.writes.empty()) << "a port event is not an edit";
  EXPECT_TRUE(r.touches.empty());
}

// A drag writes the port in its unit, inside one touch gesture, and the value
// display follows the knob.
TEST_F(Lv2Ui, KnobDragWritesThePortAndTheDisplayFollows) {
  HostRecord r;
  Ui ui(r);
  ASSERT_NE(ui.handle, nullptr);
  ui.Port(kPortControl + kSize, 30.0f);
  ui.IdleFor(60);
  MoveTo(kSizeKnobX, kSizeKnobY);
  Button(1, true);
  for (int dy = 5; dy <= 50; dy += 5) {
    MoveTo(kSizeKnobX, kSizeKnobY - dy);
    ui.IdleFor(0);
  }
  Button(1, false);
  ASSERT_TRUE(ui.IdleUntil([&] { return r.touches.size() >= 2; })) << r.touches.size();
  ASSERT_FALSE(r.writes.empty());
  for (const auto& w : r.writes) EXPECT_EQ(w.first, kPortControl + kSize);
  EXPECT_NEAR(r.writes.back().second, 55.0f, 1.0f);  // linear: 200 pixels span 0..100 %
  EXPECT_EQ(r.touches, (std::vector<std::string>{"begin 9", "end 9"}));
  const float written = r.writes.back().second;
  EXPECT_EQ(ui.ShowsAfterIdle(RasterReference([&](VstPlugin& v) { v.setParameter(kSize, written / 100.0f); })), 0);
}

// The meter shows the levels the host sends on the meter ports.
TEST_F(Lv2Ui, MetersMoveWithPortEvents) {
  HostRecord r;
  Ui ui(r);
  ASSERT_NE(ui.handle, nullptr);
  ui.IdleFor(100);
  const Shot still = Capture(ui.Window());
  for (int i = 0; i < 4; ++i) ui.Port(kPortMeter + i, 0.5f);
  Shot lit;
  EXPECT_TRUE(ui.IdleUntil([&] {
    return Differing(lit = Capture(ui.Window()), still, kMeter[0], kMeter[1], kMeter[2], kMeter[3]) > 100;
  }));
  EXPECT_EQ(Differing(lit, still, 0, 0, kMeter[0], kHeight), 0) << "only the meter moves";
  ui.Port(kPortMeter, NAN);  // read as silence
  ui.IdleFor(60);
}

// Hosts open and close UIs all session long: nothing may pile up in the X
// server or in the process.
TEST_F(Lv2Ui, OpenCloseCyclesLeaveResourcesAndDescriptorsWhereTheyWere) {
  int event = 0, error = 0;
  ASSERT_TRUE(XResQueryExtension(Dpy(), &event, &error)) << "no X-Resource extension";
  HostRecord r;
  const int fdsBefore = OpenDescriptors();
  Resources first, last;
  for (int i = 0; i < 60; ++i) {
    Ui ui(r, i % kNumPrograms);
    ASSERT_NE(ui.handle, nullptr);
    ui.Port(kPortMeter, 0.3f);
    ui.IdleFor(i % 20 == 0 ? 60 : 0);
    if (i == 0) first = ClientResources(ui.Window());
    if (i == 59) last = ClientResources(ui.Window());
  }
  EXPECT_TRUE(Children(HostWindow()).empty());
  EXPECT_EQ(first, last);
  EXPECT_EQ(first.windows, 1);
  EXPECT_EQ(OpenDescriptors(), fdsBefore) << "the display connection stayed open";
}

// The host's ui:scaleFactor, before the user made a choice in this process (the
// next test makes one): 2 opens the editor at 200 %; a factor of another type
// or size, or outside 1..4, is ignored; a new one through the options
// interface resizes the open editor, and get answers the one taken.
TEST_F(Lv2Ui, OpensAtTheHostsScaleFactor) {
  const float two = 2.0f, nan = NAN, zero = 0.0f, hundred = 100.0f, oneAndHalf = 1.5f;
  const double twoDouble = 2.0;
  HostRecord r;
  {
    Ui ui(r, 0, true, ScaleOption(&two).data());
    ASSERT_NE(ui.handle, nullptr);
    EXPECT_EQ(r.width, 1546);
    EXPECT_EQ(r.height, 982);
    EXPECT_EQ(WindowWidth(ui.Window()), 1546);
  }
  const std::vector<LV2_Options_Option> bad[] = {
      ScaleOption(&two, sizeof two, "http://lv2plug.in/ns/ext/atom#Int"),
      ScaleOption(&twoDouble, sizeof twoDouble),
      ScaleOption(&nan), ScaleOption(&zero), ScaleOption(&hundred), ScaleOption(nullptr)};
  for (const auto& options : bad) {
    r.width = 0;
    Ui ui(r, 0, true, options.data());
    ASSERT_NE(ui.handle, nullptr) << &options - bad;
    EXPECT_EQ(r.width, kWidth) << &options - bad;
  }

  Ui ui(r);
  ASSERT_NE(ui.handle, nullptr);
  LV2_Options_Option asked[] = {
      {lv2options::kContextInstance, 0, MapUri(nullptr, lv2uri::kScaleFactor), 0, 0, nullptr}, {}};
  EXPECT_EQ(ui.Options().get(ui.handle, asked), lv2options::kBadKey) << "nothing announced yet";
  EXPECT_EQ(asked[0].value, nullptr);
  for (const auto& options : bad)
    EXPECT_EQ(ui.Options().set(ui.handle, options.data()), lv2options::kBadValue);
  EXPECT_EQ(WindowWidth(ui.Window()), kWidth);
  EXPECT_EQ(ui.Options().set(ui.handle, ScaleOption(&oneAndHalf).data()), lv2options::kSuccess);
  EXPECT_EQ(r.width, 1160);
  EXPECT_EQ(r.height, 737);
  ui.IdleFor(60);  // the UI's requests reach the server
  EXPECT_EQ(WindowWidth(ui.Window()), 1160);
  EXPECT_EQ(ui.Options().get(ui.handle, asked), lv2options::kSuccess);
  ASSERT_EQ(asked[0].size, sizeof(float));
  EXPECT_EQ(*static_cast<const float*>(asked[0].value), 1.5f);
}

// The user's zoom choice in the about view asks the host through ui:resize: a
// host that refuses keeps the editor at its size, one that agrees gets it
// larger. Leaves the choice at 100 %, which lasts as long as the library, and
// comes before the host's scale factor.
TEST_F(Lv2Ui, ZoomChoiceAsksTheHostThroughResize) {
  HostRecord r;
  Ui ui(r);
  ASSERT_NE(ui.handle, nullptr);
  ui.IdleFor(60);
  const auto click = [&](int x, int y) {
    MoveTo(x, y);
    Button(1, true);
    Button(1, false);
    ui.IdleFor(60);
  };
  const auto windowWidth = [&] { return WindowWidth(ui.Window()); };
  const CBounds one = about::kZoomChoices[0], two = about::kZoomChoices[2];
  click((about::kLogo.left + about::kLogo.right) / 2, (about::kLogo.top + about::kLogo.bottom) / 2);

  r.refuse = true;
  click((two.left + two.right) / 2, (two.top + two.bottom) / 2);
  EXPECT_EQ(r.width, 1546);  // asked all the same
  EXPECT_EQ(r.height, 982);
  EXPECT_EQ(windowWidth(), kWidth) << "refused: the editor keeps its size";

  r.refuse = false;
  click((two.left + two.right) / 2, (two.top + two.bottom) / 2);
  EXPECT_EQ(r.width, 1546);
  EXPECT_EQ(windowWidth(), 1546);

  // The host makes room (the screen's visible part is enough for the click).
  XResizeWindow(Dpy(), HostWindow(), 1546, 982);
  click(one.left + one.right, one.top + one.bottom);  // its centre at 200 %
  XResizeWindow(Dpy(), HostWindow(), kWidth, kHeight);
  XSync(Dpy(), False);
  EXPECT_EQ(r.width, kWidth);
  EXPECT_EQ(r.height, kHeight);
  EXPECT_EQ(windowWidth(), kWidth);

  const float factor = 2.0f;
  HostRecord scaled;
  Ui other(scaled, 0, true, ScaleOption(&factor).data());
  ASSERT_NE(other.handle, nullptr);
  EXPECT_EQ(scaled.width, kWidth);
  EXPECT_EQ(WindowWidth(other.Window()), kWidth);
  scaled.width = 0;
  EXPECT_EQ(other.Options().set(other.handle, ScaleOption(&factor).data()), lv2options::kSuccess);
  EXPECT_EQ(scaled.width, 0) << "no new size asked for";
}
