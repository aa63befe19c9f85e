// SPDX-License-Identifier: MIT
#include "desktop/clip_delivery.h"

#include "desktop/trash.h"
#include "sys/file_system.h"
#include "sys/translation.h"

namespace reelcraft {

namespace {

// What the AVI of a clip that ended early holds, for the user to weigh.
std::string ShortAviText(const DeliveryOrder &order) {
  std::string text = FillIn(
      order.removeClip
          ? Translate("ClipDelivery",
                      "%1 was kept: its AVI holds %2 of the %3 pictures the clip names.")
          : Translate("ClipDelivery", "The AVI of %1 holds %2 of the %3 pictures the clip names."),
      {order.clip, std::to_string(order.picturesWritten), std::to_string(order.picturesExpected)});
  if (order.damagedStretches > 0)
    text += FillIn(Translate("ClipDelivery", " Damaged stretches passed over: %1."),
                   {std::to_string(order.damagedStretches)});
  return text;
}

} // namespace

std::string ClipKeptText(const std::string &clip) {
  return FillIn(Translate("ClipDelivery", "%1 was kept."), {clip});
}

std::string SalvageQuestion(const std::string &note) {
  return note + "\n" +
         Translate("ClipDelivery",
                   "Look for the pictures after the damage and add them to the AVI? The clip "
                   "is kept either way.");
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
                                 const std::string &title, uint32_t flags) {
  std::unique_ptr<CopyObserver> window = window_();
  FileOpResult result = move ? shell_.Move(from, to, title, flags, *window)
                             : shell_.Copy(from, to, title, flags, *window);
  if (result == FileOpResult::Success)
    written_.insert(to);
  return result;
}

Delivered ClipDelivery::Deliver(const DeliveryOrder &order) {
  Delivered delivered;
  delivered.placed =
      Place(order.avi.path, order.target, order.move,
            Translate("ClipDelivery", "Writing AVI to target location"), order.flags);
  if (delivered.placed != FileOpResult::Success) {
    if (order.removeClip)
      delivered.note = ClipKeptText(order.clip);
    return delivered;
  }
  // An AVI that salvage made past damage never takes the clip's place, whatever its count.
  if (order.picturesWritten < order.picturesExpected || order.damagedStretches > 0) {
    delivered.note = ShortAviText(order);
    return delivered;
  }
  if (!order.removeClip)
    return delivered;
  // Every copy that is to replace the clip is on disk before the clip goes.
  if (!shell_.Flush(FileRef(order.target))) {
    delivered.note =
        FillIn(Translate("ClipDelivery", "%1 was kept: its AVI could not be written to disk."),
               {order.clip});
    return delivered;
  }
  if (!order.beside.empty() && order.beside != order.target) {
    // The move took the temporary AVI away; the second copy comes from the first.
    const std::string &from = order.move ? order.target : order.avi.path;
    std::string beside = FreeName(order.beside);
    delivered.besidePlaced =
        Place(from, beside, false,
              Translate("ClipDelivery", "Converting original file to AVI in source location"),
              FOF_SIMPLEPROGRESS | FOF_NORECURSION);
    if (delivered.besidePlaced != FileOpResult::Success || !shell_.Flush(FileRef(beside))) {
      delivered.note = ClipKeptText(order.clip);
      return delivered;
    }
  }
  std::string refused = MoveToTrash(order.clip);
  delivered.clipRemoved = refused.empty();
  if (!delivered.clipRemoved)
    delivered.note = FillIn(Translate("ClipDelivery", "%1 was kept: no Trash could take it (%2)."),
                            {order.clip, refused});
  return delivered;
}

} // namespace reelcraft
