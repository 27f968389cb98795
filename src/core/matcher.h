// File-name matching for the search: a ";"-separated list of wildcard
// patterns ("*.tmp;*.gid;~*") tested against one file name at a time.
//
// "*" stands for any run of characters (also none), "?" for exactly one: one
// code point when the name is valid UTF-8, one byte otherwise. Every other
// character is literal; there are no bracket classes and no escapes. Letter
// case is ignored with Unicode simple case folding for valid UTF-8, and with
// ASCII folding for names that are not valid UTF-8 (their other bytes must
// match exactly).
//
// A PatternSet is immutable once built, so one object may be used from any
// number of threads at once. Building never fails: a pattern list that holds
// no pattern gives a set that matches nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class PatternSet {
 public:
  // `list` holds patterns separated by ";"; empty pieces are ignored.
  explicit PatternSet(std::string_view list);

  // True when at least one pattern matches the whole of `fileName` (a name,
  // not a path: "/" has no special meaning).
  bool matches(std::string_view fileName) const;

  bool empty() const { return suffixes_.empty() && globs_.empty(); }

 private:
  // "*.ext" whose ext is plain ASCII: tested by comparing the name's tail.
  struct Suffix {
    std::string lowered;  // ".ext" in ASCII lower case
    std::size_t glob;     // index into globs_ of the same pattern, for tails
                          // that are not ASCII and need full folding
  };
  // Any other pattern, in both code-point and byte form.
  struct Glob {
    std::vector<std::uint32_t> folded;  // folded code points and wildcards;
                                        // empty when the pattern is not UTF-8
    std::vector<std::uint32_t> bytes;   // ASCII-folded bytes and wildcards
    bool utf8 = false;
    bool fastOnly = false;  // only reached through a Suffix entry
  };

  bool matchGlob(const Glob& glob, std::string_view name, bool nameIsUtf8) const;

  std::vector<Suffix> suffixes_;
  std::vector<Glob> globs_;
};

}  // namespace sw
