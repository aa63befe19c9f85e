// SPDX-License-Identifier: MIT
#include "gui/shared/temp_avi.h"

namespace reelcraft {

std::unique_ptr<TempAvi> TempAvi::Reserve(const Shell &shell) {
  std::optional<std::string> folder = shell.TempFolder();
  if (!folder)
    return nullptr;
  std::unique_ptr<TempAvi> avi(new TempAvi);
  // An ordinary file's mode: the copies made of it take it.
  if (!avi->scratch_.Create(*folder, 0666))
    return nullptr;
  return avi;
}

} // namespace reelcraft
