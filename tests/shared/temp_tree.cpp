#include "temp_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace sw::test {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

void Check(bool ok, const char* what, std::string_view rel) {
  if (!ok) throw std::system_error(errno, std::generic_category(), what + (" " + std::string(rel)));
}

// Removes everything inside the folder `fd`, one handle per level.
void EmptyFolder(int fd) {
  // Names are all read first: removing while reading may skip entries.
  std::vector<std::string> names;
  if (DIR* dir = ::fdopendir(::dup(fd))) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string_view n = e->d_name;
      if (n != "." && n != "..") names.emplace_back(n);
    }
    ::closedir(dir);
  }
  for (const std::string& name : names) {
    if (::unlinkat(fd, name.c_str(), 0) == 0) continue;  // fails on folders
    ::fchmodat(fd, name.c_str(), 0700, 0);               // a test may have locked it
    UniqueFd sub(::openat(fd, name.c_str(), kDirFlags));
    if (sub) EmptyFolder(sub.get());
    ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
  }
}

}  // namespace

TempTree::TempTree() {
  std::string pattern = (std::filesystem::temp_directory_path() / "sorrelwick-tree-XXXXXX").string();
  Check(::mkdtemp(pattern.data()) != nullptr, "mkdtemp", pattern);
  root_ = pattern;
}

TempTree::~TempTree() {
  ::chmod(root_.c_str(), 0700);
  UniqueFd fd(::open(root_.c_str(), kDirFlags));
  if (fd) EmptyFolder(fd.get());
  ::rmdir(root_.c_str());
}

std::pair<UniqueFd, std::string> TempTree::at(std::string_view rel, bool create) const {
  UniqueFd fd(::open(root_.c_str(), kDirFlags));
  Check(fd.valid(), "open", root_);
  while (!rel.empty() && rel.back() == '/') rel.remove_suffix(1);
  std::size_t pos = 0;
  for (std::size_t slash; (slash = rel.find('/', pos)) != std::string_view::npos; pos = slash + 1) {
    if (slash == pos) continue;
    const std::string part(rel.substr(pos, slash - pos));
    Check(!create || ::mkdirat(fd.get(), part.c_str(), 0755) == 0 || errno == EEXIST, "mkdir", rel);
    fd.reset(::openat(fd.get(), part.c_str(), kDirFlags));
    Check(fd.valid(), "open", rel.substr(0, slash));
  }
  Check(pos < rel.size(), "empty name in", rel);
  return {std::move(fd), std::string(rel.substr(pos))};
}

UniqueFd TempTree::create(std::string_view rel, mode_t mode) const {
  const auto [folder, leaf] = at(rel, true);
  ::unlinkat(folder.get(), leaf.c_str(), 0);
  UniqueFd fd(::openat(folder.get(), leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  Check(fd.valid(), "create", rel);
  // Permissions count at open only, so a read-only file can still be written.
  Check(::fchmod(fd.get(), mode) == 0, "chmod", rel);
  return fd;
}

void TempTree::dir(std::string_view rel, mode_t mode) {
  const auto [folder, leaf] = at(rel, true);
  Check(::mkdirat(folder.get(), leaf.c_str(), mode) == 0 || errno == EEXIST, "mkdir", rel);
  // mkdir applies the umask; tests rely on the exact mode.
  Check(::fchmodat(folder.get(), leaf.c_str(), mode, 0) == 0, "chmod", rel);
}

void TempTree::file(std::string_view rel, std::uint64_t size, mode_t mode) {
  const UniqueFd fd = create(rel, mode);
  const std::string data(size, 'x');
  Check(::write(fd.get(), data.data(), data.size()) == static_cast<ssize_t>(data.size()), "write", rel);
}

void TempTree::sparseFile(std::string_view rel, std::uint64_t size, mode_t mode) {
  const UniqueFd fd = create(rel, mode);
  Check(::ftruncate(fd.get(), static_cast<off_t>(size)) == 0, "truncate", rel);
}

void TempTree::symlink(std::string_view rel, const std::string& target) {
  const auto [folder, leaf] = at(rel, true);
  Check(::symlinkat(target.c_str(), folder.get(), leaf.c_str()) == 0, "symlink", rel);
}

void TempTree::fifo(std::string_view rel) {
  const auto [folder, leaf] = at(rel, true);
  Check(::mkfifoat(folder.get(), leaf.c_str(), 0644) == 0, "mkfifo", rel);
}

void TempTree::hardLink(std::string_view existing, std::string_view rel) {
  const auto [from, fromLeaf] = at(existing, false);
  const auto [to, toLeaf] = at(rel, true);
  Check(::linkat(from.get(), fromLeaf.c_str(), to.get(), toLeaf.c_str(), 0) == 0, "link", rel);
}

void TempTree::chmod(std::string_view rel, mode_t mode) {
  const auto [folder, leaf] = at(rel, false);
  Check(::fchmodat(folder.get(), leaf.c_str(), mode, 0) == 0, "chmod", rel);
}

}  // namespace sw::test
