// SPDX-License-Identifier: MIT
#include "ui/folder_rules.h"

#include "sys/file_system.h"
#include "sys/translation.h"

namespace reelcraft {

namespace {

std::string FolderMessage(const std::string &path, const std::string &tail) {
  return Translate("FolderRules", "The folder:\n\n") + path + "\n\n" + tail;
}

bool IsEdgeBlank(char c) { return c == '\t' || c == ' ' || c == '.'; }

// The one difference between the systems' forms, besides the separator of the names: how the
// root is written. 0 for a path that does not start at a root.
size_t RootLength(const std::string &path) {
#ifdef _WIN32
  bool letter = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
  return letter && path[1] == ':' && path[2] == kPathSeparator ? 3 : 0;
#else
  return path.starts_with(kPathSeparator) ? 1 : 0;
#endif
}

} // namespace

bool IsValidFolderName(std::string_view name) {
  if (name.empty() || IsEdgeBlank(name.front()) || IsEdgeBlank(name.back()))
    return false;
  return name.find_first_of("\"*/:<>?\\|") == std::string_view::npos;
}

int CheckOrCreatePath(const std::string &path, bool checkOnly) {
  // An embedded zero would cut the path short of what the user sees.
  size_t root = RootLength(path);
  if (root == 0 || path.size() >= kPathBufferSize || path.find('\0') != std::string::npos)
    return kFolderInvalid;
  // A root is never created.
  if (path.size() == root)
    return checkOnly || PathExists(path) ? kFolderAccepted : kFolderNotCreated;

  size_t start = root;
  for (;;) {
    size_t end = path.find(kPathSeparator, start);
    if (end == std::string::npos)
      end = path.size();
    if (!IsValidFolderName(std::string_view(path).substr(start, end - start)))
      return kFolderInvalid;
    if (!checkOnly) {
      std::string folder = path.substr(0, end);
      CreateFolder(folder);
      if (!PathExists(folder))
        return kFolderNotCreated;
    }
    if (end == path.size())
      return kFolderAccepted;
    if (end + 1 == path.size())
      return kFolderInvalid;
    start = end + 1;
  }
}

int ValidateOrCreateFolder(const std::string &path, MessageSink &messages) {
  int result = CheckOrCreatePath(path, true);
  if (result == kFolderAccepted) {
    if (PathExists(path))
      return kFolderAccepted;
    MessageAnswer answer = messages.Show(
        FolderMessage(path, Translate("FolderRules",
                                      "does not exist. Do you want the folder to be created?")),
        MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageAnswer::Yes)
      return kFolderDeclined;
    result = CheckOrCreatePath(path, false);
    if (result == kFolderAccepted)
      return kFolderAccepted;
  }
  messages.Show(FolderMessage(path, result == kFolderInvalid
                                        ? Translate("FolderRules", "is invalid. Please reenter.")
                                        : Translate("FolderRules",
                                                    "can not be created. Please double check.")),
                MessageButtons::Ok, MessageIcon::Exclamation);
  return result;
}

} // namespace reelcraft
