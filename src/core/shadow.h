// Colours of the drop shadow drawn under framed controls of the main window.
//
// Pure functions, callable from any thread. Components outside 0..255 are
// clamped into range first; darkening stops at 0 rather than wrapping or going
// negative, so a black background yields a black shadow.
#pragma once

#include <utility>

namespace sw {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr int kShadowStep = 10;

// Background darkened by one step per component, never below 0.
Rgb DarkenStep(Rgb colour);

// {outer rim, inner band}: one and two steps darker than the background.
std::pair<Rgb, Rgb> ShadowBands(Rgb background);

}  // namespace sw
