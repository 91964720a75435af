#include "review/backups.h"

#include <algorithm>
#include <system_error>

#include "app/text.h"
#include "app/translation.h"
#include "model/system_file.h"

namespace qd::review {
namespace {

namespace fs = std::filesystem;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<serial>_YYYY-MM-DD_HH-MM-SS" with an optional "-N": the serial and the time as "YYYY-MM-DD HH:MM:SS".
bool ParseBaseName(std::string_view name, Backup& backup) {
  const std::size_t underscore = name.find('_');
  if (underscore == std::string_view::npos) return false;
  const std::string_view serial = name.substr(0, underscore);
  const std::string_view stamp = name.substr(underscore + 1);
  constexpr std::size_t StampSize = 19;  // YYYY-MM-DD_HH-MM-SS
  if (!AllDigits(serial) || serial.size() > 10 || stamp.size() < StampSize) return false;
  const std::string_view suffix = stamp.substr(StampSize);
  if (!suffix.empty() && (suffix[0] != '-' || !AllDigits(suffix.substr(1)))) return false;
  std::string time(stamp.substr(0, StampSize));
  time[10] = ' ';
  time[13] = time[16] = ':';
  LocalDateTime parsed;
  if (!LocalDateTime::Parse(time, parsed)) return false;
  const std::uint64_t number = std::stoull(std::string(serial));
  if (number > 0xFFFFFFFFu) return false;
  backup.serial = static_cast<std::uint32_t>(number);
  backup.time = time;
  return true;
}

}  // namespace

std::string BackupBaseName(std::uint32_t serial, const LocalDateTime& when) {
  return Format("%u_%04d-%02d-%02d_%02d-%02d-%02d", serial, when.year, when.month, when.day, when.hour,
                when.minute, when.second);
}

StoredBackup StoreBackup(const fs::path& folder, const WorkingConfig& config, const LocalDateTime& when) {
  // A failed backup is reported to the diagnostic log only, which stays English.
  const SourceTextScope english;
  StoredBackup stored;
  stored.result = CreateFolders(folder, FileAccess::Private);
  if (!stored.result.ok) return stored;

  // A name is ours once its image file is created empty: of two programs storing at the same time,
  // each gets a name of its own. The image is then written over the empty file.
  constexpr int MaxNumber = 10000;
  const std::string base = BackupBaseName(config.image.SerialNumber(), when);
  std::string name = base;
  for (int n = 2;; ++n) {
    std::error_code error;
    if (!fs::exists(folder / (name + ".xml"), error)) {
      std::string reason;
      const NewFile reserved = CreateEmptyFile(folder / (name + ".bin"), FileAccess::Private, reason);
      if (reserved == NewFile::Created) break;
      if (reserved == NewFile::Failed) {
        stored.result = {false, reason};
        return stored;
      }
    }
    if (n > MaxNumber) {
      stored.result = {
          false, "cannot store a backup in " + folder.string() + ": every name of " + base + " is taken"};
      return stored;
    }
    name = base + "-" + std::to_string(n);
  }

  Backup& backup = stored.backup;
  backup.image = folder / (name + ".bin");
  backup.systemFile = folder / (name + ".xml");
  ParseBaseName(name, backup);
  const auto& bytes = config.image.bytes;
  stored.result = WriteFileAtomically(
      backup.image, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
      FileAccess::Private);
  if (!stored.result.ok) {
    std::error_code ignored;
    fs::remove(backup.image, ignored);
    return stored;
  }
  stored.result = WriteFileAtomically(backup.systemFile, SystemFileText(config), FileAccess::Private);
  return stored;
}

std::vector<Backup> ListBackups(const fs::path& folder) {
  std::vector<Backup> backups;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    if (path.extension() != ".bin" || !it->is_regular_file(error)) continue;
    // An empty image is a store still running or one that was cut short.
    std::error_code sizeError;
    if (it->file_size(sizeError) == 0 || sizeError) continue;
    Backup backup;
    if (!ParseBaseName(path.stem().string(), backup)) continue;
    backup.image = path;
    fs::path systemFile = path;
    systemFile.replace_extension(".xml");
    if (fs::exists(systemFile, error)) backup.systemFile = systemFile;
    backups.push_back(std::move(backup));
  }
  std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
    if (a.time != b.time) return a.time > b.time;
    return a.image.filename().string() > b.image.filename().string();
  });
  return backups;
}

}  // namespace qd::review
