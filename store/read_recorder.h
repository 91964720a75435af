#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

#include "model/controller_image.h"
#include "model/working_config.h"
#include "store/history_store.h"

namespace qd::store {

// Records a read image taken in at `when` in the store `given` names (qdtool --store), else in the one
// the preferences name, else in the user's SQLite store. Empty on success, else why not, in English (for
// standard error and the diagnostic log: a store that fails never fails the read).
QString RecordRead(const ControllerImage& image, const LocalDateTime& when, const QString& given = {});

// What an import of backups did.
struct ImportResult {
  int recorded = 0;
  int unreadable = 0;    // files that are no image the tool reads
  QStringList failures;  // "NAME: why"
};

// Records every backup in `folder`, oldest first; `progress` hears of each (done, count). Backups
// recorded before change nothing.
ImportResult ImportBackups(HistoryStore& store, const std::filesystem::path& folder,
                           const std::function<void(int done, int count)>& progress = {});

}  // namespace qd::store
