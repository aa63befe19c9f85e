// SPDX-License-Identifier: MIT
#pragma once

#include "gui/translations.h"

namespace reelcraft {

// What each program with windows sets up once its application object exists, for as long as it
// lives: the name by which the desktop matches its windows to the desktop entry, the icon, and
// the translations for the user's language.
class ApplicationSetup {
public:
  ApplicationSetup();

private:
  Translations translations_;
};

} // namespace reelcraft
