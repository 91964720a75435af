#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "json_output.h"
#include "review/backups.h"
#include "review_commands.h"
#include "transport/data_folder.h"

namespace qdtool {

const char* const BackupsUsage =
    "usage: qdtool backups [--serial N] [--json]\n"
    "\n"
    "Lists the backups every read from a controller leaves in the user's data folder (qdsystem's and\n"
    "qdtool's alike), newest first: the time of the read, the controller's serial number and the\n"
    "system file (or the image, when the system file is missing). Backups are never deleted by the\n"
    "tools. QDSYSTEM_DATA=FOLDER sets another data folder.\n"
    "\n"
    "  --serial N   only the backups of controller N\n"
    "  --json       print the folder and the backups as one JSON document instead (see 'man qdtool')\n";

namespace {

void PrintBackupsJson(const std::string& folder, const std::vector<qd::review::Backup>& backups) {
  QJsonArray list;
  for (const auto& backup : backups) {
    list.append(QJsonObject{
        {"time", JsonDateTime(backup.time)},
        {"serial", static_cast<qint64>(backup.serial)},
        {"systemFile", backup.systemFile.empty() ? QJsonValue() : JsonPath(backup.systemFile)},
        {"image", JsonPath(backup.image)},
    });
  }
  PrintJson({{"folder", JsonPath(folder)}, {"backups", list}});
}

}  // namespace

int RunBackups(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"serial"}, {JsonFlag});
  if (arguments.Help()) {
    std::fputs(BackupsUsage, stdout);
    return 0;
  }
  if (!arguments.Positional().empty()) throw UsageError("backups takes no file argument");
  std::optional<std::uint32_t> serial;
  if (const auto text = arguments.Value("serial")) {
    const auto number = qd::ParseWholeNumber(*text);
    if (!number || *number < 0) throw UsageError("--serial takes a serial number");
    serial = static_cast<std::uint32_t>(*number);
  }

  const std::string folder = qd::transport::BackupFolder().toStdString();
  std::vector<qd::review::Backup> backups = qd::review::ListBackups(folder);
  std::erase_if(backups, [&](const auto& backup) { return serial && backup.serial != *serial; });
  if (arguments.Flag(JsonFlag)) {
    PrintBackupsJson(folder, backups);
    return 0;
  }
  for (const auto& backup : backups) {
    const auto& file = backup.systemFile.empty() ? backup.image : backup.systemFile;
    std::printf("%s  %u  %s\n", backup.time.c_str(), static_cast<unsigned>(backup.serial),
                file.string().c_str());
  }
  if (backups.empty()) std::fprintf(stderr, "no backups in %s\n", folder.c_str());
  return 0;
}

}  // namespace qdtool
