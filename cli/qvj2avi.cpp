// qvj2avi: converts a .qvj clip into an AVI file from the command line.
#include "cli/cli_options.h"
#include "cli/clip_to_avi.h"
#include "platform/console_messages.h"
#include "platform/interrupt_signal.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv) {
  using namespace reelcraft;
  std::string program = "qvj2avi";
  CliParse parse = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parse.options) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(), parse.error.c_str(),
                 program.c_str());
    return kExitUsage;
  }
  const CliOptions &options = *parse.options;
  if (options.help) {
    std::fputs(UsageText(program).c_str(), stdout);
    return kExitConverted;
  }
  std::string output = options.output.empty() ? DefaultOutputPath(options.clip) : options.output;
  ConsoleMessages messages(options.clip);
  static CancelFlag cancelFlag{0};
  RaiseFlagOnInterrupt(cancelFlag);
  return ConvertClipToAvi(options.clip, output, options.force, cancelFlag, messages);
}
