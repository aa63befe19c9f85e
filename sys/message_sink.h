// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace reelcraft {

// Yes and No with Yes the default, or with No the default where Yes would do something the
// user should choose on purpose.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
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
};

} // namespace reelcraft
