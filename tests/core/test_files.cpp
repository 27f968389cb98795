// The careful writes of the program's own files into shared folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "core/files.h"
#include "shared/temp_tree.h"

namespace sw {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(OwnFile, RewriteTruncatesAndRemoveTakesTheFile) {
  test::TempTree tree;
  const std::string guide = tree.path("guide.htm");
  ASSERT_EQ(WriteOwnFile(guide, "a longer first content"), 0);
  ASSERT_EQ(WriteOwnFile(guide, "short"), 0);
  EXPECT_EQ(ReadAll(guide), "short");  // no tail of the first write survives
  EXPECT_EQ(static_cast<int>(std::filesystem::status(guide).permissions()), 0600);
  EXPECT_TRUE(RemoveOwnFile(guide));
  EXPECT_FALSE(FileExists(guide));
}

// Something planted at the path, and whether RemoveOwnFile may take it (a
// second name of a regular file of ours may go).
using Planted = std::pair<void (*)(test::TempTree&), bool>;
class PlantedTest : public ::testing::TestWithParam<Planted> {};
TEST_P(PlantedTest, IsNeverWrittenThrough) {
  test::TempTree tree;
  ASSERT_EQ(WriteOwnFile(tree.path("victim"), "precious"), 0);
  const std::string guide = tree.path("guide.htm");
  const auto& [plant, removable] = GetParam();
  plant(tree);
  EXPECT_NE(WriteOwnFile(guide, "<html>"), 0);  // a FIFO must not wait for a reader
  EXPECT_EQ(ReadAll(tree.path("victim")), "precious");
  EXPECT_EQ(RemoveOwnFile(guide), removable);
}
INSTANTIATE_TEST_SUITE_P(Kinds, PlantedTest,
                         ::testing::Values(Planted{[](test::TempTree& t) { t.symlink("guide.htm", "victim"); }, false},
                                           Planted{[](test::TempTree& t) { t.hardLink("victim", "guide.htm"); }, true},
                                           Planted{[](test::TempTree& t) { t.dir("guide.htm"); }, false},
                                           Planted{[](test::TempTree& t) { t.fifo("guide.htm"); }, false}));

TEST(Existence, FilesAndFolders) {
  test::TempTree tree;
  tree.file("read-only", 1, 0400);
  tree.file(".hidden", 1);
  using Case = std::tuple<std::string, bool, bool>;  // path, a file, a folder
  for (const auto& [path, file, folder] :
       {Case{tree.path("read-only"), true, false}, Case{tree.path(".hidden"), true, false},
        Case{tree.root(), false, true}, Case{"/", false, true}, Case{tree.path("missing"), false, false},
        Case{"", false, false}}) {
    EXPECT_EQ(FileExists(path), file) << path;
    EXPECT_EQ(FolderExists(path), folder) << path;
  }
}

}  // namespace
}  // namespace sw
