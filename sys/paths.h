// SPDX-License-Identifier: MIT
#pragma once

#include <climits>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace reelcraft {

// Path buffers hold 260 characters, the terminating zero included.
constexpr size_t kPathBufferSize = 260;

// The longest path, in bytes, that the system's file calls take.
#ifdef _WIN32
constexpr size_t kLongestPath = 32767 - 4 - 1; // wide characters, less the "\\?\" prefix
#else
constexpr size_t kLongestPath = PATH_MAX - 1;
#endif

inline bool FitsPathBuffer(const std::string &path) { return path.size() < kPathBufferSize; }

// std::filesystem's view of one of our UTF-8 paths, and back: a narrow string alone would be
// read in the 8-bit code page on Windows.
inline std::filesystem::path FsPath(const std::string &utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Path(const std::filesystem::path &path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The process's current directory; nullopt when it cannot be read (removed, or too long for a
// path buffer).
std::optional<std::string> CurrentDirectory();

// The running program file's full path, or the errno value of the failure.
struct ProgramPath {
  std::string path;
  int error = 0;
};
ProgramPath RunningProgramPath();

// The user's base folders of the XDG Base Directory rules: the variable when it holds an
// absolute path, else the default below the home folder.
std::string XdgDataHome();   // $XDG_DATA_HOME, default ~/.local/share
std::string XdgConfigHome(); // $XDG_CONFIG_HOME, default ~/.config
// The system's data folders, most important first: the absolute paths in $XDG_DATA_DIRS, or
// /usr/local/share and /usr/share when it names none.
std::vector<std::string> XdgDataDirs();

} // namespace reelcraft
