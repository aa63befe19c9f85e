// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "sys/file_operation.h"
#include "sys/run_outputs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace reelcraft {

// A converted clip's AVI on its way to the user, and what is to become of the clip.
struct DeliveryOrder {
  std::string clip;
  FileRef avi; // the temporary AVI that the conversion wrote
  std::string target;
  // A move takes the temporary AVI away; a copy leaves it for the next clip of a run. Either asks
  // before it replaces a file unless `flags` hold FOF_NOCONFIRMATION.
  bool move = false;
  uint32_t flags = 0;
  // The clip goes to the Trash once its AVI is whole, in place and on disk; `beside` then names a
  // second copy that takes the clip's place ("" or the target itself: none).
  bool removeClip = false;
  std::string beside;
  // The pictures the AVI holds and those the clip names, and the damaged stretches a salvage
  // passed over to find them.
  uint32_t picturesWritten = 0;
  uint32_t picturesExpected = 0;
  size_t damagedStretches = 0;
  // False for an AVI that is not all of the clip whatever its counts: a salvage left pictures out,
  // guessed the header or found it wrong.
  bool whole = true;
};

struct Delivered {
  FileOpResult placed = FileOpResult::Failed;        // the AVI at its target
  FileOpResult besidePlaced = FileOpResult::Success; // the second copy, where one was due
  bool clipRemoved = false;
  // Why the AVI could not be placed: the file and the system's reason.
  FileFailure failure;
  // What the user is to hear about the clip or its AVI beyond the copy's own outcome: why a clip
  // that was to go stays, that the AVI lacks pictures, or that a copy could not take its
  // original's permissions and date; "" when there is nothing.
  std::string note;
};

// The sentence that tells why a file failed ("Disk full while accessing /media/card/a.avi.");
// "" when nothing failed.
std::string FailureReason(const FileFailure &failure);

// "CLIP was kept.": the clip that was to go stays.
std::string ClipKeptText(const std::string &clip);

// The note on an AVI that ended early, followed by the offer to look for the pictures after
// the damage (a Yes/No question, No the default).
std::string SalvageQuestion(const std::string &note);
// The offer for a clip that does not begin as a clip: its header lost, its pictures perhaps not.
std::string HeaderlessSalvageQuestion();

// Puts converted clips' AVIs in place and removes the clips that the user wants gone, in the
// one order that never loses a clip: copy, flush to disk, and only then the Trash, and only for
// an AVI that holds every picture. One object serves a whole run: an AVI it has put somewhere
// is never replaced by a later one of the same run, even under a name that differs only in
// letter case in a folder that does not tell case apart.
class ClipDelivery {
public:
  using CopyWindow = std::function<std::unique_ptr<CopyObserver>()>;

  ClipDelivery(const Shell &shell, CopyWindow window) : shell_(shell), window_(std::move(window)) {}

  // `path`, unless this run has already put an AVI there: then the first free name of the form
  // "NAME (2).avi", "NAME (3).avi", ...
  std::string FreeName(const std::string &path) const;

  Delivered Deliver(const DeliveryOrder &order);

private:
  FileOpResult Place(const std::string &from, const std::string &to, bool move,
                     const std::string &title, uint32_t flags, const std::string &clip,
                     Delivered &delivered);

  const Shell &shell_;
  CopyWindow window_;
  RunOutputs written_;
};

} // namespace reelcraft
