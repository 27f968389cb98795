// The stored pattern list: its text form ("*.tmp;*.gid;*.old"), splitting it
// into list entries, adding and removing an extension, and joining ticked
// entries into a search filter. Pure functions, any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

inline constexpr std::string_view kBuiltInPatterns = "*.tmp;*.gid;*.old";

// Entries of a stored list text in text order. One leading ";" is dropped and
// a final ";" is implied, so ";*.tmp;*.log", "*.tmp;*.log;" and "*.tmp;*.log"
// give the same two entries; "a;;b" keeps an empty entry between them; ""
// gives no entry.
std::vector<std::string> SplitPatternList(std::string_view text);

// Why AddExtension refused an extension.
enum class AddRefusal { Empty, AlreadyListed, InvalidCharacter };

struct AddResult {
  std::optional<std::string> text;  // the new stored text when added
  std::optional<AddRefusal> refused;
};

// Appends "*." + the lower-cased extension to the stored text `stored`.
// Refuses an empty extension, one containing ";" or "/" (it would split the
// list or could never match a name), and one whose pattern the list already
// holds (letter case ignored). A piece of an existing pattern ("mp" beside
// "*.tmp") is a different extension and is added.
AddResult AddExtension(std::string_view stored, std::string_view extension);

// The stored text of `entries` without the one at `index`, joined with ";".
std::string RemoveEntry(const std::vector<std::string>& entries, std::size_t index);

// The filter of a custom search: the ticked entries joined with ";", in
// list order, without a leading or trailing ";".
std::string JoinTicked(const std::vector<std::string>& entries, const std::vector<bool>& ticked);

}  // namespace sw
