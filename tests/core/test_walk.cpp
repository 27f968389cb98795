#include <fcntl.h>
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <tuple>

#include "core/walk.h"
#include "shared/temp_tree.h"

namespace sw {
namespace {

using test::TempTree;
using Paths = std::vector<std::string>;

struct RecordingSink : WalkSink {
  void onFiles(std::vector<FoundFile>&& batch) override {
    maxBatch = std::max(maxBatch, batch.size());
    for (FoundFile& f : batch) files.push_back(std::move(f));
    if (stopOnFirstBatch != nullptr) stopOnFirstBatch->store(true);
  }
  void onFolderDone(const std::string& folder) override { foldersDone.push_back(folder); }
  Paths paths() const {
    Paths out;
    for (const FoundFile& f : files) out.push_back(f.path);
    return out;
  }
  std::vector<FoundFile> files;
  Paths foldersDone;
  std::size_t maxBatch = 0;
  std::atomic<bool>* stopOnFirstBatch = nullptr;
  WalkTotals totals;
};

WalkOptions Options(const std::string& start, unsigned threads = 1, const std::string& patterns = "*.tmp") {
  return {.start = start, .patterns = patterns, .threads = threads};
}

RecordingSink WalkAll(const WalkOptions& options) {
  std::atomic<bool> stop{false};
  RecordingSink sink;
  sink.totals = Walk(options, stop, sink);
  return sink;
}

Paths Prefixed(const std::string& root, Paths rels) {
  for (std::string& r : rels) r = root + "/" + r;
  return rels;
}

// Exit code of a child process that runs `setUp` (free to drop capabilities or
// mount without touching the test runner), then walks `root` with 1 and 2
// threads: 77 when `setUp` fails, 0 when both walks find exactly `expected`.
template <class SetUp>
int WalkInChild(SetUp setUp, const std::string& root, const Paths& expected) {
  const pid_t pid = ::fork();
  if (pid == 0) {  // leaves by _exit: atexit handlers belong to the parent
    if (!setUp()) ::_exit(77);
    for (unsigned threads : {1u, 2u}) {
      const Paths got = WalkAll(Options(root, threads)).paths();
      if (got == expected) continue;
      std::fprintf(stderr, "found %s\n", testing::PrintToString(got).c_str());
      ::_exit(1);
    }
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

class WalkThreads : public testing::TestWithParam<unsigned> {};

// Names are bytes: not UTF-8, with a newline, sorted as unsigned bytes.
TEST_P(WalkThreads, DepthFirstOwnFilesFirstInByteOrder) {
  TempTree tree;
  for (const char* rel :
       {"b.tmp", "a.tmp", "A.tmp", "notes.txt", "bad\xff\xfe.tmp", "new\nline.tmp", "sub/x.tmp", "sub/deeper/y.TMP",
        "sub/deeper/deepest/w.tmp", "sub/later/v.tmp", "Sub2/z.tmp", "dir\xc3(/inner.tmp", "dir\xc3(/\x01\x7f.TMP"}) {
    tree.file(rel);
  }
  tree.dir("_nomatch/inner");
  // A trailing "/" on the start must not double the separator.
  const RecordingSink sink = WalkAll(Options(tree.root() + "/", GetParam()));
  EXPECT_FALSE(sink.totals.stopped);
  EXPECT_EQ(sink.totals.files, 12u);
  EXPECT_EQ(sink.paths(),
            Prefixed(tree.root(), {"A.tmp", "a.tmp", "b.tmp", "bad\xff\xfe.tmp", "new\nline.tmp", "Sub2/z.tmp",
                                   "dir\xc3(/\x01\x7f.TMP", "dir\xc3(/inner.tmp", "sub/x.tmp", "sub/deeper/y.TMP",
                                   "sub/deeper/deepest/w.tmp", "sub/later/v.tmp"}));
  EXPECT_EQ(sink.foldersDone, Prefixed(tree.root(), {"Sub2", "_nomatch/inner", "_nomatch", "dir\xc3(",
                                                     "sub/deeper/deepest", "sub/deeper", "sub/later", "sub"}));
}

// A random tree gives the set of a plain recursive listing filtered by
// fnmatch, and the same sequence whatever the number of readers.
TEST_P(WalkThreads, RandomTreeMatchesOracleAndSingleThreadOrder) {
  TempTree tree;
  std::mt19937 rng(7);
  const Paths exts = {".tmp", ".TMP", ".Gid", ".txt", ".tmpl", ".tmp.bak", "", ".old"};
  auto name = [&](const char* letters) {
    return (rng() % 8 == 0 ? "." : "") + std::string(1, letters[rng() % 5]) + std::to_string(rng() % 50);
  };
  Paths folders = {""};
  for (int i = 0; i < 120; ++i) {
    const std::string parent = folders[rng() % folders.size()];
    if (std::count(parent.begin(), parent.end(), '/') < 6) tree.dir(folders.emplace_back(parent + name("aBcDe") + "/"));
  }
  for (int i = 0; i < 900; ++i) {
    tree.file(folders[rng() % folders.size()] + name("xXyYz") + exts[rng() % exts.size()], 0, rng() % 7 ? 0644 : 0444);
  }
  tree.symlink(folders[1] + "link.tmp", "../");
  tree.fifo(folders[2] + "fifo.tmp");

  WalkOptions options = Options(tree.root(), 1, "*.tmp;*.gid;?1*");
  options.includeHidden = options.includeReadOnly = true;
  const RecordingSink single = WalkAll(options);
  std::multiset<std::string> expected;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.root())) {
    const std::string n = entry.path().filename().string();
    auto fn = [&](const char* p) { return fnmatch(p, n.c_str(), FNM_CASEFOLD) == 0; };
    if (entry.symlink_status().type() == std::filesystem::file_type::regular &&
        (fn("*.tmp") || fn("*.gid") || fn("?1*"))) {
      expected.insert(entry.path().string());
    }
  }
  const Paths got = single.paths();
  EXPECT_EQ(std::multiset<std::string>(got.begin(), got.end()), expected);
  ASSERT_GT(expected.size(), 100u);

  options.threads = GetParam();
  const RecordingSink multi = WalkAll(options);
  EXPECT_EQ(multi.paths(), got);
  EXPECT_EQ(multi.foldersDone, single.foldersDone);
}

TEST_P(WalkThreads, StopEndsWalkPromptlyWithWhatWasDelivered) {
  TempTree tree;
  for (int i = 0; i < 1100; ++i) tree.file("f" + std::to_string(i) + ".tmp");
  for (int i = 0; i < 400; ++i) tree.file("d" + std::to_string(i % 20) + "/g" + std::to_string(i) + ".tmp");
  std::atomic<bool> stop{false};
  RecordingSink sink;
  sink.stopOnFirstBatch = &stop;
  const auto begin = std::chrono::steady_clock::now();
  const WalkTotals totals = Walk(Options(tree.root(), GetParam()), stop, sink);
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
  EXPECT_TRUE(totals.stopped);
  EXPECT_EQ(totals.files, sink.files.size());
  EXPECT_LT(sink.files.size(), 1500u);
  EXPECT_LE(sink.maxBatch, 1024u);
  EXPECT_TRUE(sink.foldersDone.empty());
}

INSTANTIATE_TEST_SUITE_P(Readers, WalkThreads, testing::Values(1u, 2u));

// Only regular files are listed: hard links under each name, sparse files at
// their length; FIFOs, folders and symbolic links (loops included) are not,
// and no symbolic link is entered.
TEST(Walk, ListsRegularFilesOnly) {
  TempTree outside;
  outside.file("outside.tmp");
  TempTree tree;
  const std::uint64_t sparse = 5ull << 30;  // past 32 bits on purpose
  tree.file("h1.tmp", 10);
  tree.hardLink("h1.tmp", "sub/h2.tmp");
  tree.sparseFile("big.tmp", sparse);
  tree.fifo("x.tmp");
  tree.dir("folder.tmp");
  tree.symlink("to_outside", outside.root());
  tree.symlink("link.tmp", "h1.tmp");
  tree.symlink("self", "self");
  tree.symlink("sub/up", "..");
  const RecordingSink sink = WalkAll(Options(tree.root()));
  ASSERT_EQ(sink.paths(), Prefixed(tree.root(), {"big.tmp", "h1.tmp", "sub/h2.tmp"}));
  EXPECT_EQ(sink.foldersDone, Prefixed(tree.root(), {"folder.tmp", "sub"}));
  EXPECT_EQ(sink.files[0].size, sparse);
  EXPECT_EQ(sink.files[1].ino, sink.files[2].ino);
  EXPECT_EQ(sink.totals.totalSize, sparse + 20);
}

TEST(Walk, TotalsRoundEachFileToClusters) {
  TempTree tree;
  tree.file("a.tmp", 100);
  tree.file("b.tmp", 5000);
  tree.file("c.tmp", 8192);
  for (std::uint64_t cluster : {0u, 1u, 4096u}) {
    const WalkTotals totals = WalkAll({.start = tree.root(), .patterns = "*.tmp", .clusterSize = cluster}).totals;
    EXPECT_EQ(totals.totalSize, 13292u);
    EXPECT_EQ(totals.onDisk, cluster == 4096 ? 20480u : 13292u) << cluster;
  }
}

TEST(Walk, PathsBeyondPathMax) {
  std::string root;
  {
    TempTree tree;
    root = tree.root();
    const std::string part(200, 'd');
    std::string rel;
    while (root.size() + rel.size() < PATH_MAX + 200) rel += part + "/";
    tree.file(rel + "deep.tmp");
    tree.file(rel + part + "/deeper.tmp");
    EXPECT_EQ(WalkAll(Options(root)).paths(), Prefixed(root, {rel + "deep.tmp", rel + part + "/deeper.tmp"}));
    // The start folder itself may be longer than PATH_MAX.
    EXPECT_EQ(WalkAll(Options(tree.path(rel))).paths(),
              Prefixed(tree.path(rel.substr(0, rel.size() - 1)), {"deep.tmp", part + "/deeper.tmp"}));
    tree.chmod(rel + part, 0);  // the fixture must still clean up
  }
  EXPECT_FALSE(std::filesystem::exists(root)) << "temporary tree left behind";
}

// includeHidden, includeReadOnly, includeSystem, what is found.
using AttributeCase = std::tuple<bool, bool, bool, Paths>;
class WalkAttributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(WalkAttributes, HiddenAndReadOnlySwitches) {
  const auto& [hidden, readOnly, system, expected] = GetParam();
  TempTree tree;
  for (const char* rel : {"plain.tmp", ".hidden.tmp", ".cache/inside.tmp"}) tree.file(rel);
  for (const char* rel : {"ro.tmp", ".hidden_ro.tmp"}) tree.file(rel, 0, 0444);
  tree.file("nowrite_for_owner.tmp", 0, 0466);
  const RecordingSink sink = WalkAll({.start = tree.root(),
                                      .patterns = "*.tmp",
                                      .includeHidden = hidden,
                                      .includeSystem = system,
                                      .includeReadOnly = readOnly});
  // Only a file's own name makes it hidden: a hidden folder is walked.
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), expected));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Switches, WalkAttributes, testing::Values(
    AttributeCase{false, false, false, {"plain.tmp", ".cache/inside.tmp"}},
    AttributeCase{false, false, true, {"plain.tmp", ".cache/inside.tmp"}},
    AttributeCase{true, false, false, {".hidden.tmp", "plain.tmp", ".cache/inside.tmp"}},
    AttributeCase{false, true, false, {"nowrite_for_owner.tmp", "plain.tmp", "ro.tmp", ".cache/inside.tmp"}},
    AttributeCase{true, true, true, {".hidden.tmp", ".hidden_ro.tmp", "nowrite_for_owner.tmp", "plain.tmp",
                                     "ro.tmp", ".cache/inside.tmp"}}));
// clang-format on

using DiskSpaceCase = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t>;  // length, cluster, expected
class DiskSpaceTable : public testing::TestWithParam<DiskSpaceCase> {};

TEST_P(DiskSpaceTable, RoundsUpToWholeClusters) {
  const auto [length, cluster, expected] = GetParam();
  EXPECT_EQ(DiskSpace(length, cluster), expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lengths, DiskSpaceTable, testing::Values(
    DiskSpaceCase{0, 4096, 4096}, DiskSpaceCase{1, 4096, 4096}, DiskSpaceCase{4095, 4096, 4096},
    DiskSpaceCase{4096, 4096, 4096}, DiskSpaceCase{4097, 4096, 8192},
    DiskSpaceCase{(5ull << 32) + 1, 65536, (5ull << 32) + 65536},
    DiskSpaceCase{0, 1, 0}, DiskSpaceCase{12345, 1, 12345}, DiskSpaceCase{12345, 0, 12345}));
// clang-format on

// Drops the capabilities that let root ignore permission bits.
bool DropPermissionOverride() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH);
  return ::syscall(SYS_capset, &header, data) == 0;
}

TEST(Walk, UnreadableFoldersAreSkipped) {
  TempTree tree;
  for (const char* rel : {"a/one.tmp", "locked/two.tmp", "listless/three.tmp", "z/four.tmp"}) tree.file(rel);
  tree.chmod("locked", 0);
  tree.chmod("listless", 0311);  // may be passed through, not listed
  const int code = WalkInChild(
      [&] { return DropPermissionOverride() && ::open(tree.path("locked").c_str(), O_RDONLY | O_DIRECTORY) < 0; },
      tree.root(), Prefixed(tree.root(), {"a/one.tmp", "z/four.tmp"}));
  if (code == 77) GTEST_SKIP() << "permission bits cannot be enforced here";
  EXPECT_EQ(code, 0);
}

TEST(Walk, StaysOnTheStartFileSystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
  TempTree tree;
  for (const char* rel : {"before.tmp", "sub/after.tmp"}) tree.file(rel);
  for (const char* rel : {"mnt", "sub/again"}) tree.dir(rel);
  // A bind mount of the tree inside itself keeps the device number: only the
  // folder identity check keeps the walk from going round forever.
  auto setUp = [&] {
    return ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("sorrelwick-test", tree.path("mnt").c_str(), "tmpfs", 0, "size=1m") == 0 &&
           ::close(::open(tree.path("mnt/inside.tmp").c_str(), O_CREAT | O_WRONLY, 0644)) == 0 &&
           ::mount(tree.root().c_str(), tree.path("sub/again").c_str(), nullptr, MS_BIND, nullptr) == 0;
  };
  const int code = WalkInChild(setUp, tree.root(), Prefixed(tree.root(), {"before.tmp", "sub/after.tmp"}));
  if (code == 77) GTEST_SKIP() << "cannot mount in a private namespace here";
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace sw
