#include "core/compact_path.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace sw {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offsets where each code point of `text` starts, plus text.size().
std::vector<std::size_t> CodePointBounds(std::string_view text) {
  std::vector<std::size_t> bounds;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || !IsContinuationByte(text[i])) bounds.push_back(i);
  }
  bounds.push_back(text.size());
  return bounds;
}

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  std::size_t size = 0;
  for (auto p : parts) size += p.size();
  out.reserve(size);
  for (auto p : parts) out.append(p);
  return out;
}

}  // namespace

std::string CompactPath(std::string_view path, double limit, const TextMeasure& measure) {
  const double fullWidth = measure(path);
  if (fullWidth <= limit) return std::string(path);

  // Trailing slashes stay with the last component so "dir/" keeps its meaning.
  std::size_t bodyEnd = path.size();
  while (bodyEnd > 0 && path[bodyEnd - 1] == '/') --bodyEnd;
  const std::string_view body = path.substr(0, bodyEnd);
  const std::size_t lastSlash = body.rfind('/');
  // A single name (or only slashes) has nothing that may be dropped.
  if (lastSlash == std::string_view::npos || bodyEnd == 0) {
    return std::string(path);
  }
  const std::string_view last = path.substr(lastSlash + 1);
  const std::string_view before = path.substr(0, lastSlash + 1);  // ends in '/'

  std::size_t rootLen = 0;
  while (rootLen < before.size() && before[rootLen] == '/') ++rootLen;
  const std::string_view root = before.substr(0, rootLen);
  const std::string_view rest = before.substr(rootLen);  // "a/b/c/" or ""

  auto fits = [&](const std::string& s) { return measure(s) <= limit; };

  if (!rest.empty()) {
    const std::size_t firstEnd = rest.find('/') + 1;
    const std::string_view first = rest.substr(0, firstEnd);
    // Everything between the first component and the separator before the
    // last one; this is what gets eaten from its middle outwards.
    const std::string_view middle = rest.substr(firstEnd);
    if (!middle.empty()) {
      const std::string_view core = middle.substr(0, middle.size() - 1);
      const std::vector<std::size_t> bounds = CodePointBounds(core);
      const std::size_t n = bounds.size() - 1;  // code points in core
      auto candidate = [&](std::size_t removed) {
        const std::size_t kept = n - removed;
        const std::size_t leftKeep = (kept + 1) / 2;
        const std::size_t rightKeep = kept / 2;
        return Join(
            {root, first, core.substr(0, bounds[leftKeep]), kEllipsis, core.substr(bounds[n - rightKeep]), "/", last});
      };
      if (fits(candidate(n))) {
        // Width shrinks as more is removed, so search for the fewest removals
        // that still fit; `hi` always fits.
        std::size_t lo = 1;
        std::size_t hi = n;
        while (lo < hi) {
          const std::size_t mid = lo + (hi - lo) / 2;
          if (fits(candidate(mid))) {
            hi = mid;
          } else {
            lo = mid + 1;
          }
        }
        return candidate(hi);
      }
    }
    if (!root.empty()) {
      std::string rootOnly = Join({root, kEllipsis, "/", last});
      if (fits(rootOnly)) return rootOnly;
    }
  }

  std::string lastOnly = Join({kEllipsis, "/", last});
  // Reached only when nothing fits: the last component is still shown whole,
  // unless the "..." prefix would make the text wider than the path itself.
  if (measure(lastOnly) < fullWidth) return lastOnly;
  return std::string(path);
}

}  // namespace sw
