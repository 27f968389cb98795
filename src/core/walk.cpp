#include "core/walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

#include "core/matcher.h"
#include "core/unique_fd.h"

namespace sw {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBatchFiles = 1024;
constexpr auto kFlushInterval = std::chrono::milliseconds(30);
constexpr auto kWaitSlice = std::chrono::milliseconds(5);
constexpr unsigned kPollEvery = 256;  // entries between looks at the stop flag
constexpr std::size_t kReadBufferBytes = 64 * 1024;
// Folders read ahead of the reporting position. Each may hold a descriptor
// and a listing, so this bounds both memory and descriptor use.
constexpr std::size_t kMaxReadAhead = 128;

constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The record getdents64 fills; declared here because older C libraries do not
// expose a wrapper for the syscall.
struct LinuxDirent64 {
  std::uint64_t d_ino;
  std::int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

struct Listing {
  struct Name {
    std::size_t off;
    std::size_t len;
  };
  struct File {
    Name name;
    std::uint64_t size;
    dev_t dev;
    ino_t ino;
  };
  std::string arena;  // names back to back, so a folder costs few allocations
  std::vector<File> files;
  std::vector<Name> dirs;

  std::string_view view(Name n) const { return {arena.data() + n.off, n.len}; }
  Name add(const char* name, std::size_t len) {
    Name n{arena.size(), len};
    arena.append(name, len);
    return n;
  }
};

// One folder of the tree. Created by whoever read its parent; reported and
// freed by the calling thread once its subtree is done.
struct Node {
  enum class State : std::uint8_t { Unread, Reading, Ready };

  Node* parent = nullptr;
  std::string name;
  std::uint32_t depth = 0;
  std::size_t index = 0;  // among the parent's children

  // Guarded by the engine mutex.
  State state = State::Unread;
  bool counted = false;  // holds a read-ahead slot
  Node* prev = nullptr;  // links in the list of unread folders
  Node* next = nullptr;

  // Written by the thread that reads the node, published under the mutex.
  bool entered = false;
  bool partial = false;      // reading gave up because of the stop flag
  std::exception_ptr error;  // thrown while a helper read it (memory)
  ino_t ino = 0;
  Listing listing;
  std::vector<std::unique_ptr<Node>> children;

  // Kept open while some child is still to be opened through it; whoever
  // opens the last child closes it.
  int fd = -1;
  std::atomic<std::size_t> unopened{0};

  ~Node() {
    if (fd >= 0) ::close(fd);
  }
};

// True when `a` comes before `b` in depth-first order.
bool Precedes(const Node* a, const Node* b) {
  while (a->depth > b->depth) a = a->parent;
  bool bDeeper = false;
  while (b->depth > a->depth) {
    b = b->parent;
    bDeeper = true;
  }
  if (a == b) return bDeeper;  // an ancestor comes first
  while (a->parent != b->parent) {
    a = a->parent;
    b = b->parent;
  }
  return a->index < b->index;
}

class Engine {
 public:
  Engine(const WalkOptions& options, const std::atomic<bool>& stop, WalkSink& sink)
      : options_(options), patterns_(options.patterns), stop_(stop), sink_(sink) {}

  WalkTotals run();

 private:
  struct Frame {
    Node* node;
    std::size_t nextChild;
    std::size_t parentPathLen;
  };

  bool abandoned() const { return stop_.load(std::memory_order_relaxed) || quit_.load(std::memory_order_relaxed); }

  void read(Node& node, char* buffer, bool callingThread);
  bool readEntries(int fd, Node& node, char* buffer, bool callingThread);
  void addCandidate(int fd, Node& node, const char* name, std::size_t len, unsigned type);
  void publish(Node& node);  // mutex held
  void unlink(Node& node);   // mutex held
  bool obtain(Node& node);
  void helperLoop();
  bool report(const Node& node);
  void maybeFlush();
  void flush();
  void shutdown();

  const WalkOptions& options_;
  const PatternSet patterns_;
  const std::atomic<bool>& stop_;
  WalkSink& sink_;
  dev_t dev_ = 0;

  std::atomic<bool> quit_{false};
  std::mutex mutex_;
  std::condition_variable wakeHelpers_;
  std::condition_variable wakeCaller_;
  Node* unreadHead_ = nullptr;  // unread folders in depth-first order
  std::size_t readAhead_ = 0;
  bool callerWaiting_ = false;
  std::vector<std::thread> helpers_;

  std::unique_ptr<char[]> buffer_;
  std::string path_;
  std::vector<FoundFile> batch_;
  Clock::time_point lastFlush_;
  WalkTotals totals_;
};

void Engine::addCandidate(int fd, Node& node, const char* name, std::size_t len, unsigned type) {
  struct stat st;
  if (type == DT_UNKNOWN) {
    if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (S_ISDIR(st.st_mode)) {
      node.listing.dirs.push_back(node.listing.add(name, len));
      return;
    }
    if (!S_ISREG(st.st_mode)) return;
  }
  if (name[0] == '.' && !options_.includeHidden) return;
  if (!patterns_.matches(std::string_view(name, len))) return;
  if (type != DT_UNKNOWN && ::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
  // The entry may have been replaced since it was listed, and a file can be
  // a mount point of its own.
  if (!S_ISREG(st.st_mode) || st.st_dev != dev_) return;
  if (!(st.st_mode & S_IWUSR) && !options_.includeReadOnly) return;
  node.listing.files.push_back(
      {node.listing.add(name, len), static_cast<std::uint64_t>(st.st_size), st.st_dev, st.st_ino});
}

bool Engine::readEntries(int fd, Node& node, char* buffer, bool callingThread) {
  unsigned untilPoll = kPollEvery;
  for (;;) {
    const long got = ::syscall(SYS_getdents64, fd, buffer, kReadBufferBytes);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return true;  // keep what was read before the failure
    }
    for (long pos = 0; pos < got;) {
      const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
      pos += d->d_reclen;
      if (--untilPoll == 0) {
        untilPoll = kPollEvery;
        if (abandoned()) return false;
        if (callingThread) maybeFlush();
      }
      const char* name = d->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      const unsigned type = d->d_type;
      if (type == DT_DIR) {
        node.listing.dirs.push_back(node.listing.add(name, std::strlen(name)));
      } else if (type == DT_REG || type == DT_UNKNOWN) {
        addCandidate(fd, node, name, std::strlen(name), type);
      }
    }
  }
}

// Opens and lists one folder and prepares its children. Runs without the
// mutex; the node is owned by this thread while its state is Reading.
void Engine::read(Node& node, char* buffer, bool callingThread) {
  if (node.parent != nullptr) {
    Node& parent = *node.parent;
    node.fd = ::openat(parent.fd, node.name.c_str(), kOpenFolder);
    if (parent.unopened.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      ::close(parent.fd);
      parent.fd = -1;
    }
    if (node.fd < 0) return;
    struct stat st;
    if (::fstat(node.fd, &st) != 0 || st.st_dev != dev_) return;
    // Same device, so a folder already on the path can only be a bind mount
    // of an ancestor: entering it would never end.
    for (const Node* up = node.parent; up != nullptr; up = up->parent) {
      if (up->ino == st.st_ino) return;
    }
    node.ino = st.st_ino;
  }

  node.entered = true;
  if (!readEntries(node.fd, node, buffer, callingThread)) {
    node.partial = true;
    return;
  }

  Listing& listing = node.listing;
  auto byName = [&listing](const auto& a, const auto& b) { return listing.view(a) < listing.view(b); };
  std::sort(listing.files.begin(), listing.files.end(),
            [&](const Listing::File& a, const Listing::File& b) { return byName(a.name, b.name); });
  std::sort(listing.dirs.begin(), listing.dirs.end(), byName);

  node.children.reserve(listing.dirs.size());
  for (std::size_t i = 0; i < listing.dirs.size(); ++i) {
    auto child = std::make_unique<Node>();
    child->parent = &node;
    child->name = listing.view(listing.dirs[i]);
    child->depth = node.depth + 1;
    child->index = i;
    node.children.push_back(std::move(child));
  }
  listing.dirs = {};
  node.unopened.store(node.children.size(), std::memory_order_relaxed);
  if (node.children.empty()) {
    ::close(node.fd);
    node.fd = -1;
  }
}

void Engine::unlink(Node& node) {
  if (node.prev != nullptr) {
    node.prev->next = node.next;
  } else {
    unreadHead_ = node.next;
  }
  if (node.next != nullptr) node.next->prev = node.prev;
  node.prev = node.next = nullptr;
}

// Marks the node read and queues its children at their depth-first place,
// so that readers always take the folder the caller will want soonest.
void Engine::publish(Node& node) {
  node.state = Node::State::Ready;
  if (node.children.empty()) return;
  Node* before = nullptr;  // last unread folder that precedes node's subtree
  Node* at = unreadHead_;
  while (at != nullptr && Precedes(at, &node)) {
    before = at;
    at = at->next;
  }
  for (auto& child : node.children) {
    Node* c = child.get();
    c->prev = before;
    c->next = at;
    if (before != nullptr) {
      before->next = c;
    } else {
      unreadHead_ = c;
    }
    before = c;
  }
  if (at != nullptr) at->prev = before;
  wakeHelpers_.notify_all();
}

void Engine::helperLoop() {
  std::unique_ptr<char[]> buffer(new char[kReadBufferBytes]);
  std::unique_lock lock(mutex_);
  for (;;) {
    if (quit_.load(std::memory_order_relaxed)) return;
    if (unreadHead_ == nullptr || readAhead_ >= kMaxReadAhead) {
      wakeHelpers_.wait(lock);
      continue;
    }
    Node& node = *unreadHead_;
    unlink(node);
    node.state = Node::State::Reading;
    node.counted = true;
    ++readAhead_;
    lock.unlock();
    try {
      read(node, buffer.get(), false);
    } catch (...) {
      // Rethrown on the calling thread when it reaches this folder.
      node.error = std::current_exception();
      node.children.clear();
    }
    lock.lock();
    publish(node);
    if (callerWaiting_) wakeCaller_.notify_one();
  }
}

// Makes `node` Ready on the calling thread: reads it here when nobody has
// started on it, otherwise reads other folders or waits until a helper is
// done with it. False when the stop flag was seen first.
bool Engine::obtain(Node& node) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (node.state == Node::State::Ready) {
      if (node.error) std::rethrow_exception(node.error);
      if (node.counted) {
        node.counted = false;
        if (readAhead_-- == kMaxReadAhead) wakeHelpers_.notify_all();
      }
      return !node.partial && !stop_.load(std::memory_order_relaxed);
    }
    if (node.state == Node::State::Unread) {
      unlink(node);
      node.state = Node::State::Reading;
      lock.unlock();
      read(node, buffer_.get(), true);
      lock.lock();
      publish(node);
      continue;
    }
    if (stop_.load(std::memory_order_relaxed)) return false;
    if (unreadHead_ != nullptr && readAhead_ < kMaxReadAhead) {
      // A helper has the folder we need: rather than idle, read the next one.
      Node& other = *unreadHead_;
      unlink(other);
      other.state = Node::State::Reading;
      other.counted = true;
      ++readAhead_;
      lock.unlock();
      read(other, buffer_.get(), true);
      lock.lock();
      publish(other);
      continue;
    }
    callerWaiting_ = true;
    wakeCaller_.wait_for(lock, kWaitSlice);
    callerWaiting_ = false;
    lock.unlock();
    maybeFlush();
    lock.lock();
  }
}

// Hands the node's files to the batch. False when the stop flag ended it
// early, which matters for folders holding many thousands of matches.
bool Engine::report(const Node& node) {
  const Listing& listing = node.listing;
  for (const Listing::File& f : listing.files) {
    FoundFile found;
    const std::string_view name = listing.view(f.name);
    found.path.reserve(path_.size() + 1 + name.size());
    found.path.append(path_).append(1, '/').append(name);
    found.size = f.size;
    found.dev = f.dev;
    found.ino = f.ino;
    ++totals_.files;
    totals_.totalSize += f.size;
    totals_.onDisk += DiskSpace(f.size, options_.clusterSize);
    batch_.push_back(std::move(found));
    if (batch_.size() >= kBatchFiles) {
      flush();
      if (stop_.load(std::memory_order_relaxed)) return false;
    }
  }
  return true;
}

void Engine::maybeFlush() {
  if (batch_.empty()) return;
  if (Clock::now() - lastFlush_ >= kFlushInterval) flush();
}

void Engine::flush() {
  lastFlush_ = Clock::now();
  if (batch_.empty()) return;
  std::vector<FoundFile> out;
  out.reserve(kBatchFiles);
  out.swap(batch_);
  sink_.onFiles(std::move(out));
}

void Engine::shutdown() {
  {
    std::lock_guard lock(mutex_);
    quit_.store(true, std::memory_order_relaxed);
  }
  wakeHelpers_.notify_all();
  for (std::thread& t : helpers_) t.join();
  helpers_.clear();
}

// Opens the start folder; a path too long for the kernel is opened one
// component at a time.
UniqueFd OpenStart(const std::string& start) {
  UniqueFd fd(::open(start.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd || errno != ENAMETOOLONG) return fd;
  fd.reset(::open(start[0] == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::size_t pos = 0;
  while (fd && pos < start.size()) {
    const std::size_t slash = std::min(start.find('/', pos), start.size());
    if (slash > pos) {
      const std::string part = start.substr(pos, slash - pos);
      fd.reset(::openat(fd.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    pos = slash + 1;
  }
  return fd;
}

WalkTotals Engine::run() {
  UniqueFd startFd = OpenStart(options_.start);
  struct stat st;
  if (!startFd || ::fstat(startFd.get(), &st) != 0) return totals_;
  dev_ = st.st_dev;

  path_ = options_.start;
  while (!path_.empty() && path_.back() == '/') path_.pop_back();

  Node root;
  root.fd = startFd.release();
  root.ino = st.st_ino;
  root.state = Node::State::Reading;
  buffer_.reset(new char[kReadBufferBytes]);
  batch_.reserve(kBatchFiles);
  lastFlush_ = Clock::now();

  struct Joiner {
    Engine* engine;
    ~Joiner() { engine->shutdown(); }
  } joiner{this};

  const unsigned hardware = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads = std::clamp(options_.threads, 1u, hardware);
  for (unsigned i = 1; i < threads; ++i) {
    try {
      helpers_.emplace_back([this] { helperLoop(); });
    } catch (const std::system_error&) {
      break;  // fewer helpers only costs speed
    }
  }

  read(root, buffer_.get(), true);
  {
    std::lock_guard lock(mutex_);
    publish(root);
  }
  if (root.partial || stop_.load(std::memory_order_relaxed)) {
    totals_.stopped = true;
  } else if (!report(root)) {
    totals_.stopped = true;
  } else {
    root.listing = {};
    std::vector<Frame> frames{{&root, 0, path_.size()}};
    while (!frames.empty()) {
      if (stop_.load(std::memory_order_relaxed)) {
        totals_.stopped = true;
        break;
      }
      maybeFlush();
      Frame& frame = frames.back();
      Node& folder = *frame.node;
      if (frame.nextChild == folder.children.size()) {
        const std::size_t parentPathLen = frame.parentPathLen;
        frames.pop_back();
        if (folder.parent != nullptr) {
          sink_.onFolderDone(path_);
          path_.resize(parentPathLen);
          folder.parent->children[folder.index].reset();
        }
        continue;
      }
      Node& child = *folder.children[frame.nextChild++];
      if (!obtain(child)) {
        totals_.stopped = true;
        break;
      }
      if (!child.entered) {
        folder.children[child.index].reset();
        continue;
      }
      const std::size_t parentPathLen = path_.size();
      path_.append(1, '/').append(child.name);
      if (!report(child)) {
        totals_.stopped = true;
        break;
      }
      child.listing = {};
      frames.push_back({&child, 0, parentPathLen});
    }
  }
  shutdown();
  flush();
  return totals_;
}

}  // namespace

std::uint64_t DiskSpace(std::uint64_t length, std::uint64_t clusterSize) {
  if (clusterSize <= 1) return length;
  const std::uint64_t clusters = length / clusterSize + (length % clusterSize != 0 ? 1 : 0);
  return std::max<std::uint64_t>(clusters, 1) * clusterSize;
}

WalkTotals Walk(const WalkOptions& options, const std::atomic<bool>& stop, WalkSink& sink) {
  Engine engine(options, stop, sink);
  return engine.run();
}

}  // namespace sw
