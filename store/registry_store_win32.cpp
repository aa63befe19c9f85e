// SPDX-License-Identifier: MIT
#include "store/registry_store.h"

#include "sys/paths.h"
#include "sys/win32_text.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <windows.h>

namespace reelcraft {

namespace {

constexpr size_t kMaxKeyNameLength = 255;
const wchar_t kPrivateStores[] = L"Software\\Orlancor\\Reelcrafter stores";
const char *const kCurrentVersionPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](wchar_t c) { return wchar_t(std::towlower(c)); });
  return text;
}

// The registry takes "a\\b" and "a\" as paths of its own; ours are names separated by single
// '\', each of 1 to 255 characters.
bool IsWellFormed(const std::string &path) {
  size_t start = 0;
  while (!path.empty()) {
    size_t end = path.find('\\', start);
    size_t length = (end == std::string::npos ? path.size() : end) - start;
    if (length == 0 || length > kMaxKeyNameLength)
      return false;
    if (end == std::string::npos)
      return true;
    start = end + 1;
  }
  return true;
}

bool StillThere(HKEY key) {
  return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

} // namespace

struct RegistryStore::OpenKeys {
  struct Open {
    HKEY key;
    std::wstring path; // from the root's id, in lower case: one key, one path
  };
  std::map<RegistryKeyId, Open> byId;
  std::map<std::wstring, RegistryKeyId> byPath;
  RegistryKeyId next = 4;
  // The roots' own handles that the store opened: the user's classes, or the private tree.
  std::vector<HKEY> roots;

  ~OpenKeys() {
    for (auto &[id, open] : byId)
      if (id > 3)
        RegCloseKey(open.key);
    for (HKEY root : roots)
      RegCloseKey(root);
  }

  const Open *Find(RegistryKeyId id) const {
    auto found = byId.find(id);
    return found == byId.end() ? nullptr : &found->second;
  }

  // Keeps `key`, opened at `path`, under the id it had, unless that key has gone since.
  RegistryKeyId Remember(HKEY key, const std::wstring &path) {
    if (auto known = byPath.find(path); known != byPath.end()) {
      Open &open = byId[known->second];
      if (StillThere(open.key)) {
        RegCloseKey(key);
        return known->second;
      }
      // Deleted since, and perhaps made again: a new key, a new id.
      RegCloseKey(open.key);
      byId.erase(known->second);
      byPath.erase(known);
    }
    RegistryKeyId id = next++;
    byId[id] = {key, path};
    byPath[path] = id;
    return id;
  }
};

std::string RegistryStore::DefaultFile() {
  // REELCRAFT_REGISTRY keeps a run of the program to keys of its own, as elsewhere.
  const wchar_t *file = _wgetenv(L"REELCRAFT_REGISTRY");
  return file && *file ? Utf8Text(file) : std::string();
}

RegistryStore::RegistryStore(std::string file)
    : file_(std::move(file)), keys_(std::make_unique<OpenKeys>()) {
  HKEY roots[3] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, nullptr};
  auto create = [this](HKEY parent, const std::wstring &path, HKEY &made) {
    LSTATUS status = RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &made, nullptr);
    if (status == ERROR_SUCCESS)
      keys_->roots.push_back(made);
    return status;
  };
  LSTATUS status;
  if (file_.empty()) {
    status = create(HKEY_CURRENT_USER, L"Software\\Classes", roots[2]);
  } else {
    // A key's name holds no '\': the file's path is named with '/' instead.
    std::wstring name = WideText(file_);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    HKEY base = nullptr;
    status = create(HKEY_CURRENT_USER, std::wstring(kPrivateStores) + L"\\" + name, base);
    const wchar_t *names[3] = {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CLASSES_ROOT"};
    for (int i = 0; i < 3 && status == ERROR_SUCCESS; ++i)
      status = create(base, names[i], roots[i]);
    HKEY made = nullptr;
    if (status == ERROR_SUCCESS)
      status = create(roots[1], WideText(kCurrentVersionPath), made);
  }
  if (status != ERROR_SUCCESS) {
    problem_ = StoreProblem::CannotOpen;
    systemError_ = ErrnoOf(DWORD(status));
    return;
  }
  for (RegistryKeyId id = 1; id <= 3; ++id) {
    keys_->byId[id] = {roots[id - 1], std::to_wstring(id)};
    keys_->byPath[std::to_wstring(id)] = id;
  }
}

RegistryStore::~RegistryStore() = default;

std::optional<RegistryKeyId> RegistryStore::OpenKey(RegistryKeyId base, const std::string &path,
                                                    bool create) {
  const OpenKeys::Open *parent = keys_->Find(base);
  if (problem_ != StoreProblem::None || !parent || !IsWellFormed(path) || !StillThere(parent->key))
    return std::nullopt;
  if (path.empty())
    return base;
  std::wstring wide = WideText(path);
  HKEY key = nullptr;
  // Written keys are asked for with the right to write, read ones fall back to reading.
  LSTATUS status = create ? RegCreateKeyExW(parent->key, wide.c_str(), 0, nullptr, 0,
                                            KEY_ALL_ACCESS, nullptr, &key, nullptr)
                          : RegOpenKeyExW(parent->key, wide.c_str(), 0, KEY_ALL_ACCESS, &key);
  if (status == ERROR_ACCESS_DENIED && !create)
    status = RegOpenKeyExW(parent->key, wide.c_str(), 0, KEY_READ, &key);
  if (status != ERROR_SUCCESS)
    return std::nullopt;
  return keys_->Remember(key, Lower(parent->path + L"\\" + wide));
}

std::optional<RegistryValue> RegistryStore::QueryValue(RegistryKeyId key, const std::string &name) {
  const OpenKeys::Open *open = keys_->Find(key);
  if (!open)
    return std::nullopt;
  std::wstring wide = WideText(name);
  DWORD type = 0, size = 0;
  LSTATUS status = RegQueryValueExW(open->key, wide.c_str(), nullptr, &type, nullptr, &size);
  // The program installs itself for the user alone, where no administrator is needed: the
  // system's own Program Files folder is not the one it means, only a private tree's value is.
  if ((status == ERROR_FILE_NOT_FOUND || file_.empty()) && Lower(wide) == L"programfilesdir" &&
      open->path == Lower(L"2\\" + WideText(kCurrentVersionPath))) {
    std::string folder = XdgDataHome() + "\\Programs";
    RegistryValue value{REG_SZ, std::vector<uint8_t>(folder.begin(), folder.end())};
    value.data.push_back(0);
    return value;
  }
  if (status != ERROR_SUCCESS)
    return std::nullopt;
  std::vector<uint8_t> data(size);
  if (RegQueryValueExW(open->key, wide.c_str(), nullptr, &type, data.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size);
  if (type != REG_SZ)
    return RegistryValue{type, data};
  // Strings are UTF-16 in the registry and UTF-8 here, with their terminating zero.
  std::wstring text(reinterpret_cast<const wchar_t *>(data.data()), size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0')
    text.pop_back();
  std::string utf8 = Utf8Text(text);
  RegistryValue value{REG_SZ, std::vector<uint8_t>(utf8.begin(), utf8.end())};
  value.data.push_back(0);
  return value;
}

bool RegistryStore::SetValue(RegistryKeyId key, const std::string &name,
                             const RegistryValue &value) {
  const OpenKeys::Open *open = keys_->Find(key);
  if (!open)
    return false;
  std::vector<uint8_t> data = value.data;
  if (value.type == REG_SZ) {
    std::string utf8(data.begin(), std::find(data.begin(), data.end(), 0));
    std::wstring wide = WideText(utf8);
    auto *bytes = reinterpret_cast<const uint8_t *>(wide.c_str());
    data.assign(bytes, bytes + (wide.size() + 1) * sizeof(wchar_t));
  }
  return RegSetValueExW(open->key, WideText(name).c_str(), 0, value.type, data.data(),
                        DWORD(data.size())) == ERROR_SUCCESS;
}

std::vector<std::string> RegistryStore::SubKeyNames(RegistryKeyId key) {
  std::vector<std::string> names;
  const OpenKeys::Open *open = keys_->Find(key);
  if (!open)
    return names;
  wchar_t name[kMaxKeyNameLength + 1];
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxKeyNameLength + 1;
    if (RegEnumKeyExW(open->key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.push_back(Utf8Text(std::wstring(name, length)));
  }
  std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
    return Lower(WideText(a)) < Lower(WideText(b));
  });
  return names;
}

bool RegistryStore::DeleteKey(RegistryKeyId base, const std::string &path) {
  std::optional<RegistryKeyId> key = OpenKey(base, path, false);
  if (!key || *key == base || *key <= 3)
    return false;
  DWORD subKeys = 0;
  if (RegQueryInfoKeyW(keys_->byId[*key].key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      subKeys > 0)
    return false;
  return RegDeleteKeyW(keys_->byId[base].key, WideText(path).c_str()) == ERROR_SUCCESS;
}

} // namespace reelcraft
