// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace reelcraft::test {

// The variable that names the system's temporary folder.
#ifdef _WIN32
inline constexpr char kTempFolderVariable[] = "TMP";
#else
inline constexpr char kTempFolderVariable[] = "TMPDIR";
#endif

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnvironment {
public:
  // std::nullopt removes the variable for the life of the object.
  ScopedEnvironment(std::string name, const std::optional<std::string> &value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment &) = delete;
  ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

private:
  std::string name_;
  std::optional<std::string> previous_;
};

} // namespace reelcraft::test
