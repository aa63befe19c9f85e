// SPDX-License-Identifier: MIT
#include "desktop/clip_delivery.h"

#include "desktop/trash.h"
#include "sys/file_system.h"

namespace reelcraft {

namespace {

constexpr const char *kTargetTitle = "Writing AVI to target location";
constexpr const char *kBesideTitle = "Converting original file to AVI in source location";

std::string PictureCount(const DeliveryOrder &order) {
  return std::to_string(order.picturesWritten) + " of the " +
         std::to_string(order.picturesExpected) + " pictures the clip names";
}

} // namespace

std::string ClipKeptText(const std::string &clip, const std::string &why) {
  return clip + " was kept" + (why.empty() ? "." : ": " + why + ".");
}

std::string ClipDelivery::FreeName(const std::string &path) const {
  if (!written_.contains(path))
    return path;
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    dot = path.size();
  std::string stem = path.substr(0, dot), extension = path.substr(dot);
  for (unsigned n = 2;; ++n) {
    std::string name = stem + " (" + std::to_string(n) + ")" + extension;
    if (!written_.contains(name) && !PathExists(name))
      return name;
  }
}

FileOpResult ClipDelivery::Place(const std::string &from, const std::string &to, bool move,
                                 const char *title, uint32_t flags) {
  std::unique_ptr<CopyObserver> window = window_();
  FileOpResult result = move ? shell_.Move(from, to, title, flags, *window)
                             : shell_.Copy(from, to, title, flags, *window);
  if (result == FileOpResult::Success)
    written_.insert(to);
  return result;
}

Delivered ClipDelivery::Deliver(const DeliveryOrder &order) {
  Delivered delivered;
  delivered.placed = Place(order.avi.path, order.target, order.move, kTargetTitle, order.flags);
  if (delivered.placed != FileOpResult::Success) {
    if (order.removeClip)
      delivered.note = ClipKeptText(order.clip);
    return delivered;
  }
  if (order.picturesWritten < order.picturesExpected) {
    delivered.note = order.removeClip
                         ? ClipKeptText(order.clip, "its AVI holds " + PictureCount(order))
                         : "The AVI of " + order.clip + " holds " + PictureCount(order) + ".";
    return delivered;
  }
  if (!order.removeClip)
    return delivered;
  // Every copy that is to replace the clip is on disk before the clip goes.
  if (!shell_.Flush(FileRef(order.target))) {
    delivered.note = ClipKeptText(order.clip, "its AVI could not be written to disk");
    return delivered;
  }
  if (!order.beside.empty() && order.beside != order.target) {
    // The move took the temporary AVI away; the second copy comes from the first.
    const std::string &from = order.move ? order.target : order.avi.path;
    std::string beside = FreeName(order.beside);
    delivered.besidePlaced =
        Place(from, beside, false, kBesideTitle, FOF_SIMPLEPROGRESS | FOF_NORECURSION);
    if (delivered.besidePlaced != FileOpResult::Success || !shell_.Flush(FileRef(beside))) {
      delivered.note = ClipKeptText(order.clip);
      return delivered;
    }
  }
  std::string refused = MoveToTrash(order.clip);
  delivered.clipRemoved = refused.empty();
  if (!delivered.clipRemoved)
    delivered.note = ClipKeptText(order.clip, "no Trash could take it (" + refused + ")");
  return delivered;
}

} // namespace reelcraft
