// SPDX-License-Identifier: MIT
#include "sys/text_files.h"

#include "sys/file_system.h"
#include "sys/raw_file.h"
#include "sys/temp_files.h"

#include <fstream>
#include <iterator>

namespace reelcraft {

bool WriteFileReplacing(const std::string &path, const std::string &text) {
  CreateFolders(ParentFolder(path));
  StagedFile staged;
  RawOutputFile out;
  return staged.Reserve(path) && out.Create(staged.temporaryFile()) &&
         out.Write(text.data(), text.size()) && out.Close() && staged.Commit(true);
}

std::string ReadFileText(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace reelcraft
