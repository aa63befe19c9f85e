// SPDX-License-Identifier: MIT
#include "desktop/clip_delivery.h"

#include "desktop/trash.h"
#include "sys/error_text.h"
#include "sys/file_identity.h"
#include "sys/file_system.h"
#include "sys/translation.h"

#include <cerrno>

namespace reelcraft {

namespace {

// What the AVI of a clip that ended early holds, for the user to weigh.
std::string ShortAviText(const DeliveryOrder &order) {
  if (order.picturesWritten >= order.picturesExpected && order.damagedStretches == 0)
    return FillIn(
        order.removeClip
            ? Translate("ClipDelivery", "%1 was kept: its AVI is a salvage, not the "
                                        "whole clip.")
            : Translate("ClipDelivery", "The AVI of %1 is a salvage, not the whole clip."),
        {order.clip});
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

// Two lines of a note, either of which may be empty.
std::string Joined(const std::string &first, const std::string &second) {
  return first.empty() || second.empty() ? first + second : first + "\n" + second;
}

} // namespace

std::string FailureReason(const FileFailure &failure) {
  if (failure.path.empty() && failure.error == 0)
    return {};
  // No system error: the writer refused the data itself.
  return failure.error == 0
             ? FillIn(Translate("ClipDelivery", "%1 could not be written."), {failure.path})
             : FileErrorText(failure.error, failure.path);
}

std::string ClipKeptText(const std::string &clip) {
  return FillIn(Translate("ClipDelivery", "%1 was kept."), {clip});
}

std::string SalvageQuestion(const std::string &note) {
  return note + "\n" +
         Translate("ClipDelivery",
                   "Look for the pictures after the damage and add them to the AVI? The clip "
                   "is kept either way.");
}

std::string HeaderlessSalvageQuestion() {
  return Translate("ClipDelivery", "Look for the pictures of this clip all the same? The clip is "
                                   "kept either way.");
}

std::string ClipDelivery::FreeName(const std::string &path) const {
  if (!written_.OwnerOf(path))
    return path;
  size_t slash = path.find_last_of(kPathSeparators);
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    dot = path.size();
  std::string stem = path.substr(0, dot), extension = path.substr(dot);
  for (unsigned n = 2;; ++n) {
    std::string name = stem + " (" + std::to_string(n) + ")" + extension;
    if (!written_.OwnerOf(name) && !PathExists(name))
      return name;
  }
}

FileOpResult ClipDelivery::Place(const std::string &from, const std::string &to, bool move,
                                 const std::string &title, uint32_t flags, const std::string &clip,
                                 Delivered &delivered) {
  // The AVI of another clip of this run is never replaced, whatever the flags say.
  if (std::optional<std::string> owner = written_.OwnerOf(to); owner && *owner != clip) {
    delivered.failure = {to, EEXIST};
    return FileOpResult::Failed;
  }
  std::unique_ptr<CopyObserver> window = window_();
  FileOpReport report;
  FileOpResult result = move ? shell_.Move(from, to, title, flags, *window, &report)
                             : shell_.Copy(from, to, title, flags, *window, &report);
  if (result == FileOpResult::Success) {
    written_.Record(to, clip);
    if (std::string warning = AttributesWarning(report); !warning.empty())
      delivered.note = Joined(delivered.note, warning);
  } else {
    delivered.failure = report.failure;
  }
  return result;
}

Delivered ClipDelivery::Deliver(const DeliveryOrder &order) {
  Delivered delivered;
  // A temporary AVI without a name is read through this process's own link to it.
  std::string avi = OpenablePath(order.avi);
  // Nor can it be renamed into place: it leaves with its handle. Its bytes are copied.
  bool move = order.move && order.avi.descriptor < 0;
  delivered.placed =
      Place(avi, order.target, move, Translate("ClipDelivery", "Writing AVI to target location"),
            order.flags, order.clip, delivered);
  if (delivered.placed != FileOpResult::Success) {
    if (order.removeClip)
      delivered.note = ClipKeptText(order.clip);
    return delivered;
  }
  // An AVI that salvage made past damage never takes the clip's place, whatever its count.
  if (!order.whole || order.picturesWritten < order.picturesExpected ||
      order.damagedStretches > 0) {
    delivered.note = Joined(ShortAviText(order), delivered.note);
    return delivered;
  }
  if (!order.removeClip)
    return delivered;
  // Every copy that is to replace the clip is on disk before the clip goes.
  if (!shell_.Flush(FileRef(order.target))) {
    delivered.note = Joined(
        FillIn(Translate("ClipDelivery", "%1 was kept: its AVI could not be written to disk."),
               {order.clip}),
        delivered.note);
    return delivered;
  }
  if (!order.beside.empty() && order.beside != order.target) {
    // The move took the temporary AVI away; the second copy comes from the first.
    const std::string &from = move ? order.target : avi;
    std::string beside = FreeName(order.beside);
    Delivered besideCopy;
    delivered.besidePlaced =
        Place(from, beside, false,
              Translate("ClipDelivery", "Converting original file to AVI in source location"),
              FOF_SIMPLEPROGRESS | FOF_NORECURSION, order.clip, besideCopy);
    if (delivered.besidePlaced != FileOpResult::Success || !shell_.Flush(FileRef(beside))) {
      delivered.note = Joined(ClipKeptText(order.clip), delivered.note);
      return delivered;
    }
  }
  std::string refused = MoveToTrash(order.clip);
  delivered.clipRemoved = refused.empty();
  // A clip that is gone was taken by another hand, such as a second "open" of it: not kept.
  if (!delivered.clipRemoved && !PathExists(order.clip))
    delivered.note =
        Joined(FillIn(Translate("ClipDelivery",
                                "%1 is no longer there: another program has moved it or put it in "
                                "the Trash."),
                      {order.clip}),
               delivered.note);
  else if (!delivered.clipRemoved)
    delivered.note =
        Joined(FillIn(Translate("ClipDelivery", "%1 was kept: no Trash could take it (%2)."),
                      {order.clip, refused}),
               delivered.note);
  return delivered;
}

} // namespace reelcraft
