// Path helpers, the pattern-list text form and the settings conversions.
#include <gtest/gtest.h>

#include <tuple>

#include "core/options.h"
#include "core/patterns.h"
#include "core/text.h"

namespace sw {
namespace {

using PathCase = std::tuple<std::string (*)(std::string_view), const char*, const char*>;  // helper, input, result
class PathHelperTest : public ::testing::TestWithParam<PathCase> {};
TEST_P(PathHelperTest, Converts) {
  const auto& [helper, input, expected] = GetParam();
  EXPECT_EQ(helper(input), expected) << input;
}
INSTANTIATE_TEST_SUITE_P(
    Paths, PathHelperTest,
    ::testing::Values(PathCase{AddBackslash, "/home/ann", "/home/ann/"}, PathCase{AddBackslash, "/", "/"},
                      PathCase{AddBackslash, "/tmp/", "/tmp/"}, PathCase{AddBackslash, "", "/"},
                      PathCase{GetExtension, "/x/index.html", "html"}, PathCase{GetExtension, "a.gz", "gz"},
                      PathCase{GetExtension, "/my.dir/Makefile", ""}, PathCase{GetExtension, "/home/ann/.bashrc", ""},
                      PathCase{GetExtension, "/x/trailing.", ""}, PathCase{GetExtension, "/x/archive.tar.GZ", "GZ"},
                      PathCase{GetExtension, "readme", ""}, PathCase{GetExtension, "/x/.hidden.tmp", "tmp"},
                      PathCase{FolderOfPath, "/tmp/a.tmp", "/tmp/"}, PathCase{FolderOfPath, "/a.tmp", "/"},
                      PathCase{FolderOfPath, "a.tmp", ""}, PathCase{GetFolderName, "/home/ann/Docs/", "Docs/"},
                      PathCase{GetFolderName, "/home/ann/Docs", "Docs"}, PathCase{GetFolderName, "Docs", ""},
                      PathCase{RemoveDots, "t.m.p.", "tmp"}, PathCase{RemoveDots, " .Bak", " Bak"}));

using SplitCase = std::pair<const char*, std::vector<std::string>>;  // stored text, entries
class SplitPatternListTest : public ::testing::TestWithParam<SplitCase> {};
TEST_P(SplitPatternListTest, GivesEntriesInTextOrder) {
  EXPECT_EQ(SplitPatternList(GetParam().first), GetParam().second);
}
INSTANTIATE_TEST_SUITE_P(Texts, SplitPatternListTest,
                         ::testing::Values(SplitCase{";*.tmp;*.log", {"*.tmp", "*.log"}},
                                           SplitCase{"*.tmp;*.log;", {"*.tmp", "*.log"}},
                                           SplitCase{"*.tmp;;*.log", {"*.tmp", "", "*.log"}}, SplitCase{"", {}},
                                           SplitCase{";", {}},
                                           SplitCase{"*.tmp;*.gid;*.old", {"*.tmp", "*.gid", "*.old"}}));

using AddCase = std::tuple<const char*, const char*, const char*>;  // stored text, extension, new text
class AddExtensionTest : public ::testing::TestWithParam<AddCase> {};
TEST_P(AddExtensionTest, AppendsOrRefuses) {
  const auto& [stored, extension, expected] = GetParam();
  EXPECT_EQ(AddExtension(stored, extension).text.value_or("refused"), expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, AddExtensionTest,
                         ::testing::Values(AddCase{"*.tmp;*.gid;*.old", "BAK", "*.tmp;*.gid;*.old;*.bak"},
                                           AddCase{"*.tmp;*.old", "old", "refused"},
                                           AddCase{"*.tmp;*.old", "TMP", "refused"},
                                           AddCase{"*.tmp;*.gid", "mp", "*.tmp;*.gid;*.mp"},
                                           AddCase{"*.tmp;*.gid", "gi", "*.tmp;*.gid;*.gi"},
                                           AddCase{"*.tmp", "", "refused"}, AddCase{"*.tmp", "a;b", "refused"},
                                           AddCase{"*.tmp", "x/y", "refused"}, AddCase{"", "log", ";*.log"},
                                           AddCase{"*.tmp", "tmp,old", "*.tmp;*.tmp,old"},
                                           AddCase{"*.tmp", " bak", "*.tmp;*. bak"}));

TEST(PatternList, RemoveEntryAndJoinTicked) {
  const std::vector<std::string> builtIn = {"*.tmp", "*.gid", "*.old"};
  EXPECT_EQ(RemoveEntry(builtIn, 1), "*.tmp;*.old");
  EXPECT_EQ(RemoveEntry({"*.tmp"}, 0), "");
  EXPECT_EQ(JoinTicked(builtIn, {true, false, true}), "*.tmp;*.old");
  EXPECT_EQ(JoinTicked(builtIn, {false, false, false}), "");
}

// A stored text read as a flag, as a check-box state (-1: the box is left as
// it is) and as the tab to open.
using StoredCase = std::tuple<const char*, bool, int, int>;
class StoredTextTest : public ::testing::TestWithParam<StoredCase> {};
TEST_P(StoredTextTest, Converts) {
  const auto& [text, flag, check, tab] = GetParam();
  EXPECT_EQ(options::ToBool(text), flag);
  EXPECT_EQ(options::ToCheckState(text).value_or(-1), check);
  EXPECT_EQ(options::ToActiveTab(text), tab);
}
INSTANTIATE_TEST_SUITE_P(Texts, StoredTextTest,
                         ::testing::Values(StoredCase{"True", true, -1, 1}, StoredCase{"False", false, -1, 1},
                                           StoredCase{"false", false, -1, 1}, StoredCase{"0", false, 0, 1},
                                           StoredCase{"1", true, 1, 1}, StoredCase{"2", true, -1, 2},
                                           StoredCase{"3", true, -1, 1}, StoredCase{"-1", true, -1, 1},
                                           StoredCase{"12", true, -1, 1}, StoredCase{"", true, -1, 1},
                                           StoredCase{"x", true, -1, 1}));

TEST(Options, Defaults) {
  using Default = std::pair<std::string, const char*>;
  for (const auto& [key, value] :
       {Default{"FilesExtension", "*.tmp;*.gid;*.old"}, Default{"MessageConfirmation", "True"},
        Default{"ActiveTab", "1"}, Default{"GroupAttributi", "0"}, Default{options::GroupCleaningKey(5), "0"},
        Default{"PersonalFolder", ""}, Default{"MemoryFolder", ""}})
    EXPECT_EQ(options::DefaultFor(key), value) << key;
}

}  // namespace
}  // namespace sw
