// SPDX-License-Identifier: MIT
#pragma once

#include "sys/version.h"

#include <cstdint>

namespace reelcraft {

// The two settings, below HKEY_CURRENT_USER.
constexpr const char *kSettingsKey = "SOFTWARE\\Orlancor\\Reelcrafter";
constexpr const char *kVersionSetting = "Version";
constexpr const char *kNeverAskRegisterSetting = "NeverAskRegister";

} // namespace reelcraft
