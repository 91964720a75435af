#include <cstdio>

#include "app/text.h"
#include "arguments.h"
#include "review/backups.h"
#include "review_commands.h"
#include "transport/data_folder.h"

namespace qdtool {

const char* const BackupsUsage =
    "usage: qdtool backups [--serial N]\n"
    "\n"
    "Lists the backups every read from a controller leaves in the user's data folder (qdsystem's and\n"
    "qdtool's alike), newest first: the time of the read, the controller's serial number and the\n"
    "system file (or the image, when the system file is missing). Backups are never deleted by the\n"
    "tools. QDSYSTEM_DATA=FOLDER sets another data folder.\n"
    "\n"
    "  --serial N   only the backups of controller N\n";

int RunBackups(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"serial"}, {});
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
  int listed = 0;
  for (const auto& backup : qd::review::ListBackups(folder)) {
    if (serial && backup.serial != *serial) continue;
    const auto& file = backup.systemFile.empty() ? backup.image : backup.systemFile;
    std::printf("%s  %u  %s\n", backup.time.c_str(), static_cast<unsigned>(backup.serial),
                file.string().c_str());
    ++listed;
  }
  if (listed == 0) std::fprintf(stderr, "no backups in %s\n", folder.c_str());
  return 0;
}

}  // namespace qdtool
