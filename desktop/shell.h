// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/desktop_integration.h"
#include "store/registry_store.h"
#include "sys/file_identity.h"
#include "sys/file_operation.h"
#include "sys/process.h"

#include <optional>
#include <string>

namespace reelcraft {

// The desktop has a default program for the file's type (asked of xdg-mime, which xdg-open
// follows); true also when that cannot be told, so that opening is still tried.
bool HasDefaultProgram(const std::string &path);
#ifdef _WIN32
// Opens the file `argv[0]` with the program of its type, from `folder`.
bool OpenWithShell(const std::vector<std::string> &argv, const std::string &folder);
#endif

// Points where tests stand in for the system: starting a program (nobody wants a media
// player opening during a test) and whether there is one, running the desktop database tools,
// renaming (to act out a move between file systems), and flushing to disk (to see when it happens).
struct ShellHooks {
#ifdef _WIN32
  Launcher launch = OpenWithShell;
#else
  Launcher launch = StartDetached;
#endif
  CommandRunner run = RunAndWait;
  RenameFunction rename = SystemRename;
  std::function<bool(const FileRef &file)> flush = FlushToDisk;
  std::function<bool(const std::string &path)> hasProgram = HasDefaultProgram;
};

// The shell and file services that installation and the conversion windows share. No user
// interface of its own: a copy or move shows progress and asks its question through the
// caller's CopyObserver.
class Shell {
public:
  explicit Shell(ShellHooks hooks = {}) : hooks_(std::move(hooks)) {}

  std::optional<std::string> DocumentsFolder() const;
  std::optional<std::string> TempFolder() const;
  // A new empty file "qvj" + up to four hexadecimal digits + ".tmp" in `folder`, with its
  // identity; an empty path on failure.
  FileRef ReserveTempName(const std::string &folder) const;

  FileOpResult Copy(const std::string &source, const std::string &target, const std::string &title,
                    uint32_t flags, CopyObserver &observer, FileOpReport *report = nullptr) const;
  FileOpResult Move(const std::string &source, const std::string &target, const std::string &title,
                    uint32_t flags, CopyObserver &observer, FileOpReport *report = nullptr) const;

  // Opens a file with the desktop's default program for its type, from the file's folder;
  // false when that program could not be started.
  bool OpenWithProgram(const std::string &path) const;
  // The desktop has a default program for the file's type.
  bool HasProgramFor(const std::string &path) const { return hooks_.hasProgram(path); }

  // File associations changed: brings the desktop's view of `type` up to date.
  void NotifyAssociationsChanged(RegistryStore &store, const DesktopFileType &type) const;

  // A file (not a folder) is at `path`.
  bool Exists(const std::string &path) const;
  // Fails when `to` exists already.
  bool Rename(const std::string &from, const std::string &to) const;
  bool Delete(const std::string &path) const;
  // The file and its folder entry are on disk (see FlushToDisk).
  bool Flush(const FileRef &file) const;

private:
  ShellHooks hooks_;
};

} // namespace reelcraft
