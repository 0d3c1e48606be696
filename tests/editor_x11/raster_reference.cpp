#include "tests/editor_x11/raster_reference.h"

#include "editor/editor.h"
#include "gui/frame.h"
#include "gui/platform/raster/raster_platform.h"
#include "plugin/vst_plugin.h"
#include "tests/support/vst2/quiet_host.h"

Shot RasterReference(const std::function<void(VstPlugin&)>& setUp, float zoom, int width,
                     int height) {
  static int parent;
  VstPlugin plugin(QuietHost);
  if (setUp) setUp(plugin);
  auto* editor = dynamic_cast<Editor*>(plugin.getEditor());
  Shot s;
  if (!editor) return s;
  editor->setContentScale(zoom);
  if (!editor->open(&parent)) return s;
  editor->idle();
  auto& w = *static_cast<raster::RasterWindow*>(editor->getFrame()->platformWindow());
  w.paint();
  s.width = width;
  s.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.px.push_back(w.surface().pixel(x, y) & 0xffffff);
  editor->close();
  return s;
}
