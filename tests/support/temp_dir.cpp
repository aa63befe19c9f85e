// SPDX-License-Identifier: MIT
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <random>
#include <stdexcept>
#include <system_error>

namespace reelcraft::test {

TempDir::TempDir() {
#ifdef _WIN32
  // No mkdtemp: a new folder of a random name, which no one else's can be.
  std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    auto name = std::filesystem::temp_directory_path() /
                ("reelcraft-test-" + std::to_string(random() % 1000000000));
    if (std::filesystem::create_directory(name))
      path_ = name;
  }
  if (path_.empty())
    throw std::runtime_error("cannot make a temporary folder");
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "reelcraft-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
#endif
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

} // namespace reelcraft::test
