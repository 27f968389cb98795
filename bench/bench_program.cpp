// The whole search path of the program (worker walk, batching, results model
// and view, summary) against the walk engine alone, on the benchmark tree;
// then, with 100,000 results arriving, the longest stall of the UI thread and
// the memory each result costs beyond its path bytes.
//
// Prints "bench: NAME value=X target=Y" lines. Runs offscreen.
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "core/patterns.h"
#include "core/walk.h"
#include "tree_gen.h"
#include "ui/results_model.h"
#include "ui/search_runner.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 3;
constexpr int kManyResults = 100000;

sw::WalkOptions ProgramOptions(const std::string& root) {
  // What automatic cleaning searches for.
  sw::WalkOptions options;
  options.start = root;
  options.patterns = std::string(sw::kBuiltInPatterns);
  options.includeReadOnly = true;
  options.clusterSize = 4096;
  options.threads = std::thread::hardware_concurrency();
  return options;
}

class NullSink final : public sw::WalkSink {
 public:
  void onFiles(std::vector<sw::FoundFile>&& batch) override { files += batch.size(); }
  void onFolderDone(const std::string&) override {}
  std::uint64_t files = 0;
};

double EngineAlone(const std::string& root, std::uint64_t* found) {
  std::atomic<bool> stop{false};
  NullSink sink;
  const auto start = Clock::now();
  sw::Walk(ProgramOptions(root), stop, sink);
  *found = sink.files;
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct ProgramRun {
  double seconds = 0;
  std::uint64_t found = 0;
  double longestStallMs = 0;
};

// Runs the search as the Files tab does, with a view showing the results and a
// 1 ms timer on the UI thread whose longest gap is the longest stall.
ProgramRun ProgramPath(const std::string& root, sw::ResultsModel& model, sw::ResultsView& view) {
  model.Clear();
  sw::SearchRunner runner;
  QObject::connect(
      &runner, &sw::SearchRunner::filesFound, &model,
      [&model](std::vector<sw::FoundFile>& batch) { model.Append(std::move(batch)); }, Qt::DirectConnection);
  QEventLoop loop;
  QString summary;
  QObject::connect(&runner, &sw::SearchRunner::finished, &loop, [&](const sw::WalkTotals& totals) {
    summary = QStringLiteral(" File: ") + QString::number(model.rowCount()) +
              QLocale().toString(static_cast<double>(totals.totalSize) / 1024.0, 'f', 0) +
              QLocale().toString(static_cast<double>(totals.onDisk) / 1024.0, 'f', 0);
    loop.quit();
  });
  QElapsedTimer probeClock;
  qint64 last = 0;
  qint64 longest = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(1);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 now = probeClock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  const auto start = Clock::now();
  probeClock.start();
  probe.start();
  runner.Start(ProgramOptions(root));
  loop.exec();
  probe.stop();
  view.viewport()->repaint();
  ProgramRun run;
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.found = static_cast<std::uint64_t>(model.rowCount());
  run.longestStallMs = static_cast<double>(longest) / 1e6;
  return run;
}

// 100,000 matching files in 1,000 folders (made once, reused).
std::string EnsureManyResultsTree(const std::string& base) {
  const std::string root = base + "-100k";
  const std::string marker = root + "/.complete";
  if (::access(marker.c_str(), F_OK) == 0) return root;
  ::mkdir(root.c_str(), 0755);
  for (int folder = 0; folder < 1000; ++folder) {
    const std::string dir = root + "/cartella-" + std::to_string(folder);
    ::mkdir(dir.c_str(), 0755);
    for (int file = 0; file < kManyResults / 1000; ++file) {
      const std::string path = dir + "/documento-temporaneo-" + std::to_string(file) + ".tmp";
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      if (fd < 0) throw std::runtime_error("cannot create " + path);
      ::close(fd);
    }
  }
  std::ofstream(marker) << "done\n";
  return root;
}

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

}  // namespace

int main(int argc, char** argv) try {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::string base = "/tmp/sorrelwick-bench";
  if (const char* env = std::getenv("SORRELWICK_BENCH_DIR"); env != nullptr && *env != '\0') base = env;
  const sw::bench::TreeInfo tree = sw::bench::EnsureBenchTree(base);

  sw::ResultsModel model;
  sw::ResultsView view;
  view.resize(600, 130);
  view.setModel(&model);
  view.show();

  const std::string many = EnsureManyResultsTree(base);
  // Measured first, while the heap holds nothing from earlier runs.
  std::uint64_t warm = 0;
  EngineAlone(many, &warm);  // warm the caches without touching the model
  ::malloc_trim(0);
  const long before = ResidentBytes();
  const ProgramRun run = ProgramPath(many, model, view);
  ::malloc_trim(0);
  const long after = ResidentBytes();
  std::uint64_t pathBytes = 0;
  for (const sw::ResultEntry& entry : model.entries()) pathBytes += entry.path.size();
  const double perResult =
      (static_cast<double>(after - before) - static_cast<double>(pathBytes)) / static_cast<double>(run.found);
  std::printf("many results: %llu files, longest UI stall %.1f ms, %.0f bytes per result beyond the path\n",
              static_cast<unsigned long long>(run.found), run.longestStallMs, perResult);
  std::printf("bench: ui_longest_stall_ms value=%.1f target=50\n", run.longestStallMs);
  std::printf("bench: bytes_per_result value=%.0f target=300\n", perResult);

  std::uint64_t engineFound = 0;
  EngineAlone(tree.root, &engineFound);  // warm the caches
  double engineBest = 1e9, programBest = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    engineBest = std::min(engineBest, EngineAlone(tree.root, &engineFound));
    const ProgramRun run = ProgramPath(tree.root, model, view);
    if (run.found != engineFound) {
      std::fprintf(stderr, "bench: program found %llu files, engine %llu\n", static_cast<unsigned long long>(run.found),
                   static_cast<unsigned long long>(engineFound));
      return 1;
    }
    programBest = std::min(programBest, run.seconds);
  }
  std::printf("program: %llu files; engine %.3f s, whole program path %.3f s\n",
              static_cast<unsigned long long>(engineFound), engineBest, programBest);
  std::printf("bench: program_path_vs_engine value=%.2f target=1.5\n", programBest / engineBest);

  return 0;
} catch (const std::exception& e) {
  std::fprintf(stderr, "bench: %s\n", e.what());
  return 1;
}
