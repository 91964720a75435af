#include "app/file_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "app/file_io_internal.h"
#include "app/translation.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qd::file_io_internal {

namespace fs = std::filesystem;

std::string Reason(const fs::path& path, Act act, const std::string& why) {
  std::string pattern;
  switch (act) {
    case Act::Open:
      pattern = UiText("FileIo", "cannot open %1: %2");
      break;
    case Act::Read:
      pattern = UiText("FileIo", "cannot read %1: %2");
      break;
    case Act::Write:
      pattern = UiText("FileIo", "cannot write %1: %2");
      break;
    case Act::Replace:
      pattern = UiText("FileIo", "cannot replace %1: %2");
      break;
    case Act::Lock:
      pattern = UiText("FileIo", "cannot lock %1: %2");
      break;
    case Act::Create:
      pattern = UiText("FileIo", "cannot create %1: %2");
      break;
  }
  return Substitute(pattern, {path.string(), why});
}

std::string SizeText(std::uintmax_t bytes) {
  constexpr std::uintmax_t MiB = 1 << 20;
  if (bytes >= MiB && bytes % MiB == 0)
    return Substitute(UiText("FileIo", "%1 MB"), {std::to_string(bytes / MiB)});
  return Substitute(UiText("FileIo", "%1 bytes"), {std::to_string(bytes)});
}

constexpr std::size_t TemporaryTagLength = 8;  // hexadecimal digits between the name and ".tmp"

fs::path TemporaryPathBeside(const fs::path& path, std::random_device& device) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(device()));
  fs::path temporary = path;
  temporary += suffix;
  return temporary;
}

bool IsTemporaryOf(const std::string& name, const std::string& target) {
  const std::string_view suffix = ".tmp";
  if (name.size() != target.size() + 1 + TemporaryTagLength + suffix.size()) return false;
  if (name.compare(0, target.size(), target) != 0 || name[target.size()] != '.') return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::string_view tag(name.data() + target.size() + 1, TemporaryTagLength);
  return std::all_of(tag.begin(), tag.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

}  // namespace qd::file_io_internal

#ifndef _WIN32

namespace qd {
namespace {

namespace fs = std::filesystem;
using namespace file_io_internal;

// Reason() with errno's text.
std::string Reason(const fs::path& path, Act act) {
  const int code = errno;
  return Reason(path, act, std::strerror(code));
}

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  // Keeps errno, which tells why `fd` could not be opened.
  void Reset(int fd = -1) {
    const int code = errno;
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
    errno = code;
  }
  // False with errno set when the close reports an error (a delayed write failure).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

mode_t NewFileMode(FileAccess access) {
  return access == FileAccess::Private ? 0600 : 0666;
}

// Reads all of an open file that is regular and holds at most `maxBytes`; the file may grow meanwhile,
// so the limit holds for what is read, not only for the size it had.
std::optional<std::string> ReadOpenFile(int fd, const fs::path& path, std::uintmax_t maxBytes,
                                        std::string& error) {
  struct stat status;
  if (::fstat(fd, &status) != 0) {
    error = Reason(path, Act::Read);
    return std::nullopt;
  }
  if (S_ISDIR(status.st_mode)) {
    error = Reason(path, Act::Read, std::strerror(EISDIR));
    return std::nullopt;
  }
  if (!S_ISREG(status.st_mode)) {
    error = Reason(path, Act::Read, UiText("FileIo", "not a regular file"));
    return std::nullopt;
  }
  const std::string tooLarge = Reason(
      path, Act::Read, Substitute(UiText("FileIo", "the file is larger than %1"), {SizeText(maxBytes)}));
  if (static_cast<std::uintmax_t>(status.st_size) > maxBytes) {
    error = tooLarge;
    return std::nullopt;
  }
  // Opened without blocking so that a FIFO could not hold the open up; a regular file reads as usual.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

  std::string data;
  data.reserve(static_cast<std::size_t>(status.st_size));
  char buffer[65536];
  for (;;) {
    const std::uintmax_t room = maxBytes - data.size();
    // One byte beyond the limit tells a file that has grown past it.
    const std::size_t want = room < sizeof buffer ? static_cast<std::size_t>(room) + 1 : sizeof buffer;
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = Reason(path, Act::Read);
      return std::nullopt;
    }
    if (n == 0) return data;
    if (static_cast<std::uintmax_t>(n) > room) {
      error = tooLarge;
      return std::nullopt;
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file `path` names with symbolic links in its last part followed, so that a save replaces the
// file a link points to and keeps the link. A missing file is its own target.
std::optional<fs::path> FinalTarget(const fs::path& path, std::string& error) {
  constexpr int MaxLinks = 40;
  fs::path target = path;
  for (int links = 0; links <= MaxLinks; ++links) {
    struct stat status;
    if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return target;
    std::error_code ec;
    const fs::path link = fs::read_symlink(target, ec);
    if (ec) {
      error = Reason(path, Act::Write, ec.message());
      return std::nullopt;
    }
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  error = Reason(path, Act::Write, std::strerror(ELOOP));
  return std::nullopt;
}

bool IsReadOnly(const fs::path& file, const struct stat& status) {
  if ((status.st_mode & 0222) == 0) return true;  // also for root, who could write it
  return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EROFS);
}

// Gives the new file the old one's owner, group and permissions. Where the group cannot be kept, the
// group permissions are dropped: they would apply to another group.
bool KeepOwnerAndMode(int fd, const struct stat& old, mode_t mode) {
  struct stat now;
  if (::fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && now.st_gid != old.st_gid)
    mode &= ~static_cast<mode_t>(070);
  return ::fchmod(fd, mode) == 0;
}

void SyncFolderOf(const fs::path& file) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : ".";
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// A save that was killed before its rename leaves its temporary file behind; a later good save of the
// same file tidies those up. Failures here do not matter.
void RemoveLeftoverTemporaries(const fs::path& path) {
  const std::string target = path.filename().string();
  const auto before = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now() - LeftoverAge);
  std::error_code ec;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : ".";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTemporaryOf(it->path().filename().string(), target)) continue;
    struct stat status;
    if (::lstat(it->path().c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < before)
      ::unlink(it->path().c_str());
  }
}

// Saves `data` over `target`, the file `shown` (what the caller named) leads to.
FileResult SaveOver(const fs::path& shown, const fs::path& target, std::string_view data, FileAccess access) {
  FileResult result;
  struct stat old;
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) {
    result.error = Reason(shown, Act::Write);
    return result;
  }
  mode_t mode = NewFileMode(access);
  if (exists) {
    if (S_ISDIR(old.st_mode)) {
      result.error = Reason(shown, Act::Replace, std::strerror(EISDIR));
      return result;
    }
    if (!S_ISREG(old.st_mode)) {
      result.error = Reason(shown, Act::Replace, UiText("FileIo", "not a regular file"));
      return result;
    }
    if (IsReadOnly(target, old)) {
      result.error = Reason(shown, Act::Write, UiText("FileIo", "the file is read-only"));
      return result;
    }
    mode = old.st_mode & 0777;
    if (access == FileAccess::Private) mode &= 0700;
  }

  // The permissions an existing file has are set once the temporary file is ours; until then only
  // the owner may open it.
  std::random_device device;
  fs::path temporary;
  Descriptor file;
  for (int attempt = 0; attempt < 16 && file.get() < 0; ++attempt) {
    temporary = TemporaryPathBeside(target, device);
    file.Reset(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      exists ? 0600 : mode));
    if (file.get() < 0 && errno != EEXIST) break;
  }
  if (file.get() < 0) {
    result.error = Reason(shown, Act::Write);
    return result;
  }

  bool written = WriteAll(file.get(), data) && (!exists || KeepOwnerAndMode(file.get(), old, mode)) &&
                 ::fsync(file.get()) == 0;
  if (!written) result.error = Reason(shown, Act::Write);
  if (!file.Close() && written) {
    written = false;
    result.error = Reason(shown, Act::Write);
  }
  if (written && ::rename(temporary.c_str(), target.c_str()) != 0) {
    written = false;
    result.error = Reason(shown, Act::Replace);
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return result;
  }
  result.ok = true;
  SyncFolderOf(target);
  RemoveLeftoverTemporaries(target);
  return result;
}

// False with errno set; EWOULDBLOCK when another holder kept the lock for all of LockWait.
bool LockExclusively(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + LockWait;
  for (;;) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) {
      errno = EWOULDBLOCK;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string& error, std::uintmax_t maxBytes) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    error = Reason(path, Act::Open);
    return std::nullopt;
  }
  return ReadOpenFile(file.get(), path, maxBytes, error);
}

FileResult WriteFileAtomically(const fs::path& path, std::string_view data, FileAccess access) {
  FileResult result;
  const std::optional<fs::path> target = FinalTarget(path, result.error);
  if (!target) return result;
  return SaveOver(path, *target, data, access);
}

FileResult UpdateFileAtomically(const fs::path& path, const FileUpdate& update, FileAccess access,
                                std::uintmax_t maxBytes) {
  FileResult result;
  const std::optional<fs::path> target = FinalTarget(path, result.error);
  if (!target) return result;

  // The lock is on the file itself. A save renames a new file over it, so whoever waited for the lock
  // finds it on a file that is gone and starts again with the new one.
  constexpr int MaxAttempts = 100;
  Descriptor file;
  bool created = false;
  for (int attempt = 0;; ++attempt) {
    if (attempt == MaxAttempts) {
      result.error = Reason(path, Act::Write, UiText("FileIo", "the file keeps being replaced"));
      return result;
    }
    created = false;
    file.Reset(::open(target->c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0 && errno == ENOENT) {
      file.Reset(
          ::open(target->c_str(), O_RDONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NewFileMode(access)));
      created = file.get() >= 0;
      if (!created && errno == EEXIST) continue;
    }
    if (file.get() < 0) {
      result.error = Reason(path, Act::Open);
      return result;
    }
    if (!LockExclusively(file.get())) {
      result.error = errno == EWOULDBLOCK
                         ? Reason(path, Act::Write, UiText("FileIo", "another program keeps the file locked"))
                         : Reason(path, Act::Lock);
      return result;
    }
    struct stat locked, now;
    if (::fstat(file.get(), &locked) == 0 && ::lstat(target->c_str(), &now) == 0 &&
        locked.st_dev == now.st_dev && locked.st_ino == now.st_ino)
      break;
  }

  std::optional<std::string> content = ReadOpenFile(file.get(), path, maxBytes, result.error);
  if (content) content = update(*content, result.error);
  if (content) result = SaveOver(path, *target, *content, access);
  // An empty file made only to hold the lock goes again; nobody else can have written it meanwhile.
  if (!result.ok && created) ::unlink(target->c_str());
  return result;
}

FileResult CreateFolders(const fs::path& folder, FileAccess access) {
  if (folder.empty()) return {true, {}};
  const mode_t mode = access == FileAccess::Private ? 0700 : 0777;
  fs::path partial;
  for (const fs::path& part : folder) {
    partial /= part;
    if (::mkdir(partial.c_str(), mode) == 0 || errno == EEXIST) continue;
    const int code = errno;
    struct stat status;
    if (::stat(partial.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) continue;
    return {false, Reason(folder, Act::Create, std::strerror(code))};
  }
  struct stat status;
  if (::stat(folder.c_str(), &status) != 0) return {false, Reason(folder, Act::Create)};
  if (!S_ISDIR(status.st_mode)) return {false, Reason(folder, Act::Create, std::strerror(ENOTDIR))};
  return {true, {}};
}

NewFile CreateEmptyFile(const fs::path& path, FileAccess access, std::string& error) {
  Descriptor file(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NewFileMode(access)));
  if (file.get() >= 0) return NewFile::Created;
  if (errno == EEXIST) return NewFile::NameTaken;
  error = Reason(path, Act::Write);
  return NewFile::Failed;
}

}  // namespace qd

#endif  // !_WIN32
