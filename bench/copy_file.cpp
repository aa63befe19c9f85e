// SPDX-License-Identifier: MIT
// Copies one file as the windows copy a finished AVI to its target, with the same progress
// reports, so that bench/run_bench.sh can time it against cp:
//   copy_file SOURCE TARGET
#include "sys/file_operation.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: %s SOURCE TARGET\n", argv[0]);
    return 2;
  }
  reelcraft::CopyObserver observer;
  auto result = reelcraft::CopyFileWithProgress(argv[1], argv[2], "Copying...",
                                                reelcraft::FOF_NOCONFIRMATION, observer);
  return result == reelcraft::FileOpResult::Success ? 0 : 1;
}
