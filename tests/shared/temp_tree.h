// A private temporary folder for a test, removed with everything in it when
// the object goes away.
//
// Made under $TMPDIR (or /tmp) with a unique name. Relative paths use "/" as
// separator and may hold any other byte (invalid UTF-8, newlines); missing
// parent folders are made on the way. Every call works through folder
// handles, so trees deeper than PATH_MAX can be built and removed.
//
// One object per test, used from one thread. Failures to build throw
// std::system_error naming the path. The destructor never throws: it restores
// owner permissions on folders (chmod 000 ones included) before removing them.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/unique_fd.h"

namespace sw::test {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // Absolute path of the tree's own folder, without trailing '/'.
  const std::string& root() const { return root_; }
  // root() + "/" + rel; root() for an empty rel.
  std::string path(std::string_view rel) const { return rel.empty() ? root_ : root_ + "/" + std::string(rel); }

  // A folder (and its missing parents) with exactly `mode`; may exist already.
  void dir(std::string_view rel, mode_t mode = 0755);
  // A regular file of `size` bytes of data (written in one go: keep it
  // small), replacing any file of that name.
  void file(std::string_view rel, std::uint64_t size = 0, mode_t mode = 0644);
  // A file of `size` bytes that holds no data blocks (ftruncate).
  void sparseFile(std::string_view rel, std::uint64_t size, mode_t mode = 0644);
  void symlink(std::string_view rel, const std::string& target);
  void fifo(std::string_view rel);
  // A second name `rel` for the existing file `existing`.
  void hardLink(std::string_view existing, std::string_view rel);
  void chmod(std::string_view rel, mode_t mode);

 private:
  // Handle of the folder holding the last component of `rel` (made with its
  // parents when `create`), and that last component.
  std::pair<UniqueFd, std::string> at(std::string_view rel, bool create) const;
  // A new empty regular file `rel` with `mode`, open for writing; replaces
  // any file of that name.
  UniqueFd create(std::string_view rel, mode_t mode) const;

  std::string root_;
};

}  // namespace sw::test
