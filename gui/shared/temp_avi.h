// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/temp_files.h"

#include <memory>
#include <string>

namespace reelcraft {

// The temporary AVI that a conversion writes into before it goes to the target: a file of the
// temporary folder without a name where the file system allows it, so that a run that ends in
// any way (kill -9, a crash) leaves nothing; elsewhere under a locked "qvj" name that a later
// run removes if this one could not. Removed when dropped, unless kept because a message tells
// the user where it is.
class TempAvi {
public:
  // Null when there is no temporary folder or no file to be had.
  static std::unique_ptr<TempAvi> Reserve(const Shell &shell);
  TempAvi(const TempAvi &) = delete;
  TempAvi &operator=(const TempAvi &) = delete;

  // Names the file in messages: the temporary folder while it has no name of its own.
  const std::string &path() const { return scratch_.file().path; }
  // The file with its identity (and its descriptor while it has no name): write it only through
  // this.
  const FileRef &file() const { return scratch_.file(); }
  bool kept() const { return scratch_.kept(); }
  // Gives the file a lasting name "qvjXXXX.avi" in the temporary folder, which path() then
  // gives, for a message to tell; false when it could not have one.
  bool Keep() { return scratch_.Keep(".avi"); }

private:
  TempAvi() = default;

  ScratchFile scratch_;
};

} // namespace reelcraft
