#include "gui/editors/system_setup_form.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>

#include "app/text.h"
#include "gui/app/app.h"
#include "gui/app/config_signals.h"
#include "gui/app/main_form.h"
#include "gui/app/message_dialog.h"
#include "gui/app/text_codec.h"
#include "gui/editors/machine_form.h"
#include "link/status_records.h"
#include "model/system_commands.h"
#include "model/system_setup.h"

namespace qd::gui {
namespace {

constexpr int RecipientsPerGroup = 4;
constexpr int ResetEntryCount = qd::ResetAllMachinesEntry + 1;

template <typename Widget>
Widget* Named(Widget* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}

QString Indexed(const char* pattern, int number) {
  return QString::fromLatin1(pattern).arg(number);
}

// An on/off toggle button: its text and colour follow its state.
QPushButton* CreateOnButton(QWidget* parent, const QString& name, const QString& what) {
  auto* button = Named(new QPushButton(QCoreApplication::translate("TSystemSetupForm", "Off"), parent), name);
  button->setCheckable(true);
  button->setAccessibleName(what);
  button->setMinimumWidth(48);
  QObject::connect(button, &QPushButton::toggled, button, [button](bool on) {
    button->setText(on ? QCoreApplication::translate("TSystemSetupForm", "On")
                       : QCoreApplication::translate("TSystemSetupForm", "Off"));
    button->setStyleSheet(on ? QStringLiteral("background-color: #7ed67e;") : QString());
  });
  return button;
}

QCheckBox* CreateControlBox(QWidget* parent, const QString& name, const QString& what) {
  auto* box = Named(new QCheckBox(parent), name);
  box->setAccessibleName(what);
  return box;
}

const std::array<const char*, qd::AlarmKinds> AlarmKindNames = {"Level", "WaterPressure", "TriggerError",
                                                                "KeyboardError", "DispenseError"};
const std::array<const char*, qd::AlarmKinds> AlarmKindCaptions = {
    QT_TRANSLATE_NOOP("TSystemSetupForm", "Level alarm"),
    QT_TRANSLATE_NOOP("TSystemSetupForm", "Pressure alarm"),
    QT_TRANSLATE_NOOP("TSystemSetupForm", "Trigger error"),
    QT_TRANSLATE_NOOP("TSystemSetupForm", "Keybord error"),
    QT_TRANSLATE_NOOP("TSystemSetupForm", "Dispense error")};

// Programmatic changes emit `toggled` (the look) but never `clicked` (the user's action).
void SetOn(QPushButton* button, bool on) {
  button->setChecked(on);
}

QLabel* UnitLabel(const QString& text, QWidget* parent) {
  return new QLabel(text, parent);
}

}  // namespace

TSystemSetupForm::TSystemSetupForm(App& app) : app_(app) {
  setObjectName(QStringLiteral("SystemSetupForm"));
  setWindowTitle(tr("System setup"));

  PageControl = Named(new QTabWidget(this), QStringLiteral("PageControl"));
  PageControl->addTab(CreateMainSetupPage(), tr("Main setup"));
  PageControl->addTab(CreateAlarmPage(), tr("Alarm"));
  PageControl->addTab(CreateSoapAmountPage(), tr("Soap amount alarm"));
  TestPage = CreateTestPage();
  PageControl->addTab(TestPage, tr(" Test"));
  EthernetPage = CreateEthernetPage();
  PageControl->addTab(EthernetPage, tr("Ethernet trigger test"));
  connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageControlChange(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  ConnectEdits();
  connect(&app_.Changes(), &ConfigSignals::Changed, this, &TSystemSetupForm::ConfigChanged);
  InitSystemSetup();
  // Until a system is shown, there is no controller to name.
  HideIdentity();
}

// --- Pages ---------------------------------------------------------------------------------------

QWidget* TSystemSetupForm::CreateMainSetupPage() {
  auto* page = Named(new QWidget, QStringLiteral("MainSetupPage"));

  auto* machines = new QGroupBox(tr(" Machines "), page);
  auto* machineGrid = new QGridLayout(machines);
  for (int m = 0; m < qd::MachineCount; ++m) {
    machineBtns_[m] =
        Named(new QCheckBox(tr("Machine %1").arg(m + 1), machines), Indexed("Machine%1Btn", m + 1));
    machineGrid->addWidget(machineBtns_[m], m % 5, m / 5);
    connect(machineBtns_[m], &QCheckBox::clicked, this, [this, m] { MachineBtnClick(m + 1); });
  }

  auto* location = new QGroupBox(tr(" Location "), page);
  SystemNameEdit = Named(new QLineEdit(location), QStringLiteral("SystemNameEdit"));
  SystemNameEdit->setMaxLength(static_cast<int>(qd::SystemNameLength));
  auto* nameLabel = Named(new QLabel(tr("System name"), location), QStringLiteral("SystemNameLabel"));
  nameLabel->setBuddy(SystemNameEdit);
  auto* locationLayout = new QHBoxLayout(location);
  locationLayout->addWidget(nameLabel);
  locationLayout->addWidget(SystemNameEdit, 1);

  auto* pc = new QGroupBox(tr(" PC settings "), page);
  DefaultInputFilterTimeEdit = Named(new QLineEdit(pc), QStringLiteral("DefaultInputFilterTimeEdit"));
  DefaultInputFilterTimeEdit->setMaximumWidth(60);
  auto* filterLabel =
      Named(new QLabel(tr("Default input filter time"), pc), QStringLiteral("DefaultInputFilterTimeLabel"));
  filterLabel->setBuddy(DefaultInputFilterTimeEdit);
  auto* pcLayout = new QHBoxLayout(pc);
  pcLayout->addWidget(filterLabel);
  pcLayout->addWidget(DefaultInputFilterTimeEdit);
  pcLayout->addWidget(UnitLabel(tr("sec."), pc));
  pcLayout->addStretch(1);

  auto* watch = new QGroupBox(tr(" Watch "), page);
  QD310watchLabel = Named(new QLabel(watch), QStringLiteral("QD310watchLabel"));
  QD310watchLabel->setMinimumWidth(150);
  auto* watchLayout = new QHBoxLayout(watch);
  watchLayout->addWidget(new QLabel(tr("QD310 watch:"), watch));
  watchLayout->addWidget(QD310watchLabel, 1);

  auto* version = new QGroupBox(tr(" Version info "), page);
  SerialNumberLabel2 = Named(new QLabel(version), QStringLiteral("SerialNumberLabel2"));
  HardwareVersionLabel2 = Named(new QLabel(version), QStringLiteral("HardwareVersionLabel2"));
  FirmwareVersionLabel2 = Named(new QLabel(version), QStringLiteral("FirmwareVersionLabel2"));
  auto* versionGrid = new QGridLayout(version);
  versionGrid->addWidget(new QLabel(tr("Serial:"), version), 0, 0);
  versionGrid->addWidget(SerialNumberLabel2, 0, 1);
  versionGrid->addWidget(new QLabel(tr("Hardware version:"), version), 1, 0);
  versionGrid->addWidget(HardwareVersionLabel2, 1, 1);
  versionGrid->addWidget(new QLabel(tr("Firmware version:"), version), 2, 0);
  versionGrid->addWidget(FirmwareVersionLabel2, 2, 1);
  versionGrid->setColumnStretch(1, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(location);
  right->addWidget(pc);
  right->addWidget(watch);
  right->addWidget(version);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(page);
  layout->addWidget(machines, 0, Qt::AlignTop);
  layout->addLayout(right, 1);
  return page;
}

QGroupBox* TSystemSetupForm::CreateAlarmGroup(int group, const QString& title) {
  auto* box = new QGroupBox(title);
  auto* layout = new QVBoxLayout(box);
  for (int kind = 0; kind < qd::AlarmKinds; ++kind) {
    const QString name =
        QStringLiteral("Group%1%2AlarmBtn").arg(group).arg(QLatin1String(AlarmKindNames[kind]));
    QCheckBox*& check = groupAlarmBtns_[group][kind];
    check = Named(
        new QCheckBox(QCoreApplication::translate("TSystemSetupForm", AlarmKindCaptions[kind]), box), name);
    layout->addWidget(check);
    connect(check, &QCheckBox::clicked, this, [this, group, kind](bool on) {
      app_.Config().system.AlarmGroups[group][kind] = on;
      if (group != 0) {
        GroupAlarmBtnClick();
      } else {
        NoteOwnEdit();
      }
    });
  }
  layout->addStretch(1);
  return box;
}

QGroupBox* TSystemSetupForm::CreateRecipientGroup(int first) {
  auto* box = new QGroupBox;
  auto* layout = new QVBoxLayout(box);
  auto* label = new QLabel(tr("Recipient (email or mobile number)"), box);
  layout->addWidget(label);
  for (int r = first; r < first + RecipientsPerGroup; ++r) {
    recipientEdits_[r] = Named(new QLineEdit(box), Indexed("AlarmRecipient%1Edit", r + 1));
    recipientEdits_[r]->setMaxLength(static_cast<int>(qd::RecipientLength));
    recipientEdits_[r]->setAccessibleName(tr("Recipient %1").arg(r + 1));
    layout->addWidget(recipientEdits_[r]);
  }
  label->setBuddy(recipientEdits_[first]);
  layout->addStretch(1);
  return box;
}

QWidget* TSystemSetupForm::CreateAlarmPage() {
  auto* page = Named(new QWidget, QStringLiteral("AlarmPage"));
  auto* grid = new QGridLayout(page);
  QGroupBox* group1 = CreateAlarmGroup(1, tr(" Group 1 (send email or SMS) "));
  QGroupBox* group2 = CreateAlarmGroup(2, tr(" Group 2 (send email or SMS) "));
  QGroupBox* group0 = CreateAlarmGroup(0, tr(" Alarm log (saved in EEPROM) "));
  grid->addWidget(group1, 0, 0);
  grid->addWidget(CreateRecipientGroup(0), 0, 1);
  grid->addWidget(group2, 1, 0);
  grid->addWidget(CreateRecipientGroup(RecipientsPerGroup), 1, 1);
  grid->addWidget(group0, 2, 0);

  auto* activeHigh = new QGroupBox(tr(" Active high (Normally Closed sensor contact) "), page);
  auto* activeLayout = new QGridLayout(activeHigh);
  for (int i = 0; i < qd::PumpCount; ++i) {
    activeHighLevelBtns_[i] =
        Named(new QCheckBox(Indexed("#%1", i + 1), activeHigh), Indexed("AlarmActiveHigh%1_Btn", i + 1));
    activeLayout->addWidget(activeHighLevelBtns_[i], i / 4, i % 4);
  }
  AlarmActiveHighExtraBtn =
      Named(new QCheckBox(tr("Extra"), activeHigh), QStringLiteral("AlarmActiveHighExtraBtn"));
  AlarmActiveHighCommonBtn =
      Named(new QCheckBox(tr("Common"), activeHigh), QStringLiteral("AlarmActiveHighCommonBtn"));
  activeLayout->addWidget(AlarmActiveHighExtraBtn, 2, 0);
  activeLayout->addWidget(AlarmActiveHighCommonBtn, 2, 1);
  grid->addWidget(activeHigh, 2, 1);
  grid->setColumnStretch(1, 1);
  return page;
}

QWidget* TSystemSetupForm::CreateSoapAmountPage() {
  auto* page = Named(new QWidget, QStringLiteral("SoapAmountPage"));
  AlarmOnUsedSoapAmountBtn =
      Named(new QCheckBox(tr("Alarm on used soap amount"), page), QStringLiteral("AlarmOnUsedSoapAmountBtn"));
  auto* grid = new QGridLayout;
  auto* alarmHeader = new QLabel(tr("Alarm amount"), page);
  auto* usedHeader = new QLabel(tr("Used amount"), page);
  grid->addWidget(alarmHeader, 0, 1);
  grid->addWidget(usedHeader, 0, 3);
  for (int p = 0; p < qd::SoapAmountPumps; ++p) {
    alarmAmountEdits_[p] = Named(new QLineEdit(page), Indexed("AlarmSoapAmountEdit%1", p + 1));
    usedAmountEdits_[p] = Named(new QLineEdit(page), Indexed("AlarmSoapUsedAmountEdit%1", p + 1));
    alarmAmountEdits_[p]->setAccessibleName(tr("Pump %1 alarm amount").arg(p + 1));
    usedAmountEdits_[p]->setAccessibleName(tr("Pump %1 used amount").arg(p + 1));
    auto* pump = new QLabel(tr("Pump %1").arg(p + 1), page);
    pump->setBuddy(alarmAmountEdits_[p]);
    grid->addWidget(pump, p + 1, 0);
    grid->addWidget(alarmAmountEdits_[p], p + 1, 1);
    grid->addWidget(UnitLabel(tr("[litre]"), page), p + 1, 2);
    grid->addWidget(usedAmountEdits_[p], p + 1, 3);
    grid->addWidget(UnitLabel(tr("[litre]"), page), p + 1, 4);
  }
  alarmHeader->setBuddy(alarmAmountEdits_[0]);
  usedHeader->setBuddy(usedAmountEdits_[0]);
  grid->setColumnStretch(5, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(AlarmOnUsedSoapAmountBtn);
  layout->addLayout(grid);
  layout->addStretch(1);
  return page;
}

QGroupBox* TSystemSetupForm::CreatePumpGroup() {
  auto* box = new QGroupBox(tr(" Pump  "));
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel(tr("Control"), box), 0, 2);
  for (int p = 0; p < qd::PumpCount; ++p) {
    pumpOnBtns_[p] = CreateOnButton(box, Indexed("PumpOn%1Btn", p + 1), tr("Pump %1").arg(p + 1));
    pumpControlBtns_[p] =
        CreateControlBox(box, Indexed("PumpControl%1Btn", p + 1), tr("Pump %1 control").arg(p + 1));
    grid->addWidget(new QLabel(Indexed("%1:", p + 1), box), p + 1, 0);
    grid->addWidget(pumpOnBtns_[p], p + 1, 1);
    grid->addWidget(pumpControlBtns_[p], p + 1, 2, Qt::AlignHCenter);
    connect(pumpOnBtns_[p], &QPushButton::clicked, this, [this, p] { PumpOnBtnClick(p + 1); });
    connect(pumpControlBtns_[p], &QCheckBox::clicked, this, [this, p] { PumpControlBtnClick(p + 1); });
  }
  grid->setRowStretch(qd::PumpCount + 1, 1);
  return box;
}

QGroupBox* TSystemSetupForm::CreateFlushGroup() {
  auto* box = new QGroupBox(tr(" Flush "));
  FlushWaterOnBtn = CreateOnButton(box, QStringLiteral("FlushWaterOnBtn"), tr("Flush water"));
  FlushWaterControlBtn =
      CreateControlBox(box, QStringLiteral("FlushWaterControlBtn"), tr("Flush water control"));
  FlushDrainOnBtn = CreateOnButton(box, QStringLiteral("FlushDrainOnBtn"), tr("Flush drain"));
  FlushDrainControlBtn =
      CreateControlBox(box, QStringLiteral("FlushDrainControlBtn"), tr("Flush drain control"));
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel(tr("Control"), box), 0, 2);
  grid->addWidget(new QLabel(tr("Water"), box), 1, 0);
  grid->addWidget(FlushWaterOnBtn, 1, 1);
  grid->addWidget(FlushWaterControlBtn, 1, 2, Qt::AlignHCenter);
  grid->addWidget(new QLabel(tr("Drain"), box), 2, 0);
  grid->addWidget(FlushDrainOnBtn, 2, 1);
  grid->addWidget(FlushDrainControlBtn, 2, 2, Qt::AlignHCenter);
  grid->setColumnStretch(3, 1);
  return box;
}

QGroupBox* TSystemSetupForm::CreateMachineSignalGroup() {
  auto* box = new QGroupBox(tr(" Machine "));
  auto* grid = new QGridLayout(box);
  constexpr int Rows = qd::MachineCount / 2;
  for (int column = 0; column < 2; ++column)
    grid->addWidget(new QLabel(tr("Control"), box), 0, 3 * column + 2);
  for (int m = 0; m < qd::MachineCount; ++m) {
    machineOnBtns_[m] =
        CreateOnButton(box, Indexed("MachineOn%1Btn", m + 1), tr("Machine %1 signal").arg(m + 1));
    machineControlBtns_[m] =
        CreateControlBox(box, Indexed("MachineControl%1Btn", m + 1), tr("Machine %1 control").arg(m + 1));
    const int row = m % Rows + 1;
    const int column = 3 * (m / Rows);
    grid->addWidget(new QLabel(Indexed("%1:", m + 1), box), row, column);
    grid->addWidget(machineOnBtns_[m], row, column + 1);
    grid->addWidget(machineControlBtns_[m], row, column + 2, Qt::AlignHCenter);
    connect(machineOnBtns_[m], &QPushButton::clicked, this, [this, m] { MachineOnBtnClick(m + 1); });
    connect(machineControlBtns_[m], &QCheckBox::clicked, this, [this, m] { MachineControlBtnClick(m + 1); });
  }
  return box;
}

QGroupBox* TSystemSetupForm::CreateAlarmOutputGroup() {
  auto* box = new QGroupBox(tr(" Alarm "));
  AlarmOutputOnBtn = CreateOnButton(box, QStringLiteral("AlarmOutputOnBtn"), tr("Alarm output"));
  AlarmControlBtn = Named(new QCheckBox(tr(" Control"), box), QStringLiteral("AlarmControlBtn"));
  auto* layout = new QHBoxLayout(box);
  layout->addWidget(new QLabel(tr("Output"), box));
  layout->addWidget(AlarmOutputOnBtn);
  layout->addWidget(AlarmControlBtn);
  layout->addStretch(1);
  return box;
}

QGroupBox* TSystemSetupForm::CreateResetGroup() {
  auto* box = new QGroupBox(tr(" Reset "));
  ResetmachineCombo = Named(new QComboBox(box), QStringLiteral("ResetmachineCombo"));
  for (int entry = 0; entry < qd::MachineCount; ++entry)
    ResetmachineCombo->addItem(QString::number(entry + 1));
  ResetmachineCombo->addItem(tr("All"));
  ResetmachineCombo->setCurrentIndex(-1);
  ResetmachineCombo->setMinimumContentsLength(4);
  auto* label = Named(new QLabel(tr("Machine:"), box), QStringLiteral("ResetmachineLabel"));
  label->setBuddy(ResetmachineCombo);
  ResetMachineBtn = Named(new QPushButton(tr("Reset machine"), box), QStringLiteral("ResetMachineBtn"));
  ResetMachineOKlabel = Named(new QLabel(tr("OK"), box), QStringLiteral("ResetMachineOKlabel"));
  ResetMachineOKlabel->setStyleSheet(QStringLiteral("color: #007000; font-weight: bold;"));
  QSizePolicy policy = ResetMachineOKlabel->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  ResetMachineOKlabel->setSizePolicy(policy);
  ResetMachineOKlabel->hide();
  connect(ResetMachineBtn, &QPushButton::clicked, this, &TSystemSetupForm::ResetMachineBtnClick);
  auto* layout = new QHBoxLayout(box);
  layout->addWidget(label);
  layout->addWidget(ResetmachineCombo);
  layout->addWidget(ResetMachineBtn);
  layout->addWidget(ResetMachineOKlabel);
  layout->addStretch(1);
  return box;
}

QWidget* TSystemSetupForm::CreateTestPage() {
  auto* page = Named(new QWidget, QStringLiteral("TestPage"));
  QGroupBox* pumps = CreatePumpGroup();
  QGroupBox* flush = CreateFlushGroup();
  QGroupBox* machines = CreateMachineSignalGroup();
  QGroupBox* alarm = CreateAlarmOutputGroup();
  QGroupBox* reset = CreateResetGroup();
  for (QGroupBox* box : {pumps, flush, machines, alarm, reset})
    box->setParent(page);

  const std::array<std::pair<QPushButton*, qd::SingleOutput>, 3> singles = {
      std::pair{FlushWaterOnBtn, qd::SingleOutput::FlushWater},
      std::pair{FlushDrainOnBtn, qd::SingleOutput::FlushDrain},
      std::pair{AlarmOutputOnBtn, qd::SingleOutput::AlarmOutput}};
  for (const auto& [button, output] : singles)
    connect(button, &QPushButton::clicked, this, [this, output] { SingleOutputOnClick(output); });
  const std::array<std::pair<QCheckBox*, qd::SingleOutput>, 3> controls = {
      std::pair{FlushWaterControlBtn, qd::SingleOutput::FlushWater},
      std::pair{FlushDrainControlBtn, qd::SingleOutput::FlushDrain},
      std::pair{AlarmControlBtn, qd::SingleOutput::AlarmOutput}};
  for (const auto& [box, output] : controls)
    connect(box, &QCheckBox::clicked, this, [this, output] { SingleOutputControlClick(output); });

  auto* left = new QVBoxLayout;
  left->addWidget(pumps);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(machines);
  right->addWidget(flush);
  right->addWidget(alarm);
  right->addWidget(reset);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left);
  layout->addLayout(right, 1);
  return page;
}

QWidget* TSystemSetupForm::CreateEthernetPage() {
  auto* page = Named(new QWidget, QStringLiteral("EthernetTriggerTestPage"));
  // The trigger type's brand name stays as it is in every language.
  auto* box = new QGroupBox(QStringLiteral(" Miele Logic "), page);
  EthernetMieleLogicMonitorBtn =
      Named(new QCheckBox(tr("Monitor status"), box), QStringLiteral("EthernetMieleLogicMonitorBtn"));
  EthernetMieleLogicMemo = Named(new QPlainTextEdit(box), QStringLiteral("EthernetMieleLogicMemo"));
  // A monitor left running for a day keeps its last lines, not all of them.
  EthernetMieleLogicMemo->setMaximumBlockCount(MonitorLines);
  EthernetMieleLogicMemo->setReadOnly(true);
  EthernetMieleLogicMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  EthernetMieleLogicMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  EthernetMieleLogicMemo->setAccessibleName(tr("Miele Logic monitor"));
  auto* boxLayout = new QVBoxLayout(box);
  boxLayout->addWidget(EthernetMieleLogicMonitorBtn);
  boxLayout->addWidget(EthernetMieleLogicMemo, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(box);
  return page;
}

void TSystemSetupForm::ConnectEdits() {
  qd::SystemConfig& system = app_.Config().system;
  const auto text = [](const QLineEdit* edit) { return ToCp1252(edit->text()); };
  connect(SystemNameEdit, &QLineEdit::textEdited, this,
          [this, &system, text] { system.SystemName = text(SystemNameEdit); });
  connect(DefaultInputFilterTimeEdit, &QLineEdit::textEdited, this,
          [this, &system, text] { system.DefaultInputFilter = text(DefaultInputFilterTimeEdit); });
  for (int r = 0; r < qd::RecipientCount; ++r) {
    connect(recipientEdits_[r], &QLineEdit::textEdited, this,
            [this, &system, text, r] { system.Recipients[r] = text(recipientEdits_[r]); });
  }
  for (int i = 0; i < qd::PumpCount; ++i) {
    connect(activeHighLevelBtns_[i], &QCheckBox::clicked, this,
            [&system, i](bool on) { system.ActiveHighLevel[i] = on; });
  }
  connect(AlarmActiveHighExtraBtn, &QCheckBox::clicked, this,
          [&system](bool on) { system.ActiveHighExtra = on; });
  connect(AlarmActiveHighCommonBtn, &QCheckBox::clicked, this,
          [&system](bool on) { system.ActiveHighCommon = on; });
  connect(AlarmOnUsedSoapAmountBtn, &QCheckBox::clicked, this,
          [&system](bool on) { system.AlarmOnAmountEnabled = on; });
  for (int p = 0; p < qd::SoapAmountPumps; ++p) {
    connect(alarmAmountEdits_[p], &QLineEdit::textEdited, this,
            [this, &system, text, p] { system.AlarmAmount[p] = text(alarmAmountEdits_[p]); });
    connect(usedAmountEdits_[p], &QLineEdit::textEdited, this,
            [this, &system, text, p] { system.UsedAmount[p] = text(usedAmountEdits_[p]); });
  }
  // After each write above, the other windows learn of it.
  std::vector<QLineEdit*> edits = {SystemNameEdit, DefaultInputFilterTimeEdit};
  edits.insert(edits.end(), recipientEdits_.begin(), recipientEdits_.end());
  edits.insert(edits.end(), alarmAmountEdits_.begin(), alarmAmountEdits_.end());
  edits.insert(edits.end(), usedAmountEdits_.begin(), usedAmountEdits_.end());
  for (QLineEdit* edit : edits)
    connect(edit, &QLineEdit::textEdited, this, &TSystemSetupForm::NoteOwnEdit);
  for (QCheckBox* box : activeHighLevelBtns_)
    connect(box, &QCheckBox::clicked, this, &TSystemSetupForm::NoteOwnEdit);
  for (QCheckBox* box : {AlarmActiveHighExtraBtn, AlarmActiveHighCommonBtn, AlarmOnUsedSoapAmountBtn})
    connect(box, &QCheckBox::clicked, this, &TSystemSetupForm::NoteOwnEdit);
}

// --- Operations for other windows ----------------------------------------------------------------

void TSystemSetupForm::InitSystemSetup() {
  qd::transport::Connection& link = app_.Connection();
  qd::link::Dispatcher::Handlers& dispatch = link.Dispatch().handlers;
  dispatch.systemStatus = [this](qd::link::PayloadView frame) { ApplySystemStatus(frame); };
  dispatch.monitorReply = [this](qd::link::PayloadView frame) { ShowMonitorReply(frame); };
  dispatch.systemStatusWanted = [this] { return isVisible(); };
  dispatch.remoteSystemStatus = [this](std::span<const std::uint8_t> message) {
    ApplyRemoteSystemStatus(message);
  };
  dispatch.resetDone = [this] { ResetDone(); };
  link.Link().handlers.takeResetMachineRequest = [this] { return TakeResetMachineRequest(); };
  connect(&link, &qd::transport::Connection::OperationsChanged, this, &TSystemSetupForm::OperationsChanged);
  // A reset that got no answer in time has let go of the controller.
  connect(&link, &qd::transport::Connection::OperationTimedOut, this, [this](qd::link::Operation operation) {
    if (operation == qd::link::Operation::ResetMachine) resetMachinePending_ = false;
  });
  link.Link().handlers.monitorOn = [this] { return EthernetMieleLogicMonitorBtn->isChecked(); };
  LinkStateChanged();
}

void TSystemSetupForm::ConfigChanged(const qd::ConfigChange& change) {
  if (storingOwnEdit_ || !change.Touches(qd::ConfigPart::SystemSettings)) return;
  ShowSystemData();
  if (!change.Replaces()) return;
  // Another system: no machine of it is chosen for a reset, and a new or refused one has no identity.
  ResetmachineCombo->setCurrentIndex(-1);
  if (change.cause == qd::ChangeCause::New || change.cause == qd::ChangeCause::ReadRefused) HideIdentity();
}

void TSystemSetupForm::HideIdentity() {
  for (QLabel* label : {SerialNumberLabel2, HardwareVersionLabel2, FirmwareVersionLabel2})
    label->hide();
  QD310watchLabel->clear();
}

void TSystemSetupForm::NoteOwnEdit() {
  const QScopedValueRollback<bool> storing(storingOwnEdit_, true);
  qd::NoteEdit(app_.Config(), qd::ConfigPart::SystemSettings);
}

void TSystemSetupForm::LinkStateChanged() {
  EndResetMachine(false);
  ResetMachineOKlabel->hide();
  const bool allowed = ResetAllowed();
  ResetmachineCombo->setEnabled(allowed);
  if (!allowed) ResetmachineCombo->setCurrentIndex(-1);
  OperationsChanged();
  ShowManualControlAvailability();
}

void TSystemSetupForm::OperationsChanged() {
  // Another operation has the controller: a reset would land in the middle of it.
  ResetMachineBtn->setEnabled(app_.Connection().MayStart(qd::link::Operation::ResetMachine));
}

void TSystemSetupForm::EndResetMachine(bool completed) {
  const bool wasPending = resetMachinePending_;
  resetMachinePending_ = false;
  if (wasPending) app_.Connection().End(qd::link::Operation::ResetMachine, completed);
}

void TSystemSetupForm::ApplySystemStatus(qd::link::PayloadView frame) {
  ShowOutputs(qd::ShownOutputs(manualControl_, qd::link::ControllerStatus(frame.Bytes())), true);
}

void TSystemSetupForm::ApplyRemoteSystemStatus(std::span<const std::uint8_t> message) {
  // The gateway does not report the alarm output.
  ShowOutputs(qd::ShownOutputs(qd::link::GatewayStatus(message)), false);
}

void TSystemSetupForm::ResetDone() {
  // Locally the request is queued now and leaves with the next frame; remotely the system confirmed.
  EndResetMachine(true);
  ResetMachineOKlabel->show();
}

std::optional<int> TSystemSetupForm::TakeResetMachineRequest() {
  if (!resetMachinePending_) return std::nullopt;
  const int entry = ResetmachineCombo->currentIndex();
  ResetDone();
  return entry;
}

void TSystemSetupForm::ShowMonitorReply(qd::link::PayloadView frame) {
  const std::optional<std::string> text = qd::link::MonitorReplyText(frame.Bytes());
  if (!text) return;
  const QTime now = QTime::currentTime();
  const std::string prefix = qd::link::MonitorTimePrefix(now.hour(), now.minute(), now.second(), now.msec());
  EthernetMieleLogicMemo->appendPlainText(FromCp1252(prefix + *text));
}

void TSystemSetupForm::ReleaseManualControl() {
  for (QPushButton* button : pumpOnBtns_)
    SetOn(button, false);
  for (QPushButton* button : machineOnBtns_)
    SetOn(button, false);
  for (QPushButton* button : {FlushWaterOnBtn, FlushDrainOnBtn, AlarmOutputOnBtn})
    SetOn(button, false);
  ReleaseControlBoxes();
}

void TSystemSetupForm::ReleaseControlBoxes() {
  manualControl_ = {};
  for (QCheckBox* box : pumpControlBtns_)
    box->setChecked(false);
  for (QCheckBox* box : machineControlBtns_)
    box->setChecked(false);
  for (QCheckBox* box : {FlushWaterControlBtn, FlushDrainControlBtn, AlarmControlBtn})
    box->setChecked(false);
}

// --- Show and close ------------------------------------------------------------------------------

void TSystemSetupForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TSystemSetupForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) FormClose();
}

void TSystemSetupForm::FormShow() {
  PageControl->setCurrentIndex(0);
  // The working configuration is the store: showing it keeps the edits not yet built into an image.
  ShowSystemData();
  EndResetMachine(false);
  EthernetMieleLogicMonitorBtn->setChecked(false);
  ResetMachineOKlabel->hide();
}

void TSystemSetupForm::FormClose() {
  EthernetMieleLogicMonitorBtn->setChecked(false);
  ReleaseManualControl();
  // The controls show the configuration, so closing settles what the configuration holds.
  qd::SettleSystemSetup(app_.Config());
}

void TSystemSetupForm::PageControlChange() {
  EthernetMieleLogicMonitorBtn->setChecked(false);
  ReleaseManualControl();
}

void TSystemSetupForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && PageControl->currentWidget() == EthernetPage) {
    EthernetMieleLogicMemo->clear();
    return;
  }
  QWidget::keyPressEvent(event);
}

// --- Showing the configuration -------------------------------------------------------------------

void TSystemSetupForm::ShowSystemData() {
  filling_ = true;
  const qd::SystemConfig& system = app_.Config().system;
  ShowManualControlAvailability();
  ShowIdentity();
  ShowMachinesEnabled();
  for (int r = 0; r < qd::RecipientCount; ++r)
    recipientEdits_[r]->setText(FromCp1252(system.Recipients[r]));
  SystemNameEdit->setText(FromCp1252(system.SystemName));
  DefaultInputFilterTimeEdit->setText(FromCp1252(system.DefaultInputFilter));
  AlarmActiveHighCommonBtn->setChecked(system.ActiveHighCommon);
  AlarmActiveHighExtraBtn->setChecked(system.ActiveHighExtra);
  for (int i = 0; i < qd::PumpCount; ++i)
    activeHighLevelBtns_[i]->setChecked(system.ActiveHighLevel[i]);
  AlarmOnUsedSoapAmountBtn->setChecked(system.AlarmOnAmountEnabled);
  for (int p = 0; p < qd::SoapAmountPumps; ++p) {
    alarmAmountEdits_[p]->setText(FromCp1252(system.AlarmAmount[p]));
    usedAmountEdits_[p]->setText(FromCp1252(system.UsedAmount[p]));
  }
  qd::ApplyGroupZeroRule(app_.Config().system);
  ShowAlarmGroups();
  filling_ = false;
}

void TSystemSetupForm::ShowIdentity() {
  const qd::ControllerImage& image = app_.Config().image;
  SerialNumberLabel2->setText(QString::number(image.SerialNumber()));
  HardwareVersionLabel2->setText(QString::number(image.HardwareVersion()));
  FirmwareVersionLabel2->setText(
      QStringLiteral("%1.%2").arg(image.FirmwareMajor()).arg(image.FirmwareMinor()));
  for (QLabel* label : {SerialNumberLabel2, HardwareVersionLabel2, FirmwareVersionLabel2})
    label->show();
  const QString clock = FromCp1252(qd::ControllerClockText(image));
  QD310watchLabel->setText(clock);
  QD310watchLabel->setEnabled(!clock.isEmpty());
}

void TSystemSetupForm::ShowMachinesEnabled() {
  for (int m = 0; m < qd::MachineCount; ++m) {
    machineBtns_[m]->setEnabled(true);
    machineBtns_[m]->setChecked(app_.Config().system.MachineEnabled[m]);
  }
}

void TSystemSetupForm::ShowAlarmGroups() {
  const qd::SystemConfig& system = app_.Config().system;
  const qd::AlarmGroup forced = qd::ForcedGroupZeroAlarms(system);
  for (int g = 0; g < qd::AlarmGroupCount; ++g) {
    for (int kind = 0; kind < qd::AlarmKinds; ++kind)
      groupAlarmBtns_[g][kind]->setChecked(system.AlarmGroups[g][kind]);
  }
  for (int kind = 0; kind < qd::AlarmKinds; ++kind)
    groupAlarmBtns_[0][kind]->setEnabled(!forced[kind]);
}

bool TSystemSetupForm::ManualControlAvailable() const {
  return app_.Connection().LinkReady() && app_.Connection().LocalMode();
}

bool TSystemSetupForm::LocalMode() const {
  return app_.Connection().LocalMode();
}

bool TSystemSetupForm::ResetAllowed() const {
  return app_.Connection().ChangesAllowed();
}

void TSystemSetupForm::ShowManualControlAvailability() {
  const bool available = ManualControlAvailable();
  // Outputs left under PC control while the boxes cannot be unchecked would stay switched for good, or
  // come on again when the link comes up.
  if (manualControlAvailable_ && !available) {
    ReleaseManualControl();
  } else if (!available) {
    ReleaseControlBoxes();
  }
  manualControlAvailable_ = available;
  for (QCheckBox* box : pumpControlBtns_)
    box->setEnabled(available);
  for (QCheckBox* box : machineControlBtns_)
    box->setEnabled(available);
  for (QCheckBox* box : {FlushWaterControlBtn, FlushDrainControlBtn, AlarmControlBtn})
    box->setEnabled(available);
}

// --- Clicks --------------------------------------------------------------------------------------

void TSystemSetupForm::MachineBtnClick(int tag) {
  if (filling_ || tag < 1 || tag > qd::MachineCount) return;
  app_.Config().system.MachineEnabled[tag - 1] = machineBtns_[tag - 1]->isChecked();
  NoteOwnEdit();
}

void TSystemSetupForm::GroupAlarmBtnClick() {
  qd::ApplyGroupZeroRule(app_.Config().system);
  ShowAlarmGroups();
  NoteOwnEdit();
}

void TSystemSetupForm::PumpOnBtnClick(int tag) {
  QPushButton* button = pumpOnBtns_[tag - 1];
  if (!LocalMode()) {
    SetOn(button, !button->isChecked());
    return;
  }
  qd::SwitchPump(manualControl_, tag, button->isChecked());
  pumpControlBtns_[tag - 1]->setChecked(true);
}

void TSystemSetupForm::PumpControlBtnClick(int tag) {
  qd::SetPumpControl(manualControl_, tag, pumpControlBtns_[tag - 1]->isChecked());
}

void TSystemSetupForm::MachineOnBtnClick(int tag) {
  QPushButton* button = machineOnBtns_[tag - 1];
  if (!LocalMode()) {
    SetOn(button, !button->isChecked());
    return;
  }
  qd::SwitchMachineSignal(manualControl_, tag, button->isChecked());
  machineControlBtns_[tag - 1]->setChecked(true);
}

void TSystemSetupForm::MachineControlBtnClick(int tag) {
  qd::SetMachineSignalControl(manualControl_, tag, machineControlBtns_[tag - 1]->isChecked());
}

std::pair<QPushButton*, QCheckBox*> TSystemSetupForm::SingleOutputButtons(qd::SingleOutput output) const {
  switch (output) {
    case qd::SingleOutput::FlushWater:
      return {FlushWaterOnBtn, FlushWaterControlBtn};
    case qd::SingleOutput::FlushDrain:
      return {FlushDrainOnBtn, FlushDrainControlBtn};
    case qd::SingleOutput::AlarmOutput:
      break;
  }
  return {AlarmOutputOnBtn, AlarmControlBtn};
}

void TSystemSetupForm::SingleOutputOnClick(qd::SingleOutput output) {
  const auto [on, control] = SingleOutputButtons(output);
  if (!LocalMode()) {
    SetOn(on, !on->isChecked());
    return;
  }
  qd::SwitchOutput(manualControl_, output, on->isChecked());
  control->setChecked(true);
}

void TSystemSetupForm::SingleOutputControlClick(qd::SingleOutput output) {
  qd::SetOutputControl(manualControl_, output, SingleOutputButtons(output).second->isChecked());
}

void TSystemSetupForm::ResetMachineBtnClick() {
  ResetMachineOKlabel->hide();
  if (!ResetAllowed()) return;
  const int entry = ResetmachineCombo->currentIndex();
  // Without a chosen entry nothing would be reset, so nothing may be confirmed either.
  if (entry < 0 || entry >= ResetEntryCount) return;
  qd::transport::Connection& link = app_.Connection();
  if (!link.Begin(qd::link::Operation::ResetMachine, qd::link::ConfirmationLimitTicks)) {
    ShowMessageBox(FromCp1252(link.BusyText()), DialogType::Warning);
    return;
  }
  if (!link.LocalMode()) {
    const auto message = qd::RemoteResetMachineMessage(entry);
    if (!message || !link.SendGatewayMessage(*message)) {
      link.End(qd::link::Operation::ResetMachine, false);
      return;
    }
  }
  resetMachinePending_ = true;
}

void TSystemSetupForm::ShowOutputs(const qd::OutputsShown& shown, bool withAlarmOutput) {
  for (int p = 0; p < qd::PumpCount; ++p)
    SetOn(pumpOnBtns_[p], (shown.pumps >> p) & 1);
  for (int m = 0; m < qd::MachineCount; ++m)
    SetOn(machineOnBtns_[m], (shown.machines >> m) & 1);
  SetOn(FlushWaterOnBtn, shown.flushWater);
  SetOn(FlushDrainOnBtn, shown.flushDrain);
  if (withAlarmOutput) SetOn(AlarmOutputOnBtn, shown.alarmOutput);
}

}  // namespace qd::gui
