#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/file_io.h"
#include "model/working_config.h"

namespace qd::review {

// One backup of a controller's system data: the image as read and its system file side by side,
// "<serial>_<YYYY-MM-DD>_<HH-MM-SS>.bin" and ".xml" (a "-2", "-3" ... follows the time when one
// second held several reads).
struct Backup {
  std::filesystem::path image;
  std::filesystem::path systemFile;  // empty when only the image is there
  std::uint32_t serial = 0;
  std::string time;  // "YYYY-MM-DD HH:MM:SS"
};

// The name a backup of controller `serial` read at `when` gets, without extension.
std::string BackupBaseName(std::uint32_t serial, const LocalDateTime& when);

// Stores the image `config` holds and its system file in `folder` (created when missing) under a name
// no other backup has, also when other programs store backups at the same time. The files are written
// atomically and private to the user (0600, folders created 0700); on failure the reason is given, in
// English: it is meant for the diagnostic log.
struct StoredBackup {
  FileResult result;
  Backup backup;
};
StoredBackup StoreBackup(const std::filesystem::path& folder, const WorkingConfig& config,
                         const LocalDateTime& when);

// The backups in `folder`, newest first; files with other names and empty images (stores still running or
// cut short) are ignored. A missing folder holds none.
std::vector<Backup> ListBackups(const std::filesystem::path& folder);

}  // namespace qd::review
