// SPDX-License-Identifier: MIT
#include "app/system_installation.h"

#include "app/association.h"
#include "desktop/mimeapps_list.h"
#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/translation.h"
#include "sys/version.h"

#include <cstdlib>
#include <memory>

namespace reelcraft {

namespace {

std::optional<std::string> Canonical(const std::string &path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
  if (!resolved)
    return std::nullopt;
  return std::string(resolved.get());
}

std::string EntryId() { return std::string(kApplicationId) + ".desktop"; }

std::string ClipMimeType() { return ClipDesktopType().mimeType; }

} // namespace

std::optional<std::string> SystemDataFolderOf(const std::string &program) {
  std::optional<std::string> data =
      Canonical(ParentFolder(program) + "/" + REELCRAFT_DATA_FROM_PROGRAM);
  if (!data || !PathExists(*data + "/applications/" + EntryId()) ||
      !PathExists(*data + "/mime/packages/" + kClipTypePrefix + ".xml"))
    return std::nullopt;
  for (const std::string &folder : XdgDataDirs())
    if (Canonical(folder) == data)
      return data;
  return std::nullopt;
}

bool RegisterProgram(const InstallContext &context) {
  ProgramPath running = context.runningProgram();
  if (running.path.empty() || !SystemDataFolderOf(running.path))
    return InstallProgram(context);
  if (UpdateUserDefaultApplication(ClipMimeType(), EntryId(), true))
    return true;
  context.messages.Show(
      Translate("Installation", "Failed to make this application the default for QVJ files."));
  return false;
}

bool UnregisterProgram(const InstallContext &context) {
  RemoveRegistration(context);
  UpdateUserDefaultApplication(ClipMimeType(), EntryId(), false);
  return true;
}

} // namespace reelcraft
