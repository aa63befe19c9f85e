// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"

#include <memory>
#include <string>

namespace reelcraft {

// The name of the temporary AVI made from a reserved name: only the extension changes, ".tmp"
// to ".avi".
std::string TempAviName(const std::string &reservedName);

// The temporary AVI that a conversion writes into before it moves to the target: a name
// reserved in the temporary folder, its extension changed to ".avi". Removed when dropped, unless
// kept because a message has told the user where it is.
class TempAvi {
public:
  // Null when there is no temporary folder or no name to be had.
  static std::unique_ptr<TempAvi> Reserve(const Shell &shell);
  ~TempAvi();
  TempAvi(const TempAvi &) = delete;
  TempAvi &operator=(const TempAvi &) = delete;

  const std::string &path() const { return file_.path; }
  // The path with the identity of the file reserved: write and flush it only through this.
  const FileRef &file() const { return file_; }
  bool kept() const { return kept_; }
  void Keep() { kept_ = true; }

private:
  TempAvi(const Shell &shell, FileRef file) : shell_(shell), file_(std::move(file)) {}

  const Shell &shell_;
  FileRef file_;
  bool kept_ = false;
};

} // namespace reelcraft
