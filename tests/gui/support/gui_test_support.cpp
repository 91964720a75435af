#include "support/gui_test_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSettings>
#include <csignal>

#include "gui/app/main_form.h"
#include "gui/app/preferences.h"
#include "gui/editors/machine_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"

namespace qd::gui::test {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  QDeadlineTimer deadline(limit);
  while (!done()) {
    if (deadline.hasExpired()) return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

TemporaryPreferences::TemporaryPreferences() {
  qputenv(PreferencesFileVariable, FilePath().toLocal8Bit());
  // Backups of reads go to the test's folder, never to the user's.
  qputenv("QDSYSTEM_DATA", DataFolder().toLocal8Bit());
}

TemporaryPreferences::~TemporaryPreferences() {
  qunsetenv(PreferencesFileVariable);
  qunsetenv("QDSYSTEM_DATA");
}

QString TemporaryPreferences::FilePath() const {
  return folder_.filePath(QStringLiteral("preferences.ini"));
}

void TemporaryPreferences::Set(const QString& name, const QVariant& value) {
  QSettings store(FilePath(), QSettings::IniFormat);
  store.setValue(name, value);
}

QVariant TemporaryPreferences::Get(const QString& name) const {
  QSettings store(FilePath(), QSettings::IniFormat);
  return store.value(name);
}

bool TemporaryPreferences::Contains(const QString& name) const {
  QSettings store(FilePath(), QSettings::IniFormat);
  return store.contains(name);
}

ScriptedUser::ScriptedUser() {
  SetMessageBoxAnswerer([this](const MessageBoxRequest& request) {
    boxes_.push_back(request);
    if (!boxAnswers_.empty()) {
      const auto answer = boxAnswers_.front();
      boxAnswers_.erase(boxAnswers_.begin());
      return answer;
    }
    for (int bit = 0; bit < 32; ++bit) {
      const auto button = static_cast<QMessageBox::StandardButton>(1u << bit);
      if (request.buttons.testFlag(button) && button >= QMessageBox::FirstButton) return button;
    }
    return QMessageBox::NoButton;
  });
  SetFileDialogAnswerer([this](const FileDialogRequest& request) {
    fileDialogs_.push_back(request);
    if (fileAnswers_.empty()) return QString();
    const QString answer = fileAnswers_.front();
    fileAnswers_.erase(fileAnswers_.begin());
    return answer;
  });
}

ScriptedUser::~ScriptedUser() {
  SetMessageBoxAnswerer({});
  SetFileDialogAnswerer({});
}

QStringList ScriptedUser::BoxTexts() const {
  QStringList texts;
  for (const auto& box : boxes_)
    texts << box.text;
  return texts;
}

Simulator::Simulator(const QStringList& options, bool gateway) : gateway_(gateway) {
  arguments_ = QStringList{QStringLiteral("--link"), folder_.filePath(QStringLiteral("bus")),
                           QStringLiteral("--clock"), QStringLiteral("off")};
  if (gateway) arguments_ << QStringLiteral("--gateway") << QStringLiteral("0");
  arguments_ << options;
  Start();
}

void Simulator::Start() {
  started_ = false;
  busPath_.clear();
  gatewayAddress_.clear();
  process_.setProgram(QStringLiteral(QD_SIM_PATH));
  process_.setArguments(arguments_);
  process_.start();
  if (!process_.waitForStarted(5000)) {
    errors_ = process_.errorString();
    return;
  }
  QByteArray output;
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    process_.waitForReadyRead(50);
    output += process_.readAllStandardOutput();
    for (const QByteArray& line : output.split('\n')) {
      if (line.startsWith("pty: ")) busPath_ = folder_.filePath(QStringLiteral("bus"));
      if (line.startsWith("gateway: ")) gatewayAddress_ = QString::fromLatin1(line.mid(9)).trimmed();
    }
    if (!busPath_.isEmpty() && (!gateway_ || !gatewayAddress_.isEmpty())) {
      started_ = true;
      return;
    }
    if (process_.state() != QProcess::Running) break;
  }
  errors_ = QString::fromLocal8Bit(process_.readAllStandardError());
}

void Simulator::Kill(int signal) {
  if (process_.state() == QProcess::NotRunning) return;
  ::kill(static_cast<pid_t>(process_.processId()), signal);
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(2000);
  }
  started_ = false;
}

bool Simulator::Restart() {
  Stop();
  Start();
  return started_;
}

Simulator::~Simulator() {
  Stop();
}

void Simulator::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(2000);
  }
}

AppFixture::AppFixture(const QStringList& options) : app(QStringList{QStringLiteral("qdsystem")} + options) {
  app.Main().MainTimer100ms().stop();
  app.Main().FormActivate();
}

void AppFixture::Ticks(int count) {
  for (int i = 0; i < count; ++i)
    app.Main().MainTimer100msTimer();
}

bool AppFixture::OpenPort(const Simulator& sim) {
  TCommunicationForm& comm = app.Communication();
  comm.SetComPortText(sim.BusPath());
  comm.SetLinkMode(true);
  Ticks(qd::link::BusLink::OpenDelayTicks);
  return app.Connection().Port().IsOpen();
}

bool AppFixture::ReadFromController(const Simulator& sim) {
  if (!OpenPort(sim)) return false;
  qd::transport::Connection& link = app.Connection();
  if (!WaitUntil([&link] { return link.LinkReady(); })) return false;
  TEEPROMForm& eeprom = app.Eeprom();
  eeprom.show();
  eeprom.ReadBtnClick();
  const bool read = WaitUntil(
      [&eeprom] {
        return eeprom.StatusPanelText(TEEPROMForm::TransferPanel) == QStringLiteral("Read completed");
      },
      std::chrono::seconds(60));
  eeprom.close();
  return read;
}

QList<QWidget*> EveryWindow(App& app) {
  {
    ScriptedUser user;
    user.ChooseFile(TestDataPath(QStringLiteral("sample_system.xml")));
    app.Main().LoadSystemBtnClick();
  }
  TMachineForm& machine = app.Machine(0);
  machine.TriggerForm();
  machine.ProgramEditor(0);
  app.SystemSetup(), app.Calibration(), app.Eeprom(), app.CopyMachine(), app.About();
  app.CommunicationError(), app.FirmwareUpdate(), app.LogData(), app.RemoteLogin();
  app.AlarmLog(), app.Compare(), app.ServiceReport(), app.Sites();
  QList<QWidget*> windows = QApplication::topLevelWidgets();
  windows.removeIf(
      [](const QWidget* w) { return w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip; });
  return windows;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TestDataPath(const QString& name) {
  return QStringLiteral(QD_TEST_DATA_DIR) + QLatin1Char('/') + name;
}

}  // namespace qd::gui::test
