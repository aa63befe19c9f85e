// SPDX-License-Identifier: MIT
#include "sys/temp_files.h"

#include "sys/directory_search.h"
#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/raw_file.h"
#include "sys/temp_names.h"
#include "sys/win32_handle.h"
#include "sys/win32_text.h"

#include <cerrno>
#include <io.h>
#include <random>
#include <windows.h>

namespace reelcraft {

namespace {

constexpr int kNameAttempts = 100;
// Others may read and write a temporary file of ours, but neither rename nor remove it while
// it is open: the handle is its lock.
constexpr DWORD kShareLocked = FILE_SHARE_READ | FILE_SHARE_WRITE;

const FILETIME kProcessStart = [] {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return now;
}();

// Takes over `handle` as a descriptor held in `holder`; false (the handle closed) on failure.
bool Hold(OwnedHandle handle, Descriptor &holder) {
  int fd = DescriptorOf(handle);
  holder.Reset(fd);
  return fd >= 0;
}

// Whether the volume of `handle` keeps a file under a second name: then a file that goes with
// its handle can still be kept, by linking it to the name it keeps.
// Some file systems keep links without saying so (wine's view of a POSIX one as NTFS).
bool TakesLinks(HANDLE handle) {
  DWORD flags = 0;
  wchar_t system[MAX_PATH + 1] = {};
  if (!GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, &flags, system,
                                     MAX_PATH + 1))
    return false;
  std::wstring name = system;
  return (flags & FILE_SUPPORTS_HARD_LINKS) || name == L"NTFS" || name == L"ReFS";
}

// Creates `path` exclusively and gives it with its identity, its handle in `holder`: with
// `goesWithHandle` the file is removed when its handle closes, whatever ends the process;
// otherwise it stays, locked while held. An empty path on failure, errno telling why.
FileRef CreateExclusively(const std::string &path, bool goesWithHandle, DWORD attributes,
                          Descriptor &holder) {
  DWORD access = GENERIC_READ | GENERIC_WRITE | (goesWithHandle ? DELETE : 0);
  // A file that goes with its handle is placed by a second name, which a rename then moves:
  // both need the file open for others' deletion.
  DWORD share = goesWithHandle ? kShareLocked | FILE_SHARE_DELETE : kShareLocked;
  OwnedHandle handle(CreateFileW(WidePath(path).c_str(), access, share, nullptr, CREATE_NEW,
                                 attributes | (goesWithHandle ? FILE_FLAG_DELETE_ON_CLOSE : 0),
                                 nullptr));
  if (!handle) {
    FailWithLastError();
    return FileRef("");
  }
  std::optional<FileIdentity> identity = IdentityOfHandle(handle.get());
  int error = errno;
  if (!identity || !Hold(std::move(handle), holder)) {
    if (!goesWithHandle)
      DeleteFileW(WidePath(path).c_str());
    errno = identity ? EMFILE : error;
    return FileRef("");
  }
  return FileRef(path, identity);
}

HANDLE HandleOf(const Descriptor &held) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(held.get()));
}

// Removes `path` if it is a leftover: a file last written before this process started, that
// no live run holds open.
void RemoveIfStale(const std::string &path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data) &&
      !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
      CompareFileTime(&data.ftLastWriteTime, &kProcessStart) < 0)
    DeleteFileW(WidePath(path).c_str()); // refused for a file a live run holds
}

// Copies the whole of `from` into `to`, both open; for a volume that keeps no second name.
bool CopyContents(HANDLE from, HANDLE to) {
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(from, start, nullptr, FILE_BEGIN))
    return FailWithLastError();
  std::string buffer(kIoPieceSize, '\0');
  for (;;) {
    DWORD got = 0, written = 0;
    if (!ReadFile(from, buffer.data(), DWORD(buffer.size()), &got, nullptr))
      return FailWithLastError();
    if (got == 0)
      return true;
    if (!WriteFile(to, buffer.data(), got, &written, nullptr) || written != got)
      return FailWithLastError();
  }
}

} // namespace

std::optional<std::string> TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH)
    return std::nullopt;
  std::string folder = Utf8Text(std::wstring(buffer, length));
  // Without its final separator, as elsewhere, but a drive's root keeps it.
  if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/'))
    folder.pop_back();
  if (folder.size() + 1 + kLongestTempName >= kPathBufferSize)
    return std::nullopt;
  return folder;
}

void RemoveStaleTemporaries(const std::string &folder) {
  if (!FirstSweepOf(folder))
    return;
  DirectoryEntries entries = ReadDirectoryEntries(folder);
  std::string prefix =
      folder.empty() || folder.ends_with('\\') || folder.ends_with('/') ? folder : folder + "\\";
  for (const std::string &name : entries.names)
    if (IsTemporaryName(name))
      RemoveIfStale(prefix + name);
}

FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode,
                        Descriptor *lock) {
  (void)mode;
  wchar_t name[MAX_PATH];
  // The system picks a number no file of the folder has and creates the file, empty.
  if (GetTempFileNameW(WidePath(folder.empty() ? "." : folder).c_str(), WideText(prefix).c_str(), 0,
                       name) == 0) {
    // It says "invalid folder name" for a folder that is not there, too.
    DWORD error = GetLastError();
    errno = error == ERROR_DIRECTORY && !PathExists(folder) ? ENOENT : ErrnoOf(error);
    return FileRef("");
  }
  std::string path = Utf8Text(name);
  OwnedHandle handle(CreateFileW(name, GENERIC_READ | GENERIC_WRITE, kShareLocked, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::optional<FileIdentity> identity;
  if (handle)
    identity = IdentityOfHandle(handle.get());
  int fd = identity && lock ? DescriptorOf(handle) : -1;
  if (!identity || (lock && fd < 0)) {
    int error = handle ? errno : ErrnoOf(GetLastError());
    handle.Reset();
    DeleteFileW(name);
    errno = error;
    return FileRef("");
  }
  if (lock)
    lock->Reset(fd);
  return FileRef(path, identity);
}

ScratchFile::~ScratchFile() {
  // The handle that goes takes the file along; a kept file stays under its new name.
  unnamed_.Reset();
  lock_.Reset();
}

bool ScratchFile::Create(const std::string &folder, unsigned mode) {
  (void)mode;
  RemoveStaleTemporaries(folder);
  FileRef name = ReserveTempName(folder, "qvj", 0600);
  if (name.path.empty())
    return false;
  // Opened again as a file that goes with its handle: nothing stays, however the process ends.
  OwnedHandle handle(CreateFileW(WidePath(name.path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                 kShareLocked, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!handle || IdentityOfHandle(handle.get()) != name.identity ||
      !Hold(std::move(handle), unnamed_)) {
    int error = errno;
    DeleteFileW(WidePath(name.path).c_str());
    errno = error;
    return false;
  }
  file_ = name;
  file_.descriptor = unnamed_.get();
  return true;
}

bool ScratchFile::Keep(const std::string &extension) {
  if (kept_)
    return true;
  std::string folder = ParentFolder(file_.path);
  std::mt19937 random{std::random_device{}()};
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    std::string name = NameFor(folder, "qvj", random() % 0xFFFF + 1);
    name.replace(name.size() - 4, 4, extension);
    // A second name outlives the handle; where the volume keeps none, the bytes are copied.
    bool placed = CreateHardLinkW(WidePath(name).c_str(), WidePath(file_.path).c_str(), nullptr);
    if (!placed && GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) {
      OwnedHandle copy(CreateFileW(WidePath(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!copy)
        return FailWithLastError();
      OwnedHandle from(ReOpenFile(HandleOf(unnamed_), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0));
      if (!from || !CopyContents(from.get(), copy.get())) {
        int error = from ? errno : ErrnoOf(GetLastError());
        copy.Reset();
        DeleteFileW(WidePath(name).c_str());
        errno = error;
        return false;
      }
      placed = true;
    }
    if (placed) {
      unnamed_.Reset();
      file_ = FileRef(name, IdentityOfPath(name));
      kept_ = true;
      return true;
    }
  }
  errno = EEXIST;
  return false;
}

StagedFile::~StagedFile() {
  // A file that goes with its handle leaves with it; a named one is removed once unlocked, and
  // only while its name still stands for it.
  bool named = unnamed_.get() < 0 && !temporary_.path.empty();
  lock_.Reset();
  if (named && StillSameFile(temporary_))
    DeleteFileW(WidePath(temporary_.path).c_str());
}

bool StagedFile::Reserve(const std::string &finalPath) {
  finalPath_ = finalPath;
  RemoveStaleTemporaries(ParentFolder(finalPath));
  std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = TemporaryName(finalPath, random);
    Descriptor held;
    FileRef file = CreateExclusively(name, true, FILE_ATTRIBUTE_HIDDEN, held);
    if (!file.path.empty() && !TakesLinks(HandleOf(held))) {
      // The volume (FAT, exFAT) could not keep it: a named file, locked, takes its place.
      held.Reset();
      file = CreateExclusively(name, false, FILE_ATTRIBUTE_HIDDEN, held);
    }
    if (file.path.empty()) {
      error_ = errno;
      if (error_ == EEXIST)
        continue;
      return false;
    }
    temporary_ = file;
    if (!TakesLinks(HandleOf(held))) {
      lock_.Reset(held.Release());
      return true;
    }
    unnamed_.Reset(held.Release());
    hiddenPath_ = name;
    temporary_ = FileRef(finalPath, file.identity);
    temporary_.descriptor = unnamed_.get();
    return true;
  }
  return false;
}

bool StagedFile::Commit(bool replace) {
  if (!StillSameFile(temporary_)) {
    error_ = EPERM;
    return false;
  }
  bool placed = unnamed_.get() >= 0 ? LinkInPlace(replace) : false;
  if (unnamed_.get() < 0) {
    // The lock would refuse the rename itself.
    lock_.Reset();
    placed = replace ? RenamePath(temporary_.path, finalPath_)
                     : RenameWithoutReplacing(temporary_.path, finalPath_);
  }
  if (!placed) {
    error_ = errno;
    return false;
  }
  unnamed_.Reset();
  lock_.Reset();
  temporary_ = FileRef("");
  return true;
}

bool StagedFile::LinkInPlace(bool replace) {
  return reelcraft::LinkInPlace(
      finalPath_, replace, temporary_.identity, [&](const std::string &name) {
        return CreateHardLinkW(WidePath(name).c_str(), WidePath(hiddenPath_).c_str(), nullptr) ||
               FailWithLastError();
      });
}

} // namespace reelcraft
