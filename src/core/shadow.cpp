#include "core/shadow.h"

#include <algorithm>

namespace sw {

namespace {

int Clamp(int c) { return std::clamp(c, 0, 255); }

int Darken(int c) { return std::max(Clamp(c) - kShadowStep, 0); }

}  // namespace

Rgb DarkenStep(Rgb colour) { return {Darken(colour.r), Darken(colour.g), Darken(colour.b)}; }

std::pair<Rgb, Rgb> ShadowBands(Rgb background) {
  const Rgb outer = DarkenStep(background);
  return {outer, DarkenStep(outer)};
}

}  // namespace sw
