// SPDX-License-Identifier: MIT
#include "cli/clip_info.h"

#include "cli/json_text.h"
#include "engine/audio_stream.h"
#include "engine/convert_clip.h"

namespace reelcraft {

namespace {

void AddLine(std::string &text, const char *name, uint32_t value, const std::string &note = {}) {
  text += "  ";
  text += name;
  text += ": " + std::to_string(value);
  if (!note.empty())
    text += " (" + note + ")";
  text += '\n';
}

// `frameRate` / 2 without losing the half: "12.5" for 25, "15" for 30.
std::string PictureRateText(uint16_t frameRate) {
  return std::to_string(frameRate / 2) + (frameRate % 2 ? ".5" : "");
}

} // namespace

std::string ClipInfoText(const std::string &path, const ClipHeader &header) {
  std::string text = path + ":\n";
  AddLine(text, "dataOffset", header.dataOffset);
  AddLine(text, "dataSize", header.dataSize);
  AddLine(text, "width", header.width);
  AddLine(text, "height", header.height);
  AddLine(text, "frameCount", header.frameCount);
  AddLine(text, "frameRate", header.frameRate,
          PictureRateText(header.frameRate) + " pictures per second");
  AddLine(text, "spare", header.spare);
  AddLine(text, "audioPresent", header.audioPresent, header.audioPresent ? "sound" : "no sound");
  AddLine(text, "sampleRate", header.sampleRate);
  AddLine(text, "channels", header.channels);
  AddLine(text, "bitsPerSample", header.bitsPerSample);
  if (header.audioPresent) {
    WaveFormatEx format = AudioFormat(header);
    AddLine(text, "blockAlign", format.nBlockAlign);
    AddLine(text, "byteRate", format.nAvgBytesPerSec);
  }
  return text;
}

nlohmann::ordered_json ClipInfoJson(const std::string &path, const ClipHeader &header) {
  nlohmann::ordered_json info = WithPathFields("path", path,
                                               {{"dataOffset", header.dataOffset},
                                                {"dataSize", header.dataSize},
                                                {"width", header.width},
                                                {"height", header.height},
                                                {"frameCount", header.frameCount},
                                                {"frameRate", header.frameRate},
                                                {"spare", header.spare},
                                                {"audioPresent", header.audioPresent},
                                                {"sampleRate", header.sampleRate},
                                                {"channels", header.channels},
                                                {"bitsPerSample", header.bitsPerSample}});
  if (header.audioPresent) {
    WaveFormatEx format = AudioFormat(header);
    info["blockAlign"] = format.nBlockAlign;
    info["byteRate"] = format.nAvgBytesPerSec;
  }
  double picturesPerSecond = header.frameRate / 2.0;
  info["picturesPerSecond"] = picturesPerSecond;
  info["durationSeconds"] = header.frameRate
                                ? nlohmann::ordered_json(header.frameCount / picturesPerSecond)
                                : nlohmann::ordered_json();
  return info;
}

std::string SalvageScanText(const ConversionResult &scan) {
  std::string text;
  AddLine(text, "picturesRecovered", scan.picturesWritten,
          "of " + std::to_string(scan.picturesExpected) + ", by a salvage");
  for (const DamagedStretch &stretch : scan.damaged)
    text += "  damagedStretch: " + std::to_string(stretch.begin) + " to " +
            std::to_string(stretch.end) + "\n";
  AddLine(text, "picturesLeftOut", scan.picturesLeftOut, "damaged");
  AddLine(text, "picturesForeign", scan.picturesForeign, "of another size");
  if (scan.cutShortAt)
    text += "  cutShortAt: " + std::to_string(*scan.cutShortAt) + "\n";
  for (const std::string &field : scan.headerGuessed)
    text += "  headerGuessed: " + field + "\n";
  for (const std::string &disagreement : scan.headerDisagrees)
    text += "  headerDisagrees: " + disagreement + "\n";
  return text;
}

void AddSalvageScan(nlohmann::ordered_json &info, const ConversionResult &scan) {
  info["picturesRecovered"] = scan.picturesWritten;
  nlohmann::ordered_json stretches = nlohmann::ordered_json::array();
  for (const DamagedStretch &stretch : scan.damaged)
    stretches.push_back({{"begin", stretch.begin}, {"end", stretch.end}});
  info["damagedStretches"] = stretches;
  info["picturesLeftOut"] = scan.picturesLeftOut;
  info["picturesForeign"] = scan.picturesForeign;
  info["headerGuessed"] = scan.headerGuessed;
  info["headerDisagrees"] = scan.headerDisagrees;
  info["cutShortAt"] =
      scan.cutShortAt ? nlohmann::ordered_json(*scan.cutShortAt) : nlohmann::ordered_json();
}

ConversionResult ScanClip(const std::string &path, MessageSink &messages,
                          const std::optional<ClipHeader> &like) {
  CancelFlag never{0};
  ConvertOptions options;
  options.like = like;
  options.salvage = options.scanOnly = true;
  return ConvertClip(path, std::string(), nullptr, never, messages, options);
}

} // namespace reelcraft
