// The benchmark tree: a fixed, pseudo-random tree of about 1,000,000 entries
// in 60,000 folders, built once and reused by later runs. Files are empty or
// sparse so the tree costs inodes, not disk space. Single-threaded; throws
// std::runtime_error when the tree cannot be made.
#pragma once

#include <cstdint>
#include <string>

namespace sw::bench {

struct TreeInfo {
  std::string root;           // folder to search
  std::uint64_t folders = 0;  // including root
  std::uint64_t files = 0;
};

// Returns the tree under `base` (made when missing or left unfinished by an
// interrupted run; `base` itself is created when needed).
TreeInfo EnsureBenchTree(const std::string& base);

}  // namespace sw::bench
