// The careful writes of the program's own files into shared folders.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/files.h"
#include "shared/temp_tree.h"

namespace sw {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

class OwnFileTest : public ::testing::Test {
protected:
  test::TempTree tree;
  std::string Path(const std::string& name) const { return tree.path(name); }
};

TEST_F(OwnFileTest, WritesAndRewritesTheWholeContent) {
  const std::string guide = Path("guide.htm");
  ASSERT_EQ(WriteOwnFile(guide, "a longer first content"), 0);
  ASSERT_EQ(WriteOwnFile(guide, "short"), 0);
  EXPECT_EQ(ReadAll(guide), "short");  // no tail of the first write survives
  struct stat st {};
  ASSERT_EQ(::stat(guide.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(OwnFileTest, NeverWritesThroughASymbolicLink) {
  const std::string victim = Path("victim");
  { std::ofstream(victim) << "precious"; }
  const std::string guide = Path("guide.htm");
  ASSERT_EQ(::symlink(victim.c_str(), guide.c_str()), 0);
  EXPECT_NE(WriteOwnFile(guide, "<html>"), 0);
  EXPECT_EQ(ReadAll(victim), "precious");
  EXPECT_FALSE(RemoveOwnFile(guide));  // the link is not ours to remove either
  struct stat st {};
  EXPECT_EQ(::lstat(guide.c_str(), &st), 0);
}

TEST_F(OwnFileTest, NeverWritesThroughAHardLinkOrIntoAFolderOrFifo) {
  const std::string victim = Path("victim");
  { std::ofstream(victim) << "precious"; }
  const std::string linked = Path("linked.htm");
  ASSERT_EQ(::link(victim.c_str(), linked.c_str()), 0);
  EXPECT_NE(WriteOwnFile(linked, "<html>"), 0);
  EXPECT_EQ(ReadAll(victim), "precious");

  const std::string folder = Path("folder.htm");
  ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
  EXPECT_NE(WriteOwnFile(folder, "<html>"), 0);
  EXPECT_FALSE(RemoveOwnFile(folder));

  const std::string fifo = Path("fifo.htm");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_NE(WriteOwnFile(fifo, "<html>"), 0);  // must not hang waiting for a reader
}

TEST_F(OwnFileTest, RemovesOnlyOwnRegularFiles) {
  const std::string guide = Path("guide.htm");
  ASSERT_EQ(WriteOwnFile(guide, "x"), 0);
  EXPECT_TRUE(RemoveOwnFile(guide));
  EXPECT_FALSE(FileExists(guide));
  EXPECT_FALSE(RemoveOwnFile(guide));  // already gone
}

TEST_F(OwnFileTest, ExistenceTests) {
  const std::string file = Path("plain");
  { std::ofstream(file) << "x"; }
  ::chmod(file.c_str(), 0400);
  const std::string hidden = Path(".hidden");
  { std::ofstream(hidden) << "x"; }
  EXPECT_TRUE(FileExists(file));  // read-only
  EXPECT_TRUE(FileExists(hidden));
  EXPECT_FALSE(FileExists(tree.root()));
  EXPECT_FALSE(FileExists(Path("missing")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(FolderExists(tree.root()));
  EXPECT_TRUE(FolderExists("/"));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists(""));
}

}  // namespace
}  // namespace sw
