// SPDX-License-Identifier: MIT
#pragma once

#include "store/registry_store.h"

#include <cstdint>
#include <optional>
#include <string>

namespace reelcraft {

// One open key of the settings store, or none. Reads of a key that is not open give 0 (or
// failure) and writes fail, silently; the key is closed when the object goes. A value name of
// nullptr (or "") is the key's default value.
class RegistryKey {
public:
  explicit RegistryKey(RegistryStore &store) : store_(store) {}
  ~RegistryKey() = default;
  RegistryKey(const RegistryKey &) = delete;
  RegistryKey &operator=(const RegistryKey &) = delete;

  // Opens `path` below `root`; with `create`, makes it first if it is missing. A read-only key
  // refuses writes.
  void Open(RegistryRoot root, const std::string &path, bool create, bool readOnly);
  // Creates or opens `name` below the open key `parent`; not open when `parent` is not.
  void CreateSubKey(const RegistryKey &parent, const std::string &name, bool readOnly);
  void Close();
  bool IsOpen() const { return key_.has_value(); }

  // Copies a string value, terminating zero included, into `buffer`; gives the bytes copied,
  // or 0 when the value is missing, not a string, or longer than `size`.
  uint32_t QueryString(const char *name, char *buffer, uint32_t size) const;
  // Fills `value` only from a 4-byte number.
  bool QueryDword(const char *name, uint32_t &value) const;
  bool SetString(const char *name, const std::string &text);
  bool SetDword(const char *name, uint32_t value);

private:
  void Become(std::optional<RegistryKeyId> key, bool readOnly);
  bool Set(const char *name, const RegistryValue &value);

  RegistryStore &store_;
  std::optional<RegistryKeyId> key_;
  bool readOnly_ = false;
};

} // namespace reelcraft
