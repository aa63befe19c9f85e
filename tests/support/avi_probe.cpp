// SPDX-License-Identifier: MIT
#include "tests/support/avi_probe.h"

#include "tests/support/md5.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tools.h"

#include <sstream>

namespace reelcraft::test {

namespace {

std::string Unquote(const std::string &value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

int ToInt(const std::string &text) { return text.empty() ? 0 : std::atoi(text.c_str()); }

ProbedStream StreamFromFields(const std::map<std::string, std::string> &fields,
                              const std::string &prefix) {
  auto get = [&](const std::string &key) {
    auto found = fields.find(prefix + key);
    return found == fields.end() ? std::string() : found->second;
  };
  ProbedStream stream;
  stream.codecType = get("codec_type");
  stream.codecName = get("codec_name");
  stream.rFrameRate = get("r_frame_rate");
  stream.timeBase = get("time_base");
  stream.width = ToInt(get("width"));
  stream.height = ToInt(get("height"));
  stream.packets = std::atoll(get("nb_read_packets").c_str());
  stream.sampleRate = ToInt(get("sample_rate"));
  stream.channels = ToInt(get("channels"));
  stream.bitsPerSample = ToInt(get("bits_per_sample"));
  return stream;
}

} // namespace

ProbedFile ProbeFile(const std::string &path) {
  CommandResult result = RunCommand(ToolCommand(Tool::Ffprobe) +
                                    " -v error -count_packets -show_streams -show_format "
                                    "-of flat " +
                                    ShellQuote(path) + " 2>&1");
  ProbedFile probed;
  std::istringstream lines(result.output);
  std::string line;
  bool complaint = false;
  while (std::getline(lines, line)) {
    auto equals = line.find('=');
    if (equals == std::string::npos) {
      complaint = true;
      continue;
    }
    probed.fields[line.substr(0, equals)] = Unquote(line.substr(equals + 1));
  }
  probed.ok = result.status == 0 && !complaint;
  probed.formatName = probed.fields["format.format_name"];
  for (int i = 0; probed.fields.count("streams.stream." + std::to_string(i) + ".index"); ++i)
    probed.streams.push_back(
        StreamFromFields(probed.fields, "streams.stream." + std::to_string(i) + "."));
  return probed;
}

std::vector<std::string> PacketMd5s(const std::string &path, const std::string &map) {
  CommandResult result = RunCommand(ToolCommand(Tool::Ffmpeg) + " -nostdin -v error -i " +
                                    ShellQuote(path) + " -map " + map + " -c copy -f framemd5 -");
  std::vector<std::string> md5s;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    auto comma = line.rfind(',');
    if (line.empty() || line[0] == '#' || comma == std::string::npos)
      continue;
    auto start = line.find_first_not_of(' ', comma + 1);
    md5s.push_back(line.substr(start));
  }
  return md5s;
}

std::vector<std::string> Md5Hexes(const std::vector<Bytes> &packets) {
  std::vector<std::string> md5s;
  for (const Bytes &packet : packets)
    md5s.push_back(Md5Hex(packet));
  return md5s;
}

Bytes StreamBytes(const std::string &path, const std::string &map) {
  TempDir dir;
  std::string out = dir / "stream.bin";
  RunCommand(ToolCommand(Tool::Ffmpeg) + " -nostdin -v error -i " + ShellQuote(path) + " -map " +
             map + " -c copy -f data " + ShellQuote(out));
  return ReadFileBytes(out);
}

std::string DecodeErrors(const std::string &path) {
  return RunCommand(ToolCommand(Tool::Ffmpeg) + " -nostdin -v error -i " + ShellQuote(path) +
                    " -f null - 2>&1")
      .output;
}

} // namespace reelcraft::test
