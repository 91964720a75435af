#include "gui/link/remote_login_form.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/text.h"
#include "gui/app/text_codec.h"

namespace qd::gui {
namespace {

constexpr int SerialColumn = 1;
constexpr int InitialWidth = 560;
constexpr int GridMinimumWidth = 440;

RemoteLoginAnswerer& Answerer() {
  static RemoteLoginAnswerer answerer;
  return answerer;
}

QString CellText(const QTableWidget& grid, int row, int column) {
  return grid.model()->index(row, column).data().toString();
}

void SetCellText(QTableWidget& grid, int row, int column, const QString& text) {
  grid.model()->setData(grid.model()->index(row, column), text);
}

}  // namespace

TRemoteLoginForm::TRemoteLoginForm(App& /*app*/) {
  setObjectName(QStringLiteral("RemoteLoginForm"));
  setWindowTitle(tr("Remote login"));
  CreateControls();
  ClearSystemList();
  resize(InitialWidth, LoginHeight);
  SetMode(Mode::Login);
}

void TRemoteLoginForm::CreateControls() {
  UserNameLabel = new QLabel(tr("User name"), this);
  UserNameLabel->setObjectName(QStringLiteral("UserNameLabel"));
  UserNameEdit = new QLineEdit(this);
  UserNameEdit->setObjectName(QStringLiteral("UserNameEdit"));
  UserNameLabel->setBuddy(UserNameEdit);
  PasswordLabel = new QLabel(tr("Password"), this);
  PasswordLabel->setObjectName(QStringLiteral("PasswordLabel"));
  PasswordEdit = new QLineEdit(this);
  PasswordEdit->setObjectName(QStringLiteral("PasswordEdit"));
  PasswordEdit->setEchoMode(QLineEdit::Password);
  PasswordLabel->setBuddy(PasswordEdit);

  credentialsLayout_ = new QFormLayout;
  credentialsLayout_->addRow(UserNameLabel, UserNameEdit);
  credentialsLayout_->addRow(PasswordLabel, PasswordEdit);

  CreateGrid();

  OKbtn = new QPushButton(tr("OK"), this);
  OKbtn->setObjectName(QStringLiteral("OKbtn"));
  OKbtn->setDefault(true);
  connect(OKbtn, &QPushButton::clicked, this, &TRemoteLoginForm::OKbtnClick);
  CancelBtn = new QPushButton(tr("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKbtn);
  buttons->addWidget(CancelBtn);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(credentialsLayout_);
  // The group takes the height in selection mode; the stretch keeps the fields at the top otherwise.
  layout->addWidget(SystemGridGroupBox, 1);
  layout->addStretch(0);
  layout->addLayout(buttons);

  setTabOrder(UserNameEdit, PasswordEdit);
  setTabOrder(PasswordEdit, SystemsStringGrid);
  setTabOrder(SystemsStringGrid, OKbtn);
  setTabOrder(OKbtn, CancelBtn);
}

void TRemoteLoginForm::CreateGrid() {
  SystemGridGroupBox = new QGroupBox(tr(" Dispenser systems "), this);
  SystemGridGroupBox->setObjectName(QStringLiteral("SystemGridGroupBox"));
  SystemsStringGrid = new QTableWidget(1, ColumnCount, SystemGridGroupBox);
  SystemsStringGrid->setObjectName(QStringLiteral("SystemsStringGrid"));
  SystemsStringGrid->setAccessibleName(tr("Dispenser systems"));
  SystemsStringGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  SystemsStringGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  SystemsStringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SystemsStringGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  SystemsStringGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab leaves the grid for the buttons instead of walking its cells.
  SystemsStringGrid->setTabKeyNavigation(false);
  SystemsStringGrid->setWordWrap(false);
  SystemsStringGrid->setMinimumWidth(GridMinimumWidth);
  SystemsStringGrid->verticalHeader()->hide();

  QStringList headers;
  for (std::string_view header : qd::link::SystemList::Headers)
    headers << CoreText("SystemList", header);
  SystemsStringGrid->setHorizontalHeaderLabels(headers);
  QHeaderView* header = SystemsStringGrid->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  for (int column = 0; column < ColumnCount; ++column) {
    if (column == NameColumn) {
      header->setSectionResizeMode(column, QHeaderView::Stretch);
      continue;
    }
    header->setSectionResizeMode(column, QHeaderView::Fixed);
    header->resizeSection(column, ColumnWidths[static_cast<std::size_t>(column)]);
  }

  // Enter in the grid reaches the dialog's default button, OKbtn.
  connect(SystemsStringGrid, &QTableWidget::doubleClicked, this, &TRemoteLoginForm::OKbtnClick);

  auto* groupLayout = new QVBoxLayout(SystemGridGroupBox);
  groupLayout->addWidget(SystemsStringGrid);
}

std::optional<qd::link::Credentials> TRemoteLoginForm::AskLogin(const QString& host) {
  if (host != passwordHost_) PasswordEdit->clear();
  passwordHost_ = host;
  SetMode(Mode::Login);
  if (!RunModal()) return std::nullopt;
  return qd::link::Credentials{ToCp1252(UserNameEdit->text()), ToCp1252(PasswordEdit->text())};
}

std::optional<qd::link::SystemChoice> TRemoteLoginForm::ChooseSystem(const qd::link::SystemList& systems) {
  ShowSystems(systems);
  // As the grid's first row is current when the window opens, OK alone takes the first system.
  if (entryCount_ > 0) SystemsStringGrid->selectRow(0);
  SetMode(Mode::Selection);
  if (!RunModal() || selected_.serial.empty()) return std::nullopt;
  return selected_;
}

void TRemoteLoginForm::ClearSystemList() {
  SystemsStringGrid->clearSelection();
  SystemsStringGrid->setRowCount(0);
  SystemsStringGrid->setRowCount(1);
  entryCount_ = 0;
}

void TRemoteLoginForm::ShowSystems(const qd::link::SystemList& systems) {
  ClearSystemList();
  for (const qd::link::SystemEntry& entry : systems.Entries())
    AppendEntry(entry);
}

void TRemoteLoginForm::AppendEntry(const qd::link::SystemEntry& entry) {
  // The empty row a cleared grid keeps takes the first entry.
  int row = SystemsStringGrid->rowCount() - 1;
  if (row < 0 || !CellText(*SystemsStringGrid, row, 0).isEmpty()) {
    row = SystemsStringGrid->rowCount();
    SystemsStringGrid->insertRow(row);
  }
  const std::array<std::string, ColumnCount> texts = {qd::link::RowNumberText(row + 1), entry.serial,
                                                      entry.name, entry.inUse, entry.ipAddress};
  for (int column = 0; column < ColumnCount; ++column)
    SetCellText(*SystemsStringGrid, row, column, FromCp1252(texts[static_cast<std::size_t>(column)]));
  ++entryCount_;
}

void TRemoteLoginForm::OKbtnClick() {
  if (mode_ == Mode::Selection) {
    const std::optional<qd::link::SystemChoice> choice = ChoiceAtSelectedRow();
    if (!choice) return;
    selected_ = *choice;
  }
  accept();
}

std::optional<qd::link::SystemChoice> TRemoteLoginForm::ChoiceAtSelectedRow() const {
  const QModelIndexList rows = SystemsStringGrid->selectionModel()->selectedRows();
  if (rows.size() != 1) return std::nullopt;
  const int row = rows.front().row();
  if (row < 0 || row >= entryCount_) return std::nullopt;
  std::string serial = ToCp1252(CellText(*SystemsStringGrid, row, SerialColumn));
  const std::optional<std::int32_t> number = ParseWholeNumber(serial);
  if (!number || *number < 0) return std::nullopt;
  return qd::link::SystemChoice{std::move(serial), ToCp1252(CellText(*SystemsStringGrid, row, NameColumn))};
}

void TRemoteLoginForm::SetMode(Mode mode) {
  mode_ = mode;
  const bool login = mode == Mode::Login;
  credentialsLayout_->setRowVisible(PasswordEdit, login);
  SystemGridGroupBox->setVisible(!login);
  // The minimum size must follow the hidden group before the height is set.
  layout()->activate();
  resize(width(), login ? LoginHeight : SelectionHeight);
  if (!login && isVisible()) FitOnScreen();
}

void TRemoteLoginForm::FitOnScreen() {
  const QScreen* display = screen();
  if (display == nullptr) return;
  const QRect frame = frameGeometry();
  const QRect fitted = FitAboveScreenBottom(frame, display->availableGeometry(), ScreenBottomMargin);
  if (fitted == frame) return;
  const int decoration = frame.height() - height();
  resize(width(), fitted.height() - decoration);
  move(fitted.topLeft());
}

bool TRemoteLoginForm::RunModal() {
  selected_ = {};
  setResult(QDialog::Rejected);
  if (Answerer()) {
    Answerer()(*this);
  } else {
    exec();
  }
  return result() == QDialog::Accepted;
}

void TRemoteLoginForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (mode_ == Mode::Selection) {
    FitOnScreen();
    SystemsStringGrid->setFocus();
    return;
  }
  (UserNameEdit->text().isEmpty() ? UserNameEdit : PasswordEdit)->setFocus();
}

QRect FitAboveScreenBottom(const QRect& frame, const QRect& available, int margin) {
  const int lowest = available.bottom() - margin;  // the last row the window may cover
  QRect fitted = frame;
  fitted.setHeight(std::clamp(lowest - available.top() + 1, 1, std::max(frame.height(), 1)));
  if (fitted.bottom() > lowest) fitted.moveBottom(lowest);
  if (fitted.top() < available.top()) fitted.moveTop(available.top());
  return fitted;
}

void SetRemoteLoginAnswerer(RemoteLoginAnswerer answerer) {
  Answerer() = std::move(answerer);
}

}  // namespace qd::gui
