#include "gui/demo/demo_scene.h"

#include <cmath>
#include <cstdio>

#include "gui/controls.h"

namespace demo {
namespace {
void percent(float v, char* out) { std::snprintf(out, 256, "%d %%", static_cast<int>(v * 100.f + 0.5f)); }

// A filmstrip of n knob images: a disc with a pointer at the image's position.
CBitmap* filmstrip(int size, int n) {
  std::vector<uint32_t> px(static_cast<size_t>(size) * size * n, 0);
  const float r = size / 2.f - 1.f;
  for (int i = 0; i < n; ++i) {
    const float angle = 3.9269907f - 4.712389f * static_cast<float>(i) / static_cast<float>(n - 1);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const float dx = x + 0.5f - size / 2.f, dy = y + 0.5f - size / 2.f;
        const float d = std::sqrt(dx * dx + dy * dy);
        uint32_t& p = px[(static_cast<size_t>(i) * size + y) * size + x];
        if (d > r) continue;
        // Distance from the pointer ray.
        const float ux = std::cos(angle), uy = -std::sin(angle);
        const float along = dx * ux + dy * uy, across = std::fabs(dx * uy - dy * ux);
        const bool pointer = along > 2.f && across < 1.5f;
        const uint8_t edge = d > r - 1.f ? static_cast<uint8_t>(255 * (r - d + 1.f) / 1.f) : 255;
        p = pointer ? premultiplyRGBA(250, 200, 60, edge) : premultiplyRGBA(70, 80, 95, edge);
      }
  }
  auto* b = new CBitmap(size, size * n, px.data(), false);
  return b;
}

CBitmap* switchImages(int w, int h) {
  std::vector<uint32_t> px(static_cast<size_t>(w) * h * 2);
  for (int y = 0; y < 2 * h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool on = y >= h;
      const bool lit = (y % h) > h / 4 && (y % h) < 3 * h / 4 && x > w / 4 && x < 3 * w / 4;
      px[static_cast<size_t>(y) * w + x] =
          lit ? premultiplyRGBA(on ? 80 : 60, on ? 220 : 60, on ? 90 : 60, 255)
              : premultiplyRGBA(40, 40, 48, 255);
    }
  return new CBitmap(w, 2 * h, px.data(), true);
}
}  // namespace

void buildScene(CFrame* frame, std::vector<CBitmap*>& bitmaps) {
  frame->setBackgroundColor(CRGBA{24, 28, 36, 255});
  auto* panel = new CViewContainer(CBounds(10, 10, 410, 210), frame);
  panel->setBackgroundColor(CRGBA{44, 50, 62, 255});
  frame->addView(panel);

  auto* title = new CParamDisplay(CBounds(10, 8, 390, 28), nullptr, kNoFrame);
  title->setBackColor(CRGBA{44, 50, 62, 255});
  title->setFont(kNormalFontBig);
  title->setHoriAlign(kLeftText);
  title->setStringConvert([](float, char* out) { std::snprintf(out, 256, "Soravel view framework"); });
  panel->addView(title);

  auto* knob = new CKnob(CBounds(20, 40, 80, 100), nullptr, 1, nullptr, nullptr);
  knob->setValue(0.3f);
  panel->addView(knob);

  CBitmap* strip = filmstrip(60, 31);
  bitmaps.push_back(strip);
  auto* anim = new CAnimKnob(CBounds(100, 40, 160, 100), nullptr, 2, 31, 60, strip);
  anim->setValue(0.7f);
  panel->addView(anim);

  CBitmap* sw = switchImages(30, 40);
  bitmaps.push_back(sw);
  auto* vs = new CVerticalSwitch(CBounds(185, 50, 215, 90), nullptr, 3, 2, 40, 2, sw);
  vs->setValue(1.f);
  panel->addView(vs);

  auto* display = new CParamDisplay(CBounds(20, 110, 160, 130), nullptr, k3DIn);
  display->setStringConvert(percent);
  display->setValue(0.7f);
  display->setFrameColor(CRGBA{120, 130, 150, 255});
  display->setBackColor(CRGBA{16, 18, 24, 255});
  panel->addView(display);

  auto* shadow = new CParamDisplay(CBounds(20, 140, 160, 160), nullptr, kShadowText | kNoFrame);
  shadow->setStringConvert([](float, char* out) { std::snprintf(out, 256, "Shadowed"); });
  shadow->setShadowColor(CRGBA{0, 0, 0, 255});
  shadow->setBackColor(CRGBA{44, 50, 62, 255});
  panel->addView(shadow);

  auto* edit = new CTextEdit(CBounds(240, 50, 380, 72), nullptr, 4, "Click to edit");
  edit->setBackColor(CRGBA{250, 250, 245, 255});
  edit->setFontColor(CRGBA{20, 20, 20, 255});
  edit->setFrameColor(CRGBA{0, 0, 0, 255});
  edit->setHoriAlign(kLeftText);
  panel->addView(edit);

  auto* right = new CParamDisplay(CBounds(240, 90, 380, 110), nullptr, k3DOut);
  right->setHoriAlign(kRightText);
  right->setFrameColor(CRGBA{200, 200, 210, 255});
  right->setValue(0.25f);
  panel->addView(right);

  auto* offscreen = new CViewContainer(CBounds(240, 125, 380, 185), frame);
  offscreen->setDrawInOffscreen(true);
  offscreen->setBackgroundColor(CRGBA{90, 40, 40, 255});
  auto* inner = new CKnob(CBounds(40, 0, 100, 60), nullptr, 5, nullptr, nullptr);
  inner->setColorHandle(CRGBA{255, 220, 120, 255});
  inner->setValue(0.9f);
  offscreen->addView(inner);
  panel->addView(offscreen);
}

}  // namespace demo
