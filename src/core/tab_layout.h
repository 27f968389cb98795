// Geometry of the three-tab strip drawn at the top of the main window.
//
// Pure arithmetic on pixel coordinates of the strip widget: no state, no
// Qt, callable from any thread. Caption widths come from the caller (the UI
// measures them in its font); every quantity that mixes a measured width with
// whole pixels is rounded to the nearest integer, halves to even, so the same
// widths always give the same pixels on every platform.
#pragma once

#include <array>

namespace sw {

inline constexpr int kTabCount = 3;
// Extra width around each caption: the caption sits centred in it.
inline constexpr int kTabPadding = 64;
inline constexpr int kFirstTabX = 6;
inline constexpr int kTabTop = 4;        // top edge of an inactive tab
inline constexpr int kActiveTabTop = 1;  // the active tab is raised to here
inline constexpr int kTabBaseline = 27;  // bottom edge shared by all tabs

using CaptionWidths = std::array<double, kTabCount>;

// Inclusive pixel rectangle: both corners are painted.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Horizontal run of pixels on one row, both ends included.
struct PixelSpan {
  int x1 = 0;
  int x2 = 0;
  int y = 0;
  friend bool operator==(const PixelSpan&, const PixelSpan&) = default;
};

struct TabLayout {
  std::array<int, kTabCount> x{};  // left edge of each tab (inactive shape)
  std::array<int, kTabCount> w{};  // width of each tab
};

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
int RoundHalfEven(double value);

TabLayout LayoutTabs(const CaptionWidths& captionWidths);

// Tab (1..3) under the point, or 0 for none. Deliberately tests only the
// right-hand limit of each tab, so a click left of the first tab still
// selects it; the limit equals the next tab's left edge.
int TabAt(const TabLayout& layout, const CaptionWidths& captionWidths, double x, double y);

// Outline of tab `tab` (1..3) as drawn; the active tab is wider and taller.
// Out-of-range tabs give an empty rectangle at the origin.
PixelRect TabRect(const TabLayout& layout, int tab, bool active);

// The three coloured rows drawn across the top of the active tab, top row
// first. Out-of-range tabs give zeroed spans.
std::array<PixelSpan, 3> ActiveBandSpans(const TabLayout& layout, int tab);

// Top-left corner of a caption's text box. Active captions sit three pixels
// higher, in the raised part of the tab.
struct CaptionOrigin {
  int x = 0;
  int y = 0;
};
CaptionOrigin CaptionPosition(const TabLayout& layout, int tab, double captionWidth, double captionHeight, bool active);

}  // namespace sw
