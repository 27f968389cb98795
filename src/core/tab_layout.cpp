#include "core/tab_layout.h"

#include <cmath>

namespace sw {

namespace {

bool ValidTab(int tab) { return tab >= 1 && tab <= kTabCount; }

}  // namespace

int RoundHalfEven(double value) {
  // nearbyint honours the current rounding mode, which is round-to-nearest-even
  // unless someone changed it; std::round would send halves away from zero.
  return static_cast<int>(std::nearbyint(value));
}

TabLayout LayoutTabs(const CaptionWidths& captionWidths) {
  TabLayout layout;
  int x = kFirstTabX;
  for (int i = 0; i < kTabCount; ++i) {
    layout.x[i] = x;
    layout.w[i] = RoundHalfEven(captionWidths[i] + kTabPadding);
    // Neighbouring tabs share their border column.
    x += layout.w[i] - 1;
  }
  return layout;
}

int TabAt(const TabLayout& layout, const CaptionWidths& captionWidths, double x, double y) {
  if (y < kTabTop || y > kTabBaseline) return 0;
  for (int i = 0; i < kTabCount; ++i) {
    const int limit = RoundHalfEven(layout.x[i] + captionWidths[i] + (kTabPadding - 1));
    if (x < limit) return i + 1;
  }
  return 0;
}

PixelRect TabRect(const TabLayout& layout, int tab, bool active) {
  if (!ValidTab(tab)) return {};
  const int x = layout.x[tab - 1];
  const int w = layout.w[tab - 1];
  if (active) return {x - 4, kActiveTabTop, x + w + 3, kTabBaseline};
  return {x, kTabTop, x + w - 1, kTabBaseline};
}

std::array<PixelSpan, 3> ActiveBandSpans(const TabLayout& layout, int tab) {
  if (!ValidTab(tab)) return {};
  const int x = layout.x[tab - 1];
  const int w = layout.w[tab - 1];
  return {PixelSpan{x - 1, x + w + 1, 2}, PixelSpan{x - 2, x + w + 2, 3}, PixelSpan{x - 3, x + w + 3, 4}};
}

CaptionOrigin CaptionPosition(const TabLayout& layout, int tab, double captionWidth, double captionHeight,
                              bool active) {
  if (!ValidTab(tab)) return {};
  const int x = layout.x[tab - 1];
  const int w = layout.w[tab - 1];
  const double top = (kTabBaseline - captionHeight) / 2 + (active ? 0 : 3);
  return {RoundHalfEven(x + (w - captionWidth) / 2), RoundHalfEven(top)};
}

}  // namespace sw
