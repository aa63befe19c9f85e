// SPDX-License-Identifier: MIT
#pragma once

#include "sys/message_sink.h"

#include <cstdint>
#include <functional>
#include <string>

namespace reelcraft {

// Flags of a copy or move, valued as the Windows shell's.
constexpr uint32_t FOF_NOCONFIRMATION = 0x10;  // replace an existing file without asking
constexpr uint32_t FOF_SIMPLEPROGRESS = 0x100; // one progress display without file names
constexpr uint32_t FOF_NOCONFIRMMKDIR = 0x200; // create a missing target folder without asking
constexpr uint32_t FOF_NORECURSION = 0x1000;   // files only, never the contents of folders

enum class FileOpResult { Success, Failed, Aborted };

// What a copy or move shows and asks while it runs; the user interface puts a progress window
// with a Cancel button and a Yes/No question behind it, tests script it. Every call comes on
// the caller's thread, in this order:
//   Begin(title, totalBytes)   once, before anything else; open the window here
//   AskReplace(path)           at most once, only when the target exists and the flags lack
//                              FOF_NOCONFIRMATION; true replaces, false ends the operation as
//                              aborted by the user
//   Progress(done, total)      from 0 up to total as the bytes go; false aborts. The window
//                              should handle its pending events here, so that Cancel is seen
//   End()                      once, on every way out; close the window here
// A source that is not a regular file fails before Begin. The defaults show nothing and never
// replace.
class CopyObserver {
public:
  virtual ~CopyObserver() = default;
  virtual void Begin(const std::string &title, uint64_t totalBytes) {
    (void)title, (void)totalBytes;
  }
  virtual bool Progress(uint64_t doneBytes, uint64_t totalBytes) {
    (void)doneBytes, (void)totalBytes;
    return true;
  }
  virtual bool AskReplace(const std::string &path) {
    (void)path;
    return false;
  }
  virtual void End() {}
};

// The question an observer asks (Yes/No, question icon) before `path` is replaced.
std::string ReplaceQuestion(const std::string &path);

// Renames within one file system; gives 0 or the errno value. Replaceable so that tests can
// act out a move between file systems.
using RenameFunction = std::function<int(const std::string &from, const std::string &to)>;
int SystemRename(const std::string &from, const std::string &to);

// Why an operation failed, and what of the source a finished copy could not take along.
struct FileOpReport {
  FileFailure failure;    // a failed operation: the file and the system's reason
  FileFailure attributes; // permission bits or dates that the target refused; error 0: none
};

// The line that tells `report.attributes` (a card without permission bits, a file system that
// takes no date); "" when there was nothing.
std::string AttributesWarning(const FileOpReport &report);

// Copies or moves one file. `target` is the new file's path, or an existing folder to put it
// in under its own name; a missing target folder is created. A copy that fails or is aborted
// leaves the target as it was (the bytes go to a temporary name beside it first), and a move
// removes its source only once the file is whole at the target. The copy takes the source's
// permission bits and dates where the target's file system lets it; that it cannot is no
// failure. With `report`, says why a failure failed and what could not be taken along.
FileOpResult CopyFileWithProgress(const std::string &source, const std::string &target,
                                  const std::string &title, uint32_t flags, CopyObserver &observer,
                                  FileOpReport *report = nullptr);
FileOpResult MoveFileWithProgress(const std::string &source, const std::string &target,
                                  const std::string &title, uint32_t flags, CopyObserver &observer,
                                  const RenameFunction &rename = SystemRename,
                                  FileOpReport *report = nullptr);

} // namespace reelcraft
