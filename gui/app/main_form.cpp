#include "gui/app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>

#include "app/diagnostic_log.h"
#include "gui/app/about_form.h"
#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/file_dialog.h"
#include "gui/app/language_menu.h"
#include "gui/app/login_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/preferences.h"
#include "gui/app/text_codec.h"
#include "gui/editors/calibration_form.h"
#include "gui/editors/copy_machine_form.h"
#include "gui/editors/machine_form.h"
#include "gui/editors/system_setup_form.h"
#include "gui/firmware/firmware_update_form.h"
#include "gui/history/sites_form.h"
#include "gui/link/communication_form.h"
#include "gui/link/eeprom_form.h"
#include "gui/logs/alarm_log_form.h"
#include "gui/logs/log_data_form.h"
#include "gui/review/compare_form.h"
#include "gui/review/service_report_form.h"
#include "model/system_commands.h"
#include "model/system_file.h"

namespace qd::gui {
namespace {

constexpr int DesignWidth = 1000;

qd::DiagnosticLogPlace LogPlace() {
  return {PathOf(QCoreApplication::applicationFilePath()),
          PathOf(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))};
}

}  // namespace

TMainForm::TMainForm(App& app, const QStringList& arguments) : app_(app) {
  setObjectName(QStringLiteral("MainForm"));
  lastSystemFileName_.clear();
  qd::StartApplicationLog(LogPlace(), VersionMajor, VersionMinor);
  ParseOptions(arguments);
  CreateMenus();
  CreateStatusBar();
  setCentralWidget(new QWidget(this));
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TMainForm::ConfigChanged);
  // A strip of menus and status panels, wide enough for every menu entry.
  ensurePolished();
  resize(std::max(DesignWidth, menuBar()->sizeHint().width()), minimumSizeHint().height());
  PlaceAtTopCentre();

  mainTimer_.setObjectName(QStringLiteral("MainTimer100ms"));
  mainTimer_.setInterval(100);
  connect(&mainTimer_, &QTimer::timeout, this, &TMainForm::MainTimer100msTimer);
  mainTimer_.start();
}

TMainForm::~TMainForm() = default;

void TMainForm::ParseOptions(const QStringList& arguments) {
  setupMode_ = false;
  masterLoginMode_ = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("QD310setup")) setupMode_ = true;
    if (arguments[i] == QLatin1String("MasterLogin")) masterLoginMode_ = true;
  }
  app_.Config().masterLoginMode = masterLoginMode_;
}

void TMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  const auto addAction = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
  };

  QMenu* file = bar->addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("FileBtn"));
  addAction(file, "LoginBtn", tr("Login..."), [this] { LoginBtnClick(); });
  addAction(file, "NewSystemBtn", tr("New System..."), [this] { NewSystemBtnClick(); });
  addAction(file, "LoadSystemBtn", tr("Load System..."), [this] { LoadSystemBtnClick(); });
  addAction(file, "SaveSystemBtn", tr("Save System..."), [this] { SaveSystemBtnClick(); });
  addAction(file, "FirmwareUpdateQD310Btn", tr("Firmware update, QD310..."),
            [this] { app_.FirmwareUpdate().ShowFor(TFirmwareUpdateForm::Target::Controller); });
  addAction(file, "FirmwareUpdateTriggerBtn", tr("Firmware update, Trigger..."),
            [this] { app_.FirmwareUpdate().ShowFor(TFirmwareUpdateForm::Target::Trigger); });
  addAction(file, "PrintServiceReportBtn", tr("Print service report..."),
            [this] { app_.ServiceReport().ShowForm(); });
  addAction(file, "ExitBtn", tr("Exit"), [this] { close(); });

  QMenu* setup = bar->addMenu(tr("&System"));
  setup->setObjectName(QStringLiteral("SetupBtn"));
  addAction(setup, "ReadWriteSystemDataBtn", tr("Read/write system data..."),
            [this] { ShowWindow(app_.Eeprom()); });
  addAction(setup, "Systemsetup1", tr("System setup..."), [this] { ShowSystemSetup(); });
  addAction(setup, "Communication1", tr("Communication..."), [this] { ShowWindow(app_.Communication()); });
  addAction(setup, "LogDataBtn", tr("Log data..."), [this] { ShowWindow(app_.LogData()); });
  addAction(setup, "AlarmLogBtn", tr("Alarm log..."), [this] { ShowWindow(app_.AlarmLog()); });
  setup->addSeparator()->setObjectName(QStringLiteral("N1"));
  addAction(setup, "CopyMachine1", tr("Copy Machine..."), [this] { app_.CopyMachine().exec(); });
  QMenu* clear = setup->addMenu(tr("Clear Machine"));
  clear->setObjectName(QStringLiteral("ClearMachineBtn"));
  for (int tag = 1; tag <= MachineCount; ++tag) {
    QAction* action = clear->addAction(tr("Machine %1").arg(tag));
    action->setObjectName(QStringLiteral("ClearMachine%1Btn").arg(tag));
    connect(action, &QAction::triggered, this, [this, tag] { ClearMachineBtnClick(tag); });
  }
  QAction* all = clear->addAction(tr("All"));
  all->setObjectName(QStringLiteral("ClearMachineAllBtn"));
  connect(all, &QAction::triggered, this, [this] { ClearMachineBtnClick(MachineCount + 1); });
  setup->addSeparator();
  setup->addMenu(new LanguageMenu(setup));

  for (int tag = 1; tag <= MachineCount; ++tag) {
    QAction* action = bar->addAction(tr("Machine %1...").arg(tag));
    action->setObjectName(QStringLiteral("Machine%1Btn").arg(tag));
    connect(action, &QAction::triggered, this, [this, tag] { MachineBtnClick(tag); });
    machineEntries_[static_cast<std::size_t>(tag - 1)] = action;
  }
  QMenu* compare = bar->addMenu(tr("&Compare"));
  compare->setObjectName(QStringLiteral("CompareMenu"));
  addAction(compare, "CompareWithControllerBtn", tr("Compare with controller..."), [this] {
    app_.Compare().show();
    app_.Compare().CompareWithControllerClick();
  });
  addAction(compare, "CompareWithFileBtn", tr("Compare with file..."),
            [this] { app_.Compare().CompareWithFileClick(); });
  addAction(compare, "CompareWithBackupBtn", tr("Compare with backup..."),
            [this] { app_.Compare().ShowBackups(); });
  compare->addSeparator();
  addAction(compare, "SitesBtn", tr("Sites..."), [this] { ShowWindow(app_.Sites()); });

  QAction* help = bar->addAction(tr("&Help"));
  help->setObjectName(QStringLiteral("HelpBtn"));
  connect(help, &QAction::triggered, this, [this] { HelpBtnClick(); });
}

void TMainForm::CreateStatusBar() {
  constexpr std::array<int, StatusPanelCount> widths = {110, 160, 220, 0};
  for (int i = 0; i < StatusPanelCount; ++i) {
    auto* panel = new QLabel(this);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setContentsMargins(4, 0, 4, 0);
    if (widths[i] > 0) panel->setMinimumWidth(widths[i]);
    statusBar()->addWidget(panel, widths[i] > 0 ? 0 : 1);
    statusPanels_[i] = panel;
  }
}

TMachineForm& TMainForm::MachineWindow(int index) {
  TMachineForm*& machine = machineWindows_.at(static_cast<std::size_t>(index));
  if (machine == nullptr) {
    machine = new TMachineForm(app_, index, this);
    machine->move(x() + 15 * index, y() + height() + 15 * index);
  }
  return *machine;
}

TMachineForm* TMainForm::MachineWindowIfCreated(int index) const {
  return index >= 0 && index < MachineCount ? machineWindows_[static_cast<std::size_t>(index)] : nullptr;
}

void TMainForm::PlaceAtTopCentre() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int workWidth = screen != nullptr ? screen->availableGeometry().width() : width();
  move((workWidth - width()) / 2, 0);
}

void TMainForm::ShowWindow(QWidget& window) {
  window.show();
  window.raise();
  window.activateWindow();
}

void TMainForm::ShowSystemSetup() {
  QWidget& setup = app_.SystemSetup();
  // A window takes its size at its first show; centring needs it now.
  if (!setup.testAttribute(Qt::WA_Resized)) setup.adjustSize();
  // The setup window's frame is not known before its first show; it is the same as this window's.
  const QRect frame = frameGeometry();
  const int setupFrameWidth = setup.width() + frame.width() - width();
  setup.move(frame.left() + (frame.width() - setupFrameWidth) / 2, frame.bottom() + 1);
  ShowWindow(setup);
}

void TMainForm::MachineBtnClick(int tag) {
  if (tag < 1 || tag > MachineCount) return;
  TMachineForm& machine = MachineWindow(tag - 1);
  machine.move(x() + 25 * tag, y() + 70 + 25 * tag);
  ShowWindow(machine);
}

void TMainForm::ClearMachineBtnClick(int tag) {
  if (tag < 1 || tag > MachineCount + 1) return;
  const bool all = tag == MachineCount + 1;
  const QString question = all ? tr("Clear all data for all Machines\n\nAre you sure?")
                               : tr("Clear all data for Machine %1\n\nAre you sure?").arg(tag);
  if (ShowMessageBox(question, DialogType::Warning, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  qd::ClearMachine(app_.Config(), all ? -1 : tag - 1);
}

void TMainForm::LoginBtnClick() {
  TLoginForm& login = app_.Login();
  login.move(x() + 100, y() + 50);
  login.exec();
}

void TMainForm::HelpBtnClick() {
  app_.About().exec();
}

void TMainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A window that is never activated (no window manager, focus-stealing prevention) would otherwise
  // run without its preferences and overwrite them at close.
  FormActivate();
}

void TMainForm::FormActivate() {
  if (!firstActivation_) return;
  firstActivation_ = false;
  UpdateCaption();
  ReadPreferences();
  app_.Communication().Start();
  qd::ResetSystem(app_.Config());
  UpdateStatusBar();
  ShowMachineEntries();
}

void TMainForm::ShowMachineEntries() {
  for (int m = 0; m < MachineCount; ++m) {
    const bool enabled = app_.Config().system.MachineEnabled[static_cast<std::size_t>(m)];
    machineEntries_[static_cast<std::size_t>(m)]->setEnabled(enabled);
    if (TMachineForm* machine = MachineWindowIfCreated(m); machine != nullptr && !enabled) machine->close();
  }
}

void TMainForm::ReadPreferences() {
  const std::unique_ptr<QSettings> store = OpenPreferences();
  const StoredPreferences stored = qd::gui::ReadPreferences(*store);
  if (stored.width) resize(*stored.width, height());
  if (stored.height) resize(width(), *stored.height);
  if (stored.topLeft) move(*stored.topLeft);
  // The gateway is chosen anew at every start; the last one used is offered.
  app_.Communication().SetGatewayServerText(QString());
  if (stored.gatewayServer) app_.Communication().SetLastGatewayHost(*stored.gatewayServer);
  if (stored.lastSystemFileName) lastSystemFileName_ = *stored.lastSystemFileName;
  if (stored.comPort) app_.Communication().SetComPortText(*stored.comPort);
  if (stored.commLocal) app_.Communication().SetLinkMode(*stored.commLocal);
  if (stored.lastFirmwareFile) lastFirmwareFile_ = *stored.lastFirmwareFile;
  if (stored.loginCode) app_.Login().SetCode(*stored.loginCode);
}

void TMainForm::WritePreferences() {
  PreferencesToWrite values;
  values.lastSystemFileName = lastSystemFileName_;
  values.commLocal = app_.Communication().LocalSelected();
  values.comPort = app_.Communication().ComPortText();
  values.lastFirmwareFile = lastFirmwareFile_;
  values.loginCode = app_.Login().Code();
  values.width = width();
  values.height = height();
  values.left = x();
  values.top = y();
  values.gatewayServer = app_.Communication().GatewayHostToKeep();
  const std::unique_ptr<QSettings> store = OpenPreferences();
  qd::gui::WritePreferences(*store, values);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  WritePreferences();
  mainTimer_.stop();
  app_.HideSecondaryWindows();
  event->accept();
  QCoreApplication::quit();
}

void TMainForm::UpdateCaption() {
  QString caption = tr("QD System, Version: %1.%2").arg(VersionMajor).arg(VersionMinor);
  caption += QStringLiteral(",  Miele Ethernet");  // the trigger type's name
  if (setupMode_) caption += QStringLiteral(",  ") + tr("QD310 setup");
  if (app_.Connection().RemoteLoggedIn()) caption += FromCp1252(app_.Connection().Session().CaptionPiece());
  setWindowTitle(caption);
}

void TMainForm::UpdateStatusBar() {
  const qd::ControllerImage& image = app_.Config().image;
  if (image.imageHeld) {
    statusPanels_[0]->setText(tr("Format: %1.%2").arg(image.FormatMajor()).arg(image.FormatMinor()));
    return;
  }
  for (int i = 0; i < 3; ++i)
    statusPanels_[i]->clear();
}

QString TMainForm::StatusPanelText(int panel) const {
  return statusPanels_.at(panel)->text();
}

void TMainForm::ConfigChanged(const qd::ConfigChange& change) {
  // The clipboard refers to a stored record, which a new system holds no more.
  if (change.cause == qd::ChangeCause::New) programClipboard_ = nullptr;
  UpdateStatusBar();
  if (change.Touches(qd::ConfigPart::SystemSettings)) ShowMachineEntries();
}

bool TMainForm::CheckUnsavedPrograms() {
  const bool anyModified =
      std::any_of(machineWindows_.begin(), machineWindows_.end(),
                  [](const TMachineForm* machine) { return machine && machine->IsModified(); });
  if (!anyModified) return false;
  const auto answer = ShowMessageDialog(tr("Unsaved program data, update before save?"), DialogType::Warning,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Cancel) return true;
  for (TMachineForm* machine : machineWindows_) {
    if (machine == nullptr) continue;
    if (answer == QMessageBox::Yes) {
      machine->CommitEditors();
    } else {
      machine->DiscardEditors();
    }
  }
  return false;
}

void TMainForm::NewSystemBtnClick() {
  qd::NewSystem(app_.Config(), qd::LocalDateTime::Now());
}

void TMainForm::LoadSystemBtnClick() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Open;
  request.title = tr("Load system data");
  //: Pairs of a description and its patterns, separated by '|': only the descriptions are translated.
  request.filter = tr("XML-file (*.xml)|*.xml|Any file (*.*)|*.*");
  request.defaultSuffix = QStringLiteral("xml");
  request.fileName = lastSystemFileName_;
  const QString chosen = AskFileName(request);
  if (chosen.isEmpty()) return;
  lastSystemFileName_ = chosen;
  const qd::LoadResult loaded = qd::LoadSystem(app_.Config(), PathOf(chosen), qd::LocalDateTime::Now());
  if (!loaded.file.ok)
    ReportFileFailure(tr("Unable to load the system file \"%1\".").arg(chosen), loaded.file.error);
}

void TMainForm::SaveSystemBtnClick() {
  if (CheckUnsavedPrograms()) return;
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::Save;
  request.title = tr("Save System data");
  //: Pairs of a description and its patterns, separated by '|': only the descriptions are translated.
  request.filter = tr("XML-file|*.xml|Any file|*.*");
  request.defaultSuffix = QStringLiteral("xml");
  request.fileName = lastSystemFileName_;
  const QString chosen = AskFileName(request);
  if (chosen.isEmpty()) return;
  lastSystemFileName_ = chosen;
  const qd::LoadResult saved = qd::SaveSystem(app_.Config(), PathOf(chosen), qd::LocalDateTime::Now());
  if (!saved.file.ok) {
    ReportFileFailure(tr("Unable to save the system file \"%1\".").arg(chosen), saved.file.error);
    return;
  }
  ReportUnkeptEntries();
}

void TMainForm::ReportUnkeptEntries() {
  const std::vector<int> machines = qd::MachinesWithUnkeptElectroluxEntries(app_.Config().system);
  if (machines.empty()) return;
  QStringList numbers;
  for (const int machine : machines)
    numbers << QString::number(machine);
  ShowMessageBox(tr("The Electrolux programs 16..30 of machine %1 are not kept in the system file: "
                    "they stay in the controller only when written to it.")
                     .arg(numbers.join(QStringLiteral(", "))),
                 DialogType::Information);
}

void TMainForm::ReportFileFailure(const QString& message, const std::string& reason) {
  ShowMessageBox(message + QStringLiteral("\n\n") + FromCp1252(reason), DialogType::Error);
}

void TMainForm::MainTimer100msTimer() {
  if (tickCounter_ >= 9) {
    tickCounter_ = 0;
    app_.Communication().RefreshCounters();
  } else {
    ++tickCounter_;
  }
  app_.Connection().Tick();
  if (TCalibrationForm* calibration = app_.CalibrationIfCreated(); calibration && calibration->TestRunning())
    calibration->Tick();
  if (TFirmwareUpdateForm* firmware = app_.FirmwareUpdateIfCreated(); firmware && firmware->isVisible())
    firmware->Tick();
  if (TEEPROMForm* eeprom = app_.EepromIfCreated()) eeprom->Tick();
  if (TCompareForm* compare = app_.CompareIfCreated()) compare->Tick();
  for (TMachineForm* machine : machineWindows_) {
    if (machine != nullptr && machine->isVisible()) machine->TickStatus();
  }
}

}  // namespace qd::gui
