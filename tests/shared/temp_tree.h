// A private temporary folder for a test, removed with everything in it when
// the object goes away.
//
// Made under $TMPDIR (or /tmp) with a unique name. Relative paths use "/" as
// separator and may hold any other byte (invalid UTF-8, newlines); missing
// parent folders are made on the way. Every call works through folder
// handles, so trees deeper than PATH_MAX can be built and removed.
//
// One object per test, used from one thread. Failures to build throw
// std::system_error naming the path, so a broken fixture shows up as a test
// error rather than as a misleading result. The destructor never throws: it
// restores owner permissions on folders (chmod 000 ones included) before
// removing them, and leaves alone only what it cannot remove.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

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
  std::string path(std::string_view rel) const;

  // A folder (and its missing parents). An existing folder is fine.
  void dir(std::string_view rel, mode_t mode = 0755);
  // A regular file of `size` bytes of data, replacing any file of that name.
  void file(std::string_view rel, std::uint64_t size = 0, mode_t mode = 0644);
  // A file of `size` bytes that holds no data blocks (ftruncate).
  void sparseFile(std::string_view rel, std::uint64_t size, mode_t mode = 0644);
  void symlink(std::string_view rel, const std::string& target);
  void fifo(std::string_view rel);
  // A second name `rel` for the existing file `existing`.
  void hardLink(std::string_view existing, std::string_view rel);
  void chmod(std::string_view rel, mode_t mode);
  // Removes one file, link or empty folder.
  void remove(std::string_view rel);

  // An open handle on the folder `rel` (no symbolic link followed).
  UniqueFd openDir(std::string_view rel) const;

 private:
  // Handle of the folder holding the last component of `rel`, making
  // missing folders when `create`; `leaf` receives that last component.
  UniqueFd parentOf(std::string_view rel, bool create, std::string& leaf) const;

  std::string root_;
};

}  // namespace sw::test
