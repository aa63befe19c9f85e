// SPDX-License-Identifier: MIT
#include "store/registry_key.h"

#include <cstring>

namespace reelcraft {

namespace {

std::string ValueName(const char *name) { return name ? name : ""; }

} // namespace

void RegistryKey::Become(std::optional<RegistryKeyId> key, bool readOnly) {
  key_ = key;
  readOnly_ = readOnly;
}

void RegistryKey::Open(RegistryRoot root, const std::string &path, bool create, bool readOnly) {
  Become(store_.OpenKey(RegistryStore::Root(root), path, create), readOnly);
}

void RegistryKey::CreateSubKey(const RegistryKey &parent, const std::string &name, bool readOnly) {
  // Making a key needs write access to its parent; a read-only parent only opens.
  std::optional<RegistryKeyId> key;
  if (parent.key_)
    key = store_.OpenKey(*parent.key_, name, !parent.readOnly_);
  Become(key, readOnly);
}

void RegistryKey::Close() { Become(std::nullopt, false); }

uint32_t RegistryKey::QueryString(const char *name, char *buffer, uint32_t size) const {
  if (!key_ || !buffer)
    return 0;
  std::optional<RegistryValue> value = store_.QueryValue(*key_, ValueName(name));
  if (!value || value->type != REG_SZ)
    return 0;
  std::vector<uint8_t> &bytes = value->data;
  // A string stored without its zero still reaches the caller terminated.
  if (bytes.empty() || bytes.back() != 0)
    bytes.push_back(0);
  if (bytes.size() > size)
    return 0;
  std::memcpy(buffer, bytes.data(), bytes.size());
  return uint32_t(bytes.size());
}

bool RegistryKey::QueryDword(const char *name, uint32_t &value) const {
  if (!key_)
    return false;
  std::optional<RegistryValue> stored = store_.QueryValue(*key_, ValueName(name));
  if (!stored || stored->type != REG_DWORD || stored->data.size() != 4)
    return false;
  const std::vector<uint8_t> &b = stored->data;
  value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

bool RegistryKey::Set(const char *name, const RegistryValue &value) {
  return key_ && !readOnly_ && store_.SetValue(*key_, ValueName(name), value);
}

bool RegistryKey::SetString(const char *name, const std::string &text) {
  RegistryValue value{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return Set(name, value);
}

bool RegistryKey::SetDword(const char *name, uint32_t value) {
  return Set(name,
             {REG_DWORD,
              {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)}});
}

} // namespace reelcraft
