#include "core/text.h"

#include <algorithm>

namespace sw {

std::string AddBackslash(std::string_view path) {
  std::string result(path);
  if (result.empty() || result.back() != '/') result.push_back('/');
  return result;
}

std::string FolderOfPath(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(0, slash + 1));
}

std::string GetFolderName(std::string_view path) {
  if (path.size() < 2) return {};
  const auto slash = path.rfind('/', path.size() - 2);
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(slash + 1));
}

std::string GetExtension(std::string_view path) {
  const auto slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return {};
  return std::string(name.substr(dot + 1));
}

std::string RemoveDots(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(result), [](char c) { return c != '.'; });
  return result;
}

std::string ToLowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return result;
}

}  // namespace sw
