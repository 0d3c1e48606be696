#pragma once
// The parts of the LV2 binary interface Soravel uses, declared here: the
// plug-in descriptor with its entry point, host features, and the UI
// descriptor with the parent, idle, resize and touch features. LV2's
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

}  // extern "C"

static_assert(sizeof(void*) == 8, "the layouts below are x86-64's");
static_assert(sizeof(LV2_Feature) == 16 && offsetof(LV2_Feature, data) == 8);
static_assert(sizeof(LV2_Descriptor) == 64 && offsetof(LV2_Descriptor, run) == 32 &&
              offsetof(LV2_Descriptor, extension_data) == 56);
static_assert(sizeof(LV2UI_Descriptor) == 40 && offsetof(LV2UI_Descriptor, port_event) == 24);
static_assert(sizeof(LV2UI_Resize) == 16 && offsetof(LV2UI_Resize, ui_resize) == 8);
static_assert(sizeof(LV2UI_Touch) == 16 && offsetof(LV2UI_Touch, touch) == 8);

// The URIs of what Soravel offers and uses.
namespace lv2uri {
inline constexpr const char* kParent = "http://lv2plug.in/ns/extensions/ui#parent";
inline constexpr const char* kIdleInterface = "http://lv2plug.in/ns/extensions/ui#idleInterface";
inline constexpr const char* kResize = "http://lv2plug.in/ns/extensions/ui#resize";
inline constexpr const char* kTouch = "http://lv2plug.in/ns/extensions/ui#touch";
}  // namespace lv2uri
