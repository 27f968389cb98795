// Shortening of long file-system paths for display in fixed-width places
// (status bar, list rows).
//
// Pure function, callable from any thread; the measuring callback is invoked
// synchronously on the calling thread and must not be empty. Text is UTF-8 and
// is only ever cut between code points; invalid UTF-8 is passed through byte
// for byte (stray continuation bytes stay glued to what precedes them).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sw {

using TextMeasure = std::function<double(std::string_view)>;

inline constexpr std::string_view kEllipsis = "...";

// Returns `path` unchanged when measure(path) <= limit. Otherwise keeps, in
// order of preference, until the result fits:
//   1. the root and first component, with characters removed from the middle
//      of the rest ("/home/us...ts/file.tmp", down to "/home/.../file.tmp");
//   2. the root alone ("/.../file.tmp");
//   3. only the last component (".../file.tmp"), even if that still does not
//      fit: the last component is never cut.
// A trailing '/' belongs to the last component. Never returns something wider
// than `path` itself.
std::string CompactPath(std::string_view path, double limit, const TextMeasure& measure);

}  // namespace sw
