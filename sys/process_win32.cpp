// SPDX-License-Identifier: MIT
#include "sys/process.h"

#include "sys/win32_handle.h"
#include "sys/win32_text.h"

#include <windows.h>

namespace reelcraft {

namespace {

// One argument as the C runtime's parser of a command line reads it back: in quotes when it
// needs them, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring &argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
    return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

std::wstring CommandLine(const std::vector<std::string> &argv) {
  std::wstring line;
  for (const std::string &argument : argv)
    line += (line.empty() ? L"" : L" ") + Quoted(WideText(argument));
  return line;
}

// Starts `argv` with `output` as its standard output (none: the parent's); gives the process,
// or an empty handle when it could not be started. The program is looked up on PATH.
OwnedHandle Start(const std::vector<std::string> &argv, HANDLE output, DWORD flags,
                  const std::string &folder = {}) {
  if (argv.empty())
    return OwnedHandle();
  std::wstring line = CommandLine(argv);
  std::wstring where = WideText(folder);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (output) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  }
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, flags, nullptr,
                      where.empty() ? nullptr : where.c_str(), &startup, &process))
    return OwnedHandle();
  CloseHandle(process.hThread);
  return OwnedHandle(process.hProcess);
}

int ExitStatus(const OwnedHandle &process) {
  DWORD status = 0;
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &status))
    return -1;
  return int(status);
}

} // namespace

bool StartDetached(const std::vector<std::string> &argv, const std::string &folder) {
  // A working folder that cannot be entered should not stop the program.
  OwnedHandle process = Start(argv, nullptr, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, folder);
  if (!process && !folder.empty())
    process = Start(argv, nullptr, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP);
  return bool(process);
}

int RunAndWait(const std::vector<std::string> &argv) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  OwnedHandle discard(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherited, OPEN_EXISTING, 0, nullptr));
  OwnedHandle process = Start(argv, discard.get(), 0);
  return process ? ExitStatus(process) : -1;
}

std::optional<std::string> RunAndRead(const std::vector<std::string> &argv) {
  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0))
    return std::nullopt;
  OwnedHandle reading(readEnd), writing(writeEnd);
  // Only the child's end is inherited.
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  OwnedHandle process = Start(argv, writeEnd, 0);
  writing.Reset();
  if (!process)
    return std::nullopt;
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  if (ExitStatus(process) != 0)
    return std::nullopt;
  return text;
}

} // namespace reelcraft
