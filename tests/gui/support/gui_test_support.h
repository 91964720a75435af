#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "gui/app/app.h"
#include "gui/app/file_dialog.h"
#include "gui/app/message_dialog.h"

namespace qd::gui::test {

// Runs the event loop until done() holds or the limit has passed; gives done(). For waiting on bytes
// from the simulator, never on a time-out of the program (tests drive the 100 ms ticks themselves).
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// A fresh preference store for one test: QDSYSTEM_SETTINGS points at an INI file in a temporary
// folder, and QDSYSTEM_DATA at a data folder beside it. Values may be set before the App is created.
class TemporaryPreferences {
 public:
  TemporaryPreferences();
  ~TemporaryPreferences();
  QString FilePath() const;
  void Set(const QString& name, const QVariant& value);
  QVariant Get(const QString& name) const;
  bool Contains(const QString& name) const;
  QString FolderPath() const { return folder_.path(); }
  // The user's data folder while the preferences live (QDSYSTEM_DATA).
  QString DataFolder() const { return folder_.filePath(QStringLiteral("data")); }

 private:
  QTemporaryDir folder_;
};

// Answers message boxes and file dialogs instead of a user and records what was asked. Answers are
// taken in order; when none is left a box is answered with its first button and a file dialog with
// Cancel. Uninstalls itself when destroyed.
class ScriptedUser {
 public:
  ScriptedUser();
  ~ScriptedUser();

  void AnswerBoxWith(QMessageBox::StandardButton button) { boxAnswers_.push_back(button); }
  void ChooseFile(const QString& path) { fileAnswers_.push_back(path); }

  const std::vector<MessageBoxRequest>& Boxes() const { return boxes_; }
  const std::vector<FileDialogRequest>& FileDialogs() const { return fileDialogs_; }
  // The texts of the boxes shown, in order.
  QStringList BoxTexts() const;

 private:
  std::vector<QMessageBox::StandardButton> boxAnswers_;
  std::vector<QString> fileAnswers_;
  std::vector<MessageBoxRequest> boxes_;
  std::vector<FileDialogRequest> fileDialogs_;
};

// qd310sim on a pseudo-terminal (and, when asked, as a gateway on a free loopback port), ended when
// the object goes.
class Simulator {
 public:
  // Starts the simulator with the given options on top of "--link <folder>/bus --clock off"; waits
  // (bounded) until it reports its bus (and gateway).
  explicit Simulator(const QStringList& options = {}, bool gateway = false);
  ~Simulator();

  bool Running() const { return started_; }
  QString BusPath() const { return busPath_; }
  QString GatewayAddress() const { return gatewayAddress_; }  // HOST:PORT
  // Ends the simulator; its dump files are written then.
  void Stop();
  // Ends the simulator with `signal` and waits until it is gone: SIGKILL pulls the adapter out (the
  // pseudo-terminal closes, the link path is left dangling), SIGTERM ends it cleanly.
  void Kill(int signal);
  // Starts it again with the same options on the same bus path (a new gateway port); true once it
  // reports its bus (and gateway).
  bool Restart();
  QString Errors() const { return errors_; }

 private:
  void Start();

  QTemporaryDir folder_;
  QProcess process_;
  QStringList arguments_;
  bool gateway_ = false;
  QString busPath_;
  QString gatewayAddress_;
  QString errors_;
  bool started_ = false;
};

// The program as the window tests use it: preferences in a temporary file, the first activation done,
// and the main timer stopped so that the test drives the 100 ms ticks itself.
class AppFixture {
 public:
  // `options` follow the program name on the command line.
  explicit AppFixture(const QStringList& options = {});
  virtual ~AppFixture() = default;

  // `count` ticks of the main timer, with all their periodic work.
  void Ticks(int count);
  // Local mode on the simulator's bus; true once the port opened after the open delay.
  bool OpenPort(const Simulator& sim);
  // Opens the port and reads the simulated controller's memory through the read/write window; true once
  // the read completed.
  bool ReadFromController(const Simulator& sim);

  TemporaryPreferences preferences;
  App app;
};

// Loads the sample system and creates every window of the program (machine 1 with its trigger window and
// first program editor), none shown; gives the program's windows (not its menus and other popups).
QList<QWidget*> EveryWindow(App& app);

// A whole file's bytes, or nothing when it cannot be read.
QByteArray ReadFile(const QString& path);

// The path of a file in tests/data.
QString TestDataPath(const QString& name);

}  // namespace qd::gui::test
