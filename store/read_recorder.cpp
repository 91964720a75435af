#include "store/read_recorder.h"

#include <algorithm>

#include "app/file_io.h"
#include "history/site_read.h"
#include "review/backups.h"

namespace qd::store {

QString RecordRead(const ControllerImage& image, const LocalDateTime& when, const QString& given) {
  const std::optional<history::ReadRecord> read = history::RecordOfRead(image, when.Text());
  if (!read) return QStringLiteral("the image read is not one the history store takes");
  QString error;
  const std::optional<StoreLocation> location = ChosenStoreLocation(given, error);
  if (!location) return error;
  const std::unique_ptr<HistoryStore> store = HistoryStore::Open(*location, error);
  if (!store) return error;
  if (!store->Record(*read, error))
    return QStringLiteral("the history store %1 did not take the read: %2").arg(location->Text(), error);
  return {};
}

ImportResult ImportBackups(HistoryStore& store, const std::filesystem::path& folder,
                           const std::function<void(int done, int count)>& progress) {
  std::vector<review::Backup> backups = review::ListBackups(folder);
  std::reverse(backups.begin(), backups.end());
  ImportResult result;
  const int count = static_cast<int>(backups.size());
  for (int k = 0; k < count; ++k) {
    const review::Backup& backup = backups[static_cast<std::size_t>(k)];
    const QString name = QString::fromStdString(backup.image.filename().string());
    std::string ignored;
    const std::optional<std::string> bytes = ReadWholeFile(backup.image, ignored, layout::ImageSize);
    std::optional<history::ReadRecord> read;
    if (bytes && bytes->size() == layout::ImageSize) {
      ControllerImage image;
      std::copy(bytes->begin(), bytes->end(), image.bytes.begin());
      read = history::RecordOfRead(image, backup.time);
    }
    if (!read) {
      ++result.unreadable;
    } else if (QString error; store.Record(*read, error)) {
      ++result.recorded;
    } else {
      result.failures << name + QStringLiteral(": ") + error;
    }
    if (progress) progress(k + 1, count);
  }
  return result;
}

}  // namespace qd::store
