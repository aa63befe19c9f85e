// SPDX-License-Identifier: MIT
#include "gui/shared/play_media.h"

#include "sys/translation.h"

namespace reelcraft {

void PlayMediaFile(const Shell &shell, MessageSink &messages, const std::string &path) {
  if (!shell.HasProgramFor(path))
    messages.Show(Translate("PlayMedia", "Could not play media file.") + "\n" +
                  Translate("PlayMedia", "No program is set up to play AVI files."));
  else if (!shell.OpenWithProgram(path))
    messages.Show(Translate("PlayMedia", "Could not play media file."));
}

} // namespace reelcraft
