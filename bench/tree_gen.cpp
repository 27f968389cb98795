#include "tree_gen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/unique_fd.h"

namespace sw::bench {
namespace {

// Bump when the shape changes so stale trees are rebuilt, not reused.
constexpr std::string_view kTreeName = "sorrelwick-bench-tree-v1";
constexpr std::uint32_t kFolders = 60000;
constexpr std::uint32_t kEntries = 1000000;
constexpr std::uint32_t kMaxDepth = 12;

// splitmix64: tiny and identical everywhere, unlike std:: distributions.
struct Rng {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
};

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what + ": " + std::strerror(errno)); }

std::string Stem(Rng& rng, std::uint32_t unique) {
  static constexpr std::string_view kChars = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";
  std::string s;
  const std::uint32_t len = 3 + rng.below(10);
  for (std::uint32_t i = 0; i < len; ++i) s.push_back(kChars[rng.below(kChars.size())]);
  // A per-tree serial number keeps names unique within their folder.
  s.push_back('_');
  do {
    s.push_back(kChars[unique % 36]);
    unique /= 36;
  } while (unique != 0);
  return s;
}

std::string RandomCase(Rng& rng, std::string_view ext) {
  std::string out(ext);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z' && rng.below(3) == 0) c = static_cast<char>(c - 32);
  }
  return out;
}

std::string FileName(Rng& rng, std::uint32_t unique) {
  static constexpr std::string_view kMatching[] = {".tmp", ".gid", ".old"};
  static constexpr std::string_view kDecoys[] = {".tmpl", ".tmp.bak", ".gidx", ".old~", "tmp", ".oldx", ".t.mp"};
  static constexpr std::string_view kCommon[] = {".txt", ".c",    ".h",    ".png", ".jpg", ".o",  ".so", ".log",
                                                 ".cfg", ".json", ".html", ".py",  "",     ".md", ".js", ".css"};
  std::string name = rng.below(50) == 0 ? "." : "";  // 2% hidden
  name += Stem(rng, unique);
  const std::uint32_t kind = rng.below(1000);
  if (kind < 10) {
    name += RandomCase(rng, kMatching[rng.below(3)]);
  } else if (kind < 25) {
    name += RandomCase(rng, kDecoys[rng.below(std::size(kDecoys))]);
  } else {
    name += kCommon[rng.below(std::size(kCommon))];
  }
  return name;
}

void Generate(const std::string& root) {
  Rng rng{0x5077e1c0ffee2024ull};
  struct Folder {
    std::uint32_t parent;
    std::uint32_t depth;
    std::string path;
  };
  std::vector<Folder> folders;
  folders.push_back({0, 0, root});
  if (::mkdir(root.c_str(), 0755) != 0) Fail("mkdir " + root);
  while (folders.size() < kFolders) {
    // Mostly near the folders made last, for realistic deep chains, with
    // some spread over the whole tree.
    const std::uint32_t n = static_cast<std::uint32_t>(folders.size());
    std::uint32_t parent = rng.below(4) == 0 ? rng.below(n) : n - 1 - rng.below(std::min<std::uint32_t>(n, 40));
    if (folders[parent].depth >= kMaxDepth) continue;
    std::string name = (rng.below(30) == 0 ? "." : "") + Stem(rng, n);
    Folder f{parent, folders[parent].depth + 1, folders[parent].path + "/" + name};
    if (::mkdir(f.path.c_str(), 0755) != 0) Fail("mkdir " + f.path);
    folders.push_back(std::move(f));
  }

  // A tenth of the folders hold half of the files, as real trees have a few
  // crowded folders (caches, build outputs) among many small ones.
  const std::uint32_t files = kEntries - kFolders;
  std::vector<std::uint32_t> perFolder(kFolders, 0);
  for (std::uint32_t i = 0; i < files; ++i) {
    const std::uint32_t f = rng.below(2) == 0 ? rng.below(kFolders / 10) * 10 : rng.below(kFolders);
    ++perFolder[f];
  }
  std::uint32_t serial = 0;
  for (std::uint32_t f = 0; f < kFolders; ++f) {
    if (perFolder[f] == 0) continue;
    UniqueFd dir(::open(folders[f].path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir) Fail("open " + folders[f].path);
    for (std::uint32_t i = 0; i < perFolder[f]; ++i) {
      const std::string name = FileName(rng, serial++);
      UniqueFd fd(::openat(dir.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
      if (!fd) Fail("create " + folders[f].path + "/" + name);
      if (rng.below(20) == 0) {
        const auto size = static_cast<off_t>(rng.next() % (64ull << 20));
        if (::ftruncate(fd.get(), size) != 0) Fail("truncate " + name);
      }
    }
  }
}

}  // namespace

TreeInfo EnsureBenchTree(const std::string& base) {
  std::error_code ec;
  std::filesystem::create_directories(base, ec);
  TreeInfo info;
  info.root = base + "/" + std::string(kTreeName);
  info.folders = kFolders;
  info.files = kEntries - kFolders;
  const std::string marker = info.root + ".complete";
  if (::access(marker.c_str(), F_OK) == 0) return info;

  // Only our own, unfinished tree is removed: the name is ours alone.
  std::filesystem::remove_all(info.root, ec);
  if (ec) throw std::runtime_error("cannot remove unfinished " + info.root + ": " + ec.message());
  std::fprintf(stderr, "bench: building %s (once; reused by later runs)\n", info.root.c_str());
  Generate(info.root);
  std::ofstream(marker) << kFolders << " folders, " << info.files << " files\n";
  return info;
}

}  // namespace sw::bench
