#pragma once

#include "platform/shell.h"

#include <memory>
#include <string>

namespace reelcraft {

// The temporary AVI that a Create run converts into: a name reserved in the temporary folder,
// its extension changed to ".avi". Removed when dropped, unless kept because a message has told
// the user where it is.
class TempAvi {
public:
  // Null when there is no temporary folder or no name to be had.
  static std::unique_ptr<TempAvi> Reserve(const Shell &shell);
  ~TempAvi();
  TempAvi(const TempAvi &) = delete;
  TempAvi &operator=(const TempAvi &) = delete;

  const std::string &path() const { return path_; }
  bool kept() const { return kept_; }
  void Keep() { kept_ = true; }

private:
  TempAvi(const Shell &shell, std::string path) : shell_(shell), path_(std::move(path)) {}

  const Shell &shell_;
  std::string path_;
  bool kept_ = false;
};

} // namespace reelcraft
