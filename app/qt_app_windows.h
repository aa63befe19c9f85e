#pragma once

#include "app/converter_app.h"
#include "platform/message_sink.h"
#include "platform/registry_store.h"
#include "platform/shell.h"

namespace reelcraft {

// The program's real windows.
AppWindows QtAppWindows(RegistryStore &store, MessageSink &messages, const Shell &shell);

} // namespace reelcraft
