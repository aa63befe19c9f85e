// SPDX-License-Identifier: MIT
#include "cli/terminal.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace reelcraft {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the UTF-8 character of two bytes or more that `text` begins with, whose code
// goes to `code`; 0 when it begins with none (an invalid, overlong or surrogate sequence).
size_t MultibyteCharacterLength(std::string_view text, char32_t &code) {
  auto lead = static_cast<unsigned char>(text[0]);
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  if (lead < 0xC2 || lead > 0xF4 || text.size() < length)
    return 0;
  code = lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    auto byte = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(byte))
      return 0;
    code = code << 6 | (byte & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  bool valid = code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
  return valid ? length : 0;
}

// The length of the printable UTF-8 character that `text` begins with; 0 when it begins with
// none (no valid character, or a C1 control).
size_t PrintableCharacterLength(std::string_view text) {
  char32_t code = 0;
  size_t length = MultibyteCharacterLength(text, code);
  return code > 0x9F ? length : 0;
}

} // namespace

#ifdef _WIN32
// A console, not any character device: the runtime's isatty says yes to NUL too.
bool IsTerminal(std::FILE *stream) {
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode);
}

size_t TerminalColumns(std::FILE *stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &info))
    return 0;
  return size_t(info.srWindow.Right - info.srWindow.Left + 1);
}
#else
bool IsTerminal(std::FILE *stream) { return ::isatty(::fileno(stream)) == 1; }

size_t TerminalColumns(std::FILE *stream) {
  struct winsize size = {};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &size) != 0)
    return 0;
  return size.ws_col;
}
#endif

std::string TerminalSafeText(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    auto byte = static_cast<unsigned char>(text[at]);
    size_t length = byte == '\n' || (byte >= 0x20 && byte < 0x7F) ? 1
                    : byte >= 0x80 ? PrintableCharacterLength(text.substr(at))
                                   : 0;
    if (length > 0) {
      safe.append(text.substr(at, length));
      at += length;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", unsigned(byte));
    safe += escaped;
    ++at;
  }
  return safe;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    char32_t code = 0;
    size_t length = static_cast<unsigned char>(text[at]) < 0x80
                        ? 1
                        : MultibyteCharacterLength(text.substr(at), code);
    if (length == 0)
      return false;
    at += length;
  }
  return true;
}

} // namespace reelcraft
