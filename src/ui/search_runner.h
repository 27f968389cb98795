// Runs one folder walk on a worker thread and hands its results to the UI
// thread in batches. The worker only fills a locked buffer; a UI-thread timer
// drains it every few tens of milliseconds, so the window never receives one
// event per file and never waits on the worker except in Wait() (at close).
// Create, Start, Stop, Wait and the signals all belong to the UI thread.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/walk.h"

namespace sw {

class SearchRunner : public QObject {
  Q_OBJECT
 public:
  explicit SearchRunner(QObject* parent = nullptr);
  ~SearchRunner() override;

  // Starts a walk; ignored while one is running.
  void Start(WalkOptions options);
  // Asks the running walk to stop; it returns within a few milliseconds and
  // `finished` follows with what was found so far.
  void Stop();
  // Stops and joins the worker without emitting anything more (window closing).
  void Wait();
  bool running() const { return worker_.joinable(); }

 signals:
  void filesFound(std::vector<sw::FoundFile>& batch);  // receiver may move from it
  void folderDone(const QString& folder);              // throttled to a few per second
  void finished(const sw::WalkTotals& totals);

 private:
  class Sink;
  void Drain();

  std::thread worker_;
  std::atomic<bool> stop_{false};
  QTimer poll_;
  qint64 lastFolderShown_ = 0;
  std::string shownFolder_;

  std::mutex mutex_;  // guards the four members below
  std::vector<FoundFile> pending_;
  std::string lastFolder_;
  bool done_ = false;
  WalkTotals totals_;
};

}  // namespace sw
