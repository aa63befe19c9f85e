// SPDX-License-Identifier: MIT
#include "tests/gui/settings_probe.h"

#include "app/settings.h"
#include "store/registry_key.h"

namespace reelcraft::test {

bool SettingsProbe::KeyExists() {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettingsKey, false, true);
  return key.IsOpen();
}

std::optional<uint32_t> SettingsProbe::Read(const char *name) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettingsKey, false, true);
  uint32_t value = 0;
  if (!key.QueryDword(name, value))
    return std::nullopt;
  return value;
}

void SettingsProbe::Write(const char *name, uint32_t value) {
  RegistryKey key(store_);
  key.Open(RegistryRoot::CurrentUser, kSettingsKey, true, false);
  key.SetDword(name, value);
}

void SettingsProbe::WriteString(RegistryRoot root, const std::string &path, const char *name,
                                const std::string &text) {
  RegistryKey key(store_);
  key.Open(root, path, true, false);
  key.SetString(name, text);
}

} // namespace reelcraft::test
