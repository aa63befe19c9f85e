// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace reelcraft {

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot };

// Value types, numbered as the Windows registry numbers them (whose headers define them where
// they are seen).
#ifndef REG_SZ
constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_DWORD = 4;
#endif

struct RegistryValue {
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

// Names a key of the store for as long as the key exists; a key deleted and made again gets a
// new id, so an id held across a deletion finds nothing.
using RegistryKeyId = int64_t;

// Why the store's file could not be used at the last try.
enum class StoreProblem { None, CannotOpen, Locked, Damaged, NotAStore };

// On Windows the store is the registry itself (HKEY_CLASSES_ROOT standing for the user's own
// classes, HKEY_CURRENT_USER\Software\Classes, and "ProgramFilesDir" for the user's own
// programs folder, %LOCALAPPDATA%\Programs, so that no administrator is needed), or, for a
// `file` given, a private tree of keys named after it below HKEY_CURRENT_USER.
//
// The settings store, with the registry's behaviour: three roots, key paths of names separated
// by '\' (compared without regard to ASCII letter case), typed values, the unnamed default value
// (name "") in every key. Kept in one SQLite file; each operation is one transaction, so several
// running programs may share the file. A file that cannot be opened, is not a store of ours, or
// is damaged (every page is checked when it is opened) makes every operation fail; it is never
// written or replaced.
class RegistryStore {
public:
  explicit RegistryStore(std::string file = DefaultFile());
  ~RegistryStore();
  RegistryStore(const RegistryStore &) = delete;
  RegistryStore &operator=(const RegistryStore &) = delete;

  // $REELCRAFT_REGISTRY, else registry.sqlite in the reelcraft folder of $XDG_CONFIG_HOME.
  static std::string DefaultFile();
  const std::string &file() const { return file_; }
  StoreProblem problem() const { return problem_; }
  // The system's error code (errno) when the file could not be opened; 0 when none was given.
  int systemError() const { return systemError_; }

  static constexpr RegistryKeyId Root(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? 1 : root == RegistryRoot::LocalMachine ? 2 : 3;
  }
  // The key at `path` below `base` ("" is `base` itself); with `create`, missing keys on the
  // way are made. Nothing when the path is malformed, a key is missing or the store failed.
  std::optional<RegistryKeyId> OpenKey(RegistryKeyId base, const std::string &path, bool create);
  // A missing value, or a key that no longer exists, gives nothing. Under HKEY_LOCAL_MACHINE
  // "SOFTWARE\Microsoft\Windows\CurrentVersion", a missing "ProgramFilesDir" reads as the
  // user's data folder ($XDG_DATA_HOME).
  std::optional<RegistryValue> QueryValue(RegistryKeyId key, const std::string &name);
  bool SetValue(RegistryKeyId key, const std::string &name, const RegistryValue &value);
  std::vector<std::string> SubKeyNames(RegistryKeyId key);
  // Deletes one key and its values; fails when it has sub-keys or does not exist.
  bool DeleteKey(RegistryKeyId base, const std::string &path);

private:
  std::string file_;
#ifdef _WIN32
  // The keys opened so far, by id; the store is the system's registry itself there.
  struct OpenKeys;
  std::unique_ptr<OpenKeys> keys_;
#else
  sqlite3 *Connection();

  sqlite3 *db_ = nullptr;
#endif
  StoreProblem problem_ = StoreProblem::None;
  int systemError_ = 0;
};

} // namespace reelcraft
