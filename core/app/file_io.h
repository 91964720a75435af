#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qd {

struct FileResult {
  bool ok = false;
  std::string error;  // what failed and where, in the desktop tool's language (UiText); empty on success
};

// Who may read the files and folders core creates. Windows has no permission bits: there a file takes the
// access rights of its folder, whichever is asked for.
enum class FileAccess {
  Shared,   // new files 0666 and folders 0777, less the umask
  Private,  // the user's own records (backups, calibrations): new files 0600 and folders 0700; a file
            // written anew also loses any group and other permissions it had
};

// What a whole-file read takes when the caller names no limit.
inline constexpr std::uintmax_t DefaultMaxReadBytes = std::uintmax_t{16} << 20;

// The whole file as bytes, or no value with the reason in `error`. Only a regular file of at most
// `maxBytes` bytes is read: a folder, a device, a FIFO or a larger file is refused without waiting.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error,
                                         std::uintmax_t maxBytes = DefaultMaxReadBytes);

// Writes a temporary file beside the target, flushes it to the disk and renames it over the target:
// the target is always either the old or the new file, never a partial one.
// - A symbolic link is followed: the file it points to is replaced and the link stays.
// - An existing file keeps its permissions (its owner and group too where the process may set them);
//   a read-only one, a folder or a device is refused and left as it is. A new file gets `access`.
// - A good save also removes the temporary files that saves of the same file interrupted more than an
//   hour ago left behind; younger ones may belong to a save still running.
FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view data,
                               FileAccess access = FileAccess::Shared);

// Gives the new content for the old one (empty for a missing file), or no value with the reason in
// `error` to leave the file as it is.
using FileUpdate = std::function<std::optional<std::string>(const std::string& old, std::string& error)>;

// Reads the file, passes its content to `update` and saves the result as WriteFileAtomically does,
// holding an exclusive lock on the file from the read to the rename: programs updating one file at the
// same time this way take turns, and none loses what another wrote. Waits up to 10 s for the lock. (On
// Windows, which does not replace an open file, the lock is a mutex named after the file.)
FileResult UpdateFileAtomically(const std::filesystem::path& path, const FileUpdate& update,
                                FileAccess access = FileAccess::Shared,
                                std::uintmax_t maxBytes = DefaultMaxReadBytes);

// Creates `folder` and the folders above it that are missing; existing ones stay as they are.
FileResult CreateFolders(const std::filesystem::path& folder, FileAccess access = FileAccess::Shared);

// Creates `path` as an empty file unless something has that name already (a dangling link included):
// of several programs creating the same name, exactly one gets Created.
enum class NewFile { Created, NameTaken, Failed };
NewFile CreateEmptyFile(const std::filesystem::path& path, FileAccess access, std::string& error);

}  // namespace qd
