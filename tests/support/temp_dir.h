// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace reelcraft::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::filesystem::path &path() const { return path_; }
  // With the system's own separators, as the program gives its paths.
  std::string operator/(const std::string &name) const {
    return (path_ / name).make_preferred().string();
  }

private:
  std::filesystem::path path_;
};

} // namespace reelcraft::test
