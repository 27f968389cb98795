// Tab strip geometry, shadow colours and path shortening.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/compact_path.h"
#include "core/shadow.h"
#include "core/tab_layout.h"

namespace sw {
namespace {

// ---------------------------------------------------------------- tab layout

const CaptionWidths kWidths{61, 83, 67};

struct LayoutCase {
  const char* name;
  CaptionWidths widths;
  std::array<int, 3> x;
  std::array<int, 3> w;
};

class LayoutTabsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTabsTest, EdgesAndWidths) {
  const LayoutCase& c = GetParam();
  const TabLayout l = LayoutTabs(c.widths);
  EXPECT_EQ(l.x, c.x);
  EXPECT_EQ(l.w, c.w);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, LayoutTabsTest,
    ::testing::Values(
        LayoutCase{"Integral", {61, 83, 67}, {6, 130, 276}, {125, 147, 131}},
        // 124.5 -> 124 and 147.5 -> 148: halves go to the even neighbour.
        LayoutCase{"HalvesToEven", {60.5, 83.5, 67}, {6, 129, 276}, {124, 148, 131}},
        LayoutCase{"NearestOtherwise", {60.4, 82.6, 66.51}, {6, 129, 275}, {124, 147, 131}},
        LayoutCase{"Empty", {0, 0, 0}, {6, 69, 132}, {64, 64, 64}}),
    [](const auto& info) { return std::string(info.param.name); });

struct HitCase {
  const char* name;
  CaptionWidths widths;
  double x;
  double y;
  int tab;
};

class TabAtTest : public ::testing::TestWithParam<HitCase> {};

TEST_P(TabAtTest, SelectsTab) {
  const HitCase& c = GetParam();
  EXPECT_EQ(TabAt(LayoutTabs(c.widths), c.widths, c.x, c.y), c.tab);
}

INSTANTIATE_TEST_SUITE_P(
    Points, TabAtTest,
    ::testing::Values(
        HitCase{"JustLeftOfTab2", kWidths, 129.9, 10, 1},
        HitCase{"Tab2LeftEdge", kWidths, 130, 10, 2},
        HitCase{"JustLeftOfTab3", kWidths, 275.9, 10, 2},
        HitCase{"Tab3LeftEdge", kWidths, 276, 10, 3},
        HitCase{"LastPixelOfTab3", kWidths, 405.9, 10, 3},
        HitCase{"RightOfLastTab", kWidths, 406, 10, 0},
        HitCase{"LeftOfFirstTab", kWidths, 2, 10, 1},
        HitCase{"NegativeX", kWidths, -50, 10, 1},
        HitCase{"AboveTabs", kWidths, 10, 3.9, 0},
        HitCase{"BelowBaseline", kWidths, 10, 27.01, 0},
        HitCase{"TopRowSelects", kWidths, 10, 4, 1},
        HitCase{"BaselineSelects", kWidths, 200, 27, 2},
        // Limit 6 + 61.5 + 63 = 130.5 rounds down to 130, not up to 131.
        HitCase{"LimitHalfRoundsDown", {61.5, 83, 67}, 130.2, 10, 2},
        // Limit 131.5 rounds up to 132.
        HitCase{"LimitHalfRoundsUp", {62.5, 83, 67}, 131.9, 10, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct RectCase {
  const char* name;
  int tab;
  bool active;
  PixelRect rect;
};

class TabRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(TabRectTest, Outline) {
  const RectCase& c = GetParam();
  EXPECT_EQ(TabRect(LayoutTabs(kWidths), c.tab, c.active), c.rect);
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, TabRectTest,
    ::testing::Values(RectCase{"Tab1Inactive", 1, false, {6, 4, 130, 27}},
                      RectCase{"Tab2Inactive", 2, false, {130, 4, 276, 27}},
                      RectCase{"Tab2Active", 2, true, {126, 1, 280, 27}},
                      RectCase{"Tab3Active", 3, true, {272, 1, 410, 27}},
                      RectCase{"TabZero", 0, true, {}},
                      RectCase{"TabFour", 4, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ActiveBandSpans, Tab2FromThreeRowsDown) {
  const auto spans = ActiveBandSpans(LayoutTabs(kWidths), 2);
  EXPECT_EQ(spans[0], (PixelSpan{129, 278, 2}));
  EXPECT_EQ(spans[1], (PixelSpan{128, 279, 3}));
  EXPECT_EQ(spans[2], (PixelSpan{127, 280, 4}));
}

struct CaptionCase {
  const char* name;
  double height;
  bool active;
  int x;
  int y;
};

class CaptionPositionTest : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionPositionTest, TopLeft) {
  const CaptionCase& c = GetParam();
  const CaptionOrigin o =
      CaptionPosition(LayoutTabs(kWidths), 1, kWidths[0], c.height, c.active);
  EXPECT_EQ(o.x, c.x);
  EXPECT_EQ(o.y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    Heights, CaptionPositionTest,
    ::testing::Values(CaptionCase{"InactiveOdd", 13, false, 38, 10},
                      CaptionCase{"ActiveOdd", 13, true, 38, 7},
                      // 6.5 + 3 = 9.5 -> 10, while 6.5 -> 6.
                      CaptionCase{"InactiveHalf", 14, false, 38, 10},
                      CaptionCase{"ActiveHalf", 14, true, 38, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CaptionPosition, FractionalWidthStaysCentred) {
  // w = round(60.5 + 64) = 124; (124 - 60.5) / 2 = 31.75 -> 6 + 31.75 -> 38.
  const CaptionWidths widths{60.5, 83, 67};
  EXPECT_EQ(CaptionPosition(LayoutTabs(widths), 1, 60.5, 13, false).x, 38);
}

// ---------------------------------------------------------------- shadow

struct ShadowCase {
  const char* name;
  Rgb background;
  Rgb outer;
  Rgb inner;
};

class ShadowBandsTest : public ::testing::TestWithParam<ShadowCase> {};

TEST_P(ShadowBandsTest, Colours) {
  const ShadowCase& c = GetParam();
  const auto [outer, inner] = ShadowBands(c.background);
  EXPECT_EQ(outer, c.outer);
  EXPECT_EQ(inner, c.inner);
}

INSTANTIATE_TEST_SUITE_P(
    Backgrounds, ShadowBandsTest,
    ::testing::Values(
        ShadowCase{"ButtonFace", {240, 240, 240}, {230, 230, 230}, {220, 220, 220}},
        ShadowCase{"Black", {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        ShadowCase{"NearBlackClamps", {5, 15, 25}, {0, 5, 15}, {0, 0, 5}},
        ShadowCase{"ExactSteps", {10, 20, 255}, {0, 10, 245}, {0, 0, 235}},
        ShadowCase{"OutOfRangeInput", {300, -4, 128}, {245, 0, 118}, {235, 0, 108}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- compact path

// One pixel per code point, so expected results can be counted by hand.
double CodePoints(std::string_view s) {
  double n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) n += 1;
  }
  return n;
}

bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3
                                         : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += len;
  }
  return true;
}

struct PathCase {
  const char* name;
  const char* path;
  double limit;
  const char* expected;
};

class CompactPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(CompactPathTest, Shortens) {
  const PathCase& c = GetParam();
  const std::string out = CompactPath(c.path, c.limit, CodePoints);
  EXPECT_EQ(out, c.expected);
  EXPECT_TRUE(ValidUtf8(out));
}

constexpr const char* kLong = "/home/user/Documents/projects/file.tmp";  // 38

INSTANTIATE_TEST_SUITE_P(
    Paths, CompactPathTest,
    ::testing::Values(
        PathCase{"FitsUnchanged", kLong, 100, kLong},
        PathCase{"ExactFitUnchanged", kLong, 38, kLong},
        PathCase{"MiddleEaten", kLong, 30, "/home/user/D...ojects/file.tmp"},
        PathCase{"WholeMiddleGone", kLong, 18, "/home/.../file.tmp"},
        PathCase{"FirstComponentDropped", kLong, 17, "/.../file.tmp"},
        PathCase{"OnlyLastComponent", kLong, 12, ".../file.tmp"},
        PathCase{"LastComponentNeverCut", kLong, 5, ".../file.tmp"},
        PathCase{"LongLastComponent", "/a/b/verylongfilename.txt", 10,
                 ".../verylongfilename.txt"},
        PathCase{"MultibyteNotSplit", "/casa/àèìòùàèìòù/perché.txt", 25,
                 "/casa/àèì...òù/perché.txt"},
        PathCase{"MultibyteOddKeep", "/casa/àèìòùàèìòù/perché.txt", 26,
                 "/casa/àèì...ìòù/perché.txt"},
        PathCase{"TrailingSlashKeepsDir", "/home/user/Documents/projects/", 20,
                 "/home/u.../projects/"},
        PathCase{"Relative", "docs/sub/dir/file.txt", 18, "docs/s.../file.txt"},
        PathCase{"RelativeHasNoRootStep", "docs/sub/dir/file.txt", 16,
                 ".../file.txt"},
        PathCase{"NoMiddle", "/home/file.tmp", 13, "/.../file.tmp"},
        PathCase{"SingleNameUntouched", "verylongname.txt", 5, "verylongname.txt"},
        PathCase{"NeverWiderThanInput", "ab/c", 1, "ab/c"},
        PathCase{"RootOnly", "/", 0, "/"},
        PathCase{"Empty", "", 10, ""},
        PathCase{"EmptyNegativeLimit", "", -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Every limit between the shortest and the full form must be filled exactly:
// catches off-by-one errors in the search for the longest fitting text.
TEST(CompactPath, UsesAllAvailableWidth) {
  for (int limit = 18; limit < 38; ++limit) {
    const std::string out = CompactPath(kLong, limit, CodePoints);
    EXPECT_EQ(CodePoints(out), limit) << out;
    EXPECT_EQ(out.rfind("/home/", 0), 0u) << out;
    EXPECT_TRUE(out.ends_with("/file.tmp")) << out;
  }
}

TEST(CompactPath, WideGlyphsStillFit) {
  // Non-uniform widths: 'W' is five pixels wide.
  auto measure = [](std::string_view s) {
    double w = 0;
    for (char c : s) w += (c == 'W') ? 5 : 1;
    return w;
  };
  const std::string out =
      CompactPath("/srv/WWWWaaaaWWWW/x.txt", 20, measure);
  EXPECT_LE(measure(out), 20);
  EXPECT_TRUE(out.ends_with("/x.txt"));
  EXPECT_NE(out.find("..."), std::string::npos);
}

}  // namespace
}  // namespace sw
