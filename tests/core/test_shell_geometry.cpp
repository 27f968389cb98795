// Tab strip geometry, shadow colours and path shortening.
#include <gtest/gtest.h>

#include "core/compact_path.h"
#include "core/shadow.h"
#include "core/tab_layout.h"

namespace sw {
namespace {

const CaptionWidths kWidths{61, 83, 67};

struct HitCase {
  double x, y;
  int tab;
};

class TabHitTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TabHitTest, SelectsTab) {
  const HitCase& c = GetParam();
  EXPECT_EQ(TabAt(LayoutTabs(kWidths), kWidths, c.x, c.y), c.tab) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(Edges, TabHitTest,
                         ::testing::Values(HitCase{129.9, 10, 1}, HitCase{130, 10, 2}, HitCase{405.9, 10, 3},
                                           HitCase{406, 10, 0}, HitCase{10, 3.9, 0}, HitCase{10, 27.01, 0},
                                           HitCase{10, 4, 1}, HitCase{200, 27, 2}));

// Captions 61, 83 and 67 wide put the tabs at x 6, 130 and 276.
TEST(TabGeometry, RaisedTabAndBand) {
  const TabLayout l = LayoutTabs(kWidths);
  EXPECT_EQ(TabRect(l, 2, false), (PixelRect{130, 4, 276, 27}));
  EXPECT_EQ(TabRect(l, 2, true), (PixelRect{126, 1, 280, 27}));
  const auto band = ActiveBandSpans(l, 2);
  EXPECT_EQ(band[0], (PixelSpan{129, 278, 2}));
  EXPECT_EQ(band[1], (PixelSpan{128, 279, 3}));
  EXPECT_EQ(band[2], (PixelSpan{127, 280, 4}));
}

TEST(ShadowBands, DarkensByStepsAndClamps) {
  EXPECT_EQ(ShadowBands({240, 240, 240}), std::make_pair(Rgb{230, 230, 230}, Rgb{220, 220, 220}));
  EXPECT_EQ(ShadowBands({0, 0, 0}), std::make_pair(Rgb{0, 0, 0}, Rgb{0, 0, 0}));
}

// One pixel per code point, so expected results can be counted by hand.
double CodePoints(std::string_view s) {
  double n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

struct PathCase {
  const char* path;
  double limit;
  const char* expected;
};

class CompactPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(CompactPathTest, Shortens) {
  const PathCase& c = GetParam();
  EXPECT_EQ(CompactPath(c.path, c.limit, CodePoints), c.expected) << c.limit;
}

constexpr const char* kLong = "/home/user/Documents/projects/file.tmp";  // 38

INSTANTIATE_TEST_SUITE_P(Paths, CompactPathTest,
                         ::testing::Values(PathCase{kLong, 38, kLong},
                                           PathCase{kLong, 30, "/home/user/D...ojects/file.tmp"},
                                           PathCase{kLong, 18, "/home/.../file.tmp"},
                                           PathCase{kLong, 17, "/.../file.tmp"}, PathCase{kLong, 12, ".../file.tmp"},
                                           PathCase{"/a/b/verylongfilename.txt", 10, ".../verylongfilename.txt"},
                                           PathCase{"/casa/àèìòùàèìòù/perché.txt", 25, "/casa/àèì...òù/perché.txt"}));

}  // namespace
}  // namespace sw
