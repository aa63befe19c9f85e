// SPDX-License-Identifier: MIT
#include "desktop/shell.h"

#include "desktop/documents_folder.h"
#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/temp_files.h"

#include <cctype>
#include <filesystem>

namespace reelcraft {

std::optional<std::string> Shell::DocumentsFolder() const { return reelcraft::DocumentsFolder(); }

std::optional<std::string> Shell::TempFolder() const { return reelcraft::TempFolder(); }

// A reserved name often becomes the user's AVI, so it gets an ordinary file's mode.
FileRef Shell::ReserveTempName(const std::string &folder) const {
  return reelcraft::ReserveTempName(folder, "qvj", 0666);
}

FileOpResult Shell::Copy(const std::string &source, const std::string &target,
                         const std::string &title, uint32_t flags, CopyObserver &observer,
                         FileOpReport *report) const {
  return CopyFileWithProgress(source, target, title, flags, observer, report);
}

FileOpResult Shell::Move(const std::string &source, const std::string &target,
                         const std::string &title, uint32_t flags, CopyObserver &observer,
                         FileOpReport *report) const {
  return MoveFileWithProgress(source, target, title, flags, observer, hooks_.rename, report);
}

#ifndef _WIN32 // the shell's own on Windows: shell_win32.cpp
bool HasDefaultProgram(const std::string &path) {
  std::optional<std::string> type = RunAndRead({"xdg-mime", "query", "filetype", path});
  while (type && !type->empty() && std::isspace(static_cast<unsigned char>(type->back())))
    type->pop_back();
  if (!type || type->empty())
    return true;
  std::optional<std::string> program = RunAndRead({"xdg-mime", "query", "default", *type});
  return !program || program->find_first_not_of(" \t\n") != std::string::npos;
}

// The program starts in the file's folder, so a relative path would name a file below that.
bool Shell::OpenWithProgram(const std::string &path) const {
  std::string file = path.empty() ? path : std::filesystem::absolute(path).string();
  return hooks_.launch({"xdg-open", file}, ParentFolder(file));
}

void Shell::NotifyAssociationsChanged(RegistryStore &store, const DesktopFileType &type) const {
  RebuildDesktopIntegration(store, type, hooks_.run);
}
#endif

// As the system's file-open test: a folder is no file.
bool Shell::Exists(const std::string &path) const { return PathExists(path) && !IsFolder(path); }

bool Shell::Rename(const std::string &from, const std::string &to) const {
  return RenameWithoutReplacing(from, to);
}

bool Shell::Delete(const std::string &path) const { return DeletePath(path); }

bool Shell::Flush(const FileRef &file) const { return hooks_.flush(file); }

} // namespace reelcraft
