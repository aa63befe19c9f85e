// SPDX-License-Identifier: MIT
#include "gui/batch/batch_paths.h"

#include "sys/file_system.h"

namespace reelcraft {

namespace {

std::string UpTo(const std::string &text, size_t end) {
  return end == std::string::npos ? text : text.substr(0, end);
}

} // namespace

std::string WithTrailingSeparator(const std::string &folderText) {
  if (!folderText.empty() && IsPathSeparator(folderText.back()))
    return folderText;
  return folderText + kPathSeparator;
}

std::string TargetPath(const std::string &outputDirectory, const std::string &source) {
  std::string clipName = source.substr(source.find_last_of(kPathSeparators) + 1);
  return outputDirectory + UpTo(clipName, clipName.find('.')) + ".avi";
}

std::string SourceLocationAvi(const std::string &source) {
  // A dot in a folder name is no extension: the name part of an entry always has one.
  size_t slash = source.find_last_of(kPathSeparators);
  size_t dot = source.find_last_of('.');
  if (dot != std::string::npos && slash != std::string::npos && dot < slash)
    dot = std::string::npos;
  return UpTo(source, dot) + ".avi";
}

} // namespace reelcraft
