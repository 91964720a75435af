#pragma once

#include <QObject>
#include <functional>

#include "model/working_config.h"
#include "review/backups.h"

namespace qd::gui {

// Stores a backup of what a read took in (a copy of `config`) in the backup folder and records the read
// in the history store, on a worker thread, so a transfer never waits for the disk or the database;
// `done` runs on `context`'s thread afterwards (not at all when `context` is gone by then). Failures are
// written to the diagnostic log.
void StoreBackupInBackground(const qd::WorkingConfig& config, QObject* context,
                             std::function<void(const qd::review::StoredBackup&)> done = {});

}  // namespace qd::gui
