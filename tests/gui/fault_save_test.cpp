// Save System to a full disk and to a place that takes no files: one error box naming the file and the
// reason, the old file as it was, and nothing left beside it.

#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>
#include <csignal>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;

namespace {

// While it lives, files of this process cannot grow beyond `bytes` ("disk full", also for root); writes
// beyond fail with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

struct Program : AppFixture {
  ScriptedUser user;

  void Save(const QString& path) {
    user.ChooseFile(path);
    app.Main().SaveSystemBtnClick();
  }
  // The one box shown: an error naming the file, with a reason below.
  void ExpectFailureBox(const QString& path, const QRegularExpression& reason) {
    QCOMPARE(user.Boxes().size(), std::size_t{1});
    const MessageBoxRequest& box = user.Boxes().front();
    QCOMPARE(box.type, DialogType::Error);
    QVERIFY2(box.text.startsWith(QStringLiteral("Unable to save the system file \"%1\".").arg(path)),
             qPrintable(box.text));
    QVERIFY2(box.text.section(QStringLiteral("\n\n"), 1).contains(reason), qPrintable(box.text));
  }
};

}  // namespace

class FaultSaveTest : public QObject {
  Q_OBJECT

 private slots:
  void fullDiskKeepsTheOldFile() {
    Program p;
    const QString path = p.preferences.FolderPath() + QStringLiteral("/laundry.xml");
    p.app.Config().system.SystemName = "Old laundry";
    p.Save(path);
    QVERIFY(p.user.Boxes().empty());
    const QByteArray old = ReadFile(path);
    QVERIFY(old.contains("Old laundry"));

    p.app.Config().system.SystemName = "New laundry";
    {
      const FileSizeLimit full(4096);
      p.Save(path);
    }
    p.ExpectFailureBox(path, QRegularExpression(QStringLiteral("File too large$")));
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(p.preferences.FolderPath()).entryList({QStringLiteral("laundry.xml*")}, QDir::Files),
             QStringList{QStringLiteral("laundry.xml")});

    // With room again the same Save goes through.
    p.Save(path);
    QCOMPARE(p.user.Boxes().size(), std::size_t{1});
    QVERIFY(ReadFile(path).contains("New laundry"));
  }

  void readOnlyPlaceIsReported() {
    // sysfs takes no new files, whoever asks.
    if (!QFile::exists(QStringLiteral("/sys/kernel"))) QSKIP("no sysfs here");
    Program p;
    const QString path = QStringLiteral("/sys/kernel/laundry.xml");
    p.Save(path);
    // sysfs mounted read-write refuses the new file, mounted read-only (containers) refuses any.
    p.ExpectFailureBox(path,
                       QRegularExpression(QStringLiteral("(Permission denied|Read-only file system)$")));
    QVERIFY(!QFile::exists(path));
  }
};

QTEST_MAIN(FaultSaveTest)
#include "fault_save_test.moc"
