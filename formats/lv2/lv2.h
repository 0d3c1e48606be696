#pragma once
// The parts of the LV2 binary interface Soravel uses, declared here: the
// plug-in descriptor with its entry point, host features, the UI descriptor
// with the parent, idle, resize and touch features, and the host's options
// (ui:scaleFactor) with the URID map their keys need. LV2's
// interface is plain C: structures of pointers and integers, laid out as a C
// compiler lays them out, which the checks below pin for x86-64.
#include <cstddef>
#include <cstdint>

extern "C" {

typedef void* LV2_Handle;

// A feature the host offers: its URI and its data (may be null).
struct LV2_Feature {
  const char* URI;
  void* data;
};

struct LV2_Descriptor {
  const char* URI;
  LV2_Handle (*instantiate)(const LV2_Descriptor* descriptor, double sample_rate,
                            const char* bundle_path, const LV2_Feature* const* features);
  void (*connect_port)(LV2_Handle instance, uint32_t port, void* data_location);
  void (*activate)(LV2_Handle instance);
  void (*run)(LV2_Handle instance, uint32_t sample_count);
  void (*deactivate)(LV2_Handle instance);
  void (*cleanup)(LV2_Handle instance);
  const void* (*extension_data)(const char* uri);
};

typedef void* LV2UI_Widget;
typedef void* LV2UI_Handle;
typedef void* LV2UI_Controller;
typedef void* LV2UI_Feature_Handle;

// protocol 0: the buffer is one float, a control port's value.
typedef void (*LV2UI_Write_Function)(LV2UI_Controller controller, uint32_t port_index,
                                     uint32_t buffer_size, uint32_t port_protocol,
                                     const void* buffer);

struct LV2UI_Descriptor {
  const char* URI;
  LV2UI_Handle (*instantiate)(const LV2UI_Descriptor* descriptor, const char* plugin_uri,
                              const char* bundle_path, LV2UI_Write_Function write_function,
                              LV2UI_Controller controller, LV2UI_Widget* widget,
                              const LV2_Feature* const* features);
  void (*cleanup)(LV2UI_Handle ui);
  void (*port_event)(LV2UI_Handle ui, uint32_t port_index, uint32_t buffer_size,
                     uint32_t format, const void* buffer);
  const void* (*extension_data)(const char* uri);
};

// ui:idleInterface: the host calls idle regularly; non-zero means the UI was closed.
struct LV2UI_Idle_Interface {
  int (*idle)(LV2UI_Handle ui);
};

// ui:resize: the UI tells the host its size.
struct LV2UI_Resize {
  LV2UI_Feature_Handle handle;
  int (*ui_resize)(LV2UI_Feature_Handle handle, int width, int height);
};

// ui:touch: the UI brackets a gesture on a port.
struct LV2UI_Touch {
  LV2UI_Feature_Handle handle;
  void (*touch)(LV2UI_Feature_Handle handle, uint32_t port_index, bool grabbed);
};

// urid:map: the host's numbers for URIs (0: none).
typedef uint32_t LV2_URID;
struct LV2_URID_Map {
  void* handle;
  LV2_URID (*map)(void* handle, const char* uri);
};

// One option, as in opts:options (an array ending with key 0) and the
// options interface. `context` is one of lv2options::kContext*.
struct LV2_Options_Option {
  uint32_t context;
  uint32_t subject;
  LV2_URID key;
  uint32_t size;  // of the value, in bytes
  LV2_URID type;
  const void* value;
};

// opts:interface: the host reads or changes options after instantiation;
// both answer a bitwise or of lv2options::k* statuses.
struct LV2_Options_Interface {
  uint32_t (*get)(void* instance, LV2_Options_Option* options);
  uint32_t (*set)(void* instance, const LV2_Options_Option* options);
};

}  // extern "C"

static_assert(sizeof(void*) == 8, "the layouts below are x86-64's");
static_assert(sizeof(LV2_Feature) == 16 && offsetof(LV2_Feature, data) == 8);
static_assert(sizeof(LV2_Descriptor) == 64 && offsetof(LV2_Descriptor, run) == 32 &&
              offsetof(LV2_Descriptor, extension_data) == 56);
static_assert(sizeof(LV2UI_Descriptor) == 40 && offsetof(LV2UI_Descriptor, port_event) == 24);
static_assert(sizeof(LV2UI_Resize) == 16 && offsetof(LV2UI_Resize, ui_resize) == 8);
static_assert(sizeof(LV2UI_Touch) == 16 && offsetof(LV2UI_Touch, touch) == 8);
static_assert(sizeof(LV2_URID_Map) == 16 && offsetof(LV2_URID_Map, map) == 8);
static_assert(sizeof(LV2_Options_Option) == 32 && offsetof(LV2_Options_Option, key) == 8 &&
              offsetof(LV2_Options_Option, type) == 16 && offsetof(LV2_Options_Option, value) == 24);
static_assert(sizeof(LV2_Options_Interface) == 16 && offsetof(LV2_Options_Interface, set) == 8);

namespace lv2options {
inline constexpr uint32_t kContextInstance = 0;  // the option is about the instance itself
inline constexpr uint32_t kSuccess = 0;
inline constexpr uint32_t kBadSubject = 1u << 1;
inline constexpr uint32_t kBadKey = 1u << 2;
inline constexpr uint32_t kBadValue = 1u << 3;
}  // namespace lv2options

// The URIs of what Soravel offers and uses.
namespace lv2uri {
inline constexpr const char* kParent = "http://lv2plug.in/ns/extensions/ui#parent";
inline constexpr const char* kIdleInterface = "http://lv2plug.in/ns/extensions/ui#idleInterface";
inline constexpr const char* kResize = "http://lv2plug.in/ns/extensions/ui#resize";
inline constexpr const char* kTouch = "http://lv2plug.in/ns/extensions/ui#touch";
inline constexpr const char* kScaleFactor = "http://lv2plug.in/ns/extensions/ui#scaleFactor";
inline constexpr const char* kOptions = "http://lv2plug.in/ns/ext/options#options";
inline constexpr const char* kOptionsInterface = "http://lv2plug.in/ns/ext/options#interface";
inline constexpr const char* kUridMap = "http://lv2plug.in/ns/ext/urid#map";
inline constexpr const char* kAtomFloat = "http://lv2plug.in/ns/ext/atom#Float";
}  // namespace lv2uri
