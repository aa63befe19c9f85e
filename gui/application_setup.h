// SPDX-License-Identifier: MIT
#pragma once

namespace reelcraft {

// What each program with windows sets up once its application object exists: the name by which
// the desktop matches its windows to the desktop entry, the icon, and the translations for the
// user's language.
void SetUpApplication();

} // namespace reelcraft
