// SPDX-License-Identifier: MIT
#include "cli/output_plan.h"

#include "sys/paths.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace reelcraft {

namespace {

namespace fs = std::filesystem;

// Two spellings of one file (a "./", a symbolic link to a folder) give the same key.
std::string SameFileKey(const std::string &path) {
  std::error_code error;
  fs::path absolute = fs::absolute(FsPath(path), error);
  fs::path canonical = fs::weakly_canonical(absolute, error);
  return Utf8Path(error ? absolute.lexically_normal() : canonical);
}

bool IsFolder(const std::string &path) {
  std::error_code error;
  return fs::is_directory(FsPath(path), error);
}

// An entry that exists but is no regular file: a folder, a FIFO, a device, a socket. Reading
// one may block or never end; replacing one takes it from whoever uses it.
bool IsOtherThanRegularFile(const std::string &path) {
  std::error_code error;
  fs::file_status status = fs::status(FsPath(path), error);
  return fs::exists(status) && !fs::is_regular_file(status);
}

std::string OutputInFolder(const std::string &folder, const FoundClip &found) {
  fs::path inFolder = FsPath(folder) / FsPath(found.subfolder.value_or(""));
  return Utf8Path(inFolder / FsPath(DefaultOutputPath(found.clip)).filename());
}

// Why `job` may not run beside the jobs before it, if it may not.
std::string Refusal(const ClipJob &job, const std::set<std::string> &clipKeys,
                    std::map<std::string, std::string> &clipOfOutput) {
  std::string key = SameFileKey(job.output);
  if (std::string tooLong = PathLengthRefusal(job.output); !tooLong.empty())
    return job.output + " " + tooLong + "; skipped";
  if (IsOtherThanRegularFile(job.clip))
    return job.clip + " is not a regular file; skipped";
  if (IsOtherThanRegularFile(job.output))
    return job.output + " exists and is not a regular file; skipped";
  if (clipKeys.count(key))
    return job.output + " is a clip of this run; skipped";
  if (auto [earlier, isNew] = clipOfOutput.emplace(key, job.clip); !isNew)
    return job.output + " is also the output of " + earlier->second + "; skipped";
  return {};
}

bool AnyFromFolder(const std::vector<FoundClip> &clips) {
  return std::any_of(clips.begin(), clips.end(),
                     [](const FoundClip &found) { return found.subfolder.has_value(); });
}

} // namespace

std::string DefaultOutputPath(const std::string &clip) {
  return Utf8Path(FsPath(clip).replace_extension(".avi"));
}

OutputPlan PlanOutputs(const std::vector<FoundClip> &clips, const std::string &outputOption) {
  OutputPlan plan;
  bool intoFolder = !outputOption.empty() && IsFolder(outputOption);
  if (!outputOption.empty() && !intoFolder && AnyFromFolder(clips)) {
    plan.error = "with a folder, -o must name an existing folder: " + outputOption;
    return plan;
  }
  if (clips.size() > 1 && !outputOption.empty() && !intoFolder) {
    plan.error = "with several clips, -o must name an existing folder: " + outputOption;
    return plan;
  }
  std::set<std::string> clipKeys;
  for (const FoundClip &found : clips)
    clipKeys.insert(SameFileKey(found.clip));
  std::map<std::string, std::string> clipOfOutput;
  for (const FoundClip &found : clips) {
    ClipJob job{found.clip, DefaultOutputPath(found.clip), found.refusal};
    if (intoFolder) {
      job.output = OutputInFolder(outputOption, found);
      job.makeFolder = !found.subfolder.value_or("").empty();
    } else if (!outputOption.empty()) {
      job.output = outputOption;
    }
    if (job.refusal.empty())
      job.refusal = Refusal(job, clipKeys, clipOfOutput);
    plan.jobs.push_back(job);
  }
  return plan;
}

} // namespace reelcraft
