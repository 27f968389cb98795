#include <fcntl.h>
#include <fnmatch.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/walk.h"
#include "shared/temp_tree.h"

namespace sw {
namespace {

using test::TempTree;

class RecordingSink : public WalkSink {
 public:
  void onFiles(std::vector<FoundFile>&& batch) override {
    batchSizes.push_back(batch.size());
    for (FoundFile& f : batch) files.push_back(std::move(f));
    if (stopAfterFirstBatch != nullptr) stopAfterFirstBatch->store(true);
  }
  void onFolderDone(const std::string& folder) override {
    foldersDone.push_back(folder);
  }

  std::vector<std::string> paths() const {
    std::vector<std::string> out;
    for (const FoundFile& f : files) out.push_back(f.path);
    return out;
  }

  std::vector<FoundFile> files;
  std::vector<std::size_t> batchSizes;
  std::vector<std::string> foldersDone;
  std::atomic<bool>* stopAfterFirstBatch = nullptr;
};

WalkOptions Options(const std::string& start, const std::string& patterns, unsigned threads = 1) {
  WalkOptions o;
  o.start = start;
  o.patterns = patterns;
  o.threads = threads;
  return o;
}

WalkTotals WalkAll(const WalkOptions& options, RecordingSink& sink) {
  std::atomic<bool> stop{false};
  return Walk(options, stop, sink);
}

std::vector<std::string> Prefixed(const std::string& root, std::vector<std::string> rels) {
  for (std::string& r : rels) r = root + "/" + r;
  return rels;
}

// Results that a forked child sends back: one line per path, or the reason
// for skipping after "SKIP ".
struct ChildOutcome {
  bool skipped = false;
  std::string reason;
  std::vector<std::string> lines;
};

// Runs `body` in a child process so that it may change its credentials or
// mount namespace without touching the test runner. `body` writes lines to
// the pipe and returns 0, or 77 after writing a skip reason.
ChildOutcome RunInChild(const std::function<int(int)>& body) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const int code = body(fds[1]);
    ::_exit(code);  // no atexit handlers: they belong to the parent
  }
  ::close(fds[1]);
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ChildOutcome outcome;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
    outcome.skipped = true;
    outcome.reason = out.substr(0, out.find('\0'));
    return outcome;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status << ": " << out;
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t nl = out.find('\0', pos);
    outcome.lines.push_back(out.substr(pos, nl - pos));
    pos = nl == std::string::npos ? out.size() : nl + 1;
  }
  return outcome;
}

// Lines are NUL-terminated because paths may hold newlines.
void Send(int fd, const std::string& line) {
  std::string rec = line;
  rec.push_back('\0');
  for (std::size_t off = 0; off < rec.size();) {
    const ssize_t n = ::write(fd, rec.data() + off, rec.size() - off);
    if (n <= 0) return;
    off += static_cast<std::size_t>(n);
  }
}

int Skip(int fd, const std::string& reason) {
  Send(fd, reason);
  return 77;
}

class WalkThreads : public testing::TestWithParam<unsigned> {};

TEST_P(WalkThreads, DepthFirstOwnFilesFirstInByteOrder) {
  TempTree tree;
  tree.file("b.tmp");
  tree.file("a.tmp");
  tree.file("A.tmp");
  tree.file("notes.txt");
  tree.file("sub/x.tmp");
  tree.file("sub/a.txt");
  tree.file("sub/deeper/y.TMP");
  tree.file("sub/deeper/deepest/w.tmp");
  tree.file("sub/later/v.tmp");
  tree.file("Sub2/z.tmp");
  tree.dir("zz");
  tree.dir("_nomatch/inner");

  RecordingSink sink;
  // A trailing "/" on the start must not double the separator.
  const WalkTotals totals = WalkAll(Options(tree.root() + "/", "*.tmp", GetParam()), sink);

  EXPECT_FALSE(totals.stopped);
  EXPECT_EQ(totals.files, 8u);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), {"A.tmp", "a.tmp", "b.tmp", "Sub2/z.tmp", "sub/x.tmp",
                                                 "sub/deeper/y.TMP", "sub/deeper/deepest/w.tmp",
                                                 "sub/later/v.tmp"}));
  EXPECT_EQ(sink.foldersDone,
            Prefixed(tree.root(), {"Sub2", "_nomatch/inner", "_nomatch", "sub/deeper/deepest",
                                   "sub/deeper", "sub/later", "sub", "zz"}));
}

// The same tree must give the same sequence whatever the number of readers,
// and the same set as a plain recursive listing filtered by fnmatch.
TEST_P(WalkThreads, RandomTreeMatchesOracleAndSingleThreadOrder) {
  TempTree tree;
  std::mt19937 rng(7);
  const std::vector<std::string> exts = {".tmp", ".TMP", ".Gid", ".txt", ".tmpl", ".tmp.bak", "", ".old"};
  std::vector<std::string> folders = {""};
  for (int i = 0; i < 120; ++i) {
    const std::string& parent = folders[rng() % folders.size()];
    if (std::count(parent.begin(), parent.end(), '/') >= 6) continue;
    std::string name = (rng() % 8 == 0 ? "." : "") + std::string(1, "aBcDe"[rng() % 5]) + std::to_string(rng() % 50);
    folders.push_back(parent.empty() ? name : parent + "/" + name);
    tree.dir(folders.back());
  }
  for (int i = 0; i < 900; ++i) {
    const std::string& folder = folders[rng() % folders.size()];
    std::string name = (rng() % 10 == 0 ? "." : "") + std::string(1, "xXyYz"[rng() % 5]) +
                       std::to_string(rng() % 40) + exts[rng() % exts.size()];
    tree.file(folder.empty() ? name : folder + "/" + name, 0, rng() % 7 == 0 ? 0444 : 0644);
  }
  tree.symlink(folders[1] + "/link.tmp", "../");
  tree.fifo(folders[2] + "/fifo.tmp");

  const std::string patterns = "*.tmp;*.gid;?1*";
  WalkOptions options = Options(tree.root(), patterns, 1);
  options.includeHidden = true;
  options.includeReadOnly = true;
  RecordingSink single;
  WalkAll(options, single);

  std::multiset<std::string> expected;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(tree.root())) {
    if (entry.symlink_status().type() != std::filesystem::file_type::regular) continue;
    const std::string name = entry.path().filename().string();
    for (const char* p : {"*.tmp", "*.gid", "?1*"}) {
      if (fnmatch(p, name.c_str(), FNM_CASEFOLD) == 0) {
        expected.insert(entry.path().string());
        break;
      }
    }
  }
  const std::vector<std::string> got = single.paths();
  EXPECT_EQ(std::multiset<std::string>(got.begin(), got.end()), expected);
  ASSERT_GT(expected.size(), 100u);

  options.threads = GetParam();
  RecordingSink multi;
  WalkAll(options, multi);
  EXPECT_EQ(multi.paths(), got);
  EXPECT_EQ(multi.foldersDone, single.foldersDone);
}

TEST_P(WalkThreads, StopFromSinkEndsWalkWithWhatWasDelivered) {
  TempTree tree;
  for (int i = 0; i < 1100; ++i) tree.file("f" + std::to_string(i) + ".tmp");
  for (int d = 0; d < 20; ++d) {
    for (int i = 0; i < 20; ++i) tree.file("d" + std::to_string(d) + "/g" + std::to_string(i) + ".tmp");
  }
  std::atomic<bool> stop{false};
  RecordingSink sink;
  sink.stopAfterFirstBatch = &stop;
  const WalkTotals totals = Walk(Options(tree.root(), "*.tmp", GetParam()), stop, sink);
  EXPECT_TRUE(totals.stopped);
  EXPECT_EQ(totals.files, sink.files.size());
  EXPECT_LT(sink.files.size(), 1500u);
  EXPECT_TRUE(sink.foldersDone.empty());
}

INSTANTIATE_TEST_SUITE_P(Readers, WalkThreads, testing::Values(1u, 2u, 8u));

TEST(Walk, StopSetBeforehandFindsNothing) {
  TempTree tree;
  tree.file("a.tmp");
  std::atomic<bool> stop{true};
  RecordingSink sink;
  const WalkTotals totals = Walk(Options(tree.root(), "*.tmp"), stop, sink);
  EXPECT_TRUE(totals.stopped);
  EXPECT_EQ(totals.files, 0u);
  EXPECT_TRUE(sink.files.empty());
}

TEST(Walk, BatchesHoldAtMost1024Files) {
  TempTree tree;
  for (int i = 0; i < 2500; ++i) tree.file("f" + std::to_string(i) + ".tmp");
  RecordingSink sink;
  WalkAll(Options(tree.root(), "*.tmp"), sink);
  // One folder is reported in one go, so only the size limit splits it.
  EXPECT_EQ(sink.batchSizes, (std::vector<std::size_t>{1024, 1024, 452}));
}

TEST(Walk, MissingOrNonFolderStartFindsNothing) {
  TempTree tree;
  tree.file("plain.tmp");
  for (const std::string& start : {tree.path("missing"), tree.path("plain.tmp"), std::string()}) {
    RecordingSink sink;
    const WalkTotals totals = WalkAll(Options(start, "*"), sink);
    EXPECT_EQ(totals.files, 0u) << start;
    EXPECT_FALSE(totals.stopped);
    EXPECT_TRUE(sink.batchSizes.empty());
  }
}

TEST(Walk, SymbolicLinksAreNeitherListedNorEntered) {
  TempTree outside;
  outside.file("outside.tmp");
  TempTree tree;
  tree.file("real.txt");
  tree.file("sub/in.tmp");
  tree.symlink("to_outside", outside.root());
  tree.symlink("to_outside.tmp", outside.root());
  tree.symlink("link.tmp", "real.txt");
  tree.symlink("dangling.tmp", "nowhere");
  tree.symlink("self", "self");
  tree.symlink("sub/up", "..");
  tree.symlink("sub/dot", ".");

  RecordingSink sink;
  WalkAll(Options(tree.root(), "*"), sink);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), {"real.txt", "sub/in.tmp"}));
  EXPECT_EQ(sink.foldersDone, Prefixed(tree.root(), {"sub"}));
}

TEST(Walk, HardLinksAreListedUnderEachName) {
  TempTree tree;
  tree.file("h1.tmp", 10);
  tree.hardLink("h1.tmp", "sub/h2.tmp");
  RecordingSink sink;
  const WalkTotals totals = WalkAll(Options(tree.root(), "*.tmp"), sink);
  ASSERT_EQ(sink.paths(), Prefixed(tree.root(), {"h1.tmp", "sub/h2.tmp"}));
  EXPECT_EQ(sink.files[0].ino, sink.files[1].ino);
  EXPECT_EQ(sink.files[0].dev, sink.files[1].dev);
  EXPECT_EQ(totals.totalSize, 20u);
}

TEST(Walk, SparseFileCountsItsLength) {
  TempTree tree;
  const std::uint64_t length = 5ull << 30;  // past 32 bits on purpose
  tree.sparseFile("big.tmp", length);
  tree.file("small.tmp", 100);
  WalkOptions options = Options(tree.root(), "*.tmp");
  options.clusterSize = 4096;
  RecordingSink sink;
  const WalkTotals totals = WalkAll(options, sink);
  ASSERT_EQ(sink.files.size(), 2u);
  EXPECT_EQ(sink.files[0].size, length);
  EXPECT_EQ(totals.totalSize, length + 100);
  EXPECT_EQ(totals.onDisk, length + 4096);
}

TEST(Walk, TotalsRoundEachFileToClusters) {
  TempTree tree;
  tree.file("a.tmp", 100);
  tree.file("b.tmp", 5000);
  tree.file("c.tmp", 8192);
  for (std::uint64_t cluster : {0, 1, 4096}) {
    WalkOptions options = Options(tree.root(), "*.tmp");
    options.clusterSize = cluster;
    RecordingSink sink;
    const WalkTotals totals = WalkAll(options, sink);
    EXPECT_EQ(totals.files, 3u);
    EXPECT_EQ(totals.totalSize, 13292u);
    EXPECT_EQ(totals.onDisk, cluster == 4096 ? 20480u : 13292u) << cluster;
  }
}

TEST(Walk, OnlyRegularFilesAreListed) {
  TempTree tree;
  tree.file("file.tmp");
  tree.fifo("fifo.tmp");
  tree.dir("folder.tmp");
  // sun_path holds only about 108 bytes: no socket when the tree sits deeper.
  const std::string socketPath = tree.path("socket.tmp");
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  bool haveSocket = false;
  if (s >= 0 && socketPath.size() < sizeof addr.sun_path) {
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    haveSocket = ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  }
  if (s >= 0) ::close(s);
  // Device nodes need privileges that containers often lack; try anyway.
  const bool haveDevice = ::mknod(tree.path("null.tmp").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;

  RecordingSink sink;
  WalkAll(Options(tree.root(), "*.tmp"), sink);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), {"file.tmp"}))
      << "socket made: " << haveSocket << ", device made: " << haveDevice;
}

TEST(Walk, NamesAreBytes) {
  TempTree tree;
  const std::vector<std::string> rels = {"bad\xff\xfe.tmp", "new\nline.tmp", "dir\xc3(/inner.tmp",
                                         "dir\xc3(/\x01\x7f.TMP"};
  for (const std::string& r : rels) tree.file(r, 3);
  RecordingSink sink;
  WalkAll(Options(tree.root(), "*.tmp"), sink);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), {"bad\xff\xfe.tmp", "new\nline.tmp", "dir\xc3(/\x01\x7f.TMP",
                                                 "dir\xc3(/inner.tmp"}));
  EXPECT_EQ(sink.foldersDone, Prefixed(tree.root(), {"dir\xc3("}));
}

TEST(Walk, PathsBeyondPathMax) {
  TempTree tree;
  const std::string part(200, 'd');
  std::string rel;
  while (tree.root().size() + rel.size() < PATH_MAX + 200) rel += part + "/";
  tree.file(rel + "deep.tmp", 7);
  tree.file(rel + part + "/deeper.tmp", 8);
  RecordingSink sink;
  const WalkTotals totals = WalkAll(Options(tree.root(), "*.tmp"), sink);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), {rel + "deep.tmp", rel + part + "/deeper.tmp"}));
  EXPECT_EQ(totals.totalSize, 15u);

  // The start folder itself may be longer than PATH_MAX.
  RecordingSink deepSink;
  WalkAll(Options(tree.path(rel), "*.tmp"), deepSink);
  EXPECT_EQ(deepSink.paths(), Prefixed(tree.path(rel.substr(0, rel.size() - 1)),
                                       {"deep.tmp", part + "/deeper.tmp"}));
}

struct AttributeCase {
  bool hidden, readOnly, system;
  std::vector<std::string> expected;
};

void PrintTo(const AttributeCase& c, std::ostream* os) {
  *os << "hidden=" << c.hidden << " readOnly=" << c.readOnly << " system=" << c.system;
}

class WalkAttributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(WalkAttributes, HiddenAndReadOnlySwitches) {
  const AttributeCase& c = GetParam();
  TempTree tree;
  tree.file("plain.tmp");
  tree.file(".hidden.tmp");
  tree.file("ro.tmp", 0, 0444);
  tree.file(".hidden_ro.tmp", 0, 0444);
  tree.file("nowrite_for_owner.tmp", 0, 0466);
  // A hidden folder is always walked; only a file's own name makes it hidden.
  tree.file(".cache/inside.tmp");
  WalkOptions options = Options(tree.root(), "*.tmp");
  options.includeHidden = c.hidden;
  options.includeReadOnly = c.readOnly;
  options.includeSystem = c.system;
  RecordingSink sink;
  WalkAll(options, sink);
  EXPECT_EQ(sink.paths(), Prefixed(tree.root(), c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Switches, WalkAttributes,
    testing::Values(
        AttributeCase{false, false, false, {"plain.tmp", ".cache/inside.tmp"}},
        AttributeCase{false, false, true, {"plain.tmp", ".cache/inside.tmp"}},
        AttributeCase{true, false, false, {".hidden.tmp", "plain.tmp", ".cache/inside.tmp"}},
        AttributeCase{false, true, false,
                      {"nowrite_for_owner.tmp", "plain.tmp", "ro.tmp", ".cache/inside.tmp"}},
        AttributeCase{true, true, true,
                      {".hidden.tmp", ".hidden_ro.tmp", "nowrite_for_owner.tmp", "plain.tmp", "ro.tmp",
                       ".cache/inside.tmp"}}));

struct DiskSpaceCase {
  std::uint64_t length, cluster, expected;
};

class DiskSpaceTable : public testing::TestWithParam<DiskSpaceCase> {};

TEST_P(DiskSpaceTable, RoundsUpToWholeClusters) {
  const DiskSpaceCase& c = GetParam();
  EXPECT_EQ(DiskSpace(c.length, c.cluster), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, DiskSpaceTable,
    testing::Values(DiskSpaceCase{0, 4096, 4096}, DiskSpaceCase{1, 4096, 4096},
                    DiskSpaceCase{4096, 4096, 4096}, DiskSpaceCase{4097, 4096, 8192},
                    DiskSpaceCase{8192, 4096, 8192}, DiskSpaceCase{100, 512, 512},
                    DiskSpaceCase{5ull << 32, 4096, 5ull << 32},
                    DiskSpaceCase{(5ull << 32) + 1, 65536, (5ull << 32) + 65536},
                    DiskSpaceCase{0, 1, 0}, DiskSpaceCase{12345, 1, 12345}, DiskSpaceCase{12345, 0, 12345}));

TEST(TempTree, RemovesEverythingItMade) {
  std::string root;
  {
    TempTree tree;
    root = tree.root();
    std::string deep;
    while (deep.size() < PATH_MAX + 100) deep += std::string(250, 'q') + "/";
    tree.file(deep + "bottom.tmp", 10);
    tree.fifo("pipe");
    tree.symlink("link", "/");
    tree.file("closed/inner/x.tmp");
    tree.chmod("closed/inner", 0);
    tree.chmod("closed", 0);
  }
  struct stat st;
  EXPECT_NE(::lstat(root.c_str(), &st), 0);
}

// Drops the capabilities that let root ignore permission bits, so that a
// chmod 000 folder really cannot be opened.
bool DropPermissionOverride() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
    const unsigned bit = 1u << (cap % 32);
    data[cap / 32].effective &= ~bit;
    data[cap / 32].permitted &= ~bit;
    data[cap / 32].inheritable &= ~bit;
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

TEST(Walk, UnreadableFoldersAreSkipped) {
  TempTree tree;
  tree.file("a/one.tmp");
  tree.file("locked/two.tmp");
  tree.file("listless/three.tmp");
  tree.file("z/four.tmp");
  tree.chmod("locked", 0);
  tree.chmod("listless", 0311);  // may be passed through, not listed

  const ChildOutcome outcome = RunInChild([&](int fd) {
    if (!DropPermissionOverride()) return Skip(fd, "cannot drop CAP_DAC_OVERRIDE");
    const int probe = ::open(tree.path("locked").c_str(), O_RDONLY | O_DIRECTORY);
    if (probe >= 0) return Skip(fd, "permission bits are not enforced here");
    for (unsigned threads : {1u, 2u}) {
      RecordingSink sink;
      WalkAll(Options(tree.root(), "*.tmp", threads), sink);
      for (const std::string& p : sink.paths()) Send(fd, p);
      for (const std::string& p : sink.foldersDone) Send(fd, "done " + p);
    }
    return 0;
  });
  if (outcome.skipped) GTEST_SKIP() << outcome.reason;
  std::vector<std::string> once = Prefixed(tree.root(), {"a/one.tmp", "z/four.tmp"});
  once.push_back("done " + tree.path("a"));
  once.push_back("done " + tree.path("z"));
  std::vector<std::string> expected = once;
  expected.insert(expected.end(), once.begin(), once.end());
  EXPECT_EQ(outcome.lines, expected);
}

TEST(Walk, StaysOnTheStartFileSystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
  TempTree tree;
  tree.file("before.tmp");
  tree.dir("mnt");
  tree.file("sub/after.tmp");
  tree.dir("sub/again");

  const ChildOutcome outcome = RunInChild([&](int fd) {
    if (::unshare(CLONE_NEWNS) != 0) return Skip(fd, "unshare(CLONE_NEWNS) refused: " + std::string(strerror(errno)));
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      return Skip(fd, "cannot make / private");
    }
    if (::mount("sorrelwick-test", tree.path("mnt").c_str(), "tmpfs", 0, "size=1m") != 0) {
      return Skip(fd, "cannot mount tmpfs: " + std::string(strerror(errno)));
    }
    const int f = ::open(tree.path("mnt/inside.tmp").c_str(), O_CREAT | O_WRONLY, 0644);
    if (f < 0) return 1;
    ::close(f);
    // A bind mount of the tree inside itself keeps the device number: only
    // the folder identity check keeps the walk from going round forever.
    if (::mount(tree.root().c_str(), tree.path("sub/again").c_str(), nullptr, MS_BIND, nullptr) != 0) {
      return Skip(fd, "cannot bind mount");
    }
    for (unsigned threads : {1u, 2u}) {
      RecordingSink sink;
      WalkAll(Options(tree.root(), "*.tmp", threads), sink);
      for (const std::string& p : sink.paths()) Send(fd, p);
    }
    return 0;
  });
  if (outcome.skipped) GTEST_SKIP() << outcome.reason;
  std::vector<std::string> once = Prefixed(tree.root(), {"before.tmp", "sub/after.tmp"});
  std::vector<std::string> expected = once;
  expected.insert(expected.end(), once.begin(), once.end());
  EXPECT_EQ(outcome.lines, expected);
}

}  // namespace
}  // namespace sw
