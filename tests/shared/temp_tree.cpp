#include "temp_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace sw::test {
namespace {

constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

[[noreturn]] void Fail(const std::string& what, std::string_view rel) {
  throw std::system_error(errno, std::generic_category(), what + " " + std::string(rel));
}

// Removes everything inside the folder `fd`. Recursion holds one handle per
// level, which is plenty for test trees.
void EmptyFolder(int fd) {
  // Every name is read before anything is removed: removing while reading
  // can make a directory stream skip entries.
  std::vector<std::string> names;
  {
    const int dupFd = ::dup(fd);
    if (dupFd < 0) return;
    DIR* dir = ::fdopendir(dupFd);
    if (dir == nullptr) {
      ::close(dupFd);
      return;
    }
    while (const dirent* e = ::readdir(dir)) {
      const std::string_view n = e->d_name;
      if (n != "." && n != "..") names.emplace_back(n);
    }
    ::closedir(dir);
  }
  for (const std::string& name : names) {
    struct stat st;
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      // A test may have taken every permission away from the folder.
      ::fchmodat(fd, name.c_str(), 0700, 0);
      UniqueFd sub(::openat(fd, name.c_str(), kDirFlags));
      if (sub) EmptyFolder(sub.get());
      ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    } else {
      ::unlinkat(fd, name.c_str(), 0);
    }
  }
}

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = (base != nullptr && *base != '\0') ? base : "/tmp";
  while (pattern.size() > 1 && pattern.back() == '/') pattern.pop_back();
  pattern += "/sorrelwick-tree-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp", pattern);
  root_ = pattern;
}

TempTree::~TempTree() {
  ::chmod(root_.c_str(), 0700);
  UniqueFd fd(::open(root_.c_str(), kDirFlags));
  if (fd) EmptyFolder(fd.get());
  ::rmdir(root_.c_str());
}

std::string TempTree::path(std::string_view rel) const {
  std::string p = root_;
  if (!rel.empty()) p.append(1, '/').append(rel);
  return p;
}

UniqueFd TempTree::parentOf(std::string_view rel, bool create, std::string& leaf) const {
  UniqueFd fd(::open(root_.c_str(), kDirFlags));
  if (!fd) Fail("open", root_);
  while (!rel.empty() && rel.back() == '/') rel.remove_suffix(1);
  std::size_t pos = 0;
  for (;;) {
    const std::size_t slash = rel.find('/', pos);
    if (slash == std::string_view::npos) break;
    if (slash > pos) {
      const std::string part(rel.substr(pos, slash - pos));
      if (create && ::mkdirat(fd.get(), part.c_str(), 0755) != 0 && errno != EEXIST) {
        Fail("mkdir", rel.substr(0, slash));
      }
      fd.reset(::openat(fd.get(), part.c_str(), kDirFlags));
      if (!fd) Fail("open", rel.substr(0, slash));
    }
    pos = slash + 1;
  }
  leaf = std::string(rel.substr(pos));
  if (leaf.empty()) Fail("empty name in", rel);
  return fd;
}

UniqueFd TempTree::openDir(std::string_view rel) const {
  if (rel.empty()) {
    UniqueFd fd(::open(root_.c_str(), kDirFlags));
    if (!fd) Fail("open", root_);
    return fd;
  }
  std::string leaf;
  UniqueFd parent = parentOf(rel, false, leaf);
  UniqueFd fd(::openat(parent.get(), leaf.c_str(), kDirFlags));
  if (!fd) Fail("open", rel);
  return fd;
}

void TempTree::dir(std::string_view rel, mode_t mode) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, true, leaf);
  if (::mkdirat(parent.get(), leaf.c_str(), mode) != 0) {
    if (errno != EEXIST) Fail("mkdir", rel);
  }
  // mkdir applies the umask; tests rely on the exact mode.
  if (::fchmodat(parent.get(), leaf.c_str(), mode, 0) != 0) Fail("chmod", rel);
}

void TempTree::file(std::string_view rel, std::uint64_t size, mode_t mode) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, true, leaf);
  ::unlinkat(parent.get(), leaf.c_str(), 0);
  UniqueFd fd(::openat(parent.get(), leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd) Fail("create", rel);
  const std::string chunk(64 * 1024, 'x');
  while (size > 0) {
    const std::size_t n = size < chunk.size() ? static_cast<std::size_t>(size) : chunk.size();
    const ssize_t w = ::write(fd.get(), chunk.data(), n);
    if (w < 0) {
      if (errno == EINTR) continue;
      Fail("write", rel);
    }
    size -= static_cast<std::uint64_t>(w);
  }
  if (::fchmod(fd.get(), mode) != 0) Fail("chmod", rel);
}

void TempTree::sparseFile(std::string_view rel, std::uint64_t size, mode_t mode) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, true, leaf);
  ::unlinkat(parent.get(), leaf.c_str(), 0);
  UniqueFd fd(::openat(parent.get(), leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!fd) Fail("create", rel);
  if (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0) Fail("truncate", rel);
  if (::fchmod(fd.get(), mode) != 0) Fail("chmod", rel);
}

void TempTree::symlink(std::string_view rel, const std::string& target) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, true, leaf);
  if (::symlinkat(target.c_str(), parent.get(), leaf.c_str()) != 0) Fail("symlink", rel);
}

void TempTree::fifo(std::string_view rel) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, true, leaf);
  if (::mkfifoat(parent.get(), leaf.c_str(), 0644) != 0) Fail("mkfifo", rel);
}

void TempTree::hardLink(std::string_view existing, std::string_view rel) {
  std::string fromLeaf, toLeaf;
  UniqueFd from = parentOf(existing, false, fromLeaf);
  UniqueFd to = parentOf(rel, true, toLeaf);
  if (::linkat(from.get(), fromLeaf.c_str(), to.get(), toLeaf.c_str(), 0) != 0) Fail("link", rel);
}

void TempTree::chmod(std::string_view rel, mode_t mode) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, false, leaf);
  if (::fchmodat(parent.get(), leaf.c_str(), mode, 0) != 0) Fail("chmod", rel);
}

void TempTree::remove(std::string_view rel) {
  std::string leaf;
  UniqueFd parent = parentOf(rel, false, leaf);
  struct stat st;
  if (::fstatat(parent.get(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) Fail("stat", rel);
  if (::unlinkat(parent.get(), leaf.c_str(), S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0) != 0) {
    Fail("remove", rel);
  }
}

}  // namespace sw::test
