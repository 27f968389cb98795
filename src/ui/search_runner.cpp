#include "ui/search_runner.h"

#include <QDateTime>

#include "platform/services.h"

namespace sw {

class SearchRunner::Sink final : public WalkSink {
 public:
  explicit Sink(SearchRunner& runner) : runner_(runner) {}

  void onFiles(std::vector<FoundFile>&& batch) override {
    std::lock_guard lock(runner_.mutex_);
    if (runner_.pending_.empty()) {
      runner_.pending_ = std::move(batch);
    } else {
      runner_.pending_.insert(runner_.pending_.end(), std::make_move_iterator(batch.begin()),
                              std::make_move_iterator(batch.end()));
    }
  }

  void onFolderDone(const std::string& folder) override {
    std::lock_guard lock(runner_.mutex_);
    runner_.lastFolder_ = folder;
  }

 private:
  SearchRunner& runner_;
};

SearchRunner::SearchRunner(QObject* parent) : QObject(parent) {
  poll_.setInterval(30);
  connect(&poll_, &QTimer::timeout, this, &SearchRunner::Drain);
}

SearchRunner::~SearchRunner() { Wait(); }

void SearchRunner::Start(WalkOptions options) {
  if (running()) return;
  stop_ = false;
  {
    std::lock_guard lock(mutex_);
    pending_.clear();
    lastFolder_.clear();
    done_ = false;
    totals_ = {};
  }
  lastFolderShown_ = 0;
  shownFolder_.clear();
  worker_ = std::thread([this, options = std::move(options)] {
    Sink sink(*this);
    const WalkTotals totals = Walk(options, stop_, sink);
    std::lock_guard lock(mutex_);
    totals_ = totals;
    done_ = true;
  });
  poll_.start();
}

void SearchRunner::Stop() { stop_ = true; }

void SearchRunner::Wait() {
  poll_.stop();
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

void SearchRunner::Drain() {
  std::vector<FoundFile> batch;
  std::string folder;
  bool done = false;
  WalkTotals totals;
  {
    std::lock_guard lock(mutex_);
    batch.swap(pending_);
    folder = lastFolder_;
    done = done_;
    totals = totals_;
  }
  if (!batch.empty()) emit filesFound(batch);
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (!folder.empty() && folder != shownFolder_ && (done || now - lastFolderShown_ >= 250)) {
    lastFolderShown_ = now;
    shownFolder_ = folder;
    emit folderDone(DisplayPath(folder));
  }
  if (done) {
    poll_.stop();
    worker_.join();
    emit finished(totals);
  }
}

}  // namespace sw
