#include <fnmatch.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/matcher.h"

namespace sw {
namespace {

struct MatchCase {
  std::string patterns, name;
  bool expected;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.patterns) << " vs " << testing::PrintToString(c.name);
}

class PatternSetCases : public testing::TestWithParam<MatchCase> {};

TEST_P(PatternSetCases, Matches) {
  EXPECT_EQ(PatternSet(GetParam().patterns).matches(GetParam().name), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PatternSetCases,
    testing::Values(
        // Case, decoys that only start or end like the extension, and a bare extension.
        MatchCase{"*.tmp", "X.TMP", true}, MatchCase{"*.TmP", "x.tMp", true}, MatchCase{"*.tmp", "x.tmpl", false},
        MatchCase{"*.tmp", "x.tmp.bak", false}, MatchCase{"*.tmp", "xtmp", false}, MatchCase{"*.tmp", ".tmp", true},
        MatchCase{"*.tmp", "new\nline.tmp", true},
        // List syntax: empty pieces ignored; "[" and "\" are literal.
        MatchCase{";;*.tmp;*.gid", "a.GID", true}, MatchCase{"", "x.tmp", false}, MatchCase{";;;", "x", false},
        MatchCase{"[ab].tmp", "a.tmp", false}, MatchCase{"[ab].tmp", "[AB].TMP", true},
        MatchCase{"\\*.tmp", "\\x.tmp", true}, MatchCase{"?", "", false}, MatchCase{"a?c", "a\nc", true},
        MatchCase{"*a*a*a*b", std::string(40, 'a'), false},
        // "?" is one code point of a UTF-8 name, however many bytes it takes.
        MatchCase{"?.tmp", "\xc3\xa9.tmp", true}, MatchCase{"??.tmp", "\xc3\xa9.tmp", false},
        MatchCase{"x?y", "x\xe6\x97\xa5y", true}, MatchCase{"?", "\xf0\x9f\x98\x80", true},
        // Unicode folding: È/è, a non-ASCII extension, the Kelvin sign, final sigma.
        MatchCase{"*.tmp", "\xc3\x88.TMP", true}, MatchCase{"\xc3\xa8*", "\xc3\x88.TMP", true},
        MatchCase{"\xc3\x88*", "\xc3\xa8x", true}, MatchCase{"\xc3\xa8*", "e.tmp", false},
        MatchCase{"*.tmp\xc3\xa9", "X.TMP\xc3\x89", true}, MatchCase{"*.desk", "x.des\xe2\x84\xaa", true},
        MatchCase{"*\xcf\x82", "\xce\x9f\xce\xa3", true},
        // Names that are not UTF-8 (stray bytes, surrogates, overlong forms)
        // match byte by byte with ASCII folding only.
        MatchCase{"*.tmp", "\xff.TMP", true}, MatchCase{"?.tmp", "\xe9.tmp", true},
        MatchCase{"??.tmp", "\xff\xfe.tmp", true}, MatchCase{"?.tmp", "\xff\xfe.tmp", false},
        MatchCase{"\xc3\xa8*", "\xc8.tmp", false}, MatchCase{"\xc3\xa8*", "\xc3\xa8\xff", true},
        MatchCase{"\xc3\xa8*", "\xc3\x88\xff", false}, MatchCase{"???.tmp", "\xed\xa0\x80.tmp", true},
        MatchCase{"?\x80.tmp", "\xc0\x80.tmp", true}));

// On ASCII without "[" and "\", fnmatch with case folding follows the same
// rules, so it is the oracle for the wildcard logic.
TEST(PatternSet, AgreesWithFnmatchOnAscii) {
  std::mt19937 rng(20240611);
  auto text = [&](std::string_view alphabet, unsigned maxLen) {
    std::string s(1 + rng() % maxLen, ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  int matched = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> patterns(1 + rng() % 3);
    std::string list;
    for (std::string& p : patterns) {
      // Half of them plain "*.ext", which may take a faster path.
      p = rng() % 2 == 0 ? "*." + text("abAB", 3) : text("abAB.x**??", 6);
      list += p + ";";
    }
    const PatternSet set(list);
    for (int n = 0; n < 50; ++n) {
      const std::string name = text("abAB.xX", 8);
      bool expected = false;
      for (const std::string& p : patterns) expected |= fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
      matched += expected;
      ASSERT_EQ(set.matches(name), expected) << "patterns \"" << list << "\" name \"" << name << '"';
    }
  }
  EXPECT_GT(matched, 500);  // the oracle must not be trivially all-false
}

}  // namespace
}  // namespace sw
