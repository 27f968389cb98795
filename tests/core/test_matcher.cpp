#include <fnmatch.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/matcher.h"

namespace sw {
namespace {

struct MatchCase {
  const char* patterns;
  std::string name;
  bool expected;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << '"' << c.patterns << "\" vs \"";
  for (unsigned char ch : c.name) {
    if (ch >= 0x20 && ch < 0x7F) {
      *os << ch;
    } else {
      *os << "\\x" << std::hex << static_cast<int>(ch) << std::dec;
    }
  }
  *os << '"';
}

class PatternSetCases : public testing::TestWithParam<MatchCase> {};

TEST_P(PatternSetCases, Matches) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(PatternSet(c.patterns).matches(c.name), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, PatternSetCases,
    testing::Values(MatchCase{"*.tmp", "x.tmp", true}, MatchCase{"*.tmp", "X.TMP", true},
                    MatchCase{"*.TmP", "x.tMp", true}, MatchCase{"*.tmp", "x.tmpl", false},
                    MatchCase{"*.tmp", "x.tmp.bak", false}, MatchCase{"*.tmp", ".tmp", true},
                    MatchCase{"*.tmp", "tmp", false}, MatchCase{"*.tmp", "xtmp", false},
                    MatchCase{"*.tmp", "x.tm", false}, MatchCase{"*.tmp;*.gid;*.old", "a.GID", true},
                    MatchCase{"*.tmp;*.gid;*.old", "a.Old", true},
                    MatchCase{"*.tmp;*.gid;*.old", "a.new", false},
                    MatchCase{"*.*", "a.b", true}, MatchCase{"*.*", "noext", false},
                    MatchCase{"*.tmp", "new\nline.tmp", true}));

INSTANTIATE_TEST_SUITE_P(
    ListSyntax, PatternSetCases,
    testing::Values(MatchCase{";;*.tmp;", "x.tmp", true}, MatchCase{"", "x.tmp", false},
                    MatchCase{";;;", "x.tmp", false}, MatchCase{"*", ".hidden", true},
                    MatchCase{"a.tmp", "A.TMP", true}, MatchCase{"a.tmp", "ba.tmp", false},
                    // "[" and "\" are literal: there are no classes and no escapes.
                    MatchCase{"[ab].tmp", "a.tmp", false}, MatchCase{"[ab].tmp", "[AB].tmp", true},
                    MatchCase{"\\*.tmp", "\\x.tmp", true}, MatchCase{"\\*.tmp", "*.tmp", false}));

INSTANTIATE_TEST_SUITE_P(
    Wildcards, PatternSetCases,
    testing::Values(MatchCase{"a*b*c", "aXbYc", true}, MatchCase{"a*b*c", "aXbY", false},
                    MatchCase{"a*b*c", "abc", true}, MatchCase{"a**c", "ac", true},
                    MatchCase{"*~", "file~", true}, MatchCase{"~$*", "~$doc.docx", true},
                    MatchCase{"*.t?p", "x.TAP", true}, MatchCase{"?", "", false},
                    MatchCase{"a?c", "a\nc", true}, MatchCase{"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaa", false},
                    MatchCase{"*ab*ab", "xabyabab", true}));

INSTANTIATE_TEST_SUITE_P(
    Unicode, PatternSetCases,
    testing::Values(
        // "?" is one code point of a UTF-8 name, however many bytes it takes.
        MatchCase{"?.tmp", "\xc3\xa9.tmp", true}, MatchCase{"??.tmp", "\xc3\xa9.tmp", false},
        MatchCase{"x?y", "x\xe6\x97\xa5y", true}, MatchCase{"x??y", "x\xe6\x97\xa5y", false},
        MatchCase{"?", "\xf0\x9f\x98\x80", true},
        MatchCase{"*.tmp", "\xc3\x88.TMP", true}, MatchCase{"*.tmp", "\xc3\xa8.tmp", true},
        MatchCase{"\xc3\xa8*", "\xc3\x88.TMP", true}, MatchCase{"\xc3\xa8*", "\xc3\xa8.tmp", true},
        MatchCase{"\xc3\xa8*", "e.tmp", false}, MatchCase{"\xc3\x88*", "\xc3\xa8x", true},
        // A non-ASCII extension takes the general path.
        MatchCase{"*.tmp\xc3\xa9", "X.TMP\xc3\x89", true},
        MatchCase{"*.tmp\xc3\xa9", "X.TMPE", false},
        // Letters that fold onto ASCII from outside it: the Kelvin sign and the long s.
        MatchCase{"*.desk", "x.des\xe2\x84\xaa", true}, MatchCase{"*.ps", "x.p\xc5\xbf", true},
        // Greek final sigma folds like the other sigmas.
        MatchCase{"*\xcf\x82", "\xce\x9f\xce\x94\xce\x9f\xce\xa3", true},
        MatchCase{"\xe6\x97\xa5\xe6\x9c\xac*", "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e.txt", true}));

INSTANTIATE_TEST_SUITE_P(
    InvalidUtf8, PatternSetCases,
    testing::Values(
        // Names that are not UTF-8 are matched byte by byte, ASCII letters folded.
        MatchCase{"*.tmp", "\xff.TMP", true}, MatchCase{"?.tmp", "\xe9.tmp", true},
        MatchCase{"??.tmp", "\xff\xfe.tmp", true}, MatchCase{"?.tmp", "\xff\xfe.tmp", false},
        // Latin-1 "È" is not the UTF-8 "è" of the pattern.
        MatchCase{"\xc3\xa8*", "\xc8.tmp", false},
        // UTF-8 bytes inside an otherwise broken name still match literally.
        MatchCase{"\xc3\xa8*", "\xc3\xa8\xff", true}, MatchCase{"\xc3\xa8*", "\xc3\x88\xff", false},
        MatchCase{"*.tmp", "x.tm\xff", false}, MatchCase{"*.tmp", "\xed\xa0\x80.tmp", true},
        // Overlong and surrogate forms are not UTF-8, so "?" takes one byte.
        MatchCase{"?\x80.tmp", "\xc0\x80.tmp", true}, MatchCase{"???.tmp", "\xed\xa0\x80.tmp", true}));

TEST(PatternSet, EmptyListHasNoPattern) {
  EXPECT_TRUE(PatternSet("").empty());
  EXPECT_TRUE(PatternSet(";;").empty());
  EXPECT_FALSE(PatternSet("*.tmp").empty());
  EXPECT_FALSE(PatternSet("~*").empty());
}

std::string RandomText(std::mt19937& rng, std::string_view alphabet, int maxLen) {
  std::string s(std::uniform_int_distribution<int>(1, maxLen)(rng), ' ');
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (char& c : s) c = alphabet[pick(rng)];
  return s;
}

// POSIX fnmatch with case folding agrees with our rules on ASCII without
// brackets and backslashes, so it serves as the oracle for the wildcard logic.
TEST(PatternSet, AgreesWithFnmatchOnAscii) {
  std::mt19937 rng(20240611);
  const std::string_view nameAlphabet = "abAB.xX";
  const std::string_view patternAlphabet = "abAB.x**??";
  int matched = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> patterns;
    std::string list;
    const int count = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < count; ++i) {
      patterns.push_back(RandomText(rng, patternAlphabet, 6));
      // Half the time a pure "*.ext" pattern, to exercise the suffix path.
      if (rng() % 2 == 0) patterns.back() = "*." + RandomText(rng, "abAB", 3);
      list += patterns.back() + ";";
    }
    const PatternSet set(list);
    for (int n = 0; n < 50; ++n) {
      const std::string name = RandomText(rng, nameAlphabet, 8);
      bool expected = false;
      for (const std::string& p : patterns) {
        expected = expected || fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
      }
      matched += expected;
      ASSERT_EQ(set.matches(name), expected) << "patterns \"" << list << "\" name \"" << name << '"';
    }
  }
  EXPECT_GT(matched, 500);  // the oracle must not be trivially all-false
}

TEST(PatternSet, SharedBetweenThreads) {
  const PatternSet set("*.tmp;\xc3\xa8*;?x*");
  const std::vector<std::pair<std::string, bool>> names = {
      {"a.TMP", true}, {"\xc3\x88z", true}, {"axe", true}, {"b.txt", false}, {"\xff.tmp", true}};
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        for (const auto& [name, expected] : names) {
          if (set.matches(name) != expected) ++wrong;
        }
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace sw
