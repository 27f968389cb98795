// Small file-system queries and the careful writes of the program's own files.
// Plain POSIX calls on byte paths; any thread. Errors are returned as errno
// values, never thrown.
#pragma once

#include <string>
#include <string_view>

namespace sw {

// True when `path` names an existing folder (symbolic links to folders count,
// as they open as folders). False for files, missing paths, "" and any error.
bool FolderExists(const std::string& path);

// True when `path` can be examined and is not a folder (hidden and read-only
// files included). False for folders, missing paths, "" and any error.
bool FileExists(const std::string& path);

// Writes `bytes` as the whole content of `path` without following a symbolic
// link at that path, and only into a regular file owned by the current user
// with no other hard link (a file planted in a shared temporary folder by
// someone else is never written through). Creates the file with mode 0600 when
// missing. Returns 0 or the errno of the failure (ELOOP for a link, EPERM for
// a file that is not ours or not regular).
int WriteOwnFile(const std::string& path, std::string_view bytes);

// Removes `path` only when it is a regular file owned by the current user;
// a link, a folder or someone else's file is left alone. Returns true when
// the file was removed.
bool RemoveOwnFile(const std::string& path);

}  // namespace sw
