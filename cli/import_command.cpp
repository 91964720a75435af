#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "event_loop.h"
#include "history_commands.h"
#include "store/read_recorder.h"
#include "transport/data_folder.h"

namespace qdtool {

const char* const ImportUsage =
    "usage: qdtool import [BACKUP_FOLDER] [--store WHERE]\n"
    "\n"
    "Records the backups of a folder (default: the backups every read leaves in the user's data folder)\n"
    "in the history store, oldest first: their sites, consumption months, alarms and configuration.\n"
    "Backups recorded before change nothing, so an import may run again at any time. Exits with 1 when\n"
    "a backup could not be recorded.\n";

int RunImport(const std::vector<std::string>& args) {
  const Arguments arguments(args, {StoreOption}, {});
  if (arguments.Help()) {
    std::fputs(ImportUsage, stdout);
    std::fputs(StoreOptionHelp, stdout);
    return 0;
  }
  if (arguments.Positional().size() > 1) throw UsageError("import takes one folder");
  const std::string folder = arguments.Positional().empty() ? qd::transport::BackupFolder().toStdString()
                                                            : arguments.Positional()[0];
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) throw Failure(folder + " is no folder");
  const EventLoopApp app;
  const auto store = OpenStore(arguments);
  const bool terminal = isatty(STDERR_FILENO) != 0;
  const qd::store::ImportResult result =
      qd::store::ImportBackups(*store, folder, [terminal](int done, int count) {
        if (!terminal) return;
        std::fprintf(stderr, "\rimporting %d of %d", done, count);
        if (done == count) std::fputc('\n', stderr);
      });
  for (const QString& failure : result.failures)
    std::fprintf(stderr, "qdtool: %s\n", failure.toStdString().c_str());
  std::printf("%d backups recorded in %s", result.recorded, store->Location().Text().toStdString().c_str());
  if (result.unreadable > 0)
    std::printf(", %d files skipped that are no image this tool reads", result.unreadable);
  std::printf("\n");
  return result.failures.isEmpty() ? 0 : 1;
}

}  // namespace qdtool
