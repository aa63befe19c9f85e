// SPDX-License-Identifier: MIT
#include "sys/file_operation.h"

#include "sys/descriptor.h"
#include "sys/error_text.h"
#include "sys/file_identity.h"
#include "sys/file_io.h"
#include "sys/file_system.h"
#include "sys/temp_files.h"
#include "sys/translation.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <vector>

namespace reelcraft {

namespace {

constexpr size_t kChunkSize = 256 * 1024;

// The copy, staged for the target (see StagedFile) and open for writing.
class PartialFile {
public:
  explicit PartialFile(const std::string &target)
      : file_(staged_.Reserve(target) ? OpenFileRef(staged_.temporaryFile(), O_WRONLY) : -1),
        error_(file_.get() < 0 ? (staged_.error() ? staged_.error() : errno) : 0) {}

  int fd() const { return file_.get(); }
  // Why it could not be had.
  int error() const { return error_; }
  // Closes the file and gives it the target's name; false with errno set.
  bool Finish() {
    if (!file_.Close())
      return false;
    if (staged_.Commit(true))
      return true;
    errno = staged_.error();
    return false;
  }

private:
  StagedFile staged_;
  Descriptor file_;
  int error_;
};

// Calls End() on every way out once Begin() has been called.
class Showing {
public:
  Showing(CopyObserver &observer, const std::string &title, uint64_t total) : observer_(observer) {
    observer_.Begin(title, total);
  }
  ~Showing() { observer_.End(); }
  Showing(const Showing &) = delete;
  Showing &operator=(const Showing &) = delete;

private:
  CopyObserver &observer_;
};

bool WriteAll(int fd, const char *data, size_t size) {
  while (size > 0) {
    long long n = WriteSome(fd, data, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// Errors by which the kernel declines to copy between two files (another file system, an old
// kernel, a file system without the service) rather than failing at it.
bool KernelCannotCopy(int error) {
  return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP ||
         error == ENOTSUP || error == EBADF || error == EPERM;
}

// Moves the bytes chunk by chunk: in the kernel while it will (nothing passes through this
// process, and file systems that share extents share them), else through a buffer.
class ChunkMover {
public:
  // The count of bytes moved, 0 at the end of the source, -1 on a failure.
  long long Next(int in, int out) {
    while (inKernel_) {
      long long n = CopyInKernel(in, out, kChunkSize);
      if (n > 0)
        return n;
      if (n < 0 && errno == EINTR)
        continue;
      if (n < 0 && !KernelCannotCopy(errno))
        return -1;
      // Declined, or an end that some file systems report early: reading settles it.
      inKernel_ = false;
    }
    return ThroughBuffer(in, out);
  }

private:
  long long ThroughBuffer(int in, int out) {
    if (buffer_.empty())
      buffer_.resize(kChunkSize);
    for (;;) {
      long long n = ReadSome(in, buffer_.data(), buffer_.size());
      if (n < 0 && errno == EINTR)
        continue;
      if (n > 0 && !WriteAll(out, buffer_.data(), size_t(n)))
        return -1;
      return n;
    }
  }

  bool inKernel_ = true;
  std::vector<char> buffer_;
};

// Records why the operation failed.
FileOpResult Fail(FileOpReport &report, const std::string &path, int error) {
  report.failure = {path, error};
  return FileOpResult::Failed;
}

FileOpResult CopyBytes(int in, int out, uint64_t total, CopyObserver &observer, int &error) {
  ChunkMover mover;
  uint64_t done = 0;
  if (!observer.Progress(done, total))
    return FileOpResult::Aborted;
  for (;;) {
    long long n = mover.Next(in, out);
    if (n < 0) {
      error = errno;
      return FileOpResult::Failed;
    }
    if (n == 0)
      return FileOpResult::Success;
    done += uint64_t(n);
    if (!observer.Progress(done, total))
      return FileOpResult::Aborted;
  }
}

// Copies the bytes, then the permission bits and dates as far as the target takes them;
// `durable` waits for the disk, for a move that removes its source next.
FileOpResult CopyToTarget(const std::string &source, const std::string &target, bool durable,
                          CopyObserver &observer, FileOpReport &report) {
  Descriptor in(OpenFileRef(FileRef(source), O_RDONLY));
  uint64_t length = 0;
  if (in.get() < 0 || !FileLength(in.get(), length))
    return Fail(report, source, errno);
  PartialFile partial(target);
  if (partial.fd() < 0)
    return Fail(report, target, partial.error());
  int error = 0;
  FileOpResult result = CopyBytes(in.get(), partial.fd(), length, observer, error);
  if (result == FileOpResult::Failed)
    return Fail(report, target, error);
  if (result != FileOpResult::Success)
    return result;
  // A copy keeps the source's date: for an AVI, that is when its clip was shot.
  if (!CopyAttributes(in.get(), partial.fd()))
    report.attributes = {target, errno};
  // Closed first: Windows replaces no file that is open, and the source may be the target.
  in.Reset();
  if ((durable && !FlushFile(partial.fd())) || !partial.Finish())
    return Fail(report, target, errno);
  // The new name too must be on disk before a move takes the source away.
  if (durable && !FlushToDisk(FileRef(target)))
    return Fail(report, target, errno);
  return FileOpResult::Success;
}

std::string ResolveTarget(const std::string &source, const std::string &target) {
  return IsFolder(target) ? target + "/" + FileName(source) : target;
}

std::optional<uint64_t> RegularFileSize(const std::string &path) {
  // Never waiting for a FIFO's writer; a folder is refused before it is opened, as Windows
  // would open none.
  if (IsFolder(path)) {
    errno = EINVAL;
    return std::nullopt;
  }
  Descriptor file(OpenFileRef(FileRef(path), O_RDONLY | O_NONBLOCK));
  DescriptorKind kind = DescriptorKind::Other;
  uint64_t length = 0;
  if (file.get() < 0 || !KindOfDescriptor(file.get(), kind))
    return std::nullopt;
  if (kind != DescriptorKind::RegularFile) {
    errno = EINVAL;
    return std::nullopt;
  }
  if (!FileLength(file.get(), length))
    return std::nullopt;
  return length;
}

// The checks before any byte moves: a missing target folder is made, and an existing target
// is replaced only where the flags or the user allow it.
FileOpResult PrepareTarget(const std::string &target, uint32_t flags, CopyObserver &observer,
                           FileOpReport &report) {
  std::string folder = ParentFolder(target);
  if (!folder.empty() && !CreateFolders(folder))
    return Fail(report, folder, errno);
  if (IsFolder(target))
    return Fail(report, target, EISDIR);
  if (PathExists(target) && !(flags & FOF_NOCONFIRMATION) && !observer.AskReplace(target))
    return FileOpResult::Aborted;
  return FileOpResult::Success;
}

using Transfer = std::function<FileOpResult(const std::string &destination, uint64_t size)>;

// What copy and move share: the source must be a file, the observer shows the whole
// operation, and the target is settled before `transfer` moves the bytes.
FileOpResult RunOperation(const std::string &source, const std::string &target,
                          const std::string &title, uint32_t flags, CopyObserver &observer,
                          FileOpReport &report, const Transfer &transfer) {
  std::optional<uint64_t> size = RegularFileSize(source);
  if (!size)
    return Fail(report, source, errno != 0 ? errno : EINVAL);
  Showing showing(observer, title, *size);
  std::string destination = ResolveTarget(source, target);
  FileOpResult ready = PrepareTarget(destination, flags, observer, report);
  return ready == FileOpResult::Success ? transfer(destination, *size) : ready;
}

} // namespace

std::string ReplaceQuestion(const std::string &path) {
  return Translate("FileOperation", "The file:\n\n") + path +
         Translate("FileOperation", "\n\nalready exists. Do you want to replace it?");
}

int SystemRename(const std::string &from, const std::string &to) {
  return RenamePath(from, to) ? 0 : errno;
}

std::string AttributesWarning(const FileOpReport &report) {
  if (report.attributes.error == 0)
    return {};
  std::string reason =
      Translate("FileOperation", "error ") + std::to_string(report.attributes.error);
  SystemErrorText(uint32_t(report.attributes.error), reason);
  return FillIn(Translate("FileOperation",
                          "%1 is whole, but it could not take its original's permissions and "
                          "date: %2"),
                {report.attributes.path, reason});
}

FileOpResult CopyFileWithProgress(const std::string &source, const std::string &target,
                                  const std::string &title, uint32_t flags, CopyObserver &observer,
                                  FileOpReport *report) {
  FileOpReport unused;
  FileOpReport &told = report ? *report : unused;
  return RunOperation(source, target, title, flags, observer, told,
                      [&](const std::string &destination, uint64_t) {
                        return CopyToTarget(source, destination, false, observer, told);
                      });
}

FileOpResult MoveFileWithProgress(const std::string &source, const std::string &target,
                                  const std::string &title, uint32_t flags, CopyObserver &observer,
                                  const RenameFunction &rename, FileOpReport *report) {
  FileOpReport unused;
  FileOpReport &told = report ? *report : unused;
  return RunOperation(source, target, title, flags, observer, told,
                      [&](const std::string &destination, uint64_t size) {
                        int error = rename(source, destination);
                        if (error == 0) {
                          observer.Progress(size, size);
                          return FileOpResult::Success;
                        }
                        if (error != EXDEV)
                          return Fail(told, destination, error);
                        // Another file system: the source goes only once the copy is whole and on
                        // disk.
                        FileOpResult copied =
                            CopyToTarget(source, destination, true, observer, told);
                        if (copied == FileOpResult::Success)
                          DeletePath(source);
                        return copied;
                      });
}

} // namespace reelcraft
