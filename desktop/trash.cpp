// SPDX-License-Identifier: MIT
#include "desktop/trash.h"

#include <gio/gio.h>

#include <memory>

namespace reelcraft {

std::string MoveToTrash(const std::string &path) {
  std::unique_ptr<GFile, decltype(&g_object_unref)> file(g_file_new_for_path(path.c_str()),
                                                         g_object_unref);
  GError *error = nullptr;
  if (g_file_trash(file.get(), nullptr, &error))
    return {};
  std::string reason = error && error->message && *error->message ? error->message : "unknown";
  g_clear_error(&error);
  return reason;
}

} // namespace reelcraft
