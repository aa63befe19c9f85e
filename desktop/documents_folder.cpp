// SPDX-License-Identifier: MIT
#include "desktop/documents_folder.h"

#include "sys/paths.h"

#include <cstdlib>
#include <fstream>

namespace reelcraft {

namespace {

std::string Environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? value : "";
}

// Reads XDG_DOCUMENTS_DIR="..." from user-dirs.dirs, expanding a leading $HOME as xdg-user-dirs
// writes it. Empty when the file or the line is missing.
std::string UserDirsDocuments(const std::string &home) {
  std::ifstream in(XdgConfigHome() + "/user-dirs.dirs");
  const std::string key = "XDG_DOCUMENTS_DIR=";
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size(), key) != 0)
      continue;
    std::string value = line.substr(key.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0)
      value = home + value.substr(5);
    if (!value.empty() && value.front() == '/')
      return value;
  }
  return "";
}

} // namespace

std::optional<std::string> DocumentsFolder() {
  std::string home = Environment("HOME");
  if (home.empty() || home.front() != '/')
    return std::nullopt;
  std::string documents = UserDirsDocuments(home);
  if (documents.empty())
    documents = home + "/Documents";
  // "$HOME/" is how the user directories name a folder that was switched off.
  while (documents.size() > 1 && documents.back() == '/')
    documents.pop_back();
  return documents;
}

} // namespace reelcraft
