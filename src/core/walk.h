// The search walk: lists the regular files under one folder whose names match
// a pattern list and pass the hidden/read-only switches, in a fixed
// depth-first order, and hands them to a sink in batches.
//
// Thread affinity: Walk() runs on the calling thread and calls the sink only
// from that thread, so a sink needs no locking against the walk. With
// threads > 1 helper threads only read folders ahead and hand their listings
// back; they are joined before Walk() returns (also when the sink throws: the
// exception then leaves Walk() after the helpers have stopped).
//
// Error cases: nothing is thrown for file-system trouble. A start folder that
// cannot be opened gives empty totals and no sink call. A subfolder that
// cannot be opened or read (permissions, a race with a deletion, too many
// open handles on a tree deeper than the process's descriptor limit) is left
// out silently; a folder whose reading fails part way contributes the entries
// read before the failure. Only memory exhaustion and exceptions from the
// sink leave Walk() by exception.
//
// Everything is opened relative to an open folder handle, so paths longer
// than PATH_MAX work, symbolic links are never followed (the start folder
// itself excepted), and the walk never crosses into another file system
// (mount points, including files mounted over files, are left out).
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace sw {

struct FoundFile {
  std::string path;  // start (without trailing "/") + "/" + relative path, raw bytes
  std::uint64_t size = 0;
  dev_t dev = 0;
  ino_t ino = 0;
};

struct WalkOptions {
  std::string start;              // folder to search, path bytes (with or without trailing '/')
  std::string patterns;           // ";"-separated, see PatternSet; empty finds nothing
  bool includeHidden = false;     // names starting with '.'
  bool includeSystem = false;     // no Linux file carries this attribute: accepted, has no effect
  bool includeReadOnly = false;   // owner-write bit (S_IWUSR) clear
  std::uint64_t clusterSize = 1;  // bytes per allocation unit; 0 or 1 means unknown
  unsigned threads = 1;           // folder-reading threads; clamped to [1, hardware_concurrency()]
};

struct WalkTotals {
  std::uint64_t files = 0;      // files handed to the sink
  std::uint64_t totalSize = 0;  // sum of their lengths
  std::uint64_t onDisk = 0;     // sum of DiskSpace(length, clusterSize)
  bool stopped = false;         // the stop flag ended the walk early
};

class WalkSink {
 public:
  virtual ~WalkSink() = default;
  // Files in result order. Batches hold at most 1024 files; a partial batch
  // is handed over about every 30 ms while the walk goes on, and at the end.
  virtual void onFiles(std::vector<FoundFile>&& batch) = 0;
  // A subfolder (never the start folder) that was entered and whose whole
  // subtree has been walked; path bytes without trailing '/'. The subtree's
  // last files may still be waiting in the batch that onFiles gets next:
  // flushing per folder would defeat batching.
  virtual void onFolderDone(const std::string& folder) = 0;
};

// The space a file of `length` bytes takes: whole clusters, at least one.
// With clusterSize 0 or 1 (unknown) it is the length itself.
std::uint64_t DiskSpace(std::uint64_t length, std::uint64_t clusterSize);

// Walks options.start. Order: a folder's own files by byte order of name,
// then each subfolder in byte order of name with its whole subtree; the same
// for every thread count. `stop` is polled often enough that the walk ends
// promptly once it is set; what was found until then reaches the sink before
// Walk() returns, and totals count exactly what reached the sink.
WalkTotals Walk(const WalkOptions& options, const std::atomic<bool>& stop, WalkSink& sink);

}  // namespace sw
