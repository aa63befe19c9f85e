// SPDX-License-Identifier: MIT
#pragma once

#include "app/converter_app.h"
#include "desktop/shell.h"
#include "store/registry_store.h"
#include "sys/message_sink.h"

namespace reelcraft {

// The program's real windows.
AppWindows ProgramWindows(RegistryStore &store, MessageSink &messages, const Shell &shell);

} // namespace reelcraft
