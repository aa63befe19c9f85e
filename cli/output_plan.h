// SPDX-License-Identifier: MIT
#pragma once

#include "cli/clip_search.h"

#include <string>
#include <vector>

namespace reelcraft {

// One clip of a run and where its AVI file goes.
struct ClipJob {
  std::string clip;
  std::string output;
  std::string refusal;     // why the clip is skipped; empty when it is to be converted
  bool makeFolder = false; // the output's folder is made when missing
};

struct OutputPlan {
  std::vector<ClipJob> jobs;
  std::string error; // a usage error: nothing is to be done
};

// The clip's path with its extension (if any) replaced by ".avi".
std::string DefaultOutputPath(const std::string &clip);

// Gives each clip its output: beside the clip without `outputOption`; inside it when it names
// an existing folder, in the clip's subfolder (made as needed) for a clip found below a folder
// argument; the path itself for a single clip otherwise. A clip whose output is the
// output of an earlier clip, or one of the run's clips, is refused, so that no conversion of
// the run overwrites the work or the input of another; so is a clip, or an existing output,
// that is no regular file, and an output whose path is too long for the system.
OutputPlan PlanOutputs(const std::vector<FoundClip> &clips, const std::string &outputOption);

} // namespace reelcraft
