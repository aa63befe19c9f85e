// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace reelcraft {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Exclamation, Question };
enum class MessageAnswer { Ok, Yes, No };

// A file or folder that failed, and the system's error code (errno) that says why.
struct FileFailure {
  std::string path;
  int error = 0;
};

// Message boxes. A box that names no icon of its own gets the exclamation icon.
class MessageSink {
public:
  virtual ~MessageSink() = default;
  virtual MessageAnswer Show(const std::string &text, MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::Exclamation) = 0;
  // The place and the system's reason of a failure that the shown messages do not name (a full
  // disk, a missing temporary folder). Boxes keep to their own texts and let it pass; a console
  // can add it to what it says.
  virtual void NoteFailure(const FileFailure &failure) { (void)failure; }
};

} // namespace reelcraft
