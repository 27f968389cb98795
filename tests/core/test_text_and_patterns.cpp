// Path helpers, the pattern-list text form and the settings conversions.
#include <gtest/gtest.h>

#include "core/options.h"
#include "core/patterns.h"
#include "core/text.h"

namespace sw {
namespace {

struct PathCase {
  const char* input;
  const char* expected;
};

class AddBackslashTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(AddBackslashTest, AppendsOneSeparator) { EXPECT_EQ(AddBackslash(GetParam().input), GetParam().expected); }
INSTANTIATE_TEST_SUITE_P(Paths, AddBackslashTest,
                         ::testing::Values(PathCase{"/home/ann", "/home/ann/"}, PathCase{"/", "/"},
                                           PathCase{"/tmp/", "/tmp/"}, PathCase{"", "/"}));

class GetExtensionTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(GetExtensionTest, TakesThePartAfterTheNamesLastDot) {
  EXPECT_EQ(GetExtension(GetParam().input), GetParam().expected) << GetParam().input;
}
INSTANTIATE_TEST_SUITE_P(
    Names, GetExtensionTest,
    ::testing::Values(PathCase{"/x/report.doc", "doc"}, PathCase{"/x/index.html", "html"}, PathCase{"a.gz", "gz"},
                      PathCase{"/x/notes.c", "c"}, PathCase{"/my.dir/Makefile", ""},  // a folder's dot never leaks in
                      PathCase{"/home/ann/.bashrc", ""},                               // hidden file, no extension
                      PathCase{"/x/trailing.", ""}, PathCase{"/x/archive.tar.GZ", "GZ"}, PathCase{"readme", ""},
                      PathCase{"/x/.hidden.tmp", "tmp"}));

TEST(PathHelpers, FolderOfPathAndFolderName) {
  EXPECT_EQ(FolderOfPath("/tmp/a.tmp"), "/tmp/");
  EXPECT_EQ(FolderOfPath("/a.tmp"), "/");
  EXPECT_EQ(FolderOfPath("a.tmp"), "");
  EXPECT_EQ(GetFolderName("/home/ann/Docs/"), "Docs/");
  EXPECT_EQ(GetFolderName("/home/ann/Docs"), "Docs");
  EXPECT_EQ(GetFolderName("Docs"), "");
  EXPECT_EQ(RemoveDots("t.m.p."), "tmp");
  EXPECT_EQ(RemoveDots(" .Bak"), " Bak");
}

struct SplitCase {
  const char* text;
  std::vector<std::string> entries;
};

class SplitPatternListTest : public ::testing::TestWithParam<SplitCase> {};
TEST_P(SplitPatternListTest, GivesEntriesInTextOrder) { EXPECT_EQ(SplitPatternList(GetParam().text), GetParam().entries); }
INSTANTIATE_TEST_SUITE_P(
    Texts, SplitPatternListTest,
    ::testing::Values(SplitCase{";*.tmp;*.log", {"*.tmp", "*.log"}}, SplitCase{"*.tmp;*.log;", {"*.tmp", "*.log"}},
                      SplitCase{"*.tmp;*.log", {"*.tmp", "*.log"}}, SplitCase{"*.tmp;;*.log", {"*.tmp", "", "*.log"}},
                      SplitCase{"", {}}, SplitCase{";", {}}, SplitCase{"*.tmp;*.gid;*.old", {"*.tmp", "*.gid", "*.old"}}));

struct AddCase {
  const char* stored;
  const char* extension;
  const char* expected;  // nullptr: refused
  const char* why;
};

class AddExtensionTest : public ::testing::TestWithParam<AddCase> {};
TEST_P(AddExtensionTest, AppendsOrRefuses) {
  const AddCase& c = GetParam();
  const AddResult result = AddExtension(c.stored, c.extension);
  if (c.expected) {
    ASSERT_TRUE(result.text.has_value()) << c.why;
    EXPECT_EQ(*result.text, c.expected) << c.why;
    // Whatever was added must come back as exactly one new entry.
    EXPECT_EQ(SplitPatternList(*result.text).size(), SplitPatternList(c.stored).size() + 1) << c.why;
  } else {
    EXPECT_FALSE(result.text.has_value()) << c.why;
  }
}
INSTANTIATE_TEST_SUITE_P(
    Cases, AddExtensionTest,
    ::testing::Values(AddCase{"*.tmp;*.gid;*.old", "BAK", "*.tmp;*.gid;*.old;*.bak", "lower-cased and appended"},
                      AddCase{"*.tmp;*.gid;*.old;*.bak", "old", nullptr, "already listed"},
                      AddCase{"*.tmp;*.gid;*.old", "TMP", nullptr, "already listed, other case"},
                      AddCase{"*.tmp;*.gid;*.old", "mp", "*.tmp;*.gid;*.old;*.mp", "a piece of a pattern is new"},
                      AddCase{"*.tmp;*.gid;*.old", "gi", "*.tmp;*.gid;*.old;*.gi", "a piece of a pattern is new"},
                      AddCase{"*.tmp", "", nullptr, "empty"}, AddCase{"*.tmp", "a;b", nullptr, "would split the list"},
                      AddCase{"*.tmp", "x/y", nullptr, "can never match a name"},
                      AddCase{"", "log", ";*.log", "empty list"},
                      AddCase{"*.tmp", "tmp,old", "*.tmp;*.tmp,old", "commas are not separators"},
                      AddCase{"*.tmp", " bak", "*.tmp;*. bak", "a blank is kept"}));

TEST(PatternList, RemoveEntryAndJoinTicked) {
  const std::vector<std::string> builtIn = {"*.tmp", "*.gid", "*.old"};
  EXPECT_EQ(RemoveEntry(builtIn, 1), "*.tmp;*.old");
  EXPECT_EQ(RemoveEntry({"*.tmp"}, 0), "");
  EXPECT_EQ(JoinTicked(builtIn, {true, false, true}), "*.tmp;*.old");
  EXPECT_EQ(JoinTicked(builtIn, {false, false, false}), "");
}

struct BoolCase {
  const char* text;
  bool value;
};
class ToBoolTest : public ::testing::TestWithParam<BoolCase> {};
TEST_P(ToBoolTest, Converts) { EXPECT_EQ(options::ToBool(GetParam().text), GetParam().value) << GetParam().text; }
INSTANTIATE_TEST_SUITE_P(Values, ToBoolTest,
                         ::testing::Values(BoolCase{"True", true}, BoolCase{"False", false}, BoolCase{"false", false},
                                           BoolCase{"0", false}, BoolCase{"1", true}, BoolCase{"-1", true},
                                           BoolCase{"12", true}, BoolCase{"", true}));

TEST(Options, CheckStatesIgnoreValuesOfTwoOrMore) {
  EXPECT_EQ(options::ToCheckState("0"), 0);
  EXPECT_EQ(options::ToCheckState("1"), 1);
  EXPECT_EQ(options::ToCheckState("2"), std::nullopt);
  EXPECT_EQ(options::ToCheckState("7"), std::nullopt);
  EXPECT_EQ(options::ToCheckState("-1"), std::nullopt);
  EXPECT_EQ(options::ToCheckState(""), std::nullopt);
}

TEST(Options, ActiveTabOpensAnExistingPanel) {
  EXPECT_EQ(options::ToActiveTab("1"), 1);
  EXPECT_EQ(options::ToActiveTab("2"), 2);
  EXPECT_EQ(options::ToActiveTab("3"), 1);
  EXPECT_EQ(options::ToActiveTab("0"), 1);   // would leave the window without a panel
  EXPECT_EQ(options::ToActiveTab("-4"), 1);
  EXPECT_EQ(options::ToActiveTab("x"), 1);
}

TEST(Options, DefaultsOfEveryKey) {
  EXPECT_EQ(options::DefaultFor(options::kFilesExtension), "*.tmp;*.gid;*.old");
  EXPECT_EQ(options::DefaultFor(options::kMessageConfirmation), "True");
  EXPECT_EQ(options::DefaultFor(options::kActiveTab), "1");
  EXPECT_EQ(options::DefaultFor(options::kGroupAttributi), "0");
  EXPECT_EQ(options::DefaultFor(options::GroupCleaningKey(5)), "0");
  EXPECT_EQ(options::DefaultFor(options::kPersonalFolder), "");
  EXPECT_EQ(options::DefaultFor(options::kMemoryFolder), "");
  EXPECT_EQ(options::GroupCleaningKey(3), "GroupCleaning3");
}

}  // namespace
}  // namespace sw
