#pragma once

#include <cstdint>

namespace reelcraft {

// The program's version stamp: major version in bits 8 to 15, minor in bits 0 to 7.
constexpr uint32_t kVersionStamp = 0x105; // 1-05

// The two settings, below HKEY_CURRENT_USER.
constexpr const char *kSettingsKey = "SOFTWARE\\Orlancor\\Reelcrafter";
constexpr const char *kVersionSetting = "Version";
constexpr const char *kNeverAskRegisterSetting = "NeverAskRegister";

} // namespace reelcraft
