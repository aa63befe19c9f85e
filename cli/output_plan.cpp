#include "cli/output_plan.h"

#include "cli/cli_options.h"

#include <filesystem>
#include <map>
#include <set>

namespace reelcraft {

namespace {

namespace fs = std::filesystem;

// Two spellings of one file (a "./", a symbolic link to a folder) give the same key.
std::string SameFileKey(const std::string &path) {
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  fs::path canonical = fs::weakly_canonical(absolute, error);
  return error ? absolute.lexically_normal().string() : canonical.string();
}

bool IsFolder(const std::string &path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// An entry that exists but is no regular file: a folder, a FIFO, a device, a socket. Reading
// one may block or never end; replacing one takes it from whoever uses it.
bool IsOtherThanRegularFile(const std::string &path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  return fs::exists(status) && !fs::is_regular_file(status);
}

std::string OutputInFolder(const std::string &folder, const std::string &clip) {
  return (fs::path(folder) / fs::path(DefaultOutputPath(clip)).filename()).string();
}

} // namespace

OutputPlan PlanOutputs(const std::vector<std::string> &clips, const std::string &outputOption) {
  OutputPlan plan;
  bool intoFolder = !outputOption.empty() && IsFolder(outputOption);
  if (clips.size() > 1 && !outputOption.empty() && !intoFolder) {
    plan.error = "with several clips, -o must name an existing folder: " + outputOption;
    return plan;
  }
  std::set<std::string> clipKeys;
  for (const std::string &clip : clips)
    clipKeys.insert(SameFileKey(clip));
  std::map<std::string, std::string> clipOfOutput;
  for (const std::string &clip : clips) {
    ClipJob job{clip, DefaultOutputPath(clip), {}};
    if (intoFolder)
      job.output = OutputInFolder(outputOption, clip);
    else if (!outputOption.empty())
      job.output = outputOption;
    std::string key = SameFileKey(job.output);
    if (IsOtherThanRegularFile(clip))
      job.refusal = clip + " is not a regular file; skipped";
    else if (IsOtherThanRegularFile(job.output))
      job.refusal = job.output + " exists and is not a regular file; skipped";
    else if (clipKeys.count(key))
      job.refusal = job.output + " is a clip of this run; skipped";
    else if (auto [earlier, isNew] = clipOfOutput.emplace(key, clip); !isNew)
      job.refusal = job.output + " is also the output of " + earlier->second + "; skipped";
    plan.jobs.push_back(job);
  }
  return plan;
}

} // namespace reelcraft
