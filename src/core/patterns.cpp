#include "core/patterns.h"

#include "core/text.h"

namespace sw {

std::vector<std::string> SplitPatternList(std::string_view text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  if (text.front() == ';') text.remove_prefix(1);
  std::string current;
  for (char c : text) {
    if (c == ';') {
      entries.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  // The text may or may not end with ";": what follows the last one is an entry
  // only when there is something there.
  if (!current.empty()) entries.push_back(std::move(current));
  return entries;
}

AddResult AddExtension(std::string_view stored, std::string_view extension) {
  if (extension.empty()) return {std::nullopt, AddRefusal::Empty};
  if (extension.find_first_of(";/") != std::string_view::npos) return {std::nullopt, AddRefusal::InvalidCharacter};
  const std::string pattern = "*." + ToLowerAscii(extension);
  for (const std::string& entry : SplitPatternList(stored))
    if (ToLowerAscii(entry) == pattern) return {std::nullopt, AddRefusal::AlreadyListed};
  // An empty stored text gives ";*.ext", whose leading ";" the split drops.
  return {std::string(stored) + ";" + pattern, std::nullopt};
}

std::string RemoveEntry(const std::vector<std::string>& entries, std::size_t index) {
  std::string text;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == index) continue;
    text += entries[i];
    text += ';';
  }
  if (!text.empty()) text.pop_back();
  return text;
}

std::string JoinTicked(const std::vector<std::string>& entries, const std::vector<bool>& ticked) {
  std::string text;
  for (std::size_t i = 0; i < entries.size() && i < ticked.size(); ++i) {
    if (!ticked[i]) continue;
    text += entries[i];
    text += ';';
  }
  if (!text.empty()) text.pop_back();
  return text;
}

}  // namespace sw
