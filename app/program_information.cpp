// SPDX-License-Identifier: MIT
#include "app/program_information.h"

#include "sys/version.h"

namespace reelcraft {

namespace {

constexpr const char *kHelp =
    "Usage: reelcraft [CLIP [/c | /ct | TARGET] | /r | /u]\n"
    "\n"
    "Converts QVJ camera clips (.qvj) into AVI files, in a window.\n"
    "\n"
    "  reelcraft              the batch window: converts the clips of a folder\n"
    "  reelcraft CLIP         converts the clip into an AVI file beside it, then deletes the\n"
    "                         clip (the file manager's \"open\")\n"
    "  reelcraft CLIP /c      converts the clip into the documents folder\n"
    "  reelcraft CLIP /ct     converts the clip into a folder chosen first (\"Create AVI\")\n"
    "  reelcraft CLIP TARGET  converts the clip into the AVI file TARGET\n"
    "  reelcraft /r           offers the registration again\n"
    "  reelcraft /u           removes the registration\n"
    "  reelcraft --help       shows this text\n"
    "  reelcraft --version    shows the version\n"
    "\n"
    "The windows need a display; qvj2avi converts clips without one (qvj2avi --help).\n";

} // namespace

std::optional<std::string>
ProgramInformation(const CommandLineArguments &arguments,
                   const std::function<bool(const std::string &)> &fileExists) {
  const std::string &first = arguments.first;
  if ((first != "--help" && first != "--version") || !arguments.second.empty() || fileExists(first))
    return std::nullopt;
  if (first == "--help")
    return kHelp;
  return std::string("reelcraft ") + kVersionName + "\n";
}

std::string NoDisplayText() {
  return "reelcraft: no display to open the windows on; qvj2avi converts clips without one "
         "(qvj2avi --help)\n";
}

} // namespace reelcraft
