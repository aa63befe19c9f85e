// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include "sys/file_system.h"

namespace reelcraft {

namespace {

std::string WithoutExtension(const std::string &fileName) {
  size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

// Cutting at the last '.' of the whole path would cut inside a folder name when the clip's
// own name has no extension; only the file name's extension is replaced.
std::string BesideSource(const std::string &sourcePath) {
  std::string fileName = FileName(sourcePath);
  std::string folderPart = sourcePath.substr(0, sourcePath.size() - fileName.size());
  return folderPart + WithoutExtension(fileName) + ".avi";
}

} // namespace

CommandLineArguments ArgumentsOf(int argc, const char *const *argv) {
  CommandLineArguments arguments;
  if (argc > 1)
    arguments.first = argv[1];
  if (argc > 2)
    arguments.second = argv[2];
  return arguments;
}

Mode ClassifyMode(bool valid, const std::string &firstArgument) {
  if (!valid)
    return Mode::Invalid;
  if (firstArgument.empty())
    return Mode::Batch;
  if (firstArgument == "/r")
    return Mode::ReRegister;
  if (firstArgument == "/u")
    return Mode::Remove;
  return Mode::SingleClip;
}

SingleClipRequest MakeSingleClipRequest(const std::string &firstArgument,
                                        const std::string &secondArgument,
                                        const DocumentsFolderQuery &documentsFolder) {
  SingleClipRequest request;
  request.sourcePath = firstArgument;
  if (secondArgument == "/c" || secondArgument == "/ct") {
    std::optional<std::string> folder = documentsFolder();
    request.askFolder = secondArgument == "/ct" || !folder;
    std::string targetFolder = folder ? *folder : secondArgument;
    while (!targetFolder.empty() &&
           (targetFolder.back() == '/' || targetFolder.back() == kPathSeparator))
      targetFolder.pop_back();
    request.targetPath =
        targetFolder + kPathSeparator + WithoutExtension(FileName(firstArgument)) + ".avi";
  } else if (!secondArgument.empty()) {
    request.targetPath = secondArgument;
  } else {
    request.targetPath = BesideSource(firstArgument);
    request.deleteSource = true;
  }
  return request;
}

} // namespace reelcraft
