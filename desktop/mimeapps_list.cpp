// SPDX-License-Identifier: MIT
#include "desktop/mimeapps_list.h"

#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/text_files.h"

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

// Only group lines, comments and blank lines: the list says nothing.
bool SaysNothing(const std::string &list) {
  for (const std::string &line : Lines(list)) {
    std::string trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() != '[' && trimmed.front() != '#')
      return false;
  }
  return true;
}

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

bool UpdateUserDefaultApplication(const std::string &mimeType, const std::string &desktopId,
                                  bool makeDefault) {
  std::string path = XdgConfigHome() + "/mimeapps.list";
  bool exists = PathExists(path);
  if (!exists && !makeDefault)
    return true;
  std::string before = exists ? ReadFileText(path) : std::string();
  std::string after = SetDefaultApplication(before, mimeType, desktopId, makeDefault);
  if (after == before)
    return true;
  if (!makeDefault && SaysNothing(after))
    return DeletePath(path);
  return WriteFileReplacing(path, after);
}

} // namespace reelcraft
