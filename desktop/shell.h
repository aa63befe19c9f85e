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

// Points where tests stand in for the system: starting a program (nobody wants a media
// player opening during a test), running the desktop database tools, renaming (to act out
// a move between file systems), and flushing to disk (to see when it happens).
struct ShellHooks {
  Launcher launch = StartDetached;
  CommandRunner run = RunAndWait;
  RenameFunction rename = SystemRename;
  std::function<bool(const FileRef &file)> flush = FlushToDisk;
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
                    uint32_t flags, CopyObserver &observer) const;
  FileOpResult Move(const std::string &source, const std::string &target, const std::string &title,
                    uint32_t flags, CopyObserver &observer) const;

  // Opens a file with the desktop's default program for its type, from the file's folder;
  // false when that program could not be started.
  bool OpenWithProgram(const std::string &path) const;

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
