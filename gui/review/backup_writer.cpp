#include "gui/review/backup_writer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThreadPool>
#include <memory>

#include "app/diagnostic_log.h"
#include "gui/app/file_dialog.h"
#include "gui/review/read_recorded.h"
#include "store/read_recorder.h"
#include "transport/data_folder.h"

namespace qd::gui {

void StoreBackupInBackground(const qd::WorkingConfig& config, QObject* context,
                             std::function<void(const qd::review::StoredBackup&)> done) {
  auto copy = std::make_shared<const qd::WorkingConfig>(config);
  const std::filesystem::path folder = PathOf(qd::transport::BackupFolder());
  const qd::LocalDateTime when = qd::LocalDateTime::Now();
  QPointer<QObject> receiver(context);
  QThreadPool::globalInstance()->start([copy, folder, when, receiver, done = std::move(done)] {
    const qd::review::StoredBackup stored = qd::review::StoreBackup(folder, *copy, when);
    const std::string recorded = qd::store::RecordRead(copy->image, when).toStdString();
    // The log and the windows belong to the main thread.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [receiver, done, stored, recorded] {
          if (!stored.result.ok)
            DiagnosticLog::Instance().Write("Backup failed: %s", stored.result.error.c_str());
          if (!recorded.empty()) {
            DiagnosticLog::Instance().Write("History store: %s", recorded.c_str());
          } else {
            emit ReadRecordedNotifier::Instance().ReadRecorded();
          }
          if (done && receiver) done(stored);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace qd::gui
