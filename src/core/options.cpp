#include "core/options.h"

#include <charconv>

#include "core/patterns.h"
#include "core/text.h"

namespace sw::options {

std::string GroupCleaningKey(int index) { return "GroupCleaning" + std::to_string(index); }

std::string DefaultFor(std::string_view key) {
  if (key == kFilesExtension) return std::string(kBuiltInPatterns);
  if (key == kMessageConfirmation) return "True";
  if (key == kActiveTab) return "1";
  if (key == kGroupAttributi || key.starts_with("GroupCleaning")) return "0";
  return {};
}

std::optional<long long> ParseInteger(std::string_view value) {
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  long long result = 0;
  const char* end = value.data() + value.size();
  const auto [ptr, ec] = std::from_chars(value.data(), end, result);
  if (value.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return result;
}

bool ToBool(std::string_view value) {
  const std::string lower = ToLowerAscii(value);
  if (lower == "true") return true;
  if (lower == "false") return false;
  if (const auto number = ParseInteger(value)) return *number != 0;
  return true;
}

std::string FromCheck(bool ticked) { return ticked ? "1" : "0"; }

std::optional<int> ToCheckState(std::string_view value) {
  const auto number = ParseInteger(value);
  if (!number || *number < 0 || *number >= 2) return std::nullopt;
  return static_cast<int>(*number);
}

int ToActiveTab(std::string_view value) {
  const auto number = ParseInteger(value);
  if (!number || *number < 1 || *number > 2) return 1;
  return static_cast<int>(*number);
}

}  // namespace sw::options
