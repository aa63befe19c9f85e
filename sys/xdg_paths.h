#pragma once

#include <string>

namespace reelcraft {

// The user's base folders of the XDG Base Directory rules: the variable when it holds an
// absolute path, else the default below the home folder.
std::string XdgDataHome();   // $XDG_DATA_HOME, default ~/.local/share
std::string XdgConfigHome(); // $XDG_CONFIG_HOME, default ~/.config

} // namespace reelcraft
