// Names, defaults and text conversions of the persisted settings. The store
// itself lives in the platform layer; everything here is pure and may run on
// any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sw::options {

inline constexpr std::string_view kApplication = "Sorrelwick";
inline constexpr std::string_view kSection = "CustomOptions";

inline constexpr std::string_view kFilesExtension = "FilesExtension";
inline constexpr std::string_view kPersonalFolder = "PersonalFolder";
inline constexpr std::string_view kMessageConfirmation = "MessageConfirmation";
inline constexpr std::string_view kMemoryFolder = "MemoryFolder";
inline constexpr std::string_view kGroupAttributi = "GroupAttributi";
inline constexpr std::string_view kActiveTab = "ActiveTab";
inline constexpr int kGroupCleaningCount = 6;

// "GroupCleaning0" .. "GroupCleaning5".
std::string GroupCleaningKey(int index);

// The default of every key above ("GroupCleaningN" included).
std::string DefaultFor(std::string_view key);

// "True"/"False" (any letter case) or a decimal number, 0 meaning false.
// Anything else, which the program never writes, counts as true so that an
// unreadable value keeps the safer confirmations on.
bool ToBool(std::string_view value);

// A check box state as stored: "1" ticked, "0" not ticked.
std::string FromCheck(bool ticked);

// A stored check-box value to apply: 0 or 1. Values of 2 or more, negative
// values and non-numbers leave the box as it is (nullopt).
std::optional<int> ToCheckState(std::string_view value);

// The tab to open from a stored "ActiveTab": above 2 opens tab 1, and so do 0,
// negative values and non-numbers (which would otherwise open no panel at all).
int ToActiveTab(std::string_view value);

// Decimal integer of the whole text, nullopt otherwise (blanks around allowed).
std::optional<long long> ParseInteger(std::string_view value);

}  // namespace sw::options
