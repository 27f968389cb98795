// Path and text helpers shared by every layer. Paths are bytes: nothing here
// assumes UTF-8, and "/" is the only separator. Pure functions, any thread.
#pragma once

#include <string>
#include <string_view>

namespace sw {

// The path with exactly one final "/" added when it lacks one; "" gives "/".
std::string AddBackslash(std::string_view path);

// The path up to and including its last "/" ("/tmp/a.tmp" gives "/tmp/");
// "" when there is no "/".
std::string FolderOfPath(std::string_view path);

// The last name of a folder path, keeping a final "/" when there is one
// ("/home/ann/Docs/" gives "Docs/", "/home/ann/Docs" gives "Docs"); "" when
// no "/" stands before the final character.
std::string GetFolderName(std::string_view path);

// The extension of the file named by the last component of `path`: the part
// after the last "." of the name. A name without ".", a name whose only "."
// is its first character (".bashrc") and a name ending in "." have none.
std::string GetExtension(std::string_view path);

// The text with every "." removed (".tmp", "tmp." and "t.m.p" give "tmp").
std::string RemoveDots(std::string_view text);

// ASCII-only lower case; other bytes are left as they are.
std::string ToLowerAscii(std::string_view text);

}  // namespace sw
