#include "app/file_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qd {
namespace {

std::string Reason(const std::filesystem::path& path, const char* what) {
  return "cannot " + std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

constexpr std::size_t TemporaryTagLength = 8;  // hexadecimal digits between the name and ".tmp"

std::filesystem::path TemporaryPathBeside(const std::filesystem::path& path) {
  std::random_device device;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%08x.tmp", device());
  std::filesystem::path temporary = path;
  temporary += suffix;
  return temporary;
}

// Whether `name` is what TemporaryPathBeside gives for a file named `target`.
bool IsTemporaryOf(const std::string& name, const std::string& target) {
  const std::string_view suffix = ".tmp";
  if (name.size() != target.size() + 1 + TemporaryTagLength + suffix.size()) return false;
  if (name.compare(0, target.size(), target) != 0 || name[target.size()] != '.') return false;
  if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
  const std::string_view tag(name.data() + target.size() + 1, TemporaryTagLength);
  return std::all_of(tag.begin(), tag.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// A save that was killed before its rename leaves its temporary file behind; the next good save of the
// same file tidies those up. Failures here do not matter.
void RemoveLeftoverTemporaries(const std::filesystem::path& path) {
  const std::string target = path.filename().string();
  std::error_code ec;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsTemporaryOf(it->path().filename().string(), target)) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string& error) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) {
    error = Reason(path, "open");
    return std::nullopt;
  }
  std::string data;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    data.append(buffer, n);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) {
    error = Reason(path, "read");
    return std::nullopt;
  }
  return data;
}

FileResult WriteFileAtomically(const std::filesystem::path& path, std::string_view data) {
  FileResult result;
  const std::filesystem::path temporary = TemporaryPathBeside(path);
  std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
  if (!file) {
    result.error = Reason(path, "write");
    return result;
  }
  bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size();
  written = written && std::fflush(file) == 0 && SyncToDisk(file);
  if (!written) result.error = Reason(path, "write");
  if (std::fclose(file) != 0 && written) {
    written = false;
    result.error = Reason(path, "write");
  }
  std::error_code ec;
  if (written) {
    std::filesystem::rename(temporary, path, ec);
    if (ec) result.error = "cannot replace " + path.string() + ": " + ec.message();
  }
  if (!written || ec) {
    std::filesystem::remove(temporary, ec);
    return result;
  }
  result.ok = true;
  RemoveLeftoverTemporaries(path);
  return result;
}

}  // namespace qd
