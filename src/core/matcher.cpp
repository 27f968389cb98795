#include "core/matcher.h"

#include <locale.h>
#include <wctype.h>

#include <cstddef>

namespace sw {
namespace {

constexpr std::uint32_t kStar = 0xFFFFFFFFu;
constexpr std::uint32_t kAny = 0xFFFFFFFEu;

constexpr std::uint32_t LowerAscii(std::uint32_t c) { return (c - 'A' < 26u) ? c + 32 : c; }

// Made once and kept for the life of the process: a locale object is the only
// way to ask for UTF-8 case mapping without touching the global locale, which
// the UI owns. Null when the C library has no C.UTF-8; we then fold ASCII only.
locale_t Utf8Locale() {
  static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  return loc;
}

// Upper then lower gives the simple case folding for the letters that matter
// in file names, including those whose lower case is not a round trip (the
// long s, the Kelvin sign, final sigma, title-case digraphs).
std::uint32_t FoldCodePoint(std::uint32_t c) {
  if (c < 0x80) return LowerAscii(c);
  const locale_t loc = Utf8Locale();
  if (loc == locale_t{}) return c;
  return static_cast<std::uint32_t>(towlower_l(towupper_l(static_cast<wint_t>(c), loc), loc));
}

bool IsValidUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    std::size_t n;
    std::uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - p) <= n) return false;
    for (std::size_t i = 1; i <= n; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    p += n + 1;
  }
  return true;
}

// Only for text already known to be valid UTF-8.
std::uint32_t DecodeAt(std::string_view s, std::size_t& pos) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data()) + pos;
  const unsigned char c = p[0];
  if (c < 0x80) {
    pos += 1;
    return c;
  }
  if (c < 0xE0) {
    pos += 2;
    return ((c & 0x1Fu) << 6) | (p[1] & 0x3Fu);
  }
  if (c < 0xF0) {
    pos += 3;
    return ((c & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
  }
  pos += 4;
  return ((c & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
}

struct CodePoints {
  std::string_view s;
  std::uint32_t next(std::size_t& pos) const { return FoldCodePoint(DecodeAt(s, pos)); }
};

struct Bytes {
  std::string_view s;
  std::uint32_t next(std::size_t& pos) const { return LowerAscii(static_cast<unsigned char>(s[pos++])); }
};

// Classic single-backtrack wildcard match: on a mismatch only the most recent
// "*" needs to absorb one more unit, so the cost stays O(name * pattern) at
// worst and linear for the usual patterns, without any allocation.
template <typename Units>
bool WildMatch(const std::vector<std::uint32_t>& pat, Units name) {
  const std::size_t pn = pat.size();
  const std::size_t nn = name.s.size();
  std::size_t pi = 0, ni = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (ni < nn) {
    if (pi < pn && pat[pi] == kStar) {
      starP = ++pi;
      starN = ni;
      continue;
    }
    std::size_t after = ni;
    const std::uint32_t u = name.next(after);
    if (pi < pn && (pat[pi] == kAny || pat[pi] == u)) {
      ++pi;
      ni = after;
      continue;
    }
    if (starP == std::string_view::npos) return false;
    pi = starP;
    name.next(starN);
    ni = starN;
  }
  while (pi < pn && pat[pi] == kStar) ++pi;
  return pi == pn;
}

void PushUnit(std::vector<std::uint32_t>& out, std::uint32_t unit) {
  if (unit == kStar && !out.empty() && out.back() == kStar) return;  // "**" is "*"
  out.push_back(unit);
}

}  // namespace

PatternSet::PatternSet(std::string_view list) {
  while (!list.empty()) {
    const std::size_t semi = list.find(';');
    const std::string_view pattern = list.substr(0, semi);
    list = semi == std::string_view::npos ? std::string_view{} : list.substr(semi + 1);
    if (pattern.empty()) continue;

    Glob glob;
    for (unsigned char c : pattern) {
      PushUnit(glob.bytes, c == '*' ? kStar : c == '?' ? kAny : LowerAscii(c));
    }
    glob.utf8 = IsValidUtf8(pattern);
    if (glob.utf8) {
      for (std::size_t pos = 0; pos < pattern.size();) {
        const std::uint32_t cp = DecodeAt(pattern, pos);
        PushUnit(glob.folded, cp == '*' ? kStar : cp == '?' ? kAny : FoldCodePoint(cp));
      }
    }

    const std::string_view ext = pattern.substr(1);
    bool plainAsciiExt = pattern.size() >= 2 && pattern[0] == '*' && pattern[1] == '.';
    for (unsigned char c : ext) {
      if (c >= 0x80 || c == '*' || c == '?') plainAsciiExt = false;
    }
    if (plainAsciiExt) {
      std::string lowered;
      for (unsigned char c : ext) lowered.push_back(static_cast<char>(LowerAscii(c)));
      glob.fastOnly = true;
      suffixes_.push_back({std::move(lowered), globs_.size()});
    }
    globs_.push_back(std::move(glob));
  }
}

bool PatternSet::matchGlob(const Glob& glob, std::string_view name, bool nameIsUtf8) const {
  if (nameIsUtf8 && glob.utf8) return WildMatch(glob.folded, CodePoints{name});
  return WildMatch(glob.bytes, Bytes{name});
}

bool PatternSet::matches(std::string_view name) const {
  int utf8 = -1;  // decided on first need: most names are settled by a tail compare
  auto nameIsUtf8 = [&] {
    if (utf8 < 0) utf8 = IsValidUtf8(name) ? 1 : 0;
    return utf8 == 1;
  };

  for (const Suffix& suffix : suffixes_) {
    const std::size_t n = suffix.lowered.size();
    // Every code point takes at least one byte, so a name with fewer bytes
    // than the suffix has code points cannot end with it.
    if (name.size() < n) continue;
    const auto* tail = reinterpret_cast<const unsigned char*>(name.data() + name.size() - n);
    unsigned diff = 0, high = 0;
    for (std::size_t i = 0; i < n; ++i) {
      high |= tail[i] & 0x80u;
      diff |= LowerAscii(tail[i]) ^ static_cast<unsigned char>(suffix.lowered[i]);
    }
    if (high == 0) {
      // An ASCII tail is the same units in both readings of the name.
      if (diff == 0) return true;
      continue;
    }
    // Non-ASCII tails can still fold onto ASCII letters (the Kelvin sign is a
    // "k"), so they take the full matcher.
    if (matchGlob(globs_[suffix.glob], name, nameIsUtf8())) return true;
  }
  for (const Glob& glob : globs_) {
    if (!glob.fastOnly && matchGlob(glob, name, nameIsUtf8())) return true;
  }
  return false;
}

}  // namespace sw
