// SPDX-License-Identifier: MIT
#include "gui/shared/temp_avi.h"

#include <vector>

namespace reelcraft {

namespace {

// Reserved names whose ".avi" twin was taken; held until a free one is found, so that the
// same number does not come back.
class HeldNames {
public:
  explicit HeldNames(const Shell &shell) : shell_(shell) {}
  ~HeldNames() {
    for (const std::string &name : names_)
      shell_.Delete(name);
  }
  HeldNames(const HeldNames &) = delete;
  HeldNames &operator=(const HeldNames &) = delete;
  void Hold(std::string name) { names_.push_back(std::move(name)); }

private:
  const Shell &shell_;
  std::vector<std::string> names_;
};

constexpr int kReserveTries = 16;

} // namespace

std::string TempAviName(const std::string &reservedName) {
  const std::string tmp = ".tmp";
  if (reservedName.size() >= tmp.size() &&
      reservedName.compare(reservedName.size() - tmp.size(), tmp.size(), tmp) == 0)
    return reservedName.substr(0, reservedName.size() - tmp.size()) + ".avi";
  return reservedName + ".avi";
}

// An earlier run may have kept a temporary AVI under the name that the reserved name now
// turns into; that file is the user's only copy, so another name is taken instead.
std::unique_ptr<TempAvi> TempAvi::Reserve(const Shell &shell) {
  std::optional<std::string> folder = shell.TempFolder();
  if (!folder)
    return nullptr;
  HeldNames held(shell);
  for (int tries = 0; tries < kReserveTries; ++tries) {
    FileRef reserved = shell.ReserveTempName(*folder);
    if (reserved.path.empty())
      return nullptr;
    // A rename keeps the file, so the AVI is known by the reserved file's identity.
    FileRef avi(TempAviName(reserved.path), reserved.identity);
    if (shell.Rename(reserved.path, avi.path))
      return std::unique_ptr<TempAvi>(new TempAvi(shell, avi));
    held.Hold(reserved.path);
  }
  return nullptr;
}

TempAvi::~TempAvi() {
  if (!kept_)
    shell_.Delete(file_.path);
}

} // namespace reelcraft
