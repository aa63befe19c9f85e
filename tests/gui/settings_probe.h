// SPDX-License-Identifier: MIT
#pragma once

#include "store/registry_store.h"

#include <cstdint>
#include <optional>
#include <string>

namespace reelcraft::test {

// Reads and writes the program's settings straight in a store file, the way a later start of
// the program would find them.
class SettingsProbe {
public:
  explicit SettingsProbe(const std::string &file) : store_(file) {}

  bool KeyExists();
  // Nothing when the value is missing or is not a 4-byte number.
  std::optional<uint32_t> Read(const char *name);
  void Write(const char *name, uint32_t value);
  void WriteString(RegistryRoot root, const std::string &key, const char *name,
                   const std::string &text);

private:
  RegistryStore store_;
};

} // namespace reelcraft::test
