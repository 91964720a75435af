#include "gui/firmware/firmware_update_form.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <array>

#include "gui/app/app.h"
#include "gui/app/main_form.h"
#include "gui/link/communication_form.h"
#include "support/gui_test_support.h"

using namespace qd::gui;
using namespace qd::gui::test;
using qd::firmware::FirmwareState;
using Target = TFirmwareUpdateForm::Target;

Q_DECLARE_METATYPE(Target)

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString FirmwareFile(const char* name) {
  return TestDataPath(QStringLiteral("firmware/") + QString::fromLatin1(name));
}

// firmware.hex holds firmware.bin at address 0.
const QByteArray& FirmwareBin() {
  static const QByteArray bin = ReadFile(FirmwareFile("firmware.bin"));
  return bin;
}

// The last byte of firmware.bin that is not 0xFF: where the code ends once the trailing 0xFF are trimmed.
int LastCodeByte() {
  const QByteArray& bin = FirmwareBin();
  int last = static_cast<int>(bin.size()) - 1;
  while (last > 0 && static_cast<quint8>(bin[last]) == 0xFF)
    --last;
  return last;
}

// The window on a program whose timer the test drives, the user's boxes and dialogs scripted.
struct Program : AppFixture {
  ScriptedUser user;
  TFirmwareUpdateForm& window = app.FirmwareUpdate();

  template <typename T>
  T* Control(const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
  }
  QString Text(const char* label) { return Control<QLabel>(label)->text(); }
  QString State() { return Text("StateLabel"); }
  bool Shown(const char* label) { return Control<QLabel>(label)->isVisibleTo(&window); }

  void Load(const QString& path) {
    Control<QComboBox>("FileNameComboBox")->setCurrentText(path);
    QTest::mouseClick(Control<QPushButton>("LoadBtn"), Qt::LeftButton);
  }
  // Bytes as the link receives them from the bus.
  void Receive(std::initializer_list<std::uint8_t> bytes) {
    app.Connection().Link().Receive(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
  }
};

}  // namespace

class FirmwareUpdateFormTest : public QObject {
  Q_OBJECT

 private slots:
  void menuTargetsSetCaptionAndImageSize() {
    Program p;
    p.window.ShowFor(Target::Controller);
    QCOMPARE(p.window.windowTitle(), QStringLiteral("Firmware update, QD310."));
    p.Load(FirmwareFile("firmware.hex"));
    // 699 bytes of 64512.
    QCOMPARE(
        p.Text("CodeUsedLabel2"),
        QStringLiteral("%1% (%2 bytes)").arg(LastCodeByte() * 100.0 / 0xFC00, 0, 'f', 1).arg(LastCodeByte()));

    p.window.ShowFor(Target::Trigger);
    QCOMPARE(p.window.windowTitle(), QStringLiteral("Firmware update, QD520 / QD740 trigger."));
    // The other target starts without a loaded file.
    QVERIFY(!p.Shown("CodeUsedLabel2"));
    QCOMPARE(p.State(), QString());
    p.Load(FirmwareFile("firmware.hex"));
    QCOMPARE(
        p.Text("CodeUsedLabel2"),
        QStringLiteral("%1% (%2 bytes)").arg(LastCodeByte() * 100.0 / 0x3800, 0, 'f', 1).arg(LastCodeByte()));
    // Blocks of 128: the progress runs to the code end rounded up to 128.
    QCOMPARE(p.Control<QProgressBar>("ProgressBar")->maximum(), (LastCodeByte() + 127) & 0xFF80);
  }

  void loadFillsTheLabelsAndRemembersTheFile() {
    Program p;
    p.window.ShowFor(Target::Controller);
    for (const char* label : {"FileDateLabel1", "FileDateLabel2", "CodeStartLabel1", "CodeStartLabel2",
                              "CodeEndLabel2", "CodeUsedLabel2", "CodeChecksumLabel1", "CodeChecksumLabel2"})
      QVERIFY2(!p.Shown(label), label);
    const QString path = FirmwareFile("firmware.hex");
    p.user.ChooseFile(path);
    QTest::mouseClick(p.Control<QPushButton>("FileNameBtn"), Qt::LeftButton);
    QCOMPARE(p.user.FileDialogs().size(), std::size_t{1});
    QCOMPARE(p.user.FileDialogs()[0].title, QStringLiteral("Firmware update"));
    QCOMPARE(p.user.FileDialogs()[0].filter,
             QStringLiteral("Firmware file (*.hex)|*.hex|Any file (*.*)|*.*"));

    QCOMPARE(p.State(), QStringLiteral("File loaded"));
    QVERIFY(p.user.Boxes().empty());
    const int end = LastCodeByte();
    QCOMPARE(p.Text("CodeStartLabel2"), QStringLiteral("0000h (0d)"));
    const QString endHex = QStringLiteral("%1").arg(end, 4, 16, QLatin1Char('0')).toUpper();
    QCOMPARE(p.Text("CodeEndLabel2"), QStringLiteral("%1h (%2d)").arg(endHex).arg(end));
    // The check sum covers the whole program memory from the code start, 0xFF where the file has no data.
    unsigned sum = 0;
    for (const char byte : FirmwareBin())
      sum += static_cast<quint8>(byte);
    sum = (sum + (0xFC00 - static_cast<unsigned>(FirmwareBin().size())) * 0xFF) & 0xFFFF;
    QCOMPARE(p.Text("CodeChecksumLabel2"),
             QStringLiteral("%1").arg(sum, 4, 16, QLatin1Char('0')).toUpper() + QLatin1Char('h'));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{1,2}-\\d{1,2}-\\d{4}  \\d{1,2}:\\d\\d:\\d\\d$"))
                .match(p.Text("FileDateLabel2"))
                .hasMatch());
    for (const char* label :
         {"FileDateLabel2", "CodeStartLabel2", "CodeEndLabel1", "CodeUsedLabel2", "CodeChecksumLabel2"})
      QVERIFY2(p.Shown(label), label);
    QCOMPARE(p.Control<QProgressBar>("ProgressBar")->maximum(), (end + 255) & 0xFF00);
    QCOMPARE(p.window.LastFirmwareFile(), path);

    // Shown again: the last file is offered, nothing is loaded yet.
    p.window.close();
    p.Control<QComboBox>("FileNameComboBox")->setCurrentText(QString());
    p.window.ShowFor(Target::Controller);
    QCOMPARE(p.Control<QComboBox>("FileNameComboBox")->currentText(), path);
    QVERIFY(!p.Shown("CodeEndLabel2"));
    QCOMPARE(p.State(), QString());
  }

  void lastFileComesFromThePreferences() {
    TemporaryPreferences preferences;
    const QString path = FirmwareFile("firmware_split.hex");
    preferences.Set(QStringLiteral("LastSystemFileName"), QStringLiteral("system.xml"));
    preferences.Set(QStringLiteral("CommLocal"), 1);
    preferences.Set(QStringLiteral("LastFirmwareFile1"), path);
    App app(QStringList{QStringLiteral("qdsystem")});
    app.Main().MainTimer100ms().stop();
    app.Main().FormActivate();
    app.FirmwareUpdate().ShowFor(Target::Controller);
    QCOMPARE(app.FirmwareUpdate().findChild<QComboBox*>(QStringLiteral("FileNameComboBox"))->currentText(),
             path);
  }

  void brokenFilesAreReportedAndCannotBeStarted() {
    QTemporaryDir folder;
    const QString broken = folder.filePath(QStringLiteral("broken.hex"));
    QByteArray text = ReadFile(FirmwareFile("firmware.hex"));
    text.replace(":1000100052BECC339DBD94F12F981AD02FE4F4AA90",
                 ":1000100052BECC339DBD94F12F981AD02FE4F4AA91");
    WriteFile(broken, text);
    Program p;
    p.window.ShowFor(Target::Controller);

    p.Load(folder.filePath(QStringLiteral("missing.hex")));
    QCOMPARE(p.user.BoxTexts(), QStringList{QStringLiteral("Unable to open Intel hex file.")});
    QCOMPARE(p.user.Boxes().back().type, DialogType::Error);
    QVERIFY(!p.Shown("FileDateLabel2"));

    // A good load, then a broken one: the half-overwritten image is neither shown nor programmed.
    p.Load(FirmwareFile("firmware.hex"));
    p.Load(broken);
    QCOMPARE(p.user.BoxTexts().last(), QStringLiteral("Extended Intel-hex: Check sum error."));
    QVERIFY(p.Shown("FileDateLabel2"));
    QVERIFY(!p.Shown("CodeEndLabel2"));
    QVERIFY(p.State() != QStringLiteral("File loaded"));
    QCOMPARE(p.window.LastFirmwareFile(), FirmwareFile("firmware.hex"));
    QTest::keyClick(&p.window, Qt::Key_F9);
    // Start loads the file again, which fails again.
    QCOMPARE(p.user.BoxTexts().size(), 3);
    QCOMPARE(p.window.Loader().State(), FirmwareState::Idle);
    QCOMPARE(p.State(), QString());

    // The trigger modules' memory ends at 3800h: a file with data only above it holds nothing for them.
    const QString high = folder.filePath(QStringLiteral("high.hex"));
    WriteFile(high, ":020000040001F9\n:0400100001020304E2\n:00000001FF\n");
    p.window.ShowFor(Target::Trigger);
    p.Load(high);
    QVERIFY(p.user.BoxTexts().last().startsWith(QStringLiteral("Extended Intel-hex: No data records")));
    QTest::mouseClick(p.Control<QPushButton>("StartBtn"), Qt::LeftButton);
    QCOMPARE(p.window.Loader().State(), FirmwareState::Idle);
  }

  void programsTheTargetEndToEnd_data() {
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("imageSize");
    QTest::newRow("controller") << Target::Controller << 0xFC00;
    QTest::newRow("trigger") << Target::Trigger << 0x3800;
  }

  void programsTheTargetEndToEnd() {
    QFETCH(Target, target);
    QFETCH(int, imageSize);
    QTemporaryDir folder;
    const QString dump = folder.filePath(QStringLiteral("firmware.bin"));
    Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--dump-firmware"), dump});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.OpenPort(sim));
    QVERIFY(WaitUntil([&] { return p.app.Connection().LinkReady(); }));
    p.window.ShowFor(target);
    p.Control<QComboBox>("FileNameComboBox")->setCurrentText(FirmwareFile("firmware.hex"));
    const int syncs = p.app.Connection().Link().Counters().syncCount;

    // F9 with nothing loaded loads the file first.
    QTest::keyClick(&p.window, Qt::Key_F9);
    QCOMPARE(p.State(), QStringLiteral("Started, waiting..."));
    QVERIFY(p.Shown("CodeEndLabel2"));
    QVERIFY(!p.Control<QPushButton>("LoadBtn")->isEnabled());
    QVERIFY(WaitUntil([&] { return p.State() == QStringLiteral("Completed, OK."); }));
    QCOMPARE(p.window.Loader().State(), FirmwareState::Idle);
    QVERIFY(!p.window.Loader().ProgrammingActive());
    auto* progress = p.Control<QProgressBar>("ProgressBar");
    QCOMPARE(progress->value(), progress->maximum());
    QVERIFY(p.Control<QPushButton>("LoadBtn")->isEnabled());

    // The controller polls again after its loader ended, and the link, no longer dropping frames, answers.
    QVERIFY(WaitUntil([&] { return p.app.Connection().Link().Counters().syncCount > syncs; }));

    sim.Stop();
    const QByteArray programmed = ReadFile(dump);
    QCOMPARE(programmed.size(), imageSize);
    QByteArray expected(imageSize, static_cast<char>(0xFF));
    expected.replace(0, static_cast<qsizetype>(FirmwareBin().size()), FirmwareBin());
    QVERIFY(programmed == expected);
    QVERIFY(p.user.Boxes().empty());
  }

  void silentLoaderTimesOut() {
    Simulator sim(
        {QStringLiteral("--no-pacing"), QStringLiteral("--loader-fault"), QStringLiteral("silent")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.OpenPort(sim));
    p.window.ShowFor(Target::Trigger);
    p.Load(FirmwareFile("firmware.hex"));
    QTest::mouseClick(p.Control<QPushButton>("StartBtn"), Qt::LeftButton);
    QCOMPARE(p.State(), QStringLiteral("Started, waiting..."));
    p.Ticks(qd::firmware::BootLoader::StartLimitTicks - 1);
    QCOMPARE(p.State(), QStringLiteral("Started, waiting..."));
    p.Ticks(1);
    QCOMPARE(p.State(), QStringLiteral("Timeout error!"));
    QCOMPARE(p.window.Loader().State(), FirmwareState::Idle);
    // The loaded file may be started again.
    QTest::keyClick(&p.window, Qt::Key_F9);
    QCOMPARE(p.State(), QStringLiteral("Started, waiting..."));
    QVERIFY(p.user.Boxes().empty());
  }

  void checksumVerdictIsShown() {
    Simulator sim(
        {QStringLiteral("--no-pacing"), QStringLiteral("--loader-fault"), QStringLiteral("checksum")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.OpenPort(sim));
    QVERIFY(WaitUntil([&] { return p.app.Connection().LinkReady(); }));
    p.window.ShowFor(Target::Controller);
    p.Load(FirmwareFile("firmware.hex"));
    QTest::keyClick(&p.window, Qt::Key_F9);
    QVERIFY(WaitUntil([&] {
      return p.State() != QStringLiteral("Started, waiting...") &&
             p.State() != QStringLiteral("Programming...");
    }));
    QCOMPARE(p.State(), QStringLiteral("Checksum error"));
    QVERIFY(!p.window.Loader().ProgrammingActive());
  }

  void minimisingDuringProgrammingLetsTheUpdateComplete() {
    Simulator sim({QStringLiteral("--no-pacing")});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    QVERIFY(p.OpenPort(sim));
    QVERIFY(WaitUntil([&] { return p.app.Connection().LinkReady(); }));
    p.window.ShowFor(Target::Trigger);
    p.Load(FirmwareFile("firmware.hex"));
    QTest::keyClick(&p.window, Qt::Key_F9);
    QVERIFY(WaitUntil([&] { return p.window.Loader().ProgrammingActive(); }));
    p.window.showMinimized();
    QVERIFY(p.window.Loader().ProgrammingActive());
    p.window.showNormal();
    QVERIFY(WaitUntil([&] { return p.State() == QStringLiteral("Completed, OK."); }));
    // Restored, the window still shows the file it programmed.
    QVERIFY(p.Shown("CodeEndLabel2"));
  }

  void startInRemoteModeNeverReachesTheControllerLater() {
    QTemporaryDir folder;
    const QString dump = folder.filePath(QStringLiteral("firmware.bin"));
    Simulator sim({QStringLiteral("--no-pacing"), QStringLiteral("--dump-firmware"), dump});
    QVERIFY2(sim.Running(), qPrintable(sim.Errors()));
    Program p;
    p.app.Communication().SetLinkMode(false);
    p.window.ShowFor(Target::Controller);
    p.Load(FirmwareFile("firmware.hex"));
    QTest::keyClick(&p.window, Qt::Key_F9);
    QCOMPARE(p.State(), QStringLiteral("Started, waiting..."));

    // Back to the bus before the update timed out: it ends, and its start request goes nowhere.
    QVERIFY(p.OpenPort(sim));
    QCOMPARE(p.State(), QStringLiteral("Timeout error!"));
    QVERIFY(WaitUntil([&] { return p.app.Connection().LinkReady(); }));
    const int heard = p.app.Connection().Link().Counters().framesHeard;
    QVERIFY(WaitUntil([&] { return p.app.Connection().Link().Counters().framesHeard > heard + 20; }));
    sim.Stop();
    QVERIFY2(!QFile::exists(dump), "the controller's boot loader ran");
  }

  void loaderBytesReachTheWindowOnlyWhileItIsShown() {
    Program p;
    p.window.ShowFor(Target::Trigger);
    p.Load(FirmwareFile("firmware.hex"));
    QTest::keyClick(&p.window, Qt::Key_F9);
    // A byte inside a frame is not the loader's; a lone one outside is.
    p.Receive({0x02, 0x16, 0x03});
    QCOMPARE(p.window.Loader().State(), FirmwareState::WaitingForLoader);
    p.Receive({0x16});
    QCOMPARE(p.State(), QStringLiteral("Programming..."));
    QVERIFY(p.window.Loader().ProgrammingActive());

    // Esc does not abandon a running update; closing the window does, and gives the link back.
    QTest::keyClick(&p.window, Qt::Key_Escape);
    QVERIFY(p.window.isVisible());
    QCOMPARE(p.window.Loader().State(), FirmwareState::SendingBlocks);
    p.window.close();
    QVERIFY(!p.window.isVisible());
    QCOMPARE(p.window.Loader().State(), FirmwareState::Idle);
    QVERIFY(!p.window.Loader().ProgrammingActive());

    // The time-out is not left running into the next showing.
    p.window.ShowFor(Target::Trigger);
    QCOMPARE(p.State(), QString());
    QCOMPARE(p.window.Loader().TimeoutLeft(), 0);
  }
};

QTEST_MAIN(FirmwareUpdateFormTest)
#include "firmware_update_form_test.moc"
