// Times the search walk against GNU find on the same cached tree and prints
// the ratios: "bench: walk_1thread_vs_find value=R target=T" and the same
// for all hardware threads. Usage: bench_walk [folder]; the tree lives in
// that folder, else $SORRELWICK_BENCH_DIR, else /tmp/sorrelwick-bench.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "core/walk.h"
#include "tree_gen.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPatterns = "*.tmp;*.gid;*.old";
constexpr int kRuns = 3;

class CountingSink : public sw::WalkSink {
 public:
  void onFiles(std::vector<sw::FoundFile>&& batch) override { files += batch.size(); }
  void onFolderDone(const std::string&) override {}
  std::uint64_t files = 0;
};

// Runs find over `tree`; returns its wall time in seconds and, through
// `lines`, how many lines it printed when `countLines` (else output goes to
// /dev/null, as in the timed runs).
double RunFind(const std::string& tree, bool countLines, std::uint64_t* lines) {
  std::vector<std::string> args = {"find",   tree,    "-xdev", "-type",  "f",     "(", "-iname",  "*.tmp",  "-o",
                                   "-iname", "*.gid", "-o",    "-iname", "*.old", ")", "-printf", "%s %b\n"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> envStore = {"LC_ALL=C.UTF-8"};
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::string_view(*e).substr(0, 7) != "LC_ALL=") envStore.emplace_back(*e);
  }
  std::vector<char*> envp;
  for (std::string& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);

  int pipeFds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (countLines) {
    if (::pipe(pipeFds) != 0) std::abort();
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  const auto start = Clock::now();
  pid_t pid;
  if (posix_spawnp(&pid, "find", &actions, nullptr, argv.data(), envp.data()) != 0) {
    std::fprintf(stderr, "bench: cannot run find\n");
    std::exit(1);
  }
  if (countLines) {
    ::close(pipeFds[1]);
    char buf[65536];
    std::uint64_t n = 0;
    for (ssize_t got; (got = ::read(pipeFds[0], buf, sizeof buf)) > 0;) n += std::count(buf, buf + got, '\n');
    ::close(pipeFds[0]);
    *lines = n;
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "bench: find failed (status %d)\n", status);
    std::exit(1);
  }
  return seconds;
}

double RunWalk(const std::string& tree, unsigned threads, std::uint64_t* found) {
  sw::WalkOptions options;
  options.start = tree;
  options.patterns = kPatterns;
  // find's -iname also matches hidden and read-only files.
  options.includeHidden = true;
  options.includeReadOnly = true;
  options.clusterSize = 4096;
  options.threads = threads;
  std::atomic<bool> stop{false};
  CountingSink sink;
  const auto start = Clock::now();
  sw::Walk(options, stop, sink);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  *found = sink.files;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) try {
  std::string base = "/tmp/sorrelwick-bench";
  if (argc > 1) {
    base = argv[1];
  } else if (const char* env = std::getenv("SORRELWICK_BENCH_DIR"); env != nullptr && *env != '\0') {
    base = env;
  }
  const sw::bench::TreeInfo tree = sw::bench::EnsureBenchTree(base);
  const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());

  // Warm the caches, and learn what find counts.
  std::uint64_t findCount = 0, walkCount = 0;
  RunFind(tree.root, true, &findCount);
  RunWalk(tree.root, hardware, &walkCount);

  double findBest = 1e9, oneBest = 1e9, allBest = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    findBest = std::min(findBest, RunFind(tree.root, false, nullptr));
    std::uint64_t one = 0, all = 0;
    oneBest = std::min(oneBest, RunWalk(tree.root, 1, &one));
    allBest = std::min(allBest, RunWalk(tree.root, hardware, &all));
    if (one != findCount || all != findCount) {
      std::fprintf(stderr, "bench: walk found %llu / %llu files, find %llu: results differ\n",
                   static_cast<unsigned long long>(one), static_cast<unsigned long long>(all),
                   static_cast<unsigned long long>(findCount));
      return 1;
    }
  }
  std::printf("walk: %llu matching files; find %.3f s, 1 thread %.3f s, %u threads %.3f s\n",
              static_cast<unsigned long long>(findCount), findBest, oneBest, hardware, allBest);
  std::printf("bench: walk_1thread_vs_find value=%.2f target=0.5\n", oneBest / findBest);
  std::printf("bench: walk_Nthreads_vs_find value=%.2f target=0.35\n", allBest / findBest);
  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "bench: %s\n", e.what());
  return 1;
}
