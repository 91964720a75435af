// file_io.h on Win32. Windows files have no POSIX permission bits: a new file takes the access rights its
// folder passes on, which in the user's own folders (where the private records are kept) admit the user
// alone, so FileAccess changes nothing here.
#ifdef _WIN32

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cwctype>
#include <system_error>
#include <thread>

#include "app/file_io.h"
#include "app/file_io_internal.h"
#include "app/translation.h"
#include "app/windows_api.h"

namespace qd {
namespace {

namespace fs = std::filesystem;
using namespace file_io_internal;

// The C library's wording where it has one for the error, as on other systems; Windows's own otherwise.
std::string ErrorText(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return std::strerror(ENOENT);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::strerror(EEXIST);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::strerror(ENOSPC);
    case ERROR_FILENAME_EXCED_RANGE:
      return std::strerror(ENAMETOOLONG);
    default:
      break;
  }
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 && text ? std::string(text, length) : "error " + std::to_string(code);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
    message.pop_back();
  return message;
}

// Reason() with the text of GetLastError().
std::string Reason(const fs::path& path, Act act) {
  return file_io_internal::Reason(path, act, ErrorText(GetLastError()));
}

class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Keeps GetLastError(), which tells why `handle` could not be opened.
  void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
    SetLastError(code);
  }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

// Every program may read, write, rename and delete the file while it is open here, as on other systems.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens folders too (to tell them apart), follows links.
HANDLE OpenExisting(const fs::path& path, DWORD access) {
  return CreateFileW(path.c_str(), access, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                     nullptr);
}

enum class Kind { Regular, Folder, Other };

// A device (NUL, CON, COM1), a pipe or a console is Other.
Kind KindOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info)) return Kind::Other;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::Regular;
}

std::optional<std::string> ReadOpenFile(HANDLE handle, const fs::path& path, std::uintmax_t maxBytes,
                                        std::string& error) {
  switch (KindOf(handle)) {
    case Kind::Folder:
      error = file_io_internal::Reason(path, Act::Read, std::strerror(EISDIR));
      return std::nullopt;
    case Kind::Other:
      error = file_io_internal::Reason(path, Act::Read, UiText("FileIo", "not a regular file"));
      return std::nullopt;
    case Kind::Regular:
      break;
  }
  const std::string tooLarge = file_io_internal::Reason(
      path, Act::Read, Substitute(UiText("FileIo", "the file is larger than %1"), {SizeText(maxBytes)}));
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handle, &size)) {
    error = Reason(path, Act::Read);
    return std::nullopt;
  }
  if (static_cast<std::uintmax_t>(size.QuadPart) > maxBytes) {
    error = tooLarge;
    return std::nullopt;
  }
  std::string data;
  data.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    const std::uintmax_t room = maxBytes - data.size();
    // One byte beyond the limit tells a file that has grown past it.
    const DWORD want = room < sizeof buffer ? static_cast<DWORD>(room) + 1 : DWORD{sizeof buffer};
    DWORD got = 0;
    if (!ReadFile(handle, buffer, want, &got, nullptr)) {
      error = Reason(path, Act::Read);
      return std::nullopt;
    }
    if (got == 0) return data;
    if (got > room) {
      error = tooLarge;
      return std::nullopt;
    }
    data.append(buffer, got);
  }
}

bool WriteAll(HANDLE handle, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = data.size() < (1u << 30) ? static_cast<DWORD>(data.size()) : DWORD{1u << 30};
    DWORD written = 0;
    if (!WriteFile(handle, data.data(), chunk, &written, nullptr)) return false;
    data.remove_prefix(written);
  }
  return true;
}

// The file a symbolic link in `path` leads to, so that a save replaces that file and keeps the link;
// anything else (a missing file included) is its own target.
fs::path FinalTarget(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
  const Handle file(OpenExisting(path, 0));
  if (!file.valid()) return path;
  std::wstring resolved(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file.get(), resolved.data(),
                                                   static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
    if (length == 0) return path;
    if (length < resolved.size()) {
      resolved.resize(length);
      return resolved;
    }
    resolved.resize(length);
  }
}

// Another program (a virus scanner, an indexer, a reader) may hold the old file open for a moment, and
// Windows does not replace a file that is open.
constexpr std::chrono::seconds ReplaceWait{2};

bool MoveOver(const fs::path& temporary, const fs::path& target) {
  const auto deadline = std::chrono::steady_clock::now() + ReplaceWait;
  for (;;) {
    if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    const DWORD code = GetLastError();
    if ((code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION) ||
        std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetLastError(code);
  }
}

// A save that was killed before its rename leaves its temporary file behind; a later good save of the
// same file tidies those up. Failures here do not matter.
void RemoveLeftoverTemporaries(const fs::path& path) {
  const std::string target = path.filename().string();
  const auto before = fs::file_time_type::clock::now() - LeftoverAge;
  std::error_code ec;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : ".";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ignored;
    if (!IsTemporaryOf(it->path().filename().string(), target) || !it->is_regular_file(ignored)) continue;
    const auto written = fs::last_write_time(it->path(), ignored);
    if (!ignored && written < before) fs::remove(it->path(), ignored);
  }
}

// Saves `data` over `target`, the file `shown` (what the caller named) leads to.
FileResult SaveOver(const fs::path& shown, const fs::path& target, std::string_view data) {
  FileResult result;
  // Device names (NUL, COM1) have no attributes to go by on every Windows version.
  if (const Handle old(OpenExisting(target, 0)); old.valid() && KindOf(old.get()) == Kind::Other) {
    result.error = file_io_internal::Reason(shown, Act::Replace, UiText("FileIo", "not a regular file"));
    return result;
  }
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) {
    result.error = Reason(shown, Act::Write);
    return result;
  }
  if (exists) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      result.error = file_io_internal::Reason(shown, Act::Replace, std::strerror(EISDIR));
      return result;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
      result.error = file_io_internal::Reason(shown, Act::Write, UiText("FileIo", "the file is read-only"));
      return result;
    }
  }

  std::random_device device;
  fs::path temporary;
  Handle file;
  for (int attempt = 0; attempt < 16 && !file.valid(); ++attempt) {
    temporary = TemporaryPathBeside(target, device);
    file.Reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
    if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!file.valid()) {
    result.error = Reason(shown, Act::Write);
    return result;
  }

  bool written = WriteAll(file.get(), data) && FlushFileBuffers(file.get());
  if (!written) result.error = Reason(shown, Act::Write);
  if (!file.Close() && written) {
    written = false;
    result.error = Reason(shown, Act::Write);
  }
  if (written && !MoveOver(temporary, target)) {
    written = false;
    result.error = Reason(shown, Act::Replace);
  }
  if (!written) {
    DeleteFileW(temporary.c_str());
    return result;
  }
  result.ok = true;
  RemoveLeftoverTemporaries(target);
  return result;
}

// Programs updating one file take turns through a mutex named after the file. A lock on the file itself
// would keep the save from replacing it: Windows does not rename over an open file.
class UpdateTurn {
 public:
  explicit UpdateTurn(const fs::path& file) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(file, ec);
    if (ec) full = fs::absolute(file, ec);
    // File names compare without case; a hash keeps the name within what a mutex name may hold.
    std::uint64_t hash = 14695981039346656037u;
    for (const wchar_t c : full.wstring()) {
      hash ^= static_cast<std::uint64_t>(std::towlower(static_cast<wint_t>(c == L'/' ? L'\\' : c)));
      hash *= 1099511628211u;
    }
    wchar_t name[64];
    std::swprintf(name, 64, L"Local\\QDsystem-update-%016llx", static_cast<unsigned long long>(hash));
    mutex_ = CreateMutexW(nullptr, FALSE, name);
  }
  ~UpdateTurn() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
  }
  UpdateTurn(const UpdateTurn&) = delete;
  UpdateTurn& operator=(const UpdateTurn&) = delete;

  // False when another program kept its turn for all of LockWait, or with GetLastError() set. A turn
  // that a program ended by dying is ours.
  bool Take() {
    if (!mutex_) return false;
    const DWORD waited =
        WaitForSingleObject(mutex_, static_cast<DWORD>(std::chrono::milliseconds(LockWait).count()));
    owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (waited == WAIT_TIMEOUT) SetLastError(ERROR_LOCK_VIOLATION);
    return owned_;
  }

 private:
  HANDLE mutex_ = nullptr;
  bool owned_ = false;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string& error, std::uintmax_t maxBytes) {
  const Handle file(OpenExisting(path, GENERIC_READ));
  if (!file.valid()) {
    error = Reason(path, Act::Open);
    return std::nullopt;
  }
  return ReadOpenFile(file.get(), path, maxBytes, error);
}

FileResult WriteFileAtomically(const fs::path& path, std::string_view data, FileAccess) {
  return SaveOver(path, FinalTarget(path), data);
}

FileResult UpdateFileAtomically(const fs::path& path, const FileUpdate& update, FileAccess,
                                std::uintmax_t maxBytes) {
  FileResult result;
  const fs::path target = FinalTarget(path);
  UpdateTurn turn(target);
  if (!turn.Take()) {
    result.error = GetLastError() == ERROR_LOCK_VIOLATION
                       ? file_io_internal::Reason(path, Act::Write,
                                                  UiText("FileIo", "another program keeps the file locked"))
                       : Reason(path, Act::Lock);
    return result;
  }
  std::optional<std::string> content;
  {
    const Handle file(OpenExisting(target, GENERIC_READ));
    if (file.valid()) {
      content = ReadOpenFile(file.get(), path, maxBytes, result.error);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
      content.emplace();
    } else {
      result.error = Reason(path, Act::Open);
    }
  }
  if (content) content = update(*content, result.error);
  if (content) result = SaveOver(path, target, *content);
  return result;
}

FileResult CreateFolders(const fs::path& folder, FileAccess) {
  if (folder.empty()) return {true, {}};
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (fs::is_directory(folder)) return {true, {}};
  if (!ec && fs::exists(folder)) ec = std::make_error_code(std::errc::not_a_directory);
  return {false, file_io_internal::Reason(folder, Act::Create, ec ? ec.message() : std::strerror(ENOENT))};
}

NewFile CreateEmptyFile(const fs::path& path, FileAccess, std::string& error) {
  const Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, ShareAll, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) return NewFile::Created;
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return NewFile::NameTaken;
  error = Reason(path, Act::Write);
  return NewFile::Failed;
}

}  // namespace qd

#endif  // _WIN32
