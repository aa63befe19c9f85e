// SPDX-License-Identifier: MIT
#include "desktop/mimeapps_list.h"

#include <sstream>
#include <vector>

namespace reelcraft {

namespace {

constexpr const char *kGroup = "[Default Applications]";

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::string Trim(const std::string &text) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

// The key of "key=value", or "" for other lines.
std::string KeyOf(const std::string &line) {
  size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : Trim(line.substr(0, equals));
}

std::string ValueOf(const std::string &line) { return Trim(line.substr(line.find('=') + 1)); }

} // namespace

std::string SetDefaultApplication(const std::string &list, const std::string &mimeType,
                                  const std::string &desktopId, bool makeDefault) {
  std::vector<std::string> lines = Lines(list);
  std::vector<std::string> result;
  bool inGroup = false;
  bool groupSeen = false;
  for (const std::string &line : lines) {
    std::string trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      inGroup = trimmed == kGroup;
      result.push_back(line);
      if (inGroup && makeDefault && !groupSeen)
        result.push_back(mimeType + "=" + desktopId + ";");
      groupSeen = groupSeen || inGroup;
      continue;
    }
    bool ours = inGroup && KeyOf(line) == mimeType;
    bool keep =
        !ours || (!makeDefault && ValueOf(line) != desktopId + ";" && ValueOf(line) != desktopId);
    if (keep)
      result.push_back(line);
  }
  if (makeDefault && !groupSeen) {
    if (!result.empty() && !Trim(result.back()).empty())
      result.push_back("");
    result.push_back(kGroup);
    result.push_back(mimeType + "=" + desktopId + ";");
  }
  std::string text;
  for (const std::string &line : result)
    text += line + "\n";
  return text;
}

} // namespace reelcraft
