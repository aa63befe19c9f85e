// SPDX-License-Identifier: MIT
#include "sys/temp_files.h"

#include "sys/directory_search.h"
#include "sys/file_system.h"
#include "sys/paths.h"
#include "sys/temp_names.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft {

namespace {

constexpr int kNameAttempts = 100;

// Creates `path` exclusively (never an existing file) and gives it with its identity; an
// empty path on failure, errno telling why. With `lock`, the file stays open there, locked.
FileRef CreateExclusively(const std::string &path, unsigned mode, Descriptor *lock = nullptr) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
  if (fd < 0)
    return FileRef("");
  std::optional<FileIdentity> identity = IdentityOf(fd);
  int error = errno;
  // A file system without locks still takes the file: a later run then finds it unlocked,
  // but only once it is older than that run.
  if (identity && lock) {
    ::flock(fd, LOCK_EX | LOCK_NB);
    lock->Reset(fd);
  } else {
    ::close(fd);
  }
  if (identity)
    return FileRef(path, identity);
  ::unlink(path.c_str());
  errno = error;
  return FileRef("");
}

const timespec kProcessStart = [] {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

bool Before(const timespec &a, const timespec &b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Removes `name` of `folder` if it is a leftover: a regular file, last written before this
// process started, that no live run holds locked.
void RemoveIfStale(int folder, const std::string &name) {
  Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  struct stat opened, named;
  if (file.get() < 0 || ::fstat(file.get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
      !Before(opened.st_mtim, kProcessStart) || ::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
    return;
  // Only while the name still stands for the file examined.
  if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
      named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
    ::unlinkat(folder, name.c_str(), 0);
}

// Errors by which a kernel or a file system declines to make a file without a name, rather
// than failing at it: a named file takes its place.
bool DeclinesUnnamed(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Creates a file without a name in `folder`, with `mode` less the umask, open for reading and
// writing as its descriptor, which the caller then owns; `shownPath` names it in messages. An
// empty path on failure, errno telling why: EOPNOTSUPP too where this process cannot reach its
// descriptors through /proc (in some containers), by which such a file is opened and linked.
FileRef CreateUnnamed(const std::string &folder, unsigned mode, const std::string &shownPath) {
  int fd;
  do {
    fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode_t(mode));
  } while (fd < 0 && errno == EINTR);
  if (fd < 0)
    return FileRef("");
  std::optional<FileIdentity> identity = IdentityOf(fd);
  struct stat reached;
  if (!identity || ::stat(DescriptorPath(fd).c_str(), &reached) != 0) {
    ::close(fd);
    errno = EOPNOTSUPP;
    return FileRef("");
  }
  FileRef file(shownPath, identity);
  file.descriptor = fd;
  return file;
}

} // namespace

std::optional<std::string> TempFolder() {
  const char *tmpdir = std::getenv("TMPDIR");
  std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  if (folder.size() + 1 + kLongestTempName >= kPathBufferSize)
    return std::nullopt;
  return folder;
}

void RemoveStaleTemporaries(const std::string &folder) {
  if (!FirstSweepOf(folder))
    return;
  Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0)
    return;
  for (const std::string &name : ReadOpenDirectoryEntries(dir.get()).names) {
    if (IsTemporaryName(name))
      RemoveIfStale(dir.get(), name);
  }
}

FileRef ReserveTempName(const std::string &folder, const std::string &prefix, unsigned mode,
                        Descriptor *lock) {
  // Start somewhere different in every process and call so that reservations made at once
  // rarely collide; O_EXCL makes a collision harmless.
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned first = unsigned(ticks ^ (getpid() << 4)) & 0xFFFF;
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    unsigned number = (first + tries) % 0xFFFF + 1;
    FileRef file = CreateExclusively(NameFor(folder, prefix, number), mode, lock);
    if (!file.path.empty() || errno != EEXIST)
      return file;
  }
  return FileRef("");
}

ScratchFile::~ScratchFile() {
  // A name swapped for someone else's file is not ours to remove.
  if (!kept_ && unnamed_.get() < 0 && StillSameFile(file_))
    ::unlink(file_.path.c_str());
}

bool ScratchFile::Create(const std::string &folder, unsigned mode) {
  file_ = CreateUnnamed(folder, mode, folder);
  unnamed_.Reset(file_.descriptor);
  if (file_.path.empty() && DeclinesUnnamed(errno)) {
    RemoveStaleTemporaries(folder);
    file_ = ReserveTempName(folder, "qvj", mode, &lock_);
  }
  return !file_.path.empty();
}

bool ScratchFile::Keep(const std::string &extension) {
  if (kept_)
    return true;
  std::string folder = unnamed_.get() >= 0 ? file_.path : ParentFolder(file_.path);
  std::string from = unnamed_.get() >= 0 ? DescriptorPath(unnamed_.get()) : file_.path;
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  unsigned first = unsigned(ticks ^ (getpid() << 4)) & 0xFFFF;
  for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
    std::string name = NameFor(folder, "qvj", (first + tries) % 0xFFFF + 1);
    name.replace(name.size() - 4, 4, extension);
    // Neither a link nor the rename ever takes an existing name.
    bool placed = unnamed_.get() >= 0 ? ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(),
                                                 AT_SYMLINK_FOLLOW) == 0
                                      : RenameWithoutReplacing(from, name);
    if (placed) {
      file_ = FileRef(name, file_.identity);
      unnamed_.Reset();
      lock_.Reset();
      kept_ = true;
      return true;
    }
    if (errno != EEXIST)
      return false;
  }
  return false;
}

StagedFile::~StagedFile() {
  // A name swapped for someone else's file is not ours to remove.
  if (unnamed_.get() < 0 && !temporary_.path.empty() && StillSameFile(temporary_))
    ::unlink(temporary_.path.c_str());
}

bool StagedFile::Reserve(const std::string &finalPath) {
  finalPath_ = finalPath;
  // The usual permissions: the file becomes the output as it is.
  constexpr unsigned kMode = 0666;
  FileRef unnamed = CreateUnnamed(ParentFolder(finalPath), kMode, finalPath);
  if (!unnamed.path.empty()) {
    unnamed_.Reset(unnamed.descriptor);
    temporary_ = unnamed;
    return true;
  }
  error_ = errno;
  if (!DeclinesUnnamed(error_))
    return false;
  RemoveStaleTemporaries(ParentFolder(finalPath));
  std::mt19937 random{std::random_device{}()};
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    FileRef file = CreateExclusively(TemporaryName(finalPath, random), kMode, &lock_);
    if (!file.path.empty()) {
      temporary_ = file;
      return true;
    }
    error_ = errno;
    if (error_ != EEXIST)
      return false;
  }
  return false;
}

bool StagedFile::Commit(bool replace) {
  if (!StillSameFile(temporary_)) {
    error_ = EPERM;
    return false;
  }
  bool placed = unnamed_.get() >= 0 ? LinkInPlace(replace)
                : replace           ? RenamePath(temporary_.path, finalPath_)
                                    : RenameWithoutReplacing(temporary_.path, finalPath_);
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
  std::string from = DescriptorPath(unnamed_.get());
  return reelcraft::LinkInPlace(
      finalPath_, replace, temporary_.identity, [&](const std::string &name) {
        return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
      });
}

} // namespace reelcraft
