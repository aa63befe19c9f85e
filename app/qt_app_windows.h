#pragma once

#include "app/converter_app.h"
#include "platform/registry_store.h"

namespace reelcraft {

// The program's real windows.
AppWindows QtAppWindows(RegistryStore &store);

} // namespace reelcraft
